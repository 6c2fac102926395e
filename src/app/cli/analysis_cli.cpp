#include "analysis_cli.h"
#include "option_checks.h"

#include <charconv>
#include <cstdlib>

namespace cel::cli {

const char *const kItemHelp = "1..9 or the item's name: 1 \"Natal Eclíptica\", 2 \"Natal Ascensional\", "
                              "3 \"Trán. Eclíptico\", 4 \"Trán. Ascensional\", 5 \"DP Directa\", "
                              "6 \"DP Conversa\", 7 \"Dir Secundaria\", 8 \"Arco Solar\", 9 \"ProLuna\"";

void AddAnalysisOptions(CLI::App &sub, AnalysisOptions &options) {
    AddChartOptions(sub, options.chart);
    AddBirthOptions(sub, options.event, "event-", DateOptions::Required);
    AddPersonOption(sub, options.event, "event-");
    sub.add_option("--orb-mode", options.orbMode,
                   "Orbs of the item pair: 1..8 the orb presets, 9 \"M. Ecl.\" (default), 10 \"M. Asc.\"")
        ->transform(WholeIn(1, 10));
    sub.add_flag("--calc,!--no-calc", options.computeDispositors,
                 "Compute the dispositor lists (\"calc\", default on)");
}

int ParseItem(const std::string &text, const std::string &option) {
    int value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc() && ptr == text.data() + text.size() && value >= 1 && value <= 9)
        return value;
    for (int i = 1; i <= 9; ++i)
        if (text == chart::kItemNames[static_cast<std::size_t>(i)])
            return i;
    UsageError(option + ": '" + text + "' is not a chart item: expected " + kItemHelp);
}

ChartSession ComputeAnalysis(const AnalysisOptions &options, const RunContext &ctx, bool needEvent) {
    if (!HasBirth(options.chart.natal))
        UsageError("--date is required: expected YYYY-MM-DD (e.g. 1979-10-17), or --db FILE --person NAME");
    if (needEvent && !HasBirth(options.event))
        UsageError("--event-date is required for the items 3..9 and the event chart: expected YYYY-MM-DD "
                   "(e.g. 2024-10-17), or --event-person NAME");
    ChartSession session = MakeSession(options.chart, ctx);
    session::Workspace &w = session.workspace;
    const bool noDeltaT = options.chart.noDeltaT;
    SetUpBirth(session, options.chart.natal, nullptr, noDeltaT, session::ChartSide::Natal);
    session.hasEvent = HasBirth(options.event);
    if (session.hasEvent) {
        SetUpBirth(session, options.event, &w.natalRecord, noDeltaT, session::ChartSide::Event);
    } else {
        w.eventRecord = w.natalRecord;
        w.event = w.natal;
    }
    w.orbMode = options.orbMode;
    w.choices.computeDispositors = options.computeDispositors;
    return session;
}

nlohmann::json FloatJson(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::strtod(std::string(buffer, result.ptr).c_str(), nullptr);
}

} // namespace cel::cli
