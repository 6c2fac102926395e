// A place of the data file from a city of the world atlas: what the place editor fills in when the user
// picks a city found by typing its name (coordinates, the country of the data file, the zone and its
// standard offset for the place's stored TZ), and the text each match is listed with; what typing a
// place's name in the main window lists (the data file's places, then the atlas's cities), and the
// data file's place that already is a city.
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
    const zones::AtlasCity *city = nullptr; // nothing for a place of the data file listed by its name
    // The data file's place the entry stands for; -1 for a city the file does not have.
    std::int32_t placeId = -1;
    // "Medellín — Antioquia, Colombia · 2 529 403 hab." (the original name in brackets when it differs).
    std::string text;
    std::string name; // what the field takes when the entry is chosen: the city's or the place's name
};

// The atlas cities whose name matches the typed text (accents and case ignored, names beginning with
// it first, largest first); nothing for a text of fewer than two letters.
std::vector<AtlasMatch> SearchAtlas(const zones::Atlas &atlas, std::string_view typed,
                                    std::size_t limit = 15);

struct AtlasPlace {
    std::string name;            // the city's name (Spanish where the atlas has it)
    std::string region;          // the city's first-level division ("Antioquia")
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

// The place record a city makes, as the place editor stores it: the coordinates to the whole second,
// the standard offset to the minute, no daylight-saving flag, the region as its description.
database::TLugar_Geo PlaceRecordOf(const AtlasPlace &place);

// The data file's place that is the city: a place of the city's country whose name is the city's
// (accents and case ignored) within 50 km of it; -1 when the file has none.
std::int32_t PlaceOfCityInFile(const database::Database &db, const zones::AtlasCity &city);

// What typing a place's name lists: the data file's places of the country (-1: none) whose names
// contain the text (accents and case ignored; those beginning with it first, then in name order),
// then the atlas's cities that match, largest first; a city the file already has stands for that
// place (a place listed already shows the city's region and population instead); nothing for fewer
// than two letters.
std::vector<AtlasMatch> SearchPlaces(const database::Database &db, std::int32_t countryId,
                                     const zones::Atlas &atlas, std::string_view typed,
                                     std::size_t limit = 15);

} // namespace cel::session
