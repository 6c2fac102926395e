// "rtf": exports one page of the workspace (wheel, aspect table or lists, progressions, speculum,
// diagrams) as an RTF document, as "Exportar a archivo RTF" does.
#include <QGuiApplication>

#include <map>
#include <memory>

#include "analysis_cli.h"
#include "database/coordinate_text.h"
#include "database/database.h"
#include "export/page_content.h"
#include "export/rtf_export.h"
#include "option_checks.h"
#include "picture_output.h"

namespace cel::cli {

namespace {

struct RtfOptions {
    AnalysisOptions analysis;
    std::string page;
    std::string out;
    std::string inner;
    bool innerGiven = false; // "--inner ''" is refused like any other item that is not one
    std::string outer;
    bool percent = false;
    std::string model = "ecl";
    bool ambos = false;
    int house = 0;
    std::string graph = "histograma";
    std::string graphItems = "1,2";
    int ppi = 96;
    int previewPpi = 0;
    std::string natalName;
    std::string eventName;
    std::string place;
    std::string country;
};

const std::map<std::string, exporting::ExportPage> kPages{
    {"rueda", exporting::ExportPage::Rueda},
    {"tabla", exporting::ExportPage::Tabla},
    {"listado", exporting::ExportPage::Listado},
    {"natal", exporting::ExportPage::Natal},
    {"progresiones", exporting::ExportPage::Progresiones},
    {"speculum", exporting::ExportPage::Speculum},
    {"resumen", exporting::ExportPage::Resumen},
    {"diagramas", exporting::ExportPage::Diagramas},
};

std::pair<int, int> ParseItemPair(const std::string &text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos)
        UsageError("--graph-items: '" + text + "' is not two items: expected A,B (e.g. 1,2)");
    return {ParseItem(text.substr(0, comma), "--graph-items"),
            ParseItem(text.substr(comma + 1), "--graph-items")};
}

struct Records {
    std::string natalName, eventName, place, country;
};

// The person and place names of the heading, from the options or the data file.
Records NamesOf(const RtfOptions &options, const ChartSession &session) {
    const session::Workspace &w = session.workspace;
    Records r;
    const auto personName = [&session, &w](const chart::TDato &record, const std::string &given) {
        if (!given.empty() || !session.hasDb || record.ownerId < 0)
            return given;
        const int i = database::IndexOfId(w.db.Persons, record.ownerId);
        if (i < 0)
            return given;
        const database::TPersona &p = *w.db.Persons[static_cast<std::size_t>(i)];
        return p.Nombre + " " + p.Apellidos;
    };
    r.natalName = personName(w.natalRecord, options.natalName);
    r.eventName = options.analysis.event.person.empty() ? options.eventName
                                                        : personName(w.eventRecord, options.eventName);
    r.place = options.place;
    r.country = options.country;
    if (r.place.empty() && r.country.empty() && session.hasDb && w.natalRecord.placeId >= 0) {
        const int i = database::IndexOfId(w.db.Places, w.natalRecord.placeId);
        if (i >= 0) {
            const database::TLugar_Geo &place = *w.db.Places[static_cast<std::size_t>(i)];
            r.place = place.Nombre;
            r.country = database::NameOfId(w.db.Countries, place.IdPais);
        }
    }
    return r;
}

void RunRtf(const RtfOptions &options, RunContext &ctx) {
    const exporting::ExportPage page = kPages.at(options.page);
    if (page == exporting::ExportPage::Resumen)
        throw CommandError(exporting::kSummaryRefusal);
    if (!options.outer.empty() && !options.innerGiven)
        UsageError("--outer needs --inner: expected both items of the double wheel");
    const int inner = options.innerGiven ? ParseItem(options.inner, "--inner") : 1;
    const bool doubleWheel = !options.outer.empty();
    const int outer = doubleWheel ? ParseItem(options.outer, "--outer") : inner;
    const auto [graphA, graphB] = ParseItemPair(options.graphItems);
    const bool needEvent = chart::NeedsEventChart(inner) || chart::NeedsEventChart(outer) ||
                           page == exporting::ExportPage::Progresiones ||
                           (page == exporting::ExportPage::Diagramas && (graphA > 2 || graphB > 2));
    ChartSession session = ComputeAnalysis(options.analysis, ctx, needEvent);
    session::Workspace &w = session.workspace;

    settings::RecVistaCarta &view = w.choices;
    view.innerItem = static_cast<std::uint8_t>(inner);
    view.outerItem = static_cast<std::uint8_t>(outer);
    view.wheelMode = doubleWheel ? settings::kDoubleWheel : settings::kSingleWheel;
    view.aspectMode = options.house > 0 ? 1 : 0;
    view.autoSources.fill(true); // "Regente", "Cuspide" and "Ocupantes" blocks of the by-house list
    view.aspectFamilies.fill(true);
    view.pointSelection.fill(true);
    view.cuspSelection.fill(true);
    view.angleSelection.fill(true);
    if (options.house > 0) {
        // "Por casas": the chosen house is the one cusp ticked.
        view.cuspSelection = {};
        view.cuspSelection[static_cast<std::size_t>(options.house)] = true;
    }
    w.Recompute();

    const Records records = NamesOf(options, session);
    const chart::TDato &natalRecord = w.natalRecord;
    const chart::TDato &eventRecord = w.eventRecord;

    const TextFormat &format = session.format;
    exporting::ExportHeading heading;
    heading.natalLabel =
        "Natal: " + (records.natalName.empty() ? std::string("<>: ") : records.natalName + "  ");
    if (!records.eventName.empty())
        heading.eventLabel = records.eventName + ": ";
    const auto dateLine = [&format](const chart::TDato &r) {
        return exporting::DateLine(r.gmtFlag == 1 ? r.gmtDateTime : r.localDateTime, r.gmtFlag == 1,
                                   static_cast<double>(r.zone), format);
    };
    heading.natalDateLine = dateLine(natalRecord);
    heading.eventDateLine = dateLine(eventRecord);
    // An event that is another person's birth makes the pair a synastry.
    heading.synastry = !options.analysis.event.person.empty();
    heading.place = records.place;
    heading.country = records.country;
    heading.longitudeText = database::AngleText(natalRecord.longitude, database::AngleKind::Longitude);
    heading.latitudeText = database::AngleText(natalRecord.latitude, database::AngleKind::Latitude);
    heading.natalLocal = natalRecord.localDateTime;
    heading.zone = static_cast<double>(natalRecord.zone);
    heading.progressionLines = exporting::ProgressionLines(w.natal, w.event, w.progressions, format);

    exporting::PageChoices choices;
    choices.showStrength = options.percent;
    choices.natalAscensional = options.model == "asc";
    choices.ambos = options.ambos;
    choices.house = options.house;
    choices.graphKind = options.graph == "pastel" ? graphics::GraphKind::Pie : graphics::GraphKind::Histogram;
    choices.graphItemA = graphA;
    choices.graphItemB = graphB;
    choices.ppi = options.ppi;
    choices.previewPpi = options.previewPpi > 0 ? options.previewPpi : options.ppi;

    EnsureGuiApplication();
    const exporting::ChartState state{w.settings,     w.view,    w.natal, w.event,
                                      w.progressions, w.aspects, format};
    const exporting::ExportInput input = exporting::MakePageInput(page, state, choices, heading);
    exporting::ExportResult result;
    try {
        result = exporting::ExportRtf(input, options.out);
    } catch (const std::runtime_error &e) {
        throw CommandError(e.what());
    }
    if (!result.written)
        throw CommandError(result.message);
    if (WantsJson(ctx, options.analysis.chart.format))
        WriteJson(ctx, {{"file", options.out}, {"page", options.page}});
    else
        ctx.out << options.out << "\n";
}

void AddRtf(CLI::App &app, RunContext &ctx) {
    auto *sub =
        app.add_subcommand("rtf", "Export a page (wheel, aspect table or lists, progressions, speculum, "
                                  "diagrams) as an RTF document");
    auto options = std::make_shared<RtfOptions>();
    AddAnalysisOptions(*sub, options->analysis);
    std::vector<std::string> pages;
    for (const auto &entry : kPages)
        pages.push_back(entry.first);
    sub->add_option(
           "--page", options->page,
           "rueda, tabla, listado, natal, progresiones, speculum or diagramas (resumen has no export)")
        ->required()
        ->check(CLI::IsMember(pages));
    sub->add_option("--out", options->out, "RTF file to write (replaced when it exists)")->required();
    sub->add_option("--inner", options->inner,
                    std::string("Inner item of the wheel (default 1): ") + kItemHelp)
        ->type_name("ITEM")
        ->each([o = options.get()](const std::string &) { o->innerGiven = true; });
    sub->add_option("--outer", options->outer, "Outer item: a double wheel (\"Doble\")")->type_name("ITEM");
    sub->add_flag("--percent", options->percent, "Aspect table: show the strengths (\"%\")");
    sub->add_option("--model", options->model, "Natal list: ecl (\"R. Ecl.\", default) or asc (\"R. Asc.\")")
        ->check(CLI::IsMember({"ecl", "asc"}));
    sub->add_flag("--ambos", options->ambos, "Natal list: both models (\"ambos\")");
    sub->add_option("--house", options->house,
                    "Natal list by houses for this house (1..12); manual without it")
        ->transform(WholeIn(1, 12));
    sub->add_option("--graph", options->graph, "Diagrams: histograma (default) or pastel")
        ->check(CLI::IsMember({"histograma", "pastel"}));
    sub->add_option("--graph-items", options->graphItems, "Diagrams: the two chart items, default 1,2")
        ->type_name("A,B");
    sub->add_option("--ppi", options->ppi, "Screen resolution in pixels per inch (default 96)")
        ->check(CLI::Range(24, 1200));
    sub->add_option("--preview-ppi", options->previewPpi,
                    "Print preview resolution; 120 or more gives 765-pixel pictures (default: --ppi)")
        ->check(CLI::Range(24, 1200));
    sub->add_option("--natal-name", options->natalName, "Name and surname shown after \"Natal: \"");
    sub->add_option("--event-name", options->eventName, "Label of the event (default \"Evento\")");
    sub->add_option("--place", options->place, "Natal place name for the heading");
    sub->add_option("--country", options->country, "Natal country for the heading");
    sub->footer(
        "Example:\n  celestigrafo-cli rtf --page rueda --out rueda.rtf --date 1979-10-17 --time 12:30 "
        "--tz -5 --lon 76.5225W --lat 3.43722N --natal-name \"Ana Pérez\" --place Cali --country Colombia");
    sub->callback([options, &ctx] { RunRtf(*options, ctx); });
}

const bool registered = RegisterCommand("rtf", AddRtf);

} // namespace
} // namespace cel::cli
