// A place of the data file from an atlas city found by typing its name.
#include <gtest/gtest.h>

#include "session/atlas_place.h"

namespace cel::session {
namespace {

zones::AtlasCity City(const char *name, const char *original, const char *region, const char *code,
                      const char *country, const char *countryOriginal, double lat, double lonWest,
                      std::uint32_t population, const char *zone) {
    zones::AtlasCity c;
    c.name = name;
    c.originalName = original;
    c.region = region;
    c.countryCode = code;
    c.countryName = country;
    c.countryOriginalName = countryOriginal;
    c.latitude = lat;
    c.longitudeWest = lonWest;
    c.population = population;
    c.zoneId = zone;
    return c;
}

zones::Atlas SmallAtlas() {
    return zones::Atlas::FromCities({
        City("Medellín", "", "Antioquia", "CO", "Colombia", "Colombia", 6.25184, 75.56359, 2529403,
             "America/Bogota"),
        City("Médéa", "", "Médéa", "DZ", "Argelia", "Algeria", 36.26417, -2.75393, 138355, "Africa/Algiers"),
        City("Nueva York", "New York City", "Nueva York", "US", "Estados Unidos", "United States", 40.71427,
             74.00597, 8804190, "America/New_York"),
        City("San Juan de los Morros", "", "Guárico", "VE", "Venezuela", "Venezuela", 9.91152, 67.35381,
             87739, "America/Caracas"),
    });
}

TEST(AtlasPlace, TypedNamesListTheCitiesWithRegionCountryAndPopulation) {
    const zones::Atlas atlas = SmallAtlas();
    const auto texts = [&atlas](const char *typed) {
        std::vector<std::string> out;
        for (const AtlasMatch &m : SearchAtlas(atlas, typed))
            out.push_back(m.text);
        return out;
    };
    EXPECT_EQ(texts("MEDE"), (std::vector<std::string>{"Medellín — Antioquia, Colombia · 2 529 403 hab.",
                                                       "Médéa — Médéa, Argelia · 138 355 hab."}));
    EXPECT_EQ(texts("new york"),
              (std::vector<std::string>{
                  "Nueva York (New York City) — Nueva York, Estados Unidos · 8 804 190 hab."}));
    EXPECT_EQ(texts("morros"),
              (std::vector<std::string>{"San Juan de los Morros — Guárico, Venezuela · 87 739 hab."}));
    EXPECT_TRUE(texts("m").empty()); // one letter lists nothing yet
    EXPECT_TRUE(texts("atlantida").empty());
}

TEST(AtlasPlace, TheCityMakesAPlaceWithTheFilesCountryAndTheZonesStandardOffset) {
    database::Database db;
    for (auto [id, name] : {std::pair{1, "Colombia"}, std::pair{11, "ESTADOS UNIDOS"}}) {
        auto c = std::make_unique<database::TPais>();
        c->Id = id;
        c->Nombre = name;
        db.Countries.push_back(std::move(c));
    }
    const zones::Atlas atlas = SmallAtlas();
    const TDateTime july = EncodeDateTime({2025, 7, 1, 12, 0, 0, 0}); // daylight time in New York
    const AtlasPlace medellin = PlaceOfCity(db, *atlas.Lookup("Medellín"), july);
    EXPECT_EQ(medellin.name, "Medellín");
    EXPECT_EQ(medellin.countryId, 1);
    EXPECT_DOUBLE_EQ(medellin.latitude, 6.25184);
    EXPECT_DOUBLE_EQ(medellin.longitudeWest, 75.56359);
    EXPECT_EQ(medellin.zoneId, "America/Bogota");
    EXPECT_DOUBLE_EQ(medellin.standardHours, -5);
    const AtlasPlace newYork = PlaceOfCity(db, *atlas.Lookup("Nueva York"), july);
    EXPECT_EQ(newYork.countryId, 11); // case ignored
    EXPECT_DOUBLE_EQ(newYork.standardHours, -5);
    const AtlasPlace medea = PlaceOfCity(db, *atlas.Lookup("Médéa"), july);
    EXPECT_EQ(medea.countryId, -1); // the file has no Argelia
    EXPECT_EQ(medea.countryName, "Argelia");
    EXPECT_DOUBLE_EQ(medea.standardHours, 1);
}

// A small data file: Colombia with Medellín (spelt without its accent) and Bello, España with Mérida.
database::Database SmallFile() {
    database::Database db;
    for (auto [id, name] : {std::pair{1, "Colombia"}, std::pair{2, "España"}}) {
        auto c = std::make_unique<database::TPais>();
        c->Id = id;
        c->Nombre = name;
        db.Countries.push_back(std::move(c));
    }
    const struct {
        std::int32_t id, country;
        const char *name;
        double lat, lonWest;
    } places[] = {{10, 1, "Medellin", 6.2518, 75.5636},
                  {11, 1, "Bello", 6.33732, 75.55795},
                  {20, 2, "Mérida", 38.91611, 6.34366}};
    for (const auto &p : places) {
        auto place = std::make_unique<database::TLugar_Geo>();
        place->Id = p.id;
        place->IdPais = p.country;
        place->Nombre = p.name;
        place->Lat = p.lat;
        place->Lon = p.lonWest;
        place->TZ = p.country == 1 ? -5 : 1;
        db.Places.push_back(std::move(place));
    }
    return db;
}

TEST(AtlasPlace, TypingListsTheCountrysPlacesThenTheAtlasCities) {
    const zones::Atlas atlas = SmallAtlas();
    const database::Database db = SmallFile();
    struct Case {
        std::int32_t country;
        const char *typed;
        std::vector<std::pair<std::int32_t, std::string>> listed; // place id (-1: a city to add), text
    };
    const Case cases[] = {
        // The file's Medellín is the atlas's: it shows the city's region and population, once.
        {1,
         "MEDE",
         {{10, "Medellín — Antioquia, Colombia · 2 529 403 hab. · en el archivo de datos"},
          {-1, "Médéa — Médéa, Argelia · 138 355 hab."}}},
        // Places the atlas does not have are listed by name and country; those beginning with the text first.
        {1,
         "ll",
         {{11, "Bello — Colombia · en el archivo de datos"},
          {10, "Medellín — Antioquia, Colombia · 2 529 403 hab. · en el archivo de datos"}}},
        {1, "be", {{11, "Bello — Colombia · en el archivo de datos"}}},
        // From another country: the city is still the file's place.
        {2, "medellin", {{10, "Medellín — Antioquia, Colombia · 2 529 403 hab. · en el archivo de datos"}}},
        {2, "mer", {{20, "Mérida — España · en el archivo de datos"}}},
        {-1, "morros", {{-1, "San Juan de los Morros — Guárico, Venezuela · 87 739 hab."}}},
        {1, "m", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        std::vector<std::pair<std::int32_t, std::string>> listed;
        for (const AtlasMatch &m : SearchPlaces(db, c.country, atlas, c.typed))
            listed.emplace_back(m.placeId, m.text);
        EXPECT_EQ(listed, c.listed);
    }
}

TEST(AtlasPlace, ACityIsAPlaceOfTheFileByCountryNameAndNearness) {
    const zones::Atlas atlas = SmallAtlas();
    const zones::AtlasCity &medellin = *atlas.Lookup("Medellín");
    struct Case {
        const char *name;
        std::int32_t country;
        double lat, lonWest;
        bool same;
    } const cases[] = {
        {"MEDELLÍN", 1, 6.25184, 75.56359, true},  {"Medellin", 1, 6.6, 75.3, true}, // 47 km away
        {"Medellín", 1, 6.7, 75.3, false},         // 58 km away: another place of that name
        {"Medellín", 2, 6.25184, 75.56359, false}, // another country
        {"Envigado", 1, 6.17591, 75.59174, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.lat));
        database::Database db = SmallFile();
        db.Places.erase(db.Places.begin()); // the file's own Medellin
        auto place = std::make_unique<database::TLugar_Geo>();
        place->Id = 30;
        place->IdPais = c.country;
        place->Nombre = c.name;
        place->Lat = c.lat;
        place->Lon = c.lonWest;
        db.Places.push_back(std::move(place));
        EXPECT_EQ(PlaceOfCityInFile(db, medellin), c.same ? 30 : -1);
    }
}

TEST(AtlasPlace, ThePlaceRecordHoldsWholeSecondsAndTheStandardOffsetToTheMinute) {
    struct Case {
        double lat, lonWest, hours;
        long double expectLat, expectLon, expectTz;
    } const cases[] = {
        // 6° 15' 6.6" N, 75° 33' 48.9" W: to the nearest second.
        {6.25184, 75.56359, -5, 6 + 15 / 60.0L + 7 / 3600.0L, 75 + 33 / 60.0L + 49 / 3600.0L, -5},
        {-34.61315, 58.37723, -3, -(34 + 36 / 60.0L + 47 / 3600.0L), 58 + 22 / 60.0L + 38 / 3600.0L, -3},
        {22.56263, -88.36304, 5.5, 22 + 33 / 60.0L + 45 / 3600.0L, -(88 + 21 / 60.0L + 47 / 3600.0L), 5.5L},
        {47.56494, 52.70931, -3.5, 47 + 33 / 60.0L + 54 / 3600.0L, 52 + 42 / 60.0L + 34 / 3600.0L, -3.5L},
        {27.70169, -85.3206, 5.75, 27 + 42 / 60.0L + 6 / 3600.0L, -(85 + 19 / 60.0L + 14 / 3600.0L), 5.75L},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.lat);
        AtlasPlace place;
        place.name = "Lugar";
        place.region = "Región";
        place.countryId = 7;
        place.latitude = c.lat;
        place.longitudeWest = c.lonWest;
        place.standardHours = c.hours;
        const database::TLugar_Geo record = PlaceRecordOf(place);
        EXPECT_EQ(record.Nombre, "Lugar");
        EXPECT_EQ(record.IdPais, 7);
        EXPECT_EQ(record.Descripcion, "Región");
        EXPECT_EQ(record.DST, 0);
        EXPECT_NEAR(static_cast<double>(record.Lat), static_cast<double>(c.expectLat), 1e-9);
        EXPECT_NEAR(static_cast<double>(record.Lon), static_cast<double>(c.expectLon), 1e-9);
        EXPECT_NEAR(static_cast<double>(record.TZ), static_cast<double>(c.expectTz), 1e-12);
    }
}

} // namespace
} // namespace cel::session
