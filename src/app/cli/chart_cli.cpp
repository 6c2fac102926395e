#include "chart_cli.h"

#include <QString>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>

#include "astronomy/angle_text.h"
#include "common/notifier.h"
#include "common/number_text.h"
#include "common/safe_file.h"
#include "database/data_file.h"
#include "database/record_checks.h"
#include "session/zone_offer.h"
#include "settings/settings.h"
#include "text_columns.h"
#include "zones/atlas.h"
#include "zones/place_zones.h"

namespace cel::cli {

using astronomy::AngleLayout;
using astronomy::AngleSuffix;
using astronomy::FormatAngle;
using astronomy::FormatSignPosition;
using chart::kBodyCount;
using chart::kBodyNames;
using chart::kHouseCount;
using chart::kSignNames;
using chart::Real;

namespace {

// A decimal number, the whole text: optional sign, digits, "." or "," as the separator.
std::optional<double> ParseNumber(std::string text) {
    if (text.empty())
        return std::nullopt;
    for (char &c : text)
        if (c == ',')
            c = '.';
    const char *begin = text.data();
    const char *end = begin + text.size();
    if (*begin == '+')
        ++begin;
    if (begin == end || *begin == '+' || (begin != text.data() && *begin == '-'))
        return std::nullopt; // "++5" and "+-5" are no numbers
    double value = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, value, std::chars_format::fixed);
    if (ec != std::errc() || ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// Whole digits only, count characters exactly.
std::optional<int> ParseDigits(const std::string &text, std::size_t from, std::size_t count) {
    if (from + count > text.size())
        return std::nullopt;
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// A coordinate with an optional hemisphere letter; the letter of the negative side flips the sign.
std::optional<double> ParseCoordinate(const std::string &text, char positive, char negative, double limit,
                                      bool inclusive) {
    if (text.empty())
        return std::nullopt;
    std::string number = text;
    int sign = 1;
    const char last = static_cast<char>(std::toupper(static_cast<unsigned char>(text.back())));
    if (last == positive || last == negative) {
        number.pop_back();
        if (!number.empty() && (number.front() == '-' || number.front() == '+'))
            return std::nullopt; // "-74W" is ambiguous
        sign = last == negative ? -1 : 1;
    }
    const std::optional<double> value = ParseNumber(number);
    if (!value)
        return std::nullopt;
    const double v = sign * *value;
    if (inclusive ? std::fabs(v) > limit : std::fabs(v) >= limit)
        return std::nullopt;
    return v;
}

// A CLI11 check that turns a parser into a one-line message with the expected form.
template <class Parser> CLI::Validator Check(Parser parser, const std::string &expected) {
    return CLI::Validator(
        [parser, expected](std::string &value) -> std::string {
            return parser(value) ? std::string() : "'" + value + "' is not valid: expected " + expected;
        },
        "", "");
}

const char *kDateForm = "YYYY-MM-DD with a year 1..9999 (e.g. 1979-10-17)";
const char *kTimeForm = "HH:MM[:SS[.mmm]] (e.g. 12:30 or 07:05:30.250)";
const char *kZoneForm = "hours east of Greenwich, -14..14 (e.g. -5 or 5.5)";
const char *kLongitudeForm = "degrees -180..180, west positive, or with W/E (e.g. 74.0833W or -2.35)";
const char *kLatitudeForm = "degrees strictly between -90 and 90, north positive, or with N/S (e.g. 4.6N)";
const char *kZoneIdForm =
    "auto (the zone of the place from the atlas) or an IANA zone id (e.g. Europe/Madrid)";
const char *kAtlasPlaceForm = "a city of the atlas as NAME or \"NAME, COUNTRY\" (e.g. \"Madrid, ES\")";

std::optional<std::string> ParseZoneId(const std::string &text) {
    if (text == "auto" || zones::IsZoneId(text))
        return text;
    return std::nullopt;
}

std::optional<std::string> ParseAtlasPlace(const std::string &text) {
    if (text.find_first_not_of(" ,") == std::string::npos)
        return std::nullopt;
    return text;
}

} // namespace

[[noreturn]] void UsageError(const std::string &message) {
    throw CommandError(message, 2);
}

std::optional<TDateTime> ParseDate(const std::string &text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const auto year = ParseDigits(text, 0, 4);
    const auto month = ParseDigits(text, 5, 2);
    const auto day = ParseDigits(text, 8, 2);
    if (!year || !month || !day || *year < 1 || *month < 1 || *month > 12 || *day < 1 ||
        *day > DaysInMonth(*year, *month))
        return std::nullopt;
    return EncodeDate(*year, *month, *day);
}

std::optional<double> ParseTimeOfDay(const std::string &text) {
    if (text.size() < 5 || text[2] != ':')
        return std::nullopt;
    const auto hour = ParseDigits(text, 0, 2);
    const auto minute = ParseDigits(text, 3, 2);
    int second = 0;
    int millisecond = 0;
    std::size_t at = 5;
    if (text.size() > at) {
        if (text[at] != ':')
            return std::nullopt;
        const auto s = ParseDigits(text, at + 1, 2);
        if (!s)
            return std::nullopt;
        second = *s;
        at += 3;
        if (text.size() > at) {
            const std::size_t digits = text.size() - at - 1;
            if (text[at] != '.' || digits < 1 || digits > 3)
                return std::nullopt;
            const auto ms = ParseDigits(text, at + 1, digits);
            if (!ms)
                return std::nullopt;
            millisecond = *ms * (digits == 1 ? 100 : digits == 2 ? 10 : 1);
        }
    }
    if (!hour || !minute || *hour > 23 || *minute > 59 || second > 59)
        return std::nullopt;
    return (((*hour * 60.0 + *minute) * 60.0 + second) * 1000.0 + millisecond) / 86'400'000.0;
}

std::optional<double> ParseZone(const std::string &text) {
    const auto value = ParseNumber(text);
    if (!value || std::fabs(*value) > 14)
        return std::nullopt;
    return value;
}

std::optional<double> ParseLongitude(const std::string &text) {
    return ParseCoordinate(text, 'W', 'E', 180, true);
}

std::optional<double> ParseLatitude(const std::string &text) {
    return ParseCoordinate(text, 'N', 'S', 90, false);
}

void AddBirthOptions(CLI::App &sub, BirthOptions &options, const std::string &prefix, DateOptions date) {
    const bool event = !prefix.empty();
    const std::string whose = event ? "event " : "";
    if (date == DateOptions::Required) {
        sub.add_option("--" + prefix + "date", options.date,
                       "The " + whose + "date, YYYY-MM-DD (any year 1..9999) (required)")
            ->type_name("YYYY-MM-DD")
            ->check(Check(ParseDate, kDateForm));
        sub.add_option("--" + prefix + "time", options.time,
                       "The " + whose + "time, HH:MM[:SS[.mmm]] (default 00:00)")
            ->type_name("HH:MM[:SS[.mmm]]")
            ->check(Check(ParseTimeOfDay, kTimeForm));
        sub.add_flag("--" + prefix + "gmt", options.gmt,
                     "The " + whose + "time is Greenwich time (otherwise the local time of the place)");
    } else {
        sub.add_flag("--" + prefix + "gmt", options.gmt,
                     "Give the " + whose +
                         "date-time as Greenwich time (otherwise the local time of the place)");
    }
    const std::string defaults = event ? " (default: the natal one)" : " (default 0)";
    sub.add_option("--" + prefix + "tz", options.zone, "Time zone in hours, east positive" + defaults)
        ->type_name("HOURS")
        ->check(Check(ParseZone, kZoneForm));
    CLI::Option *tz = sub.get_option("--" + prefix + "tz");
    sub.add_option("--" + prefix + "zone", options.zoneId,
                   "The place's time zone: auto (from the atlas, by --" + prefix +
                       "place or the coordinates) "
                       "or an IANA id such as Europe/Madrid; the offset in force at the date (daylight time, "
                       "local mean time) is applied instead of --" +
                       prefix + "tz")
        ->type_name("auto|ZONE")
        ->check(Check(ParseZoneId, kZoneIdForm))
        ->excludes(tz);
    sub.add_option("--" + prefix + "lon", options.longitude,
                   "Longitude in degrees, west positive, or with W/E, e.g. 74.0833W" + defaults)
        ->type_name("DEG[W|E]")
        ->check(Check(ParseLongitude, kLongitudeForm));
    sub.add_option("--" + prefix + "lat", options.latitude,
                   "Latitude in degrees, north positive, or with N/S, e.g. 4.6N" + defaults)
        ->type_name("DEG[N|S]")
        ->check(Check(ParseLatitude, kLatitudeForm));
    // The page commands have a "--place" of their own: the heading's place name.
    const std::string placeName = sub.get_option_no_throw("--" + prefix + "place") ? "atlas-place" : "place";
    options.atlasPlaceOption = "--" + prefix + placeName;
    sub.add_option(options.atlasPlaceOption, options.atlasPlace,
                   "A city of the atlas, \"NAME[, COUNTRY]\" (e.g. \"Madrid, ES\"): its coordinates and, "
                   "unless --" +
                       prefix + "tz or --" + prefix + "zone says otherwise, its zone")
        ->type_name("\"NAME[, CC]\"")
        ->check(Check(ParseAtlasPlace, kAtlasPlaceForm))
        ->excludes(sub.get_option("--" + prefix + "lon"))
        ->excludes(sub.get_option("--" + prefix + "lat"));
}

void AddPersonOption(CLI::App &sub, BirthOptions &options, const std::string &prefix) {
    CLI::Option *person =
        sub.add_option("--" + prefix + "person", options.person,
                       std::string("A person of the data file given with --db: \"NOMBRE APELLIDOS\" or the "
                                   "person's Id; gives the ") +
                           (prefix.empty() ? "" : "event's ") + "date, time and place")
            ->type_name("NAME");
    for (const char *name : {"date", "time", "gmt", "tz", "zone", "lon", "lat", "place", "atlas-place"})
        if (CLI::Option *other = sub.get_option_no_throw("--" + prefix + name))
            person->excludes(other);
}

void AddChartOptions(CLI::App &sub, ChartCommandOptions &options) {
    AddBirthOptions(sub, options.natal, "", DateOptions::Required);
    AddPersonOption(sub, options.natal, "");
    sub.add_option("--db", options.db, "Data file (.age) whose persons and places --person reads")
        ->type_name("FILE");
    sub.add_flag("--no-delta-t", options.noDeltaT, "Do not apply Delta T (the \"Delta T:\" choice \"no\")");
    sub.add_option("--ini", options.ini,
                   "Settings file with the user's orb tables and dignity matrix "
                   "(built-in values otherwise)")
        ->type_name("FILE");
    AddFormatOption(sub, options.format);
}

ChartSession MakeSession(const ChartCommandOptions &options, const RunContext &ctx) {
    ChartSession session;
    session.format = ctx.format;
    session.err = &ctx.err;
    session::Workspace &w = session.workspace;
    w.format = ctx.format;
    settings::Settings &values = w.settings;
    if (options.ini.empty()) {
        values.InstallFirstRunValues();
    } else {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(options.ini, ec))
            UsageError("--ini: '" + options.ini +
                       "' is not a readable file: expected the path of a settings file");
        const settings::Settings::LoadResult loaded = values.Load(options.ini, ctx.format, "");
        if (!loaded.error.empty())
            throw CommandError("--ini: " + options.ini + ": " + loaded.error);
        if (!loaded.outOfRange.empty()) {
            // Said once: each listed value was replaced by its first-run value.
            ctx.err << "celestigrafo-cli: --ini: " << options.ini << ": "
                    << "valores fuera de rango; se usan los valores iniciales:";
            for (const std::string &key : loaded.outOfRange)
                ctx.err << ' ' << key;
            ctx.err << '\n';
        }
    }
    w.ApplySettings();
    if (!options.db.empty()) {
        session.hasDb = true;
        SilentNotifier notifier;
        database::LoadReport report;
        try {
            report = database::LoadDataFile(options.db, w.db, notifier, ctx.format);
        } catch (const std::exception &e) {
            UsageError("--db: cannot read '" + options.db + "': " + e.what() +
                       ": expected a data file (.age)");
        }
        w.db.Path = options.db;
        if (!report.failedLines.empty())
            ctx.err << "celestigrafo-cli: warning: " << report.failedLines.size() << " line(s) of "
                    << options.db << " could not be read\n";
    }
    return session;
}

namespace {

// A name as compared: Unicode-normalised (so "í" typed as one character or as "i" and an accent
// match), case-folded (accented capitals too: "ANA LUCÍA" is "ana lucía") and with runs of blanks as
// one space.
std::string Folded(const std::string &text) {
    return QString::fromStdString(text)
        .normalized(QString::NormalizationForm_C)
        .toCaseFolded()
        .simplified()
        .toStdString();
}

const database::TPersona &FindPerson(const ChartSession &session, const std::string &option,
                                     const std::string &name) {
    if (!session.hasDb)
        UsageError(option + " needs --db FILE: expected the data file that holds the person");
    const std::string wanted = Folded(name);
    std::vector<const database::TPersona *> found;
    for (const auto &p : session.workspace.db.Persons) {
        const bool byName = Folded(p->Nombre + " " + p->Apellidos) == wanted;
        const bool byId = !name.empty() && name.find_first_not_of("0123456789") == std::string::npos &&
                          std::to_string(p->Id) == name;
        if (byName || byId)
            found.push_back(p.get());
    }
    if (found.empty())
        UsageError(option + ": no person '" + name + "' in " + session.workspace.db.Path +
                   ": expected \"NOMBRE APELLIDOS\" as in the data file, or the person's Id");
    if (found.size() > 1) {
        std::string ids;
        bool sameId = true;
        for (const database::TPersona *p : found) {
            ids += (ids.empty() ? "" : ", ") + std::to_string(p->Id);
            sameId = sameId && p->Id == found.front()->Id;
        }
        if (sameId) {
            std::string names;
            for (const database::TPersona *p : found)
                names += (names.empty() ? "\"" : ", \"") + p->Nombre + " " + p->Apellidos + "\"";
            UsageError(option + ": '" + name + "': the data file " + session.workspace.db.Path +
                       " has duplicate Ids: " + std::to_string(found.size()) + " persons have the Id " +
                       std::to_string(found.front()->Id) + " (" + names +
                       "): choose the person by name, or give each person an Id of its own in the file");
        }
        UsageError(option + ": several persons are named '" + name + "' (Ids " + ids +
                   "): expected one of these Ids");
    }
    return *found.front();
}

} // namespace

namespace {

// The atlas, or a failure naming the file that is missing.
const zones::Atlas &AtlasFor(const std::string &option) {
    const zones::Atlas &atlas = zones::SharedAtlas();
    if (atlas.Empty())
        throw CommandError(option + ": the atlas of cities is not available (" + zones::AtlasFile().string() +
                           ")");
    return atlas;
}

} // namespace

void SetUpBirth(ChartSession &session, const BirthOptions &options, const chart::TDato *fallback,
                bool noDeltaT, session::ChartSide side) {
    session::Workspace &w = session.workspace;
    chart::TDato &record = w.Record(side);
    record = chart::TDato{};
    const bool eventSide = side == session::ChartSide::Event;
    std::optional<ZoneUsed> &zoneUsed = eventSide ? session.eventZone : session.natalZone;
    zoneUsed.reset();
    const std::string option = eventSide ? "--event-person" : "--person";
    const std::string zoneOption = eventSide ? "--event-zone" : "--zone";
    if (!options.person.empty()) {
        const database::TPersona &person = FindPerson(session, option, options.person);
        const session::PersonLoad load = w.LoadPerson(side, person, !noDeltaT);
        if (load.result == session::PersonLoad::Result::Impossible) {
            std::string text;
            for (const std::string &p : load.problems)
                text += (text.empty() ? "" : ", ") + p;
            throw CommandError(option + ": '" + options.person + "' (Id " + std::to_string(person.Id) +
                               ") has impossible values in " + w.db.Path + ": " + text +
                               "; no chart is computed from it (mend the record)");
        }
        if (load.result != session::PersonLoad::Result::Loaded)
            UsageError(option + ": '" + options.person + "' has no birth date in the data file");
        return;
    }
    record.gmtFlag = options.gmt ? 1 : 0;
    record.deltaTFlag = noDeltaT ? 0 : 1;
    const TDateTime date = *ParseDate(options.date);
    const double time = *ParseTimeOfDay(options.time);
    const TDateTime value = date >= 0 ? date + time : date - time;

    const bool placeGiven = !options.zone.empty() || !options.longitude.empty() ||
                            !options.latitude.empty() || !options.zoneId.empty() ||
                            !options.atlasPlace.empty();
    // An event at the natal place whose zone came from the zone history reads that history at its own date.
    const ZoneUsed *natalZone = eventSide && session.natalZone ? &*session.natalZone : nullptr;
    if (fallback != nullptr && !placeGiven && natalZone == nullptr) {
        record.placeId = fallback->placeId; // the same place as the natal chart
        w.ComputeChart(side, value, chart::PlaceOf(*fallback));
        return;
    }
    const zones::AtlasCity *city = nullptr;
    if (!options.atlasPlace.empty()) {
        city = AtlasFor(options.atlasPlaceOption).Lookup(options.atlasPlace);
        if (city == nullptr)
            UsageError(options.atlasPlaceOption + ": no city '" + options.atlasPlace +
                       "' in the atlas: expected NAME or \"NAME, COUNTRY\" (e.g. \"Madrid, ES\"); "
                       "celestigrafo-cli atlas NAME lists the cities");
    }
    chart::PlacePosition place;
    place.longitude = city                         ? city->longitudeWest
                      : !options.longitude.empty() ? *ParseLongitude(options.longitude)
                      : fallback                   ? fallback->longitude
                                                   : 0;
    place.latitude = city                        ? city->latitude
                     : !options.latitude.empty() ? *ParseLatitude(options.latitude)
                     : fallback                  ? fallback->latitude
                                                 : 0;
    place.zone = !options.zone.empty() ? *ParseZone(options.zone) : fallback ? fallback->zone : 0;

    std::string zoneId = options.zoneId;
    std::string cityText;
    if (zoneId.empty() && options.zone.empty()) {
        if (city)
            zoneId = city->zoneId;
        else if (natalZone && options.longitude.empty() && options.latitude.empty())
            zoneId = natalZone->zoneId, cityText = natalZone->place;
    }
    if (zoneId == "auto") {
        if (city) {
            zoneId = city->zoneId;
        } else if ((!options.longitude.empty() && !options.latitude.empty()) || fallback) {
            const zones::PlaceZone derived =
                zones::DerivedZone(AtlasFor(zoneOption), static_cast<double>(place.latitude),
                                   static_cast<double>(place.longitude), "");
            zoneId = derived.zoneId;
            if (derived.city)
                cityText = "cerca de " + derived.city->name + ", " + derived.city->countryName;
        } else {
            UsageError(zoneOption + " auto needs the place: expected " + options.atlasPlaceOption +
                       " NAME or both --" + std::string(eventSide ? "event-" : "") + "lon and --" +
                       (eventSide ? "event-" : "") + "lat");
        }
    }
    if (city)
        cityText = city->name + (city->region.empty() ? "" : ", " + city->region) + ", " + city->countryName;
    if (!zoneId.empty()) {
        ZoneUsed used;
        used.zoneId = zoneId;
        used.place = cityText;
        const double longitude = static_cast<double>(place.longitude);
        if (options.gmt) {
            const std::optional<zones::ZoneReading> r = zones::ReadUniversal(zoneId, value, longitude);
            if (!r)
                UsageError(zoneOption + ": unknown zone '" + zoneId + "': expected " + kZoneIdForm);
            used.reading.zoneId = zoneId;
            used.reading.first = used.reading.second = *r;
            used.reading.beforeReliableHistory = value < zones::ReliableHistoryStart();
        } else {
            const std::optional<zones::LocalZoneReading> r = zones::ReadLocal(zoneId, value, longitude);
            if (!r)
                UsageError(zoneOption + ": unknown zone '" + zoneId + "': expected " + kZoneIdForm);
            used.reading = *r;
            if (r->kind != zones::LocalTimeKind::Unique && session.err) {
                const auto offer = session::OfferZone(zoneId, value, r->first.offsetHours, longitude);
                *session.err << "celestigrafo-cli: aviso: " << offer->text << ". " << offer->note
                             << " Se usa " << session::ReadingText(r->first) << ".\n";
            }
        }
        place.zone = used.reading.first.offsetHours;
        zoneUsed = used;
    }
    record.placeId = -1;
    w.ComputeChart(side, value, place);
}

std::string DateTimeText(TDateTime value) {
    const CivilDateTime dt = DecodeDateTime(value);
    char buffer[64];
    if (dt.millisecond != 0)
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d.%03d", dt.year, dt.month, dt.day,
                      dt.hour, dt.minute, dt.second, dt.millisecond);
    else
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", dt.year, dt.month, dt.day,
                      dt.hour, dt.minute, dt.second);
    return buffer;
}

