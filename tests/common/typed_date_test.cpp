#include <gtest/gtest.h>

#include "common/typed_date.h"

using namespace cel;

struct ReadCase {
    const char *text;
    CalendarDate expected;
    bool julian;
};

TEST(TypedDate, ReadsTheUsualSpanishFormsAndAnyYear) {
    const ReadCase cases[] = {
        {"25/12/1990", {1990, 12, 25}, false},
        {"25-12-1990", {1990, 12, 25}, false},
        {"25.12.1990", {1990, 12, 25}, false},
        {"  25 / 12 / 1990 ", {1990, 12, 25}, false},
        {"25 dic 1990", {1990, 12, 25}, false},
        {"25 de diciembre de 1990", {1990, 12, 25}, false},
        {"25 DICIEMBRE 1990", {1990, 12, 25}, false},
        {"martes, 25 de diciembre de 1990", {1990, 12, 25}, false},
        {"miércoles 12 de Febrero del año 2003", {2003, 2, 12}, false},
        {"dic-25-1990,mar", {1990, 12, 25}, false}, // the item editor's own display
        {"mar-04-1997,mar.", {1997, 3, 4}, false},  // March, on a Tuesday
        {"17 sept. 1980", {1980, 9, 17}, false},
        {"14 setiembre 2000", {2000, 9, 14}, false},
        {"1990-12-25", {1990, 12, 25}, false},
        {"1990/12/25", {1990, 12, 25}, false},
        {"25 Dec 1990", {1990, 12, 25}, false},
        {"29/02/2000", {2000, 2, 29}, false},
        // Years 1 to 9999; two digits are read between 1930 and 2029.
        {"01/01/0001", {1, 1, 1}, false},
        {"1/1/1", {1, 1, 1}, false},
        {"15/06/1500", {1500, 6, 15}, false},
        {"31/12/9999", {9999, 12, 31}, false},
        {"25/12/90", {1990, 12, 25}, false},
        {"1/1/29", {2029, 1, 1}, false},
        {"1/1/0090", {90, 1, 1}, false},
        // Julian-calendar dates become the Gregorian date of the same day.
        {"4/10/1582 j", {1582, 10, 14}, true},
        {"5 oct 1582 juliano", {1582, 10, 15}, true},
        {"25 de diciembre de 1642 (juliano)", {1643, 1, 4}, true},
        {"29/02/1500 j", {1500, 3, 10}, true}, // a leap day only the Julian calendar has
        {"3/1/1 j", {1, 1, 1}, true},
        {"1/1/1990 g", {1990, 1, 1}, false},
    };
    for (const ReadCase &c : cases) {
        SCOPED_TRACE(c.text);
        const TypedDateResult r = ParseTypedDate(c.text);
        ASSERT_TRUE(r.date.has_value()) << r.error;
        EXPECT_EQ(r.date->gregorian, c.expected);
        EXPECT_EQ(r.date->typedJulian, c.julian);
    }
}

TEST(TypedDate, RefusesImpossibleAndUnreadableDatesWithASpanishReason) {
    const std::pair<const char *, const char *> cases[] = {
        {"31/02/1990", "El día 31 de febrero de 1990 no existe: febrero de 1990 tiene 28 días."},
        {"29/02/1900", "febrero de 1900 tiene 28 días"},
        {"29/02/1500", "En el calendario juliano sí existe"},
        {"30/02/1500 j", "no existe en el calendario juliano: febrero de 1500 tiene 29 días"},
        {"31/04/2001", "abril de 2001 tiene 30 días"},
        {"0/5/2001", "El día 0 de mayo de 2001 no existe"},
        {"13/13/2000", "El mes 13 no existe"},
        {"1/1/10000", "escriba un año del 1 al 9999"},
        {"1/1/0", "escriba un año del 1 al 9999"},
        {"1/1/1 j", "fuera de los años 1 a 9999"},
        {"", "Escriba una fecha."},
        {"   ", "Escriba una fecha."},
        {"25/12", "necesita día, mes y año"},
        {"25 dic", "Falta el día o el año"},
        {"25 foo 1990", "No se reconoce \"foo\""},
        {"25 dic ene 1990", "más de un mes"},
        {"25/12/1990 19:07", "la hora va en sus propios campos"},
        {"25/12/1990 j g", "a la vez"},
        {"125/12/1990", "No se reconoce la fecha"},
        {"25€12€1990", "caracteres que no son de una fecha"},
        {"25*12*1990", "caracteres que no son de una fecha"},
    };
    for (const auto &[text, reason] : cases) {
        SCOPED_TRACE(text);
        const TypedDateResult r = ParseTypedDate(text);
        EXPECT_FALSE(r.date.has_value());
        EXPECT_NE(r.error.find(reason), std::string::npos) << r.error;
    }
}

TEST(TypedDate, ShowsBothCalendarsBeforeTheReformOrWhenTypedJulian) {
    const std::pair<const char *, const char *> cases[] = {
        {"25/12/1490", "gregoriano 25 dic 1490 = juliano 16 dic 1490"},
        {"1/1/1", "gregoriano 1 ene 0001 = juliano 3 ene 0001"},
        {"14/10/1582", "gregoriano 14 oct 1582 = juliano 4 oct 1582"},
        {"25/12/1642 j", "gregoriano 4 ene 1643 = juliano 25 dic 1642"},
        {"15/10/1582", ""},
        {"25/12/1990", ""},
    };
    for (const auto &[text, readings] : cases) {
        SCOPED_TRACE(text);
        const TypedDateResult r = ParseTypedDate(text);
        ASSERT_TRUE(r.date.has_value()) << r.error;
        EXPECT_EQ(CalendarReadingsText(*r.date), readings);
    }
}

TEST(TypedDate, JulianCalendarConversionsRoundTrip) {
    // Across the centuries where the two calendars drift apart, including the Julian-only leap days.
    for (const CalendarDate j :
         {CalendarDate{1, 1, 3}, CalendarDate{100, 2, 29}, CalendarDate{1500, 2, 29},
          CalendarDate{1582, 10, 4}, CalendarDate{1700, 2, 29}, CalendarDate{9000, 12, 31}}) {
        SCOPED_TRACE(j.year);
        EXPECT_EQ(JulianFromDays(DaysFromJulian(j)), j);
    }
    // The day after Julian 4 October 1582 is Gregorian 15 October 1582.
    EXPECT_EQ(JulianOf({1582, 10, 15}), (CalendarDate{1582, 10, 5}));
}
