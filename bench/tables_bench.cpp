// The main window's table pages: one view refresh with every page filled (aspect lists, aspect table,
// detail grid, speculum, summaries, diagrams), and one repaint of the aspect table page at 1920x1080.
#include <QApplication>
#include <QPixmap>

#include <benchmark/benchmark.h>

#include "common/date_time.h"
#include "session/workspace.h"
#include "workspace/aspect_table_page.h"
#include "workspace/reports_page.h"

namespace {

using namespace cel;

void EnsureApplication() {
    if (QApplication::instance() == nullptr) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "bench_tables";
        static char *argv[] = {name, nullptr};
        static QApplication app(argc, argv);
    }
}

// A natal and an event chart with every point, cusp, angle and family chosen.
void SetUp(session::Workspace &w) {
    w.settings.InstallFirstRunValues();
    w.ApplySettings();
    const chart::PlacePosition cali{-5, 76.5225L, 3.43722L};
    w.ComputeChart(session::ChartSide::Natal, EncodeDate(1979, 10, 17) + 12.5 / 24, cali);
    w.ComputeChart(session::ChartSide::Event, EncodeDate(2024, 10, 17) + 8.0 / 24, cali);
    w.choices.innerItem = 1;
    w.choices.pointSelection.fill(true);
    w.choices.cuspSelection.fill(true);
    w.choices.angleSelection.fill(true);
    w.choices.aspectFamilies.fill(true);
    w.choices.computeDispositors = true;
    w.Recompute();
}

void BM_RefreshWithEveryPage(benchmark::State &state) {
    EnsureApplication();
    session::Workspace w;
    SetUp(w);
    workspace::AspectTablePage table(w, {});
    workspace::ReportsPage reports(w);
    table.resize(1600, 900);
    reports.resize(1600, 900);
    reports.FillProgressions();
    for (auto _ : state) {
        w.RefreshView();
        table.Rebuild();
        table.SelectCell(2, 1);
        reports.Rebuild();
        benchmark::DoNotOptimize(table.AspectCount());
    }
}
BENCHMARK(BM_RefreshWithEveryPage)->Unit(benchmark::kMillisecond);

void BM_RepaintAspectTablePage(benchmark::State &state) {
    EnsureApplication();
    session::Workspace w;
    SetUp(w);
    workspace::AspectTablePage table(w, {});
    table.resize(1920, 1080);
    table.Rebuild();
    table.SelectCell(2, 1);
    for (auto _ : state) {
        const QPixmap picture = table.grab();
        benchmark::DoNotOptimize(picture.cacheKey());
    }
}
BENCHMARK(BM_RepaintAspectTablePage)->Unit(benchmark::kMillisecond);

} // namespace
