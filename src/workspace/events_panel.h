// The current person's events ("Eventos: "): the list, its count and the buttons that store the
// event entry as a new event, overwrite or delete the chosen one. A view of the session's events:
// every button is one session operation, and Show lists them again.
#pragma once

#include <QWidget>

#include "session/session.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace cel::workspace {

class EventsPanel : public QWidget {
public:
    explicit EventsPanel(session::Session &session, QWidget *parent = nullptr);
    void Show();

private:
    template <class Sender, class Signal, class Slot> void OnInput(Sender *sender, Signal signal, Slot slot);

    session::Session &session_;
    bool showing_ = false;
    QListWidget *lbEventos_ = nullptr;
    QLabel *labelEventos_ = nullptr;
    QPushButton *sbNuevoEvento_ = nullptr, *sbGuardarEvento_ = nullptr, *sbEliminarEvento_ = nullptr;
};

} // namespace cel::workspace
