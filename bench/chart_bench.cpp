// Chart computation speed: one chart, a full recomputation (natal and event charts plus the progression
// set), and the whole solar return search.
#include <benchmark/benchmark.h>

#include "chart/chart.h"

namespace {

using namespace cel;
using namespace cel::chart;

const PlacePosition kCali{-5, 76.5225L, 3.43722L};
const PlacePosition kParis{1, -2.35L, 48.85L};

ChartContext Context() {
    return ChartContext{};
}

void BM_ComputeChart(benchmark::State &state) {
    ChartContext context = Context();
    TDato record;
    record.placeId = 1;
    TDataAstro chart;
    ComputeChartFor(context, record, kCali, chart, EncodeDate(1979, 10, 17) + 12.5 / 24);
    for (auto _ : state) {
        ComputeChart(context, record, chart);
        benchmark::DoNotOptimize(chart.bodies[12].longitude);
    }
}
BENCHMARK(BM_ComputeChart)->Unit(benchmark::kMicrosecond);

void BM_ComputeProgressions(benchmark::State &state) {
    ChartContext context = Context();
    TDato natalRecord, eventRecord;
    natalRecord.placeId = 1;
    eventRecord.placeId = 2;
    TDataAstro natal, event;
    TDataProg prog;
    ComputeChartFor(context, natalRecord, kCali, natal, EncodeDate(1979, 10, 17) + 12.5 / 24);
    ComputeChartFor(context, eventRecord, kParis, event, EncodeDate(2024, 5, 3) + 0.25);
    for (auto _ : state) {
        ComputeProgressions(natal, event, prog, context.options);
        benchmark::DoNotOptimize(prog.items[9].bodies[1].position);
    }
}
BENCHMARK(BM_ComputeProgressions)->Unit(benchmark::kMicrosecond);

// What the workspace does after every change: both charts, then the progression set.
void BM_FullRecomputation(benchmark::State &state) {
    ChartContext context = Context();
    TDato natalRecord, eventRecord;
    natalRecord.placeId = 1;
    eventRecord.placeId = 2;
    TDataAstro natal, event;
    TDataProg prog;
    for (auto _ : state) {
        ComputeChartFor(context, natalRecord, kCali, natal, EncodeDate(1979, 10, 17) + 12.5 / 24);
        ComputeChartFor(context, eventRecord, kParis, event, EncodeDate(2024, 5, 3) + 0.25);
        ComputeProgressions(natal, event, prog, context.options);
        benchmark::DoNotOptimize(prog.items[9].bodies[1].position);
    }
}
BENCHMARK(BM_FullRecomputation)->Unit(benchmark::kMicrosecond);

void BM_SolarReturnSearch(benchmark::State &state) {
    ChartContext context = Context();
    TDato natalRecord, eventRecord;
    natalRecord.placeId = 1;
    eventRecord.placeId = 1;
    TDataAstro natal, event;
    ComputeChartFor(context, natalRecord, kCali, natal, EncodeDate(1979, 10, 17) + 12.5 / 24);
    ComputeChartFor(context, eventRecord, kCali, event, EncodeDate(2024, 10, 15));
    SolarReturnOptions options;
    options.year = 2024;
    long evaluations = 0;
    for (auto _ : state) {
        SolarReturnSearch search;
        const SolarReturnResult r = search.Run(context, natal, eventRecord, event, options);
        evaluations = r.evaluations;
        benchmark::DoNotOptimize(r.found);
    }
    state.counters["evaluations"] = static_cast<double>(evaluations);
}
BENCHMARK(BM_SolarReturnSearch)->Unit(benchmark::kMillisecond);

} // namespace
