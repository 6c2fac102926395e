// Searches over time: a year of transits of every moving body, a century of the slow bodies, and a
// century of progressions and directions; each run fills its own position cache.
#include <benchmark/benchmark.h>

#include "chart/chart.h"
#include "timing/search.h"

namespace {

using namespace cel;
using timing::Real;

chart::TDataAstro Natal() {
    chart::ChartContext context;
    chart::TDato record;
    record.gmtFlag = 1;
    record.longitude = 76.5225L;
    record.latitude = 3.43722L;
    record.gmtDateTime = EncodeDate(1979, 10, 17) + 17.5 / 24;
    chart::TDataAstro chart;
    chart::ComputeChart(context, record, chart);
    return chart;
}

timing::TimingOptions AllKinds(int fromYear, int years) {
    timing::TimingOptions options;
    options.from = static_cast<Real>(DaysFromCivil(fromYear, 1, 1));
    options.to = static_cast<Real>(DaysFromCivil(fromYear + years, 1, 1));
    options.aspects.clear();
    for (int k = 1; k <= 13; ++k)
        options.aspects.push_back(k);
    return options;
}

// One transit listing of the bodies with every kind, each run on a cache of its own.
void RunTransits(benchmark::State &state, timing::TimingOptions options, std::vector<int> bodies) {
    const chart::TDataAstro natal = Natal();
    options.bodies = std::move(bodies);
    std::size_t events = 0;
    for (auto _ : state) {
        timing::PositionCache cache;
        events = timing::FindTransits(natal, options, cache).size();
        benchmark::DoNotOptimize(events);
    }
    state.counters["events"] = static_cast<double>(events);
}

// 11 moving bodies x 14 natal points x 13 aspect kinds, with sign and house ingresses and stations.
void BM_TransitsOneYear(benchmark::State &state) {
    RunTransits(state, AllKinds(2025, 1), {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
}
BENCHMARK(BM_TransitsOneYear)->Unit(benchmark::kMillisecond);

// Jupiter to Pluto over a hundred years, everything listed.
void BM_SlowBodiesCentury(benchmark::State &state) {
    RunTransits(state, AllKinds(1980, 100), {6, 7, 8, 9, 10});
}
BENCHMARK(BM_SlowBodiesCentury)->Unit(benchmark::kMillisecond);

// The same search on a cache already filled (a second listing over the same years): the search alone.
void BM_SlowBodiesCenturyFilledCache(benchmark::State &state) {
    const chart::TDataAstro natal = Natal();
    timing::TimingOptions options = AllKinds(1980, 100);
    options.bodies = {6, 7, 8, 9, 10};
    timing::PositionCache cache;
    timing::FindTransits(natal, options, cache);
    for (auto _ : state)
        benchmark::DoNotOptimize(timing::FindTransits(natal, options, cache).size());
}
BENCHMARK(BM_SlowBodiesCenturyFilledCache)->Unit(benchmark::kMillisecond);

// Secondary progressions, solar arc and both primary directions over a hundred years.
void BM_ProgressionsDirectionsCentury(benchmark::State &state) {
    const chart::TDataAstro natal = Natal();
    timing::TimingOptions options = AllKinds(1980, 100);
    options.bodies = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    const std::vector<timing::Source> sources = {timing::Source::Secondary, timing::Source::SolarArc,
                                                 timing::Source::PrimaryDirect,
                                                 timing::Source::PrimaryConverse};
    std::size_t events = 0;
    for (auto _ : state) {
        timing::PositionCache cache;
        events = timing::FindProgressions(natal, sources, options, cache).size();
        benchmark::DoNotOptimize(events);
    }
    state.counters["events"] = static_cast<double>(events);
}
BENCHMARK(BM_ProgressionsDirectionsCentury)->Unit(benchmark::kMillisecond);

} // namespace
