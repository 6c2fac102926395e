// The zone history against the installed IANA database. The expected facts are those of tzdata
// 2026f (Debian's build, with the data before 1970 kept); the version found is printed with the tests.
#include <gtest/gtest.h>

#include <cmath>

#include "zones/zone_history.h"

namespace cel::zones {
namespace {

constexpr double kSecond = 1.0 / 3600.0;

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return EncodeDateTime({y, mo, d, h, mi, s, 0});
}

std::string Civil(TDateTime value) {
    const CivilDateTime dt = DecodeDateTime(value);
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", dt.year, dt.month, dt.day, dt.hour,
                  dt.minute, dt.second);
    return buffer;
}

TEST(ZoneHistory, NamesTheInstalledDatabase) {
    const std::string version = TzdataVersion();
    RecordProperty("tzdata", version);
    std::printf("tzdata %s\n", version.c_str());
    EXPECT_FALSE(version.empty());
    EXPECT_TRUE(IsZoneId("Europe/Madrid"));
    EXPECT_TRUE(IsZoneId("America/Bogota"));
    EXPECT_FALSE(IsZoneId("Europe/Atlantida"));
    EXPECT_FALSE(IsZoneId("../../etc/passwd"));
    EXPECT_FALSE(IsZoneId(""));
    const std::vector<std::string> &ids = ZoneIds();
    EXPECT_GT(ids.size(), 300u);
    EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
    EXPECT_TRUE(std::binary_search(ids.begin(), ids.end(), "America/Argentina/Buenos_Aires"));
    EXPECT_FALSE(std::binary_search(ids.begin(), ids.end(), "posix/Europe/Madrid"));
}

struct KnownOffset {
    const char *what;
    const char *zone;
    TDateTime local;
    double offsetHours;
    bool daylight;
    bool localMeanTime;
    const char *abbreviation;
    const char *universal; // the universal time of the local time
};

// Known offsets of the database, each with the universal time it gives.
TEST(ZoneHistory, KnownOffsets) {
    const KnownOffset cases[] = {
        {"Madrid, 1938 summer (double summer time)", "Europe/Madrid", At(1938, 7, 1, 12), 2, true, false,
         "WEMT", "1938-07-01 10:00:00"},
        {"Madrid, 10 July 1990", "Europe/Madrid", At(1990, 7, 10, 19, 7), 2, true, false, "CEST",
         "1990-07-10 17:07:00"},
        {"Madrid, winter 1990", "Europe/Madrid", At(1990, 1, 10, 19, 7), 1, false, false, "CET",
         "1990-01-10 18:07:00"},
        {"New York, 1942 war time", "America/New_York", At(1942, 6, 1, 12), -4, true, false, "EWT",
         "1942-06-01 16:00:00"},
        {"New York, 17 September 2003", "America/New_York", At(2003, 9, 17, 11, 24), -4, true, false, "EDT",
         "2003-09-17 15:24:00"},
        {"Los Angeles, 13 June 2025", "America/Los_Angeles", At(2025, 6, 13, 0, 0), -7, true, false, "PDT",
         "2025-06-13 07:00:00"},
        {"Buenos Aires, 1905: Córdoba mean time as the database gives it", "America/Argentina/Buenos_Aires",
         At(1905, 6, 1, 12), -(4 + 16 / 60.0 + 48 / 3600.0), false, false, "CMT", "1905-06-01 16:16:48"},
        {"Mexico City, 1920: local mean time of the reference city", "America/Mexico_City",
         At(1920, 6, 1, 12), -(6 + 36 / 60.0 + 36 / 3600.0), false, true, "LMT", "1920-06-01 18:36:36"},
        {"London, 1700: local mean time", "Europe/London", At(1700, 6, 1, 12), -75 / 3600.0, false, true,
         "LMT", "1700-06-01 12:01:15"},
        {"Sydney, southern summer", "Australia/Sydney", At(2020, 1, 15, 12), 11, true, false, "AEDT",
         "2020-01-15 01:00:00"},
        {"Santiago de Chile, southern summer", "America/Santiago", At(2020, 1, 15, 12), -3, true, false,
         "-03", "2020-01-15 15:00:00"},
        {"Bogotá, no daylight time", "America/Bogota", At(2020, 1, 15, 12), -5, false, false, "-05",
         "2020-01-15 17:00:00"},
        {"Madrid, 2050 summer: beyond the file's listed transitions", "Europe/Madrid", At(2050, 7, 1, 12), 2,
         true, false, "CEST", "2050-07-01 10:00:00"},
        {"Madrid, 9999 winter", "Europe/Madrid", At(9999, 12, 1, 12), 1, false, false, "CET",
         "9999-12-01 11:00:00"},
        // Ireland: the database marks winter as a negative saving; summer is still the daylight time.
        {"Dublin, winter", "Europe/Dublin", At(2020, 1, 15, 12), 0, false, false, "GMT",
         "2020-01-15 12:00:00"},
        {"Dublin, summer", "Europe/Dublin", At(2020, 7, 15, 12), 1, true, false, "IST",
         "2020-07-15 11:00:00"},
        {"Dublin, 2050 winter", "Europe/Dublin", At(2050, 1, 15, 12), 0, false, false, "GMT",
         "2050-01-15 12:00:00"},
        {"Dublin, 2050 summer", "Europe/Dublin", At(2050, 7, 15, 12), 1, true, false, "IST",
         "2050-07-15 11:00:00"},
        // Morocco's Ramadan hour back is marked the same way, and its usual +1 is standard time.
        {"Casablanca, 2023", "Africa/Casablanca", At(2023, 6, 15, 12), 1, false, false, "+01",
         "2023-06-15 11:00:00"},
    };
    for (const KnownOffset &c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<LocalZoneReading> r = ReadLocal(c.zone, c.local);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->kind, LocalTimeKind::Unique);
        EXPECT_NEAR(r->first.offsetHours, c.offsetHours, 0.5 * kSecond);
        EXPECT_EQ(r->first.daylight, c.daylight);
        EXPECT_EQ(r->first.localMeanTime, c.localMeanTime);
        EXPECT_EQ(r->first.abbreviation, c.abbreviation);
        EXPECT_EQ(r->beforeReliableHistory, c.local < At(1970, 1, 1));
        EXPECT_EQ(Civil(UniversalOf(c.local, r->first)), c.universal);
        // And back: the universal time read in the zone gives the local time again.
        const std::optional<TDateTime> local = UniversalToLocal(c.zone, UniversalOf(c.local, r->first));
        ASSERT_TRUE(local);
        EXPECT_EQ(Civil(*local), Civil(c.local));
    }
}

