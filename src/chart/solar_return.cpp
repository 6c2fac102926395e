#include "chart/solar_return.h"

#include <cmath>

#include "astronomy/planets.h"
#include "astronomy/time_scales.h"

namespace cel::chart {

using namespace cel::astronomy;

namespace {

struct Pass {
    Real step; // days
    Real tolerance;
};
constexpr std::array<Pass, 7> kPasses = {{
    {1.0L, 2},
    {1.0L / 24, 0.1L},
    {1.0L / 1440, 0.01L},
    {10.0L / 86400, 0.001L},
    {0.5L / 86400, 0.0001L},
    {0.1L / 86400, 0.00001L},
    {0.001L / 86400, 0.0000001L},
}};
// No pass needs more than a few hundred steps once the Sun is reachable; this only ends a search whose
// target is not a number.
constexpr long kMaxStepsPerPass = 20000;

// Shortest distance on the circle, 0..180.
Real Distance(Real a, Real b) {
    Real d = std::fabs(std::fmod(a - b, 360.0L));
    return d > 180 ? 360 - d : d;
}

// +1 when target lies ahead of current by the shorter way round.
int Direction(Real target, Real current) {
    Real ahead = std::fmod(target - current, 360.0L);
    if (ahead < 0)
        ahead += 360;
    return ahead <= 180 ? 1 : -1;
}

} // namespace

Real SolarLongitude(const TDataAstro &chart, SunKind kind) {
    return kind == SunKind::Apparent ? chart.bodies[1].longitude : chart.sunTrueLongitude;
}

TDateTime SolarReturnStart(TDateTime natalInstant, int year) {
    const CivilDateTime natal = DecodeDateTime(natalInstant);
    int day = natal.day;
    if (natal.month == 2 && day == 29 && !IsLeapYear(year))
        day = 28;
    return ShiftDateTime(EncodeDate(year, natal.month, day), -2);
}

TDateTime SolarReturnSearch::Apply(ChartContext &context, TDateTime instant, TDato &eventRecord,
                                   TDataAstro &eventChart, bool equationOfTime) {
    TDateTime value = instant;
    if (eventRecord.deltaTFlag == 1)
        value = ShiftDateTime(value, -DeltaT(value) / 86400);
    if (eventRecord.gmtFlag == 0)
        value = ShiftDateTime(value, eventRecord.zone / 24);
    if (equationOfTime)
        value = ShiftDateTime(value, -eventChart.equationOfTime);
    ComputeChartFor(context, eventRecord, PlaceOf(eventRecord), eventChart, value);
    return value;
}

SolarReturnResult SolarReturnSearch::Run(ChartContext &context, const TDataAstro &natal, TDato &eventRecord,
                                         TDataAstro &eventChart, const SolarReturnOptions &options) {
    stop_ = false;
    SolarReturnResult result;
    result.target = SolarLongitude(natal, options.natalSun);
    SolarReturnProgress progress;
    progress.target = result.target;
    progress.current = SolarLongitude(eventChart, options.eventSun);
    TDateTime instant = SolarReturnStart(natal.instant, options.year);

    auto sunAt = [&](TDateTime t) {
        if (stop_)
            return progress.current;
        const SunResult sun = SunPosition(InstantToJulianDay(t));
        ++result.evaluations;
        progress.instant = t;
        progress.current =
            options.eventSun == SunKind::Apparent ? sun.longitude : sun.trueLongitudePlusNutation;
        progress.difference = progress.current - progress.target;
        progress.evaluations = result.evaluations;
        if (options.onEvaluation && !options.onEvaluation(progress))
            stop_ = true;
        return progress.current;
    };

    result.converged = std::isfinite(progress.target);
    for (std::size_t p = 0; p < kPasses.size() && !stop_ && result.converged; ++p) {
        progress.pass = static_cast<int>(p) + 1;
        long steps = 0;
        Real distance = 0;
        do {
            instant = ShiftDateTime(instant, Direction(progress.target, progress.current) * kPasses[p].step);
            distance = Distance(progress.target, sunAt(instant));
        } while (!(distance < kPasses[p].tolerance) && !stop_ && ++steps < kMaxStepsPerPass);
        if (!(distance < kPasses[p].tolerance)) {
            result.converged = false;
            break;
        }
    }
    result.stopped = stop_;
    result.found = instant;

    for (int i = 0; i < 3; ++i) {
        result.applied = Apply(context, instant, eventRecord, eventChart, options.equationOfTime);
        if (options.onApplied)
            options.onApplied(eventRecord, eventChart);
    }
    result.current = SolarLongitude(eventChart, options.eventSun);
    return result;
}

} // namespace cel::chart
