#include "timing/listing.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "common/date_time.h"

namespace cel::timing {

namespace {

constexpr Real kYear = 365.25L;
constexpr Real kProgressionChunk = 10 * kYear;

// The time a row is listed by: for aspects the first exact time in the period.
Real ListedTime(const TimingEvent &e, Real periodFrom) {
    if (e.kind != EventKind::Aspect)
        return e.Time();
    for (Real x : e.exact)
        if (x >= periodFrom)
            return x;
    return e.Time();
}

} // namespace

ChunkedListing::ChunkedListing(const chart::TDataAstro &natal, ListingRequest request)
    : natal_(natal), request_(std::move(request)) {
    const TimingOptions &o = request_.options;
    const bool transitKinds = request_.transits || request_.ingresses || request_.stations;
    std::vector<Source> sources;
    if (request_.progressions)
        sources.push_back(Source::Secondary);
    if (request_.directions)
        sources.insert(sources.end(), {Source::SolarArc, Source::PrimaryDirect, Source::PrimaryConverse});
    // Transits a year at a time, body by body; progressions and directions ten years at a time, after the
    // transits of their first year.
    for (Real a = o.from; a < o.to; a += kYear) {
        const Real b = std::min(o.to, a + kYear);
        if (transitKinds)
            for (int body : o.bodies)
                if (body >= kFirstMovingBody && body <= kLastMovingBody)
                    chunks_.push_back({a, b, body, false, {}});
        if (!sources.empty() && std::fmod(a - o.from, kProgressionChunk) < kYear / 2)
            chunks_.push_back({a, std::min(o.to, a + kProgressionChunk), 0, true, sources});
    }
}

double ChunkedListing::Share() const {
    return chunks_.empty() ? 1.0 : static_cast<double>(next_) / static_cast<double>(chunks_.size());
}

std::vector<TimingEvent> ChunkedListing::Next(const std::function<bool()> &stop) {
    if (Done())
        return {};
    const Chunk chunk = chunks_[next_++];
    TimingOptions o = request_.options;
    const Real periodFrom = o.from, periodTo = o.to;
    o.from = chunk.from;
    o.to = chunk.to;
    bool stopped = false;
    o.progress = [&stop, &stopped](double) {
        stopped = stopped || (stop && stop());
        return !stopped;
    };
    std::vector<TimingEvent> found;
    if (chunk.progressed) {
        o.signIngresses = o.houseIngresses = request_.ingresses;
        o.aspectsWanted = true;
        found = FindProgressions(natal_, chunk.sources, o, cache_);
    } else {
        o.bodies = {chunk.body};
        o.aspectsWanted = request_.transits;
        o.signIngresses = o.houseIngresses = request_.ingresses;
        o.stations = request_.stations;
        found = FindTransits(natal_, o, cache_);
    }
    if (stopped)
        return {};
    // Each event belongs to the chunk holding its listed time (the last chunk also keeps the period's end).
    std::vector<TimingEvent> kept;
    for (TimingEvent &e : found) {
        const Real t = ListedTime(e, periodFrom);
        if (t < chunk.from || t > periodTo || (t >= chunk.to && chunk.to < periodTo))
            continue;
        if (e.kind == EventKind::Aspect)
            e.listed = t;
        kept.push_back(std::move(e));
    }
    SortEvents(kept);
    return kept;
}

std::vector<TimingEvent> RunListing(const chart::TDataAstro &natal, const ListingRequest &request) {
    ChunkedListing listing(natal, request);
    std::vector<TimingEvent> all;
    while (!listing.Done()) {
        std::vector<TimingEvent> more = listing.Next();
        all.insert(all.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
    }
    SortEvents(all);
    return all;
}

std::string TimeText(Real days, double offsetHours) {
    const bool local = !std::isnan(offsetHours);
    const Real shifted = days + (local ? offsetHours / 24 : 0);
    const auto minutes = static_cast<std::int64_t>(std::llround(static_cast<double>(shifted * 1440)));
    const std::int64_t day = minutes >= 0 ? minutes / 1440 : -((-minutes + 1439) / 1440);
    const std::int64_t ofDay = minutes - day * 1440;
    int y = 0, m = 0, d = 0;
    CivilFromDays(day, y, m, d);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d", y, m, d, static_cast<int>(ofDay / 60),
                  static_cast<int>(ofDay % 60));
    std::string text = buffer;
    if (!local)
        return text + "Z";
    const int offsetMinutes = static_cast<int>(std::lround(offsetHours * 60));
    std::snprintf(buffer, sizeof buffer, "%c%02d:%02d", offsetMinutes < 0 ? '-' : '+',
                  std::abs(offsetMinutes) / 60, std::abs(offsetMinutes) % 60);
    return text + buffer;
}

std::string SourceName(Source source) {
    switch (source) {
    case Source::Secondary:
        return "Prog.";
    case Source::SolarArc:
        return "A.Sol.";
    case Source::PrimaryDirect:
        return "DP Dir.";
    case Source::PrimaryConverse:
        return "DP Conv.";
    default:
        return "Trán.";
    }
}

std::string MovingBodyName(int body) {
    if (body == kMovingAscendant)
        return "Asc";
    if (body == kMovingMidheaven)
        return "MC";
    return body >= 1 && body <= 12 ? chart::kBodyNames[body] : "";
}

std::string PointName(const NatalPoint &p) {
    switch (p.type) {
    case NatalPoint::Type::Ascendant:
        return "Asc";
    case NatalPoint::Type::Midheaven:
        return "MC";
    case NatalPoint::Type::Cusp:
        return std::string("C").append(std::to_string(p.number));
    default:
        return p.number >= 1 && p.number <= 12 ? chart::kBodyNames[p.number] : "";
    }
}

std::string PhaseName(int phase) {
    static constexpr std::array<const char *, 8> kNames = {
        "Luna nueva", "Creciente",   "Cuarto creciente", "Gibosa",
        "Luna llena", "Diseminante", "Cuarto menguante", "Balsámica"};
    return kNames[static_cast<std::size_t>(((phase % 8) + 8) % 8)];
}

namespace {
OffsetAt FixedOffset(double hours) {
    if (std::isnan(hours))
        return {};
    return [hours](Real) { return hours; };
}
} // namespace

ListingRow EventRow(const TimingEvent &e, double offsetHours) {
    return EventRow(e, FixedOffset(offsetHours));
}

ListingRow EventRow(const TimingEvent &e, const OffsetAt &offsetAt) {
    return EventRow(
        e, [&offsetAt](Real t) { return TimeText(t, offsetAt ? offsetAt(t) : kGreenwichTime); }, " ");
}

ListingRow EventRow(const TimingEvent &e, const TimeWriter &time, const std::string &separator) {
    ListingRow r{SourceName(e.source), MovingBodyName(e.body), "", "", "", ""};
    switch (e.kind) {
    case EventKind::Aspect:
        r.what = std::to_string((e.aspect - 1) * 15) + "° " + PointName(e.point);
        if (e.applying)
            r.what += *e.applying ? " (aplicativo)" : " (separativo)";
        break;
    case EventKind::SignIngress:
        r.what = std::string("entra en ") + chart::kSignNames[e.sign];
        break;
    case EventKind::HouseIngress:
        r.what = "entra en casa " + std::to_string(e.house) +
                 (e.model == HouseModel::Ecliptic ? " (ecl.)" : " (asc.)");
        break;
    case EventKind::Station:
        r.what = e.retrograde ? "estación retrógrada" : "estación directa";
        break;
    case EventKind::MoonPhase:
        r.what = PhaseName(e.phase);
        break;
    }
    if (e.retrograde && (e.kind == EventKind::SignIngress || e.kind == EventKind::HouseIngress))
        r.what += " R";
    if (e.enter)
        r.enter = time(*e.enter);
    for (Real x : e.exact) {
        if (!r.exact.empty())
            r.exact.append(separator);
        r.exact.append(time(x));
    }
    if (e.leave)
        r.leave = time(*e.leave);
    return r;
}

std::string CsvField(const std::string &text) {
    if (text.find_first_of(",\"\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

void WriteCsv(std::ostream &out, const std::vector<TimingEvent> &events, double offsetHours) {
    WriteCsv(out, events, FixedOffset(offsetHours));
}

void WriteCsv(std::ostream &out, const std::vector<TimingEvent> &events, const OffsetAt &offsetAt) {
    out << "fuente,cuerpo,suceso,entra,exacto,sale\n";
    for (const TimingEvent &e : events) {
        const ListingRow r = EventRow(e, offsetAt);
        out << CsvField(r.source) << ',' << CsvField(r.body) << ',' << CsvField(r.what) << ','
            << CsvField(r.enter) << ',' << CsvField(r.exact) << ',' << CsvField(r.leave) << '\n';
    }
}

} // namespace cel::timing
