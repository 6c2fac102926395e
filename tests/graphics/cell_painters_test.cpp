#include <gtest/gtest.h>

#include "graphics/cell_painters.h"
#include "graphics_fixture.h"

namespace cel::graphics {
namespace {

using namespace testing;

// Dark pixels (any channel below 128 counts) inside a rectangle of a picture.
int DarkIn(const QImage &image, const QRect &area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.valid(x, y) && qGray(image.pixel(x, y)) < 128)
                ++n;
    return n;
}

int ColourIn(const QImage &image, const QRect &area, const QColor &colour) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.valid(x, y) && image.pixel(x, y) == colour.rgb())
                ++n;
    return n;
}

class CellTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApp();
        view.wheelMode = settings::kDoubleWheel;
        view.innerItem = 1;
        view.outerItem = 3;
        settings::Settings s;
        SetRelationColours(context, s);
    }

    QImage Paint(const std::function<void(Canvas &)> &paint, QSize size = QSize(40, 40)) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        Canvas canvas(image);
        paint(canvas);
        canvas.Image();
        return image;
    }

    chart::TDataProg prog = SyntheticProgressions();
    settings::RecVistaCarta view = ShowAllView();
    analysis::AspectLists lists;
    settings::DignityMatrix matrix = settings::BuiltInMatrix(settings::MatrixPreset::Modern);
    CellContext context{prog, view, lists, matrix, GlyphSet::Normal(), {}, {}, {}, TextFormat{}, 96};
    const QRect cell{0, 0, 40, 40};
};

TEST_F(CellTest, ConjunctionCellIsBlackWithItsStrengthBelow) {
    const int G = context.glyphs.Size();
    const QImage image =
        Paint([&](Canvas &c) { PaintAspectCell(c, cell, 3, 5, "1:100", false, true, context); });
    // The conjunction glyph in black at (left + 2, top + 1): every pixel of its box black, white or a
    // blend of the two, and its dark pixels where the glyph's own picture has them.
    int dark = 0, matched = 0;
    for (int y = 0; y < G; ++y)
        for (int x = 0; x < G; ++x) {
            EXPECT_GE(Coverage(image.pixel(2 + x, 1 + y), Qt::black), 0) << x << "," << y;
            if (context.glyphs.IsDark(kAspectPictureBase + 1, x, y)) {
                ++dark;
                matched += Coverage(image.pixel(2 + x, 1 + y), Qt::black) >= 0.5;
            }
        }
    EXPECT_GT(dark, 5);
    EXPECT_EQ(matched, dark);
    // "100%" below the glyph; nothing there without the "%" option.
    EXPECT_GT(DarkIn(image, QRect(1, G + 1, 39, 39 - G)), 10);
    const QImage plain =
        Paint([&](Canvas &c) { PaintAspectCell(c, cell, 3, 5, "1:100", false, false, context); });
    EXPECT_EQ(DarkIn(plain, QRect(0, G + 2, 40, 38 - G)), 0);
}

TEST_F(CellTest, DispositorCellShowsARedOppositionAndABoldColon) {
    const int G = context.glyphs.Size();
    const QImage image =
        Paint([&](Canvas &c) { PaintAspectCell(c, cell, 3, 5, "13:72d", false, false, context); });
    EXPECT_GT(TintedIn(image, QRect(2, 1, G, G), QColor(255, 0, 0)), 5);
    EXPECT_GT(DarkIn(image, QRect(G + 3, 0, 8, 20)), 2);
    const QImage noMark =
        Paint([&](Canvas &c) { PaintAspectCell(c, cell, 3, 5, "13:72", false, false, context); });
    EXPECT_EQ(DarkIn(noMark, QRect(G + 3, 0, 8, 20)), 0);
}

