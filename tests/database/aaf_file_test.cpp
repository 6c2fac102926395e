// AAF records read, imported as persons and written back.
#include <gtest/gtest.h>

#include <cmath>

#include "common/windows1252.h"
#include "database/aaf_file.h"
#include "database/data_file.h"

namespace cel::database {
namespace {

// The universal time of a stored birth as "YYYY-MM-DD HH:MM".
std::string UtText(const Database &db, const TPersona &p) {
    TDateTime v = p.Fecha;
    if (const int i = IndexOfId(db.Places, p.IdLugarNac); p.HoraUT == 0 && i >= 0)
        v = ShiftDateTime(v, -db.Places[static_cast<std::size_t>(i)]->TZ / 24.0L);
    const CivilDateTime c = DecodeDateTime(ShiftDateTime(v, 0.5L / 86400.0L)); // to the nearest minute
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", c.year, c.month, c.day, c.hour, c.minute);
    return text;
}

TEST(AafFile, TheDefinitionsOwnExample) {
    const AafFile file = ReadAafText("#A93:Niehenke,Peter,*,9.5.1949,22:30,Hamm,D\n"
                                     "#B93:2433046.354167,51n41,7e49,1he,1\n");
    ASSERT_EQ(file.records.size(), 1u);
    ASSERT_TRUE(file.problems.empty());
    const AafRecord &r = file.records[0];
    EXPECT_EQ(r.lastName, "Niehenke");
    EXPECT_EQ(r.firstName, "Peter");
    EXPECT_NEAR(static_cast<double>(r.latitude), 51 + 41 / 60.0, 1e-9);
    EXPECT_NEAR(static_cast<double>(r.longitude), 7 + 49 / 60.0, 1e-9);
    EXPECT_NEAR(static_cast<double>(*r.standardOffset), 1.0, 1e-12);

    Database db;
    const AafImportResult result = ImportAaf(db, file, false);
    EXPECT_EQ(result.added, 1);
    EXPECT_EQ(result.countriesAdded, 1);
    const TPersona &p = *db.Persons[0];
    EXPECT_EQ(p.HoraUT, 1);
    EXPECT_EQ(UtText(db, p), "1949-05-09 20:30");
    EXPECT_EQ(db.Countries[0]->Nombre, "Alemania");
    EXPECT_EQ(db.Places[0]->Nombre, "Hamm");
    EXPECT_NEAR(static_cast<double>(db.Places[0]->Lon), -(7 + 49 / 60.0), 1e-9); // stored west positive

    // Without the Julian day, the local time with the offset and the daylight hour gives the same.
    Database again;
    ImportAaf(again, ReadAafText("#A93:Niehenke,Peter,*,9.5.1949,22:30,Hamm,D\n#B93:*,51n41,7e49,1he,1\n"),
              false);
    EXPECT_EQ(UtText(again, *again.Persons[0]), "1949-05-09 20:30");
}

// Time types, hemispheres, seconds and the Julian calendar: the universal time each one gives.
TEST(AafFile, TimeTypesAndCoordinates) {
    struct Case {
        const char *a93;
        const char *b93;
        const char *universal;
        double lat, lon; // east positive
    } cases[] = {
        {"X,Cero,m,1.1.1990,12:00,Quito,EC", "*,0s13,78w30,5hw,0", "1990-01-01 17:00", -13 / 60.0, -78.5},
        {"X,Dos,f,1.7.1945,12:00,Berlín,D", "*,52n31,13e24,1he,2", "1945-07-01 09:00", 52 + 31 / 60.0, 13.4},
        {"X,Media,*,1.1.1950,12:00,Lugar,*", "*,10n00,20e00,5he30,h", "1950-01-01 06:00", 10, 20},
        {"X,Local,*,1.1.1850,12:00,Lima,PE", "*,12s02:36,77w01:48,5hw,l", "1850-01-01 17:08",
         -(12 + 2.6 / 60), -(77 + 1.8 / 60)},
        {"X,Nada,*,1.1.1990,12:00,Sydney,AUS", "*,33s52:30,151e12,10he,*", "1990-01-01 02:00",
         -(33 + 52.5 / 60), 151.2},
        // 4 October 1582 (Julian) is 14 October 1582 (Gregorian): the day before the reform.
        {"X,Juliano,*,4.10.1582j,12:00,Roma,I", "*,41n54,12e29,1he,0", "1582-10-14 11:00", 41.9,
         12 + 29 / 60.0},
    };
    for (const Case &c : cases) {
        const AafFile file = ReadAafText(std::string("#A93:") + c.a93 + "\r\n#B93:" + c.b93 + "\r\n");
        ASSERT_EQ(file.records.size(), 1u) << c.a93 << (file.problems.empty() ? "" : file.problems[0].reason);
        EXPECT_NEAR(static_cast<double>(file.records[0].latitude), c.lat, 1e-9) << c.a93;
        EXPECT_NEAR(static_cast<double>(file.records[0].longitude), c.lon, 1e-9) << c.a93;
        Database db;
        ImportAaf(db, file, false);
        EXPECT_EQ(UtText(db, *db.Persons[0]), c.universal) << c.a93;
    }
}

TEST(AafFile, UnknownTimeAndPlace) {
    const AafFile file = ReadAafText("#A93:Sin,Hora,f,3.4.1970,*,Bogotá,CO\n#B93:*,4n36,74w05,5hw,0\n"
                                     "#A93:Sin,Lugar,m,3.4.1970,10:00,*,*\n#B93:*,*,*,*,*\n");
    ASSERT_EQ(file.records.size(), 2u);
    Database db;
    ImportAaf(db, file, false);
    const TPersona &noTime = *db.Persons[0];
    EXPECT_EQ(noTime.IsDate, 1);
    EXPECT_EQ(noTime.IsHora, 0);
    EXPECT_EQ(db.Countries[0]->Nombre, "Colombia");
    const TPersona &noPlace = *db.Persons[1];
    EXPECT_EQ(noPlace.IdLugarNac, -1);
    EXPECT_EQ(noPlace.HoraUT, 0); // no zone known: kept as the local time written
    EXPECT_EQ(db.Places.size(), 1u);
}

// Windows-1252 and UTF-8, CR LF and LF, comments and unknown tags; broken records are listed by line
// and the rest is read.
TEST(AafFile, EncodingsAndBrokenRecords) {
    const std::string utf8 = "#: comentario\r\n#COM:algo\r\n#A93:Muñoz,José,m,1.2.1960,08:15,Málaga,E\r\n"
                             "#B93:*,36n43,4w25,1he,0\r\n#ZNAM:Europe/Madrid\r\n";
    for (const std::string &bytes : {utf8, Utf8ToWindows1252(utf8)}) {
        const AafFile file = ReadAafText(bytes);
        ASSERT_EQ(file.records.size(), 1u);
        EXPECT_EQ(file.records[0].lastName, "Muñoz");
        EXPECT_EQ(file.records[0].place, "Málaga");
        EXPECT_EQ(file.records[0].zoneName, "Europe/Madrid");
    }
    const AafFile file = ReadAafText("#A93:Bien,Uno,m,1.1.1980,10:00,A,D\n#B93:*,50n00,8e00,1he,0\n"
                                     "#A93:Corto,Dos,m,1.1.1980\n#B93:*,50n00,8e00,1he,0\n" // lines 3-4
                                     "#A93:Mal,Tres,m,31.2.1980,10:00,A,D\n#B93:*,50n00,8e00,1he,0\n"  // 5-6
                                     "#A93:Mal,Cuatro,m,1.1.1980,10:00,A,D\n#B93:*,95n00,8e00,1he,0\n" // 7-8
                                     "#A93:Sin,B93,m,1.1.1980,10:00,A,D\n"                             // 9
                                     "#A93:Bien,Cinco,f,2.1.1980,10:00,A,D\n#B93:*,50n00,8e00,1he,0\n");
    ASSERT_EQ(file.records.size(), 2u);
    std::vector<int> lines;
    for (const AafProblem &p : file.problems)
        lines.push_back(p.line);
    EXPECT_EQ(lines, (std::vector<int>{3, 5, 8, 9}));
}

TEST(AafFile, DuplicatesAreSkippedOrReplaced) {
    const std::string text = "#A93:Pérez,Ana,f,1.1.1980,10:00,A,CO\n#B93:*,4n36,74w05,5hw,0\n";
    Database db;
    ImportAaf(db, ReadAafText(text), false);
    AafImportResult again = ImportAaf(db, ReadAafText(text), false);
    EXPECT_EQ(again.added, 0);
    ASSERT_EQ(again.skipped.size(), 1u);
    EXPECT_EQ(again.skipped[0].line, 1);
    EXPECT_EQ(db.Persons.size(), 1u);
    db.Persons[0]->Sexo = -1;
    again = ImportAaf(db, ReadAafText(text), true);
    EXPECT_EQ(again.replaced, 1);
    EXPECT_EQ(db.Persons.size(), 1u);
    EXPECT_EQ(db.Persons[0]->Sexo, 0);
    EXPECT_EQ(db.Places.size(), 1u); // the same coordinates: the same place
}

// Commas in names are rewritten; the written file reads back to the same persons.
TEST(AafFile, RoundTripOfTheSampleData) {
    Database db;
    SilentNotifier silent;
    LoadDataFile(std::string(CEL_TEST_DATA_DIR) + "/ejemplo.age", db, silent, TextFormat{});
    db.Persons[0]->Apellidos = "Restrepo, Gaviria";
    std::vector<const TPersona *> persons;
    for (const auto &p : db.Persons)
        persons.push_back(p.get());
    for (AafEncoding encoding : {AafEncoding::Utf8, AafEncoding::Windows1252}) {
        const std::string text = WriteAafText(db, persons, encoding);
        const AafFile file = ReadAafText(text);
        EXPECT_TRUE(file.problems.empty()) << file.problems[0].line << file.problems[0].reason;
        ASSERT_EQ(file.records.size(), db.Persons.size());
        EXPECT_EQ(file.records[0].lastName, "Restrepo; Gaviria");
        Database back;
        ImportAaf(back, file, false);
        ASSERT_EQ(back.Persons.size(), db.Persons.size());
        for (std::size_t i = 0; i < db.Persons.size(); ++i) {
            const TPersona &a = *db.Persons[i];
            const TPersona &b = *back.Persons[i];
            EXPECT_EQ(a.Nombre, b.Nombre);
            EXPECT_EQ(a.IsDate, b.IsDate) << a.Nombre;
            EXPECT_EQ(a.IsHora, b.IsHora) << a.Nombre;
            if (a.IsDate && a.IsHora) {
                EXPECT_EQ(UtText(db, a), UtText(back, b)) << a.Nombre;
            }
            const int pa = IndexOfId(db.Places, a.IdLugarNac), pb = IndexOfId(back.Places, b.IdLugarNac);
            ASSERT_EQ(pa < 0, pb < 0) << a.Nombre;
            if (pa < 0)
                continue;
            const TLugar_Geo &la = *db.Places[static_cast<std::size_t>(pa)];
            const TLugar_Geo &lb = *back.Places[static_cast<std::size_t>(pb)];
            EXPECT_EQ(la.Nombre, lb.Nombre);
            EXPECT_NEAR(static_cast<double>(la.Lat), static_cast<double>(lb.Lat), 1.0 / 7200);
            EXPECT_NEAR(static_cast<double>(la.Lon), static_cast<double>(lb.Lon), 1.0 / 7200);
            EXPECT_NEAR(static_cast<double>(la.TZ), static_cast<double>(lb.TZ), 1e-9);
            EXPECT_EQ(NameOfId(db.Countries, la.IdPais), NameOfId(back.Countries, lb.IdPais));
        }
    }
}

} // namespace
} // namespace cel::database
