#include "page_cli.h"

#include <array>
#include <map>

#include "document/workspace_page.h"
#include "option_checks.h"
#include "picture_output.h"
#include "wheel_choices.h"

namespace cel::cli {

namespace {

const std::map<std::string, document::PageKind> kPages{
    {"rueda", document::PageKind::Rueda},
    {"tabla", document::PageKind::Tabla},
    {"listado", document::PageKind::Listado},
    {"natal", document::PageKind::Natal},
    {"progresiones", document::PageKind::Progresiones},
    {"speculum", document::PageKind::Speculum},
    {"resumen", document::PageKind::Resumen},
    {"diagramas", document::PageKind::Diagramas},
};

std::pair<int, int> ParseItemPair(const std::string &text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos)
        UsageError("--graph-items: '" + text + "' is not two items: expected A,B (e.g. 1,2)");
    return {ParseItem(text.substr(0, comma), "--graph-items"),
            ParseItem(text.substr(comma + 1), "--graph-items")};
}

} // namespace

document::PageKind PageKindOf(const std::string &name) {
    const auto found = kPages.find(name);
    if (found == kPages.end())
        UsageError("--page: '" + name + "' is not a page");
    return found->second;
}

void AddPageOptions(CLI::App &sub, PageOptions &options, const std::string &pageHelp) {
    // The heading's place comes first: the birth options then name the atlas place "--atlas-place".
    sub.add_option("--place", options.place, "Natal place name for the heading");
    sub.add_option("--country", options.country, "Natal country for the heading");
    AddAnalysisOptions(sub, options.analysis);
    std::vector<std::string> pages;
    for (const auto &entry : kPages)
        pages.push_back(entry.first);
    sub.add_option("--page", options.page, pageHelp)->required()->check(CLI::IsMember(pages));
    sub.add_option("--inner", options.inner, std::string("Inner item of the wheel (default 1): ") + kItemHelp)
        ->type_name("ITEM")
        ->each([o = &options](const std::string &) { o->innerGiven = true; });
    sub.add_option("--outer", options.outer, "Outer item: a double wheel (\"Doble\")")->type_name("ITEM");
    sub.add_flag("--percent", options.percent, "Aspect table: show the strengths (\"%\")");
    sub.add_option("--model", options.model, "Natal list: ecl (\"R. Ecl.\", default) or asc (\"R. Asc.\")")
        ->check(CLI::IsMember({"ecl", "asc"}));
    sub.add_flag("--ambos", options.ambos, "Natal list: both models (\"ambos\")");
    sub.add_option("--house", options.house, "Natal list by houses for this house (1..12); manual without it")
        ->transform(WholeIn(1, 12));
    sub.add_option("--graph", options.graph, "Diagrams: histograma (default) or pastel")
        ->check(CLI::IsMember({"histograma", "pastel"}));
    sub.add_option("--summary-item", options.summaryItem, "Summary: the chart item (default 1)")
        ->type_name("ITEM");
    sub.add_option("--graph-items", options.graphItems, "Diagrams: the two chart items, default 1,2")
        ->type_name("A,B");
    sub.add_option("--ppi", options.ppi, "Screen resolution in pixels per inch (default 96)")
        ->check(CLI::Range(24, 1200));
    sub.add_option("--preview-ppi", options.previewPpi,
                   "Print preview resolution; 120 or more gives 765-pixel pictures (default: --ppi)")
        ->check(CLI::Range(24, 1200));
    sub.add_option("--families", options.families,
                   "Aspect families drawn and listed: pp, pc, cp, cc separated by commas (default pp)");
    sub.add_option("--min-strength", options.minStrength,
                   "Minimum aspect strength in percent (\"Fuerza (%):\")")
        ->check(CLI::Range(0, 100));
    sub.add_flag("--by-signs", options.bySigns, "Align a double wheel by signs instead of by Ascendant");
    sub.add_flag("--inner-only", options.innerOnly,
                 "\"1 Rueda\": one full wheel with the outer item's bodies around it (with --outer)");
    sub.add_option("--natal-name", options.natalName, "Name and surname shown after \"Natal: \"");
    sub.add_option("--event-name", options.eventName, "Label of the event (default \"Evento\")");
}

