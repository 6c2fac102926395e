#include <gtest/gtest.h>

#include "chart/database_places.h"

namespace cel::chart {
namespace {

TEST(DatabasePlaces, LooksPlacesUpByIdAndTakesAPersonsBirth) {
    database::Database db;
    auto cali = std::make_unique<database::TLugar_Geo>();
    cali->Id = 3;
    cali->TZ = -5;
    cali->Lat = 3.43722L;
    cali->Lon = 76.5225L;
    db.Places.push_back(std::move(cali));
    const PlaceLookup places = PlacesOf(db);
    ASSERT_TRUE(places(3).has_value());
    EXPECT_EQ(places(3)->zone, -5);
    EXPECT_EQ(places(3)->longitude, 76.5225L);
    EXPECT_FALSE(places(4).has_value());
    EXPECT_FALSE(places(-1).has_value());

    database::TPersona person;
    person.Id = 9;
    person.Nombre = "Ana";
    person.Apellidos = "Restrepo";
    person.IdLugarNac = 3;
    person.IsDate = 1;
    person.Fecha = 29145.5208333333;
    person.HoraUT = 0;
    const std::optional<PersonBirth> birth = BirthOf(person);
    ASSERT_TRUE(birth.has_value());
    EXPECT_EQ(birth->record.ownerId, 9);
    EXPECT_EQ(birth->record.placeId, 3);
    EXPECT_EQ(birth->record.gmtFlag, 0);
    EXPECT_EQ(birth->record.text, "Ana Restrepo");
    EXPECT_DOUBLE_EQ(birth->value, 29145.5208333333);

    ChartContext context;
    context.places = places;
    TDato record = birth->record;
    TDataAstro chart;
    ComputeChartFor(context, 1, record, chart, birth->value);
    EXPECT_EQ(record.zone, -5);
    EXPECT_NEAR(record.gmtDateTime, 29145.5208333333 + 5.0 / 24, 1e-9);

    person.IsDate = 0;
    person.HoraUT = -1;
    EXPECT_FALSE(BirthOf(person).has_value());
}

} // namespace
} // namespace cel::chart
