// A place of the data file from a city of the world atlas: what the place editor fills in when the user
// picks a city found by typing its name (coordinates, the country of the data file, the zone and its
// standard offset for the place's stored TZ), and the text each match is listed with.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/date_time.h"
#include "database/database.h"
#include "zones/atlas.h"

namespace cel::session {

struct AtlasMatch {
    const zones::AtlasCity *city = nullptr;
    // "Medellín — Antioquia, Colombia · 2 529 403 hab." (the original name in brackets when it differs).
    std::string text;
};

// The atlas cities whose name matches the typed text (accents and case ignored, names beginning with
// it first, largest first); nothing for a text of fewer than two letters.
std::vector<AtlasMatch> SearchAtlas(const zones::Atlas &atlas, std::string_view typed,
                                    std::size_t limit = 15);

struct AtlasPlace {
    std::string name;            // the city's name (Spanish where the atlas has it)
    std::int32_t countryId = -1; // the data file's country of that name; -1 when the file has none
    std::string countryName;     // the atlas's name of the country ("España")
    double latitude = 0;         // degrees, north positive
    double longitudeWest = 0;    // degrees, west positive
    std::string zoneId;          // "Europe/Madrid"
    double standardHours = 0;    // the zone's standard offset at `now` (hours east), for the place's TZ
};

// The place a city makes in a database: its country found by name, accents and case ignored (Spanish or
// the atlas's own), and the standard offset of its zone at the given universal time.
AtlasPlace PlaceOfCity(const database::Database &db, const zones::AtlasCity &city, TDateTime now);

} // namespace cel::session
