// Printing costs: building the paged document of a page and writing its PDF, for the wheel page and
// for an aspect listing of three pages.
#include <QDir>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include "bench_setup.h"
#include "document/layout.h"
#include "document/renderer.h"
#include "document/workspace_page.h"
#include "example_workspace.h"
#include "session/workspace.h"

namespace {

using namespace cel;

// The natal chart in Cali with the 2026 transits and every aspect shown; the first 40 codes of its natal
// listing fill three pages.
struct Charts {
    session::Workspace w;
    Charts() {
        bench::SetUpExampleCharts(w, EncodeDate(2026, 1, 5) + 9.25 / 24);
        w.Recompute();
    }
};

// At most `codes` cells of the listing are kept (all when 0).
void PrintPage(benchmark::State &state, document::PageKind kind, int codes) {
    bench::EnsureApplication<QGuiApplication>("bench_document");
    const Charts charts;
    const document::ChartState chartState = document::StateOf(charts.w);
    const document::PageHeading heading =
        document::MakeHeading(charts.w, {"Ana Pérez", "", "Cali", "Colombia"});
    const QString path =
        QDir::temp().filePath(QStringLiteral("bench_document_%1.pdf").arg(static_cast<int>(kind)));
    std::size_t pages = 0;
    for (auto _ : state) {
        document::Document doc;
        document::PageContent content = document::MakePageContent(kind, chartState, {}, heading);
        int kept = 0;
        for (auto &row : content.detail.cells)
            for (std::string &cell : row)
                if (!cell.empty() && codes > 0 && ++kept > codes)
                    cell.clear();
        document::BuildDocument(doc, std::move(content), {false, "Pie"});
        if (!document::WritePdf(doc, path, nullptr))
            state.SkipWithError("the PDF could not be written");
        pages = doc.pages.size();
    }
    state.counters["pages"] = static_cast<double>(pages);
    QFile::remove(path);
}

// Target: under 150 ms.
void BM_WheelPagePdf(benchmark::State &state) {
    PrintPage(state, document::PageKind::Rueda, 0);
}
BENCHMARK(BM_WheelPagePdf)->Unit(benchmark::kMillisecond);

// Target: under 300 ms for three pages.
void BM_ListingPdf(benchmark::State &state) {
    PrintPage(state, document::PageKind::Listado, 40);
}
BENCHMARK(BM_ListingPdf)->Unit(benchmark::kMillisecond);

} // namespace
