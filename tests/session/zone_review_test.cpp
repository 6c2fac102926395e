// The review of births stored as local time against the zone history, and the correction of the
// persons picked. Zone facts of tzdata 2026f.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/scripted_notifier.h"
#include "database/data_file.h"
#include "session/zone_review.h"
#include "support/atlas_cities.h"
#include "support/temp_folder.h"

namespace cel::session {
namespace {

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0) {
    return EncodeDateTime({y, mo, d, h, mi, 0, 0});
}

// A small data file: Madrid (stored zone +1, as the place files give it) and its persons, read back
// from the bytes a save writes; a Madrid atlas city gives the zone.
struct ReviewFixture {
    database::Database db;
    zones::Atlas atlas;

    void AddPerson(std::int32_t id, const char *name, std::int32_t place, TDateTime when, int ut,
                   int hour = 1) {
        auto p = std::make_unique<database::TPersona>();
        p->Id = id;
        p->Nombre = name;
        p->Apellidos = "Prueba";
        p->IdLugarNac = place;
        p->IsDate = 1;
        p->IsHora = static_cast<std::uint8_t>(hour);
        p->Fecha = when;
        p->HoraUT = ut;
        db.Persons.push_back(std::move(p));
    }

    ReviewFixture() {
        database::Database built;
        auto spain = std::make_unique<database::TPais>();
        spain->Id = 2;
        spain->Nombre = "España";
        built.Countries.push_back(std::move(spain));
        auto madrid = std::make_unique<database::TLugar_Geo>();
        madrid->Id = 9;
        madrid->Nombre = "Madrid";
        madrid->IdPais = 2;
        madrid->DST = 1;
        madrid->TZ = 1;
        madrid->Lat = 40.4165L;
        madrid->Lon = 3.70256L;
        built.Places.push_back(std::move(madrid));
        std::swap(db, built);
        AddPerson(1, "Verano", 9, At(1990, 7, 10, 19, 7), 0);
        AddPerson(2, "Invierno", 9, At(1990, 1, 10, 19, 7), 0);
        AddPerson(3, "Universal", 9, At(1990, 7, 10, 17, 7), 1);
        AddPerson(4, "SinLugar", -1, At(1990, 7, 10, 19, 7), 0);
        AddPerson(5, "SinHora", 9, At(1990, 7, 10), 0, 0);
        // 02:30 on 27 October 2024 happened twice in Madrid, the second time at UTC+1: the stored
        // zone is one of the two readings, so the record may well be right.
        AddPerson(6, "Repetida", 9, At(2024, 10, 27, 2, 30), 0);
        AddPerson(7, "Guerra", 9, At(1938, 7, 1, 12), 0);
        TextFormat format;
        ScriptedNotifier quiet;
        database::Database read;
        database::LoadDataText(database::DataFileText(db, format), read, quiet, format);
        std::swap(db, read);

        atlas = testsupport::MadridAtlas();
    }

