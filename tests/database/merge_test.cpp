#include <gtest/gtest.h>

#include <map>

#include "common/safe_file.h"
#include "common/windows1252.h"
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

Database FromText(const std::string &utf8) {
    Database db;
    SilentNotifier quiet;
    LoadDataText(Utf8ToWindows1252(utf8), db, quiet, kComma);
    return db;
}

// Everything a person refers to, by name: birth, home and work places, events' places and groups.
std::string Refs(const Database &db, const TPersona &p) {
    std::string s = db.PlaceCaption(p.IdLugarNac) + "|" + db.PlaceCaption(p.Residencia.IdLugarGeo) + "|" +
                    db.PlaceCaption(p.Trabajo.IdLugarGeo);
    for (const auto &e : p.Eventos)
        s += "|" + e.Nombre + "@" + db.PlaceCaption(e.IdLugarGeo);
    for (const auto &g : p.Grupos)
        s += "|g:" + NameOfId(db.PersonGroups, g.Id);
    return s;
}

std::map<std::string, std::string> RefsByName(const Database &db) {
    std::map<std::string, std::string> m;
    for (const auto &p : db.Persons)
        m[p->Nombre + " " + p->Apellidos] = Refs(db, *p);
    return m;
}

template <class T> void ExpectIdsOneToN(const RecordList<T> &list) {
    std::vector<int> ids;
    for (const auto &r : list)
        ids.push_back(r->Id);
    std::sort(ids.begin(), ids.end());
    for (std::size_t i = 0; i < ids.size(); ++i)
        EXPECT_EQ(ids[i], static_cast<int>(i + 1));
}

const char *kBase = "Pâ1âColombiaâ\r\nPâ2âESPAÑAâ\r\nGâ1âFamiliaâ\r\n"
                    "Lâ1âBogotáâ1â0â-5â4,60971â74,08175âBogotá D. C.â\r\n"
                    "Lâ2âTunjaâ1â0â-5â5,53528â73,36778âBoyacáâ\r\n"
                    "Iâ1âPedroâPáramoâ2â1â0â20000â0â1âß1ßßßßßß0ßßâß-1ßßßßßß0ßßâß1ßâßâNotaâ\r\n";

} // namespace

TEST(Merge, AppendsAnotherFileWithItsReferencesIntact) {
    Database original;
    SilentNotifier quiet;
    LoadDataFile(DataPath("ejemplo.age"), original, quiet, kComma);
    const auto expected = RefsByName(original);

    StrictNotifier n;
    Database db = FromText(kBase);
    db.Path = "/tmp/base.age";
    const auto baseRefs = RefsByName(db);
    const MergeResult r = MergeDataFile(db, DataPath("ejemplo.age"), n, kComma);
    EXPECT_TRUE(n.shown.empty());
    ASSERT_TRUE(r.merged);
    EXPECT_EQ(r.groupName, " Archivo: ejemplo.age");
    EXPECT_EQ(r.countriesAdded, 11); // Colombia is there; España is not ESPAÑA
    EXPECT_EQ(db.Countries.size(), 13u);
    EXPECT_EQ(r.groupsAdded, 2); // Familia is there
    EXPECT_EQ(db.PersonGroups.size(), 4u);
    EXPECT_EQ(r.personsAdded, 12);
    EXPECT_EQ(db.Persons.size(), 13u);
    EXPECT_EQ(db.Places.size(), 41u); // Bogotá is there with the same name and data
    EXPECT_TRUE(r.personsWithoutPlace.empty());
    ExpectIdsOneToN(db.Countries);
    ExpectIdsOneToN(db.Places);
    ExpectIdsOneToN(db.PersonGroups);
    ExpectIdsOneToN(db.Persons);
    EXPECT_EQ(db.Counter(Kind::Country), 14);
    EXPECT_EQ(db.Counter(Kind::Place), 42);
    EXPECT_EQ(db.Counter(Kind::PersonGroup), 5);
    EXPECT_EQ(db.Counter(Kind::Person), 14);

    // Every merged person refers to the same places and groups as before, plus the file's group.
    const auto merged = RefsByName(db);
    for (const auto &[name, refs] : expected) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(merged.count(name));
        EXPECT_EQ(merged.at(name), refs + "|g: Archivo: ejemplo.age");
    }
    EXPECT_EQ(merged.at("Pedro Páramo"), baseRefs.at("Pedro Páramo"));
    const int spain = IndexOfName(db.Countries, "España");
    ASSERT_GE(spain, 0);
    EXPECT_GE(IndexOfName(db.Countries, "ESPAÑA"), 0);
    const int fileGroup = IndexOfName(db.PersonGroups, " Archivo: ejemplo.age");
    ASSERT_GE(fileGroup, 0);
    EXPECT_EQ(db.PersonGroups[fileGroup]->Marca, 1);

    // Saved and read back: nothing fails, and the counters continue after the largest Ids.
    const std::string text = DataFileText(db, kComma);
    Database again;
    StrictNotifier n2;
    LoadDataText(text, again, n2, kComma);
    EXPECT_TRUE(n2.shown.empty());
    EXPECT_EQ(RefsByName(again), merged);
}

