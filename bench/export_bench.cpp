// Export costs: the metafile of a 765-pixel wheel picture, and whole documents of the aspect table and
// the progressions grid with their hundreds of cell pictures.
#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include "chart/chart.h"
#include "document/page_content.h"
#include "export/rtf_export.h"
#include "export/rtf_writer.h"
#include "export/wmf_writer.h"
#include "settings/settings.h"

namespace {

using namespace cel;

void EnsureApp() {
    if (QGuiApplication::instance() != nullptr)
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "bench_export";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

struct Charts {
    settings::Settings settings;
    settings::RecVistaCarta view;
    chart::TDataAstro natal, event;
    chart::TDataProg prog;
    analysis::AspectLists aspects;
    Charts() {
        settings.InstallFirstRunValues();
        settings::CopySettingsToView(settings, view);
        view.aspectFamilies.fill(true);
        view.pointSelection.fill(true);
        view.cuspSelection.fill(true);
        view.angleSelection.fill(true);
        chart::ChartContext context;
        context.options = chart::ChartOptionsFrom(settings);
        const chart::PlacePosition place{-5, 76.5225L, 3.43722L};
        chart::TDato natalRecord, eventRecord;
        natalRecord.placeId = eventRecord.placeId = 1;
        chart::ComputeChartFor(context, natalRecord, place, natal, EncodeDate(1979, 10, 17) + 12.5 / 24);
        chart::ComputeChartFor(context, eventRecord, place, event, EncodeDate(2026, 1, 5) + 9.25 / 24);
        chart::ComputeProgressions(natal, event, prog, context.options);
        analysis::BuildNatalAspects(aspects, prog.items[1], prog.items[2], true, settings.orbs,
                                    settings.dignity);
        analysis::BuildPairAspects(aspects, prog.items[1], prog.items[1], analysis::kOrbModeEcliptic, false,
                                   settings.orbs);
    }
};

void BM_MetafileOf765Picture(benchmark::State &state) {
    QImage image(765, 765, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (auto _ : state)
        benchmark::DoNotOptimize(exporting::BitmapMetafile(image));
}
BENCHMARK(BM_MetafileOf765Picture)->Unit(benchmark::kMillisecond);

void BM_DocumentOfPage(benchmark::State &state) {
    EnsureApp();
    static const Charts charts;
    const auto page = static_cast<document::PageKind>(state.range(0));
    const document::ChartState chartState{charts.settings, charts.view,    charts.natal,   charts.event,
                                          charts.prog,     charts.aspects, TextFormat{','}};
    const document::PageContent input = document::MakePageContent(page, chartState, {}, {});
    for (auto _ : state) {
        exporting::TCtrlToRTF writer;
        exporting::BuildExportDocument(input, writer);
        benchmark::DoNotOptimize(writer.Body().size());
    }
}
BENCHMARK(BM_DocumentOfPage)
    ->Arg(static_cast<int>(document::PageKind::Rueda))
    ->Arg(static_cast<int>(document::PageKind::Tabla))
    ->Arg(static_cast<int>(document::PageKind::Natal))
    ->Arg(static_cast<int>(document::PageKind::Progresiones))
    ->Unit(benchmark::kMillisecond);

} // namespace
