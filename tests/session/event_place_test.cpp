// Where a new event stands and what "now" is at a place; whether a birth's time is unknown.
#include <gtest/gtest.h>

#include "session/birth_time.h"
#include "session/event_place.h"

namespace cel::session {
namespace {

std::unique_ptr<database::TLugar_Geo> Place(std::int32_t id, const char *name, long double tz) {
    auto p = std::make_unique<database::TLugar_Geo>();
    p->Id = id;
    p->Nombre = name;
    p->TZ = tz;
    return p;
}

database::TEvento Event(std::int32_t id, std::int32_t place, double fecha) {
    database::TEvento e;
    e.Id = id;
    e.IdLugarGeo = place;
    e.IsDate = 1;
    e.Fecha = fecha;
    return e;
}

TEST(EventPlace, ANewEventTakesTheBirthPlaceElseTheLatestEventsPlace) {
    database::Database db;
    db.Places.push_back(Place(2, "Medellín", -5));
    db.Places.push_back(Place(8, "Madrid", 1));
    struct Case {
        const char *what;
        std::int32_t birthPlace;
        std::vector<database::TEvento> events;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"birth place", 2, {Event(1, 8, 40000)}, 2},
        {"latest event with a place", -1, {Event(1, 2, 30000), Event(2, 8, 40000), Event(3, 77, 45000)}, 8},
        {"a birth place not in the file", 55, {Event(1, 2, 30000)}, 2},
        {"nothing known", -1, {Event(1, -1, 30000)}, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        database::TPersona person;
        person.IdLugarNac = c.birthPlace;
        person.Eventos = c.events;
        EXPECT_EQ(NewEventPlace(db, person), c.expected);
    }
}

TEST(EventPlace, NowIsReadAtTheRecordsPlaceAndAMovedEventKeepsItsInstant) {
    Workspace w;
    w.db.Places.push_back(Place(2, "Medellín", -5));
    const TDateTime universal = EncodeDateTime({2026, 12, 11, 2, 15, 0, 0});
    // Medellín is five hours behind Greenwich: 02:15 there is still the evening before.
    EXPECT_DOUBLE_EQ(CivilTimeAt(w.db, 2, universal), EncodeDateTime({2026, 12, 10, 21, 15, 0, 0}));
    EXPECT_DOUBLE_EQ(CivilTimeAt(w.db, -1, universal), universal);

    w.eventRecord.placeId = 2;
    EXPECT_DOUBLE_EQ(EnteredTimeOf(w, ChartSide::Event, universal),
                     EncodeDateTime({2026, 12, 10, 21, 15, 0, 0}));
    w.eventRecord.gmtFlag = 1;
    EXPECT_DOUBLE_EQ(EnteredTimeOf(w, ChartSide::Event, universal), universal);

    // An event at no place (0°, 0°, zone 0) moved to Medellín: the same instant, read there.
    w.eventRecord = chart::TDato{};
    w.ComputeChart(ChartSide::Event, universal);
    MoveEventTo(w, 2);
    EXPECT_EQ(w.eventRecord.placeId, 2);
    EXPECT_EQ(w.eventRecord.zone, -5);
    EXPECT_NEAR(w.eventRecord.gmtDateTime, universal, 1e-9);
    EXPECT_NEAR(w.eventRecord.localDateTime, EncodeDateTime({2026, 12, 10, 21, 15, 0, 0}), 1e-9);
}

TEST(BirthTime, AStoredBirthWithoutItsTimeIsUnknownWhileChartedAtMidnight) {
    Workspace w;
    w.db.Places.push_back(Place(2, "Medellín", -5));
    auto person = std::make_unique<database::TPersona>();
    person->Id = 4;
    person->IdLugarNac = 2;
    person->IsDate = 1;
    person->IsHora = 0;
    person->HoraUT = 0;
    person->Fecha = EncodeDate(1961, 4, 12);
    w.db.Persons.push_back(std::move(person));
    const std::optional<PersonBirth> birth = BirthOf(*w.db.Persons[0]);
    w.natalRecord = birth->record;
    w.ComputeChart(ChartSide::Natal, birth->value);
    EXPECT_TRUE(NatalTimeUnknown(w));
    // A time set in the window is the chart's time now.
    w.ComputeChart(ChartSide::Natal, birth->value + 9.5 / 24);
    EXPECT_FALSE(NatalTimeUnknown(w));
    // A birth with its time, and a chart of no person.
    w.db.Persons[0]->IsHora = 1;
    w.ComputeChart(ChartSide::Natal, birth->value);
    EXPECT_FALSE(NatalTimeUnknown(w));
    w.natalRecord.ownerId = -1;
    w.db.Persons[0]->IsHora = 0;
    EXPECT_FALSE(NatalTimeUnknown(w));
}

} // namespace
} // namespace cel::session
