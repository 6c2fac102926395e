// List boxes whose keys the window handles: Enter chooses, and the window's own keys (Space, Insert,
// Delete) act on the selected entry.
#pragma once

#include <QKeyEvent>
#include <QListView>
#include <QListWidget>

#include <functional>

namespace cel::workspace {

template <class Base> class KeyListOf : public Base {
public:
    using Base::Base;
    // Returns true when the key was handled.
    std::function<bool(int key)> onKey;

protected:
    void keyPressEvent(QKeyEvent *event) override {
        if (onKey && onKey(event->key())) {
            event->accept();
            return;
        }
        Base::keyPressEvent(event);
    }
};

using KeyList = KeyListOf<QListWidget>;
using KeyListView = KeyListOf<QListView>;

} // namespace cel::workspace
