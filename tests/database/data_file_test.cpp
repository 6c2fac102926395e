#include <gtest/gtest.h>

#include <random>

#include "common/windows1252.h"
#include "database/data_file.h"
#include "scripted_notifier.h"
#include "test_util.h"

using namespace cel;
using namespace cel::database;
using cel::dbtest::DataPath;
using cel::dbtest::StrictNotifier;

namespace {

const TextFormat kComma{','};
const TextFormat kPoint{'.'};

// File bytes from readable UTF-8 (the separators written as "â", "ß", "ê").
std::string Bytes(const std::string &utf8) {
    return Utf8ToWindows1252(utf8);
}

Database Load(const std::string &utf8, StrictNotifier &n, const TextFormat &f = kComma) {
    Database db;
    LoadDataText(Bytes(utf8), db, n, f);
    return db;
}

int CountEvents(const Database &db) {
    int n = 0;
    for (const auto &p : db.Persons)
        n += static_cast<int>(p->Eventos.size());
    return n;
}

} // namespace

TEST(DataFile, SampleLoadsWithExpectedCountsAndCounters) {
    for (const TextFormat &f : {kComma, kPoint}) {
        StrictNotifier n;
        Database db;
        const LoadReport report = LoadDataFile(DataPath("ejemplo.age"), db, n, f);
        EXPECT_TRUE(report.failedLines.empty());
        EXPECT_TRUE(n.shown.empty());
        EXPECT_EQ(report.lines, 67);
        EXPECT_EQ(db.Countries.size(), 12u);
        EXPECT_EQ(db.Places.size(), 40u);
        EXPECT_EQ(db.PersonGroups.size(), 3u);
        EXPECT_EQ(db.Persons.size(), 12u);
        EXPECT_EQ(CountEvents(db), 29);
        EXPECT_EQ(db.Counter(Kind::Country), 13);
        EXPECT_EQ(db.Counter(Kind::Place), 41);
        EXPECT_EQ(db.Counter(Kind::PersonGroup), 4);
        EXPECT_EQ(db.Counter(Kind::Person), 13);
        EXPECT_EQ(db.Counter(Kind::BusinessGroup), 0);
        EXPECT_EQ(db.Counter(Kind::Business), 0);
        // Bogotá, read as UTF-8, on either locale.
        const TLugar_Geo &bogota = *db.Places[IndexOfId(db.Places, 1)];
        EXPECT_EQ(bogota.Nombre, "Bogotá");
        EXPECT_NEAR(static_cast<double>(bogota.Lat), 4.60971, 1e-12);
        EXPECT_NEAR(static_cast<double>(bogota.Lon), 74.08175, 1e-12);
        EXPECT_EQ(bogota.TZ, -5);
    }
}

TEST(DataFile, SampleSavesBackByteForByte) {
    const std::string original = dbtest::ReadBytes(DataPath("ejemplo.age"));
    StrictNotifier n;
    // Read on either locale, written with a comma: the same bytes.
    for (const TextFormat &f : {kComma, kPoint}) {
        Database db;
        LoadDataText(original, db, n, f);
        EXPECT_EQ(DataFileText(db, kComma), original);
    }
    // Written with a point and read back on a comma locale: still the same data.
    Database db;
    LoadDataText(original, db, n, kComma);
    const std::string pointText = DataFileText(db, kPoint);
    EXPECT_NE(pointText, original);
    EXPECT_NE(pointText.find("4.60971"), std::string::npos);
    Database again;
    LoadDataText(pointText, again, n, kComma);
    EXPECT_EQ(DataFileText(again, kComma), original);
    EXPECT_TRUE(n.shown.empty());
}

TEST(DataFile, SaveWritesFileAndLeavesListsInNameOrder) {
    dbtest::TempFolder dir;
    StrictNotifier n;
    Database db;
    LoadDataFile(DataPath("ejemplo.age"), db, n, kComma);
    const std::string path = dir.File("copia.age");
    SaveDataFile(path, db, kComma);
    EXPECT_EQ(dbtest::ReadBytes(path), dbtest::ReadBytes(DataPath("ejemplo.age")));
    for (std::size_t i = 1; i < db.Persons.size(); ++i)
        EXPECT_FALSE(NameLess(db.Persons[i]->Nombre, db.Persons[i - 1]->Nombre));
    for (std::size_t i = 1; i < db.Places.size(); ++i)
        EXPECT_FALSE(NameLess(db.Places[i]->Nombre, db.Places[i - 1]->Nombre));
}

