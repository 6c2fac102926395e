// "chart": one chart from birth data, as a table or as JSON.
#include "chart_cli.h"
#include "session/birth_time.h"

namespace cel::cli {

namespace {

void AddChart(CLI::App &app, RunContext &ctx) {
    auto *sub =
        app.add_subcommand("chart", "Compute a chart: positions, houses, mundane positions and cusps");
    auto options = std::make_shared<ChartCommandOptions>();
    AddChartOptions(*sub, *options);
    sub->footer(
        "Example (Cali, 17 October 1979, 12:30 local time, zone -5):\n"
        "  celestigrafo-cli chart --date 1979-10-17 --time 12:30 --tz -5 --lon 76.5225W --lat 3.43722N\n"
        "  celestigrafo-cli chart --date 2000-01-01 --time 12:00 --gmt --lat 51.4772 --format json\n"
        "  celestigrafo-cli chart --db personas.age --person \"Ana María Pérez\"\n"
        "Zone history (Madrid, 10 July 1990, 19:07 on the clocks, then UTC+2):\n"
        "  celestigrafo-cli chart --date 1990-07-10 --time 19:07 --place \"Madrid, ES\"\n"
        "  celestigrafo-cli chart --date 1990-07-10 --time 19:07 --zone auto --lon 3.7026W --lat 40.4165N\n");
    sub->callback([options, &ctx] {
        if (!HasBirth(options->natal))
            UsageError(
                "--date is required: expected YYYY-MM-DD (e.g. 1979-10-17), or --db FILE --person NAME");
        ChartSession session = MakeSession(*options, ctx);
        SetUpBirth(session, options->natal, nullptr, options->noDeltaT, session::ChartSide::Natal);
        const session::Workspace &w = session.workspace;
        const bool timeUnknown = session::NatalTimeUnknown(w);
        const auto *zone = session.natalZone ? &*session.natalZone : nullptr;
        if (WantsJson(ctx, options->format)) {
            nlohmann::json chart = ChartJson(w.natalRecord, w.natal, zone);
            chart["time_unknown"] = timeUnknown;
            WriteJson(ctx, chart);
        } else {
            // A birth without its time is charted at 0:00; the first line says so.
            if (timeUnknown)
                ctx.out << "Hora:        " << session::kTimeUnknownMark << " (carta a las 0:00 locales)\n";
            ctx.out << ChartText(w.natalRecord, w.natal, session.format, zone);
        }
    });
}

const bool registered = RegisterCommand("chart", AddChart);

} // namespace
} // namespace cel::cli
