#include <gtest/gtest.h>

#include "common/safe_file.h"
#include "common/windows1252.h"
#include "database/coordinate_text.h"
#include "database/data_file.h"
#include "database/place_import.h"
#include "scripted_notifier.h"
#include "test_util.h"

using namespace cel;
using namespace cel::database;
using cel::dbtest::DataPath;
using cel::dbtest::StrictNotifier;

namespace {

const TextFormat kComma{','};
const TextFormat kPoint{'.'};

PlaceFile ReadLug(const std::string &name, Notifier &n, const TextFormat &f = kComma) {
    return ReadPlaceText(ReadWholeFile(DataPath(name)), n, f);
}

void TickAll(PlaceFile &file) {
    for (auto &p : file.places)
        p->Marca = 1;
}

Database LoadSample() {
    Database db;
    SilentNotifier quiet;
    LoadDataFile(DataPath("ejemplo.age"), db, quiet, kComma);
    return db;
}

Database FromText(const std::string &utf8) {
    Database db;
    SilentNotifier quiet;
    LoadDataText(Utf8ToWindows1252(utf8), db, quiet, kComma);
    return db;
}

int Count(const AddPlacesResult &r, PlaceOutcome o) {
    int n = 0;
    for (const auto &p : r.places)
        n += p.outcome == o;
    return n;
}

} // namespace

TEST(PlaceFile, ReadsTheSampleUnderEitherSeparator) {
    StrictNotifier n;
    const PlaceFile comma = ReadLug("colombia.lug", n, kComma);
    const PlaceFile point = ReadLug("colombia.lug", n, kPoint);
    EXPECT_TRUE(n.shown.empty());
    ASSERT_TRUE(comma.hasCountry);
    EXPECT_EQ(comma.country.Nombre, "Colombia");
    ASSERT_EQ(comma.places.size(), 60u);
    ASSERT_EQ(point.places.size(), 60u);
    for (std::size_t i = 0; i < 60; ++i) {
        EXPECT_EQ(comma.places[i]->Lat, point.places[i]->Lat);
        EXPECT_EQ(comma.places[i]->Lon, point.places[i]->Lon);
        EXPECT_EQ(comma.places[i]->Marca, 0);
    }
    EXPECT_EQ(comma.places[0]->Nombre, "Bogotá");
    EXPECT_EQ(comma.places[0]->Descripcion, "Bogotá D. C.");
    EXPECT_EQ(comma.places[0]->TZ, -5);
}

TEST(PlaceFile, FailedLinesAndOtherLines) {
    StrictNotifier n;
    const PlaceFile f =
        ReadPlaceText(Utf8ToWindows1252("P!1!Perú!\r\n\r\n# nota\r\nL!1!Lima!1!0!-5!-12,04318!77,02824!"
                                        "Lima!\r\nL!2!Mal!1!0!x!0!0!!\r\nP!2!Perú otra vez!\r\n"
                                        "L!3!Cuzcoâ!1!0!-5!-13,5!72!ß!\r\n"),
                      n, kPoint);
    EXPECT_EQ(f.failedLines, std::vector<int>{5});
    EXPECT_EQ(n.Count(kLineErrorText), 1);
    EXPECT_EQ(f.country.Nombre, "Perú otra vez"); // the last country line counts
    ASSERT_EQ(f.places.size(), 2u);
    EXPECT_EQ(f.places[1]->Nombre, "Cuzco"); // the data file's separators never come in
    EXPECT_EQ(f.places[1]->Descripcion, "");
}

TEST(PlaceFile, OpeningRefusesOtherExtensionsAndFilesWithoutCountry) {
    dbtest::TempFolder dir;
    WriteFileSafely(dir.File("sin_pais.lug"), "L!1!Lima!1!0!-5!-12!77!!\r\n");
    WriteFileSafely(dir.File("lugares.txt"), "P!1!Perú!\r\n");
    StrictNotifier n;
    EXPECT_FALSE(OpenPlaceFile(dir.File("lugares.txt"), n, kComma));
    EXPECT_FALSE(OpenPlaceFile(dir.File("sin_pais.lug"), n, kComma));
    ASSERT_EQ(n.shown.size(), 2u);
    EXPECT_EQ(n.shown[0].text, "El archivo:\r\rlugares.txt\r\rno es un archivo valido del programa Tarjaro");
    EXPECT_EQ(n.shown[1].text, NoCountryText(dir.File("sin_pais.lug")));
    EXPECT_TRUE(OpenPlaceFile(DataPath("chile.lug"), n, kComma).has_value());
    EXPECT_THROW(OpenPlaceFile(dir.File("falta.lug"), n, kComma), FileError);
}