TEST(DataFile, PersonLineReadsEveryFieldAndWritesBackTheSame) {
    const std::string line =
        "Iâ7âAnaâRuizâ12â1â1â29145,5208333333â0â0âß12ßCalle 5ß555ßßßß0ßßâß-1ßßßßßß0ßßâß3ßâ"
        "ßêBodaê12ê1ê0ê35000ê0êßâPrimera línea^~segunda líneaâ\r\n";
    StrictNotifier n;
    Database db = Load(line, n, kPoint);
    ASSERT_EQ(db.Persons.size(), 1u);
    const TPersona &p = *db.Persons[0];
    EXPECT_EQ(p.Id, 7);
    EXPECT_EQ(p.Nombre, "Ana");
    EXPECT_EQ(p.Apellidos, "Ruiz");
    EXPECT_EQ(p.IdLugarNac, 12);
    EXPECT_EQ(p.IsDate, 1);
    EXPECT_EQ(p.IsHora, 1);
    EXPECT_DOUBLE_EQ(p.Fecha, 29145.5208333333);
    EXPECT_EQ(p.HoraUT, 0);
    EXPECT_EQ(p.Sexo, 0);
    EXPECT_EQ(p.Residencia.IdLugarGeo, 12);
    EXPECT_EQ(p.Residencia.Dir, "Calle 5");
    EXPECT_EQ(p.Residencia.Tel, "555");
    EXPECT_EQ(p.Residencia.Email, "");
    EXPECT_EQ(p.Trabajo.IdLugarGeo, -1);
    ASSERT_EQ(p.Grupos.size(), 1u);
    EXPECT_EQ(p.Grupos[0].Id, 3);
    ASSERT_EQ(p.Eventos.size(), 1u);
    EXPECT_EQ(p.Eventos[0].Nombre, "Boda");
    EXPECT_EQ(p.Eventos[0].Id, 1);
    EXPECT_EQ(p.Eventos[0].IdLugarGeo, 12);
    EXPECT_EQ(p.Eventos[0].Fecha, 35000);
    EXPECT_EQ(p.Observaciones, "Primera línea^~segunda línea");
    EXPECT_EQ(DataFileText(db, kComma), Bytes(line));
}

TEST(DataFile, PlaceWrittenWithCommaReadsOnPointLocale) {
    StrictNotifier n;
    Database db = Load("Lâ3âCaliâ5â0â-5â3,45â76,53ââ\r\n", n, kPoint);
    ASSERT_EQ(db.Places.size(), 1u);
    const TLugar_Geo &p = *db.Places[0];
    EXPECT_EQ(p.Id, 3);
    EXPECT_EQ(p.IdPais, 5);
    EXPECT_EQ(p.TZ, -5);
    EXPECT_EQ(p.Lat, 3.45L);
    EXPECT_EQ(p.Lon, 76.53L);
    EXPECT_EQ(p.Descripcion, "");
    EXPECT_EQ(DataFileText(db, kPoint), Bytes("Lâ3âCaliâ5â0â-5â3.45â76.53ââ\r\n"));
}

TEST(DataFile, EmptyListsAreWrittenAsOneSeparator) {
    StrictNotifier n;
    Database db = Load("Iâ1âLuisâPazâ-1â0â0â0â-1â-1âß-1ßßßßßß0ßßâß-1ßßßßßß0ßßâßâßââ\r\n", n);
    ASSERT_EQ(db.Persons.size(), 1u);
    EXPECT_TRUE(db.Persons[0]->Grupos.empty());
    EXPECT_TRUE(db.Persons[0]->Eventos.empty());
    EXPECT_EQ(DataFileText(db, kComma),
              Bytes("Iâ1âLuisâPazâ-1â0â0â0â-1â-1âß-1ßßßßßß0ßßâß-1ßßßßßß0ßßâßâßââ\r\n"));
}

