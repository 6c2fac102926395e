// The manager's whole-file operations over a data-file store: the CSV and AAF exports of the listed
// records, the AAF import, appending another data file, and the new, copied and backup files, with
// the refusals that keep the records and the current file as they were.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/scripted_notifier.h"
#include "common/windows1252.h"
#include "database/data_file.h"
#include "session/manager_files.h"
#include "support/temp_folder.h"

namespace cel::session {
namespace {

using database::Kind;
using testsupport::Slurp;
using testsupport::TempFolder;

const CivilDateTime kToday{2026, 6, 15};

// The sample data file copied into a fresh folder and opened through a store.
struct SampleStore {
    TempFolder folder{"manager-files"};
    database::Database db;
    ScriptedNotifier notices;
    DataStore store{db, notices};
    std::string path = folder.Copy("ejemplo.age");

    SampleStore() {
        notices.onUnexpected = [](const std::string &text) {
            ADD_FAILURE() << "unexpected question: " << text;
        };
        EXPECT_TRUE(store.Open(path));
    }
    // The listed records of a kind, with no filter.
    ManagerList Listed(Kind kind) {
        ManagerList list(db);
        list.SetKind(kind, kToday);
        list.Rebuild(kToday);
        return list;
    }
    database::Database Reread(const std::string &file) const {
        database::Database read;
        ScriptedNotifier quiet;
        database::LoadDataFile(file, read, quiet, TextFormat{});
        return read;
    }
};

TEST(ManagerFiles, CsvOfEachKindHoldsItsListedRows) {
    SampleStore s;
    struct Case {
        Kind kind;
        bool written;
    };
    for (const Case c :
         {Case{Kind::Country, true}, Case{Kind::Place, true}, Case{Kind::PersonGroup, true},
          Case{Kind::Person, true}, Case{Kind::BusinessGroup, false}, Case{Kind::Business, false}}) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        ManagerList list = s.Listed(c.kind);
        const std::string csv = s.folder.File("lista" + std::to_string(static_cast<int>(c.kind)) + ".csv");
        EXPECT_EQ(ManagerFiles::HasCsvExport(c.kind), c.written);
        EXPECT_EQ(ManagerFiles(s.store).ExportCsv(list, csv, {}), c.written);
        EXPECT_EQ(std::filesystem::exists(csv), c.written);
        if (!c.written)
            continue;
        const std::string text = Slurp(csv);
        ASSERT_FALSE(list.Rows().empty());
        for (const database::TData *r : list.Rows()) // written in Windows-1252
            EXPECT_NE(text.find(Utf8ToWindows1252(r->Nombre)), std::string::npos) << r->Nombre;
        EXPECT_TRUE(s.notices.Contains(database::FileNameOf(csv)));
    }
}

// Only the listed persons go out: a name filter leaves the others out of both exports.
TEST(ManagerFiles, ExportsOnlyTheListedPersons) {
    SampleStore s;
    ManagerList list = s.Listed(Kind::Person);
    ASSERT_GE(list.Rows().size(), 2u);
    const std::string kept = list.Rows()[0]->Nombre;
    list.Filters().name = kept;
    list.Rebuild(kToday);
    ASSERT_FALSE(list.Rows().empty());
    // A person the filter leaves out, whose name no listed person's texts hold.
    std::string left;
    for (const auto &p : s.db.Persons) {
        bool inside = false;
        for (const database::TData *r : list.Rows()) {
            const auto &shown = static_cast<const database::TPersona &>(*r);
            inside = inside || (shown.Nombre + " " + shown.Apellidos + " " + shown.Residencia.Email + " " +
                                shown.Trabajo.Email)
                                       .find(p->Nombre) != std::string::npos;
        }
        if (!inside) {
            left = p->Nombre;
            break;
        }
    }
    ASSERT_FALSE(left.empty());
    for (const char *name : {"personas.csv", "correo.csv"}) {
        const std::string csv = s.folder.File(name);
        ManagerFiles files(s.store);
        ASSERT_TRUE(name[0] == 'p' ? files.ExportCsv(list, csv, {true, true, true, true, true})
                                   : files.ExportMailList(list, csv));
        const std::string text = Slurp(csv);
        EXPECT_NE(text.find(Utf8ToWindows1252(kept)), std::string::npos) << name;
        EXPECT_EQ(text.find(Utf8ToWindows1252(left)), std::string::npos) << name;
    }
}

TEST(ManagerFiles, CsvIntoAFolderThatCannotBeWrittenSaysWhyAndKeepsTheRecords) {
    SampleStore s;
    ManagerList list = s.Listed(Kind::Country);
    const std::string before = Slurp(s.path);
    const std::size_t countries = s.db.Countries.size();
    EXPECT_FALSE(ManagerFiles(s.store).ExportCsv(list, s.folder.File("no/existe/lista.csv"), {}));
    ASSERT_EQ(s.notices.shown.size(), 1u);
    EXPECT_EQ(s.notices.shown[0].kind, NoticeKind::Error);
    EXPECT_NE(s.notices.LastText().find("lista.csv"), std::string::npos) << s.notices.LastText();
    EXPECT_EQ(s.db.Countries.size(), countries);
    EXPECT_EQ(Slurp(s.path), before);
}

// The AAF export writes the ticked persons, else every listed one; another kind listed: every person.
TEST(ManagerFiles, AafExportTakesTheTickedElseTheListedPersons) {
    SampleStore s;
    ManagerList persons = s.Listed(Kind::Person);
    const std::size_t all = s.db.Persons.size();
    ASSERT_GE(all, 3u);
    EXPECT_EQ(ManagerFiles(s.store).AafPersons(persons).size(), all);
    persons.Rows()[0]->Marca = 1;
    persons.Rows()[2]->Marca = 1;
    const auto ticked = ManagerFiles(s.store).AafPersons(persons);
    ASSERT_EQ(ticked.size(), 2u);
    EXPECT_EQ(ticked[1], persons.Rows()[2]);
    EXPECT_EQ(ManagerFiles(s.store).AafPersons(s.Listed(Kind::Country)).size(), all);
    EXPECT_TRUE(s.notices.shown.empty());

    persons.Filters().name = "Nadie se llama así";
    persons.Rebuild(kToday);
    EXPECT_TRUE(ManagerFiles(s.store).AafPersons(persons).empty());
    EXPECT_EQ(s.notices.LastText(), "No hay personas para exportar.");
}

// Out to AAF and into an empty data file: the persons arrive, saved, and the report counts them;
// cancelling the question or an unreadable file changes nothing.
TEST(ManagerFiles, AafRoundTripIntoAnotherFile) {
    SampleStore s;
    ManagerList list = s.Listed(Kind::Person);
    const auto persons = ManagerFiles(s.store).AafPersons(list);
    const std::string aaf = s.folder.File("todos.aaf");
    s.notices.choices = {Answer::Yes}; // UTF-8
    ASSERT_TRUE(ManagerFiles(s.store).ExportAaf(persons, aaf));
    EXPECT_NE(s.notices.LastText().find("Se exportaron " + std::to_string(persons.size()) + " personas"),
              std::string::npos);

    const std::string target = s.folder.File("nuevo.age");
    ASSERT_TRUE(ManagerFiles(s.store).CreateEmpty(target));
    database::Database db;
    ScriptedNotifier notices;
    DataStore other(db, notices);
    ASSERT_TRUE(other.Open(target));
    const std::string empty = Slurp(target);

    int changes = 0;
    const auto changed = [&] {
        ++changes;
        EXPECT_FALSE(notices.Contains("Importación de")) << "the window refreshes before the report";
    };
    notices.choices = {Answer::Cancel};
    EXPECT_FALSE(ManagerFiles(other, changed).ImportAaf(aaf));
    EXPECT_FALSE(ManagerFiles(other, changed).ImportAaf(s.folder.File("falta.aaf")));
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(notices.shown.back().kind, NoticeKind::Error);
    EXPECT_TRUE(db.Persons.empty());
    EXPECT_EQ(Slurp(target), empty);

    notices.choices = {Answer::No};
    ASSERT_TRUE(ManagerFiles(other, changed).ImportAaf(aaf));
    EXPECT_EQ(changes, 1);
    EXPECT_NE(notices.LastText().find("Personas añadidas: " + std::to_string(persons.size())),
              std::string::npos)
        << notices.LastText();
    EXPECT_EQ(s.Reread(target).Persons.size(), persons.size());
}

// A data file that cannot be written refuses the import: the error is said and the records shown are
// what the file holds, not an import that is in no file.
TEST(ManagerFiles, AafImportThatCannotBeSavedIsNotKept) {
    SampleStore s;
    const std::string aaf = s.folder.File("todos.aaf");
    s.notices.choices = {Answer::Yes};
    ASSERT_TRUE(
        ManagerFiles(s.store).ExportAaf(ManagerFiles(s.store).AafPersons(s.Listed(Kind::Person)), aaf));

    database::Database db;
    ScriptedNotifier notices;
    DataStore nowhere(db, notices);
    ASSERT_TRUE(nowhere.Open(s.folder.Write("no-es-carpeta", "x") + "/datos.age")); // no file yet: empty
    int changes = 0;
    notices.choices = {Answer::No};
    EXPECT_TRUE(ManagerFiles(nowhere, [&] { ++changes; }).ImportAaf(aaf));
    EXPECT_EQ(changes, 1);
    ASSERT_FALSE(notices.shown.empty());
    EXPECT_EQ(notices.shown.back().kind, NoticeKind::Error);
    EXPECT_FALSE(notices.Contains("Personas añadidas"));
    EXPECT_TRUE(db.Persons.empty());
}

// Appending the sample to a copy of itself adds its persons again under a group of their own.
TEST(ManagerFiles, AppendsAnotherDataFileAndSavesIt) {
    SampleStore s;
    const std::size_t persons = s.db.Persons.size();
    const std::string other = s.folder.Copy("ejemplo.age", "otro.age");
    s.notices.answers.assign(200, false); // places that differ in their data stay as they are
    int changes = 0;
    const auto changed = [&] {
        ++changes;
        EXPECT_FALSE(s.notices.Contains("Datos anexados")) << "the window refreshes before the report";
    };
    ASSERT_TRUE(ManagerFiles(s.store, changed).Append(other));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(s.db.Persons.size(), 2 * persons);
    EXPECT_NE(s.notices.LastText().find("Personas agregadas: " + std::to_string(persons)), std::string::npos)
        << s.notices.LastText();
    EXPECT_EQ(s.Reread(s.path).Persons.size(), 2 * persons);

    EXPECT_FALSE(ManagerFiles(s.store, changed).Append(s.folder.File("falta.age")));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(s.db.Persons.size(), 2 * persons);
}

// A copy becomes the current file; a backup leaves the current file current.
TEST(ManagerFiles, CopyMovesToTheCopyAndBackupStaysOnTheFile) {
    SampleStore s;
    const std::string backup = s.folder.File("respaldo.age");
    ASSERT_TRUE(ManagerFiles(s.store).BackUpTo(backup));
    EXPECT_EQ(s.db.Path, s.path);
    EXPECT_EQ(s.Reread(backup).Persons.size(), s.db.Persons.size());
    const std::string copy = s.folder.File("copia.age");
    ASSERT_TRUE(ManagerFiles(s.store).CopyTo(copy));
    EXPECT_EQ(s.db.Path, copy);
    EXPECT_EQ(s.Reread(copy).Persons.size(), s.db.Persons.size());
}

// A place no one can write (a file standing where the folder should be): the new file and the copy
// are refused with their reason, and the current file stays current with its records.
TEST(ManagerFiles, NoNewFileOrCopyWhereNothingCanBeWritten) {
    SampleStore s;
    const std::string blocked = s.folder.Write("no-es-carpeta", "x") + "/nuevo.age";
    const std::size_t persons = s.db.Persons.size();
    const std::string before = Slurp(s.path);
    for (int copy = 0; copy < 2; ++copy) {
        SCOPED_TRACE(copy ? "copy" : "new");
        s.notices.Clear();
        EXPECT_FALSE(copy ? ManagerFiles(s.store).CopyTo(blocked)
                          : ManagerFiles(s.store).CreateEmpty(blocked));
        ASSERT_EQ(s.notices.shown.size(), 1u);
        EXPECT_EQ(s.notices.shown[0].kind, NoticeKind::Error);
        EXPECT_NE(s.notices.LastText().find("nuevo.age"), std::string::npos) << s.notices.LastText();
        EXPECT_EQ(s.db.Path, s.path);
        EXPECT_EQ(s.db.Persons.size(), persons);
        EXPECT_EQ(Slurp(s.path), before);
    }
}

TEST(ManagerFiles, BackupNamesCarryTheDateMonthFirst) {
    struct Case {
        CivilDateTime today;
        const char *name;
    };
    for (const Case c : {Case{{2026, 3, 7}, "/datos/Backup_03-7-2026_ejemplo.age"},
                         Case{{2026, 11, 28}, "/datos/Backup_11-28-2026_ejemplo.age"},
                         Case{{987, 1, 1}, "/datos/Backup_01-1-0987_ejemplo.age"}})
        EXPECT_EQ(BackupFileName("/datos", "/otra/carpeta/ejemplo.age", c.today), c.name);
}

} // namespace
} // namespace cel::session
