#include <gtest/gtest.h>

#include <cmath>

#include "astronomy/angles.h"
#include "chart/chart.h"

namespace cel::chart {
namespace {

using astronomy::Norm360;

// Bogotá-like place: 74.0833 W, 4.6 N, zone -5.
const PlacePosition kPlace{-5, 74.0833L, 4.6L};
ChartContext PlaceContext() {
    return ChartContext{};
}

struct Charts {
    ChartContext context = PlaceContext();
    TDato natalRecord;
    TDato eventRecord;
    TDataAstro natal;
    TDataAstro event;
    TDataProg prog;

    Charts() {
        natalRecord.placeId = 1;
        eventRecord.placeId = 1;
        ComputeChartFor(context, natalRecord, kPlace, natal, EncodeDate(1979, 10, 17) + 12.5 / 24);
    }
    // The event at age days after the natal instant (both TT).
    void EventAt(Real ageDays) {
        eventRecord.gmtFlag = 1;
        eventRecord.deltaTFlag = 0;
        ComputeChartFor(context, eventRecord, kPlace, event, ShiftDateTime(natal.instant, ageDays));
        ComputeProgressions(natal, event, prog, context.options);
    }
};

double Circle(Real a, Real b) {
    Real d = std::fabs(std::fmod(a - b, 360.0L));
    return static_cast<double>(d > 180 ? 360 - d : d);
}

TEST(Progressions, BodyFromObliqueAscensionInvertsTheMundaneValue) {
    EXPECT_NEAR(static_cast<double>(BodyFromObliqueAscension(30, 23.44L, 86.648L, "AO")), 100.0, 1e-3);
    EXPECT_NEAR(static_cast<double>(BodyFromObliqueAscension(30, 23.44L, 115.109L, "DO")), 100.0, 1e-3);
    // sin X = 0 has a defined answer.
    EXPECT_TRUE(std::isfinite(static_cast<double>(BodyFromObliqueAscension(0, 23.44L, 180, "AO"))));
}

TEST(Progressions, AgeZero) {
    Charts c;
    c.EventAt(0);
    const TDataProg &p = c.prog;
    EXPECT_NEAR(static_cast<double>(p.age), 0, 1e-9);
    EXPECT_NEAR(static_cast<double>(p.primaryArc), 0, 1e-9);
    EXPECT_DOUBLE_EQ(p.progressedInstant, c.natal.instant);
    EXPECT_NEAR(static_cast<double>(p.solarArc), 360, 1e-9);
    EXPECT_EQ(p.proLunaArc, 0);
    EXPECT_NEAR(static_cast<double>(p.progressedArmc), static_cast<double>(c.natal.armc), 1e-9);
    for (int n = 1; n <= kBodyCount; ++n) {
        const Real natal = c.natal.bodies[n].longitude;
        // Bodies without latitude come back to their natal longitude.
        if (std::fabs(c.natal.bodies[n].latitude) < 1e-6) {
            EXPECT_LT(Circle(p.items[kPrimaryDirect].bodies[n].position, natal), 1e-8) << n;
            EXPECT_LT(Circle(p.items[kPrimaryConverse].bodies[n].position, natal), 1e-8) << n;
        }
        EXPECT_LT(Circle(p.items[kSolarArc].bodies[n].position, natal), 1e-9) << n;
        EXPECT_LT(Circle(p.items[kProLuna].bodies[n].position, natal), 1e-9) << n;
        EXPECT_EQ(p.items[kPrimaryDirect].bodies[n].retrograde, 0);
        EXPECT_EQ(p.items[kSolarArc].bodies[n].retrograde, p.items[kSecondary].bodies[n].retrograde);
        EXPECT_EQ(p.items[kProLuna].bodies[n].retrograde, p.items[kSecondary].bodies[n].retrograde);
    }
    // Secondary directions at age 0 are the natal chart (apart from ARMC-derived cusps that match too).
    EXPECT_LT(Circle(p.items[kSecondary].bodies[2].position, c.natal.bodies[2].longitude), 1e-9);
    // Directed cusps without the polar rule at this latitude equal the natal cusps.
    for (int h = 1; h <= 12; ++h) {
        EXPECT_NEAR(p.items[kPrimaryDirect].cusps[h].cusp, c.natal.eclipticCusps[h].cusp, 1e-3) << h;
        EXPECT_NEAR(p.items[kSecondary].cusps[h].cusp, c.natal.eclipticCusps[h].cusp, 1e-3) << h;
    }
}

TEST(Progressions, CopiedItemsAndDmoItems) {
    Charts c;
    c.EventAt(1000);
    const TDataProg &p = c.prog;
    for (int n = 1; n <= kBodyCount; ++n) {
        EXPECT_EQ(p.items[kNatalEcliptic].bodies[n].position, c.natal.bodies[n].longitude);
        EXPECT_EQ(p.items[kNatalAscensional].bodies[n].position, c.natal.bodies[n].aoDo);
        EXPECT_EQ(p.items[kNatalAscensional].bodies[n].house, c.natal.bodies[n].houseAscensional);
        EXPECT_EQ(p.items[kEventEcliptic].bodies[n].ruledHouses, c.event.bodies[n].ruledHousesEcliptic);
        EXPECT_EQ(p.items[kNatalDmo].bodies[n].position, c.natal.bodies[n].dmo);
        EXPECT_EQ(p.items[kNatalDmo].bodies[n].sign, c.natal.bodies[n].quadrant);
        EXPECT_EQ(p.items[kEventDmo].bodies[n].position, c.event.bodies[n].dmo);
    }
    EXPECT_EQ(p.items[kNatalEcliptic].rotation, c.natal.eclipticRotation);
    EXPECT_EQ(p.items[kNatalAscensional].rotation, c.natal.ascensionalRotation);
    EXPECT_EQ(p.items[kNatalDmo].rotation, c.natal.ascensionalRotation);
    const RecDataProg &dmo = p.items[kNatalDmo];
    EXPECT_EQ(dmo.cusps[1].cusp, 90);
    EXPECT_EQ(dmo.cusps[1].sign, 1);
    EXPECT_EQ(dmo.cusps[10].cusp, 0);
    EXPECT_EQ(dmo.cusps[10].sign, 4);
    EXPECT_EQ(dmo.cusps[2].cusp, 60);
    EXPECT_EQ(dmo.cusps[3].cusp, 30);
    EXPECT_EQ(dmo.cusps[7].cusp, 90);
    EXPECT_EQ(dmo.cusps[6].sign, 2);
}

TEST(Progressions, OneTropicalYear) {
    Charts c;
    c.EventAt(kTropicalYear);
    EXPECT_NEAR(static_cast<double>(c.prog.primaryArc), 0.98564734, 1e-8);
    EXPECT_NEAR(c.prog.progressedInstant - c.natal.instant, 1.0, 1e-8);
    // Solar arc: the progressed Sun's advance in one day, about one degree.
    EXPECT_NEAR(static_cast<double>(c.prog.solarArc), 0.99, 0.03);
    for (int n = 1; n <= kBodyCount; ++n)
        EXPECT_NEAR(Circle(c.prog.items[kSolarArc].bodies[n].position, c.natal.bodies[n].longitude),
                    static_cast<double>(c.prog.solarArc), 1e-9);
    // The direct and converse primary directions move the Midheaven by the arc in both senses.
    const double mc = c.natal.eclipticCusps[10].cusp;
    EXPECT_GT(Circle(c.prog.items[kPrimaryDirect].cusps[10].cusp, mc), 0.9);
    EXPECT_NEAR(Circle(c.prog.items[kPrimaryDirect].cusps[10].cusp, mc),
                Circle(c.prog.items[kPrimaryConverse].cusps[10].cusp, mc), 0.01);
}

TEST(Progressions, ProLunaArc) {
    Charts c;
    const InfoCasas &cusps = c.natal.eclipticCusps;
    auto size = [&](int i) { return Circle(cusps[i % 12 + 1].cusp, cusps[i].cusp); };

    c.EventAt(10.5L * kTropicalYear);
    EXPECT_NEAR(static_cast<double>(c.prog.proLunaArc), size(1) + 0.5 * size(2), 1e-4);
    for (int n = 1; n <= kBodyCount; ++n)
        EXPECT_NEAR(Circle(c.prog.items[kProLuna].bodies[n].position, c.natal.bodies[n].longitude),
                    Circle(c.prog.proLunaArc, 0), 1e-6);

    // 84 years: back at the Ascendant.
    c.EventAt(84 * kTropicalYear);
    EXPECT_LT(Circle(c.prog.proLunaArc, 0), 1e-4);
    EXPECT_LT(Circle(c.prog.items[kProLuna].cusps[1].cusp, cusps[1].cusp), 1e-3);

    // Before birth the arc is 0 and the primary arcs change sense.
    c.EventAt(-400);
    EXPECT_EQ(c.prog.proLunaArc, 0);
    EXPECT_LT(c.prog.primaryArc, 0);
    EXPECT_LT(c.prog.progressedInstant, c.natal.instant);

    // A house crossing 0 degrees counts the short way.
    InfoCasas across{};
    for (int i = 1; i <= 12; ++i)
        across[i].cusp = static_cast<float>(std::fmod(340.0 + 30.0 * (i - 1), 360.0));
    EXPECT_NEAR(static_cast<double>(ProLunaArc(across, 7 * kTropicalYear * 0.5L)), 15.0, 1e-3);
    EXPECT_NEAR(static_cast<double>(ProLunaArc(across, 7 * kTropicalYear * 1.5L)), 45.0, 1e-3);
}

TEST(Progressions, NegativeTDateTimeAges) {
    // A birth before 1899-12-30: the age counts on the continuous time line.
    ChartContext context = PlaceContext();
    TDato natalRecord, eventRecord;
    natalRecord.placeId = eventRecord.placeId = 1;
    natalRecord.gmtFlag = eventRecord.gmtFlag = 1;
    natalRecord.deltaTFlag = eventRecord.deltaTFlag = 0;
    TDataAstro natal, event;
    ComputeChartFor(context, natalRecord, kPlace, natal, EncodeDate(1899, 12, 28) - 0.25); // 28th 06:00
    ComputeChartFor(context, eventRecord, kPlace, event, EncodeDate(1899, 12, 30) + 0.5);  // 30th 12:00
    TDataProg prog;
    ComputeProgressions(natal, event, prog, context.options);
    EXPECT_NEAR(static_cast<double>(prog.age), 2.25, 1e-6);
}

} // namespace
} // namespace cel::chart
