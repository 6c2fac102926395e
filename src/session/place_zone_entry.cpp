#include "session/place_zone_entry.h"

#include <cstdio>

#include "zones/zone_history.h"

namespace cel::session {

std::string PlaceZoneEntry::ShowFor(const database::Database &db, const database::TLugar_Geo &place) {
    const zones::PlaceZone zone = zones::ZoneOfPlace(db, place, atlas_, &choices_());
    derived_ = zones::ZoneOfPlace(db, place, atlas_, nullptr);
    chosen_ = zone.source == zones::PlaceZoneSource::Chosen;
    edited_ = false;
    return zone.zoneId;
}

std::optional<std::string> PlaceZoneEntry::Rederive(const database::Database &db,
                                                    const database::TLugar_Geo &place) {
    if (edited_ || chosen_)
        return std::nullopt;
    return ShowFor(db, place);
}

std::string PlaceZoneEntry::Description(const std::string &zone) const {
    if (zone.empty())
        return "Sin zona: el atlas no tiene ciudades de ese país; elija una de la lista.";
    if (!zones::IsZoneId(zone))
        return "\"" + zone + "\" no es una zona de la base de datos de zonas horarias.";
    if (zone != derived_.zoneId || chosen_) {
        std::string text = zone == derived_.zoneId ? "La del atlas" : "Elegida por usted";
        if (!derived_.zoneId.empty() && zone != derived_.zoneId)
            text += " (el atlas da " + derived_.zoneId + ")";
        return text + ".";
    }
    if (!derived_.city)
        return {};
    char km[32];
    std::snprintf(km, sizeof km, "%.0f", derived_.distanceKm);
    return "Del atlas: la ciudad más cercana es " + derived_.city->name +
           (derived_.city->region.empty() ? "" : ", " + derived_.city->region) + " (" + km + " km)" +
           (derived_.source == zones::PlaceZoneSource::AtlasNearby ? ", de otro país." : ".");
}

bool PlaceZoneEntry::Record(const database::Database &db, const database::TLugar_Geo &stored,
                            const std::optional<zones::PlaceKey> &formerKey, const std::string &zone) {
    zones::PlaceZoneChoices &choices = choices_();
    const zones::PlaceKey key = zones::KeyOf(db, stored);
    const std::optional<std::string> before = choices.Get(key);
    const std::optional<std::string> formerChoice = formerKey ? choices.Get(*formerKey) : std::nullopt;
    const zones::PlaceZone derived = zones::ZoneOfPlace(db, stored, atlas_, nullptr);
    const std::string wanted = zone == derived.zoneId ? std::string() : zone;
    if (before.value_or("") == wanted && !formerChoice)
        return false;
    if (formerKey)
        choices.Set(*formerKey, "");
    choices.Set(key, wanted);
    return true;
}

} // namespace cel::session