TEST_F(CellTest, RelationColoursFollowRuledHouseMembership) {
    const QColor ruled = context.relationColours[kRelationRuledHouse];
    const QRect inside(4, 20, 30, 15); // below the glyph, away from the frame
    auto &sol = prog.items[1].bodies[1];
    sol.house = 5;
    struct Case {
        const char *ruled;
        int cusp;
        bool coloured;
    };
    for (const Case &c :
         {Case{"10", 10, true}, Case{"1", 10, false}, Case{"10", 1, false}, Case{"4,10", 10, true}}) {
        sol.ruledHouses = c.ruled;
        EXPECT_EQ(CellRelation(12 + c.cusp, 1, context), c.coloured ? kRelationRuledHouse : kRelationNone)
            << c.ruled;
        const QImage image = Paint(
            [&](Canvas &cv) { PaintAspectCell(cv, cell, 12 + c.cusp, 1, "9:50", false, false, context); });
        EXPECT_EQ(ColourIn(image, inside, ruled) == inside.width() * inside.height(), c.coloured) << c.ruled;
        // The frame of relation 6 around every related cell.
        EXPECT_EQ(image.pixel(39, 39) == context.relationColours[kRelationFrame].rgb(), c.coloured)
            << QColor(image.pixel(39, 39)).name().toStdString() << c.ruled;
    }
    // With "Color" off no relation colour is used and the glyph is black.
    sol.ruledHouses = "10";
    view.wheelFlags[settings::kFlagColor] = false;
    const QImage off =
        Paint([&](Canvas &cv) { PaintAspectCell(cv, cell, 22, 1, "9:50", false, false, context); });
    EXPECT_EQ(ColourIn(off, inside, ruled), 0);
    EXPECT_EQ(TintedIn(off, QRect(2, 1, 11, 11), QColor(0, 0, 255)), 0);
    EXPECT_GT(DarkIn(off, QRect(2, 1, 11, 11)), 5);
}

TEST_F(CellTest, CellRelationCodes) {
    auto &sol = prog.items[1].bodies[1];
    sol.ruledHouses = "";
    sol.house = 3;
    sol.sign = 1; // Aries: ruled by Mar in the modern matrix
    lists.eclipticBodies.push_back(analysis::TAspReg{{7, 90, 100, 0}, "p02p04"});
    lists.ascensionalBodyCusp.push_back(analysis::TAspReg{{1, 0, 100, 0}, "p06c02"});
    EXPECT_EQ(CellRelation(7, 7, context), kRelationSelf);
    EXPECT_EQ(CellRelation(4, 2, context), kRelationAspect);  // either order
    EXPECT_EQ(CellRelation(14, 6, context), kRelationAspect); // ascensional body-cusp list
    EXPECT_EQ(CellRelation(15, 1, context), kRelationOccupied);
    EXPECT_EQ(CellRelation(1, 5, context), kRelationDispositor);
    EXPECT_EQ(CellRelation(5, 1, context), kRelationDispositor);
    EXPECT_EQ(CellRelation(1, 6, context), kRelationNone);
    EXPECT_EQ(CellRelation(13, 20, context), kRelationNone);
}

TEST_F(CellTest, PositionCellShowsTheMarkedRowInYellowWithItsSign) {
    const int G = context.glyphs.Size();
    prog.marks2[0] = 1; // body 1 of the inner item (column 27 in a double wheel)
    const QRect wide(0, 0, 90, 16);
    const QImage marked =
        Paint([&](Canvas &c) { PaintPositionCell(c, wide, 27, 1, context); }, QSize(90, 16));
    EXPECT_EQ(marked.pixel(89, 15), qRgb(255, 255, 0));
    const QImage outer = Paint([&](Canvas &c) { PaintPositionCell(c, wide, 26, 1, context); }, QSize(90, 16));
    EXPECT_EQ(outer.pixel(89, 15), qRgb(255, 255, 255));
    // Sol at 138 degrees: Leo, drawn at the right edge.
    int dark = 0, matched = 0;
    for (int y = 0; y < G; ++y)
        for (int x = 0; x < G; ++x)
            if (context.glyphs.IsDark(4, x, y)) {
                ++dark;
                matched += qGray(outer.pixel(90 - G + x, 1 + y)) < 128;
            }
    EXPECT_EQ(matched, dark);
}

