#include "session/zone_offer.h"

#include <cmath>
#include <cstdio>

namespace cel::session {

namespace {

// Offsets are compared to the second: a stored zone of -4.28 hours is -4:16:48.
bool SameOffset(double a, double b) {
    return std::llround(a * 3600.0) == std::llround(b * 3600.0);
}

std::string ClockText(TDateTime value) {
    const CivilDateTime dt = DecodeDateTime(value);
    char buffer[32];
    if (dt.second != 0)
        std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", dt.hour, dt.minute, dt.second);
    else
        std::snprintf(buffer, sizeof buffer, "%02d:%02d", dt.hour, dt.minute);
    return buffer;
}

} // namespace

std::string ReadingText(const zones::ZoneReading &reading) {
    return zones::OffsetText(reading.offsetHours) + ", " + zones::ReadingKindText(reading);
}

std::optional<ZoneOffer> OfferZone(const std::string &zoneId, TDateTime local, double storedZone,
                                   std::optional<double> longitudeWest) {
    const std::optional<zones::LocalZoneReading> reading = zones::ReadLocal(zoneId, local, longitudeWest);
    if (!reading)
        return std::nullopt;
    ZoneOffer offer;
    offer.zoneId = zoneId;
    offer.reading = *reading;
    offer.storedZone = storedZone;
    offer.universal = zones::UniversalOf(local, reading->first);
    offer.universalSecond = zones::UniversalOf(local, reading->second);
    offer.differs = !SameOffset(reading->first.offsetHours, storedZone) ||
                    !SameOffset(reading->second.offsetHours, storedZone);
    const std::string where = " (" + zoneId + ")";
    switch (reading->kind) {
    case zones::LocalTimeKind::Unique:
        offer.text = "En esa fecha regía " + ReadingText(reading->first) + where;
        break;
    case zones::LocalTimeKind::Gap:
        offer.text = "Esa hora no existió" + where + ": los relojes saltaron de " +
                     zones::OffsetText(reading->first.offsetHours) + " a " +
                     zones::OffsetText(reading->second.offsetHours);
        offer.note = "Leída con " + ReadingText(reading->first) + " es " + ClockText(offer.universal) +
                     " GMT; con " + ReadingText(reading->second) + " es " + ClockText(offer.universalSecond) +
                     " GMT.";
        break;
    case zones::LocalTimeKind::Fold:
        offer.text = "Esa hora ocurrió dos veces" + where + ": primero con " + ReadingText(reading->first) +
                     ", después con " + ReadingText(reading->second);
        offer.note = "La primera es " + ClockText(offer.universal) + " GMT; la segunda, " +
                     ClockText(offer.universalSecond) + " GMT.";
        break;
    }
    if (reading->first.localMeanTime && longitudeWest)
        offer.note += std::string(offer.note.empty() ? "" : " ") +
                      "Antes de la hora oficial regía la hora media local, tomada de la longitud del lugar.";
    if (reading->beforeReliableHistory)
        offer.note += std::string(offer.note.empty() ? "" : " ") +
                      "Antes de 1970 los datos históricos de zonas horarias son menos seguros.";
    return offer;
}

std::optional<ZoneOffer> OfferZoneForPlace(const database::Database &db, std::int32_t placeId,
                                           TDateTime local, const zones::Atlas &atlas,
                                           const zones::PlaceZoneChoices *choices) {
    const int i = database::IndexOfId(db.Places, placeId);
    if (placeId < 0 || i < 0)
        return std::nullopt;
    const database::TLugar_Geo &place = *db.Places[i];
    const zones::PlaceZone zone = zones::ZoneOfPlace(db, place, atlas, choices);
    if (zone.zoneId.empty())
        return std::nullopt;
    std::optional<ZoneOffer> offer =
        OfferZone(zone.zoneId, local, static_cast<double>(place.TZ), static_cast<double>(place.Lon));
    if (offer)
        offer->source = zone.source;
    return offer;
}

void AcceptOffer(database::TPersona &person, const ZoneOffer &offer, bool second) {
    person.Fecha = second ? offer.universalSecond : offer.universal;
    person.HoraUT = 1;
}

void AcceptOffer(database::TEvento &event, const ZoneOffer &offer, bool second) {
    event.Fecha = second ? offer.universalSecond : offer.universal;
    event.HoraUT = 1;
}

} // namespace cel::session
