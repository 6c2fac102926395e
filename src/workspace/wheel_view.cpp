#include "workspace/wheel_view.h"

#include <QPainter>
#include <QResizeEvent>

#include "graphics/canvas.h"
#include "graphics/glyphs.h"
#include "graphics/wheel.h"

namespace cel::workspace {

WheelView::WheelView(const session::Workspace &workspace, QWidget *parent) : QWidget(parent), ws_(workspace) {
    setObjectName("PaintBox");
    setMinimumSize(380, 380); // readable: in a small window the side panels give way first
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void WheelView::SetFit(bool fit) {
    fit_ = fit;
    Redraw();
}

int WheelView::Redraw() {
    Render();
    update();
    if (onDrawn)
        onDrawn(count_);
    return count_;
}

void WheelView::Render() {
    const qreal ratio = devicePixelRatioF();
    const QSize logical = fit_ ? size() : QSize(650, 650);
    const QSize pixels(qMax(1, qRound(logical.width() * ratio)), qMax(1, qRound(logical.height() * ratio)));
    image_ = QImage(pixels, QImage::Format_RGB32);
    image_.fill(Qt::white);
    {
        graphics::Canvas canvas(image_);
        const graphics::WheelInput input{ws_.progressions, ws_.view, &ws_.aspects,
                                         graphics::WheelColoursFrom(ws_.settings)};
        count_ = graphics::DrawWheel(canvas, QRect(QPoint(0, 0), pixels),
                                     graphics::GlyphSet::Choose(ws_.view.largeImagesWheel), input);
    }
    image_.setDevicePixelRatio(ratio);
}

void WheelView::paintEvent(QPaintEvent *) {
    // Moved to a screen of another density: drawn again at its pixels, so glyphs and texts stay sharp.
    if (!image_.isNull() && !qFuzzyCompare(image_.devicePixelRatio(), devicePixelRatioF()))
        Render();
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!image_.isNull())
        painter.drawImage(QPoint(0, 0), image_);
}

void WheelView::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    if (fit_ && event->size() != event->oldSize())
        Redraw();
}

} // namespace cel::workspace
