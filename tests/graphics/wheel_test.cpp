#include <gtest/gtest.h>

#include <QPicture>

#include <algorithm>
#include <random>
#include <sstream>

#include "graphics/wheel.h"
#include "graphics_fixture.h"

namespace cel::graphics {
namespace {

using namespace testing;
using settings::RecVistaCarta;

QColor PixelAt(const QImage &image, QPoint p) {
    return QColor(image.pixel(p));
}

} // namespace
} // namespace cel::graphics

QT_BEGIN_NAMESPACE
inline void PrintTo(const QColor &c, std::ostream *os) {
    *os << "rgb(" << c.red() << "," << c.green() << "," << c.blue() << ")";
}
QT_END_NAMESPACE

namespace cel::graphics {
namespace {

class WheelTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureApp(); }

    // Draws the synthetic chart into a 403 x 303 picture (R = 150, centre (200, 150)).
    int Draw(const RecVistaCarta &view, const analysis::AspectLists *aspects = nullptr,
             WheelColours colours = DefaultWheelColours(), QSize size = QSize(403, 303)) {
        image = QImage(size, QImage::Format_RGB32);
        Canvas canvas(image);
        const int count = DrawWheel(canvas, image.rect(), GlyphSet::Choose(view.largeImagesWheel),
                                    WheelInput{prog, view, aspects, colours});
        Shot(canvas.Image(), "synthetic");
        return count;
    }

    chart::TDataProg prog = SyntheticProgressions();
    QImage image;
};

TEST(WheelGeometryTest, RectangleGivesRadiusAndCentre) {
    const WheelGeometry g = ComputeWheelGeometry(QRect(0, 0, 403, 303));
    EXPECT_EQ(g.R, 150);
    EXPECT_EQ(g.cx, 200);
    EXPECT_EQ(g.cy, 150);
    for (double f : {1.0, 0.865, 0.5}) // the Ascendant of the drawn item lies at the left
        EXPECT_EQ(g.At(f, 180), QPoint(RoundHalfEven(200 - 150 * f), 150));
    EXPECT_EQ(g.At(1, 90), QPoint(200, 0));
    EXPECT_EQ(g.Radius(0.865L), 130); // 129.75
}

TEST(WheelGeometryTest, RoundsHalvesToEven) {
    EXPECT_EQ(RoundHalfEven(2.5L), 2);
    EXPECT_EQ(RoundHalfEven(3.5L), 4);
    EXPECT_EQ(RoundHalfEven(-0.5L), 0);
    EXPECT_EQ(RoundHalfEven(-1.5L), -2);
    EXPECT_EQ(RoundHalfEven(2.6L), 3);
}

TEST(WheelGeometryTest, RingFractionsOfTheExample) {
    RecVistaCarta
        view; // "Signos", "Casas", "CasasTexto", "Grados", "PlanetasTexto", "PlanetasSigno" on; size 8
    RingFractions f = ComputeRingFractions(view, 1, 11, 150, true, true);
    EXPECT_NEAR(static_cast<double>(f.A), 0.865, 1e-12);
    EXPECT_NEAR(static_cast<double>(f.B), 0.82, 1e-12);
    EXPECT_NEAR(static_cast<double>(f.h), 0.54, 1e-12);
    f = ComputeRingFractions(view, 0.5L, 11, 150, true, true);
    EXPECT_NEAR(static_cast<double>(f.h), 0.27, 1e-12);
    // Large glyphs move every edge inward by g1 = (17 - 11) / R.
    f = ComputeRingFractions(view, 1, 17, 150, true, true);
    EXPECT_NEAR(static_cast<double>(f.A), 0.865 - 0.04, 1e-12);
    // No sign ring and no house texts: A = 1 and the degree ring lies between 0.955 and 1.
    view.wheelFlags[settings::kFlagCasasSigno] = false;
    view.wheelFlags[settings::kFlagCasasTexto] = false;
    f = ComputeRingFractions(view, 1, 11, 150, false, true);
    EXPECT_EQ(f.A, 1);
    EXPECT_NEAR(static_cast<double>(f.B), 0.955, 1e-12);
    f = ComputeRingFractions(view, 1, 11, 150, false, false);
    EXPECT_EQ(f.B, 1);
}

TEST_F(WheelTest, AscendantLineLiesAtTheLeftInTheInnerRingColour) {
    RecVistaCarta view;
    view.largeImagesWheel = false;
    Draw(view);
    // The house line of cusp 1 runs from r x A (0.865) in to the house circle (0.54 x 0.54).
    const QColor ring = DefaultWheelColours().wheel[7];
    for (double f : {0.85, 0.7, 0.55})
        EXPECT_EQ(PixelAt(image, QPoint(RoundHalfEven(200 - 150 * f), 150)), ring) << f;
    // Cusp 4 (the lower meridian, 90 degrees on) points straight down; body 3's label column stands
    // two degrees beside it, with the line stopping short under its labels.
    for (double f : {0.56, 0.845})
        EXPECT_EQ(PixelAt(image, QPoint(200, 150 + RoundHalfEven(150 * f))), ring) << f;
}