std::string PositionText(Real longitude, const TextFormat &format) {
    const int sign = chart::SignOf(longitude);
    Real inSign = longitude - 30 * (sign - 1);
    if (inSign >= 360)
        inSign -= 360;
    return FormatSignPosition(0, AngleLayout::DegreesMinutesSeconds, inSign, format) + " " + kSignNames[sign];
}

namespace {

nlohmann::json CuspsJson(const chart::InfoCasas &cusps) {
    nlohmann::json list = nlohmann::json::array();
    for (int h = 1; h <= kHouseCount; ++h)
        list.push_back({{"house", h},
                        {"cusp", cusps[h].cusp},
                        {"sign", cusps[h].sign},
                        {"next_sign", cusps[h].nextSign}});
    return list;
}

} // namespace

namespace {

// The notes on a zone reading: gap, fold, local mean time, dates before 1970.
std::string ZoneNote(const ZoneUsed &zone, TDateTime local, double longitudeWest) {
    const auto offer = session::OfferZone(zone.zoneId, local, zone.reading.first.offsetHours, longitudeWest);
    if (!offer)
        return {};
    std::string note = zone.reading.kind == zones::LocalTimeKind::Unique ? std::string() : offer->text + ". ";
    return note + offer->note;
}

} // namespace

nlohmann::json ZoneJson(const ZoneUsed &zone) {
    const zones::LocalZoneReading &r = zone.reading;
    nlohmann::json j = {{"id", zone.zoneId},
                        {"offset_hours", r.first.offsetHours},
                        {"offset", zones::OffsetText(r.first.offsetHours)},
                        {"abbreviation", r.first.abbreviation},
                        {"daylight", r.first.daylight},
                        {"daylight_hours", r.first.daylightHours},
                        {"local_mean_time", r.first.localMeanTime},
                        {"kind", r.kind == zones::LocalTimeKind::Unique ? "unique"
                                 : r.kind == zones::LocalTimeKind::Gap  ? "gap"
                                                                        : "fold"},
                        {"before_1970", r.beforeReliableHistory}};
    if (r.kind != zones::LocalTimeKind::Unique) {
        j["other_offset_hours"] = r.second.offsetHours;
        j["other_offset"] = zones::OffsetText(r.second.offsetHours);
    }
    if (!zone.place.empty())
        j["place"] = zone.place;
    return j;
}

