// "table": one analysis grid (aspect table, detail, list, natal list, speculum, summaries) filled as the
// main window fills it, printed cell by cell.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <memory>
#include <sstream>

#include "analysis_cli.h"
#include "option_checks.h"

namespace cel::cli {

namespace {

struct TableOptions {
    AnalysisOptions analysis;
    std::string type;
    std::string inner = "1";
    std::string outer = "3";
    std::string wheel = "simple";
    std::string families = "all";
    std::string bodies = "all";
    std::string cusps = "all";
    std::string angles = "all";
    int minStrength = 0;
    bool dispositorFilter = false;
    bool ambos = false;
    std::string model = "ecl";
    bool byHouse = false;
    int house = 0;
    std::string sources = "R,C,O";
    std::string cell;
    std::string item = "1";
    std::string speculumChart = "natal";
    int columns = 6;
    bool positions = false;
};

const char *const kTypes[] = {"tabla", "detalle", "listado", "natal", "speculum", "resumen1", "resumen2"};

std::vector<std::string> SplitList(const std::string &text) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, ','))
        if (!part.empty())
            parts.push_back(part);
    return parts;
}

// A selection of numbers 1..count: "all", "none", or a comma list of numbers (or names when given).
template <std::size_t N>
std::array<bool, N> ParseSelection(const std::string &text, int count, const std::string &option,
                                   const char *const *names = nullptr) {
    std::array<bool, N> selection{};
    const std::string lower = AsciiLower(text);
    if (lower == "all") {
        for (int i = 1; i <= count; ++i)
            selection[static_cast<std::size_t>(i)] = true;
        return selection;
    }
    if (lower == "none")
        return selection;
    for (const std::string &part : SplitList(text)) {
        int n = 0;
        const auto [ptr, ec] = std::from_chars(part.data(), part.data() + part.size(), n);
        if (ec != std::errc() || ptr != part.data() + part.size()) {
            n = 0;
            for (int i = 1; names != nullptr && i <= count; ++i)
                if (AsciiLower(part) == AsciiLower(names[i]))
                    n = i;
        }
        if (n < 1 || n > count)
            UsageError(option + ": '" + part + "' is not one of 1.." + std::to_string(count) +
                       (names != nullptr ? " or a name" : "") +
                       ": expected a comma list, \"all\" or \"none\"");
        selection[static_cast<std::size_t>(n)] = true;
    }
    return selection;
}

std::array<bool, 4> ParseFamilies(const std::string &text) {
    const char *names[] = {"", "PP", "PC", "CP", "CC"};
    std::string normal;
    for (char c : text)
        if (c != '/')
            normal += c;
    const auto selection = ParseSelection<5>(normal, 4, "--families", names);
    return {selection[1], selection[2], selection[3], selection[4]};
}

std::array<bool, 3> ParseSources(const std::string &text) {
    const char *names[] = {"", "R", "C", "O"};
    const auto selection = ParseSelection<4>(text, 3, "--sources", names);
    return {selection[1], selection[2], selection[3]};
}

std::pair<int, int> ParseCell(const std::string &text) {
    const std::vector<std::string> parts = SplitList(text);
    int a = 0, b = 0;
    if (parts.size() == 2) {
        std::from_chars(parts[0].data(), parts[0].data() + parts[0].size(), a);
        std::from_chars(parts[1].data(), parts[1].data() + parts[1].size(), b);
    }
    if (a < 1 || a > 24 || b < 1 || b > 24)
        UsageError("--cell: '" + text +
                   "' is not a table cell: expected COLUMN,ROW with both in 1..24 "
                   "(1..12 the bodies, 13..24 the cusps)");
    return {a, b};
}

int CountWritten(const analysis::TextGrid &before, const analysis::TextGrid &after) {
    int count = 0;
    for (int r = 0; r < after.RowCount(); ++r)
        for (int c = 0; c < after.ColumnCount(); ++c)
            if (!after.At(r, c).empty() && after.At(r, c) != before.Text(r, c))
                ++count;
    return count;
}

