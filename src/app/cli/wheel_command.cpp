// "wheel": the chart wheel of one item, two items as a double wheel, or one item inside the bodies of
// another, written as PNG, SVG or PDF; the number of aspect lines drawn is printed.
#include <QGuiApplication>

#include <cmath>
#include <memory>
#include <optional>
#include <vector>

#include "analysis_cli.h"
#include "document/workspace_page.h"
#include "graphics/chart_caption.h"
#include "graphics/picture_file.h"
#include "graphics/wheel.h"
#include "option_checks.h"
#include "picture_output.h"
#include "settings/view_record.h"
#include "wheel_choices.h"

namespace cel::cli {

namespace {

struct WheelOptions {
    AnalysisOptions analysis;
    std::string inner = "1";
    std::string outer = "3";
    bool doubleWheel = false;
    WheelChoices choices;
    int size = 600;
    std::string out;
    bool caption = false;
    std::string natalName;
};

// The data box of the inner chart (and the date of the outer one on a double wheel), from the same
// heading texts the printed pages show.
graphics::ChartCaption CaptionOf(const ChartSession &session, const WheelOptions &o, bool eventIsPerson) {
    const session::Workspace &w = session.workspace;
    document::HeadingNames names{o.natalName, "", "", "", eventIsPerson};
    if (session.hasDb)
        names = document::NamesFromDatabase(w, names, eventIsPerson);
    return document::NatalCaption(document::MakeHeading(w, names), w.natal.deltaT, w.natal.deltaTFlag == 1,
                                  session.format);
}

nlohmann::json Box(const QRectF &box) {
    auto round = [](qreal v) { return std::round(v * 100) / 100; };
    return nlohmann::json::array({round(box.x()), round(box.y()), round(box.width()), round(box.height())});
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
    AddWheelChoiceOptions(*sub, options->choices);
    sub->add_option("--size", options->size, "Width and height of the picture in pixels")
        ->transform(WholeIn(50, 8000))
        ->capture_default_str();
    sub->add_option("--out", options->out, "The file to write: .png, .svg or .pdf")->required();
    sub->add_flag("--caption", options->caption,
                  "Add the chart's data box under the wheel: name, date and time with zone, place with "
                  "coordinates, house system, zodiac and Delta T");
    sub->add_option("--natal-name", options->natalName, "Name shown in the data box (default: the person's)");

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
        CheckWheelChoices(o.choices, o.doubleWheel);
        const bool needEvent =
            chart::NeedsEventChart(inner) || (o.doubleWheel && chart::NeedsEventChart(outer));
        ChartSession session = ComputeAnalysis(o.analysis, ctx, needEvent);
        session::Workspace &w = session.workspace;

        settings::RecVistaCarta &view = w.choices;
        view.innerItem = static_cast<std::uint8_t>(inner);
        view.outerItem = static_cast<std::uint8_t>(outer);
        view.wheelMode = o.doubleWheel ? settings::kDoubleWheel : settings::kSingleWheel;
        ApplyWheelChoices(view, o.choices, o.doubleWheel);
        view.pointSelection.fill(true);
        view.cuspSelection.fill(true);
        view.angleSelection.fill(true);
        w.Recompute();

        int lines = 0;
        std::vector<graphics::WheelLabel> labels;
        std::vector<graphics::WheelBodyPlace> bodies;
        const graphics::WheelInput input{
            w.progressions, w.view, &w.aspects, graphics::WheelColoursFrom(w.settings), &labels, &bodies};
        std::optional<graphics::ChartCaption> caption;
        if (o.caption)
            caption = CaptionOf(session, o, !o.analysis.event.person.empty());
        WritePictureFile(o.out, format, o.size, [&](graphics::Canvas &canvas) {
            QRect wheelRect(0, 0, o.size, o.size);
            if (caption) {
                // The box in a band under the wheel, which gives up that much of its height.
                const qreal scale = o.size / 600.0;
                graphics::TextStyle style;
                style.family = QString::fromStdString(w.view.fontName);
                style.pointSize = 9;
                style.scale = scale;
                const qreal margin = 6 * scale;
                const QSizeF need = graphics::ChartCaptionSize(canvas, *caption, style, 2);
                const qreal band = std::min<qreal>(need.height() + 2 * margin, o.size / 4.0);
                wheelRect.setHeight(o.size - static_cast<int>(std::ceil(band)));
                canvas.FillRect(QRect(0, 0, o.size, o.size), Qt::white);
                const QRectF area(margin, wheelRect.height() + margin, o.size - 2 * margin,
                                  band - 2 * margin);
                const QRectF drawn = graphics::DrawChartCaption(canvas, area, *caption, style);
                if (!drawn.isEmpty())
                    labels.push_back({0, 0, drawn, graphics::WheelLabelKind::Caption});
            }
            lines = graphics::DrawWheel(canvas, wheelRect,
                                        graphics::GlyphSet::Choose(w.view.largeImagesWheel), input);
        });
        if (WantsJson(ctx, o.analysis.chart.format)) {
            nlohmann::json placed = nlohmann::json::array(), others = nlohmann::json::array();
            for (const graphics::WheelBodyPlace &b : bodies)
                placed.push_back({{"chart", b.wheel == 2 ? "outer" : "inner"},
                                  {"body", b.body},
                                  {"longitude", static_cast<double>(b.longitude)},
                                  {"drawn", static_cast<double>(b.drawn)},
                                  {"row", b.row},
                                  {"box", Box(b.box)}});
            for (const graphics::WheelLabel &l : labels)
                if (l.kind != graphics::WheelLabelKind::Body)
                    others.push_back({{"kind", graphics::WheelLabelKindName(l.kind)}, {"box", Box(l.box)}});
            WriteJson(ctx,
                      {{"file", o.out}, {"aspect_lines", lines}, {"bodies", placed}, {"labels", others}});
        } else
            ctx.out << "Aspectos: " << lines << "\n";
    });
}

const bool registered = RegisterCommand("wheel", AddWheel);

} // namespace
} // namespace cel::cli