std::string ZoneLine(const ZoneUsed &zone) {
    const zones::ZoneReading &r = zone.reading.first;
    std::string line = "Zona:        " + zone.zoneId + ", " + session::ReadingText(r) +
                       (r.abbreviation.empty() || r.localMeanTime ? "" : " (" + r.abbreviation + ")") + "\n";
    if (!zone.place.empty())
        line += "Ciudad:      " + zone.place + "\n";
    return line;
}

nlohmann::json ChartJson(const chart::TDato &record, const chart::TDataAstro &c, const ZoneUsed *zone) {
    nlohmann::json bodies = nlohmann::json::array();
    for (int n = 1; n <= kBodyCount; ++n) {
        const chart::RecPlaneta &b = c.bodies[n];
        bodies.push_back({{"number", n},
                          {"name", kBodyNames[n]},
                          {"longitude", b.longitude},
                          {"latitude", b.latitude},
                          {"distance", b.distance},
                          {"right_ascension", b.rightAscension},
                          {"declination", b.declination},
                          {"meridian_distance", b.meridianDistance},
                          {"ascensional_difference", b.ascensionalDifference},
                          {"dmo", b.dmo},
                          {"semi_arc", b.semiArc},
                          {"pole", b.pole},
                          {"adp", b.adp},
                          {"ao_do", b.aoDo},
                          {"ao_do_label", b.aoDoLabel},
                          {"wheel_ecliptic", b.wheelEcliptic},
                          {"wheel_ascensional", b.wheelAscensional},
                          {"retrograde", b.retrograde},
                          {"house_ecliptic", b.houseEcliptic},
                          {"house_ascensional", b.houseAscensional},
                          {"sign_ecliptic", b.signEcliptic},
                          {"sign_ascensional", b.signAscensional},
                          {"quadrant", b.quadrant},
                          {"ruled_houses_ecliptic", b.ruledHousesEcliptic},
                          {"ruled_houses_ascensional", b.ruledHousesAscensional}});
    }
    nlohmann::json j = {{"delta_t_seconds", c.deltaT},
                        {"instant_tt", c.instant},
                        {"julian_day", c.julianDay},
                        {"sidereal_time_hours", c.siderealTime},
                        {"obliquity", c.obliquity},
                        {"armc", c.armc},
                        {"sun_true_longitude", c.sunTrueLongitude},
                        {"sun_mean_longitude", c.sunMeanLongitude},
                        {"equation_of_time_days", c.equationOfTime},
                        {"local_datetime", record.localDateTime},
                        {"gmt_datetime", record.gmtDateTime},
                        {"latitude", c.latitude},
                        {"longitude", c.longitude},
                        {"zone_hours", record.zone},
                        {"bodies", bodies},
                        {"cusps_ecliptic", CuspsJson(c.eclipticCusps)},
                        {"cusps_ascensional", CuspsJson(c.ascensionalCusps)},
                        {"ecliptic_rotation", c.eclipticRotation},
                        {"ascensional_rotation", c.ascensionalRotation}};
    if (zone) {
        j["zone"] = ZoneJson(*zone);
        const std::string note = ZoneNote(*zone, record.localDateTime, static_cast<double>(record.longitude));
        if (!note.empty())
            j["zone"]["note"] = note;
    }
    return j;
}