TEST(DataFile, EventsAreNumberedInFileOrderAndSortedLatestFirst) {
    // Negative date-times too: -1169 (1896) and -1,75 (1899-12-29 18:00).
    const std::string line =
        "Iâ1âLeaâSolâ-1â1â1â-1,75â0â0âß-1ßßßßßß0ßßâß-1ßßßßßß0ßßâßâ"
        "ßêAê1ê1ê0ê-1169ê0êßêBê1ê1ê0ê12000,5ê0êßêCê1ê1ê0ê-1,75ê1êßêDê1ê0ê0ê40000ê0êßâObsâ\r\n";
    StrictNotifier n;
    Database db = Load(line, n);
    ASSERT_EQ(db.Persons.size(), 1u);
    const auto &ev = db.Persons[0]->Eventos;
    ASSERT_EQ(ev.size(), 4u);
    const char *names[] = {"D", "B", "C", "A"};
    const int ids[] = {4, 2, 3, 1};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ev[i].Nombre, names[i]);
        EXPECT_EQ(ev[i].Id, ids[i]);
    }
    EXPECT_EQ(db.Persons[0]->Fecha, -1.75);
    // Written latest first; read back the Ids are 1..n again.
    const std::string text = DataFileText(db, kComma);
    EXPECT_NE(text.find(Bytes("ßêDê1ê0ê0ê40000ê0êßêBê1ê1ê0ê12000,5ê0êßêCê1ê1ê0ê-1,75ê1êßêAê1ê1ê0ê-1169ê0êß")),
              std::string::npos);
    Database again;
    LoadDataText(text, again, n, kComma);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(again.Persons[0]->Eventos[i].Id, i + 1);
}

TEST(DataFile, BusinessesSurviveLoadAndSave) {
    const std::string text =
        "Eâ2âProveedoresâ\r\n"
        "Nâ4âTalleres SASâ4520â1â36526,5âß7ßCra 9ß555ßßßwww.example.comß1ßa@example.comßâ"
        "ß3ß9ßâß2ßâßêFundaciónê7ê1ê1ê30000,25ê0êßâßuno líneaßdosßâ\r\n";
    StrictNotifier n;
    Database db = Load(text, n);
    ASSERT_EQ(db.Businesses.size(), 1u);
    const TNegocio &b = *db.Businesses[0];
    EXPECT_EQ(b.CIUU, 4520);
    EXPECT_EQ(b.Indicador, 1);
    EXPECT_EQ(b.Fecha, 36526.5);
    EXPECT_EQ(b.Direccion.IdLugarGeo, 7);
    EXPECT_EQ(b.Direccion.Email, "a@example.com");
    ASSERT_EQ(b.Referencias.size(), 2u);
    EXPECT_EQ(b.Referencias[1].Id, 9);
    ASSERT_EQ(b.Grupos.size(), 1u);
    ASSERT_EQ(b.Eventos.size(), 1u);
    EXPECT_EQ(b.Eventos[0].Nombre, "Fundación");
    ASSERT_EQ(b.Textos.size(), 2u);
    EXPECT_EQ(b.Textos[0], "uno línea");
    EXPECT_EQ(db.Counter(Kind::Business), 5);
    EXPECT_EQ(db.Counter(Kind::BusinessGroup), 3);
    EXPECT_EQ(DataFileText(db, kComma), Bytes(text));
}

TEST(DataFile, FailedLinesAreSkippedAndReported) {
    struct Case {
        const char *line;
        bool fails;
    };
    const Case cases[] = {
        {"", true},                                                   // empty line
        {"Pâxâ", true},                                               // Id not an integer
        {"Pââ", true},                                                // Id empty
        {"Pâ99999999999âNoâ", true},                                  // beyond 32 bits
        {"Lâ1âAâ1â0âabcâ0â0ââ", true},                                // TZ not a real
        {"Iâ1âAâBâ-1â1â1â1.2.3â0â0âßßßßßßßßâ", true},                 // date not a real
        {"Iâ1âAâBâ-1â1â1â10â0â0âßxßââ", true},                        // address place not an integer
        {"Iâ1âAâBâ-1â1â1â10â0â0âß-1ßâß-1ßâßaßâ", true},               // group not an integer
        {"Iâ1âAâBâ-1â1â1â10â0â0âß-1ßâß-1ßâßâßêEêxê1ê1ê1ê0êßâ", true}, // event place not an integer
        {"pâ1âlower caseâ", false},                                   // other first characters: ignored
        {"Xâ1âAâ", false},
        {"# comment", false},
        {"P", false},       // no fields: a record with the defaults
        {"Pâ5âCut", false}, // the name lacks its closing separator: missing
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        StrictNotifier n;
        Database db;
        const LoadReport r =
            LoadDataText(Bytes(std::string("Pâ1âUnoâ\r\n") + c.line + "\r\nPâ2âDosâ\r\n"), db, n, kComma);
        EXPECT_EQ(r.lines, 3);
        if (c.fails) {
            EXPECT_EQ(r.failedLines, std::vector<int>{2});
            ASSERT_EQ(n.shown.size(), 2u);
            EXPECT_EQ(n.shown[0].text, kLineErrorText);
            EXPECT_EQ(n.shown[0].kind, NoticeKind::Error);
            EXPECT_EQ(n.shown[1].text, kFileErrorText);
        } else {
            EXPECT_TRUE(r.failedLines.empty());
            EXPECT_TRUE(n.shown.empty());
        }
        EXPECT_GE(db.Countries.size(), 2u);
        EXPECT_EQ(db.Countries[0]->Nombre, "Uno");
        EXPECT_EQ(db.Countries.back()->Nombre, "Dos");
    }
    // Several failed lines: one notice each, the closing notice once.
    StrictNotifier n;
    Database db;
    LoadDataText(Bytes("Pâxâ\r\n\r\nGâyâ\r\nGâ1âBienâ\r\n"), db, n, kComma);
    EXPECT_EQ(n.Count(kLineErrorText), 3);
    EXPECT_EQ(n.Count(kFileErrorText), 1);
    EXPECT_EQ(db.PersonGroups.size(), 1u);
}

