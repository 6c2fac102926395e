// "rtf": exports one page of the workspace (wheel, aspect table or lists, progressions, speculum,
// diagrams) as an RTF document, as "Exportar a archivo RTF" does.
#include <memory>

#include "export/rtf_export.h"
#include "page_cli.h"

namespace cel::cli {

namespace {

void RunRtf(const PageOptions &options, RunContext &ctx) {
    if (PageKindOf(options.page) == document::PageKind::Resumen)
        throw CommandError(exporting::kSummaryRefusal);
    WithPageContent(options, ctx, [&](const document::PageContent &content, const ChartSession &) {
        exporting::ExportResult result;
        try {
            result = exporting::ExportRtf(content, options.out);
        } catch (const std::runtime_error &e) {
            throw CommandError(e.what());
        }
        if (!result.written)
            throw CommandError(result.message);
    });
    if (WantsJson(ctx, options.analysis.chart.format))
        WriteJson(ctx, {{"file", options.out}, {"page", options.page}});
    else
        ctx.out << options.out << "\n";
}

void AddRtf(CLI::App &app, RunContext &ctx) {
    auto *sub =
        app.add_subcommand("rtf", "Export a page (wheel, aspect table or lists, progressions, speculum, "
                                  "diagrams) as an RTF document");
    auto options = std::make_shared<PageOptions>();
    AddPageOptions(
        *sub, *options,
        "rueda, tabla, listado, natal, progresiones, speculum or diagramas (resumen has no export)");
    sub->add_option("--out", options->out, "RTF file to write (replaced when it exists)")->required();
    sub->footer(
        "Example:\n  celestigrafo-cli rtf --page rueda --out rueda.rtf --date 1979-10-17 --time 12:30 "
        "--tz -5 --lon 76.5225W --lat 3.43722N --natal-name \"Ana Pérez\" --place Cali --country Colombia");
    sub->callback([options, &ctx] { RunRtf(*options, ctx); });
}

const bool registered = RegisterCommand("rtf", AddRtf);

} // namespace
} // namespace cel::cli
