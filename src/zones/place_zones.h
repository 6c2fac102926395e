// The IANA zone of a place of the data file: the user's choice when there is one, else the zone of the
// nearest atlas city of the place's country. The choices live in a file of their own, keyed by the
// place's country, name and coordinates, so the data file's format is untouched and a choice follows
// the place into every data file that holds it.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "database/database.h"
#include "zones/atlas.h"

namespace cel::zones {

// How a place is recognised: country name, place name and coordinates (to 1/10000 of a degree).
struct PlaceKey {
    std::string country;
    std::string name;
    double latitude = 0;
    double longitudeWest = 0;
};
// The key of a place of the database (its country looked up by IdPais; "" when it has none).
PlaceKey KeyOf(const database::Database &db, const database::TLugar_Geo &place);

// The zones users chose for places.
class PlaceZoneChoices {
public:
    // Reads the file; a missing file is an empty set of choices. False and the reason when the file
    // exists but cannot be read (the choices then stay empty and a save would not lose it: Save
    // refuses to replace a file that was not read).
    bool Load(const std::filesystem::path &file, std::string *error = nullptr);
    // Writes all choices safely (a new file renamed over the old one); false and the reason on failure.
    bool Save(const std::filesystem::path &file, std::string *error = nullptr) const;

    std::optional<std::string> Get(const PlaceKey &key) const;
    // Sets the zone chosen for the place; an empty zone id forgets the choice.
    void Set(const PlaceKey &key, const std::string &zoneId);
    std::size_t Size() const { return choices_.size(); }

private:
    std::map<std::string, std::string> choices_; // key text → zone id
    bool unreadable_ = false;
};

// The file shared by both programs: $XDG_CONFIG_HOME (or ~/.config) / "celestigrafo" /
// "zonas-de-lugares.txt".
std::filesystem::path DefaultChoicesFile();

enum class PlaceZoneSource {
    None,        // no zone: no choice and no atlas city to derive one from
    Chosen,      // the user's choice
    Atlas,       // the nearest atlas city of the place's country
    AtlasNearby, // the nearest atlas city of any country (the place names no country the atlas knows)
};

struct PlaceZone {
    std::string zoneId;
    PlaceZoneSource source = PlaceZoneSource::None;
    const AtlasCity *city = nullptr; // the city it came from (Atlas, AtlasNearby)
    double distanceKm = 0;
};

// The zone of a place: the choice recorded for it, else the nearest atlas city's.
PlaceZone ZoneOfPlace(const database::Database &db, const database::TLugar_Geo &place, const Atlas &atlas,
                      const PlaceZoneChoices *choices);
// The zone derived from the atlas alone for coordinates and a country (code or name, "" for any).
PlaceZone DerivedZone(const Atlas &atlas, double latitude, double longitudeWest, const std::string &country);

} // namespace cel::zones
