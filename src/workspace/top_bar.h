// The main window's top bar: the file and manager commands, the tool-window toggles, the settings
// window, "Imagen grande", the print menu, "Colores", help and close, and at its right end the page
// buttons ("Rueda", "Tabla de aspectos", "Reportes"). Its buttons trigger the window's actions;
// Show writes the page's choices back from the session.
#pragma once

#include <QToolBar>

#include <array>
#include <functional>

#include "session/session.h"
#include "workspace/main_actions.h"

class QButtonGroup;
class QDockWidget;
class QToolButton;

namespace cel::workspace {

class TopBar : public QToolBar {
public:
    TopBar(session::Session &session, const MainActions &actions, QWidget *parent = nullptr);

    // The "Datos", "Configurar" and "Filtro" toggles show and hide these tool windows.
    void BindDocks(QDockWidget *datos, QDockWidget *config, QDockWidget *filter);
    // Checks the toggles after the tool windows' layout was restored.
    void ShowDocks();
    // The page shown: 0 wheel, 1 aspect table, 2 reports.
    int Page() const;
    // Writes "Imagen grande" (of the page shown) and "Colores" from the session's choices.
    void Show();
    // The settings window's button, unchecked when that window closes.
    void SetSettingsOpen(bool open);

    std::function<void(int page)> onPage;
    std::function<void(bool open)> onSettings;
    std::function<void(bool on)> onColours; // "Colores" toggled by the user, after the session knows

private:
    session::Session &session_;
    bool showing_ = false;
    std::array<QToolButton *, 3> dockToggles_{};
    std::array<QDockWidget *, 3> docks_{};
    QToolButton *sbSetUp_ = nullptr, *sbImagen_ = nullptr, *sbColores_ = nullptr;
    QButtonGroup *pageGroup_ = nullptr;
};

} // namespace cel::workspace
