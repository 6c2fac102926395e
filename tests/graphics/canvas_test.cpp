#include <gtest/gtest.h>

#include "graphics/canvas.h"
#include "graphics_fixture.h"

namespace cel::graphics {
namespace {

class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override { testing::EnsureApp(); }
};

TEST_F(CanvasTest, FloodFillStaysInsideItsFourConnectedWhiteRegion) {
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    Canvas canvas(image);
    canvas.Line(QPoint(2, 2), QPoint(10, 2), Qt::black);
    canvas.Line(QPoint(10, 2), QPoint(10, 10), Qt::black);
    canvas.Line(QPoint(10, 10), QPoint(2, 10), Qt::black);
    canvas.Line(QPoint(2, 10), QPoint(2, 2), Qt::black);
    // A diagonal step: pixels touching only at a corner do not connect.
    canvas.FillRect(QRect(14, 14, 6, 6), Qt::black);
    canvas.FillRect(QRect(15, 15, 1, 1), Qt::white); // an enclosed white pixel, touching the outside...
    canvas.FillRect(QRect(14, 14, 1, 1), Qt::white); // ...only diagonally, through this corner pixel
    EXPECT_EQ(canvas.FloodFill(QPoint(5, 5), Qt::red), 7 * 7);
    QImage &out = canvas.Image();
    EXPECT_EQ(out.pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(out.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(out.pixel(2, 5), qRgb(0, 0, 0));
    EXPECT_EQ(canvas.FloodFill(QPoint(0, 0), Qt::green), 400 - 81 - 34 - 1); // square, block, enclosed pixel
    EXPECT_EQ(canvas.Image().pixel(15, 15), qRgb(255, 255, 255));
    // A seed on a coloured pixel or outside the picture fills nothing; filling with white ends.
    EXPECT_EQ(canvas.FloodFill(QPoint(5, 5), Qt::blue), 0);
    EXPECT_EQ(canvas.FloodFill(QPoint(-1, 5), Qt::blue), 0);
    EXPECT_EQ(canvas.FloodFill(QPoint(15, 15), Qt::white), 1);
}

TEST_F(CanvasTest, TintedGlyphIsAndedOntoTheCanvas) {
    const GlyphSet &set = GlyphSet::Normal();
    QImage image(11, 11, QImage::Format_RGB32);
    image.fill(QColor(255, 255, 0)); // yellow
    Canvas canvas(image);
    canvas.TintedGlyph(set, kBodyPictureBase + 1, QPoint(0, 0), QColor(0, 0, 255));
    const QImage &out = canvas.Image();
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 11; ++x)
            // Blue AND yellow is black on the glyph; white leaves the yellow alone.
            EXPECT_EQ(out.pixel(x, y),
                      set.IsDark(kBodyPictureBase + 1, x, y) ? qRgb(0, 0, 0) : qRgb(255, 255, 0));
}

TEST_F(CanvasTest, GlyphSetsHoldEveryPictureAtTheirSize) {
    for (const GlyphSet *set : {&GlyphSet::Normal(), &GlyphSet::Large()}) {
        EXPECT_EQ(set->Count(), 47);
        for (int n = 0; n < 47; ++n) {
            EXPECT_EQ(set->Picture(n).size(), QSize(set->Size(), set->Size()));
            int dark = 0;
            for (int y = 0; y < set->Size(); ++y)
                for (int x = 0; x < set->Size(); ++x)
                    dark += set->IsDark(n, x, y);
            // Only the two pictures of the dignity code 0 are blank.
            EXPECT_EQ(dark == 0, n == 37 || n == 42) << "picture " << n << " of size " << set->Size();
        }
        EXPECT_TRUE(set->Picture(47).size() == QSize(set->Size(), set->Size())); // blank, not a crash
    }
    EXPECT_EQ(GlyphSet::Normal().Size(), 11);
    EXPECT_EQ(GlyphSet::Large().Size(), 17);
}

TEST_F(CanvasTest, StoredColoursAreBlueGreenRed) {
    EXPECT_EQ(StoredColour(2066931), QColor(243, 137, 31));
    EXPECT_EQ(StoredColour(255), QColor(255, 0, 0));
    EXPECT_EQ(StoredColour(16711680), QColor(0, 0, 255));
}

} // namespace
} // namespace cel::graphics