TEST(AddPlaces, EmptyDatabaseTakesEveryTickedPlaceWithoutQuestions) {
    StrictNotifier n;
    Database db;
    PlaceFile f = ReadLug("espana.lug", n);
    TickAll(f);
    f.places[3]->Marca = 0;
    const AddPlacesResult r = AddPlaces(db, f.country, f.places, n);
    EXPECT_TRUE(n.shown.empty());
    EXPECT_TRUE(r.countryAdded);
    EXPECT_EQ(r.countryId, 0); // the first Id of an empty database
    EXPECT_EQ(db.Places.size(), 69u);
    EXPECT_EQ(Count(r, PlaceOutcome::Added), 69);
    EXPECT_EQ(f.places.size(), 1u); // the unticked place stays with the file
    for (const auto &p : db.Places)
        EXPECT_EQ(p->IdPais, 0);
    EXPECT_EQ(db.Counter(Kind::Place), 69);
    // The same file again: everything is there already, nothing is asked.
    PlaceFile again = ReadLug("espana.lug", n);
    TickAll(again);
    const AddPlacesResult r2 = AddPlaces(db, again.country, again.places, n);
    EXPECT_TRUE(n.shown.empty());
    EXPECT_FALSE(r2.countryAdded);
    EXPECT_EQ(db.Places.size(), 70u); // only the place left out the first time
    EXPECT_EQ(Count(r2, PlaceOutcome::AlreadyThere), 69);
}

TEST(AddPlaces, SampleDatabaseRecognisesItsOwnPlaces) {
    const std::pair<const char *, int> files[] = {{"colombia.lug", 7}, {"espana.lug", 6}, {"chile.lug", 3}};
    for (const auto &[name, known] : files) {
        SCOPED_TRACE(name);
        StrictNotifier n;
        Database db = LoadSample();
        const std::size_t before = db.Places.size();
        PlaceFile f = ReadLug(name, n);
        TickAll(f);
        const std::size_t total = f.places.size();
        const AddPlacesResult r = AddPlaces(db, f.country, f.places, n);
        EXPECT_TRUE(n.shown.empty());
        EXPECT_FALSE(r.countryAdded);
        EXPECT_EQ(Count(r, PlaceOutcome::AlreadyThere), known);
        EXPECT_EQ(db.Places.size(), before + total - known);
    }
}

TEST(AddPlaces, CountryNamesMatchExactly) {
    StrictNotifier n;
    Database db = LoadSample();
    TData country;
    country.Nombre = "ESPAÑA";
    RecordList<TLugar_Geo> none;
    const AddPlacesResult r = AddPlaces(db, country, none, n);
    EXPECT_TRUE(r.countryAdded);
    EXPECT_EQ(r.countryId, 13);
    country.Nombre = "España";
    EXPECT_EQ(AddPlaces(db, country, none, n).countryId, 2);
}

