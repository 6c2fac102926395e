// The analysis work of one view refresh: the natal lists (with dispositors), the pair lists of a double
// wheel, and the aspect table filled from them.
#include <benchmark/benchmark.h>

#include "analysis/analysis.h"
#include "chart/chart.h"

namespace {

using namespace cel;

struct Scene {
    chart::TDataProg progressions;
    settings::OrbTables orbs = settings::BuiltInOrbTables();
    settings::DignityMatrix matrix = settings::BuiltInMatrix(settings::MatrixPreset::Modern);

    Scene() {
        chart::ChartContext context;
        const chart::PlacePosition cali{-5, 76.5225L, 3.43722L};
        chart::TDato natalRecord, eventRecord;
        natalRecord.placeId = eventRecord.placeId = 1;
        chart::TDataAstro natal, event;
        const TDateTime natalValue = EncodeDateTime({1979, 10, 17, 12, 30, 0, 0});
        const TDateTime eventValue = EncodeDateTime({2024, 10, 17, 8, 0, 0, 0});
        chart::ComputeChartFor(context, natalRecord, cali, natal, natalValue);
        chart::ComputeChartFor(context, eventRecord, cali, event, eventValue);
        chart::ComputeProgressions(natal, event, progressions, context.options);
    }
};

const Scene &TheScene() {
    static const Scene scene;
    return scene;
}

void BM_BuildNatalAspects(benchmark::State &state) {
    const Scene &s = TheScene();
    analysis::AspectLists lists;
    for (auto _ : state) {
        analysis::BuildNatalAspects(lists, s.progressions.items[1], s.progressions.items[2], true, s.orbs,
                                    s.matrix);
        benchmark::DoNotOptimize(lists.eclipticBodies.data());
    }
    state.counters["natal_aspects"] = static_cast<double>(
        lists.eclipticBodies.size() + lists.eclipticBodyCusp.size() + lists.eclipticCusps.size() +
        lists.ascensionalBodies.size() + lists.ascensionalBodyCusp.size() + lists.ascensionalCusps.size());
    state.counters["dispositors"] =
        static_cast<double>(lists.dispositorBodies.size() + lists.dispositorBodyCusp.size());
}
BENCHMARK(BM_BuildNatalAspects);

void BM_BuildPairAspects(benchmark::State &state) {
    const Scene &s = TheScene();
    analysis::AspectLists lists;
    const int mode = static_cast<int>(state.range(0));
    for (auto _ : state) {
        analysis::BuildPairAspects(lists, s.progressions.items[1], s.progressions.items[3], mode, true,
                                   s.orbs);
        benchmark::DoNotOptimize(lists.pairBodies.data());
    }
    state.counters["pair_aspects"] = static_cast<double>(lists.pairBodies.size() + lists.pairBodyCusp.size() +
                                                         lists.pairCuspBody.size() + lists.pairCusps.size());
}
BENCHMARK(BM_BuildPairAspects)->Arg(9)->Arg(8);

void BM_FillAspectTable(benchmark::State &state) {
    const Scene &s = TheScene();
    analysis::AspectLists lists;
    analysis::BuildNatalAspects(lists, s.progressions.items[1], s.progressions.items[2], true, s.orbs,
                                s.matrix);
    settings::RecVistaCarta view;
    view.aspectFamilies.fill(true);
    view.pointSelection.fill(true);
    view.cuspSelection.fill(true);
    view.angleSelection.fill(true);
    analysis::TextGrid grid;
    analysis::SetUpAspectTable(grid, view, true);
    int count = 0;
    for (auto _ : state) {
        count = analysis::FillAspectTable(grid, false, lists.eclipticBodies, lists.eclipticBodyCusp, nullptr,
                                          lists.eclipticCusps, view);
        benchmark::DoNotOptimize(count);
    }
    state.counters["cells"] = count;
}
BENCHMARK(BM_FillAspectTable);

// The whole refresh: natal lists, pair lists of a double wheel and its table.
void BM_RefreshDoubleWheel(benchmark::State &state) {
    const Scene &s = TheScene();
    analysis::AspectLists lists;
    settings::RecVistaCarta view;
    view.innerItem = 1;
    view.outerItem = 3;
    view.wheelMode = settings::kDoubleWheel;
    view.aspectFamilies.fill(true);
    view.pointSelection.fill(true);
    view.cuspSelection.fill(true);
    view.angleSelection.fill(true);
    analysis::TextGrid grid;
    analysis::SetUpAspectTable(grid, view, true);
    for (auto _ : state) {
        analysis::BuildNatalAspects(lists, s.progressions.items[1], s.progressions.items[2], true, s.orbs,
                                    s.matrix);
        analysis::BuildPairAspects(lists, s.progressions.items[1], s.progressions.items[3], 9, true, s.orbs);
        benchmark::DoNotOptimize(analysis::FillAspectTable(grid, true, lists.pairBodies, lists.pairBodyCusp,
                                                           &lists.pairCuspBody, lists.pairCusps, view));
    }
}
BENCHMARK(BM_RefreshDoubleWheel);

} // namespace