TEST(ZoneHistory, DaylightPartIsTheDifferenceToStandardTime) {
    EXPECT_NEAR(ReadLocal("Europe/Madrid", At(1990, 7, 10, 12))->first.daylightHours, 1, kSecond);
    EXPECT_NEAR(ReadLocal("Europe/Madrid", At(1990, 1, 10, 12))->first.daylightHours, 0, kSecond);
    // Double summer time in Britain, 1941: two hours ahead of Greenwich.
    const ZoneReading london = ReadLocal("Europe/London", At(1941, 6, 1, 12))->first;
    EXPECT_NEAR(london.offsetHours, 2, kSecond);
    EXPECT_NEAR(london.daylightHours, 2, kSecond);
    EXPECT_NEAR(ReadLocal("Europe/Dublin", At(2020, 7, 15, 12))->first.daylightHours, 1, kSecond);
    EXPECT_NEAR(ReadLocal("Europe/Dublin", At(2020, 1, 15, 12))->first.daylightHours, 0, kSecond);
}

// Local mean time is that of the place's own longitude, not the reference city's; a city mean time
// that the database names as a zone offset (Buenos Aires' CMT) is used as given.
TEST(ZoneHistory, LocalMeanTimeOfThePlaceLongitude) {
    struct Case {
        const char *zone;
        TDateTime local;
        double longitudeWest;
        double offsetHours;
        const char *universal;
    } cases[] = {
        {"Europe/London", At(1700, 6, 1, 12), 2.5879, -2.5879 / 15, "1700-06-01 12:10:21"}, // Bristol
        {"Europe/London", At(1700, 6, 1, 12), -1.2974, 1.2974 / 15,
         "1700-06-01 11:54:48"}, // Norwich (48.6 s)
        {"America/Mexico_City", At(1920, 6, 1, 12), 98.2063, -98.2063 / 15, "1920-06-01 18:32:49"}, // Puebla
        {"America/Argentina/Buenos_Aires", At(1905, 6, 1, 12), 60.6393, -(4 + 16 / 60.0 + 48 / 3600.0),
         "1905-06-01 16:16:48"}, // Rosario: CMT stays
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.zone);
        const std::optional<LocalZoneReading> r = ReadLocal(c.zone, c.local, c.longitudeWest);
        ASSERT_TRUE(r);
        EXPECT_NEAR(r->first.offsetHours, c.offsetHours, 1e-6);
        EXPECT_EQ(Civil(UniversalOf(c.local, r->first)), c.universal);
        const std::optional<ZoneReading> u =
            ReadUniversal(c.zone, UniversalOf(c.local, r->first), c.longitudeWest);
        ASSERT_TRUE(u);
        EXPECT_NEAR(u->offsetHours, c.offsetHours, 1e-6);
    }
}

