#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "graphics/label_layout.h"

namespace cel::graphics {
namespace {

using Angles = std::array<LayoutReal, kBodyCount>;

// The signed difference b - a on the circle, in -180..180.
LayoutReal Turn(LayoutReal a, LayoutReal b) {
    LayoutReal d = std::fmod(b - a, 360.0L);
    if (d > 180)
        d -= 360;
    if (d < -180)
        d += 360;
    return d;
}

// On every row, the glyphs in the order of their bodies, neighbours at least the separation apart; every
// glyph within the reported largest shift of its body.
::testing::AssertionResult RowsHold(const Angles &bodies, const RowLayout &layout, LayoutReal separation) {
    for (int i = 0; i < kBodyCount; ++i) {
        const LayoutReal shift = std::fabs(Turn(bodies[i], layout.angles[i]));
        if (shift > layout.largestShift + 1e-9)
            return ::testing::AssertionFailure() << "body " << i + 1 << " moved " << shift;
    }
    for (int row = 0; row < layout.rowsUsed; ++row) {
        std::vector<int> members;
        for (int i = 0; i < kBodyCount; ++i)
            if (layout.rows[i] == row)
                members.push_back(i);
        for (int a : members)
            for (int b : members) {
                if (a == b)
                    continue;
                const LayoutReal placed = Turn(layout.angles[a], layout.angles[b]);
                if (std::fabs(placed) < separation - 1e-6)
                    return ::testing::AssertionFailure() << "row " << row << ": bodies " << a + 1 << " and "
                                                         << b + 1 << " " << placed << " apart";
                const LayoutReal given = Turn(bodies[a], bodies[b]);
                if (std::fabs(given) < 90 && given * placed < 0)
                    return ::testing::AssertionFailure()
                           << "row " << row << ": bodies " << a + 1 << " and " << b + 1 << " change order";
            }
    }
    return ::testing::AssertionSuccess();
}

Angles Scattered() {
    Angles a{};
    for (int i = 0; i < kBodyCount; ++i)
        a[i] = 7 + 30 * i;
    return a;
}

// `count` bodies within a few degrees of `centre`, the rest scattered clear of them.
Angles Cluster(LayoutReal centre, int count, LayoutReal width) {
    Angles a = Scattered();
    for (int i = 0; i < kBodyCount; ++i)
        a[i] = std::fmod(centre + 90 + 22 * i + 360, 360.0L); // away from the cluster
    for (int i = 0; i < count; ++i)
        a[i] = std::fmod(centre - width / 2 + width * i / std::max(1, count - 1) + 360, 360.0L);
    return a;
}

TEST(LabelLayoutTest, CrowdingStepsInwardBeforeMovingAlongTheRing) {
    struct Case {
        const char *name;
        Angles bodies;
        int rows;
        LayoutReal separation;
        int rowsUsed;        // expected
        LayoutReal maxShift; // the largest shift stays at or under this
        LayoutReal minShift; // and at or over this
    };
    const Case cases[] = {
        {"scattered: one row, nobody moves", Scattered(), 3, 6, 1, 0, 0},
        {"a pair 2 degrees apart: one row, moved 2 each", Cluster(100, 2, 2), 3, 6, 1, 2, 2},
        {"six in 5 degrees, one row allowed: spread far", Cluster(200, 6, 5), 1, 6, 1, 16, 10},
        {"six in 5 degrees, three rows: two of them bring each within a few degrees", Cluster(200, 6, 5), 3,
         6, 2, 4, 0},
        {"four in 3 degrees across Aries 0: two rows", Cluster(0.5L, 4, 3), 3, 5, 2, 4, 0},
        {"twelve in 10 degrees: three rows", Cluster(300, 12, 10), 3, 4, 3, 4, 0},
        {"twelve in 4 degrees at a wide separation: the least shift three rows allow", Cluster(300, 12, 4), 3,
         8, 3, 16, 6},
        {"twelve in 4 degrees with a fourth row: three a row, shifts under what three rows allow",
         Cluster(300, 12, 4), 4, 8, 4, 12, 4},
        {"a request for more rows than there can be: four", Cluster(300, 12, 4), 9, 8, 4, 12, 4},
    };
    for (const Case &c : cases) {
        RowLayoutRequest request;
        request.angles = c.bodies;
        request.rows = c.rows;
        request.separation = [&](int, LayoutReal) { return c.separation; };
        const RowLayout layout = LayoutInRows(request);
        EXPECT_EQ(layout.rowsUsed, c.rowsUsed) << c.name;
        EXPECT_LE(layout.largestShift, c.maxShift + 1e-9) << c.name;
        EXPECT_GE(layout.largestShift, c.minShift - 1e-9) << c.name;
        EXPECT_TRUE(RowsHold(c.bodies, layout, c.separation)) << c.name;
    }
}

TEST(LabelLayoutTest, FurtherRowsMayNeedWiderSeparations) {
    // Inner rows are shorter rings: there the same glyphs need more degrees between them.
    const Angles bodies = Cluster(45, 6, 6);
    RowLayoutRequest request;
    request.angles = bodies;
    request.rows = 3;
    request.separation = [](int row, LayoutReal) { return 4.0L + 2 * row; };
    const RowLayout layout = LayoutInRows(request);
    EXPECT_GT(layout.rowsUsed, 1);
    for (int row = 0; row < layout.rowsUsed; ++row) {
        std::vector<LayoutReal> on;
        for (int i = 0; i < kBodyCount; ++i)
            if (layout.rows[i] == row)
                on.push_back(layout.angles[i]);
        for (std::size_t a = 0; a < on.size(); ++a)
            for (std::size_t b = a + 1; b < on.size(); ++b)
                EXPECT_GE(std::fabs(Turn(on[a], on[b])), 4.0L + 2 * row - 1e-6) << "row " << row;
    }
}

TEST(LabelLayoutTest, ABodyThatIsNotANumberStaysWhereItIs) {
    Angles bodies = Scattered();
    bodies[4] = std::numeric_limits<LayoutReal>::quiet_NaN();
    RowLayoutRequest request;
    request.angles = bodies;
    request.separation = [](int, LayoutReal) { return 4.0L; };
    const RowLayout layout = LayoutInRows(request);
    EXPECT_TRUE(std::isnan(layout.angles[4]));
    EXPECT_EQ(layout.angles[0], bodies[0]);
}

} // namespace
} // namespace cel::graphics
