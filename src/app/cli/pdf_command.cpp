// "pdf": prints one page of the workspace (wheel, aspect table or lists, progressions, speculum,
// summaries, diagrams) to a PDF file through the same paged document as the print window.
#include <memory>

#include "document/layout.h"
#include "document/renderer.h"
#include "graphics/wheel.h"
#include "page_cli.h"

namespace cel::cli {

namespace {

struct PdfOptions {
    PageOptions page;
    bool landscape = false;
    bool aspectGrid = false;
};

void RunPdf(const PdfOptions &options, RunContext &ctx) {
    const std::string &out = options.page.out;
    if (out.size() < 4 || out.compare(out.size() - 4, 4, ".pdf") != 0)
        UsageError("--out: '" + out + "' does not end in .pdf");
    std::size_t pages = 0;
    int lines = -1;
    WithPageContent(
        options.page, ctx, [&](const document::PageContent &content, const ChartSession &session) {
            document::Document doc;
            document::LayoutOptions layout;
            layout.landscape = options.landscape;
            layout.aspectGrid = options.aspectGrid;
            layout.footerText = session.workspace.settings.main.footer;
            document::BuildDocument(doc, content, layout);
            QString error;
            if (!document::WritePdf(doc, QString::fromStdString(out), &error))
                throw CommandError("cannot write " + out + ": " + error.toStdString());
            pages = doc.pages.size();
            if (content.page == document::PageKind::Rueda) {
                // The aspect lines the printed wheel draws: the same view, so the same count.
                const session::Workspace &w = session.workspace;
                QImage picture(600, 600, QImage::Format_RGB32);
                graphics::Canvas canvas(picture);
                const graphics::WheelInput input{w.progressions, w.view, &w.aspects,
                                                 graphics::WheelColoursFrom(w.settings)};
                lines = graphics::DrawWheel(canvas, picture.rect(),
                                            graphics::GlyphSet::Choose(w.view.largeImagesWheel), input);
            }
        });
    if (WantsJson(ctx, options.page.analysis.chart.format)) {
        nlohmann::json result{{"file", out}, {"page", options.page.page}, {"pages", pages}};
        if (lines >= 0)
            result["aspect_lines"] = lines;
        WriteJson(ctx, result);
    } else
        ctx.out << out << "\n";
}

void AddPdf(CLI::App &app, RunContext &ctx) {
    auto *sub =
        app.add_subcommand("pdf", "Print a page (wheel, aspect table or lists, progressions, speculum, "
                                  "summaries, diagrams) to a PDF file");
    auto options = std::make_shared<PdfOptions>();
    AddPageOptions(*sub, options->page,
                   "rueda, tabla, listado, natal, progresiones, speculum, resumen or diagramas");
    sub->add_option("--out", options->page.out, "PDF file to write (replaced when it exists)")->required();
    sub->add_flag("--landscape", options->landscape, "Wheel page: landscape (portrait by default)");
    sub->add_flag("--aspect-grid", options->aspectGrid,
                  "Wheel page: the grid of the aspects between the bodies beside the wheel");
    sub->footer("Example:\n  celestigrafo-cli pdf --page rueda --landscape --out rueda.pdf --date 1979-10-17 "
                "--time 12:30 --tz -5 --lon 76.5225W --lat 3.43722N --natal-name \"Ana Pérez\" --place Cali "
                "--country Colombia");
    sub->callback([options, &ctx] { RunPdf(*options, ctx); });
}

const bool registered = RegisterCommand("pdf", AddPdf);

} // namespace
} // namespace cel::cli
