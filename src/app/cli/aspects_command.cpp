// "aspects": the natal aspect lists with their dispositor lists, or the aspect lists of an item pair.
#include <cstdio>
#include <memory>
#include <sstream>

#include "analysis_cli.h"

#include "common/number_text.h"

namespace cel::cli {

namespace {

struct AspectsOptions {
    AnalysisOptions analysis;
    std::string inner;
    std::string outer;
};

nlohmann::json AspectJson(const analysis::TAspReg &r) {
    return {{"key", r.key},
            {"kind", r.kind},
            {"arc", FloatJson(r.arc)},
            {"strength", FloatJson(r.strength)},
            {"dispositor", r.dispositorMark}};
}

nlohmann::json ListJson(const analysis::AspectList &list) {
    nlohmann::json out = nlohmann::json::array();
    for (const analysis::TAspReg &r : list)
        out.push_back(AspectJson(r));
    return out;
}

nlohmann::json DispositorsJson(const analysis::DispositorList &list) {
    nlohmann::json out = nlohmann::json::array();
    for (const analysis::TDispReg &r : list)
        out.push_back({{"controlled_key", r.controlledKey},
                       {"dispositor_key", r.dispositorKey},
                       {"controlled_kind", r.controlledKind},
                       {"kind", r.kind},
                       {"arc", FloatJson(r.arc)},
                       {"strength", FloatJson(r.strength)}});
    return out;
}

std::string Number(float value, const TextFormat &format) {
    return FormatFixed(static_cast<double>(value), 2, format.decimalSeparator);
}

void ListText(std::ostream &out, const char *title, const analysis::AspectList &list,
              const TextFormat &format) {
    out << title << " (" << list.size() << ")\n";
    for (const analysis::TAspReg &r : list) {
        out << "  " << r.key << "  " << static_cast<int>(r.kind) << " "
            << analysis::kAspectKinds[r.kind].label << "  arco " << Number(r.arc, format) << "  fuerza "
            << Number(r.strength, format) << (r.dispositorMark ? "  d" : "") << "\n";
    }
}

void DispositorsText(std::ostream &out, const char *title, const analysis::DispositorList &list,
                     const TextFormat &format) {
    out << title << " (" << list.size() << ")\n";
    for (const analysis::TDispReg &r : list) {
        out << "  " << r.controlledKey << " (" << static_cast<int>(r.controlledKind) << ")  "
            << r.dispositorKey << "  " << static_cast<int>(r.kind) << " "
            << analysis::kAspectKinds[r.kind].label << "  arco " << Number(r.arc, format) << "  fuerza "
            << Number(r.strength, format) << "\n";
    }
}

void AddAspects(CLI::App &app, RunContext &ctx) {
    auto *sub =
        app.add_subcommand("aspects", "The natal ecliptic and ascensional aspect lists with the dispositor "
                                      "lists, or the aspect lists of an item pair");
    auto options = std::make_shared<AspectsOptions>();
    AddAnalysisOptions(*sub, options->analysis);
    sub->add_option("--inner", options->inner, std::string("Inner item of the pair: ") + kItemHelp)
        ->type_name("ITEM");
    sub->add_option(
           "--outer", options->outer,
           "Outer item of the pair (a double wheel: both orders and equal numbers are kept); without it "
           "the inner item is paired with itself")
        ->type_name("ITEM");
    sub->footer(
        "Without --inner the natal lists are shown (orb modes 9 and 10); the event options are needed "
        "for the items 3..9.\nExample:\n"
        "  celestigrafo-cli aspects --date 1979-10-17 --time 12:30 --tz -5 --lon 76.5225W --lat 3.43722N\n"
        "  celestigrafo-cli aspects --date 1979-10-17 --time 12:30 --tz -5 --lon 76.5225W --lat 3.43722N "
        "--event-date 2024-10-17 --inner 1 --outer 3 --format json");
    sub->callback([options, &ctx] {
        if (!options->outer.empty() && options->inner.empty())
            UsageError("--outer needs --inner: expected both items of the pair");
        const bool pair = !options->inner.empty();
        const int inner = pair ? ParseItem(options->inner, "--inner") : 1;
        const int outer = options->outer.empty() ? inner : ParseItem(options->outer, "--outer");
        ChartSession session = ComputeAnalysis(
            options->analysis, ctx, pair && (chart::NeedsEventChart(inner) || chart::NeedsEventChart(outer)));
        session::Workspace &w = session.workspace;
        w.Recompute(); // the natal lists
        const auto &items = w.progressions.items;
        analysis::AspectLists &lists = w.aspects;
        const bool cross = !options->outer.empty();
        if (pair) {
            // The lists of exactly the pair asked for, items 1 and 2 with themselves included.
            analysis::BuildPairAspects(lists, items[static_cast<std::size_t>(inner)],
                                       items[static_cast<std::size_t>(outer)], w.orbMode, cross,
                                       w.settings.orbs);
        }
        if (WantsJson(ctx, options->analysis.chart.format)) {
            nlohmann::json out;
            if (pair) {
                out = {{"inner", inner},
                       {"outer", outer},
                       {"double_wheel", cross},
                       {"orb_mode", options->analysis.orbMode},
                       {"bodies", ListJson(lists.pairBodies)},
                       {"body_cusp", ListJson(lists.pairBodyCusp)},
                       {"cusp_body", ListJson(lists.pairCuspBody)},
                       {"cusps", ListJson(lists.pairCusps)}};
            } else {
                out = {{"ecliptic",
                        {{"bodies", ListJson(lists.eclipticBodies)},
                         {"body_cusp", ListJson(lists.eclipticBodyCusp)},
                         {"cusps", ListJson(lists.eclipticCusps)}}},
                       {"ascensional",
                        {{"bodies", ListJson(lists.ascensionalBodies)},
                         {"body_cusp", ListJson(lists.ascensionalBodyCusp)},
                         {"cusps", ListJson(lists.ascensionalCusps)}}},
                       {"dispositors",
                        {{"bodies", DispositorsJson(lists.dispositorBodies)},
                         {"body_cusp", DispositorsJson(lists.dispositorBodyCusp)}}}};
            }
            WriteJson(ctx, out);
            return;
        }
        std::ostringstream out;
        const TextFormat &f = session.format;
        if (pair) {
            out << "Int: " << chart::kItemNames[static_cast<std::size_t>(inner)]
                << "  Ext: " << chart::kItemNames[static_cast<std::size_t>(outer)] << "  orbes "
                << options->analysis.orbMode << "\n";
            ListText(out, "Planeta-planeta", lists.pairBodies, f);
            ListText(out, "Planeta-cúspide", lists.pairBodyCusp, f);
            ListText(out, "Cúspide-planeta", lists.pairCuspBody, f);
            ListText(out, "Cúspide-cúspide", lists.pairCusps, f);
        } else {
            ListText(out, "Eclíptica planeta-planeta", lists.eclipticBodies, f);
            ListText(out, "Eclíptica planeta-cúspide", lists.eclipticBodyCusp, f);
            ListText(out, "Eclíptica cúspide-cúspide", lists.eclipticCusps, f);
            ListText(out, "Ascensional planeta-planeta", lists.ascensionalBodies, f);
            ListText(out, "Ascensional planeta-cúspide", lists.ascensionalBodyCusp, f);
            ListText(out, "Ascensional cúspide-cúspide", lists.ascensionalCusps, f);
            DispositorsText(out, "Dispositores planeta-planeta", lists.dispositorBodies, f);
            DispositorsText(out, "Dispositores planeta-cúspide", lists.dispositorBodyCusp, f);
        }
        ctx.out << out.str();
    });
}

const bool registered = RegisterCommand("aspects", AddAspects);

} // namespace
} // namespace cel::cli