TEST_F(WheelTest, SignSectorsCarryElementColoursOnlyWithColourOn) {
    RecVistaCarta view;
    view.largeImagesWheel = false;
    const WheelColours colours = DefaultWheelColours();
    const Real rotation = prog.items[1].rotation;
    const WheelGeometry g = ComputeWheelGeometry(QRect(0, 0, 403, 303));
    auto sectorPoint = [&](int i) { return g.At(0.93L, rotation + 23 + 30 * i); };
    Draw(view);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(PixelAt(image, sectorPoint(i)), colours.wheel[static_cast<std::size_t>(i % 4 + 1)]) << i;
    // The house area and the centre are filled too.
    EXPECT_EQ(PixelAt(image, g.At(0.75L, rotation + 180 + 15)), colours.wheel[6]);
    EXPECT_EQ(PixelAt(image, g.Centre()), colours.wheel[5]);

    view.wheelFlags[settings::kFlagColor] = false;
    Draw(view);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(PixelAt(image, sectorPoint(i)), QColor(Qt::white)) << i;
    EXPECT_EQ(PixelAt(image, g.At(0.75L, rotation + 180 + 15)), QColor(Qt::white));
    // Lines are black: the Ascendant line and no red degree line anywhere; anti-aliased edges are
    // greys between black and white, never a colour.
    EXPECT_EQ(PixelAt(image, QPoint(200 - 90, 150)), QColor(Qt::black));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            ASSERT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p)) << x << "," << y;
        }
}

TEST_F(WheelTest, ColourOnWithoutElementColoursLeavesSectorsWhite) {
    RecVistaCarta view;
    view.largeImagesWheel = false;
    view.wheelFlags[settings::kFlagColorEle] = false;
    Draw(view);
    const WheelGeometry g = ComputeWheelGeometry(QRect(0, 0, 403, 303));
    EXPECT_EQ(PixelAt(image, g.At(0.93L, prog.items[1].rotation + 23)), QColor(Qt::white));
}

TEST_F(WheelTest, BodyGlyphIsTintedAtItsSpreadPosition) {
    for (bool large : {false, true}) {
        RecVistaCarta view;
        view.largeImagesWheel = large;
        WheelColours colours = DefaultWheelColours();
        colours.wheel[6] = Qt::white; // a white house area, so the tint shows unchanged
        // R = 800: glyphs of 30 pixels and more, with strokes several pixels wide.
        Draw(view, nullptr, colours, QSize(1603, 1603));
        const GlyphSet &glyphs = GlyphSet::Choose(large);
        const WheelGeometry g = ComputeWheelGeometry(QRect(0, 0, 1603, 1603));
        const qreal side = glyphs.Size() * g.Scale(); // glyphs grow with the picture
        const RingFractions f = ComputeRingFractions(view, 1, glyphs.Size(), kReferenceRadius, true, true);
        const Real g1 = (glyphs.Size() - 11) / static_cast<Real>(kReferenceRadius);
        for (int body : {1, 3, 10}) {
            const auto &b = prog.items[1].bodies[static_cast<std::size_t>(body)];
            const QPointF centre = g.AtF(f.B - 0.04L - g1, prog.items[1].rotation + b.wheelPosition);
            // The pixels wholly inside the glyph's box (its rim blends with what lies around it).
            const QPoint topLeft(static_cast<int>(std::ceil(centre.x() - side / 2)),
                                 static_cast<int>(std::ceil(centre.y() - side / 2)));
            const int G = static_cast<int>(std::floor(centre.x() + side / 2)) - topLeft.x();
            // Every pixel of the box is the body colour, the white background or a blend of the two, and
            // the pixels wholly inside the glyph's outline carry the colour itself.
            const QColor colour = colours.bodies[static_cast<std::size_t>(body)];
            const QPainterPath &outline = glyphs.Outline(kBodyPictureBase + body);
            const QPointF corner = centre - QPointF(side / 2, side / 2);
            int dark = 0, tinted = 0, foreign = 0;
            for (int y = 0; y < G; ++y)
                for (int x = 0; x < G; ++x) {
                    const QPoint p = topLeft + QPoint(x, y);
                    const QRgb pixel = image.pixel(p);
                    foreign += Coverage(pixel, colour) < 0;
                    const QRectF square((p.x() - corner.x()) / side, (p.y() - corner.y()) / side, 1 / side,
                                        1 / side);
                    if (outline.contains(square)) {
                        ++dark;
                        tinted += Coverage(pixel, colour) > 0.9;
                    }
                }
            EXPECT_GT(dark, 20);
            EXPECT_EQ(tinted, dark) << "body " << body << " large " << large;
            EXPECT_EQ(foreign, 0) << "body " << body << " large " << large;
        }
    }
}