TEST_F(CellTest, NatalListCellWithAnEmptyHalf) {
    view.wheelMode = settings::kSingleWheel;
    for (int i = 0; i < 3; ++i)
        lists.ascensionalBodies.push_back(analysis::TAspReg{{5, 60, 80, 0}, "p01p0" + std::to_string(i + 2)});
    lists.ascensionalBodies.push_back(analysis::TAspReg{{9, 120.5f, 83.3f, 0}, "p02p05"});
    const DetailOptions options;
    const PanelLayout layout = DefaultPanelLayout(options, context.glyphs, false);
    const QSize half = PanelHalfSize(layout);
    const QRect rect(0, 0, 2 * half.width() + 1, half.height());
    const QImage image = Paint(
        [&](Canvas &c) { PaintCodeCell(c, rect, "-:4/0:A:L1:p02:3:p05", true, options, layout, context); },
        rect.size());
    const int w = (rect.width() - 1) / 2, mid = rect.height() / 2;
    // Left half: a dotted line from a quarter to three quarters at mid-height, "4)" at the top left.
    int dots = 0;
    for (int x = w / 4; x <= w * 3 / 4; ++x)
        dots += qGray(image.pixel(x, mid)) < 128;
    EXPECT_GT(dots, w / 8);
    EXPECT_LT(dots, w / 2 + 2);
    EXPECT_GT(DarkIn(image, QRect(0, 0, 20, 14)), 3);
    EXPECT_EQ(DarkIn(image, QRect(0, mid + 2, w, rect.height() - mid - 2)), 0);
    // Right half: the ascensional trine of Lun and Mar with its members.
    const QRect right(rect.width() - w, 0, w, rect.height());
    EXPECT_GT(DarkIn(image, right.intersected(layout.aspect.translated(right.topLeft()))), 20);
    EXPECT_GT(DarkIn(image, right.intersected(layout.member1.translated(right.topLeft()))), 10);
    Shot(image.scaled(image.size() * 3), "cell_natal_list_x3");

    // A code whose index does not name a record with its members draws no panel.
    const QImage wrong = Paint(
        [&](Canvas &c) {
            PaintCodeCell(c, QRect(QPoint(0, 0), half), "0:A:L1:p02:2:p05", false, options, layout, context);
        },
        half);
    EXPECT_EQ(DarkIn(wrong, QRect(QPoint(0, 0), half)), 0);
    // A heading is written as it is.
    const QImage heading = Paint(
        [&](Canvas &c) {
            PaintCodeCell(c, QRect(QPoint(0, 0), half), " Lista", false, options, layout, context);
        },
        half);
    EXPECT_GT(DarkIn(heading, QRect(0, 0, 60, 16)), 10);
}

TEST_F(CellTest, DoubleWheelListMembersCarryTheirOwnItems) {
    // Natal (inner, item 1) against transits (outer, item 3): each member drawn from its own item.
    lists.pairBodies.push_back(analysis::TAspReg{{9, 120.5f, 83.3f, 0}, "p01p05"});   // outer Sol, inner Mar
    lists.pairCuspBody.push_back(analysis::TAspReg{{9, 120.5f, 83.3f, 0}, "p02c04"}); // inner Lun, outer 4
    const DetailOptions options;
    const PanelLayout layout = DefaultPanelLayout(options, context.glyphs, false);
    const QSize half = PanelHalfSize(layout);
    struct Case {
        const char *code;
        int changedItem, body, cusp; // changing this member must change the picture...
        int otherItem;               // ...and this item's copy of it must not
    };
    for (const Case &c : {Case{"0:P:P1:p01:0:p05", 3, 1, 0, 1}, Case{"0:P:P3:p02:0:c04", 3, 0, 4, 1},
                          Case{"0:P:P3:p02:0:c04", 1, 2, 0, 3}}) {
        const QImage before = RenderCode(c.code, half, options, layout, context);
        EXPECT_GT(DarkIn(before, QRect(QPoint(0, 0), half)), 20) << c.code;
        auto change = [&](int item) {
            auto &rec = prog.items[static_cast<std::size_t>(item)];
            if (c.body) {
                auto &b = rec.bodies[static_cast<std::size_t>(c.body)];
                b.sign = static_cast<std::uint8_t>(b.sign % 12 + 1);
                b.house = static_cast<std::uint8_t>(b.house % 12 + 1);
                b.ruledHouses = "7,8";
            } else {
                auto &k = rec.cusps[static_cast<std::size_t>(c.cusp)];
                k.sign = static_cast<std::uint8_t>(k.sign % 12 + 1);
            }
        };
        const chart::TDataProg saved = prog;
        change(c.otherItem);
        EXPECT_EQ(RenderCode(c.code, half, options, layout, context), before) << c.code;
        prog = saved;
        change(c.changedItem);
        EXPECT_NE(RenderCode(c.code, half, options, layout, context), before) << c.code;
        prog = saved;
    }
}

