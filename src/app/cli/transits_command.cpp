// "transits": transits, progressions and directions to a natal chart over a period, with the times
// they enter orb, perfect and leave orb; sign and house ingresses; stations.
#include <cmath>
#include <iomanip>
#include <limits>
#include <memory>
#include <sstream>

#include "chart_cli.h"
#include "timing/listing.h"

namespace cel::cli {

namespace {

using timing::EventKind;
using timing::Real;
using timing::Source;
using timing::TimingEvent;

enum class ListingFormat { Text, Json, Csv };

constexpr double kGreenwich = timing::kGreenwichTime;
using timing::TimeText;

struct TransitsOptions {
    ChartCommandOptions chart;
    std::string from, to, at;
    std::vector<std::string> bodies, points, aspects, kinds;
    bool moon = false;
    bool cusps = false;
    double offset = 0; // hours added to the Greenwich times of the text and CSV forms
    bool offsetGiven = false;
    std::string localZone; // --local-zone: an IANA zone id, or "natal"
    ListingFormat listing = ListingFormat::Text;
};

// Continuous days of a YYYY-MM-DD or YYYY-MM-DDTHH:MM (Greenwich) text.
std::optional<Real> ParseInstant(const std::string &text) {
    const std::string date = text.substr(0, 10);
    const std::optional<TDateTime> day = ParseDate(date);
    if (!day)
        return std::nullopt;
    Real days = timing::ContinuousFromDateTime(*day);
    if (text.size() > 10) {
        if (text[10] != 'T' && text[10] != ' ')
            return std::nullopt;
        const std::optional<double> time = ParseTimeOfDay(text.substr(11));
        if (!time)
            return std::nullopt;
        days += *time;
    }
    return days;
}

const char *SourceKey(Source source) {
    switch (source) {
    case Source::Secondary:
        return "secondary";
    case Source::SolarArc:
        return "solar_arc";
    case Source::PrimaryDirect:
        return "primary_direct";
    case Source::PrimaryConverse:
        return "primary_converse";
    default:
        return "transit";
    }
}

nlohmann::json BodyJson(int body) {
    if (body == timing::kMovingAscendant)
        return "asc";
    if (body == timing::kMovingMidheaven)
        return "mc";
    return body;
}

nlohmann::json PointJson(const timing::NatalPoint &p) {
    if (p.type == timing::NatalPoint::Type::Body)
        return p.number;
    return timing::PointKey(p);
}

const char *KindKey(EventKind kind) {
    switch (kind) {
    case EventKind::SignIngress:
    case EventKind::HouseIngress:
        return "ingress";
    case EventKind::Station:
        return "station";
    case EventKind::MoonPhase:
        return "phase";
    default:
        return "aspect";
    }
}

nlohmann::json EventJson(const TimingEvent &e) {
    nlohmann::json j = {{"kind", KindKey(e.kind)}, {"body", BodyJson(e.body)}};
    if (e.source != Source::Transit)
        j["source"] = SourceKey(e.source);
    switch (e.kind) {
    case EventKind::Aspect: {
        j["point"] = PointJson(e.point);
        j["aspect"] = (e.aspect - 1) * 15;
        if (e.enter)
            j["enter"] = TimeText(*e.enter, kGreenwich);
        nlohmann::json exact = nlohmann::json::array();
        for (Real x : e.exact)
            exact.push_back(TimeText(x, kGreenwich));
        j["exact"] = exact;
        if (e.leave)
            j["leave"] = TimeText(*e.leave, kGreenwich);
        if (e.applying)
            j["applying"] = *e.applying;
        return j;
    }
    case EventKind::SignIngress:
        j["sign"] = e.sign;
        break;
    case EventKind::HouseIngress:
        j["house"] = e.house;
        j["model"] = e.model == timing::HouseModel::Ecliptic ? "ecliptic" : "ascensional";
        break;
    case EventKind::Station:
        j["direction"] = e.retrograde ? "retrograde" : "direct";
        break;
    case EventKind::MoonPhase:
        j["point"] = 1;
        j["phase"] = e.phase * 45;
        break;
    }
    if (e.retrograde && e.kind != EventKind::Station)
        j["retrograde"] = true;
    j["exact"] = nlohmann::json::array({TimeText(e.Time(), kGreenwich)});
    return j;
}

std::optional<int> BodyNumber(const std::string &text) {
    for (int n = 1; n <= timing::kLastMovingBody; ++n)
        if (text == std::to_string(n) || text == chart::kBodyNames[n])
            return n;
    return std::nullopt;
}

void AddTransits(CLI::App &app, RunContext &ctx) {
    auto *sub =
        app.add_subcommand("transits", "List transits, progressions and directions to a natal chart over a "
                                       "period: entering orb, exact times, leaving orb; sign and house "
                                       "ingresses; stations");
    auto options = std::make_shared<TransitsOptions>();
    TransitsOptions &o = *options;
    AddBirthOptions(*sub, o.chart.natal, "", DateOptions::Required);
    AddPersonOption(*sub, o.chart.natal, "");
    sub->add_option("--db", o.chart.db, "Data file (.age) whose persons and places --person reads")
        ->type_name("FILE");
    sub->add_flag("--no-delta-t", o.chart.noDeltaT, "Do not apply Delta T");
    sub->add_option("--ini", o.chart.ini,
                    "Settings file with the user's orb tables (built-in values otherwise)")
        ->type_name("FILE");
    sub->add_option("--from", o.from, "First day of the period, YYYY-MM-DD (Greenwich time)")->required();
    sub->add_option("--to", o.to, "Last day of the period, YYYY-MM-DD (included)")->required();
    sub->add_option("--bodies", o.bodies,
                    "Moving bodies: numbers 1..11 or names (Sol, Lun, ... Nod); "
                    "default Sol and Mer to Nod")
        ->delimiter(',');
    sub->add_flag("--moon", o.moon, "Add the Moon to the default moving bodies");
    sub->add_option("--to-points", o.points,
                    "Natal points: 1..12, asc, mc, cusp N (or cN); default the bodies, "
                    "asc and mc")
        ->delimiter(',');
    sub->add_flag("--cusps", o.cusps, "Add the twelve cusps to the default natal points");
    sub->add_option("--aspects", o.aspects,
                    "Aspect angles in degrees, multiples of 15 up to 180; default "
                    "0,60,90,120,180")
        ->delimiter(',');
    sub->add_option("--kind", o.kinds,
                    "transits, progressions, directions, ingresses, stations (repeatable); "
                    "default transits,ingresses,stations")
        ->delimiter(',')
        ->check(CLI::IsMember({"transits", "progressions", "directions", "ingresses", "stations"}));
    sub->add_option("--at", o.at,
                    "Say whether each aspect in orb applies or separates at this instant, "
                    "YYYY-MM-DD[THH:MM] Greenwich time");
    sub->add_option_function<double>(
           "--utc-offset", [options](double v) { options->offset = v, options->offsetGiven = true; },
           "Show the text and CSV times at this fixed offset from Greenwich, hours east")
        ->check(CLI::Range(-14.0, 14.0));
    sub->add_option("--local-zone", o.localZone,
                    "Show the text and CSV times in the civil time of this IANA zone (e.g. Europe/Madrid), "
                    "each with the offset its history gives that instant; natal: the zone the birth was "
                    "read in (--zone or --place)")
        ->type_name("ZONE|natal");
    sub->add_option_function<std::string>(
           "--format",
           [options](const std::string &v) {
               options->listing = v == "json"  ? ListingFormat::Json
                                  : v == "csv" ? ListingFormat::Csv
                                               : ListingFormat::Text;
               options->chart.format = v == "json" ? OutputFormat::Json : OutputFormat::Text;
           },
           "Output: text (default), json or csv")
        ->type_name("text|json|csv")
        ->check(CLI::IsMember({"text", "json", "csv"}));
    sub->footer(
        "Times are Greenwich time (UT) to the minute; the text and CSV forms show them at --utc-offset "
        "or in the civil time of --local-zone.\n"
        "Example:\n"
        "  celestigrafo-cli transits --db personas.age --person \"ANA GARCIA\" --from 2025-01-01 "
        "--to 2025-12-31 --bodies Sat,Jup --format json\n");
    sub->callback([options, &ctx] {
        TransitsOptions &o = *options;
        if (!HasBirth(o.chart.natal))
            UsageError(
                "--date is required: expected YYYY-MM-DD (e.g. 1979-10-17), or --db FILE --person NAME");
        const std::optional<Real> from = ParseInstant(o.from);
        const std::optional<Real> to = ParseInstant(o.to);
        if (!from)
            UsageError("--from: '" + o.from + "' is not a date: expected YYYY-MM-DD (e.g. 2025-01-01)");
        if (!to)
            UsageError("--to: '" + o.to + "' is not a date: expected YYYY-MM-DD (e.g. 2025-12-31)");
        timing::TimingOptions search;
        search.from = *from;
        search.to = o.to.size() > 10 ? *to : *to + 1;
        if (search.to <= search.from)
            UsageError("--to: the period ends before it begins");
        if (search.to - search.from > 366.0 * 200)
            UsageError("--to: the period is longer than 200 years");
        if (!o.bodies.empty()) {
            search.bodies.clear();
            for (const std::string &b : o.bodies) {
                const std::optional<int> n = BodyNumber(b);
                if (!n)
                    UsageError("--bodies: '" + b +
                               "' is not a moving body: expected 1..11 or Sol, Lun, Mer, Ven, "
                               "Mar, Jup, Sat, Ura, Nep, Plu, Nod");
                search.bodies.push_back(*n);
            }
        } else if (o.moon) {
            search.bodies.insert(search.bodies.begin() + 1, 2);
        }
        if (!o.points.empty()) {
            for (const std::string &p : o.points) {
                const std::optional<timing::NatalPoint> point = timing::ParsePointKey(p);
                if (!point)
                    UsageError("--to-points: '" + p +
                               "' is not a natal point: expected 1..12, asc, mc or cusp N");
                search.points.push_back(*point);
            }
        } else {
            search.points = timing::DefaultPoints();
            if (o.cusps)
                for (int c = 1; c <= 12; ++c)
                    search.points.push_back({timing::NatalPoint::Type::Cusp, c});
        }
        if (!o.aspects.empty()) {
            search.aspects.clear();
            for (const std::string &a : o.aspects) {
                char *end = nullptr;
                const long degrees = std::strtol(a.c_str(), &end, 10);
                if (a.empty() || *end != '\0' || degrees < 0 || degrees > 180 || degrees % 15 != 0)
                    UsageError("--aspects: '" + a + "' is not an aspect: expected degrees 0, 15, ... 180");
                search.aspects.push_back(static_cast<int>(degrees / 15 + 1));
            }
        }
        if (!o.at.empty()) {
            search.moment = ParseInstant(o.at);
            if (!search.moment)
                UsageError("--at: '" + o.at + "' is not an instant: expected YYYY-MM-DD or YYYY-MM-DDTHH:MM");
        }
        auto wants = [&](const char *kind) {
            return o.kinds.empty() ? std::string(kind) != "progressions" && std::string(kind) != "directions"
                                   : std::find(o.kinds.begin(), o.kinds.end(), kind) != o.kinds.end();
        };

        ChartSession session = MakeSession(o.chart, ctx);
        SetUpBirth(session, o.chart.natal, nullptr, o.chart.noDeltaT, session::ChartSide::Natal);
        session::Workspace &w = session.workspace;
        w.Recompute();
        search.orbs = w.settings.orbs;
        search.useDeltaT = !o.chart.noDeltaT;

        timing::PositionCache cache;
        std::vector<TimingEvent> events;
        timing::TimingOptions transits = search;
        transits.aspectsWanted = wants("transits");
        transits.signIngresses = transits.houseIngresses = wants("ingresses");
        transits.stations = wants("stations");
        if (transits.aspectsWanted || transits.signIngresses || transits.stations)
            events = timing::FindTransits(w.natal, transits, cache);
        std::vector<Source> sources;
        if (wants("progressions"))
            sources.push_back(Source::Secondary);
        if (wants("directions"))
            sources.insert(sources.end(), {Source::SolarArc, Source::PrimaryDirect, Source::PrimaryConverse});
        if (!sources.empty()) {
            timing::TimingOptions progressed = search;
            progressed.signIngresses = progressed.houseIngresses = wants("ingresses");
            std::vector<TimingEvent> more = timing::FindProgressions(w.natal, sources, progressed, cache);
            events.insert(events.end(), more.begin(), more.end());
            timing::SortEvents(events);
        }

        // The offset of the times shown: fixed, from a zone's history at each instant, or none (Greenwich).
        timing::OffsetAt offset;
        if (o.offsetGiven)
            offset = [hours = o.offset](Real) { return hours; };
        if (!o.localZone.empty()) {
            if (o.offsetGiven)
                UsageError("--local-zone: give either --local-zone or --utc-offset");
            std::string zoneId = o.localZone;
            std::optional<double> longitudeWest;
            if (zoneId == "natal") {
                if (!session.natalZone)
                    UsageError(
                        "--local-zone natal: the birth was not read in a zone (give --zone or --place)");
                zoneId = session.natalZone->zoneId;
                longitudeWest = static_cast<double>(w.natalRecord.longitude);
            }
            if (!zones::IsZoneId(zoneId))
                UsageError("--local-zone: '" + zoneId +
                           "' is not a time zone: expected an IANA zone id (e.g. Europe/Madrid) or natal");
            offset = [zoneId, longitudeWest](Real days) {
                const std::optional<zones::ZoneReading> reading =
                    zones::ReadUniversal(zoneId, timing::DateTimeFromContinuous(days), longitudeWest);
                return reading ? reading->offsetHours : 0.0;
            };
        }
        if (o.listing == ListingFormat::Json || ctx.batch) {
            nlohmann::json list = nlohmann::json::array();
            for (const TimingEvent &e : events)
                list.push_back(EventJson(e));
            WriteJson(ctx, {{"events", list}});
        } else if (o.listing == ListingFormat::Csv) {
            timing::WriteCsv(ctx.out, events, offset);
        } else {
            ctx.out << "Natal: " << DateTimeText(w.natalRecord.gmtDateTime) << " GMT\n"
                    << "Periodo: " << TimeText(search.from, kGreenwich) << " a "
                    << TimeText(search.to, kGreenwich) << "   Sucesos: " << events.size() << "\n\n";
            for (const TimingEvent &e : events) {
                const timing::ListingRow r = timing::EventRow(e, offset);
                ctx.out << std::left << std::setw(9) << r.source << std::setw(5) << r.body << r.what;
                if (e.kind == EventKind::Aspect)
                    ctx.out << "  entra " << (r.enter.empty() ? "-" : r.enter) << "  exacto " << r.exact
                            << "  sale " << (r.leave.empty() ? "-" : r.leave);
                else
                    ctx.out << "  " << r.exact;
                ctx.out << '\n';
            }
        }
    });
}

const bool registered = RegisterCommand("transits", AddTransits);

} // namespace
} // namespace cel::cli
