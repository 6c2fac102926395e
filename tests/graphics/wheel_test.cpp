#include <gtest/gtest.h>

#include "graphics/wheel.h"
#include "graphics_fixture.h"

namespace cel::graphics {
namespace {

using namespace testing;

class WheelTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureApp(); }
    Charts charts;
};

TEST_F(WheelTest, DrawsSingleAndDoubleWheels) {
    for (int mode : {1, 2}) {
        for (bool large : {false, true}) {
            settings::RecVistaCarta view = ShowAllView();
            view.wheelMode = static_cast<std::uint8_t>(mode);
            view.outerItem = 3;
            view.largeImagesWheel = large;
            charts.BuildAspects(view, mode == 2);
            QImage image(640, 640, QImage::Format_RGB32);
            Canvas canvas(image);
            const int count = DrawWheel(canvas, image.rect(), GlyphSet::Choose(large),
                                        WheelInput{charts.prog, view, &charts.aspects});
            Shot(canvas.Image(),
                 std::string(mode == 1 ? "wheel_single" : "wheel_double") + (large ? "_large" : ""));
            if (mode == 2)
                EXPECT_EQ(count, 0);
            else
                EXPECT_GT(count, 0);
        }
    }
}

} // namespace
} // namespace cel::graphics
