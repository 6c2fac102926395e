#include "document/page_content.h"

#include <QPainter>
#include <QPainterPath>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "../export/export_fixtures.h"
#include "astronomy/angle_text.h"

namespace cel::exporting {
namespace {

using testing_fixtures::RealCharts;

std::size_t Count(const std::string &text, const std::string &what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

TEST(PageContent, ProgressionLinesAreTheLabelTexts) {
    const RealCharts charts;
    const auto lines = document::ProgressionLines(charts.natal, charts.event, charts.prog, TextFormat{','});
    EXPECT_THAT(lines[0],
                ::testing::MatchesRegex("Edad: 46 años 2 meses 19 días \\[16[0-9]+,[0-9]{4} días\\]"));
    EXPECT_THAT(lines[1], ::testing::StartsWith("ARMC. Nat: "));
    EXPECT_THAT(lines[1], ::testing::HasSubstr(", Eve: "));
    EXPECT_THAT(lines[2], ::testing::StartsWith("Arco. DP: "));
    EXPECT_THAT(lines[2], ::testing::HasSubstr(", Solar: "));
    // The secondary-direction date falls 46 days after birth: early December 1979.
    EXPECT_THAT(lines[3], ::testing::MatchesRegex(
                              "Fecha DS: dic 0[0-9] 1979, [0-9]{2}:[0-9]{2}:[0-9]{2} GMT, ARMC: .*"));
}

TEST(PageContent, ProgressionsGridTextsSignsAndMarks) {
    RealCharts charts;
    charts.prog.items[3].bodies[4].retrograde = 1;
    RtfGrid grid;
    ProgGridMarks marks;
    document::FillProgressionsGrid(grid, marks, charts.prog, true, TextFormat{','});
    ASSERT_EQ(grid.RowCount(), 25);
    ASSERT_EQ(grid.ColumnCount(), 12);
    EXPECT_EQ(grid.Cell(1, 0), "Nat. Ecl");
    EXPECT_EQ(grid.Cell(11, 0), "Trá DMO.");
    EXPECT_EQ(grid.Cell(0, 13), "1");
    EXPECT_EQ(grid.Cell(0, 24), "12");
    const auto &sun = charts.prog.items[1].bodies[1];
    EXPECT_EQ(grid.Cell(1, 1), astronomy::FormatSignPosition(0, astronomy::AngleLayout::DegreesMinutesSeconds,
                                                             sun.position - (sun.sign - 1) * 30.0L));
    EXPECT_EQ(marks.sign[1][1], sun.sign);
    const auto &cusp10 = charts.prog.items[8].cusps[10];
    EXPECT_EQ(marks.sign[22][8], cusp10.sign);
    const auto &dmo = charts.prog.items[10].bodies[2];
    EXPECT_EQ(grid.Cell(10, 2),
              astronomy::FormatAngle(91, 0, astronomy::AngleSuffix::None,
                                     astronomy::AngleLayout::DegreesMinutesSeconds, dmo.position) +
                  " (" + std::to_string(dmo.sign) + ")");
    EXPECT_EQ(marks.sign[2][10], 0); // no glyph in the meridian-distance columns
    EXPECT_TRUE(marks.retro[4][3]);
    EXPECT_TRUE(marks.showRetro);
}

TEST(PageContent, TintedGlyphLeavesTheBackgroundAlone) {
    // Sol in red over green, four times the set's size so that its outline covers whole pixels: those
    // inside it are red, those clear of it keep the green, the anti-aliased rim lies between.
    QImage image(44, 44, QImage::Format_RGB32);
    image.fill(QColor(0, 255, 0));
    {
        QPainter painter(&image);
        painter.scale(4, 4);
        document::NormalGlyphPainter().Draw(painter, 12, 0, 0, 0x0000FF);
    }
    const QPainterPath &outline = graphics::GlyphSet::Normal().Outline(12);
    int inside = 0, clear = 0;
    for (int y = 0; y < 44; ++y)
        for (int x = 0; x < 44; ++x) {
            const QRectF square(x / 44.0, y / 44.0, 1 / 44.0, 1 / 44.0);
            if (outline.contains(square)) {
                ++inside;
                ASSERT_EQ(image.pixelColor(x, y), QColor(255, 0, 0)) << x << "," << y;
            } else if (!outline.intersects(square)) {
                ++clear;
                ASSERT_EQ(image.pixelColor(x, y), QColor(0, 255, 0)) << x << "," << y;
            }
        }
    EXPECT_GT(inside, 60);
    EXPECT_GT(clear, 44 * 44 / 2);
}

TEST(PageContent, EveryPageBuildsFromRealCharts) {
    RealCharts charts;
    const document::PageHeading heading = testing_fixtures::SampleHeading();
    struct Case {
        document::PageKind page;
        int inner, outer;
        std::size_t minPictures;
    };
    for (const Case &c :
         {Case{document::PageKind::Rueda, 1, 1, 1}, Case{document::PageKind::Rueda, 1, 3, 1},
          Case{document::PageKind::Tabla, 1, 1, 26 + 24 + 24},
          Case{document::PageKind::Tabla, 3, 1, 26 + 24 + 24}, Case{document::PageKind::Listado, 5, 5, 10},
          Case{document::PageKind::Natal, 1, 1, 10},
          Case{document::PageKind::Progresiones, 1, 1, 12 + 24 * 9},
          Case{document::PageKind::Speculum, 1, 1, 0}, Case{document::PageKind::Diagramas, 1, 1, 1}}) {
        charts.SetItems(c.inner, c.outer);
        const document::ChartState state = charts.State();
        const document::PageContent input =
            document::MakePageContent(c.page, state, document::PageChoices{}, heading);
        TCtrlToRTF writer;
        ASSERT_TRUE(BuildExportDocument(input, writer).written);
        EXPECT_GE(Count(writer.Body(), "{\\pict"), c.minPictures) << static_cast<int>(c.page);
    }
}

TEST(PageContent, WheelIsDrawnAndTableHas26Columns) {
    RealCharts charts;
    const document::ChartState state = charts.State();
    document::PageContent wheel =
        document::MakePageContent(document::PageKind::Rueda, state, document::PageChoices{}, {});
    QImage picture(600, 600, QImage::Format_RGB32);
    picture.fill(QColor(255, 0, 0));
    wheel.drawWheel(picture);
    int black = 0;
    for (int x = 0; x < 600; ++x)
        black += picture.pixelColor(x, 300) == QColor(Qt::black) ? 1 : 0;
    EXPECT_GE(black, 4); // the circles cross the middle line

    document::PageChoices percent;
    percent.showStrength = true;
    const document::PageContent table =
        document::MakePageContent(document::PageKind::Tabla, state, percent, {});
    EXPECT_EQ(table.aspectTable.ColumnCount(), 26);
    EXPECT_EQ(table.aspectTable.RowCount(), 25);
    EXPECT_TRUE(table.showStrength);
    EXPECT_EQ(table.tableGlyphs, &document::NormalGlyphPainter());
}

TEST(PageContent, NatalListWithBothModelsSplitsCellsIntoHalves) {
    RealCharts charts;
    const document::ChartState state = charts.State();
    document::PageChoices choices;
    choices.ambos = true;
    const document::PageContent input =
        document::MakePageContent(document::PageKind::Natal, state, choices, {});
    bool anySplit = false;
    for (const auto &row : input.detail.cells)
        for (const std::string &cell : row)
            anySplit = anySplit || cell.find('/') != std::string::npos;
    EXPECT_TRUE(anySplit);
    std::vector<std::string> codes;
    document::PageContent probe = input;
    probe.renderCode = [&codes, &input](QPainter &painter, int w, int h, const std::string &code) {
        codes.push_back(code);
        input.renderCode(painter, w, h, code);
    };
    TCtrlToRTF writer;
    BuildExportDocument(probe, writer);
    ASSERT_FALSE(codes.empty());
    for (const std::string &code : codes)
        EXPECT_EQ(code.find('/'), std::string::npos) << code;
}

} // namespace
} // namespace cel::exporting
