#include "session/zone_review.h"

#include <cmath>
#include <unordered_map>

#include "common/date_text.h"

namespace cel::session {

namespace {

// Offsets agree to the second, as the offer compares them.
bool SameOffset(double a, double b) {
    return std::llround(a * 3600.0) == std::llround(b * 3600.0);
}

std::string DateTimeText(TDateTime value, const TextFormat &format) {
    const bool seconds = DecodeDateTime(value).second != 0;
    return FormatDateTimeText(value, seconds ? "dd/mm/yyyy hh:nn:ss" : "dd/mm/yyyy hh:nn", format);
}

std::string PersonName(const database::TPersona &p) {
    if (p.Apellidos.empty())
        return p.Nombre;
    if (p.Nombre.empty())
        return p.Apellidos;
    return p.Nombre + " " + p.Apellidos;
}

std::string PlaceText(const database::Database &db, const database::TLugar_Geo &place) {
    const int c = database::IndexOfId(db.Countries, place.IdPais);
    if (c < 0)
        return place.Nombre;
    return place.Nombre + " (" + db.Countries[static_cast<std::size_t>(c)]->Nombre + ")";
}

std::string InForceText(const ZoneOffer &offer) {
    const zones::LocalZoneReading &r = offer.reading;
    switch (r.kind) {
    case zones::LocalTimeKind::Unique:
        break;
    case zones::LocalTimeKind::Gap:
        return zones::OffsetText(r.first.offsetHours) + " o " + zones::OffsetText(r.second.offsetHours) +
               ", hora saltada (" + offer.zoneId + ")";
    case zones::LocalTimeKind::Fold:
        return zones::OffsetText(r.first.offsetHours) + " o " + zones::OffsetText(r.second.offsetHours) +
               ", hora repetida (" + offer.zoneId + ")";
    }
    return ReadingText(r.first) + " (" + offer.zoneId + ")";
}

} // namespace

ZoneReview ReviewZones(const database::Database &db, const zones::Atlas &atlas,
                       const zones::PlaceZoneChoices *choices, const TextFormat &format) {
    ZoneReview review;
    // Many persons share a birth place: each place's zone is looked up once.
    std::unordered_map<std::int32_t, zones::PlaceZone> zoneOfPlace;
    for (const auto &owned : db.Persons) {
        const database::TPersona &p = *owned;
        if (p.IsDate != 1)
            continue;
        if (p.HoraUT == 1) {
            ++review.universal;
            continue;
        }
        if (p.HoraUT != 0)
            continue;
        const int i = p.IdLugarNac >= 0 ? database::IndexOfId(db.Places, p.IdLugarNac) : -1;
        if (i < 0) {
            ++review.withoutZone;
            continue;
        }
        const database::TLugar_Geo &place = *db.Places[static_cast<std::size_t>(i)];
        auto found = zoneOfPlace.find(place.Id);
        if (found == zoneOfPlace.end())
            found = zoneOfPlace.emplace(place.Id, zones::ZoneOfPlace(db, place, atlas, choices)).first;
        const zones::PlaceZone &zone = found->second;
        std::optional<ZoneOffer> offer;
        if (!zone.zoneId.empty())
            offer = OfferZone(zone.zoneId, p.Fecha, static_cast<double>(place.TZ),
                              static_cast<double>(place.Lon));
        if (!offer) {
            ++review.withoutZone;
            continue;
        }
        // A time not known stands at 0:00: its zone says nothing about the birth, so it is left alone.
        if (p.IsHora != 1) {
            ++review.withoutTime;
            continue;
        }
        ++review.checked;
        offer->source = zone.source;
        // A skipped or repeated hour is listed only when the stored zone is neither of its readings.
        const double stored = static_cast<double>(place.TZ);
        if (SameOffset(offer->reading.first.offsetHours, stored) ||
            SameOffset(offer->reading.second.offsetHours, stored))
            continue;
        ZoneReviewRow row;
        row.personId = p.Id;
        row.person = PersonName(p);
        row.place = PlaceText(db, place);
        row.local = p.Fecha;
        row.localText = DateTimeText(p.Fecha, format);
        row.storedText = zones::OffsetText(stored);
        row.inForceText = InForceText(*offer);
        row.universalText = DateTimeText(offer->universal, format);
        row.note = offer->note;
        if (zone.source == zones::PlaceZoneSource::AtlasNearby)
            row.note +=
                std::string(row.note.empty() ? "" : " ") +
                "La zona es la de la ciudad más cercana del atlas, de otro país: el país del lugar no "
                "está en el atlas.";
        row.offer = std::move(*offer);
        review.rows.push_back(std::move(row));
    }
    return review;
}

int CorrectZones(database::Database &db, const std::vector<const ZoneReviewRow *> &rows) {
    int corrected = 0;
    for (const ZoneReviewRow *row : rows) {
        const int i = database::IndexOfId(db.Persons, row->personId);
        if (i < 0)
            continue;
        database::TPersona &p = *db.Persons[static_cast<std::size_t>(i)];
        if (p.IsDate != 1 || p.HoraUT != 0 || p.Fecha != row->local)
            continue;
        AcceptOffer(p, row->offer);
        ++corrected;
    }
    return corrected;
}

ZoneCorrection CorrectZonesAndSave(DataStore &store, const std::vector<const ZoneReviewRow *> &rows,
                                   const std::string &unsaved) {
    struct Before {
        std::int32_t id;
        TDateTime fecha;
        std::int32_t horaUt;
    };
    database::Database &db = store.Db();
    std::vector<Before> before;
    for (const ZoneReviewRow *row : rows)
        if (const int i = database::IndexOfId(db.Persons, row->personId); i >= 0) {
            const database::TPersona &p = *db.Persons[static_cast<std::size_t>(i)];
            before.push_back({p.Id, p.Fecha, p.HoraUT});
        }
    ZoneCorrection result;
    const int changed = CorrectZones(db, rows);
    if (changed == 0)
        return result;
    result.attempted = true;
    const int reloads = store.Reloads();
    if (store.Save(unsaved)) {
        result.corrected = changed;
        result.saved = true;
        return result;
    }
    if (store.Reloads() == reloads)
        for (const Before &b : before)
            if (const int i = database::IndexOfId(db.Persons, b.id); i >= 0) {
                database::TPersona &p = *db.Persons[static_cast<std::size_t>(i)];
                p.Fecha = b.fecha;
                p.HoraUT = b.horaUt;
            }
    return result;
}

std::string ReviewSummary(const ZoneReview &review) {
    std::string text;
    if (review.checked == 0)
        text = "No hay personas con nacimiento en hora local, con su hora, en un lugar con zona.";
    else if (review.rows.empty())
        text = "Ninguna de las " + std::to_string(review.checked) +
               " personas con nacimiento en hora local tiene un huso distinto del que regía.";
    else
        text =
            std::to_string(review.rows.size()) + (review.rows.size() == 1 ? " persona" : " personas") +
            " de " + std::to_string(review.checked) +
            " con nacimiento en hora local: el huso guardado con el lugar no es el que regía en esa fecha.";
    if (review.withoutTime > 0)
        text += " Sin hora conocida, no se revisan: " + std::to_string(review.withoutTime) + ".";
    if (review.withoutZone > 0)
        text += " Sin lugar de nacimiento o sin zona: " + std::to_string(review.withoutZone) + ".";
    if (review.universal > 0)
        text += " Ya en tiempo universal: " + std::to_string(review.universal) + ".";
    return text;
}

} // namespace cel::session
