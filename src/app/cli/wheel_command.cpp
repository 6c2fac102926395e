// "wheel": the chart wheel of one item, two items as a double wheel, or one item inside the bodies of
// another, written as PNG, SVG or PDF; the number of aspect lines drawn is printed.
#include <QGuiApplication>

#include <memory>

#include "analysis_cli.h"
#include "graphics/picture_file.h"
#include "graphics/wheel.h"
#include "option_checks.h"
#include "picture_output.h"
#include "settings/view_record.h"

namespace cel::cli {

namespace {

struct WheelOptions {
    AnalysisOptions analysis;
    std::string inner = "1";
    std::string outer = "3";
    bool doubleWheel = false;
    bool bySigns = false;
    bool innerOnly = false;
    bool projectHouses = false;
    std::string families = "pp";
    int minStrength = 0;
    int size = 600;
    std::string out;
};

// The aspect families named as "pp,pc,cp,cc" (point-point, point-cusp, cusp-point, cusp-cusp).
std::array<bool, settings::kAspectFamilyCount> ParseFamilies(const std::string &text) {
    std::array<bool, settings::kAspectFamilyCount> families{};
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string word = text.substr(start, comma - start);
        if (word == "pp")
            families[settings::kPointPoint] = true;
        else if (word == "pc")
            families[settings::kPointCusp] = true;
        else if (word == "cp")
            families[settings::kCuspPoint] = true;
        else if (word == "cc")
            families[settings::kCuspCusp] = true;
        else if (!word.empty() || text.empty())
            UsageError("--families: '" + text +
                       "' is not a list of aspect families: expected pp, pc, cp, cc "
                       "separated by commas (e.g. pp,pc)");
        start = comma + 1;
    }
    return families;
}

void AddWheel(CLI::App &app, RunContext &ctx) {
    auto *sub = app.add_subcommand(
        "wheel",
        "Draw the chart wheel (single, double, or one item inside the bodies of another) as PNG, SVG or PDF");
    auto options = std::make_shared<WheelOptions>();
    AddAnalysisOptions(*sub, options->analysis);
    sub->add_option("--inner", options->inner, std::string("Item of the inner (or only) wheel: ") + kItemHelp)
        ->capture_default_str();
    sub->add_option("--outer", options->outer, "Item of the outer wheel (double wheel)")
        ->capture_default_str();
    sub->add_flag("--double", options->doubleWheel,
                  "Double wheel (\"Doble\"): the outer item around the inner one");
    sub->add_flag("--by-signs", options->bySigns, "Align a double wheel by signs instead of by Ascendant");
    sub->add_flag("--inner-only", options->innerOnly,
                  "\"1 Rueda\": one full wheel with the outer item's bodies around it (with --double)");
    sub->add_flag("--project-houses", options->projectHouses,
                  "\"1 Casas\": project the inner item's houses onto the outer wheel (with --double)");
    sub->add_option("--families", options->families,
                    "Aspect families drawn: pp, pc, cp, cc separated by commas (point and cusp pairs)")
        ->capture_default_str();
    sub->add_option("--min-strength", options->minStrength,
                    "Minimum aspect strength in percent (\"Fuerza (%):\")")
        ->check(CLI::Range(0, 100));
    sub->add_option("--size", options->size, "Width and height of the picture in pixels")
        ->transform(WholeIn(50, 8000))
        ->capture_default_str();
    sub->add_option("--out", options->out, "The file to write: .png, .svg or .pdf")->required();
    sub->footer(
        "The wheel flags, colours, font and glyph size come from the settings file (--ini).\n"
        "Example:\n"
        "  celestigrafo-cli wheel --date 1979-10-17 --time 12:30 --tz -5 --lon 76.5225W --lat 3.43722N "
        "--event-date 2024-03-05 --double --out rueda.png\n");
    sub->callback([options, &ctx] {
        const WheelOptions &o = *options;
        const graphics::PictureFormat format = PictureFormatOption(o.out);
        const int inner = ParseItem(o.inner, "--inner");
        const int outer = ParseItem(o.outer, "--outer");
        if ((o.innerOnly || o.projectHouses) && !o.doubleWheel)
            UsageError("--inner-only and --project-houses need --double");
        const bool needEvent =
            chart::NeedsEventChart(inner) || (o.doubleWheel && chart::NeedsEventChart(outer));
        ChartSession session = ComputeAnalysis(o.analysis, ctx, needEvent);
        session::Workspace &w = session.workspace;

        settings::RecVistaCarta &view = w.choices;
        view.innerItem = static_cast<std::uint8_t>(inner);
        view.outerItem = static_cast<std::uint8_t>(outer);
        view.wheelMode = o.doubleWheel ? settings::kDoubleWheel : settings::kSingleWheel;
        view.equaliseBySigns = o.bySigns;
        view.innerWheelOnly = o.doubleWheel && o.innerOnly;
        view.projectInnerHouses = o.doubleWheel && o.projectHouses && !o.innerOnly;
        view.noProjectedHouses = !view.projectInnerHouses;
        view.aspectFamilies = ParseFamilies(o.families);
        view.strengthFilter = o.minStrength;
        view.pointSelection.fill(true);
        view.cuspSelection.fill(true);
        view.angleSelection.fill(true);
        w.Recompute();

        int lines = 0;
        const graphics::WheelInput input{w.progressions, w.view, &w.aspects,
                                         graphics::WheelColoursFrom(w.settings)};
        WritePictureFile(o.out, format, o.size, [&](graphics::Canvas &canvas) {
            lines = graphics::DrawWheel(canvas, QRect(0, 0, o.size, o.size),
                                        graphics::GlyphSet::Choose(w.view.largeImagesWheel), input);
        });
        if (WantsJson(ctx, o.analysis.chart.format))
            WriteJson(ctx, {{"file", o.out}, {"aspect_lines", lines}});
        else
            ctx.out << "Aspectos: " << lines << "\n";
    });
}

const bool registered = RegisterCommand("wheel", AddWheel);

} // namespace
} // namespace cel::cli
