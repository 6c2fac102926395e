// The historical zone offset of a birth or an event: what the zone history says was in force at the
// place and local date-time, whether it differs from the zone stored with the place, the Spanish text
// that says so beside the time, and the universal time to store when the user accepts it (the record
// then keeps universal time, HoraUT = 1, so the data file's format and every reader agree).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/date_time.h"
#include "database/database.h"
#include "zones/atlas.h"
#include "zones/place_zones.h"
#include "zones/zone_history.h"

namespace cel::session {

struct ZoneOffer {
    std::string zoneId;
    zones::PlaceZoneSource source = zones::PlaceZoneSource::None;
    zones::LocalZoneReading reading;
    double storedZone = 0; // the place's TZ, hours east
    // The offset in force differs from the stored one (for a gap or a fold: either reading does).
    bool differs = false;
    // "En esa fecha regía UTC+2, horario de verano (Europe/Madrid)".
    std::string text;
    // What else the user must know: the skipped or repeated hour with both readings, the note on dates
    // before 1970; "" when nothing.
    std::string note;
    TDateTime universal = 0;       // the universal time of the (first) reading: stored with HoraUT = 1
    TDateTime universalSecond = 0; // of the second reading of a gap or fold (equal to universal otherwise)
};

// The offer for a local date-time in a zone, against a stored zone; nothing for an unknown zone id.
// longitudeWest is the place's longitude, for local mean time.
std::optional<ZoneOffer> OfferZone(const std::string &zoneId, TDateTime local, double storedZone,
                                   std::optional<double> longitudeWest);
// The offer for a place of the database (its zone from the choices, else from the atlas); nothing
// when the place is unknown or has no zone.
std::optional<ZoneOffer> OfferZoneForPlace(const database::Database &db, std::int32_t placeId,
                                           TDateTime local, const zones::Atlas &atlas,
                                           const zones::PlaceZoneChoices *choices);

// Stores an accepted offer in a person's birth or an event: the universal time of the chosen reading
// (second for the other reading of a gap or fold), HoraUT = 1.
void AcceptOffer(database::TPersona &person, const ZoneOffer &offer, bool second = false);
void AcceptOffer(database::TEvento &event, const ZoneOffer &offer, bool second = false);

// "UTC+2, horario de verano" / "UTC-0:14:44, hora media local".
std::string ReadingText(const zones::ZoneReading &reading);

} // namespace cel::session
