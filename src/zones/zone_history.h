// The history of a time zone from the system's IANA database: the offset in force at a local or a
// universal date-time, whether it was daylight-saving time or local mean time, and the local times
// that a clock change skipped (gap) or repeated (fold), with both readings.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/date_time.h"

namespace cel::zones {

// What the zone database says for one instant.
struct ZoneReading {
    double offsetHours = 0;   // local civil time minus universal time, hours, east positive
    double daylightHours = 0; // the daylight-saving part of the offset (0 on standard time)
    bool daylight = false;    // daylight-saving ("summer") time was in force
    // Local mean time: the database gives the reference city's mean time; when the place's longitude
    // is known the offset is that longitude's mean time instead (longitude ÷ 15).
    bool localMeanTime = false;
    std::string abbreviation; // the database's abbreviation: "CEST", "LMT", "-03"

    bool operator==(const ZoneReading &) const = default;
};

enum class LocalTimeKind {
    Unique, // the local time happened once
    Gap,    // the clocks jumped over it: it never happened (first = offset before the jump, second = after)
    Fold,   // the clocks went back over it: it happened twice (first = earlier instant, second = later)
};

// The reading of a local date-time in a zone.
struct LocalZoneReading {
    std::string zoneId;
    LocalTimeKind kind = LocalTimeKind::Unique;
    ZoneReading first;  // the reading (for a gap or fold, the first of the two)
    ZoneReading second; // the other reading of a gap or fold; equal to first when unique
    // Before 1970 the database's history is less certain (it is compiled from historical sources).
    bool beforeReliableHistory = false;
};

// Whether the id names a zone of the installed database ("Europe/Madrid"; also links such as "US/Eastern").
bool IsZoneId(std::string_view zoneId);
// Every zone id of the installed database (canonical zones and links), sorted.
const std::vector<std::string> &ZoneIds();
// The installed database's version ("2026f"), or "" when the system does not name it.
std::string TzdataVersion();

// The reading of a local date-time (proleptic Gregorian, any year 1..9999) in the zone; nothing for an
// unknown zone id. longitudeWest is the place's longitude (degrees, west positive), used for local mean
// time; without it local mean time is the database's.
std::optional<LocalZoneReading> ReadLocal(std::string_view zoneId, TDateTime local,
                                          std::optional<double> longitudeWest = std::nullopt);
// The reading at a universal date-time; nothing for an unknown zone id.
std::optional<ZoneReading> ReadUniversal(std::string_view zoneId, TDateTime universal,
                                         std::optional<double> longitudeWest = std::nullopt);

// The universal time of a local time read with the given reading, and back, on the continuous civil
// time line.
TDateTime UniversalOf(TDateTime local, const ZoneReading &reading);
TDateTime LocalOf(TDateTime universal, const ZoneReading &reading);
// The local time in the zone of a universal time; nothing for an unknown zone id.
std::optional<TDateTime> UniversalToLocal(std::string_view zoneId, TDateTime universal,
                                          std::optional<double> longitudeWest = std::nullopt);

// The first date-time of the database's more certain history (1970-01-01 00:00).
TDateTime ReliableHistoryStart();

// "UTC+2", "UTC-4", "UTC+5:30", "UTC-4:16:48", "UTC+0"; the offset rounded to the second.
std::string OffsetText(double hours);
// "horario de verano", "hora media local" or "horario estándar".
std::string ReadingKindText(const ZoneReading &reading);

} // namespace cel::zones
