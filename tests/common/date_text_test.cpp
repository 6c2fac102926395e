#include <gtest/gtest.h>

#include "common/date_text.h"

using namespace cel;

// "dddd" names the day, also before 1899-12-30 where the value is negative.
TEST(DateText, DayNamesAndTheExportLines) {
    const TextFormat format;
    struct Case {
        CivilDateTime date;
        const char *pattern;
        const char *text;
    };
    const Case cases[] = {
        {{1899, 12, 30}, "dddd", "sábado"},
        {{1899, 12, 29, 6}, "dddd", "viernes"},
        {{1899, 12, 31}, "dddd", "domingo"},
        {{1600, 3, 1}, "dddd d", "miércoles 1"},
        {{2026, 1, 5, 9, 15}, "dddd, mmm-d-yyyy, h:nn:ss am/pm", "lunes, ene-5-2026, 9:15:00 am"},
        {{2026, 1, 5, 21, 15}, "mmm d yyyy, hh:nn:ss am/pm", "ene 5 2026, 09:15:00 pm"},
        {{2026, 1, 5, 21, 15}, "mmm dd yyyy, hh:nn:ss", "ene 05 2026, 21:15:00"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormatDateTimeText(EncodeDateTime(c.date), c.pattern, format), c.text) << c.pattern;
}
