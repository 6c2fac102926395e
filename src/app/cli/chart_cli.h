// What the chart commands share: the birth-data options and their checks, the settings and place
// look-up they compute with, and the chart's JSON and text forms.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "chart/chart.h"
#include "command_registry.h"
#include "database/database.h"
#include "session/workspace.h"
#include "settings/settings.h"
#include "zones/zone_history.h"

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
    std::string person; // "NOMBRE APELLIDOS" (or the Id) of a person of the data file, instead of the rest
    std::string date;
    std::string time = "00:00";
    bool gmt = false;
    std::string zone;
    std::string longitude;
    std::string latitude;
    std::string zoneId;     // --zone: "auto" or an IANA zone id, instead of --tz
    std::string atlasPlace; // --place: "NAME[, COUNTRY]" of the atlas, instead of --lon and --lat
    std::string atlasPlaceOption = "--place"; // its name in this command
};

struct ChartCommandOptions {
    BirthOptions natal;
    bool noDeltaT = false;
    std::string ini;
    std::string db; // data file for --person
    OutputFormat format = OutputFormat::Text;
};

// Adds --date, --time, --gmt, --tz, --zone, --lon, --lat, --place (with prefix "event-" for the event;
// without the date and time when the command finds them itself), each checked while parsing so that a
// bad value is a one-line parse error naming the option. A command that has a "--place" of its own
// (the page heading's) gets the atlas place as "--atlas-place".
enum class DateOptions { Required, Absent };
void AddBirthOptions(CLI::App &sub, BirthOptions &options, const std::string &prefix, DateOptions date);
// Adds --person (or --event-person), which excludes the date, time and place options of the same prefix.
void AddPersonOption(CLI::App &sub, BirthOptions &options, const std::string &prefix);
// Adds the natal options (with --person), --no-delta-t, --ini, --db and --format.
void AddChartOptions(CLI::App &sub, ChartCommandOptions &options);

// The zone history applied to one side's birth data (--zone or --place).
struct ZoneUsed {
    std::string zoneId;
    zones::LocalZoneReading reading; // first: the reading used
    std::string place; // the atlas city of --place ("Madrid, Comunidad de Madrid, España"), or ""
};

// A chart computation set up from the options: the workspace with the settings from --ini (or the
// built-in ones) and the data file of --db.
struct ChartSession {
    session::Workspace workspace;
    TextFormat format;
    bool hasDb = false;    // --db was given
    bool hasEvent = false; // the event options named an event (otherwise it is the natal chart again)
    std::optional<ZoneUsed> natalZone, eventZone;
    std::ostream *err = nullptr; // notices on the zone history (gaps, folds, local mean time)
};
ChartSession MakeSession(const ChartCommandOptions &options, const RunContext &ctx);

// Sets one side's birth data from the options, or from the person they name, and computes its chart in
// the workspace. A place given by coordinates is passed to the chart directly (place id -1); the place
// options left out come from fallback (the natal record), which gives its own place when all are left
// out.
void SetUpBirth(ChartSession &session, const BirthOptions &options, const chart::TDato *fallback,
                bool noDeltaT, session::ChartSide side);
// Whether the options name the birth data (a date or a person).
inline bool HasBirth(const BirthOptions &options) {
    return !options.date.empty() || !options.person.empty();
}

// With zone, the output names the zone, the offset used and whether it was daylight or local mean time.
nlohmann::json ChartJson(const chart::TDato &record, const chart::TDataAstro &chart,
                         const ZoneUsed *zone = nullptr);
std::string ChartText(const chart::TDato &record, const chart::TDataAstro &chart, const TextFormat &format,
                      const ZoneUsed *zone = nullptr);
// The "zone" object of the JSON output, and the text line "Zona: ...".
nlohmann::json ZoneJson(const ZoneUsed &zone);
std::string ZoneLine(const ZoneUsed &zone);

// "YYYY-MM-DD HH:MM:SS.mmm" (the milliseconds only when not zero).
std::string DateTimeText(TDateTime value);
// An ecliptic position as "DD° MM' SS\" Sss".
std::string PositionText(chart::Real longitude, const TextFormat &format);

// Throws the usage error (exit code 2) for an option given a value out of place.
[[noreturn]] void UsageError(const std::string &message);

} // namespace cel::cli