TEST_F(WheelTest, AspectLinesAreCountedUnderTheFilter) {
    RecVistaCarta view = ShowAllView();
    view.largeImagesWheel = false;
    analysis::AspectLists lists;
    settings::OrbTables orbs;
    orbs.InstallBuiltIn();
    analysis::BuildNatalAspects(lists, prog.items[1], prog.items[2], false, orbs,
                                settings::BuiltInMatrix(settings::MatrixPreset::Modern));
    const int all = static_cast<int>(lists.eclipticBodies.size() + lists.eclipticBodyCusp.size() +
                                     lists.eclipticCusps.size());
    ASSERT_GT(lists.eclipticBodies.size(), 0u);
    EXPECT_EQ(Draw(view, &lists), all);

    // "Casas" off: body pairs only.
    RecVistaCarta noHouses = view;
    noHouses.wheelFlags[settings::kFlagCasas] = false;
    EXPECT_EQ(Draw(noHouses, &lists), static_cast<int>(lists.eclipticBodies.size()));

    // "Planetas" off: no line at all, not even between cusps.
    RecVistaCarta noBodies = view;
    noBodies.wheelFlags[settings::kFlagPlanetas] = false;
    EXPECT_EQ(Draw(noBodies, &lists), 0);

    // Only squares selected.
    RecVistaCarta squares = view;
    squares.angleSelection.fill(false);
    squares.angleSelection[7] = true;
    int expected = 0;
    for (const auto *list : {&lists.eclipticBodies, &lists.eclipticBodyCusp, &lists.eclipticCusps})
        for (const auto &r : *list)
            expected += r.kind == 7;
    EXPECT_EQ(Draw(squares, &lists), expected);

    // A full double wheel draws the aspects between its two charts (none in these lists); "1 Rueda"
    // draws the inner item's.
    RecVistaCarta doubleWheel = view;
    doubleWheel.wheelMode = settings::kDoubleWheel;
    doubleWheel.outerItem = 3;
    EXPECT_EQ(Draw(doubleWheel, &lists), 0);
    doubleWheel.innerWheelOnly = true;
    EXPECT_EQ(Draw(doubleWheel, &lists), all);
}

TEST_F(WheelTest, AspectLineIsDrawnInTheColourOfItsKind) {
    RecVistaCarta view = ShowAllView();
    view.largeImagesWheel = false;
    view.aspectGlyphs = false;
    view.wheelFlags[settings::kFlagCasas] = false;
    analysis::AspectLists lists;
    // Sol (138 degrees) and Mar (238 degrees): a line of kind 9 between their points.
    lists.eclipticBodies.push_back(analysis::TAspReg{{9, -100, 50, 0}, "p01p05"});
    EXPECT_EQ(Draw(view, &lists), 1);
    const WheelGeometry g = ComputeWheelGeometry(QRect(0, 0, 403, 303));
    const RingFractions f = ComputeRingFractions(view, 1, 11, 150, true, true);
    const Real rot = prog.items[1].rotation;
    const QPoint a = g.At(f.h, rot + prog.items[1].bodies[1].wheelPosition);
    const QPoint b = g.At(f.h, rot + prog.items[1].bodies[5].wheelPosition);
    const QPoint mid((a.x() + b.x()) / 2, (a.y() + b.y()) / 2);
    // Anti-aliased: the pixels the line crosses show its blue over the centre's colour.
    EXPECT_GT(TintedIn(image, QRect(mid - QPoint(1, 1), QSize(3, 3)), QColor(0, 0, 255),
                       DefaultWheelColours().wheel[5]),
              0);
}