    database::TPersona &Person(std::int32_t id) {
        return *db.Persons[static_cast<std::size_t>(database::IndexOfId(db.Persons, id))];
    }
};

TEST(ZoneReview, ListsTheLocalBirthsWhoseStoredZoneWasNotInForce) {
    ReviewFixture f;
    const ZoneReview review = ReviewZones(f.db, f.atlas, nullptr);
    ASSERT_EQ(review.rows.size(), 2u);
    const ZoneReviewRow &summer = review.rows[0];
    EXPECT_EQ(summer.personId, 1);
    EXPECT_EQ(summer.person, "Verano Prueba");
    EXPECT_EQ(summer.place, "Madrid (España)");
    EXPECT_EQ(summer.localText, "10/07/1990 19:07");
    EXPECT_EQ(summer.storedText, "UTC+1");
    EXPECT_EQ(summer.inForceText, "UTC+2, horario de verano (Europe/Madrid)");
    EXPECT_EQ(summer.universalText, "10/07/1990 17:07");
    EXPECT_EQ(summer.note, "");
    const ZoneReviewRow &war = review.rows[1];
    EXPECT_EQ(war.personId, 7);
    EXPECT_EQ(war.inForceText, "UTC+2, horario de verano (Europe/Madrid)");
    EXPECT_EQ(war.universalText, "01/07/1938 10:00");
    EXPECT_EQ(war.note, "Antes de 1970 los datos históricos de zonas horarias son menos seguros.");

    // Winter, the repeated hour and the two summer births are checked; the rest are counted apart.
    EXPECT_EQ(review.checked, 4);
    EXPECT_EQ(review.withoutTime, 1);
    EXPECT_EQ(review.withoutZone, 1);
    EXPECT_EQ(review.universal, 1);
    EXPECT_EQ(ReviewSummary(review),
              "2 personas de 4 con nacimiento en hora local: el huso guardado con el lugar no es el que "
              "regía en esa fecha. Sin hora conocida, no se revisan: 1. Sin lugar de nacimiento o sin zona: "
              "1. Ya en tiempo universal: 1.");
}

TEST(ZoneReview, CorrectsOnlyThePersonsPickedAndNotOnesChangedSince) {
    ReviewFixture f;
    const ZoneReview review = ReviewZones(f.db, f.atlas, nullptr);
    ASSERT_EQ(review.rows.size(), 2u);
    const database::TPersona before = f.Person(7);
    EXPECT_EQ(CorrectZones(f.db, {&review.rows[0]}), 1);
    EXPECT_EQ(f.Person(1).HoraUT, 1);
    EXPECT_NEAR(f.Person(1).Fecha, At(1990, 7, 10, 17, 7), 1e-9);
    EXPECT_EQ(f.Person(7).HoraUT, before.HoraUT);
    EXPECT_EQ(f.Person(7).Fecha, before.Fecha);
    EXPECT_EQ(ReviewZones(f.db, f.atlas, nullptr).rows.size(), 1u);

    // Applying the same row again changes nothing: the person is universal time now.
    EXPECT_EQ(CorrectZones(f.db, {&review.rows[0]}), 0);
    EXPECT_NEAR(f.Person(1).Fecha, At(1990, 7, 10, 17, 7), 1e-9);
    // A person whose date was edited since the review is left alone.
    f.Person(7).Fecha = At(1938, 7, 2, 12);
    EXPECT_EQ(CorrectZones(f.db, {&review.rows[1]}), 0);
    EXPECT_EQ(f.Person(7).HoraUT, 0);
}

TEST(ZoneReview, NothingToReviewSaysSo) {
    ReviewFixture f;
    const ZoneReview review = ReviewZones(f.db, zones::Atlas::FromCities({}), nullptr);
    EXPECT_TRUE(review.rows.empty());
    EXPECT_EQ(review.checked, 0);
    EXPECT_EQ(review.withoutZone, 6);
    EXPECT_EQ(ReviewSummary(review),
              "No hay personas con nacimiento en hora local, con su hora, en un lugar con zona. Sin lugar de "
              "nacimiento o sin zona: 6. Ya en tiempo universal: 1.");
}

// A file that cannot be written keeps nothing of the correction: the persons are put back.
TEST(ZoneReview, AFailedSaveLeavesThePersonsAsTheyWere) {
    ReviewFixture f;
    const ZoneReview review = ReviewZones(f.db, f.atlas, nullptr);
    ASSERT_EQ(review.rows.size(), 2u);
    const database::TPersona before = f.Person(1);
    f.db.Path = "/nonexistent-folder/ejemplo.age";
    ScriptedNotifier notices;
    DataStore store(f.db, notices);
    const ZoneCorrection done = CorrectZonesAndSave(store, {&review.rows[0]}, "la corrección");
    EXPECT_TRUE(done.attempted);
    EXPECT_FALSE(done.saved);
    EXPECT_EQ(done.corrected, 0);
    EXPECT_EQ(f.Person(1).HoraUT, before.HoraUT);
    EXPECT_EQ(f.Person(1).Fecha, before.Fecha);
    EXPECT_EQ(notices.shown.size(), 1u); // the save's own notice says why

    // Saved to a file that can be written, the correction stays.
    testsupport::TempFolder folder;
    f.db.Path = folder.File("zonas.age");
    const ZoneCorrection saved = CorrectZonesAndSave(store, {&review.rows[0]}, "la corrección");
    EXPECT_TRUE(saved.saved);
    EXPECT_EQ(saved.corrected, 1);
    EXPECT_EQ(f.Person(1).HoraUT, 1);
}

} // namespace
} // namespace cel::session
