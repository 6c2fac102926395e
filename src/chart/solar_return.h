// Solar return search: the instant of a year at which the Sun comes back to its natal longitude, made
// the event of the workspace. No user interface: a callback after every evaluation lets a window process
// its events, show progress and stop the search.
#pragma once

#include <functional>

#include "chart/pipeline.h"
#include "chart/records.h"

namespace cel::chart {

// "Sol Aparente" (body 1) or "Sol Verdadero" (true longitude plus nutation).
enum class SunKind { Apparent, True };

Real SolarLongitude(const TDataAstro &chart, SunKind kind);

// Where the search starts: the natal month and day in year at 00:00 minus 2 days. A natal 29 February
// starts from 28 February in a year without that day.
TDateTime SolarReturnStart(TDateTime natalInstant, int year);

struct SolarReturnProgress {
    int pass = 0;          // 1..7
    TDateTime instant = 0; // TT
    Real target = 0;       // natal solar longitude
    Real current = 0;      // solar longitude at the instant
    Real difference = 0;   // current - target
    long evaluations = 0;
};

struct SolarReturnOptions {
    int year = 2000;
    SunKind natalSun = SunKind::Apparent;
    SunKind eventSun = SunKind::Apparent;
    bool equationOfTime = false; // "ET": subtract the return chart's equation of time
    // After every evaluation; return false to stop the search.
    std::function<bool(const SolarReturnProgress &)> onEvaluation;
    // After each of the three applications of the found instant to the event chart.
    std::function<void(const TDato &, const TDataAstro &)> onApplied;
};

struct SolarReturnResult {
    TDateTime found = 0;   // instant reached (TT)
    TDateTime applied = 0; // the event value as last applied (local or GMT as the event's flag says)
    Real target = 0;
    Real current = 0; // the event chart's solar longitude after the last application
    bool stopped = false;
    bool converged = false; // every pass reached its tolerance
    long evaluations = 0;
};

class SolarReturnSearch {
public:
    // Runs the seven passes from the start of the year, then applies the instant reached to the event
    // three times (the equation of time then comes from the return chart itself).
    SolarReturnResult Run(ChartContext &context, const TDataAstro &natal, TDato &eventRecord,
                          TDataAstro &eventChart, const SolarReturnOptions &options);

    // Applies an instant (TT) to the event once: Delta T, zone and, with "ET", the equation of time.
    // Returns the value given to ComputeChartFor.
    static TDateTime Apply(ChartContext &context, TDateTime instant, TDato &eventRecord,
                           TDataAstro &eventChart, bool equationOfTime);

    // Stops a running search (from the callback or from code the callback runs); the remaining passes
    // end at once and the instant reached so far is applied.
    void RequestStop() { stop_ = true; }
    bool stopRequested() const { return stop_; }

private:
    bool stop_ = false;
};

} // namespace cel::chart