TEST_F(CellTest, DispositorCodeShowsAnUnderlinedDAfterItsNumber) {
    lists.dispositorBodies.push_back(analysis::TDispReg{{5, 61, 75, 0}, "p01p02", "p04p06", 7});
    lists.ascensionalBodies.push_back(analysis::TAspReg{{5, 61, 75, 0}, "p04p06"});
    const DetailOptions options;
    const PanelLayout layout = DefaultPanelLayout(options, context.glyphs, false);
    const QSize half = PanelHalfSize(layout);
    auto rightmostInTopLine = [&](const std::string &code) {
        const QImage image = RenderCode(code, half, options, layout, context);
        int right = -1;
        for (int y = 0; y < layout.member1.top(); ++y)
            for (int x = 0; x < half.width(); ++x)
                if (qGray(image.pixel(x, y)) < 128)
                    right = std::max(right, x);
        return right;
    };
    const int plain = rightmostInTopLine("2:A:L1:p04:0:p06");
    const int marked = rightmostInTopLine("2:A:D1:p04:0:p06");
    EXPECT_GT(plain, 0);
    EXPECT_GT(marked, plain + 3);
}

TEST_F(CellTest, PanelsGrowOnDisplaysOf120PixelsPerInch) {
    const DetailOptions options;
    const QSize normal = PanelHalfSize(DefaultPanelLayout(options, context.glyphs, false, 96));
    const QSize large = PanelHalfSize(DefaultPanelLayout(options, context.glyphs, false, 120));
    EXPECT_GT(large.width(), normal.width() * 1.15);
    EXPECT_GT(large.height(), normal.height() * 1.15);
    EXPECT_EQ(DefaultPanelLayout(options, context.glyphs, true).fontSize, 7);
    EXPECT_EQ(DefaultPanelLayout(options, context.glyphs, false).fontSize, 9);
}

TEST_F(CellTest, SummaryCellsDrawSignsDignitiesAndBodiesAsGlyphs) {
    const GlyphSet &g = GlyphSet::Normal();
    const QRect r(0, 0, 40, 18);
    const QPoint at(40 / 4 + g.Size() / 4, 2);
    auto glyphDrawn = [&](const QImage &image, int picture) {
        int dark = 0, matched = 0;
        for (int y = 0; y < g.Size(); ++y)
            for (int x = 0; x < g.Size(); ++x)
                if (g.IsDark(picture, x, y)) {
                    ++dark;
                    matched += qGray(image.pixel(at + QPoint(x, y))) < 128;
                }
        return dark > 0 && matched == dark;
    };
    auto paint = [&](int grid, int column, int row, const char *text) {
        return Paint([&](Canvas &c) { PaintSummaryCell(c, r, grid, column, row, text, context); }, r.size());
    };
    EXPECT_TRUE(glyphDrawn(paint(1, 1, 3, "5"), 4));                        // sign Leo
    EXPECT_TRUE(glyphDrawn(paint(1, 2, 3, "3"), kDignityPictureBase2 + 3)); // "++"
    EXPECT_TRUE(glyphDrawn(paint(1, 7, 3, "10"), kBodyPictureBase + 10));   // Plu
    EXPECT_EQ(DarkIn(paint(1, 11, 3, "0"), r), 0);                          // no following sign
    EXPECT_TRUE(glyphDrawn(paint(2, 4, 0, ""), 3));                         // Can heading
}

} // namespace
} // namespace cel::graphics
