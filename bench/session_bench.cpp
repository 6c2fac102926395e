// One date step of the main window showing a single wheel: both charts recomputed, the progression
// set and the aspect lists (the wheel repaint is measured with the graphics benchmarks).
#include <benchmark/benchmark.h>

#include "example_workspace.h"
#include "session/date_entry.h"
#include "session/workspace.h"

namespace {

using namespace cel;

void BM_DateStep(benchmark::State &state) {
    session::Workspace w;
    bench::SetUpExampleCharts(w, EncodeDate(2024, 10, 17) + 8.0 / 24, false);
    w.choices.innerItem = static_cast<std::uint8_t>(state.range(0));
    w.choices.computeDispositors = true;
    TDateTime value = w.eventRecord.localDateTime;
    for (auto _ : state) {
        value = session::StepDateTime(value, session::StepUnit::Day, 1);
        w.ComputeChart(session::ChartSide::Natal, w.natalRecord.localDateTime, bench::kCali);
        w.ComputeChart(session::ChartSide::Event, value, bench::kCali);
        w.Recompute();
        benchmark::DoNotOptimize(w.aspects.eclipticBodies.size());
    }
}
// Inner item 1 (the natal lists only) and 3 (the transit item with itself as well).
BENCHMARK(BM_DateStep)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

} // namespace
