// The wheel and the diagrams are redrawn at every view refresh: how long one drawing takes.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <memory>
#include <vector>

#include "analysis/aspects.h"
#include "chart/chart.h"
#include "graphics/diagrams.h"
#include "graphics/wheel.h"
#include "settings/settings.h"

namespace {

using namespace cel;

void EnsureApp() {
    if (QGuiApplication::instance() == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "bench_graphics";
        static char *argv[] = {name, nullptr};
        static QGuiApplication app(argc, argv);
    }
}

struct Fixture {
    settings::Settings s;
    chart::TDataAstro natal, event;
    chart::TDataProg prog;
    analysis::AspectLists lists;
    // A natal chart born at `hour` (local time) and its transits.
    explicit Fixture(double hour = 12.5) {
        s.InstallFirstRunValues();
        chart::ChartContext context;
        context.options = chart::ChartOptionsFrom(s);
        const chart::PlacePosition place{-5, 76.5225L, 3.43722L};
        chart::TDato a, b;
        a.placeId = b.placeId = 1;
        chart::ComputeChartFor(context, a, place, natal, EncodeDate(1979, 10, 17) + hour / 24);
        chart::ComputeChartFor(context, b, place, event, EncodeDate(2024, 10, 17) + 8.0 / 24);
        chart::ComputeProgressions(natal, event, prog, context.options);
        analysis::BuildNatalAspects(lists, prog.items[1], prog.items[2], true, s.orbs, s.dignity);
        analysis::BuildPairAspects(lists, prog.items[1], prog.items[3], analysis::kOrbModeEcliptic, true,
                                   s.orbs);
    }
};

settings::RecVistaCarta BenchView(const Fixture &f, const benchmark::State &state) {
    settings::RecVistaCarta view;
    settings::CopySettingsToView(f.s, view);
    // Form: 1 single, 2 double, 3 "1 Rueda"; then seconds shown (0 or 1).
    view.wheelMode = state.range(1) == 1 ? settings::kSingleWheel : settings::kDoubleWheel;
    view.innerWheelOnly = state.range(1) == 3;
    view.wheelFlags[settings::kFlagPlanetasSeg] = state.range(2) != 0;
    view.outerItem = 3;
    view.aspectFamilies.fill(true);
    view.pointSelection.fill(true);
    view.cuspSelection.fill(true);
    view.angleSelection.fill(true);
    return view;
}

// The wheel drawn again, as the window does at every change of its view.
void BM_DrawWheel(benchmark::State &state) {
    EnsureApp();
    static Fixture f;
    const settings::RecVistaCarta view = BenchView(f, state);
    const int side = static_cast<int>(state.range(0));
    QImage image(side, side, QImage::Format_RGB32);
    const graphics::WheelInput input{f.prog, view, &f.lists, graphics::WheelColoursFrom(f.s)};
    for (auto _ : state) {
        graphics::Canvas canvas(image);
        benchmark::DoNotOptimize(graphics::DrawWheel(
            canvas, image.rect(), graphics::GlyphSet::Choose(view.largeImagesWheel), input));
    }
}
BENCHMARK(BM_DrawWheel)
    ->Args({600, 1, 0})
    ->Args({600, 2, 0})
    ->Args({600, 2, 1})
    ->Args({600, 3, 1})
    ->Args({1200, 1, 0})
    ->Args({1200, 2, 1})
    ->Unit(benchmark::kMillisecond);

// A chart drawn for the first time: sixteen charts in turn, more than the wheel keeps the layouts and
// zodiac rings of, so each drawing places its labels and draws its rings anew.
void BM_DrawWheelNewChart(benchmark::State &state) {
    EnsureApp();
    static const std::vector<std::unique_ptr<Fixture>> charts = [] {
        std::vector<std::unique_ptr<Fixture>> all;
        for (int i = 0; i < 16; ++i)
            all.push_back(std::make_unique<Fixture>(0.75 + 1.5 * i));
        return all;
    }();
    const settings::RecVistaCarta view = BenchView(*charts.front(), state);
    const int side = static_cast<int>(state.range(0));
    QImage image(side, side, QImage::Format_RGB32);
    std::size_t next = 0;
    for (auto _ : state) {
        const Fixture &f = *charts[next++ % charts.size()];
        const graphics::WheelInput input{f.prog, view, &f.lists, graphics::WheelColoursFrom(f.s)};
        graphics::Canvas canvas(image);
        benchmark::DoNotOptimize(graphics::DrawWheel(
            canvas, image.rect(), graphics::GlyphSet::Choose(view.largeImagesWheel), input));
    }
}
BENCHMARK(BM_DrawWheelNewChart)
    ->Args({600, 1, 0})
    ->Args({600, 2, 0})
    ->Args({1200, 1, 0})
    ->Args({1200, 2, 1})
    ->Unit(benchmark::kMillisecond);

void BM_DrawDiagrams(benchmark::State &state) {
    EnsureApp();
    static Fixture f;
    QImage image(700, 700, QImage::Format_RGB32);
    const graphics::DiagramSettings ds{f.s.txt, f.s.points, f.s.dignity, cel::TextFormat{}};
    for (auto _ : state) {
        graphics::Canvas canvas(image);
        graphics::DrawDiagrams(canvas, 700, graphics::GlyphSet::Normal(), true, graphics::GraphKind::Pie,
                               {f.prog.items[1], "Natal"}, {f.prog.items[3], "Tránsitos"}, ds);
    }
}
BENCHMARK(BM_DrawDiagrams)->Unit(benchmark::kMillisecond);

} // namespace