TEST_F(WheelTest, DoubleWheelAlignsByAscendantOrBySignsAndProjectsInnerHouses) {
    // The event item's cusps lie 40 degrees further on than the natal ones.
    chart::RecDataProg &outer = prog.items[3];
    for (int n = 1; n <= 12; ++n) {
        auto &c = outer.cusps[static_cast<std::size_t>(n)];
        c.cusp = static_cast<float>(std::fmod(c.cusp + 40.0, 360.0));
        c.sign = static_cast<std::uint8_t>(c.cusp / 30 + 1);
    }
    outer.rotation = std::fmod(540.0L - outer.cusps[1].cusp, 360.0L);
    RecVistaCarta view;
    view.largeImagesWheel = false;
    view.wheelMode = settings::kDoubleWheel;
    view.outerItem = 3;
    const WheelColours colours = DefaultWheelColours();
    const WheelGeometry g = ComputeWheelGeometry(QRect(0, 0, 403, 303));
    // Just outside the outer wheel's house circle (the inner wheel's scale, about 0.58 here), below the
    // bodies' texts; cusp 7 is on the right.
    const Real ring = 0.62L;

    // A house line lies at a point when a pixel beside it shows mostly its colour over the house area.
    auto lineAt = [&](Real fraction, Real angle, const QColor &colour) {
        return TintedIn(image, QRect(g.At(fraction, angle) - QPoint(1, 1), QSize(3, 3)), colour,
                        colours.wheel[6]) > 0;
    };

    Draw(view); // by Ascendant: the outer item's first cusp at the left, its seventh at the right
    EXPECT_TRUE(lineAt(ring, 0, colours.wheel[8]));
    view.equaliseBySigns = true; // by signs: the outer cusps keep their zodiac places on the inner rotation
    Draw(view);
    EXPECT_FALSE(lineAt(ring, 0, colours.wheel[8]));
    EXPECT_TRUE(lineAt(ring, 40, colours.wheel[8]));

    // "1 Casas": the inner houses reach out over the outer wheel, whose own houses are left out; the
    // two wheels are aligned by signs, so the projected cusps fall in their own zodiac places.
    view.equaliseBySigns = false;
    view.projectInnerHouses = true;
    view.noProjectedHouses = false;
    Draw(view);
    EXPECT_TRUE(lineAt(ring, 270, colours.wheel[7])); // the inner cusp 4
    EXPECT_TRUE(lineAt(0.8L, 270, colours.wheel[7]));
    EXPECT_FALSE(lineAt(ring, 0, colours.wheel[8]));
    EXPECT_FALSE(lineAt(ring, 40, colours.wheel[8]));
}

// Bodies of one item scattered or gathered in up to three stelliums, any of them retrograde.
void ScatterBodies(chart::RecDataProg &item, std::mt19937 &random) {
    std::uniform_real_distribution<double> anywhere(0, 360), near(-5, 5);
    std::uniform_int_distribution<int> coin(0, 1), clusterCount(0, 3);
    const int clusters = clusterCount(random);
    const double centres[3] = {anywhere(random), anywhere(random), anywhere(random)};
    for (int i = 1; i <= 12; ++i) {
        auto &b = item.bodies[static_cast<std::size_t>(i)];
        const int k = clusters == 0 ? -1 : i % (clusters + 1) - 1;
        b.position = std::fmod((k < 0 ? anywhere(random) : centres[k] + near(random)) + 360, 360.0);
        b.wheelPosition = b.position;
        b.sign = static_cast<std::uint8_t>(b.position / 30) + 1;
        b.retrograde = static_cast<std::uint8_t>(coin(random));
    }
}

// The natal and transit items of a double wheel, both scattered, the natal one turned anywhere.
chart::TDataProg RandomDoublePair(std::mt19937 &random) {
    chart::TDataProg p = SyntheticProgressions();
    ScatterBodies(p.items[1], random);
    ScatterBodies(p.items[3], random);
    p.items[1].rotation = std::uniform_real_distribution<double>(0, 360)(random);
    return p;
}

// No body label of either wheel overlaps a label of another body or a cusp text (body 0).
::testing::AssertionResult LabelsStayClear(const std::vector<WheelLabel> &labels) {
    for (const WheelLabel &a : labels) {
        if (a.body == 0)
            continue;
        for (const WheelLabel &b : labels) {
            if (b.wheel == a.wheel && b.body == a.body)
                continue;
            const QRectF overlap = a.box.intersected(b.box);
            if (overlap.width() >= 0.01 && overlap.height() >= 0.01)
                return ::testing::AssertionFailure()
                       << "wheel " << a.wheel << " body " << a.body << " and wheel " << b.wheel << " label "
                       << b.body << " at " << a.box.x() << "," << a.box.y() << " " << a.box.width() << "x"
                       << a.box.height() << " and " << b.box.x() << "," << b.box.y() << " " << b.box.width()
                       << "x" << b.box.height();
        }
    }
    return ::testing::AssertionSuccess();
}

TEST_F(WheelTest, PlacedLabelsNeverOverlapOverRandomCharts) {
    std::mt19937 random(15);
    std::uniform_real_distribution<double> anywhere(0, 360);
    for (int chart = 0; chart < 1000; ++chart) {
        chart::TDataProg p = SyntheticProgressions();
        ScatterBodies(p.items[1], random);
        p.items[1].rotation = anywhere(random);
        RecVistaCarta view;
        view.largeImagesWheel = chart % 5 == 0;
        view.wheelFlags[settings::kFlagPlanetasSeg] = chart % 3 == 0;
        const int side = chart % 4 == 0 ? 1200 : 600;
        QImage picture(side, side, QImage::Format_RGB32);
        Canvas canvas(picture);
        std::vector<WheelLabel> labels;
        DrawWheel(canvas, picture.rect(), GlyphSet::Choose(view.largeImagesWheel),
                  WheelInput{p, view, nullptr, DefaultWheelColours(), &labels});
        ASSERT_GE(labels.size(), 12u * 4);
        for (std::size_t a = 0; a < labels.size(); ++a)
            for (std::size_t b = a + 1; b < labels.size(); ++b) {
                if (labels[a].body == labels[b].body)
                    continue;
                const QRectF overlap = labels[a].box.intersected(labels[b].box);
                ASSERT_TRUE(overlap.width() < 0.01 || overlap.height() < 0.01)
                    << "chart " << chart << ": bodies " << labels[a].body << " and " << labels[b].body;
            }
        if (chart == 1)
            Shot(canvas.Image(), "labels_random");
    }
}

