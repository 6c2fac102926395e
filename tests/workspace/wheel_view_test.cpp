// The wheel's paint area on the screen: its picture has the screen's pixels, so on a high-density
// screen (the scale test runs this with QT_SCALE_FACTOR=2) glyphs and texts are drawn at twice the size
// in pixels and stay as sharp as on an ordinary screen.
#include <QImage>

#include "workspace/wheel_view.h"
#include "workspace_fixture.h"

namespace cel::workspace::test {
namespace {

constexpr const char *kAna = "Ana Lucía Restrepo Gaviria";

TEST_F(WindowFixture, TheWheelIsDrawnAtTheScreensDensity) {
    TFormMain &w = Open();
    Choose(kAna);
    auto *view = dynamic_cast<WheelView *>(w.findChild<QWidget *>("PaintBox"));
    ASSERT_NE(view, nullptr);
    for (const QSize size : {QSize(1366, 768), QSize(1024, 600)}) {
        w.resize(size);
        QApplication::processEvents();
        const QImage &picture = view->Image();
        const qreal ratio = view->devicePixelRatioF();
        EXPECT_DOUBLE_EQ(picture.devicePixelRatio(), ratio) << size.width();
        EXPECT_EQ(picture.size(), view->size() * ratio) << size.width();
        // What the user sees is that picture, pixel for pixel.
        const QImage shot = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(shot.size(), picture.size());
        EXPECT_EQ(shot, picture.convertToFormat(QImage::Format_RGB32)) << size.width();
    }
}

} // namespace
} // namespace cel::workspace::test
