// A listing of transits, progressions and directions as the chart program and the command line show it:
// the searches run in chunks (a year of one transiting body, ten years of progressions or directions),
// so a window can show the rows as they come and stop between chunks; and the rows' texts, times and
// CSV form.
#pragma once

#include <cmath>
#include <functional>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "chart/records.h"
#include "timing/search.h"

namespace cel::timing {

// What to list: the period, bodies, points, aspects and orbs in options; the kinds of listing here.
struct ListingRequest {
    TimingOptions options;
    bool transits = true;      // aspects of the transiting bodies
    bool ingresses = true;     // sign and house ingresses
    bool stations = true;      // stations of the transiting bodies
    bool progressions = false; // secondary progressions (aspects, ingresses, the Moon's phases)
    bool directions = false;   // solar arc and both primary directions
};

// The searches of a listing, one chunk at a time, on a position cache of its own. The chunks together
// give the events one search over the whole period gives: an aspect whose exact times fall in two
// chunks is kept by the chunk of its first exact time in the period.
class ChunkedListing {
public:
    ChunkedListing(const chart::TDataAstro &natal, ListingRequest request);
    bool Done() const { return next_ >= chunks_.size(); }
    // Share of the chunks run, 0..1.
    double Share() const;
    // Runs the next chunk; its events, in listing order. stop() is asked now and then during the chunk:
    // true ends it early (its events are then incomplete and left out).
    std::vector<TimingEvent> Next(const std::function<bool()> &stop = {});

private:
    struct Chunk {
        Real from, to;
        int body = 0;            // transits: the one transiting body
        bool progressed = false; // progressions and directions of the sources below
        std::vector<Source> sources;
    };
    chart::TDataAstro natal_;
    ListingRequest request_;
    PositionCache cache_;
    std::vector<Chunk> chunks_;
    std::size_t next_ = 0;
};

// Runs every chunk: the whole listing in order.
std::vector<TimingEvent> RunListing(const chart::TDataAstro &natal, const ListingRequest &request);

// Greenwich time: no offset.
inline constexpr double kGreenwichTime = std::numeric_limits<double>::quiet_NaN();

// "YYYY-MM-DDTHH:MMZ", rounded to the minute; with an offset in hours (not kGreenwichTime), the local
// time and its offset ("+02:00").
std::string TimeText(Real days, double offsetHours);

// The texts of a listing row: source, body, what happens and the three times.
struct ListingRow {
    std::string source, body, what, enter, exact, leave;
};
ListingRow EventRow(const TimingEvent &event, double offsetHours);
// The same with the offset of each instant (hours east, a zone's history); empty: Greenwich time.
using OffsetAt = std::function<double(Real days)>;
ListingRow EventRow(const TimingEvent &event, const OffsetAt &offsetAt);
// The same with the times written by write (an instant in continuous days, Greenwich); several exact
// times joined by separator.
using TimeWriter = std::function<std::string(Real days)>;
ListingRow EventRow(const TimingEvent &event, const TimeWriter &write, const std::string &separator);
// Short names: "Trán.", "Prog.", ...; bodies "Sol" .. "Nod", "Asc", "MC"; points also "C1" .. "C12".
std::string SourceName(Source source);
std::string MovingBodyName(int body);
std::string PointName(const NatalPoint &point);
// The Moon's phase names, 45 degrees each from the new Moon.
std::string PhaseName(int phase);

// The listing as CSV: a heading line "fuente,cuerpo,suceso,entra,exacto,sale" and a line per event.
void WriteCsv(std::ostream &out, const std::vector<TimingEvent> &events, double offsetHours);
void WriteCsv(std::ostream &out, const std::vector<TimingEvent> &events, const OffsetAt &offsetAt);
std::string CsvField(const std::string &text);

} // namespace cel::timing