TEST_F(WheelTest, LabelsOfDoubleWheelsStayClearAt600Pixels) {
    // A double wheel at 600 px, with either glyph set, with or without seconds: no body label overlaps a
    // label of another body of either wheel, nor a cusp text of either wheel.
    std::mt19937 random(1515);
    std::uniform_int_distribution<int> coin(0, 1);
    for (int chart = 0; chart < 300; ++chart) {
        chart::TDataProg p = RandomDoublePair(random);
        p.items[3].rotation = p.items[1].rotation;
        RecVistaCarta view;
        view.wheelMode = settings::kDoubleWheel;
        view.outerItem = 3;
        view.largeImagesWheel = chart % 2 == 0;
        view.equaliseBySigns = coin(random) != 0;
        view.wheelFlags[settings::kFlagPlanetasSeg] = chart % 4 < 2;
        QImage picture(600, 600, QImage::Format_RGB32);
        Canvas canvas(picture);
        std::vector<WheelLabel> labels;
        DrawWheel(canvas, picture.rect(), GlyphSet::Choose(view.largeImagesWheel),
                  WheelInput{p, view, nullptr, DefaultWheelColours(), &labels});
        ASSERT_GE(labels.size(), 12u * 4 * 2);
        ASSERT_TRUE(LabelsStayClear(labels))
            << "chart " << chart << (view.largeImagesWheel ? ", large glyphs" : "")
            << (view.wheelFlags[settings::kFlagPlanetasSeg] ? ", seconds" : "");
        if (chart < 4)
            Shot(canvas.Image(), "double_labels_random_" + std::to_string(chart));
    }
}

TEST_F(WheelTest, OneRuedaAspectCircleIsLargeEnoughToReadAt600Pixels) {
    // "1 Rueda" at 600 px: the aspect circle (the centre's colour reaching out from the centre) keeps a
    // radius of at least an eighth of the picture, whichever glyph set.
    Charts charts;
    for (const int form : {0, 1, 2, 3}) {
        const bool large = form & 1;
        RecVistaCarta view = ShowAllView();
        view.wheelMode = settings::kDoubleWheel;
        view.outerItem = 3;
        view.innerWheelOnly = true;
        view.largeImagesWheel = large;
        view.wheelFlags[settings::kFlagPlanetasSeg] = form & 2;
        const WheelColours colours = WheelColoursFrom(charts.settings);
        QImage picture(600, 600, QImage::Format_RGB32);
        Canvas canvas(picture);
        DrawWheel(canvas, picture.rect(), GlyphSet::Choose(large),
                  WheelInput{charts.prog, view, nullptr, colours});
        const QImage &drawn = canvas.Image();
        const WheelGeometry g = ComputeWheelGeometry(picture.rect());
        // The longest run of the centre colour from the centre over a few directions (house lines and
        // labels may cut some of them short).
        int radius = 0;
        for (int angle = 0; angle < 360; angle += 10) {
            int run = 0;
            while (run < g.R) {
                const QColor c = PixelAt(drawn, g.At(static_cast<Real>(run + 1) / g.R, angle));
                const QColor &centre = colours.wheel[5];
                if (std::abs(c.red() - centre.red()) + std::abs(c.green() - centre.green()) +
                        std::abs(c.blue() - centre.blue()) >
                    24)
                    break;
                ++run;
            }
            radius = std::max(radius, run);
        }
        EXPECT_GE(radius, 600 / 8) << "form " << form;
        EXPECT_LT(radius, g.R) << "form " << form;
        Shot(drawn, "one_rueda_" + std::to_string(form));
    }
}

TEST_F(WheelTest, OneRuedaLabelsStayClearAt600Pixels) {
    // "1 Rueda" at 600 px with either glyph set, with or without seconds: the outer item's ring and the
    // inner wheel show no label overlapping another body's label, a cusp text or one of the outer item's
    // cusp numbers among the ring; near the horizontal the ring's rows stand as far apart as their widths
    // need.
    std::mt19937 random(151);
    for (int chart = 0; chart < 120; ++chart) {
        chart::TDataProg p = RandomDoublePair(random);
        RecVistaCarta view;
        view.wheelMode = settings::kDoubleWheel;
        view.outerItem = 3;
        view.innerWheelOnly = true;
        view.largeImagesWheel = chart % 2 == 0;
        view.wheelFlags[settings::kFlagPlanetasSeg] = chart % 4 < 2;
        QImage picture(600, 600, QImage::Format_RGB32);
        Canvas canvas(picture);
        std::vector<WheelLabel> labels;
        DrawWheel(canvas, picture.rect(), GlyphSet::Choose(view.largeImagesWheel),
                  WheelInput{p, view, nullptr, DefaultWheelColours(), &labels});
        ASSERT_GE(labels.size(), 12u * 4 * 2);
        ASSERT_TRUE(LabelsStayClear(labels)) << "chart " << chart;
        if (chart < 4)
            Shot(canvas.Image(), "one_rueda_random_" + std::to_string(chart));
    }
}