TEST(DataFile, MissingFieldsKeepDefaults) {
    StrictNotifier n;
    Database db = Load("Pâ5âCut\r\nIâ3âSoloâ\r\n", n);
    ASSERT_EQ(db.Countries.size(), 1u);
    EXPECT_EQ(db.Countries[0]->Id, 5);
    EXPECT_EQ(db.Countries[0]->Nombre, "");
    ASSERT_EQ(db.Persons.size(), 1u);
    EXPECT_EQ(db.Persons[0]->Nombre, "Solo");
    EXPECT_EQ(db.Persons[0]->IdLugarNac, -1);
    EXPECT_EQ(db.Persons[0]->Sexo, -1);
    EXPECT_EQ(db.Persons[0]->Residencia.IdLugarGeo, -1);
}

TEST(DataFile, CountersFollowTheLargestIdReadNotTheLast) {
    StrictNotifier n;
    Database db = Load("Pâ7âSieteâ\r\nPâ2âDosâ\r\nGâ5âCincoâ\r\nGâ1âUnoâ\r\nPâxâ\r\nPâ3âTresâ\r\n", n);
    EXPECT_EQ(db.Counter(Kind::Country), 8);
    EXPECT_EQ(db.Counter(Kind::PersonGroup), 6);
    EXPECT_EQ(db.TakeId(Kind::Country), 8);
    // A failed line does not count.
    Database other = Load("Pâ1âUnoâ\r\nPâ9xâ\r\n", n);
    EXPECT_EQ(other.Counter(Kind::Country), 2);
}

TEST(DataFile, EmptyFileGivesEmptyDatabaseWithZeroCounters) {
    StrictNotifier n;
    Database db;
    db.Counter(Kind::Country) = 5;
    const LoadReport r = LoadDataText("", db, n, kComma);
    EXPECT_EQ(r.lines, 0);
    for (int k = 0; k < kKindCount; ++k)
        EXPECT_EQ(db.NextId[k], 0);
    EXPECT_EQ(db.TakeId(Kind::Country), 0);
    EXPECT_EQ(DataFileText(db, kComma), "");
}

TEST(DataFile, MergingLeavesCountersAlone) {
    StrictNotifier n;
    Database db;
    db.Counter(Kind::Country) = 100;
    LoadDataText(Bytes("Pâ7âSieteâ\r\n"), db, n, kComma, true);
    EXPECT_EQ(db.Counter(Kind::Country), 100);
}

TEST(DataFile, LinesEndingInLineFeedAloneAndALastLineWithoutEnd) {
    StrictNotifier n;
    Database db = Load("Pâ1âUnoâ\nPâ2âDosâ", n);
    EXPECT_EQ(db.Countries.size(), 2u);
    EXPECT_TRUE(n.shown.empty());
}