void Run(const TableOptions &o, RunContext &ctx) {
    const std::string type = AsciiLower(o.type);
    if (std::find(std::begin(kTypes), std::end(kTypes), type) == std::end(kTypes))
        UsageError("--type: '" + o.type +
                   "': expected tabla, detalle, listado, natal, speculum, resumen1 or resumen2");
    const std::string wheel = AsciiLower(o.wheel);
    if (wheel != "simple" && wheel != "doble")
        UsageError("--wheel: '" + o.wheel + "': expected simple or doble");
    const std::string model = AsciiLower(o.model);
    if (model != "ecl" && model != "asc")
        UsageError("--model: '" + o.model + "': expected ecl (\"R. Ecl.\") or asc (\"R. Asc.\")");
    const std::string which = AsciiLower(o.speculumChart);
    if (which != "natal" && which != "event")
        UsageError("--chart: '" + o.speculumChart + "': expected natal or event");
    if (o.byHouse && (o.house < 1 || o.house > 12))
        UsageError("--by-house needs --house H: expected the chosen house 1..12");

    const bool doubleWheel = wheel == "doble";
    const int inner = ParseItem(o.inner, "--inner");
    const int outer = ParseItem(o.outer, "--outer");
    const int summaryItem = ParseItem(o.item, "--item");
    const bool aspectGrid = type == "tabla" || type == "detalle" || type == "listado";
    bool needEvent = false;
    if (aspectGrid)
        needEvent = chart::NeedsEventChart(inner) || (doubleWheel && chart::NeedsEventChart(outer));
    else if (type == "speculum")
        needEvent = which == "event";
    else if (type == "resumen1" || type == "resumen2")
        needEvent = chart::NeedsEventChart(summaryItem);
    std::pair<int, int> cell{0, 0};
    if (type == "detalle") {
        if (o.cell.empty())
            UsageError("--cell is required with --type detalle: expected COLUMN,ROW with both in 1..24");
        cell = ParseCell(o.cell);
    }

    ChartSession session = ComputeAnalysis(o.analysis, ctx, needEvent);
    session::Workspace &w = session.workspace;
    const settings::Settings &s = w.settings;
    const auto &items = w.progressions.items;

    // The view choices as the main window's controls make them.
    settings::RecVistaCarta &choices = w.choices;
    choices.innerItem = static_cast<std::uint8_t>(inner);
    choices.outerItem = static_cast<std::uint8_t>(outer);
    choices.wheelMode = doubleWheel ? settings::kDoubleWheel : settings::kSingleWheel;
    choices.aspectMode = o.byHouse ? settings::AspectMode::ByHouse : settings::AspectMode::Manual;
    choices.aspectFamilies = ParseFamilies(o.families);
    choices.autoSources = ParseSources(o.sources);
    choices.strengthFilter = o.minStrength;
    choices.pointSelection = ParseSelection<13>(o.bodies, 12, "--bodies", chart::kBodyNames.data());
    choices.cuspSelection = ParseSelection<13>(o.cusps, 12, "--cusps");
    if (AsciiLower(o.angles) == "p") {
        choices.angleSelection = {};
        for (int k = 1; k <= analysis::kAspectKindCount; ++k)
            choices.angleSelection[static_cast<std::size_t>(k)] =
                analysis::kAspectKinds[static_cast<std::size_t>(k)].main;
    } else {
        choices.angleSelection = ParseSelection<14>(o.angles, 13, "--angles");
    }
    if (o.byHouse) {
        // "Por casas": one cusp chosen; the refresh chooses its bodies from the inner item.
        choices.cuspSelection = {};
        choices.cuspSelection[static_cast<std::size_t>(o.house)] = true;
    }
    choices.dispositorFilter = o.dispositorFilter;
    w.Recompute();
    const settings::RecVistaCarta &view = w.view;
    const analysis::AspectLists &lists = w.aspects;
    const int house = w.currentHouse;

    analysis::TextGrid grid;
    int count = 0;
    bool aspectCount = true;
    const analysis::TableLists t = analysis::SelectTableLists(view, lists);
    const analysis::NatalModel natalModel =
        model == "asc" ? analysis::NatalModel::Ascensional : analysis::NatalModel::Ecliptic;
    if (type == "tabla") {
        analysis::SetUpAspectTable(grid, view, o.positions);
        count =
            analysis::FillAspectTable(grid, doubleWheel, *t.bodies, *t.bodyCusp, t.cuspBody, *t.cusps, view);
    } else if (type == "listado") {
        analysis::SetUpList(grid, o.columns);
        count = analysis::FillAspectList(grid, t.source, *t.bodies, *t.bodyCusp, t.cuspBody, *t.cusps, view);
    } else if (type == "natal") {
        analysis::SetUpList(grid, o.columns);
        if (o.byHouse)
            count = analysis::FillNatalByHouse(
                grid,
                items[natalModel == analysis::NatalModel::Ecliptic ? chart::kNatalEcliptic
                                                                   : chart::kNatalAscensional],
                natalModel, o.ambos, house, lists, view, s.dignity);
        else
            count = analysis::FillNatalManual(grid, o.ambos, natalModel, lists, view);
    } else {
        aspectCount = false;
        if (type == "detalle")
            analysis::SetUpAspectDetail(grid, view);
        else if (type == "speculum")
            analysis::SetUpSpeculum(grid);
        else if (type == "resumen1")
            analysis::SetUpBodySummary(grid);
        else
            analysis::SetUpDistribution(grid, s.txt);
        const analysis::TextGrid before = grid;
        if (type == "detalle")
            analysis::FillAspectDetail(grid, doubleWheel, cell.first, cell.second, lists, view);
        else if (type == "speculum")
            analysis::FillChartData(grid, which == "event" ? w.event : w.natal, session.format);
        else if (type == "resumen1")
            analysis::FillBodySummary(grid, items[static_cast<std::size_t>(summaryItem)], s.dignity);
        else
            analysis::FillDistributionGrid(grid, items[static_cast<std::size_t>(summaryItem)], s.points,
                                           session.format);
        count = CountWritten(before, grid);
    }

    if (WantsJson(ctx, o.analysis.chart.format)) {
        WriteJson(ctx, {{"cells", grid.Rows()}, {"count", count}});
        return;
    }
    std::ostringstream out;
    for (const std::vector<std::string> &row : grid.Rows()) {
        for (std::size_t c = 0; c < row.size(); ++c)
            out << (c == 0 ? "" : "\t") << row[c];
        out << "\n";
    }
    if (aspectCount)
        out << "Asp: " << count << "\n";
    ctx.out << out.str();
}

