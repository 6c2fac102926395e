// What the chart commands share: the birth-data options and their checks, the settings and place
// look-up they compute with, and the chart's JSON and text forms.
#pragma once

#include <optional>
#include <string>

#include "chart/chart.h"
#include "command_registry.h"

namespace cel::cli {

// Parsers of the option values; nothing when the text does not have the expected form.
std::optional<TDateTime> ParseDate(const std::string &text);   // YYYY-MM-DD, year 1..9999
std::optional<double> ParseTimeOfDay(const std::string &text); // HH:MM[:SS[.mmm]], fraction of a day
std::optional<double> ParseZone(const std::string &text);      // hours east, -14..14
std::optional<double> ParseLongitude(const std::string &text); // west positive, or with W/E
std::optional<double> ParseLatitude(const std::string &text);  // north positive, or with N/S

// The options of one set of birth data; the event options share the place with the natal ones unless
// given.
struct BirthOptions {
    std::string date;
    std::string time = "00:00";
    bool gmt = false;
    std::string zone;
    std::string longitude;
    std::string latitude;
};

struct ChartCommandOptions {
    BirthOptions natal;
    bool noDeltaT = false;
    std::string ini;
    OutputFormat format = OutputFormat::Text;
};

// Adds --date, --time, --gmt, --tz, --lon, --lat (with prefix "event-" for the event; without the date and
// time when the command finds them itself), each checked while parsing so that a bad value is a one-line
// parse error naming the option.
enum class DateOptions { Required, Absent };
void AddBirthOptions(CLI::App &sub, BirthOptions &options, const std::string &prefix, DateOptions date);
// Adds the natal options, --no-delta-t, --ini and --format.
void AddChartOptions(CLI::App &sub, ChartCommandOptions &options);

// A chart computation set up from the options: settings from --ini or the built-in ones, and the place
// given by the coordinates.
struct ChartSession {
    chart::ChartContext context;
    TextFormat format;
};
ChartSession MakeSession(const ChartCommandOptions &options, const RunContext &ctx);

// Birth data from the options (place id 1 for the natal place, 2 for the event's); registers the place
// with the session. Returns the value to compute for.
TDateTime SetUpRecord(ChartSession &session, const BirthOptions &options, const BirthOptions *fallback,
                      bool noDeltaT, std::int32_t placeId, chart::TDato &record);

nlohmann::json ChartJson(const chart::TDato &record, const chart::TDataAstro &chart);
std::string ChartText(const chart::TDato &record, const chart::TDataAstro &chart, const TextFormat &format);

// "YYYY-MM-DD HH:MM:SS.mmm" (the milliseconds only when not zero).
std::string DateTimeText(TDateTime value);
// An ecliptic position as "DD° MM' SS\" Sss".
std::string PositionText(chart::Real longitude, const TextFormat &format);

// Throws the usage error (exit code 2) for an option given a value out of place.
[[noreturn]] void UsageError(const std::string &message);

} // namespace cel::cli
