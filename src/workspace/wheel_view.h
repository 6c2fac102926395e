// The wheel page's paint area: the wheel drawn into an off-screen image the size of the area (at the
// screen's device pixel ratio), redrawn when the view changes and when the area is resized.
#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

#include "session/workspace.h"

namespace cel::workspace {

class WheelView : public QWidget {
public:
    explicit WheelView(const session::Workspace &workspace, QWidget *parent = nullptr);

    // Draws the wheel again now and returns the number of aspect lines drawn.
    int Redraw();
    // "Ajustar": fit the wheel to the area; otherwise it is 650 x 650.
    void SetFit(bool fit);
    int AspectCount() const { return count_; }
    const QImage &Image() const { return image_; }
    // Called after every redraw with the number of aspect lines.
    std::function<void(int)> onDrawn;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Draws the wheel into the image at the screen's pixel density.
    void Render();

    const session::Workspace &ws_;
    QImage image_;
    bool fit_ = true;
    int count_ = 0;
};

} // namespace cel::workspace