TEST(Merge, DeclinedPlacesLeaveThePersonsWithoutPlace) {
    // Medellín is stored with other coordinates: the merge asks for a new name, the answer is no.
    std::string base = kBase;
    base += "Lâ3âMedellínâ1â0â-5â6â75ââ\r\n";
    Database db = FromText(base);
    StrictNotifier n;
    n.answers = {false};
    const MergeResult r = MergeDataFile(db, DataPath("ejemplo.age"), n, kComma);
    ASSERT_EQ(n.shown.size(), 1u);
    EXPECT_NE(n.shown[0].text.find("con el nombre \"Medellín\""), std::string::npos);
    EXPECT_EQ(db.Places.size(), 41u);
    // Ana Lucía was born and lives in Medellín; Julián lives there.
    EXPECT_EQ(r.personsWithoutPlace,
              (std::vector<std::string>{"Ana Lucía Restrepo Gaviria", "Julián Andrés Ospina Cárdenas"}));
    const TPersona &ana = *db.Persons[IndexOfName(db.Persons, "Ana Lucía")];
    EXPECT_EQ(ana.IdLugarNac, -1);
    EXPECT_EQ(ana.Residencia.IdLugarGeo, -1);
    EXPECT_EQ(db.PlaceCaption(ana.Trabajo.IdLugarGeo), "Bogotá, Colombia");
}

TEST(Merge, RefusesTheOpenFileItself) {
    Database db = FromText(kBase);
    db.Path = DataPath("ejemplo.age");
    StrictNotifier n;
    const MergeResult r = MergeDataFile(db, DataPath("ejemplo.age"), n, kComma);
    EXPECT_FALSE(r.merged);
    ASSERT_EQ(n.shown.size(), 1u);
    EXPECT_EQ(n.shown[0].text, kSameFileText);
    EXPECT_EQ(n.shown[0].kind, NoticeKind::Warning);
    EXPECT_EQ(db.Persons.size(), 1u);
}

TEST(Merge, ReferencesToRecordsTheOtherFileLacksBecomeNone) {
    dbtest::TempFolder dir;
    // Person 1 refers to place 9 and group 7, which the other file does not hold.
    WriteFileSafely(dir.File("otro.age"),
                    Utf8ToWindows1252("Pâ4âChileâ\r\nLâ5âAricaâ4â0â-4â-18,47â70,3ââ\r\n"
                                      "Iâ1âEvaâLunaâ9â0â0â0â-1â0âß5ßßßßßß0ßßâß2ßßßßßß0ßßâß7ßâßâ-â\r\n"));
    Database db = FromText(kBase);
    StrictNotifier n;
    const MergeResult r = MergeDataFile(db, dir.File("otro.age"), n, kComma);
    ASSERT_TRUE(r.merged);
    const TPersona &eva = *db.Persons[IndexOfName(db.Persons, "Eva")];
    EXPECT_EQ(eva.IdLugarNac, -1); // was 9: no such place there
    EXPECT_EQ(db.PlaceCaption(eva.Residencia.IdLugarGeo), "Arica, Chile");
    EXPECT_EQ(eva.Trabajo.IdLugarGeo, -1); // was 2: Tunja here, but not there
    ASSERT_EQ(eva.Grupos.size(), 1u);      // group 7 dropped
    EXPECT_EQ(NameOfId(db.PersonGroups, eva.Grupos[0].Id), " Archivo: otro.age");
    EXPECT_EQ(r.personsWithoutPlace, std::vector<std::string>{"Eva Luna"});
}
