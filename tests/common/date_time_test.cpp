#include <gtest/gtest.h>

#include "common/date_time.h"

using namespace cel;

struct DecodeCase {
    double value;
    CivilDateTime expected;
};

TEST(DateTime, DecodesPositiveAndNegativeValues) {
    const DecodeCase cases[] = {
        {0.0, {1899, 12, 30, 0, 0, 0, 0}},
        {-1.25, {1899, 12, 29, 6, 0, 0, 0}},
        {-0.25, {1899, 12, 30, 6, 0, 0, 0}},
        {36526.5, {2000, 1, 1, 12, 0, 0, 0}},
        {29145.5208333333, {1979, 10, 17, 12, 30, 0, 0}},
        {-693593.0, {1, 1, 1, 0, 0, 0, 0}},
        {2958465.0, {9999, 12, 31, 0, 0, 0, 0}},
        // A time of day that rounds to 24:00 carries into the next day.
        {1.9999999999, {1900, 1, 1, 0, 0, 0, 0}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        CivilDateTime d = DecodeDateTime(c.value);
        const CivilDateTime &e = c.expected;
        EXPECT_EQ(d.year, e.year);
        EXPECT_EQ(d.month, e.month);
        EXPECT_EQ(d.day, e.day);
        EXPECT_EQ(d.hour, e.hour);
        EXPECT_EQ(d.minute, e.minute);
        EXPECT_EQ(d.second, e.second);
        EXPECT_EQ(d.millisecond, e.millisecond);
    }
}

TEST(DateTime, EncodeIsTheInverseOfDecode) {
    for (double v : {0.0, -1.25, 36526.5, -693593.0, -12345.75, 2958465.5}) {
        EXPECT_DOUBLE_EQ(EncodeDateTime(DecodeDateTime(v)), v) << v;
    }
}

TEST(DateTime, ShiftCrossesMidnightBackwardsOnNegativeValues) {
    // 1899-12-29 00:30 local with zone +1 h is 1899-12-28 23:30 Greenwich time.
    const double local = EncodeDateTime({1899, 12, 29, 0, 30, 0, 0});
    const CivilDateTime gmt = DecodeDateTime(ShiftDateTime(local, -1.0L / 24));
    EXPECT_EQ(gmt.day, 28);
    EXPECT_EQ(gmt.hour, 23);
    EXPECT_EQ(gmt.minute, 30);
    // From positive to negative and back.
    EXPECT_DOUBLE_EQ(ShiftDateTime(0.25, -0.5), -1.75);
    EXPECT_DOUBLE_EQ(ShiftDateTime(-1.75, 0.5), 0.25);
    EXPECT_DOUBLE_EQ(ShiftDateTime(10.5, 0.25), 10.75);
}
