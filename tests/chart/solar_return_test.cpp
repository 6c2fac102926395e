#include <gtest/gtest.h>

#include <cmath>

#include "astronomy/time_scales.h"
#include "chart/chart.h"

namespace cel::chart {
namespace {

double Circle(Real a, Real b) {
    Real d = std::fabs(std::fmod(a - b, 360.0L));
    return static_cast<double>(d > 180 ? 360 - d : d);
}

const PlacePosition kCali{-5, 76.53L, 3.45L};

struct ReturnFixture {
    ChartContext context;
    TDato natalRecord;
    TDato eventRecord;
    TDataAstro natal;
    TDataAstro event;

    explicit ReturnFixture(TDateTime natalGmt) {
        natalRecord.placeId = eventRecord.placeId = 1;
        natalRecord.gmtFlag = 1;
        ComputeChartFor(context, natalRecord, kCali, natal, natalGmt);
        eventRecord.gmtFlag = 0;
        ComputeChartFor(context, eventRecord, kCali, event, natalRecord.localDateTime);
    }
};

TEST(SolarReturn, StartsTwoDaysBeforeTheBirthday) {
    const TDateTime natal = EncodeDate(1979, 10, 17) + 0.3;
    EXPECT_DOUBLE_EQ(SolarReturnStart(natal, 2024), EncodeDate(2024, 10, 15));
    // 29 February in a year without it starts from 28 February.
    EXPECT_DOUBLE_EQ(SolarReturnStart(EncodeDate(2000, 2, 29), 2001), EncodeDate(2001, 2, 26));
    EXPECT_DOUBLE_EQ(SolarReturnStart(EncodeDate(2000, 2, 29), 2004), EncodeDate(2004, 2, 27));
    EXPECT_DOUBLE_EQ(SolarReturnStart(EncodeDate(1850, 3, 1), 1850), EncodeDate(1850, 2, 27));
}

TEST(SolarReturn, SunJustPastAriesIsFoundForwardWithinTheYear) {
    // 2000-03-20 20:00 GMT: the Sun about half a degree into Aries.
    ReturnFixture f(EncodeDate(2000, 3, 20) + 20.0 / 24);
    ASSERT_LT(f.natal.bodies[1].longitude, 1.0L);
    SolarReturnSearch search;
    SolarReturnOptions options;
    options.year = 2001;
    int applications = 0;
    options.onApplied = [&](const TDato &, const TDataAstro &) { ++applications; };
    const SolarReturnResult r = search.Run(f.context, f.natal, f.eventRecord, f.event, options);
    EXPECT_TRUE(r.converged);
    EXPECT_FALSE(r.stopped);
    EXPECT_EQ(applications, 3);
    const CivilDateTime found = DecodeDateTime(r.found);
    EXPECT_EQ(found.year, 2001);
    EXPECT_EQ(found.month, 3);
    EXPECT_NEAR(r.found, EncodeDate(2001, 3, 21) + 2.0 / 24, 0.5);
    // The event chart is the return chart: its Sun equals the natal Sun within 1e-6 degree.
    EXPECT_LT(Circle(f.event.bodies[1].longitude, f.natal.bodies[1].longitude), 1e-6);
    EXPECT_LT(Circle(r.current, r.target), 1e-6);
    // Local time applied: the found TT minus Delta T plus the zone.
    const Real deltaT = astronomy::DeltaT(r.found);
    EXPECT_NEAR(r.applied, r.found - deltaT / 86400 - 5.0 / 24, 2e-8);
    EXPECT_NEAR(f.event.instant, r.found, 2e-8);
    EXPECT_LT(r.evaluations, 3000);
}

TEST(SolarReturn, TrueSunAndGreenwichEvent) {
    ReturnFixture f(EncodeDate(1979, 10, 17) + 17.5 / 24);
    f.eventRecord.gmtFlag = 1;
    SolarReturnSearch search;
    SolarReturnOptions options;
    options.year = 2025;
    options.natalSun = SunKind::True;
    options.eventSun = SunKind::True;
    const SolarReturnResult r = search.Run(f.context, f.natal, f.eventRecord, f.event, options);
    EXPECT_TRUE(r.converged);
    EXPECT_LT(Circle(f.event.sunTrueLongitude, f.natal.sunTrueLongitude), 1e-6);
    EXPECT_NEAR(r.applied, r.found - astronomy::DeltaT(r.found) / 86400, 2e-8);
    EXPECT_EQ(DecodeDateTime(r.found).month, 10);
}

TEST(SolarReturn, StopDuringTheSearchAppliesTheInstantReached) {
    ReturnFixture f(EncodeDate(1979, 10, 17) + 17.5 / 24);
    SolarReturnSearch full;
    SolarReturnOptions options;
    options.year = 2020;
    const SolarReturnResult complete = full.Run(f.context, f.natal, f.eventRecord, f.event, options);

    ReturnFixture g(EncodeDate(1979, 10, 17) + 17.5 / 24);
    SolarReturnSearch search;
    long afterStop = 0;
    options.onEvaluation = [&](const SolarReturnProgress &p) {
        if (search.stopRequested())
            ++afterStop;
        return p.pass < 3; // stop at the first evaluation of pass 3
    };
    const SolarReturnResult r = search.Run(g.context, g.natal, g.eventRecord, g.event, options);
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(afterStop, 0);
    EXPECT_LT(r.evaluations, complete.evaluations);
    EXPECT_NEAR(r.found, complete.found, 0.15); // within the 0.1 degree of pass 2
    EXPECT_GT(Circle(r.current, r.target), 1e-6);
    EXPECT_NEAR(g.event.instant, r.found, 2e-8); // the instant reached still becomes the event
}

TEST(SolarReturn, EquationOfTimeComesFromTheReturnChart) {
    ReturnFixture f(EncodeDate(1979, 10, 17) + 17.5 / 24);
    SolarReturnSearch search;
    SolarReturnOptions options;
    options.year = 2020;
    const SolarReturnResult plain = search.Run(f.context, f.natal, f.eventRecord, f.event, options);
    options.equationOfTime = true;
    const SolarReturnResult et = search.Run(f.context, f.natal, f.eventRecord, f.event, options);
    EXPECT_NEAR(plain.found, et.found, 1e-9);
    // The shown time is the civil time found minus the equation of time of the return chart.
    EXPECT_NEAR(et.applied, plain.applied - f.event.equationOfTime, 2e-8);
    EXPECT_GT(std::fabs(f.event.equationOfTime), 0.005); // mid October: about 14 minutes
}

TEST(SolarReturn, LeapDayBirthInACommonYear) {
    ReturnFixture f(EncodeDate(2000, 2, 29) + 0.5);
    SolarReturnSearch search;
    SolarReturnOptions options;
    options.year = 2001;
    const SolarReturnResult r = search.Run(f.context, f.natal, f.eventRecord, f.event, options);
    EXPECT_TRUE(r.converged);
    EXPECT_LT(Circle(r.current, r.target), 1e-6);
    const CivilDateTime found = DecodeDateTime(r.found);
    EXPECT_EQ(found.year, 2001);
    EXPECT_EQ(found.month, 2);
    EXPECT_GE(found.day, 27);
}

TEST(SolarReturn, TargetThatIsNotANumberEnds) {
    ReturnFixture f(EncodeDate(2000, 6, 1));
    f.natal.bodies[1].longitude = std::nanl("");
    SolarReturnSearch search;
    SolarReturnOptions options;
    options.year = 2001;
    const SolarReturnResult r = search.Run(f.context, f.natal, f.eventRecord, f.event, options);
    EXPECT_FALSE(r.converged);
}

} // namespace
} // namespace cel::chart
