// Storing what the item editor typed: named items, places and persons, with the refusals that leave the
// records as they were, and the birth's clock by the stored zone of its place.
#include <gtest/gtest.h>

#include "common/scripted_notifier.h"
#include "database/coordinate_text.h"
#include "database/text_cleanup.h"
#include "session/item_entry.h"

namespace cel::session {
namespace {

using database::Kind;

struct Records {
    database::Database db;
    ScriptedNotifier notices;
    Records() {
        for (auto [id, name] : {std::pair{1, "Colombia"}, {2, "España"}}) {
            auto c = std::make_unique<database::TPais>();
            c->Id = id;
            c->Nombre = name;
            db.Countries.push_back(std::move(c));
        }
        auto bogota = std::make_unique<database::TLugar_Geo>();
        bogota->Id = 1;
        bogota->Nombre = "Bogotá";
        bogota->IdPais = 1;
        bogota->TZ = -5;
        bogota->Lat = 4.60971L;
        bogota->Lon = 74.08175L;
        db.Places.push_back(std::move(bogota));
        db.Counter(Kind::Country) = 3;
        db.Counter(Kind::Place) = 2;
        db.Counter(Kind::Person) = 1;
    }
};

TEST(ItemEntry, NamedItemsAreAddedRenamedAndRefusedWhenTheNameIsTaken) {
    Records r;
    ItemTarget target; // new
    ASSERT_TRUE(StoreNamedItem(r.db, r.notices, Kind::Country, target, "  Perú "));
    EXPECT_FALSE(target.isNew);
    ASSERT_EQ(r.db.Countries.size(), 3u);
    EXPECT_EQ(r.db.Countries[2]->Id, target.id);
    EXPECT_EQ(r.db.Countries[2]->Nombre, database::CleanText("  Perú "));

    ItemTarget another;
    EXPECT_FALSE(StoreNamedItem(r.db, r.notices, Kind::Country, another, "COLOMBIA"));
    EXPECT_EQ(r.notices.LastText(), "Ya existe el País \"COLOMBIA\"");
    EXPECT_TRUE(another.isNew);
    EXPECT_EQ(r.db.Countries.size(), 3u);

    ItemTarget colombia{false, 1};
    EXPECT_TRUE(StoreNamedItem(r.db, r.notices, Kind::Country, colombia, "COLOMBIA")); // its own name
    EXPECT_EQ(r.db.Countries[0]->Nombre, "COLOMBIA");
    EXPECT_FALSE(StoreNamedItem(r.db, r.notices, Kind::Country, colombia, "españa"));
    EXPECT_EQ(r.db.Countries[0]->Nombre, "COLOMBIA");
    EXPECT_EQ(NameOfItem(r.db, Kind::Country, 1), "COLOMBIA");
    EXPECT_EQ(NameOfItem(r.db, Kind::PersonGroup, 1), "-");
}

PlaceInput Typed(const std::string &name, std::int32_t country) {
    PlaceInput in;
    in.name = name;
    in.country = country;
    in.lon = {false, 3, 42, 9, 0};
    in.lat = {false, 40, 25, 0, 0};
    in.tzHours = 1;
    return in;
}

TEST(ItemEntry, PlaceRefusalsChangeNothing) {
    Records r;
    struct Case {
        PlaceInput input;
        const char *said;
    };
    PlaceInput badZone = Typed("Madrid", 2);
    badZone.zone = "Europa/Madrid";
    PlaceInput badText = Typed("Madrid", 2);
    badText.description = "a^b";
    PlaceInput sameData = Typed("Bogotá D.C.", 1);
    sameData.lon = database::SplitDegrees(74.08175L);
    sameData.lat = database::SplitDegrees(4.60971L);
    sameData.tzHours = -5;
    for (const Case &c :
         {Case{Typed("Madrid", -1), "Seleccione un País"},
          Case{Typed("BOGOTá", 1), "Ya existe un lugar geográfico con el nombre"},
          Case{badZone, "no existe en la base de datos de zonas horarias"}, Case{badText, "no es permitido"},
          Case{sameData, "Ya existe un lugar geográfico con estos datos"}}) {
        SCOPED_TRACE(c.said);
        ItemTarget target;
        std::optional<zones::PlaceKey> formerKey;
        EXPECT_FALSE(StorePlaceItem(r.db, r.notices, target, {}, c.input, formerKey));
        EXPECT_TRUE(r.notices.Contains(c.said)) << r.notices.LastText();
        EXPECT_TRUE(target.isNew);
        EXPECT_EQ(r.db.Places.size(), 1u);
    }
    // The same name in another country is a place of its own.
    ItemTarget target;
    std::optional<zones::PlaceKey> formerKey;
    EXPECT_TRUE(StorePlaceItem(r.db, r.notices, target, {}, Typed("Bogotá", 2), formerKey));
    EXPECT_EQ(r.db.Places.size(), 2u);
}

// A coordinate the user did not touch keeps its stored value to the last digit; a touched one is what
// the boxes say; the former key is the place's key before the change.
TEST(ItemEntry, EditedPlaceKeepsTheCoordinatesNotTouched) {
    Records r;
    const database::TLugar_Geo working = *r.db.Places[0];
    PlaceInput in = Typed("Bogotá", 1);
    in.lon = database::SplitDegrees(working.Lon);
    in.lat = {false, 4, 36, 0, 0};
    in.latTouched = true;
    in.tzHours = -5;
    in.dst = true;
    ItemTarget target{false, 1};
    std::optional<zones::PlaceKey> formerKey;
    const auto stored = StorePlaceItem(r.db, r.notices, target, working, in, formerKey);
    ASSERT_TRUE(stored);
    const database::TLugar_Geo &place = *r.db.Places[0];
    EXPECT_EQ(place.Lon, 74.08175L);
    EXPECT_EQ(place.Lat, database::ComposeDegrees({false, 4, 36, 0, 0}));
    EXPECT_EQ(place.TZ, -5);
    EXPECT_EQ(place.DST, 1);
    ASSERT_TRUE(formerKey);
    EXPECT_EQ(formerKey->name, "Bogotá");
    EXPECT_EQ(PlaceAsTyped(working, in).Lat, place.Lat);
}

TEST(ItemEntry, PersonsAreCleanedAndTheirNotesEncoded) {
    Records r;
    database::TPersona working;
    working.Apellidos = "Ruiz";
    working.Observaciones = "primera\nsegunda";
    working.IsDate = 0;
    working.Fecha = 12345;
    working.HoraUT = 0;
    working.IsHora = 1;
    ItemTarget target;
    ASSERT_TRUE(StorePersonItem(r.db, r.notices, target, working, "Ana"));
    ASSERT_EQ(r.db.Persons.size(), 1u);
    const database::TPersona &stored = *r.db.Persons[0];
    EXPECT_EQ(stored.Id, target.id);
    EXPECT_EQ(stored.Nombre, "Ana");
    EXPECT_EQ(stored.Observaciones, "primera^~segunda");
    // Without a birth date neither a date nor a time is kept.
    EXPECT_EQ(stored.Fecha, 0);
    EXPECT_EQ(stored.HoraUT, -1);
    EXPECT_EQ(stored.IsHora, 0);
    EXPECT_EQ(PersonForEditing(r.db, target.id).Observaciones, "primera\nsegunda");

    working.Residencia.Email = "ana^casa";
    EXPECT_FALSE(StorePersonItem(r.db, r.notices, target, working, "Ana María"));
    EXPECT_EQ(r.db.Persons[0]->Nombre, "Ana");
    EXPECT_EQ(r.db.Persons.size(), 1u);
}

TEST(ItemEntry, BirthClockByThePlacesStoredZone) {
    Records r;
    const TDateTime noon = EncodeDateTime({1990, 5, 1, 12, 0, 0, 0});
    const BirthClock local = BirthClockAt(r.db, 1, noon, false);
    EXPECT_EQ(local.local, noon);
    EXPECT_EQ(DecodeDateTime(local.universal).hour, 17);
    const BirthClock universal = BirthClockAt(r.db, 1, noon, true);
    EXPECT_EQ(DecodeDateTime(universal.local).hour, 7);
    EXPECT_EQ(local.placeCaption, "Bogotá, Colombia, (TZ: " + database::TimeZoneText(-5) + ")");
    EXPECT_EQ(BirthClockAt(r.db, -1, noon, false).universal, noon);
}

} // namespace
} // namespace cel::session
