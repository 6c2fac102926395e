#include "session/item_entry.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "database/text_cleanup.h"
#include "zones/zone_history.h"

namespace cel::session {

using namespace cel::database;

namespace {

// Names equal ignoring ASCII case within a list, another Id than `id`.
template <class T> bool NameTaken(const RecordList<T> &list, const std::string &name, std::int32_t id) {
    return std::any_of(list.begin(), list.end(),
                       [&](const auto &r) { return r->Id != id && SameIgnoringAsciiCase(r->Nombre, name); });
}

} // namespace

const char *KindWord(Kind kind) {
    switch (kind) {
    case Kind::Country:
        return "País";
    case Kind::Place:
        return "Lugar Geográfico";
    case Kind::PersonGroup:
        return "Grupo Persona";
    case Kind::Person:
        return "Persona";
    case Kind::BusinessGroup:
        return "Grupo Empresa";
    case Kind::Business:
        break;
    }
    return "Empresa";
}

TPersona PersonForEditing(const Database &db, std::int32_t id) {
    const int i = IndexOfId(db.Persons, id);
    TPersona person = i >= 0 ? *db.Persons[static_cast<std::size_t>(i)] : TPersona{};
    person.Observaciones = DecodeObservations(person.Observaciones);
    return person;
}

std::string NameOfItem(const Database &db, Kind kind, std::int32_t id) {
    switch (kind) {
    case Kind::Country:
        return NameOfId(db.Countries, id);
    case Kind::Place:
        return NameOfId(db.Places, id);
    case Kind::PersonGroup:
        return NameOfId(db.PersonGroups, id);
    case Kind::Person:
        return NameOfId(db.Persons, id);
    case Kind::BusinessGroup:
        return NameOfId(db.BusinessGroups, id);
    case Kind::Business:
        break;
    }
    return NameOfId(db.Businesses, id);
}

bool CheckItemName(const std::string &typed, Notifier &notices) {
    return CheckInput(typed, "el Nombre", notices);
}

bool StoreNamedItem(Database &db, Notifier &notices, Kind kind, ItemTarget &target,
                    const std::string &typed) {
    const std::string name = CleanText(typed);
    const auto refuse = [&] {
        notices.Notice(NoticeKind::Warning, false, true,
                       std::string("Ya existe el ") + KindWord(kind) + " \"" + name + "\"");
        return false;
    };
    const auto store = [&](auto &list, auto make) {
        if (NameTaken(list, name, target.isNew ? -1 : target.id))
            return refuse();
        if (target.isNew) {
            auto record = make();
            record->Nombre = name;
            record->Id = db.TakeId(kind);
            target = {false, record->Id};
            list.push_back(std::move(record));
        } else {
            const int i = IndexOfId(list, target.id);
            if (i >= 0)
                list[static_cast<std::size_t>(i)]->Nombre = name;
        }
        return true;
    };
    switch (kind) {
    case Kind::Country:
        return store(db.Countries, [] { return std::make_unique<TPais>(); });
    case Kind::PersonGroup:
        return store(db.PersonGroups, [] { return std::make_unique<TData>(); });
    case Kind::BusinessGroup:
        return store(db.BusinessGroups, [] { return std::make_unique<TData>(); });
    default:
        break;
    }
    // Businesses: only the name is edited here.
    if (target.isNew) {
        auto record = std::make_unique<TNegocio>();
        record->Nombre = name;
        record->Id = db.TakeId(Kind::Business);
        target = {false, record->Id};
        db.Businesses.push_back(std::move(record));
    } else if (const int i = IndexOfId(db.Businesses, target.id); i >= 0) {
        db.Businesses[static_cast<std::size_t>(i)]->Nombre = name;
    }
    return true;
}

TLugar_Geo PlaceAsTyped(const TLugar_Geo &working, const PlaceInput &input) {
    TLugar_Geo place = working;
    place.Nombre = CleanText(input.name);
    place.IdPais = input.country;
    place.Lon = ComposeDegrees(input.lon);
    place.Lat = ComposeDegrees(input.lat);
    return place;
}

std::optional<TLugar_Geo> StorePlaceItem(Database &db, Notifier &n, ItemTarget &target,
                                         const TLugar_Geo &working, const PlaceInput &input,
                                         std::optional<zones::PlaceKey> &formerKey) {
    const std::int32_t country = input.country;
    if (country < 0) {
        n.Notice(NoticeKind::Warning, false, true, "Seleccione un País");
        return std::nullopt;
    }
    const std::string name = CleanText(input.name);
    const std::int32_t exclude = target.isNew ? -1 : target.id;
    if (!db.PlaceNameFree(exclude, name, country)) {
        n.Notice(NoticeKind::Warning, false, true,
                 "Ya existe un lugar geográfico con el nombre " + name + " asignado al país " +
                     NameOfId(db.Countries, country));
        return std::nullopt;
    }
    if (!input.zone.empty() && !zones::IsZoneId(input.zone)) {
        n.Notice(NoticeKind::Warning, false, true,
                 "La zona horaria \"" + input.zone + "\" no existe en la base de datos de zonas horarias");
        return std::nullopt;
    }
    // The key the place's zone choice is kept under, before a new name or new coordinates.
    formerKey.reset();
    if (!target.isNew)
        if (const int i = IndexOfId(db.Places, target.id); i >= 0)
            formerKey = zones::KeyOf(db, *db.Places[static_cast<std::size_t>(i)]);
    TLugar_Geo place = working;
    place.Nombre = name;
    place.IdPais = country;
    if (input.lonTouched || target.isNew)
        place.Lon = ComposeDegrees(input.lon);
    if (input.latTouched || target.isNew)
        place.Lat = ComposeDegrees(input.lat);
    if (input.tzTouched || target.isNew)
        place.TZ = ComposeDegrees({input.tzHours < 0, std::abs(input.tzHours), input.tzMinutes, 0, 0});
    place.DST = input.dst ? 1 : 0;
    if (!CheckOptionalInput(input.description, n))
        return std::nullopt;
    place.Descripcion = CleanText(input.description);
    const int same = db.SameDataPlace(place, exclude);
    if (same >= 0) {
        n.Notice(NoticeKind::Warning, false, true,
                 "Ya existe un lugar geográfico con estos datos. Este lugar es:\r\r" +
                     PlaceDescription(db, *db.Places[static_cast<std::size_t>(same)]));
        return std::nullopt;
    }
    if (target.isNew) {
        place.Id = db.TakeId(Kind::Place);
        place.Marca = 0;
        place.Usos = 0;
        target = {false, place.Id};
        db.Places.push_back(std::make_unique<TLugar_Geo>(place));
    } else if (const int i = IndexOfId(db.Places, target.id); i >= 0) {
        TLugar_Geo &stored = *db.Places[static_cast<std::size_t>(i)];
        place.Id = stored.Id;
        place.Marca = stored.Marca;
        place.Usos = stored.Usos;
        stored = place;
    }
    return place;
}

bool StorePersonItem(Database &db, Notifier &notices, ItemTarget &target, const TPersona &working,
                     const std::string &typedName) {
    // Every text the data file cannot hold is said before anything is stored.
    std::vector<const std::string *> texts = {&working.Apellidos, &working.Observaciones};
    for (const TLugar *a : {&working.Residencia, &working.Trabajo})
        for (const std::string *s : {&a->Dir, &a->Tel, &a->Cel, &a->Fax, &a->Web, &a->Email})
            texts.push_back(s);
    for (const std::string *text : texts)
        if (!CheckOptionalInput(*text, notices))
            return false;
    TPersona record = working;
    record.Nombre = CleanText(typedName);
    record.Apellidos = CleanText(record.Apellidos);
    for (TLugar *a : {&record.Residencia, &record.Trabajo})
        for (std::string *s : {&a->Dir, &a->Tel, &a->Cel, &a->Fax, &a->Web, &a->Email})
            *s = CleanText(*s);
    record.Observaciones = EncodeObservations(working.Observaciones);
    if (record.IsDate != 1) {
        record.Fecha = 0;
        record.HoraUT = -1;
        record.IsHora = 0;
    }
    if (target.isNew) {
        record.Id = db.TakeId(Kind::Person);
        record.Marca = 0;
        target = {false, record.Id};
        db.Persons.push_back(std::make_unique<TPersona>(std::move(record)));
    } else if (const int i = IndexOfId(db.Persons, target.id); i >= 0) {
        TPersona &stored = *db.Persons[static_cast<std::size_t>(i)];
        record.Id = stored.Id;
        record.Marca = stored.Marca;
        record.Usos = stored.Usos;
        stored = std::move(record);
    }
    return true;
}

BirthClock BirthClockAt(const Database &db, std::int32_t placeId, TDateTime typed, bool typedIsUniversal) {
    const int i = IndexOfId(db.Places, placeId);
    const long double tz = i >= 0 ? db.Places[static_cast<std::size_t>(i)]->TZ : 0;
    BirthClock clock;
    clock.local = clock.universal = typed;
    if (typedIsUniversal)
        clock.local = ShiftDateTime(typed, tz / 24);
    else
        clock.universal = ShiftDateTime(typed, -tz / 24);
    clock.placeCaption = db.PlaceCaption(placeId) + ", (TZ: " + TimeZoneText(tz) + ")";
    return clock;
}

} // namespace cel::session