TEST_F(WheelTest, TooSmallAreaIsOnlyFilledWhite) {
    RecVistaCarta view;
    image = QImage(30, 30, QImage::Format_RGB32);
    image.fill(Qt::red);
    Canvas canvas(image);
    DrawWheel(canvas, image.rect(), GlyphSet::Normal(), WheelInput{prog, view});
    canvas.Image();
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(image.pixel(x, y), qRgb(255, 255, 255));
}

TEST_F(WheelTest, RealChartsInEveryForm) {
    Charts charts;
    struct Case {
        const char *name;
        int mode;
        bool innerOnly, bySigns, project, large, colour;
    };
    const Case cases[] = {
        {"wheel_single", 1, false, false, false, false, true},
        {"wheel_single_large", 1, false, false, false, true, true},
        {"wheel_single_colour_off", 1, false, false, false, false, false},
        {"wheel_double_by_ascendant", 2, false, false, false, false, true},
        {"wheel_double_by_signs_projected", 2, false, true, true, true, true},
        {"wheel_1_rueda", 2, true, false, false, false, true},
    };
    for (const Case &c : cases) {
        RecVistaCarta view = ShowAllView();
        view.wheelMode = static_cast<settings::WheelMode>(c.mode);
        view.outerItem = 3;
        view.innerWheelOnly = c.innerOnly;
        view.equaliseBySigns = c.bySigns;
        view.projectInnerHouses = c.project;
        view.noProjectedHouses = !c.project;
        view.largeImagesWheel = c.large;
        view.wheelFlags[settings::kFlagColor] = c.colour;
        view.wheelFlags[settings::kFlagCasas] = c.mode == 2; // body aspects only on the single wheel
        charts.BuildAspects(view, c.mode == 2);
        QImage picture(640, 640, QImage::Format_RGB32);
        Canvas canvas(picture);
        const int count =
            DrawWheel(canvas, picture.rect(), GlyphSet::Choose(c.large),
                      WheelInput{charts.prog, view, &charts.aspects, WheelColoursFrom(charts.settings)});
        Shot(canvas.Image(), c.name);
        Shot(canvas.Image().copy(200, 20, 260, 200).scaled(780, 600), std::string(c.name) + "_zoom");
        EXPECT_GT(count, 0) << c.name; // a double wheel draws the aspects between its two charts
    }
}

} // namespace
} // namespace cel::graphics

