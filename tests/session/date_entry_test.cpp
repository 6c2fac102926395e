#include <gtest/gtest.h>

#include "session/date_entry.h"

namespace cel::session {
namespace {

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return EncodeDateTime({y, mo, d, h, mi, s, ms});
}

TEST(DateEntry, StepsEveryUnit) {
    struct Case {
        TDateTime from;
        StepUnit unit;
        int n;
        TDateTime to;
    };
    const Case cases[] = {
        {At(2024, 1, 31, 10), StepUnit::Month, 1, At(2024, 2, 29, 10)}, // clamped to the month's end
        {At(2023, 1, 31), StepUnit::Month, 1, At(2023, 2, 28)},
        {At(2024, 2, 29, 6), StepUnit::Year, 1, At(2025, 2, 28, 6)},
        {At(2024, 1, 15), StepUnit::Month, -1, At(2023, 12, 15)},
        {At(2024, 11, 15), StepUnit::Month, 12, At(2025, 11, 15)},
        {At(2024, 3, 1), StepUnit::Day, -1, At(2024, 2, 29)},
        {At(2024, 3, 1, 23), StepUnit::Hour, 2, At(2024, 3, 2, 1)},
        {At(2024, 3, 1, 0, 0), StepUnit::Minute, -1, At(2024, 2, 29, 23, 59)},
        {At(2024, 3, 1, 0, 0, 30), StepUnit::Second, 45, At(2024, 3, 1, 0, 1, 15)},
        {At(2024, 12, 31, 23, 59, 59, 999), StepUnit::Millisecond, 1, At(2025, 1, 1)},
        {At(1899, 12, 30, 1), StepUnit::Hour, -2, At(1899, 12, 29, 23)}, // across the epoch
    };
    for (const Case &c : cases) {
        const CivilDateTime got = DecodeDateTime(StepDateTime(c.from, c.unit, c.n));
        const CivilDateTime want = DecodeDateTime(c.to);
        EXPECT_EQ(
            std::tie(got.year, got.month, got.day, got.hour, got.minute, got.second, got.millisecond),
            std::tie(want.year, want.month, want.day, want.hour, want.minute, want.second, want.millisecond))
            << StepUnitName(c.unit) << " " << c.n;
    }
}

TEST(DateEntry, StepCountLimitsFollowTheUnit) {
    const int limits[] = {10, 12, 31, 24, 60, 60, 50};
    for (int u = 1; u <= kStepUnitCount; ++u)
        EXPECT_EQ(MaxStepCount(static_cast<StepUnit>(u)), limits[u - 1]);
    EXPECT_STREQ(StepUnitName(StepUnit::Day), "día");
}

TEST(DateEntry, TimeFieldsCarryBothWays) {
    struct Case {
        TimeFields in;
        std::int64_t days;
        TimeFields out;
    };
    const Case cases[] = {
        {{23, 59, 59, 1000}, 1, {0, 0, 0, 0}},  // ms past 999 carries into the next day
        {{10, -1, 0, 0}, 0, {9, 59, 0, 0}},     // -1 minute borrows from the hour
        {{0, 0, 0, -1}, -1, {23, 59, 59, 999}}, // and into the day before
        {{-1, 30, 0, 0}, -1, {23, 30, 0, 0}},   {{24, 0, 0, 0}, 1, {0, 0, 0, 0}},
        {{12, 75, 61, 0}, 0, {13, 16, 1, 0}},
    };
    for (const Case &c : cases) {
        const CarriedTime r = CarryTimeFields(c.in);
        EXPECT_EQ(r.days, c.days);
        EXPECT_EQ(std::tie(r.time.hour, r.time.minute, r.time.second, r.time.millisecond),
                  std::tie(c.out.hour, c.out.minute, c.out.second, c.out.millisecond));
    }
    EXPECT_DOUBLE_EQ(CarryTimeFields({13, 30, 0, 0}).Hours(), 13.5);
}

TEST(DateEntry, ComposesWithTheSignOfTheDay) {
    const std::int64_t day = DayNumberOf(At(1979, 10, 17, 12, 30));
    EXPECT_DOUBLE_EQ(ComposeDateTime(day, 12.5), At(1979, 10, 17, 12, 30));
    // Before 1899-12-30 the time of day stays positive: -1.25 is 1899-12-29 06:00.
    EXPECT_DOUBLE_EQ(ComposeDateTime(-1, 6), -1.25);
    EXPECT_EQ(DayNumberOf(-1.25), -1);
    const TimeFields t = TimeFieldsOf(-1.25);
    EXPECT_EQ(t.hour, 6);
    EXPECT_EQ(SignOfDay(0), -1);
}

TEST(DateEntry, TwelveHourFieldStaysContinuous) {
    EXPECT_EQ(HourTo12(0), (std::pair<int, bool>{12, false}));
    EXPECT_EQ(HourTo12(12), (std::pair<int, bool>{12, true}));
    EXPECT_EQ(HourTo12(23), (std::pair<int, bool>{11, true}));
    EXPECT_EQ(HourFrom12(12, false), 0);
    EXPECT_EQ(HourFrom12(12, true), 12);
    EXPECT_EQ(HourFrom12(7, true), 19);
    struct Case {
        int oldHour, field;
        bool pm;
        int hour;
    };
    const Case cases[] = {
        {23, 12, true, 24}, // 11 pm stepped up: 0 h of the next day
        {13, 0, true, 12},  // 1 pm stepped down: 12 pm
        {0, 11, false, -1}, // 12 am stepped down: 11 pm of the day before
        {12, 13, true, 13}, // 12 pm stepped up: 1 pm
        {9, 4, false, 4},   // typed
        {9, 4, true, 16},
    };
    for (const Case &c : cases)
        EXPECT_EQ(HourAfterEdit(c.oldHour, c.field, c.pm), c.hour) << c.oldHour << " " << c.field;
}

} // namespace
} // namespace cel::session