void WithPageContent(
    const PageOptions &options, RunContext &ctx,
    const std::function<void(const document::PageContent &content, const ChartSession &session)> &use) {
    const document::PageKind page = PageKindOf(options.page);
    if (options.innerOnly && options.outer.empty())
        UsageError("--inner-only needs --outer: it draws the outer item's bodies around the inner wheel");
    if (!options.outer.empty() && !options.innerGiven)
        UsageError("--outer needs --inner: expected both items of the double wheel");
    const int inner = options.innerGiven ? ParseItem(options.inner, "--inner") : 1;
    const bool doubleWheel = !options.outer.empty();
    const int outer = doubleWheel ? ParseItem(options.outer, "--outer") : inner;
    const auto [graphA, graphB] = ParseItemPair(options.graphItems);
    const int summaryItem = ParseItem(options.summaryItem, "--summary-item");
    const bool needEvent = chart::NeedsEventChart(inner) || chart::NeedsEventChart(outer) ||
                           page == document::PageKind::Progresiones ||
                           (page == document::PageKind::Diagramas && (graphA > 2 || graphB > 2)) ||
                           (page == document::PageKind::Resumen && summaryItem > 2);
    ChartSession session = ComputeAnalysis(options.analysis, ctx, needEvent);
    session::Workspace &w = session.workspace;

    settings::RecVistaCarta &view = w.choices;
    view.innerItem = static_cast<std::uint8_t>(inner);
    view.outerItem = static_cast<std::uint8_t>(outer);
    view.wheelMode = doubleWheel ? settings::kDoubleWheel : settings::kSingleWheel;
    view.aspectMode = options.house > 0 ? settings::AspectMode::ByHouse : settings::AspectMode::Manual;
    view.autoSources.fill(true); // "Regente", "Cuspide" and "Ocupantes" blocks of the by-house list
    // The aspects the screen would show with the same choices.
    view.aspectFamilies = ParseFamilies(options.families);
    view.strengthFilter = options.minStrength;
    view.equaliseBySigns = options.bySigns;
    view.innerWheelOnly = doubleWheel && options.innerOnly;
    view.noProjectedHouses = true;
    view.pointSelection.fill(true);
    view.cuspSelection.fill(true);
    view.angleSelection.fill(true);
    if (options.house > 0) {
        // "Por casas": the chosen house is the one cusp ticked.
        view.cuspSelection = {};
        view.cuspSelection[static_cast<std::size_t>(options.house)] = true;
    }
    w.Recompute();

    document::HeadingNames given{options.natalName, options.eventName, options.place, options.country,
                                 !options.analysis.event.person.empty()};
    const document::HeadingNames names =
        session.hasDb ? document::NamesFromDatabase(w, given, !options.analysis.event.person.empty()) : given;
    const document::PageHeading heading = document::MakeHeading(w, names);

    document::PageChoices choices;
    choices.showStrength = options.percent;
    choices.natalAscensional = options.model == "asc";
    choices.ambos = options.ambos;
    choices.house = options.house;
    choices.graphKind = options.graph == "pastel" ? graphics::GraphKind::Pie : graphics::GraphKind::Histogram;
    choices.graphItemA = graphA;
    choices.graphItemB = graphB;
    choices.summaryItem = summaryItem;
    choices.ppi = options.ppi;
    choices.previewPpi = options.previewPpi > 0 ? options.previewPpi : options.ppi;

    EnsureGuiApplication();
    const document::ChartState state = document::StateOf(w);
    const document::PageContent content = document::MakePageContent(page, state, choices, heading);
    use(content, session);
}

} // namespace cel::cli