void AddTable(CLI::App &app, RunContext &ctx) {
    auto *sub =
        app.add_subcommand("table", "One analysis grid filled as the main window fills it: the aspect "
                                    "table, its detail, the lists, the speculum or the summaries");
    auto o = std::make_shared<TableOptions>();
    AddAnalysisOptions(*sub, o->analysis);
    sub->add_option("--type", o->type, "tabla, detalle, listado, natal, speculum, resumen1 or resumen2")
        ->required()
        ->type_name("TYPE");
    sub->add_option("--inner", o->inner, std::string("Inner item (\"Int:\", default 1): ") + kItemHelp)
        ->type_name("ITEM");
    sub->add_option("--outer", o->outer, "Outer item (\"Ext:\", default 3) for a double wheel")
        ->type_name("ITEM");
    sub->add_option("--wheel", o->wheel, "simple (default) or doble");
    sub->add_option(
        "--families", o->families,
        "Aspect families: comma list of PP, PC, CP, CC (\"P/P\" ..), \"all\" (default) or \"none\"");
    sub->add_option("--bodies", o->bodies,
                    "Body selection: comma list of 1..12 or Sol..Rue, \"all\" (default) or \"none\"");
    sub->add_option("--cusps", o->cusps,
                    "Cusp selection: comma list of 1..12, \"all\" (default) or \"none\"");
    sub->add_option("--angles", o->angles,
                    "Angle selection: comma list of the kinds 1..13 (0°..180°), \"P\" (principal), \"all\" "
                    "(default) or \"none\"");
    sub->add_option("--min-strength", o->minStrength,
                    "Minimum strength in percent (\"Fuerza (%):\", default 0)")
        ->check(CLI::Range(0, 100));
    sub->add_flag("--disp", o->dispositorFilter,
                  "Only aspects under dispositor control (\"disp.\"; single wheel with item 1 only)");
    sub->add_flag("--ambos", o->ambos, "Natal list: both natal items (\"ambos\")");
    sub->add_option("--model", o->model, "Natal list: ecl (\"R. Ecl.\", default) or asc (\"R. Asc.\")");
    sub->add_flag("--by-house", o->byHouse, "Aspects chosen by house (\"Por casas\"); needs --house");
    sub->add_option("--house", o->house, "The chosen house 1..12 with --by-house")->transform(WholeIn(1, 12));
    sub->add_option("--sources", o->sources,
                    "With --by-house: comma list of R (ruler), C (cusp), O (occupants); default all");
    sub->add_option("--cell", o->cell,
                    "With --type detalle: the selected table cell COLUMN,ROW (1..24 each)");
    sub->add_option("--item", o->item, "Chart item of the summaries (default 1)")->type_name("ITEM");
    sub->add_option("--chart", o->speculumChart, "Speculum of the natal (default) or the event chart");
    sub->add_option("--columns", o->columns, "Cells per row of listado and natal (default 6)")
        ->check(CLI::Range(1, 1000));
    sub->add_flag("--positions", o->positions, "Aspect table with the position column(s) (\"pos\")");
    sub->footer(
        "JSON: {\"cells\": [[row 0 cells], ...], \"count\": N}; the count is the builder's (\"Asp: \") for "
        "tabla, listado and natal, otherwise the number of cells the builder wrote.\nExample:\n"
        "  celestigrafo-cli table --type tabla --date 1979-10-17 --time 12:30 --tz -5 --lon 76.5225W "
        "--lat 3.43722N --format json");
    sub->callback([o, &ctx] { Run(*o, ctx); });
}

const bool registered = RegisterCommand("table", AddTable);

} // namespace
} // namespace cel::cli
