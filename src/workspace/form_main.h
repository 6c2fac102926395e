// The workspace module: the chart program's windows. TFormMain is the main window, a view over the
// chart program's session (session/session.h): it shows the four tool windows as docks ("Datos",
// "Configurar", "Filtar lista personas", "Eventos"), the top bar and the pages, writes its controls
// from the session's state whenever the session says what changed, and turns every user input into
// one session operation. Each command has one QAction shared by its buttons, menus and shortcuts.
#pragma once

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>

#include "common/notifier.h"
#include "document/page_content.h"
#include "session/session.h"
#include "workspace/main_actions.h"
#include "workspace/view_input.h"

class QAction;
class QComboBox;
class QDockWidget;
class QGroupBox;
class QLineEdit;
class QListView;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTabWidget;
class QToolButton;

namespace cel::workspace {

class WheelView;
class AspectTablePage;
class ReportsPage;
class TFormSetUpCEL;
class TFormRetorno;
class TransitsPage;
class ChartLabelsPanel;
class ChoicesPanel;
class DateTimePanel;
class EventsPanel;
class PersonFilterPanel;
class PersonsPanel;
class PlacePanel;
class TopBar;
struct DockSection;

// What the program hands the window: where the settings live and which windows of other modules
// it may open.
struct MainWindowOptions {
    std::string iniPath;       // the settings file, loaded at creation and saved at close
    std::string dataFile;      // a data file to open instead of the settings' one (empty: none)
    std::string defaultFolder; // "Data" "File" of a first run: the documents folder with "Norvelta/"
    std::string guardName;     // the shared-use table's name (empty: the family's)
    bool useGuard = true;
    bool splash = true; // the database manager's splash when it opens
};

class TFormMain : public QMainWindow {
public:
    TFormMain(Notifier &notifier, MainWindowOptions options, QWidget *parent = nullptr);
    ~TFormMain() override;

    session::Session &Session() { return session_; }
    session::Workspace &Workspace() { return session_.ws; }
    const session::Workspace &Workspace() const { return session_.ws; }
    int LastAspectCount() const { return aspectCount_; }
    bool Ready() const { return session_.Started(); }
    std::int32_t CurrentPerson() const { return session_.CurrentPerson(); }
    std::int32_t PersonA() const { return session_.Person(session::PersonSlot::A); }
    std::int32_t PersonB() const { return session_.Person(session::PersonSlot::B); }
    bool NatalChanged() const { return session_.NatalChanged(); }
    session::ChartSide DataMode() const { return session_.Side(); }
    // The action of a command: its button, menu entry and shortcut all trigger it.
    QAction *Action(Command command) const { return actions_[command]; }
    // How many times the window wrote its controls from the session (one per session change).
    int Shows() const { return shows_; }

    // Brings the window to the front (a second start of the program asks for this).
    void RaiseFromAnotherStart();
    // A second start asked this window to open path: it comes to the front and, when path is not the
    // current file, asks about unsaved natal data and then whether to open it, as "Abrir" does.
    void OpenFromAnotherStart(const std::string &path);
    // Runs the first-activation steps now if they have not run (tests and the program call it once
    // the window is shown).
    void MakeReady();

    // What the print window lays out: the page the window shows with its choices.
    document::PageContent PrintContent() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // Building the window.
    void BindActions();
    void ToggleSettings(bool open);
    void BuildPages();
    void BuildDatosDock();
    QWidget *BuildPlacePage();
    void BuildConfigDock();
    void BuildFilterDock();
    void BuildEventsDock();
    void ApplyColours();

    // Connects a control's signal to a user input; inputs are ignored while the window writes its
    // controls from the session (the one re-entry guard).
    template <class Sender, class Signal, class Slot> void OnInput(Sender *sender, Signal signal, Slot slot) {
        ConnectInput(this, &showing_, sender, signal, slot);
    }

    // The one view of the session: writes the controls the changes touch from the session's state.
    void Show(session::Changes changes);
    void ShowFile();
    void ShowLists();
    void ShowPersons();
    void ShowEntry();
    void ShowChoices();
    void ShowView();

    // Persons.
    void AddOrEditPerson(bool add);
    void DeleteSelectedPerson();
    bool EnsureDataFile();
    void OpenManager();
    void ShowHelp();

    // Solar return window.
    void ToggleSolarReturn(bool on);

    // "Tránsitos" tool window (form_main_transits.cpp): a chosen row's instant becomes the event.
    void BuildTransitsWindow();
    void ShowTransitInstant(double days, int source);

    // Tool-window layout in the settings' "TB" sections.
    std::vector<DockSection> Docks() const;
    void SaveDockLayout();
    void RestoreDockLayout();

    Notifier &notifier_;
    MainWindowOptions options_;
    session::Session session_;

    bool showing_ = false; // the controls are being written from the session
    int shows_ = 0;
    bool closed_ = false; // the shutdown steps ran (they run once)
    int aspectCount_ = 0;
    bool filterWasVisible_ = true; // the filter window's state while the place/date page hides it
    MainActions actions_;

    // Top bar and pages.
    TopBar *topBar_ = nullptr;
    ChartLabelsPanel *labels_ = nullptr;
    QStackedWidget *pages_ = nullptr;
    QGroupBox *wheelBox_ = nullptr;
    WheelView *wheel_ = nullptr;
    AspectTablePage *tablePage_ = nullptr;
    ReportsPage *reportsPage_ = nullptr;
    TFormSetUpCEL *setup_ = nullptr;

    // Docks.
    QDockWidget *twDatos_ = nullptr, *twConfig_ = nullptr, *twFiltrar_ = nullptr, *twEventos_ = nullptr;
    QTabWidget *datosTabs_ = nullptr;
    QWidget *placePage_ = nullptr;

    // Persons page.
    PersonsPanel *persons_ = nullptr;

    // Place, date and time page.
    QRadioButton *rbA_ = nullptr, *rbB_ = nullptr;
    QRadioButton *rbNacimiento_ = nullptr, *rbEvento_ = nullptr;
    QToolButton *sbDeshacer_ = nullptr, *sbGuardar_ = nullptr, *sbRetorno_ = nullptr, *sbEventos_ = nullptr;
    QWidget *eventPanel_ = nullptr;
    PlacePanel *place_ = nullptr;
    DateTimePanel *dateTime_ = nullptr;

    // Configuration dock.
    ChoicesPanel *choices_ = nullptr;

    // Filter dock.
    PersonFilterPanel *filter_ = nullptr;

    // Events dock.
    EventsPanel *events_ = nullptr;

    TFormRetorno *retorno_ = nullptr;
    QDockWidget *twTransitos_ = nullptr;
    TransitsPage *transits_ = nullptr;
};

} // namespace cel::workspace