TEST(AddPlaces, SameDataUnderAnotherNameAsksToRenameTheStoredPlace) {
    for (const bool yes : {true, false}) {
        SCOPED_TRACE(yes);
        StrictNotifier n;
        Database db = FromText("Pâ1âColombiaâ\r\nLâ1âSanta Fe de Bogotáâ1â0â-5â4,60971â74,08175ââ\r\n");
        PlaceFile f = ReadLug("colombia.lug", n);
        f.places[0]->Marca = 1; // Bogotá, with the data of the stored place
        n.answers = {yes};
        const AddPlacesResult r = AddPlaces(db, f.country, f.places, n);
        ASSERT_EQ(n.shown.size(), 1u);
        EXPECT_EQ(n.shown[0].kind, NoticeKind::Question);
        EXPECT_TRUE(n.shown[0].yesNo);
        EXPECT_EQ(n.shown[0].text,
                  "Ya existe un lugar geográfico con estos datos en el archivo\r\r"
                  "Santa Fe de Bogotá\rPaís: Colombia\rLon: 74° 4' 54\" W\rLat: 4° 36' 35\" N"
                  "\rTZ: -5:00\rDST: no\r\r"
                  "Desea asignarle a este lugar el nombre \"Bogotá\" con el País \"Colombia\"");
        ASSERT_EQ(r.places.size(), 1u);
        EXPECT_EQ(r.places[0].id, 1);
        EXPECT_EQ(db.Places.size(), 1u);
        EXPECT_EQ(db.Places[0]->Nombre, yes ? "Bogotá" : "Santa Fe de Bogotá");
        EXPECT_EQ(db.Places[0]->Marca, yes ? 1 : 0);
        EXPECT_EQ(r.places[0].outcome, yes ? PlaceOutcome::DataRenamed : PlaceOutcome::DataKept);
    }
}

TEST(AddPlaces, TakenNameAsksForANewOneUntilItIsValidAndFree) {
    StrictNotifier n;
    Database db =
        FromText("Pâ1âColombiaâ\r\nLâ1âBOGOTáâ1â0â-5â4,7â74,1ââ\r\nLâ2âBogotá Norteâ1â0â-5â4,8â74,1ââ\r\n");
    PlaceFile f = ReadLug("colombia.lug", n);
    f.places[0]->Marca = 1;
    n.answers = {true};
    n.inputs = {std::nullopt, std::string("Bo^go"),        std::nullopt, std::string("bogotá norte"),
                std::nullopt, std::string("Bogotá Centro")};
    const AddPlacesResult r = AddPlaces(db, f.country, f.places, n);
    ASSERT_EQ(n.shown.size(), 5u);
    EXPECT_EQ(
        n.shown[0].text.rfind("Ya hay un Lugar geográfico en la base de datos con el nombre \"Bogotá\"\r\r"
                              "BOGOTá\rPaís: Colombia\r",
                              0),
        0u);
    EXPECT_NE(n.shown[0].text.find("Desea crear un Lugar Geográfico con estos datos pero con un nuevo nombre?"
                                   "\r\rBogotá\rPaís: Colombia\rLon: 74° 4' 54\" W"),
              std::string::npos);
    EXPECT_EQ(n.shown[1].text, "Debe digitar nombre !");             // cancelled while empty
    EXPECT_EQ(n.shown[2].text, "El caracter \"^\" no es permitido"); // refused character
    EXPECT_EQ(n.shown[3].text, "El caracter \"^\" no es permitido"); // cancel keeps "Bo^go"
    EXPECT_EQ(n.shown[4].text, "Debe digitar nombre !"); // "bogotá norte" was taken: the box came back empty
    EXPECT_EQ(n.inputTitles.size(), 6u);
    EXPECT_EQ(n.inputTitles[0], "Nuevo nombre Lugar Geografico");
    ASSERT_EQ(r.places.size(), 1u);
    EXPECT_EQ(r.places[0].outcome, PlaceOutcome::AddedRenamed);
    ASSERT_EQ(db.Places.size(), 3u);
    EXPECT_EQ(db.Places[2]->Nombre, "Bogotá Centro");
    EXPECT_EQ(db.Places[2]->Id, 3);
    // Declined: nothing is added.
    db = FromText("Pâ1âColombiaâ\r\nLâ1âBOGOTáâ1â0â-5â4,7â74,1ââ\r\n");
    StrictNotifier no;
    PlaceFile g = ReadLug("colombia.lug", no);
    g.places[0]->Marca = 1;
    no.answers = {false};
    const AddPlacesResult r2 = AddPlaces(db, g.country, g.places, no);
    EXPECT_EQ(r2.places[0].outcome, PlaceOutcome::NameDeclined);
    EXPECT_EQ(r2.places[0].id, -1);
    EXPECT_EQ(db.Places.size(), 1u);
}
