#include <gtest/gtest.h>

#include <vector>

#include "astronomy/tables/series_tables.h"
#include "astronomy/time_scales.h"

using namespace cel::astronomy;

namespace {

std::vector<int> Counts(const SeriesBlock &block) {
    return {block.counts, block.counts + block.powers};
}

} // namespace

TEST(Tables, VsopTermCountsPerPower) {
    struct Case {
        const char *name;
        const VsopBody &body;
        std::vector<int> l, b, r;
    };
    const Case cases[] = {
        {"Earth", ConstEarth, {559, 341, 142, 22, 11, 5}, {184, 99, 49, 11, 5}, {526, 292, 139, 27, 10, 3}},
        {"Mercury",
         ConstMercury,
         {1380, 839, 395, 153, 28, 13},
         {818, 494, 230, 53, 15, 10},
         {1215, 711, 326, 119, 18, 10}},
        {"Venus", ConstVenus, {367, 215, 70, 9, 5, 5}, {210, 133, 59, 15, 5, 4}, {330, 180, 63, 7, 3, 2}},
        {"Mars",
         ConsMars,
         {1217, 686, 310, 129, 36, 15},
         {441, 287, 130, 41, 11, 5},
         {1118, 596, 313, 111, 28, 9}},
        {"Jupiter",
         ConstJupiter,
         {760, 369, 191, 109, 45, 10},
         {249, 141, 81, 42, 12, 5},
         {745, 381, 190, 98, 46, 9}},
        {"Saturn",
         ConstSaturn,
         {1152, 642, 321, 148, 68, 27},
         {500, 260, 111, 58, 26, 11},
         {1205, 639, 342, 157, 64, 28}},
        {"Uranus", ConstUrano, {947, 426, 151, 46, 7, 1}, {283, 154, 60, 16, 2}, {1124, 514, 192, 55, 11}},
        {"Neptune", ConstNeptune, {423, 183, 57, 15, 2, 1}, {172, 82, 25, 9, 1}, {607, 250, 72, 22, 7}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Counts(c.body.l), c.l);
        EXPECT_EQ(Counts(c.body.b), c.b);
        EXPECT_EQ(Counts(c.body.r), c.r);
    }
}

TEST(Tables, VsopTellingRows) {
    struct Row {
        const SeriesTerm &term;
        double a, b, c;
    };
    const SeriesTerm *earthL1 = ConstEarth.l.terms + 559;
    const SeriesTerm *mercuryL1 = ConstMercury.l.terms + 1380;
    const Row rows[] = {
        {ConstEarth.l.terms[0], 1.75347045673, 0, 0},
        {ConstEarth.l.terms[1], 0.03341656456, 4.66925680417, 6283.0758499914},
        {earthL1[0], 6283.31966747491, 0, 0},
        {ConstEarth.r.terms[0], 1.00013988799, 0, 0},
        {ConstMercury.l.terms[0], 4.40250710144, 0, 0},
        {mercuryL1[0], 26088.14706222746, 0, 0},
        // The J2000.0 Earth used for Pluto replaces the first L1 term.
        {ConstEarthJ2000.l.terms[0], 6283.07584999, 0, 0},
        {ConstEarthJ2000.l.terms[1], 8.722e-5, 1.0725, 6283.0758},
    };
    for (const Row &r : rows) {
        EXPECT_EQ(r.term.a, r.a);
        EXPECT_EQ(r.term.b, r.b);
        EXPECT_EQ(r.term.c, r.c);
    }
    EXPECT_EQ(Counts(ConstEarthJ2000.l), (std::vector<int>{0, 1, 20, 7, 2}));
    EXPECT_EQ(Counts(ConstEarthJ2000.b), (std::vector<int>{0, 7, 4, 3, 2}));
}

TEST(Tables, MoonRows) {
    auto same = [](const MoonTerm &t, MoonTerm e) {
        return t.d == e.d && t.m == e.m && t.mp == e.mp && t.f == e.f && t.coefficient == e.coefficient;
    };
    EXPECT_TRUE(same(ConstMoon.longitude[0], {0, 0, 1, 0, 6288774}));
    EXPECT_TRUE(same(ConstMoon.distance[0], {0, 0, 1, 0, -20905355}));
    EXPECT_TRUE(same(ConstMoon.distance[45], {2, 0, -1, -2, 8752}));
    EXPECT_TRUE(same(ConstMoon.latitude[0], {0, 0, 0, 1, 5128122}));
    EXPECT_TRUE(same(ConstMoon.latitude[59], {2, -2, 0, 1, 107}));
    bool found = false;
    for (const MoonTerm &t : ConstMoon.distance)
        found |= same(t, {2, -1, -2, 0, 10056});
    EXPECT_TRUE(found);
    // The one row without a longitude term is absent from the longitude table only.
    for (const MoonTerm &t : ConstMoon.longitude) {
        EXPECT_NE(t.coefficient, 0);
        EXPECT_FALSE(t.d == 2 && t.m == 0 && t.mp == -1 && t.f == -2);
    }
}

TEST(Tables, PlutoRows) {
    EXPECT_EQ(ConstPlutoII.frequency[0], 6.45003954767e-5);
    EXPECT_EQ(ConstPlutoII.frequency[1], 1.083248054773e-4);
    EXPECT_EQ(ConstPlutoII.frequency[105], 0.0279624510118796);
    EXPECT_EQ(ConstPlutoII.polynomial[0][0], 98083308510.0);
    EXPECT_EQ(ConstPlutoII.polynomial[0][1], -1465718392.0);
    EXPECT_EQ(ConstPlutoII.polynomial[0][2], 11528487809.0);
    EXPECT_EQ(ConstPlutoII.polynomial[0][3], 55397965917.0);
    EXPECT_EQ(ConstPlutoII.cosine[0][0], -16338582222.0);
    EXPECT_EQ(ConstPlutoII.sine[0][0], -308294137468.0);
}

TEST(Tables, DeltaTLayout) {
    EXPECT_EQ(ConstDeltaT[0], 42.2272);   // 1972 January
    EXPECT_EQ(ConstDeltaT[347], 64.0449); // 2000 December
    EXPECT_EQ(ConstDeltaT[348], 64.01);   // 2001 first quarter
    EXPECT_EQ(ConstDeltaT[359], 67.0);    // 2003 last quarter
    EXPECT_EQ(ConstDeltaT[360], 67.0);    // 2004
    EXPECT_EQ(ConstDeltaT[368], 75.0);    // 2012
    EXPECT_EQ(kDeltaTMeasuredFirstYear, 2013);
    EXPECT_EQ(ConstDeltaTMeasured[0], 66.9069); // 2013 January 1
    EXPECT_EQ(ConstDeltaTMeasured[7], 69.3612); // 2020 January 1
}