namespace cel::graphics {
namespace {

// Cusps as a polar latitude makes them: houses of very unequal sizes, some only a few degrees wide,
// opposite cusps 180 degrees apart.
void PolarCusps(chart::RecDataProg &item, std::mt19937 &random) {
    std::uniform_real_distribution<double> anywhere(0, 360), narrow(1.5, 6), wide(10, 60);
    std::uniform_int_distribution<int> coin(0, 1);
    std::array<double, 6> size{};
    double sum = 0;
    for (double &s : size)
        sum += s = coin(random) ? narrow(random) : wide(random);
    double cusp = anywhere(random);
    for (int n = 1; n <= 6; ++n) {
        for (int k : {n, n + 6}) {
            const float value = static_cast<float>(std::fmod(cusp + (k > 6 ? 180 : 0), 360.0));
            item.cusps[static_cast<std::size_t>(k)] = {value, static_cast<std::uint8_t>(value / 30 + 1), 0};
        }
        cusp += size[static_cast<std::size_t>(n - 1)] * 180 / sum;
    }
    item.rotation = std::fmod(540.0L - item.cusps[1].cusp, 360.0L);
}

struct WheelCase {
    int size = 600;
    RecVistaCarta view;
    chart::TDataProg prog;
    analysis::AspectLists aspects;
    std::string Describe() const {
        std::ostringstream out;
        out << size << " px, "
            << (view.wheelMode == settings::kDoubleWheel ? view.innerWheelOnly    ? "1 Rueda"
                                                           : view.equaliseBySigns ? "double by signs"
                                                                                  : "double by Ascendant"
                                                         : "single")
            << (view.largeImagesWheel ? ", large glyphs" : "")
            << (view.wheelFlags[settings::kFlagPlanetasSeg] ? ", seconds" : "");
        return out.str();
    }
};

struct Placed {
    std::vector<WheelLabel> labels;
    std::vector<WheelBodyPlace> bodies;
    int lines = 0;
};

// Draws through a recording painter: the layout is the picture's, without painting its pixels.
Placed DrawRecorded(const WheelCase &c) {
    Placed placed;
    QPicture picture;
    QPainter painter(&picture);
    Canvas canvas(painter, QSize(c.size, c.size));
    placed.lines = DrawWheel(
        canvas, QRect(0, 0, c.size, c.size), GlyphSet::Choose(c.view.largeImagesWheel),
        WheelInput{c.prog, c.view, &c.aspects, DefaultWheelColours(), &placed.labels, &placed.bodies});
    painter.end();
    return placed;
}

// No two placed boxes overlap (body glyphs included).
::testing::AssertionResult NoBoxesOverlap(const Placed &placed) {
    std::vector<std::pair<std::string, QRectF>> boxes;
    for (const WheelLabel &l : placed.labels)
        boxes.emplace_back(std::string(WheelLabelKindName(l.kind)) + " (wheel " + std::to_string(l.wheel) +
                               ", body " + std::to_string(l.body) + ")",
                           l.box);
    for (std::size_t a = 0; a < boxes.size(); ++a)
        for (std::size_t b = a + 1; b < boxes.size(); ++b) {
            const QRectF overlap = boxes[a].second.intersected(boxes[b].second);
            if (overlap.width() >= 0.01 && overlap.height() >= 0.01)
                return ::testing::AssertionFailure()
                       << boxes[a].first << " at " << boxes[a].second.x() << "," << boxes[a].second.y()
                       << " and " << boxes[b].first << " at " << boxes[b].second.x() << ","
                       << boxes[b].second.y();
        }
    return ::testing::AssertionSuccess();
}

long double Turn(long double from, long double to) {
    return std::fmod(to - from + 540.0L, 360.0L) - 180;
}

// Every body glyph within 8 degrees of its body.
::testing::AssertionResult GlyphsNearTheirBodies(const Placed &placed) {
    if (placed.bodies.empty())
        return ::testing::AssertionFailure() << "no body placed";
    for (const WheelBodyPlace &b : placed.bodies)
        if (std::fabs(Turn(b.longitude, b.drawn)) > 8)
            return ::testing::AssertionFailure()
                   << "wheel " << b.wheel << " body " << b.body << " at " << static_cast<double>(b.longitude)
                   << " drawn at " << static_cast<double>(b.drawn);
    return ::testing::AssertionSuccess();
}

// On each row of each wheel the glyphs in the zodiac order of their bodies.
::testing::AssertionResult GlyphsInZodiacOrder(const Placed &placed) {
    for (const WheelBodyPlace &a : placed.bodies)
        for (const WheelBodyPlace &b : placed.bodies)
            if (a.wheel == b.wheel && a.row == b.row && Turn(a.longitude, b.longitude) > 0 &&
                Turn(a.longitude, b.longitude) < 60 && Turn(a.drawn, b.drawn) < 0)
                return ::testing::AssertionFailure() << "wheel " << a.wheel << ": bodies " << a.body
                                                     << " and " << b.body << " change order";
    return ::testing::AssertionSuccess();
}

// Bodies scattered or gathered in up to three stelliums of up to `largest` bodies each, 16 degrees wide
// at most, as real charts show them (seven bodies within 17 degrees in February 1962).
void StelliumBodies(chart::RecDataProg &item, std::mt19937 &random, int largest) {
    std::uniform_real_distribution<double> anywhere(0, 360), near(-8, 8);
    std::uniform_int_distribution<int> coin(0, 1), clusterCount(0, 3), members(2, largest);
    std::vector<double> centreOf(12, -1);
    const int clusters = clusterCount(random);
    int next = 0;
    for (int k = 0; k < clusters && next < 12; ++k) {
        const double centre = anywhere(random);
        for (int m = members(random); m > 0 && next < 12; --m)
            centreOf[static_cast<std::size_t>(next++)] = centre;
    }
    std::shuffle(centreOf.begin(), centreOf.end(), random);
    for (int i = 1; i <= 12; ++i) {
        auto &b = item.bodies[static_cast<std::size_t>(i)];
        const double centre = centreOf[static_cast<std::size_t>(i - 1)];
        b.position = std::fmod((centre < 0 ? anywhere(random) : centre + near(random)) + 360, 360.0);
        b.wheelPosition = b.position;
        b.sign = static_cast<std::uint8_t>(b.position / 30) + 1;
        b.retrograde = static_cast<std::uint8_t>(coin(random));
    }
}

// A random wheel of at least `smallest` pixels with stelliums of up to `largest` bodies.
WheelCase RandomWheel(std::mt19937 &random, int n, int largest, int smallest) {
    static const int sizes[] = {400, 600, 800, 1200, 1600, 2400};
    std::uniform_int_distribution<int> coin(0, 1), kind(0, 3), size(smallest > 400 ? 1 : 0, 5), polar(0, 3);
    WheelCase c;
    c.size = sizes[size(random)];
    c.prog = SyntheticProgressions();
    StelliumBodies(c.prog.items[1], random, largest);
    StelliumBodies(c.prog.items[3], random, largest);
    c.prog.items[1].rotation = std::uniform_real_distribution<double>(0, 360)(random);
    if (polar(random) == 0)
        PolarCusps(c.prog.items[1], random);
    if (polar(random) == 0)
        PolarCusps(c.prog.items[3], random);
    c.view = ShowAllView();
    c.view.outerItem = 3;
    c.view.largeImagesWheel = coin(random);
    c.view.wheelFlags[settings::kFlagPlanetasSeg] = coin(random);
    switch (n % 4 == 0 ? 0 : kind(random)) {
    case 0:
        break;
    case 1:
        c.view.wheelMode = settings::kDoubleWheel;
        break;
    case 2:
        c.view.wheelMode = settings::kDoubleWheel;
        c.view.equaliseBySigns = true;
        break;
    default:
        c.view.wheelMode = settings::kDoubleWheel;
        c.view.innerWheelOnly = true;
        break;
    }
    c.view.aspectFamilies = {true, false, false, false};
    static settings::OrbTables orbs = [] {
        settings::OrbTables t;
        t.InstallBuiltIn();
        return t;
    }();
    analysis::BuildNatalAspects(c.aspects, c.prog.items[1], c.prog.items[2], false, orbs,
                                settings::BuiltInMatrix(settings::MatrixPreset::Modern));
    analysis::BuildPairAspects(c.aspects, c.prog.items[1], c.prog.items[3], analysis::kOrbModeEcliptic, false,
                               orbs);
    return c;
}

// Draws `count` random charts from a seed (scattered bodies, stelliums of up to seven bodies, polar
// houses; every wheel kind, sizes from 400 to 2400 pixels, either glyph set, with and without seconds)
// and checks each: no two placed texts or glyphs overlap, every row keeps the zodiac order and every
// glyph of either chart stands within 8 degrees of its body. Counts the glyphs put on further rows.
::testing::AssertionResult RandomChartsHold(unsigned seed, int count, int &further) {
    std::mt19937 random(seed);
    for (int n = 0; n < count; ++n) {
        const WheelCase c = RandomWheel(random, n, 7, 400);
        const Placed placed = DrawRecorded(c);
        for (const ::testing::AssertionResult &holds :
             {NoBoxesOverlap(placed), GlyphsInZodiacOrder(placed), GlyphsNearTheirBodies(placed)})
            if (!holds)
                return ::testing::AssertionFailure() << "seed " << seed << ", chart " << n << " ("
                                                     << c.Describe() << "): " << holds.message();
        for (const WheelBodyPlace &b : placed.bodies)
            further += b.row > 0;
    }
    return ::testing::AssertionSuccess();
}

TEST(WheelLayoutTest, PlacedBoxesNeverOverlapAndGlyphsKeepTheirOrder) {
    EnsureApp();
    int further = 0;
    EXPECT_TRUE(RandomChartsHold(2424, 400, further));
    EXPECT_GT(further, 0); // stelliums did step onto further rows
}

// A few thousand more random charts, in parts that run side by side.
class WheelLayoutProperty : public ::testing::TestWithParam<unsigned> {};

TEST_P(WheelLayoutProperty, ThousandRandomChartsKeepEveryGlyphClearNearAndInOrder) {
    EnsureApp();
    int further = 0;
    EXPECT_TRUE(RandomChartsHold(GetParam(), 1000, further));
    EXPECT_GT(further, 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, WheelLayoutProperty, ::testing::Values(1962u, 1985u, 2024u, 6965u));

TEST(WheelLayoutTest, GlyphsOfRealChartsStayNearTheirBodiesInEveryWheelKind) {
    // The natal chart and its transits in every wheel kind, at 600, 1200 and 2400 pixels, with either
    // glyph set and with seconds: every glyph of both charts within 8 degrees of its body.
    EnsureApp();
    Charts charts;
    for (const int size : {600, 1200, 2400})
        for (const int form : {0, 1, 2, 3})
            for (const bool large : {false, true}) {
                WheelCase c;
                c.size = size;
                c.prog = charts.prog;
                c.view = ShowAllView();
                c.view.outerItem = 3;
                c.view.largeImagesWheel = large;
                c.view.wheelFlags[settings::kFlagPlanetasSeg] = true;
                c.view.wheelMode = form == 0 ? settings::kSingleWheel : settings::kDoubleWheel;
                c.view.equaliseBySigns = form == 2;
                c.view.innerWheelOnly = form == 3;
                const Placed placed = DrawRecorded(c);
                ASSERT_TRUE(NoBoxesOverlap(placed)) << c.Describe();
                EXPECT_TRUE(GlyphsNearTheirBodies(placed)) << c.Describe();
                EXPECT_EQ(placed.bodies.size(), form == 0 ? 12u : 24u) << c.Describe();
            }
}

} // namespace
} // namespace cel::graphics
