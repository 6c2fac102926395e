// What the item editor decides and writes: the record it shows (a person with the line breaks of the
// notes decoded), the names and coordinates as typed into the boxes, and storing a named item, a place
// or a person into the records after the checks that refuse it (a name taken, a place without country
// or with the data of another, texts the data file cannot hold), each refusal said in Spanish with
// nothing changed. Saving the file stays with the caller.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/notifier.h"
#include "database/coordinate_text.h"
#include "database/database.h"
#include "zones/place_zones.h"

namespace cel::session {

// The degrees-minutes-seconds boxes and the event name question, as the editors use them.
using database::AskEventName;
using database::ComposeDegrees;
using database::DmsParts;
using database::SplitDegrees;

// "País", "Lugar Geográfico", "Grupo Persona", "Persona", "Grupo Empresa", "Empresa".
const char *KindWord(database::Kind kind);

// The record the editor is on: new (its Id not yet taken) or the stored one with this Id.
struct ItemTarget {
    bool isNew = true;
    std::int32_t id = -1;
};

// The person with this Id as the editor works on it (its notes with plain line breaks); an empty person
// when there is none.
database::TPersona PersonForEditing(const database::Database &db, std::int32_t id);
// The name of the record of a kind with this Id ("-" when none).
std::string NameOfItem(const database::Database &db, database::Kind kind, std::int32_t id);

// False, after its warning, when the typed name is empty or holds what the data file cannot.
bool CheckItemName(const std::string &typed, Notifier &notices);

// Stores a record edited by name alone (countries, groups, businesses); a name another record of the
// kind has (ignoring ASCII case) is refused. The target becomes the stored record.
bool StoreNamedItem(database::Database &db, Notifier &notices, database::Kind kind, ItemTarget &target,
                    const std::string &typed);

// The place boxes as typed.
struct PlaceInput {
    std::string name;
    std::int32_t country = -1;
    std::string zone; // the zone of the zone box, "" for none
    DmsParts lon, lat;
    int tzHours = 0, tzMinutes = 0;
    // A coordinate the user did not touch keeps the stored value to the last digit.
    bool lonTouched = false, latTouched = false, tzTouched = false;
    bool dst = false;
    std::string description;
};
// The place as the boxes show it now (name, country and coordinates over the working place).
database::TLugar_Geo PlaceAsTyped(const database::TLugar_Geo &working, const PlaceInput &input);
// Stores the place typed over the working place; the stored place, or nullopt after the refusal.
// formerKey: the key the place's zone choice was kept under before this change (for a stored place).
std::optional<database::TLugar_Geo> StorePlaceItem(database::Database &db, Notifier &notices,
                                                   ItemTarget &target, const database::TLugar_Geo &working,
                                                   const PlaceInput &input,
                                                   std::optional<zones::PlaceKey> &formerKey);

// Stores the person being edited with the typed name: every text checked first, then cleaned, the
// notes encoded, and no date or time kept when the birth date is not set.
bool StorePersonItem(database::Database &db, Notifier &notices, ItemTarget &target,
                     const database::TPersona &working, const std::string &typedName);

// A birth's local and universal date-time by the stored zone of its place (none: universal time), and
// the place's caption with that zone ("Bogotá, Colombia, (TZ: -5:00)").
struct BirthClock {
    TDateTime local = 0, universal = 0;
    std::string placeCaption;
};
BirthClock BirthClockAt(const database::Database &db, std::int32_t placeId, TDateTime typed,
                        bool typedIsUniversal);

} // namespace cel::session
