// "diagrams": the distribution diagrams of two chart items side by side, written as PNG, SVG or PDF.
#include <QGuiApplication>

#include <memory>

#include "analysis_cli.h"
#include "graphics/diagrams.h"
#include "graphics/picture_file.h"
#include "option_checks.h"
#include "picture_output.h"

namespace cel::cli {

namespace {

struct DiagramsOptions {
    AnalysisOptions analysis;
    std::string left = "1";
    std::string right = "3";
    bool pie = false;
    int size = 700;
    std::string out;
};

void AddDiagrams(CLI::App &app, RunContext &ctx) {
    auto *sub = app.add_subcommand("diagrams",
                                   "Draw the distribution diagrams of two chart items as PNG, SVG or PDF");
    auto options = std::make_shared<DiagramsOptions>();
    AddAnalysisOptions(*sub, options->analysis);
    sub->add_option("--left", options->left, std::string("Item of the left panel: ") + kItemHelp)
        ->capture_default_str();
    sub->add_option("--right", options->right, "Item of the right panel")->capture_default_str();
    sub->add_flag("--pie", options->pie, "Pie charts (\"Pastel\") instead of the histogram (\"Histograma\")");
    sub->add_option("--size", options->size, "Side of the square picture in pixels")
        ->transform(WholeIn(100, 8000))
        ->capture_default_str();
    sub->add_option("--out", options->out, "The file to write: .png, .svg or .pdf")->required();
    sub->footer(
        "Weights, group names, dignities and \"Color\" come from the settings file (--ini).\n"
        "Example:\n"
        "  celestigrafo-cli diagrams --date 1979-10-17 --time 12:30 --tz -5 --lon 76.5225W --lat 3.43722N "
        "--event-date 2024-03-05 --pie --out diagramas.pdf\n");
    sub->callback([options, &ctx] {
        const DiagramsOptions &o = *options;
        const graphics::PictureFormat format = PictureFormatOption(o.out);
        const int left = ParseItem(o.left, "--left");
        const int right = ParseItem(o.right, "--right");
        ChartSession session = ComputeAnalysis(o.analysis, ctx, left > 2 || right > 2);
        session::Workspace &w = session.workspace;
        w.Recompute();
        const settings::Settings &s = w.settings;

        const chart::TDataProg &p = w.progressions;
        const graphics::DiagramSettings ds{s.txt, s.points, s.dignity, session.format};
        const graphics::DiagramItem a{p.items[left], QString::fromUtf8(chart::kItemNames[left])};
        const graphics::DiagramItem b{p.items[right], QString::fromUtf8(chart::kItemNames[right])};
        const auto kind = o.pie ? graphics::GraphKind::Pie : graphics::GraphKind::Histogram;
        WritePictureFile(o.out, format, o.size, [&](graphics::Canvas &canvas) {
            graphics::DrawDiagrams(canvas, o.size, graphics::GlyphSet::Normal(), s.rueda.color, kind, a, b,
                                   ds);
        });
        if (WantsJson(ctx, o.analysis.chart.format))
            WriteJson(ctx, {{"file", o.out}, {"points_total", analysis::PointsTotal(s.points)}});
        else
            ctx.out << "Diagramas: " << o.out << "\n";
    });
}

const bool registered = RegisterCommand("diagrams", AddDiagrams);

} // namespace
} // namespace cel::cli
