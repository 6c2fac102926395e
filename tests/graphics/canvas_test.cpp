#include <gtest/gtest.h>

#include "graphics/canvas.h"
#include "graphics_fixture.h"

namespace cel::graphics {
namespace {

class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override { testing::EnsureApp(); }
};

TEST_F(CanvasTest, GlyphIsFilledInItsColourAndLeavesTheRestAlone) {
    // The Sun's outline scaled into a 44-pixel box over yellow: inside the outline the colour, outside
    // the yellow untouched, and only the anti-aliased rim in between.
    const GlyphSet &set = GlyphSet::Normal();
    QImage image(44, 44, QImage::Format_RGB32);
    image.fill(QColor(255, 255, 0));
    Canvas canvas(image);
    canvas.Glyph(set, kBodyPictureBase + 1, QRectF(0, 0, 44, 44), QColor(0, 0, 255));
    const QImage &out = canvas.Image();
    const QPainterPath outline = set.Outline(kBodyPictureBase + 1);
    int inside = 0, outside = 0;
    for (int y = 0; y < 44; ++y)
        for (int x = 0; x < 44; ++x) {
            // Pixels whose whole square lies inside or outside the outline.
            const QRectF square(x / 44.0, y / 44.0, 1 / 44.0, 1 / 44.0);
            if (outline.contains(square)) {
                ++inside;
                EXPECT_EQ(out.pixel(x, y), qRgb(0, 0, 255)) << x << "," << y;
            } else if (!outline.intersects(square)) {
                ++outside;
                EXPECT_EQ(out.pixel(x, y), qRgb(255, 255, 0)) << x << "," << y;
            }
        }
    EXPECT_GT(inside, 60);
    EXPECT_GT(outside, 44 * 44 / 2);
}

TEST_F(CanvasTest, GlyphOutlinesFitTheirBoxAndScaleWithIt) {
    // Every glyph but the two blank dignity codes has an outline inside the unit square, so it scales
    // with the picture instead of being a staircase of pixels.
    const GlyphSet &set = GlyphSet::Normal();
    for (int n = 0; n < kGlyphCount; ++n) {
        const QRectF b = set.Outline(n).boundingRect();
        if (n == kDignityPictureBase || n == kDignityPictureBase2) {
            EXPECT_TRUE(set.Outline(n).isEmpty()) << n;
            continue;
        }
        ASSERT_FALSE(set.Outline(n).isEmpty()) << n;
        EXPECT_GE(b.left(), -0.01) << n;
        EXPECT_GE(b.top(), -0.01) << n;
        EXPECT_LE(b.right(), 1.01) << n;
        EXPECT_LE(b.bottom(), 1.01) << n;
        EXPECT_GT(std::max(b.width(), b.height()), 0.4) << n;
    }
    EXPECT_EQ(&set.Outline(kBodyPictureBase + 1), &GlyphSet::Large().Outline(kBodyPictureBase + 1));
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

TEST_F(CanvasTest, AspectGlyphsReadApartAtBothSizes) {
    // The thirteen aspect glyphs at 11 and 17 pixels: every two of them differ in enough pixels to be
    // told apart, and the 15-degree family (15, 75, 105, 165: kinds 2, 6, 8, 12) are one drawing whose
    // needle leans to the other side between 15 and 165 and between 75 and 105.
    for (const GlyphSet *set : {&GlyphSet::Normal(), &GlyphSet::Large()}) {
        const int G = set->Size();
        auto differing = [&](int a, int b, bool mirrored) {
            int n = 0;
            for (int y = 0; y < G; ++y)
                for (int x = 0; x < G; ++x)
                    n += set->IsDark(kAspectPictureBase + a, x, y) !=
                         set->IsDark(kAspectPictureBase + b, mirrored ? G - 1 - x : x, y);
            return n;
        };
        for (int a = 1; a <= 13; ++a)
            for (int b = a + 1; b <= 13; ++b)
                EXPECT_GE(differing(a, b, false), G / 2) << "kinds " << a << " and " << b << " at " << G;
        for (const auto &[a, b] : {std::pair{2, 12}, std::pair{6, 8}}) {
            EXPECT_LE(differing(a, b, true), G / 2) << "kinds " << a << " and " << b << " at " << G;
            EXPECT_GE(differing(a, b, false), G / 2) << "kinds " << a << " and " << b << " at " << G;
        }
    }
}

TEST_F(CanvasTest, StoredColoursAreBlueGreenRed) {
    EXPECT_EQ(StoredColour(2066931), QColor(243, 137, 31));
    EXPECT_EQ(StoredColour(255), QColor(255, 0, 0));
    EXPECT_EQ(StoredColour(16711680), QColor(0, 0, 255));
}

} // namespace
} // namespace cel::graphics
