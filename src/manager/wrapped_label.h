// A word-wrapped label that asks its layout for the height its text needs at the width it was given,
// so that a note under a field is never cut off when the window is short of room.
#pragma once

#include <QLabel>
#include <QResizeEvent>

namespace cel::manager {

class WrappedLabel : public QLabel {
public:
    explicit WrappedLabel(QWidget *parent = nullptr) : QLabel(parent) { setWordWrap(true); }

protected:
    void resizeEvent(QResizeEvent *event) override {
        QLabel::resizeEvent(event);
        const int needed = heightForWidth(event->size().width());
        if (needed > 0 && needed != minimumHeight())
            setMinimumHeight(needed);
    }
};

} // namespace cel::manager
