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

} // namespace
} // namespace cel::session
