// The current person's events ("Eventos: "): the list, its count and the buttons that store the
// event entry as a new event, overwrite or delete the chosen one. A view of the session's events:
// every button is one session operation, and Show lists them again.
#pragma once

#include "session/session.h"
#include "workspace/view_input.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace cel::workspace {

class EventsPanel : public SessionPanel {
public:
    explicit EventsPanel(session::Session &session, QWidget *parent = nullptr);
    void Show();

private:
    QListWidget *lbEventos_ = nullptr;
    QLabel *labelEventos_ = nullptr;
    QPushButton *sbNuevoEvento_ = nullptr, *sbGuardarEvento_ = nullptr, *sbEliminarEvento_ = nullptr;
};

} // namespace cel::workspace
