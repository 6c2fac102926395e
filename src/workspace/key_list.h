// A list box whose keys the window handles: Enter chooses, and the window's own keys (Space, Insert,
// Delete) act on the selected entry.
#pragma once

#include <QKeyEvent>
#include <QListWidget>

#include <functional>

namespace cel::workspace {

class KeyList : public QListWidget {
public:
    using QListWidget::QListWidget;
    // Returns true when the key was handled.
    std::function<bool(int key)> onKey;

protected:
    void keyPressEvent(QKeyEvent *event) override {
        if (onKey && onKey(event->key())) {
            event->accept();
            return;
        }
        QListWidget::keyPressEvent(event);
    }
};

} // namespace cel::workspace
