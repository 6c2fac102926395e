// The scrolled body of a side panel: it asks for its content's full width (plus a vertical scroll
// bar), but in a narrow window it gives way down to a small width and scrolls, before the wheel in
// the middle is squeezed and without squeezing its own labels over each other.
#pragma once

#include <QScrollArea>
#include <QScrollBar>

namespace cel::workspace {

class SideScroll : public QScrollArea {
public:
    // reserveBar: the natural width leaves room for a vertical scroll bar (a long panel).
    explicit SideScroll(QWidget *content, bool reserveBar = true) : reserveBar_(reserveBar) {
        setWidget(content);
        setWidgetResizable(true);
        setFrameShape(QFrame::NoFrame);
    }
    QSize sizeHint() const override {
        QSize size = QScrollArea::sizeHint();
        if (widget())
            size.setWidth(widget()->sizeHint().width() +
                          (reserveBar_ ? verticalScrollBar()->sizeHint().width() + 4 : 0));
        return size;
    }
    QSize minimumSizeHint() const override { return {160, QScrollArea::minimumSizeHint().height()}; }

private:
    bool reserveBar_;
};

} // namespace cel::workspace
