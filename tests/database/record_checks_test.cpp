#include <gtest/gtest.h>

#include "common/windows1252.h"
#include "database/data_file.h"
#include "database/place_import.h"
#include "database/record_checks.h"
#include "scripted_notifier.h"

using namespace cel;
using namespace cel::database;

namespace {

const TextFormat kComma{','};

std::string Bytes(std::string_view utf8) {
    return Utf8ToWindows1252(utf8);
}

} // namespace

TEST(RecordChecks, ImpossibleValuesAreReportedByNameAndKeptAsRead) {
    struct Case {
        const char *line;
        Kind kind;
        const char *problem; // the start of the one thing reported
    };
    const Case cases[] = {
        {"Lâ3âPoloâ1â0â0â90â0ââ", Kind::Place, "latitud 90"},
        {"Lâ3âPoloâ1â0â0â-90â0ââ", Kind::Place, "latitud -90"},
        {"Lâ3âLejosâ1â0â0â1E300â0ââ", Kind::Place, "latitud 1E300"},
        {"Lâ3âLejosâ1â0â0â0â1E4000ââ", Kind::Place, "longitud 1E4000"},
        {"Lâ3âLejosâ1â0â0â0â180,5ââ", Kind::Place, "longitud 180.5"},
        {"Lâ3âLejosâ1â0â15â0â0ââ", Kind::Place, "zona horaria 15"},
        {"Iâ1âAnaâRuizâ3â1â1â1E15â0â0âß-1ßßßßßß0ßßâß-1ßßßßßß0ßßâßâßââ", Kind::Person,
         "fecha de nacimiento 1E15"},
        {"Iâ1âAnaâRuizâ3â1â1â-693595â0â0âß-1ßßßßßß0ßßâß-1ßßßßßß0ßßâßâßââ", Kind::Person,
         "fecha de nacimiento -693595"},
        {"Iâ1âAnaâRuizâ3â1â1â0â0â0âß-1ßßßßßß0ßßâß-1ßßßßßß0ßßâßâßêBodaê3ê1ê0ê3000000ê0êßââ", Kind::Person,
         "fecha del evento \"Boda\" 3000000"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        const std::string text = Bytes(std::string(c.line) + "\r\n");
        Database db;
        dbtest::StrictNotifier n;
        const LoadReport report = LoadDataText(text, db, n, kComma);
        EXPECT_TRUE(report.failedLines.empty());
        ASSERT_EQ(report.invalidRecords.size(), 1u);
        EXPECT_EQ(report.invalidRecords[0].kind, c.kind);
        ASSERT_EQ(report.invalidRecords[0].what.size(), 1u);
        EXPECT_EQ(report.invalidRecords[0].what[0].rfind(c.problem, 0), 0u)
            << report.invalidRecords[0].what[0];
        EXPECT_NE(ProblemText(report.invalidRecords[0]).find(c.kind == Kind::Place ? "Lugar 3" : "Persona 1"),
                  std::string::npos);
        // Kept in the file exactly as read.
        EXPECT_EQ(DataFileText(db, kComma), text);
    }
    // The edges that are allowed.
    Database db;
    dbtest::StrictNotifier n;
    const LoadReport ok =
        LoadDataText(Bytes("Lâ3âBordeâ1â0â-14â89,9999â-180ââ\r\nIâ1âAnaâRuizâ3â1â1â-693593â0â0âß-"
                           "1ßßßßßß0ßßâß-1ßßßßßß0ßßâßâßââ\r\n"
                           "Iâ2âSinFechaâRuizâ3â0â0â1E300â0â0âß-1ßßßßßß0ßßâß-1ßßßßßß0ßßâßâßââ\r\n"),
                     db, n, kComma);
    EXPECT_TRUE(ok.invalidRecords.empty());
}

TEST(RecordChecks, NoChartFromABirthWithImpossibleValues) {
    Database db;
    dbtest::StrictNotifier n;
    LoadDataText(Bytes("Lâ3âPoloâ1â0â0â90â0ââ\r\nLâ4âCaliâ1â0â-5â3,4â76,5ââ\r\n"
                       "Iâ1âAnaâRuizâ3â1â1â29145â0â0âß-1ßßßßßß0ßßâß-1ßßßßßß0ßßâßâßââ\r\n"
                       "Iâ2âLuisâRuizâ4â1â1â29145â0â0âß-1ßßßßßß0ßßâß-1ßßßßßß0ßßâßâßââ\r\n"),
                 db, n, kComma);
    const auto person = [&db](int id) -> const TPersona & { return *db.Persons[IndexOfId(db.Persons, id)]; };
    const std::vector<std::string> problems = BirthProblems(db, person(1));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("Polo"), std::string::npos);
    EXPECT_TRUE(BirthProblems(db, person(2)).empty());

    // An event is judged by its own date and place.
    TEvento event;
    event.IsDate = 1;
    event.Fecha = 1E300;
    event.IdLugarGeo = 3;
    const std::vector<std::string> eventProblems = EventProblems(db, event);
    ASSERT_EQ(eventProblems.size(), 2u);
    EXPECT_EQ(eventProblems[0].rfind("fecha del evento", 0), 0u);
    EXPECT_EQ(eventProblems[1].rfind("lugar del evento \"Polo\"", 0), 0u);
    event.Fecha = 29145;
    event.IdLugarGeo = 4;
    EXPECT_TRUE(EventProblems(db, event).empty());
}

TEST(RecordChecks, PlaceFilesAreCheckedToo) {
    dbtest::StrictNotifier n;
    const PlaceFile file =
        ReadPlaceText("P!1!X!\r\nL!1!Norte!1!0!0!95!10!!\r\nL!2!Bien!1!0!0!5!10!!\r\n", n, kComma);
    ASSERT_EQ(file.places.size(), 2u);
    ASSERT_EQ(file.invalidPlaces.size(), 1u);
    EXPECT_EQ(file.invalidPlaces[0].name, "Norte");
}
