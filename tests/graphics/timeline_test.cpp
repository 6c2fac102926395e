// The timeline of a listing: bars over the time in orb, marks at the exact times, rows in their order.
#include <gtest/gtest.h>

#include "common/date_time.h"
#include "graphics/timeline.h"
#include "graphics_fixture.h"

namespace cel::graphics {
namespace {

TEST(Timeline, BarsRunFromEnteringToLeavingOrbWithAMarkAtEachExactTime) {
    testing::EnsureApp();
    const double from = static_cast<double>(DaysFromCivil(2025, 1, 1));
    const double to = static_cast<double>(DaysFromCivil(2026, 1, 1));
    std::vector<TimelineRow> rows(3);
    rows[0] = {"Sat 90° Sol", true, true, from + 40, from + 200, {from + 60, from + 130, from + 180},
               Qt::red};
    rows[1] = {"Jup 0° Lun", false, true, 0, from + 30, {from + 10}, Qt::blue}; // in orb when the year began
    rows[2] = {"Mar entra en Leo", false, false, 0, 0, {from + 300}, Qt::darkGray};
    const TimelineLayout layout;
    const QRect area(0, 0, 800, TimelineHeight(3, layout));
    QImage picture(area.size(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        DrawTimeline(painter, area, rows, from, to, 0, 3, layout);
    }
    const auto at = [&](double t, int row) {
        const int x = static_cast<int>(TimelineX(area, t, from, to, layout));
        const int y = layout.axisHeight + row * layout.rowHeight + layout.rowHeight / 2;
        return QColor(picture.pixel(x, y));
    };
    const auto white = [](const QColor &c) { return c.red() > 235 && c.green() > 235 && c.blue() > 235; };
    // Inside the orb the bar, outside the row's ground; at each exact time the dark mark.
    EXPECT_FALSE(white(at(from + 100, 0)));
    EXPECT_GT(at(from + 100, 0).red(), at(from + 100, 0).blue());
    EXPECT_GT(at(from + 100, 0).green(), 100); // a light bar
    EXPECT_TRUE(white(at(from + 20, 0)));
    EXPECT_TRUE(white(at(from + 230, 0)));
    for (double exact : rows[0].exact)
        EXPECT_LT(at(exact, 0).green(), 60) << exact - from; // a dark mark
    // An orb entered before the period starts at its left edge; a row without an orb has only its mark.
    EXPECT_FALSE(white(at(from + 2, 1)));
    EXPECT_GT(at(from + 20, 1).blue(), at(from + 20, 1).red());
    EXPECT_FALSE(white(at(from + 300, 2)));
    const QColor beside = at(from + 250, 2);
    EXPECT_EQ(beside.red(), beside.blue()); // the ground only: no bar
    // Months along the axis for a year: twelve light lines through the rows.
    const int rowTop = layout.axisHeight + 2 * layout.rowHeight + 1;
    int lines = 0;
    for (int x = layout.labelWidth; x < area.width(); ++x)
        lines += !white(QColor(picture.pixel(x, rowTop))) && white(QColor(picture.pixel(x - 1, rowTop)));
    EXPECT_GE(lines, 11);
    EXPECT_LE(lines, 13);
}

TEST(Timeline, TheAxisAndTheLabelsStayInsideTheirRect) {
    testing::EnsureApp();
    // A ten-year period whose end, 1 January 2030, is marked at the right edge of the rect; the image
    // is wider than the rect, so anything written past its edge shows.
    const double from = static_cast<double>(DaysFromCivil(2020, 1, 1));
    const double to = static_cast<double>(DaysFromCivil(2030, 1, 1));
    std::vector<TimelineRow> rows(2);
    rows[0] = {"DP Conv. Asc 135° Mercurio", true, true, from + 400, from + 900, {from + 600}, Qt::red};
    rows[1] = {"Sat entra en casa 12 (asc.)", false, false, 0, 0, {from + 2000}, Qt::darkGray};
    const TimelineLayout layout = FitLabels({}, rows, QFont(), 400);
    const QFontMetrics metrics(TimelineFont(QFont(), layout.rowHeight));
    for (const TimelineRow &row : rows)
        EXPECT_LE(metrics.horizontalAdvance(row.label), layout.labelWidth - 6) << row.label.toStdString();
    EXPECT_EQ(FitLabels({}, rows, QFont(), 70).labelWidth, 70); // never wider than allowed

    const QRect area(0, 0, 700, TimelineHeight(2, layout));
    QImage picture(area.width() + 80, area.height(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        DrawTimeline(painter, area, rows, from, to, 0, 2, layout);
    }
    for (int x = area.right() + 1; x < picture.width(); ++x)
        for (int y = 0; y < picture.height(); ++y)
            ASSERT_EQ(QColor(picture.pixel(x, y)), QColor(Qt::white)) << x << "," << y;
    // The first and the last year are labelled: dark text pixels over the axis at both ends.
    const auto inked = [&](int x0, int x1) {
        for (int x = x0; x < x1; ++x)
            for (int y = 0; y < layout.axisHeight - 8; ++y)
                if (QColor(picture.pixel(x, y)).lightness() < 100)
                    return true;
        return false;
    };
    const int left = static_cast<int>(TimelineX(area, from, from, to, layout));
    EXPECT_TRUE(inked(left, left + 30));
    EXPECT_TRUE(inked(area.right() - 40, area.right() + 1));
}

} // namespace
} // namespace cel::graphics
