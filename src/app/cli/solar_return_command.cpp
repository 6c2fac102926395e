// "solar-return": the instant of a year at which the Sun returns to its natal longitude, and the chart of
// that instant.
#include <cstdio>
#include <sstream>

#include "astronomy/angle_text.h"

#include "chart_cli.h"
#include "common/number_text.h"

namespace cel::cli {

namespace {

using astronomy::AngleLayout;
using astronomy::AngleSuffix;
using astronomy::FormatAngle;
using astronomy::FormatSignPosition;
using chart::Real;

struct SolarReturnCommandOptions {
    ChartCommandOptions chart;
    BirthOptions event; // only the place and the GMT flag are used
    int year = 0;
    std::string natalSun = "apparent";
    std::string eventSun = "apparent";
    bool equationOfTime = false;
};

chart::SunKind SunKindOf(const std::string &text) {
    return text == "true" ? chart::SunKind::True : chart::SunKind::Apparent;
}

CLI::Validator SunCheck() {
    return CLI::Validator(
        [](const std::string &value) -> std::string {
            return value == "apparent" || value == "true" ? std::string()
                                                          : "'" + value +
                                                                "' is not valid: expected apparent (\"Sol "
                                                                "Aparente\") or true (\"Sol Verdadero\")";
        },
        "", "");
}

std::string Fixed(Real value, const TextFormat &format) {
    return FormatFixed(static_cast<double>(value), 10, format.decimalSeparator, 2);
}

// The label text of a solar longitude: the angle, the angle in its sign with the sign, the value.
std::string SunText(Real v, const TextFormat &format) {
    const int s = static_cast<int>(v) / 30;
    return FormatAngle(360, 0, AngleSuffix::None, AngleLayout::DegreesMinutesSeconds, v, format) + "   " +
           FormatSignPosition(0, AngleLayout::DegreesMinutesSeconds, v - 30 * s, format) +
           chart::kSignNames[s % 12 + 1] + "   " + Fixed(v, format);
}

void AddSolarReturn(CLI::App &app, RunContext &ctx) {
    auto *sub = app.add_subcommand("solar-return",
                                   "Find the solar return of a year and compute its chart (the event chart)");
    auto options = std::make_shared<SolarReturnCommandOptions>();
    AddChartOptions(*sub, options->chart);
    sub->add_option("--year", options->year, "The year of the return, 1..9999 (required)")
        ->type_name("YEAR")
        ->check(CLI::Validator(
            [](const std::string &value) -> std::string {
                int year = 0;
                std::size_t used = 0;
                try {
                    year = std::stoi(value, &used);
                } catch (const std::exception &) {
                    used = 0;
                }
                return used == value.size() && used > 0 && year >= 1 && year <= 9999
                           ? std::string()
                           : "'" + value + "' is not valid: expected a whole year 1..9999 (e.g. 2024)";
            },
            "", ""));
    sub->add_option("--natal-sun", options->natalSun,
                    "The natal solar longitude to return to: apparent (default) or true")
        ->type_name("apparent|true")
        ->check(SunCheck());
    sub->add_option("--event-sun", options->eventSun,
                    "The solar longitude searched for: apparent (default) or true")
        ->type_name("apparent|true")
        ->check(SunCheck());
    sub->add_flag("--et", options->equationOfTime, "Subtract the return chart's equation of time (\"ET\")");
    AddBirthOptions(*sub, options->event, "event-", DateOptions::Absent);
    sub->footer("The event place and zone default to the natal ones. The search starts two days before the\n"
                "birthday of the year (28 February for a birth on 29 February in a common year).\n"
                "Example:\n"
                "  celestigrafo-cli solar-return --date 1979-10-17 --time 12:30 --tz -5 --lon 76.5225W "
                "--lat 3.43722N --year 2024\n");
    sub->callback([options, &ctx] {
        if (!HasBirth(options->chart.natal))
            UsageError(
                "--date is required: expected YYYY-MM-DD (e.g. 1979-10-17), or --db FILE --person NAME");
        if (options->year == 0)
            UsageError("--year is required: expected a whole year 1..9999 (e.g. 2024)");
        ChartSession session = MakeSession(options->chart, ctx);
        session::Workspace &w = session.workspace;
        const bool noDeltaT = options->chart.noDeltaT;
        SetUpBirth(session, options->chart.natal, nullptr, noDeltaT, session::ChartSide::Natal);
        const chart::TDataAstro &natal = w.natal;
        chart::TDato &eventRecord = w.eventRecord;
        chart::TDataAstro &event = w.event;

        // The event starts at the start of the search, so that its Sun is the value shown before it.
        BirthOptions eventOptions = options->event;
        eventOptions.date = "2000-01-01"; // the search sets the date
        SetUpBirth(session, eventOptions, &w.natalRecord, noDeltaT, session::ChartSide::Event);
        const TDateTime start = chart::SolarReturnStart(natal.instant, options->year);
        w.ComputeChart(session::ChartSide::Event, start, chart::PlaceOf(eventRecord));

        chart::SolarReturnOptions search;
        search.year = options->year;
        search.natalSun = SunKindOf(options->natalSun);
        search.eventSun = SunKindOf(options->eventSun);
        search.equationOfTime = options->equationOfTime;
        chart::SolarReturnSearch searcher;
        const chart::SolarReturnResult r = searcher.Run(w.context, natal, eventRecord, event, search);
        if (!r.converged)
            throw CommandError("the solar return was not found: the natal solar longitude is not a number");

        const Real difference = r.current - r.target;
        if (WantsJson(ctx, options->chart.format)) {
            WriteJson(ctx, {{"year", options->year},
                            {"found_instant_tt", r.found},
                            {"event_datetime", r.applied},
                            {"event_datetime_is_gmt", eventRecord.gmtFlag == 1},
                            {"natal_sun", options->natalSun},
                            {"event_sun", options->eventSun},
                            {"equation_of_time_applied", options->equationOfTime},
                            {"target_longitude", r.target},
                            {"current_longitude", r.current},
                            {"difference", difference},
                            {"evaluations", r.evaluations},
                            {"event_chart", ChartJson(eventRecord, event)}});
            return;
        }
        const TextFormat &format = session.format;
        std::ostringstream out;
        out << "Retorno solar " << options->year << "\n";
        out << "Instante (TT):  " << DateTimeText(r.found) << "\n";
        out << "Fecha evento:   " << DateTimeText(r.applied) << (eventRecord.gmtFlag == 1 ? " GMT" : " local")
            << (options->equationOfTime ? " (con ecuación de tiempo)" : "") << "\n";
        out << "Sol natal:      " << SunText(r.target, format) << "\n";
        out << "Sol evento:     " << SunText(r.current, format) << "\n";
        out << "Diferencia:     "
            << FormatAngle(360, 3, AngleSuffix::PlusMinus, AngleLayout::DegreesMinutesSeconds, difference,
                           format)
            << " ( " << Fixed(difference, format) << " )\n\n";
        ctx.out << out.str() << ChartText(eventRecord, event, format);
    });
}

const bool registered = RegisterCommand("solar-return", AddSolarReturn);

} // namespace
} // namespace cel::cli
