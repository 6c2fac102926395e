// The main window's table pages: one view refresh with every page filled (aspect lists, aspect table,
// detail grid, speculum, summaries, diagrams), and one repaint of the aspect table page at 1920x1080.
#include <QApplication>
#include <QPixmap>

#include <benchmark/benchmark.h>

#include "bench_setup.h"
#include "example_workspace.h"
#include "workspace/aspect_table_page.h"
#include "workspace/reports_page.h"

namespace {

using namespace cel;

// A natal and an event chart with every point, cusp, angle and family chosen, and the dispositors.
void SetUp(session::Workspace &w) {
    bench::SetUpExampleCharts(w, EncodeDate(2024, 10, 17) + 8.0 / 24);
    w.choices.computeDispositors = true;
    w.Recompute();
}

void BM_RefreshWithEveryPage(benchmark::State &state) {
    bench::EnsureApplication<QApplication>("bench_tables");
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
    bench::EnsureApplication<QApplication>("bench_tables");
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
