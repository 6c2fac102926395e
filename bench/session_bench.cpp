// One date step of the main window showing a single wheel: both charts recomputed, the progression
// set and the aspect lists (the wheel repaint is measured with the graphics benchmarks).
#include <benchmark/benchmark.h>

#include "session/date_entry.h"
#include "session/workspace.h"

namespace {

using namespace cel;

void BM_DateStep(benchmark::State &state) {
    session::Workspace w;
    w.settings.InstallFirstRunValues();
    w.ApplySettings();
    const chart::PlacePosition cali{-5, 76.5225L, 3.43722L};
    w.ComputeChart(session::ChartSide::Natal, EncodeDate(1979, 10, 17) + 12.5 / 24, cali);
    w.ComputeChart(session::ChartSide::Event, EncodeDate(2024, 10, 17) + 8.0 / 24, cali);
    w.choices.innerItem = static_cast<std::uint8_t>(state.range(0));
    w.choices.computeDispositors = true;
    w.choices.pointSelection.fill(true);
    w.choices.angleSelection.fill(true);
    w.choices.aspectFamilies.fill(true);
    TDateTime value = w.eventRecord.localDateTime;
    for (auto _ : state) {
        value = session::StepDateTime(value, session::StepUnit::Day, 1);
        w.ComputeChart(session::ChartSide::Natal, w.natalRecord.localDateTime, cali);
        w.ComputeChart(session::ChartSide::Event, value, cali);
        w.Recompute();
        benchmark::DoNotOptimize(w.aspects.eclipticBodies.size());
    }
}
// Inner item 1 (the natal lists only) and 3 (the transit item with itself as well).
BENCHMARK(BM_DateStep)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

} // namespace