TEST(DataFile, WriterRemovesASeparatorOnlyWhereItWouldBreakTheLine) {
    Database db;
    auto p = std::make_unique<TPais>();
    p->Id = 1;
    p->Nombre = "Ma\nlâß";
    db.Countries.push_back(std::move(p));
    auto person = std::make_unique<TPersona>();
    person->Id = 1;
    person->Nombre = "Straßburgêr\r";
    person->Residencia.Dir = "Calle ßê 5";
    person->Observaciones = "Groß^~ê";
    person->Eventos.emplace_back();
    person->Eventos[0].Nombre = "Fêteßê";
    db.Persons.push_back(std::move(person));
    const std::string text = DataFileText(db, kComma);
    // "â" and line breaks go everywhere; "ß" only inside sub-records and lists, "ê" inside events.
    EXPECT_EQ(text.substr(0, text.find('\n') + 1), Bytes("Pâ1âMalßâ\r\n"));
    EXPECT_NE(text.find(Bytes("âStraßburgêrâ")), std::string::npos);
    EXPECT_NE(text.find(Bytes("ßCalle ê 5ß")), std::string::npos);
    EXPECT_NE(text.find(Bytes("ßêFteê0ê")), std::string::npos);
    StrictNotifier n;
    Database again;
    LoadDataText(text, again, n, kComma);
    EXPECT_TRUE(n.shown.empty());
    EXPECT_EQ(again.Countries[0]->Nombre, "Malß");
    EXPECT_EQ(again.Persons[0]->Nombre, "Straßburgêr");
    EXPECT_EQ(again.Persons[0]->Residencia.Dir, "Calle ê 5");
    EXPECT_EQ(again.Persons[0]->Observaciones, "Groß^~ê");
    EXPECT_EQ(again.Persons[0]->Eventos[0].Nombre, "Fte");
    // Read and written again, a file's text is unchanged byte for byte.
    EXPECT_EQ(DataFileText(again, kComma), text);
}

TEST(DataFile, NoInputCrashesTheReader) {
    const std::string sample = dbtest::ReadBytes(DataPath("ejemplo.age"));
    std::mt19937 rng(12345);
    SilentNotifier quiet;
    // Random bytes, with and without separators.
    for (int round = 0; round < 200; ++round) {
        std::string bytes(static_cast<std::size_t>(rng() % 4000), '\0');
        const char alphabet[] = {'P',    'G', 'E', 'L', 'I', 'N',  '\xE2', '\xDF',
                                 '\xEA', '1', ',', '.', '-', '\r', '\n'};
        for (char &c : bytes)
            c = round % 2 ? static_cast<char>(rng()) : alphabet[rng() % sizeof alphabet];
        Database db;
        LoadDataText(bytes, db, quiet, kComma);
        DataFileText(db, kPoint);
    }
    // Mutations of the sample: bytes replaced, dropped or cut.
    for (int round = 0; round < 300; ++round) {
        std::string bytes = sample;
        for (int k = 0; k < 5; ++k) {
            const std::size_t at = rng() % bytes.size();
            if (rng() % 2)
                bytes[at] = static_cast<char>(rng());
            else
                bytes.erase(at, rng() % 40);
        }
        Database db;
        LoadDataText(bytes, db, quiet, kComma);
        Database again;
        LoadDataText(DataFileText(db, kComma), again, quiet, kComma);
    }
    // A huge line and a line of separators only.
    Database db;
    LoadDataText(Bytes("Iâ1âNombreâ") + std::string(5'000'000, 'x') + "\xE2\r\n" +
                     std::string(100000, '\xE2'),
                 db, quiet, kComma);
    ASSERT_EQ(db.Persons.size(), 1u);
    EXPECT_EQ(db.Persons[0]->Apellidos.size(), 5'000'000u);
}

TEST(DataFile, OpeningRefusesAnExistingFileOfAnotherKind) {
    StrictNotifier n;
    Database db;
    EXPECT_FALSE(OpenDataFile(DataPath("colombia.lug"), db, n, kComma));
    ASSERT_EQ(n.shown.size(), 1u);
    EXPECT_EQ(n.shown[0].text, "El archivo:\r\rcolombia.lug\r\rno es un archivo valido del programa Tarjaro");
    EXPECT_TRUE(db.Path.empty());
    LoadReport report;
    EXPECT_TRUE(OpenDataFile(DataPath("ejemplo.age"), db, n, kComma, &report));
    EXPECT_EQ(db.Path, DataPath("ejemplo.age"));
    EXPECT_EQ(report.lines, 67);
    EXPECT_TRUE(HasDataFileExtension("/x/DATOS.AGE"));
    EXPECT_FALSE(HasDataFileExtension("/x/datos.age.bak"));
}
