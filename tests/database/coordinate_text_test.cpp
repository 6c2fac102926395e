#include <gtest/gtest.h>

#include <cmath>

#include "database/coordinate_text.h"
#include "scripted_notifier.h"

using namespace cel;
using namespace cel::database;
using cel::dbtest::StrictNotifier;

TEST(CoordinateText, TimeZoneTexts) {
    const std::pair<long double, const char *> cases[] = {
        {-5.5L, "-5:30"}, {5.75L, "+5:45"}, {0, "-0:00"},       {-5, "-5:00"},
        {1, "+1:00"},     {-0.5L, "-0:30"}, {12.75L, "+12:45"}, {-3.25L, "-3:15"},
    };
    for (const auto &[hours, text] : cases)
        EXPECT_EQ(TimeZoneText(hours), text) << static_cast<double>(hours);
}

TEST(CoordinateText, AngleTexts) {
    struct Case {
        long double value;
        AngleKind kind;
        const char *text;
    };
    const Case cases[] = {
        {-74.25L, AngleKind::Longitude, "74° 15' 0\" E"},
        {74.08175L, AngleKind::Longitude, "74° 4' 54\" W"},
        {0, AngleKind::Longitude, "0° 0' 0\" W"},
        {4.5L, AngleKind::Latitude, "4° 30' 0\" N"},
        {-33.45694L, AngleKind::Latitude, "33° 27' 25\" S"},
        {10.9999999L, AngleKind::Plain, "10° 59' 60\""}, // seconds rounded after minutes were cut
        {-3.5L, AngleKind::Signed, "-3° 30' 0\""},
        {3.5L, AngleKind::Signed, "+3° 30' 0\""},
        {365.5L, AngleKind::Plain4, "5° 30' 0\""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(AngleText(c.value, c.kind), c.text);
}

TEST(CoordinateText, SplitAndComposeDegrees) {
    struct Case {
        long double value;
        DmsParts parts;
    };
    const Case cases[] = {
        {4.6L, {false, 4, 36, 0, 0}},
        {-74.25L, {true, 74, 15, 0, 0}},
        {1.2345L, {false, 1, 14, 4, 200}},
        {-5.5L, {true, 5, 30, 0, 0}},
        // Seconds of 59.999996 carry into the minutes, and the minutes into the degrees.
        {10.0L + 59.0L / 60 + 59.999996L / 3600, {false, 11, 0, 0, 0}},
        {0, {false, 0, 0, 0, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(static_cast<double>(c.value));
        const DmsParts p = SplitDegrees(c.value);
        EXPECT_EQ(p.negative, c.parts.negative);
        EXPECT_EQ(p.degrees, c.parts.degrees);
        EXPECT_EQ(p.minutes, c.parts.minutes);
        EXPECT_EQ(p.seconds, c.parts.seconds);
        EXPECT_EQ(p.milliseconds, c.parts.milliseconds);
    }
    EXPECT_EQ(ComposeDegrees({true, 74, 15, 0, 0}), -74.25L);
    for (long double v : {4.60971L, -74.08175L, 103.39182L, -0.22985L, 12.345678L})
        EXPECT_NEAR(static_cast<double>(ComposeDegrees(SplitDegrees(v))), static_cast<double>(v),
                    0.5 / 3600000);
}

TEST(CoordinateText, PlaceDescription) {
    Database db;
    auto c = std::make_unique<TPais>();
    c->Id = 1;
    c->Nombre = "Colombia";
    db.Countries.push_back(std::move(c));
    TLugar_Geo p;
    p.Nombre = "Bogotá";
    p.IdPais = 1;
    p.Lat = 4.60971L;
    p.Lon = 74.08175L;
    p.TZ = -5;
    EXPECT_EQ(PlaceDescription(db, p),
              "Bogotá\rPaís: Colombia\rLon: 74° 4' 54\" W\rLat: 4° 36' 35\" N\rTZ: -5:00\rDST: no");
    p.IdPais = 7;
    p.DST = 1;
    EXPECT_EQ(PlaceDescription(db, p),
              "Bogotá\rPaís: -\rLon: 74° 4' 54\" W\rLat: 4° 36' 35\" N\rTZ: -5:00\rDST: sí");
}

TEST(CoordinateText, InputCheck) {
    struct Case {
        const char *text;
        const char *what;
        const char *warning; // nullptr: accepted
    };
    const Case cases[] = {
        {"", "el Nombre", "Debe digitar el Nombre !"},
        {"", "nombre", "Debe digitar nombre !"},
        {"Ana^María", "el Nombre", "El caracter \"^\" no es permitido"},
        {"Ana ß âb^", "el Nombre", "El caracter \"â\" no es permitido"},
        {"Straße", "el Nombre", "El caracter \"ß\" no es permitido"},
        {"Ωmega", "el Nombre", "El caracter \"Ω\" no es permitido"},
        {"Łódź", "el Nombre", "El caracter \"Ł\" no es permitido"},
        {"Ñandú € Œuvre", "el Nombre", nullptr},
        {"Fête", "el Nombre", nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        StrictNotifier n;
        EXPECT_EQ(CheckInput(c.text, c.what, n), c.warning == nullptr);
        if (c.warning) {
            ASSERT_EQ(n.shown.size(), 1u);
            EXPECT_EQ(n.shown[0].text, c.warning);
            EXPECT_EQ(n.shown[0].kind, NoticeKind::Warning);
            EXPECT_TRUE(n.shown[0].centred);
            EXPECT_FALSE(n.shown[0].yesNo);
        } else {
            EXPECT_TRUE(n.shown.empty());
        }
    }
}