TEST(ZoneHistory, GapAndFoldGiveBothReadings) {
    // 31 March 2024, Madrid: 02:00 became 03:00, so 02:30 never happened.
    const std::optional<LocalZoneReading> gap = ReadLocal("Europe/Madrid", At(2024, 3, 31, 2, 30));
    ASSERT_TRUE(gap);
    EXPECT_EQ(gap->kind, LocalTimeKind::Gap);
    EXPECT_NEAR(gap->first.offsetHours, 1, kSecond);
    EXPECT_FALSE(gap->first.daylight);
    EXPECT_NEAR(gap->second.offsetHours, 2, kSecond);
    EXPECT_TRUE(gap->second.daylight);
    EXPECT_EQ(Civil(UniversalOf(At(2024, 3, 31, 2, 30), gap->first)), "2024-03-31 01:30:00");
    EXPECT_EQ(Civil(UniversalOf(At(2024, 3, 31, 2, 30), gap->second)), "2024-03-31 00:30:00");
    // 27 October 2024, Madrid: 03:00 became 02:00 again, so 02:30 happened twice.
    const std::optional<LocalZoneReading> fold = ReadLocal("Europe/Madrid", At(2024, 10, 27, 2, 30));
    ASSERT_TRUE(fold);
    EXPECT_EQ(fold->kind, LocalTimeKind::Fold);
    EXPECT_NEAR(fold->first.offsetHours, 2, kSecond);
    EXPECT_TRUE(fold->first.daylight);
    EXPECT_NEAR(fold->second.offsetHours, 1, kSecond);
    EXPECT_EQ(Civil(UniversalOf(At(2024, 10, 27, 2, 30), fold->first)), "2024-10-27 00:30:00");
    EXPECT_EQ(Civil(UniversalOf(At(2024, 10, 27, 2, 30), fold->second)), "2024-10-27 01:30:00");
    // The minute before each change is an ordinary time.
    EXPECT_EQ(ReadLocal("Europe/Madrid", At(2024, 3, 31, 1, 59))->kind, LocalTimeKind::Unique);
    EXPECT_EQ(ReadLocal("Europe/Madrid", At(2024, 10, 27, 1, 59))->kind, LocalTimeKind::Unique);
    // Beyond the file's listed transitions the footer's rule still names the gap: 26 March 2051.
    const std::optional<LocalZoneReading> late = ReadLocal("Europe/Madrid", At(2051, 3, 26, 2, 30));
    ASSERT_TRUE(late);
    EXPECT_EQ(late->kind, LocalTimeKind::Gap);
}

// When the clocks left local mean time, the skipped or repeated stretch is that of the place's own
// mean time: at 0:00 GMT on 1 January 1901 Madrid went from its mean time (-0:14:44) to Greenwich
// time, so in Madrid the clocks jumped forward 14 minutes 44 seconds, while in Barcelona (2.17° east,
// +0:08:41) they went back 8 minutes 41 seconds.
TEST(ZoneHistory, LeavingLocalMeanTimeUsesThePlaceLongitude) {
    const double barcelona = -2.1734;
    const std::optional<LocalZoneReading> madrid = ReadLocal("Europe/Madrid", At(1900, 12, 31, 23, 55));
    ASSERT_TRUE(madrid);
    EXPECT_EQ(madrid->kind, LocalTimeKind::Gap);
    EXPECT_EQ(ReadLocal("Europe/Madrid", At(1900, 12, 31, 23, 55), barcelona)->kind, LocalTimeKind::Unique);
    const std::optional<LocalZoneReading> r = ReadLocal("Europe/Madrid", At(1901, 1, 1, 0, 5), barcelona);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->kind, LocalTimeKind::Fold);
    EXPECT_TRUE(r->first.localMeanTime);
    EXPECT_NEAR(r->first.offsetHours, 2.1734 / 15, 1e-6);
    EXPECT_FALSE(r->second.localMeanTime);
    EXPECT_NEAR(r->second.offsetHours, 0, kSecond);
    EXPECT_EQ(ReadLocal("Europe/Madrid", At(1901, 1, 1, 0, 5))->kind, LocalTimeKind::Unique);
}

TEST(ZoneHistory, UnknownZoneGivesNothing) {
    EXPECT_FALSE(ReadLocal("Mars/Olympus", At(2000, 1, 1)));
    EXPECT_FALSE(ReadUniversal("Mars/Olympus", At(2000, 1, 1)));
    EXPECT_FALSE(UniversalToLocal("", At(2000, 1, 1)));
}

TEST(ZoneHistory, OffsetAndKindTexts) {
    EXPECT_EQ(OffsetText(2), "UTC+2");
    EXPECT_EQ(OffsetText(-4), "UTC-4");
    EXPECT_EQ(OffsetText(0), "UTC+0");
    EXPECT_EQ(OffsetText(5.5), "UTC+5:30");
    EXPECT_EQ(OffsetText(-(4 + 16 / 60.0 + 48 / 3600.0)), "UTC-4:16:48");
    EXPECT_EQ(OffsetText(-1e-9), "UTC+0");
    ZoneReading r;
    EXPECT_EQ(ReadingKindText(r), "horario estándar");
    r.daylight = true;
    EXPECT_EQ(ReadingKindText(r), "horario de verano");
    r.daylight = false;
    r.localMeanTime = true;
    EXPECT_EQ(ReadingKindText(r), "hora media local");
}

} // namespace
} // namespace cel::zones
