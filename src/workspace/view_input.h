// Connecting a control to the session: a user's input reaches the session as one operation, while
// the view writing its controls from the session's state sends nothing back.
#pragma once

#include <QWidget>

#include "session/session.h"

namespace cel::workspace {

// Connects a control's signal to an input handler that runs only while *showing is false (the
// view's one re-entry guard).
template <class Sender, class Signal, class Slot>
void ConnectInput(QObject *context, const bool *showing, Sender *sender, Signal signal, Slot slot) {
    QObject::connect(sender, signal, context, [showing, slot](auto... args) {
        if (!*showing)
            slot(args...);
    });
}

// While it lives, the view writes its controls from the session: its inputs are ignored. Nested
// scopes keep the outer one's guard.
class ShowingScope {
public:
    explicit ShowingScope(bool &showing) : showing_(showing), was_(showing) { showing_ = true; }
    ~ShowingScope() { showing_ = was_; }
    ShowingScope(const ShowingScope &) = delete;
    ShowingScope &operator=(const ShowingScope &) = delete;

private:
    bool &showing_;
    bool was_;
};

// A panel of the main window: a view of one part of the session, with its own re-entry guard. Show
// methods write the controls inside a ShowingScope; OnInput connects a control to one operation.
class SessionPanel : public QWidget {
protected:
    explicit SessionPanel(session::Session &session, QWidget *parent = nullptr)
        : QWidget(parent), session_(session) {}

    template <class Sender, class Signal, class Slot> void OnInput(Sender *sender, Signal signal, Slot slot) {
        ConnectInput(this, &showing_, sender, signal, slot);
    }

    session::Session &session_;
    bool showing_ = false; // the controls are being written from the session
};

} // namespace cel::workspace
