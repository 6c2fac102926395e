#include "chart/database_places.h"

namespace cel::chart {

PlaceLookup PlacesOf(const database::Database &db) {
    return [&db](std::int32_t placeId) -> std::optional<PlacePosition> {
        if (placeId < 0)
            return std::nullopt;
        const int index = database::IndexOfId(db.Places, placeId);
        if (index < 0)
            return std::nullopt;
        const database::TLugar_Geo &place = *db.Places[static_cast<std::size_t>(index)];
        return PlacePosition{place.TZ, place.Lon, place.Lat};
    };
}

std::optional<PersonBirth> BirthOf(const database::TPersona &person) {
    if (person.IsDate == 0 || person.HoraUT < 0)
        return std::nullopt;
    PersonBirth birth;
    birth.record.text = person.Nombre + (person.Apellidos.empty() ? "" : " " + person.Apellidos);
    birth.record.ownerId = person.Id;
    birth.record.placeId = person.IdLugarNac;
    birth.record.gmtFlag = person.HoraUT == 1 ? 1 : 0;
    birth.value = person.Fecha;
    return birth;
}

} // namespace cel::chart
