#include "session/event_place.h"

namespace cel::session {

std::int32_t NewEventPlace(const database::Database &db, const database::TPersona &person) {
    if (database::IndexOfId(db.Places, person.IdLugarNac) >= 0)
        return person.IdLugarNac;
    const database::TEvento *latest = nullptr;
    for (const database::TEvento &e : person.Eventos)
        if (database::IndexOfId(db.Places, e.IdLugarGeo) >= 0 && (!latest || e.Fecha > latest->Fecha))
            latest = &e;
    return latest ? latest->IdLugarGeo : -1;
}

TDateTime CivilTimeAt(const database::Database &db, std::int32_t placeId, TDateTime universal) {
    const std::optional<chart::PlacePosition> place = FindPlace(db, placeId);
    return place ? ShiftDateTime(universal, place->zone / 24) : universal;
}

TDateTime WallClockAt(const database::Database &db, std::int32_t placeId, TDateTime universal,
                      const zones::Atlas *atlas, const zones::PlaceZoneChoices *choices) {
    const int i = database::IndexOfId(db.Places, placeId);
    if (atlas && placeId >= 0 && i >= 0) {
        const database::TLugar_Geo &place = *db.Places[static_cast<std::size_t>(i)];
        const zones::PlaceZone zone = zones::ZoneOfPlace(db, place, *atlas, choices);
        if (!zone.zoneId.empty())
            if (const std::optional<TDateTime> local =
                    zones::UniversalToLocal(zone.zoneId, universal, static_cast<double>(place.Lon)))
                return *local;
    }
    return CivilTimeAt(db, placeId, universal);
}

TDateTime EnteredTimeOf(const Workspace &w, ChartSide side, TDateTime universal) {
    const chart::TDato &record = side == ChartSide::Natal ? w.natalRecord : w.eventRecord;
    return record.gmtFlag == 1 ? universal : CivilTimeAt(w.db, record.placeId, universal);
}

void MoveEventTo(Workspace &w, std::int32_t placeId) {
    const TDateTime universal = w.eventRecord.gmtDateTime;
    w.eventRecord.placeId = placeId;
    w.ComputeChart(ChartSide::Event, EnteredTimeOf(w, ChartSide::Event, universal));
}

} // namespace cel::session
