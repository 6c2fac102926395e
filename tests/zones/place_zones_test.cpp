// A place's zone: the user's choice kept in a file of its own, else the nearest atlas city of the
// place's country.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "zones/place_zones.h"

namespace cel::zones {
namespace {

Atlas BorderAtlas() {
    AtlasCity co;
    co.name = "Villa del Rosario";
    co.countryCode = "CO";
    co.countryName = "Colombia";
    co.latitude = 7.83389;
    co.longitudeWest = 72.47417;
    co.population = 64951;
    co.zoneId = "America/Bogota";
    AtlasCity ve = co;
    ve.name = "San Antonio del Táchira";
    ve.countryCode = "VE";
    ve.countryName = "Venezuela";
    ve.latitude = 7.81454;
    ve.longitudeWest = 72.4431;
    ve.zoneId = "America/Caracas";
    return Atlas::FromCities({co, ve});
}

database::Database BorderDatabase() {
    database::Database db;
    auto colombia = std::make_unique<database::TPais>();
    colombia->Id = 1;
    colombia->Nombre = "Colombia";
    db.Countries.push_back(std::move(colombia));
    auto place = std::make_unique<database::TLugar_Geo>();
    place->Id = 4;
    place->Nombre = "La Parada";
    place->IdPais = 1;
    place->TZ = -5;
    place->Lat = 7.82;
    place->Lon = 72.455;
    db.Places.push_back(std::move(place));
    auto nowhere = std::make_unique<database::TLugar_Geo>();
    nowhere->Id = 5;
    nowhere->Nombre = "Sin país";
    nowhere->IdPais = 77;
    nowhere->Lat = 7.82;
    nowhere->Lon = 72.455;
    db.Places.push_back(std::move(nowhere));
    return db;
}

TEST(PlaceZones, DerivedFromTheNearestCityOfTheCountryUnlessChosen) {
    const Atlas atlas = BorderAtlas();
    const database::Database db = BorderDatabase();
    const database::TLugar_Geo &parada = *db.Places[0];
    PlaceZone zone = ZoneOfPlace(db, parada, atlas, nullptr);
    EXPECT_EQ(zone.zoneId, "America/Bogota");
    EXPECT_EQ(zone.source, PlaceZoneSource::Atlas);
    ASSERT_TRUE(zone.city);
    EXPECT_EQ(zone.city->name, "Villa del Rosario");
    // A place whose country is unknown takes the nearest city of all, marked as such.
    zone = ZoneOfPlace(db, *db.Places[1], atlas, nullptr);
    EXPECT_EQ(zone.zoneId, "America/Caracas");
    EXPECT_EQ(zone.source, PlaceZoneSource::AtlasNearby);
    // The user's choice wins; an empty choice forgets it.
    PlaceZoneChoices choices;
    choices.Set(KeyOf(db, parada), "America/Caracas");
    zone = ZoneOfPlace(db, parada, atlas, &choices);
    EXPECT_EQ(zone.zoneId, "America/Caracas");
    EXPECT_EQ(zone.source, PlaceZoneSource::Chosen);
    choices.Set(KeyOf(db, parada), "");
    EXPECT_EQ(ZoneOfPlace(db, parada, atlas, &choices).source, PlaceZoneSource::Atlas);
    EXPECT_EQ(ZoneOfPlace(db, parada, Atlas(), nullptr).source, PlaceZoneSource::None);
}

TEST(PlaceZones, ChoicesAreKeyedByCountryNameAndCoordinates) {
    PlaceZoneChoices choices;
    const PlaceKey cali{"Colombia", "Cali", 3.45, 76.53};
    choices.Set(cali, "America/Bogota");
    EXPECT_EQ(choices.Get(cali), "America/Bogota");
    EXPECT_EQ(choices.Get({"Colombia", "Cali", 3.45004, 76.52996}), "America/Bogota"); // same to 1/10000°
    EXPECT_FALSE(choices.Get({"Colombia", "Cali", 3.46, 76.53}));
    EXPECT_FALSE(choices.Get({"Colombia", "Cali2", 3.45, 76.53}));
    EXPECT_FALSE(choices.Get({"Perú", "Cali", 3.45, 76.53}));
}

TEST(PlaceZones, ChoicesFileRoundTripAndUnreadableFileIsKept) {
    const std::filesystem::path folder = std::filesystem::path(testing::TempDir()) / "zonas-prueba";
    std::filesystem::remove_all(folder);
    const std::filesystem::path file = folder / "sub" / "zonas-de-lugares.txt";
    PlaceZoneChoices choices;
    std::string error;
    ASSERT_TRUE(choices.Load(file, &error)); // no file yet: no choices
    EXPECT_EQ(choices.Size(), 0u);
    choices.Set({"España", "Cádiz", 36.5271, 6.2886}, "Europe/Madrid");
    choices.Set({"Colombia", "Tab\there", 1, -2}, "America/Bogota");
    ASSERT_TRUE(choices.Save(file, &error)) << error;
    PlaceZoneChoices back;
    ASSERT_TRUE(back.Load(file, &error)) << error;
    EXPECT_EQ(back.Size(), 2u);
    EXPECT_EQ(back.Get({"España", "Cádiz", 36.5271, 6.2886}), "Europe/Madrid");
    EXPECT_EQ(back.Get({"Colombia", "Tab\there", 1, -2}), "America/Bogota");

    // A file that exists but cannot be read (here a folder in its place) is reported, and a save does
    // not replace what it could not read.
    const std::filesystem::path blocked = folder / "bloqueado.txt";
    std::filesystem::create_directories(blocked / "dentro");
    PlaceZoneChoices unreadable;
    EXPECT_FALSE(unreadable.Load(blocked, &error));
    unreadable.Set({"Chile", "Arica", -18.47, 70.3}, "America/Santiago");
    error.clear();
    EXPECT_FALSE(unreadable.Save(blocked, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(std::filesystem::is_directory(blocked / "dentro"));
    std::filesystem::remove_all(folder);
}

TEST(PlaceZones, DefaultFileFollowsTheConfigurationFolder) {
    const char *old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    setenv("XDG_CONFIG_HOME", "/tmp/config-prueba", 1);
    EXPECT_EQ(DefaultChoicesFile(),
              std::filesystem::path("/tmp/config-prueba/celestigrafo/zonas-de-lugares.txt"));
    if (old)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

} // namespace
} // namespace cel::zones