std::string ChartText(const chart::TDato &record, const chart::TDataAstro &c, const TextFormat &format,
                      const ZoneUsed *zoneUsed) {
    std::ostringstream out;
    auto angle = [&](Real x) {
        return FormatAngle(360, 0, AngleSuffix::None, AngleLayout::DegreesMinutesSeconds, x, format);
    };
    std::string zone = FormatSignificant(static_cast<double>(record.zone), 4, format.decimalSeparator, true);
    out << "Fecha local: " << DateTimeText(record.localDateTime) << "  (zona " << zone << " h)\n";
    if (zoneUsed) {
        out << ZoneLine(*zoneUsed);
        if (const std::string note =
                ZoneNote(*zoneUsed, record.localDateTime, static_cast<double>(record.longitude));
            !note.empty())
            out << "Nota:        " << note << "\n";
    }
    out << "Fecha GMT:   " << DateTimeText(record.gmtDateTime) << "\n";
    out << "Fecha TT:    " << DateTimeText(c.instant) << "  (Delta T "
        << FormatFixed(c.deltaT, 4, format.decimalSeparator) << " s)\n";
    out << "Lugar:       "
        << FormatAngle(360, 0, AngleSuffix::WestEast, AngleLayout::DegreesMinutesSeconds, c.longitude, format)
        << "  "
        << FormatAngle(360, 0, AngleSuffix::NorthSouth, AngleLayout::DegreesMinutesSeconds, c.latitude,
                       format)
        << "\n";
    out << "Día Juliano: " << FormatFixed(static_cast<double>(c.julianDay), 6, format.decimalSeparator)
        << "   T. Sideral: "
        << FormatAngle(24, 2, AngleSuffix::None, AngleLayout::HoursMinutesSeconds, c.siderealTime, format)
        << "   ARMC: " << angle(c.armc) << "\n";
    out << "Obl. Ecl.:   " << angle(c.obliquity) << "   long Sol Verd: " << angle(c.sunTrueLongitude)
        << "   long Sol Med.: " << angle(c.sunMeanLongitude) << "\n";
    out << "E. de tiempo: "
        << FormatAngle(24, 1, AngleSuffix::PlusMinus, AngleLayout::HoursMinutesSeconds, c.equationOfTime * 24,
                       format)
        << "\n\n";

    out << "Cuerpo  Longitud          R  Casa  Latitud          Asc. recta      Declinación      "
           "AO/DO                   Casa A.  Rige (ecl.)  Rige (asc.)\n";
    for (int n = 1; n <= kBodyCount; ++n) {
        const chart::RecPlaneta &b = c.bodies[n];
        out << Padded(kBodyNames[n], 8) << Padded(PositionText(b.longitude, format), 18)
            << (b.retrograde ? "R" : " ") << "  " << Padded(std::to_string(b.houseEcliptic), 6)
            << Padded(FormatAngle(360, 0, AngleSuffix::PlusMinus, AngleLayout::DegreesMinutesSeconds,
                                  b.latitude, format),
                      17)
            << Padded(angle(b.rightAscension), 16)
            << Padded(FormatAngle(360, 0, AngleSuffix::PlusMinus, AngleLayout::DegreesMinutesSeconds,
                                  b.declination, format),
                      17)
            << Padded(b.aoDoLabel + " " + PositionText(b.aoDo, format), 24)
            << Padded(std::to_string(b.houseAscensional), 9)
            << Padded(b.ruledHousesEcliptic.empty() ? "-" : b.ruledHousesEcliptic, 13)
            << (b.ruledHousesAscensional.empty() ? "-" : b.ruledHousesAscensional) << "\n";
    }
    out << "\nCasa  Cúspide eclíptica       Cúspide ascensional\n";
    for (int h = 1; h <= kHouseCount; ++h) {
        auto cusp = [&](const chart::CuspEntry &e) {
            std::string text = PositionText(e.cusp, format);
            if (e.nextSign != 0)
                text += std::string(" (") + kSignNames[e.nextSign] + ")";
            return text;
        };
        out << Padded(std::to_string(h), 6) << Padded(cusp(c.eclipticCusps[h]), 24)
            << cusp(c.ascensionalCusps[h]) << "\n";
    }
    return out.str();
}

} // namespace cel::cli
