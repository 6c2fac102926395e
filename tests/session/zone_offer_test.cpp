// The offer of a date's historical zone offset beside a birth or an event, and what accepting it
// stores. Zone facts of tzdata 2026f.
#include <gtest/gtest.h>

#include "session/zone_offer.h"

namespace cel::session {
namespace {

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0) {
    return EncodeDateTime({y, mo, d, h, mi, 0, 0});
}

std::string Clock(TDateTime value) {
    const CivilDateTime dt = DecodeDateTime(value);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d", dt.year, dt.month, dt.day, dt.hour,
                  dt.minute);
    return buffer;
}

// A data file with Madrid (stored zone +1, as the place files give it) and a Madrid atlas city.
struct MadridFixture {
    database::Database db;
    zones::Atlas atlas;
    MadridFixture() {
        auto spain = std::make_unique<database::TPais>();
        spain->Id = 2;
        spain->Nombre = "España";
        db.Countries.push_back(std::move(spain));
        auto madrid = std::make_unique<database::TLugar_Geo>();
        madrid->Id = 9;
        madrid->Nombre = "Madrid";
        madrid->IdPais = 2;
        madrid->DST = 1;
        madrid->TZ = 1;
        madrid->Lat = 40.4165;
        madrid->Lon = 3.70256;
        db.Places.push_back(std::move(madrid));
        std::vector<zones::AtlasCity> cities(1);
        zones::AtlasCity &city = cities.front();
        city.name = "Madrid";
        city.countryCode = "ES";
        city.countryName = "España";
        city.latitude = 40.4165;
        city.longitudeWest = 3.70256;
        city.population = 3255944;
        city.zoneId = "Europe/Madrid";
        atlas = zones::Atlas::FromCities(std::move(cities));
    }
};

TEST(ZoneOffer, SummerBirthInMadrid) {
    MadridFixture f;
    const std::optional<ZoneOffer> offer =
        OfferZoneForPlace(f.db, 9, At(1990, 7, 10, 19, 7), f.atlas, nullptr);
    ASSERT_TRUE(offer);
    EXPECT_TRUE(offer->differs);
    EXPECT_EQ(offer->zoneId, "Europe/Madrid");
    EXPECT_EQ(offer->source, zones::PlaceZoneSource::Atlas);
    EXPECT_EQ(offer->text, "En esa fecha regía UTC+2, horario de verano (Europe/Madrid)");
    EXPECT_EQ(offer->note, "");
    EXPECT_EQ(Clock(offer->universal), "1990-07-10 17:07");

    database::TPersona person;
    person.IdLugarNac = 9;
    person.Fecha = At(1990, 7, 10, 19, 7);
    person.HoraUT = 0;
    AcceptOffer(person, *offer);
    EXPECT_EQ(person.HoraUT, 1);
    EXPECT_EQ(Clock(person.Fecha), "1990-07-10 17:07");
    database::TEvento event;
    event.Fecha = At(1990, 7, 10, 19, 7);
    AcceptOffer(event, *offer);
    EXPECT_EQ(event.HoraUT, 1);
    EXPECT_EQ(Clock(event.Fecha), "1990-07-10 17:07");
}

TEST(ZoneOffer, TextsOfEachCase) {
    struct Case {
        const char *what;
        const char *zone;
        TDateTime local;
        double stored;
        std::optional<double> longitudeWest;
        bool differs;
        const char *text;
        const char *note;
    } cases[] = {
        {"winter in Madrid, as stored", "Europe/Madrid", At(1990, 1, 10, 12), 1, std::nullopt, false,
         "En esa fecha regía UTC+1, horario estándar (Europe/Madrid)", ""},
        {"New York, 2003", "America/New_York", At(2003, 9, 17, 11, 24), -5, std::nullopt, true,
         "En esa fecha regía UTC-4, horario de verano (America/New_York)", ""},
        {"Madrid, 1938: before 1970", "Europe/Madrid", At(1938, 7, 1, 12), 1, std::nullopt, true,
         "En esa fecha regía UTC+2, horario de verano (Europe/Madrid)",
         "Antes de 1970 los datos históricos de zonas horarias son menos seguros."},
        {"London, 1700 in Bristol: local mean time", "Europe/London", At(1700, 6, 1, 12), 0, 2.5879, true,
         "En esa fecha regía UTC-0:10:21, hora media local (Europe/London)",
         "Antes de la hora oficial regía la hora media local, tomada de la longitud del lugar. Antes de 1970 "
         "los datos históricos de zonas horarias son menos seguros."},
        {"the gap of March 2024", "Europe/Madrid", At(2024, 3, 31, 2, 30), 1, std::nullopt, true,
         "Esa hora no existió (Europe/Madrid): los relojes saltaron de UTC+1 a UTC+2",
         "Leída con UTC+1, horario estándar es 01:30 GMT; con UTC+2, horario de verano es 00:30 GMT."},
        {"the fold of October 2024", "Europe/Madrid", At(2024, 10, 27, 2, 30), 1, std::nullopt, true,
         "Esa hora ocurrió dos veces (Europe/Madrid): primero con UTC+2, horario de verano, después con "
         "UTC+1, "
         "horario estándar",
         "La primera es 00:30 GMT; la segunda, 01:30 GMT."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<ZoneOffer> offer = OfferZone(c.zone, c.local, c.stored, c.longitudeWest);
        ASSERT_TRUE(offer);
        EXPECT_EQ(offer->differs, c.differs);
        EXPECT_EQ(offer->text, c.text);
        EXPECT_EQ(offer->note, c.note);
    }
    EXPECT_FALSE(OfferZone("Europe/Atlantida", At(2000, 1, 1), 0, std::nullopt));
}

TEST(ZoneOffer, GapAndFoldOfferBothUniversalTimes) {
    const std::optional<ZoneOffer> fold =
        OfferZone("Europe/Madrid", At(2024, 10, 27, 2, 30), 1, std::nullopt);
    ASSERT_TRUE(fold);
    database::TPersona person;
    AcceptOffer(person, *fold, true);
    EXPECT_EQ(Clock(person.Fecha), "2024-10-27 01:30");
    AcceptOffer(person, *fold, false);
    EXPECT_EQ(Clock(person.Fecha), "2024-10-27 00:30");
}

TEST(ZoneOffer, ChosenZoneAndUnknownPlace) {
    MadridFixture f;
    zones::PlaceZoneChoices choices;
    choices.Set(zones::KeyOf(f.db, *f.db.Places[0]), "Atlantic/Canary");
    const std::optional<ZoneOffer> offer =
        OfferZoneForPlace(f.db, 9, At(1990, 7, 10, 19, 7), f.atlas, &choices);
    ASSERT_TRUE(offer);
    EXPECT_EQ(offer->source, zones::PlaceZoneSource::Chosen);
    EXPECT_EQ(offer->text, "En esa fecha regía UTC+1, horario de verano (Atlantic/Canary)");
    EXPECT_FALSE(offer->differs);
    EXPECT_FALSE(OfferZoneForPlace(f.db, 99, At(1990, 7, 10), f.atlas, nullptr));
    EXPECT_FALSE(OfferZoneForPlace(f.db, -1, At(1990, 7, 10), f.atlas, nullptr));
    EXPECT_FALSE(OfferZoneForPlace(f.db, 9, At(1990, 7, 10), zones::Atlas(), nullptr));
}

} // namespace
} // namespace cel::session
