// The "db" commands of celestigrafo-cli, run as a user runs them.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cli_runner.h"
#include "database/shared_use_guard.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

using cel::testing::CliRun;
using cel::testing::Slurp;

// A folder with a copy of the sample data file, removed afterwards.
class DbCli : public ::testing::Test {
protected:
    void SetUp() override { folder_.Copy("ejemplo.age", "datos.age"); }

    static std::string Data(const std::string &name) { return cel::testsupport::DataPath(name); }
    std::string File(const std::string &name) const { return folder_.File(name); }

    // Runs the program with arguments (shell words) under a locale.
    CliRun Cli(const std::string &arguments, const std::string &lang = "es_CO.UTF-8") const {
        return cel::testing::RunCli(arguments, "", "env -u LC_ALL -u LC_NUMERIC LANG=" + lang + " ");
    }

    cel::testsupport::TempFolder folder_{"celcli"};
    std::string dir_ = folder_.Path();
};

} // namespace

TEST_F(DbCli, InfoCountsTheSample) {
    const CliRun run = Cli("db info '" + File("datos.age") + "' --format json");
    ASSERT_EQ(run.code, 0) << run.err;
    const auto j = nlohmann::json::parse(run.out);
    EXPECT_EQ(j["countries"], 12);
    EXPECT_EQ(j["places"], 40);
    EXPECT_EQ(j["person_groups"], 3);
    EXPECT_EQ(j["persons"], 12);
    EXPECT_EQ(j["events"], 29);
    EXPECT_EQ(j["lines"], 67);
    EXPECT_TRUE(j["failed_lines"].empty());
    EXPECT_EQ(j["next_id"]["countries"], 13);
    EXPECT_EQ(j["next_id"]["places"], 41);
    EXPECT_EQ(j["next_id"]["person_groups"], 4);
    EXPECT_EQ(j["next_id"]["persons"], 13);
    const CliRun text = Cli("db info '" + File("datos.age") + "'");
    EXPECT_NE(text.out.find("Personas:           12  (siguiente Id 13)"), std::string::npos) << text.out;
}

TEST_F(DbCli, InfoReportsFailedLines) {
    std::ofstream(File("roto.age"), std::ios::binary) << "P\xE2"
                                                         "1\xE2Uno\xE2\r\nP\xE2x\xE2\r\n\r\n";
    const CliRun run = Cli("db info '" + File("roto.age") + "' --format json");
    ASSERT_EQ(run.code, 0) << run.err;
    const auto j = nlohmann::json::parse(run.out);
    EXPECT_EQ(j["failed_lines"], nlohmann::json({2, 3}));
    EXPECT_NE(run.err.find("Error al leer un item el archivo"), std::string::npos);
}

TEST_F(DbCli, CopyWritesTheLocaleSeparator) {
    // A comma locale rewrites the sample byte for byte; a point locale writes points.
    ASSERT_EQ(Cli("db copy '" + File("datos.age") + "' '" + File("coma.age") + "'").code, 0);
    EXPECT_EQ(Slurp(File("coma.age")), Slurp(Data("ejemplo.age")));
    ASSERT_EQ(Cli("db copy '" + File("datos.age") + "' '" + File("punto.age") + "'", "en_US.UTF-8").code, 0);
    const std::string point = Slurp(File("punto.age"));
    EXPECT_NE(point.find("4.60971"), std::string::npos);
    EXPECT_EQ(point.find("4,60971"), std::string::npos);
    // The option overrides the locale.
    ASSERT_EQ(Cli("--decimal-separator , db copy '" + File("punto.age") + "' '" + File("otra.age") + "'",
                  "en_US.UTF-8")
                  .code,
              0);
    EXPECT_EQ(Slurp(File("otra.age")), Slurp(Data("ejemplo.age")));
}

TEST_F(DbCli, RefusesFilesOfOtherKinds) {
    const CliRun run = Cli("db info '" + Data("colombia.lug") + "'");
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("no es un archivo valido del programa Tarjaro"), std::string::npos) << run.err;
    const CliRun missing = Cli("db info '" + File("nada.age") + "'");
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("No such file or directory"), std::string::npos) << missing.err;
}

TEST_F(DbCli, ExportCsvLists) {
    const CliRun run =
        Cli("db export-csv '" + File("datos.age") + "' --list grupos --out '" + File("g.csv") + "'");
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Slurp(File("g.csv")), "No;Grupo\r\n1;Amigos\r\n2;Clientes\r\n3;Familia\r\n");
    ASSERT_EQ(Cli("db export-csv '" + File("datos.age") + "' --list personas --nacimiento --out '" +
                  File("p.csv") + "'")
                  .code,
              0);
    const std::string persons = Slurp(File("p.csv"));
    EXPECT_EQ(persons.substr(0, persons.find("\r\n")),
              "No;Nombre;Apellido;Sexo;Pa\xEDs Nac.;Lugar Nac.;Fecha;Hora;GMT;");
    EXPECT_NE(persons.find(
                  "\r\n1;Alex;Moreno Kowalski;o;Estados Unidos;Nueva York;sep-17-2003;04:24 pm;s\xED;\r\n"),
              std::string::npos);
    EXPECT_EQ(Cli("db export-csv '" + File("datos.age") + "' --list otra --out '" + File("x.csv") + "'").code,
              2);
}

TEST_F(DbCli, ImportPlacesAnswersNoAndListsThem) {
    // Cali is stored under another name at the same coordinates: the question is answered "no".
    std::string text = Slurp(File("datos.age"));
    const std::string from = "L\xE2"
                             "3\xE2"
                             "Cali\xE2";
    text.replace(text.find(from), from.size(),
                 "L\xE2"
                 "3\xE2"
                 "Santiago de Cali\xE2");
    std::ofstream(File("datos.age"), std::ios::binary) << text;
    const CliRun run = Cli("db import-lug '" + File("datos.age") + "' '" + Data("colombia.lug") +
                           "' --place 1 --place 2 --place 6 --format json");
    ASSERT_EQ(run.code, 0) << run.err;
    const auto j = nlohmann::json::parse(run.out);
    EXPECT_EQ(j["country_added"], false);
    ASSERT_EQ(j["places"].size(), 3u);
    EXPECT_EQ(j["places"][0]["outcome"], "already_there");
    EXPECT_EQ(j["places"][1]["name"], "Cali");
    EXPECT_EQ(j["places"][1]["outcome"], "same_data_as_stored");
    EXPECT_EQ(j["places"][1]["stored_name"], "Santiago de Cali");
    EXPECT_EQ(j["places"][2]["name"], "Cúcuta");
    EXPECT_EQ(j["places"][2]["outcome"], "added");
    EXPECT_EQ(j["added"], 1);
    const auto info = nlohmann::json::parse(Cli("db info '" + File("datos.age") + "' --format json").out);
    EXPECT_EQ(info["places"], 41);
    // A place Id the file does not hold.
    EXPECT_EQ(
        Cli("db import-lug '" + File("datos.age") + "' '" + Data("colombia.lug") + "' --place 999").code, 1);
}

TEST_F(DbCli, MergeAppendsAndListsWhatWasLeftOut) {
    ASSERT_EQ(Cli("db copy '" + File("datos.age") + "' '" + File("otro.age") + "'").code, 0);
    const CliRun run = Cli("db merge '" + File("datos.age") + "' '" + File("otro.age") + "' --format json");
    ASSERT_EQ(run.code, 0) << run.err;
    const auto j = nlohmann::json::parse(run.out);
    EXPECT_EQ(j["persons_added"], 12);
    EXPECT_EQ(j["group"], " Archivo: otro.age");
    EXPECT_TRUE(j["places_not_added"].empty());
    const auto info = nlohmann::json::parse(Cli("db info '" + File("datos.age") + "' --format json").out);
    EXPECT_EQ(info["persons"], 24);
    EXPECT_EQ(info["places"], 40);
    EXPECT_EQ(info["person_groups"], 4);
    EXPECT_EQ(info["next_id"]["persons"], 25);
    const CliRun same = Cli("db merge '" + File("datos.age") + "' '" + File("datos.age") + "'");
    EXPECT_EQ(same.code, 1);
    EXPECT_NE(same.err.find("No se pueden anexar datos del mismo archivo"), std::string::npos);
}

TEST_F(DbCli, AFileOpenInAnotherProgramIsNotChanged) {
    using namespace cel::database;
    const std::string path = fs::weakly_canonical(File("datos.age")).string();
    const std::string before = Slurp(path);
    {
        SharedUseGuard guard;
        const GuardOwner me = GuardOwner::Current(4242);
        ASSERT_TRUE(guard.Register(me, path));
        const CliRun run = Cli("db import-lug '" + File("datos.age") + "' '" + Data("chile.lug") + "'");
        guard.Release(me, path);
        EXPECT_EQ(run.code, 1);
        EXPECT_NE(run.err.find("esta siendo usado por otro(s) programa(s)"), std::string::npos) << run.err;
        EXPECT_EQ(Slurp(path), before);
    }
    // Released: the change goes through.
    EXPECT_EQ(Cli("db import-lug '" + File("datos.age") + "' '" + Data("chile.lug") + "'").code, 0);
    EXPECT_NE(Slurp(path), before);
}

TEST_F(DbCli, TwoMergesAtOnceNeverLoseAnUpdate) {
    ASSERT_EQ(Cli("db copy '" + File("datos.age") + "' '" + File("otro.age") + "'").code, 0);
    const std::string original = Slurp(File("datos.age"));
    const std::string merge = "env LANG=es_CO.UTF-8 '" + std::string(CEL_CLI_PATH) + "' db merge '" +
                              File("datos.age") + "' '" + File("otro.age") + "'";
    // Start gaps around the time one merge takes: the second one reads while the first one works.
    for (const char *gap : {"0", "0.01", "0.03", "0.06", "0.1"}) {
        SCOPED_TRACE(gap);
        std::ofstream(File("datos.age"), std::ios::binary) << original;
        const std::string script = "(" + merge + " >/dev/null 2>'" + File("a.err") + "'; echo \\$? >'" +
                                   File("a.code") + "') & sleep " + gap + "; " + merge + " >/dev/null 2>'" +
                                   File("b.err") + "'; echo \\$? >'" + File("b.code") + "'; wait";
        ASSERT_EQ(cel::testing::Shell("bash -c \"" + script + "\""), 0);
        int succeeded = 0;
        for (const char *who : {"a", "b"}) {
            const int code = std::stoi(Slurp(File(std::string(who) + ".code")));
            const std::string err = Slurp(File(std::string(who) + ".err"));
            if (code == 0) {
                ++succeeded;
            } else {
                EXPECT_EQ(code, 1);
                // Refused because the other one holds the file, or because it changed under it.
                EXPECT_TRUE(err.find("esta siendo usado por otro(s) programa(s)") != std::string::npos ||
                            err.find("cambió en el disco") != std::string::npos)
                    << err;
            }
        }
        EXPECT_GE(succeeded, 1);
        const auto info = nlohmann::json::parse(Cli("db info '" + File("datos.age") + "' --format json").out);
        EXPECT_EQ(info["persons"], 12 + 12 * succeeded);
        for (const auto &e : fs::directory_iterator(dir_))
            if (e.path().filename().string().find("conflicto") != std::string::npos)
                fs::remove(e.path());
    }
}

TEST_F(DbCli, UnreadableLinesStopARewriteUnlessToldToGoOn) {
    std::string text = Slurp(File("datos.age"));
    text += "I\xE2x\xE2Rota\xE2\r\n";
    std::ofstream(File("datos.age"), std::ios::binary) << text;
    const std::string import = "db import-lug '" + File("datos.age") + "' '" + Data("chile.lug") + "'";
    const CliRun refused = Cli(import);
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("--keep-going"), std::string::npos) << refused.err;
    EXPECT_EQ(Slurp(File("datos.age")), text);
    const CliRun saved = Cli(import + " --keep-going");
    ASSERT_EQ(saved.code, 0) << saved.err;
    std::string backup;
    for (const auto &e : fs::directory_iterator(dir_))
        if (e.path().filename().string().rfind("datos-copia-", 0) == 0)
            backup = e.path().string();
    ASSERT_FALSE(backup.empty());
    EXPECT_EQ(Slurp(backup), text);
    EXPECT_NE(saved.err.find(backup), std::string::npos) << saved.err;
}

TEST_F(DbCli, ReadOnlyFilesAndFullIdRangesAreRefusedUnchanged) {
    struct Case {
        const char *what;
        std::string prefix; // prepended to the sample's lines
        mode_t mode;
        std::string message;
    };
    const Case cases[] = {
        {"read-only file", "", 0444, std::strerror(EACCES)},
        {"largest place Id",
         "L\xE2"
         "2147483647\xE2Pueblo\xE2"
         "1\xE2"
         "0\xE2-5\xE2"
         "1\xE2"
         "1\xE2\xE2\r\n",
         0644, "2147483647"},
    };
    const std::string sample = Slurp(File("datos.age"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(File("datos.age"));
        std::ofstream(File("datos.age"), std::ios::binary) << c.prefix << sample;
        chmod(File("datos.age").c_str(), c.mode);
        const std::string before = Slurp(File("datos.age"));
        const CliRun run = Cli("db import-lug '" + File("datos.age") + "' '" + Data("chile.lug") + "'");
        EXPECT_EQ(run.code, 1);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_TRUE(Slurp(File("datos.age")) == before);
    }
}

// Persons out to an AAF file and into an empty data file: the same persons; unreadable records are
// listed and make the exit code say the import was partial; the file another program holds is refused.
TEST_F(DbCli, AafExportAndImport) {
    using namespace cel::database;
    const CliRun out = Cli("db export-aaf '" + File("datos.age") + "' --out '" + File("personas.aaf") + "'");
    ASSERT_EQ(out.code, 0) << out.err;
    EXPECT_NE(out.out.find("Personas exportadas: 12"), std::string::npos) << out.out;
    const std::string aaf = Slurp(File("personas.aaf"));
    EXPECT_NE(aaf.find("#A93:Restrepo Gaviria,Ana Lucía,f,"), std::string::npos) << aaf;

    const CliRun in =
        Cli("db import-aaf '" + File("personas.aaf") + "' --into '" + File("nuevo.age") + "' --format json");
    ASSERT_EQ(in.code, 0) << in.err;
    EXPECT_NE(in.out.find("\"added\": 12"), std::string::npos) << in.out;
    const CliRun again =
        Cli("db import-aaf '" + File("personas.aaf") + "' --into '" + File("nuevo.age") + "'");
    EXPECT_EQ(again.code, 0) << again.err;
    EXPECT_NE(again.out.find("Personas añadidas: 0, reemplazadas: 0, omitidas: 12"), std::string::npos)
        << again.out;

    std::ofstream(File("roto.aaf"), std::ios::binary)
        << "#A93:Bien,Uno,m,1.1.1980,10:00,Berlín,D\r\n#B93:*,52n31,13e24,1he,0\r\n"
        << "#A93:Roto,Dos,m,40.1.1980,10:00,Berlín,D\r\n#B93:*,52n31,13e24,1he,0\r\n";
    const CliRun partial = Cli("db import-aaf '" + File("roto.aaf") + "' --into '" + File("nuevo.age") + "'");
    EXPECT_EQ(partial.code, 3);
    EXPECT_NE(partial.err.find("línea 3: fecha imposible"), std::string::npos) << partial.err;
    EXPECT_NE(partial.out.find("Personas añadidas: 1"), std::string::npos) << partial.out;

    const std::string path = fs::weakly_canonical(File("nuevo.age")).string();
    const std::string before = Slurp(path);
    SharedUseGuard guard;
    const GuardOwner other = GuardOwner::Current(4242);
    ASSERT_TRUE(guard.Register(other, path));
    const CliRun held = Cli("db import-aaf '" + File("roto.aaf") + "' --into '" + File("nuevo.age") +
                            "' --replace --keep-going");
    guard.Release(other, path);
    EXPECT_EQ(held.code, 1);
    EXPECT_NE(held.err.find("esta siendo usado por otro(s) programa(s)"), std::string::npos) << held.err;
    EXPECT_EQ(Slurp(path), before);
}

// A copy that would miss unreadable lines is refused unless told to go on, and names the lines.
TEST_F(DbCli, CopyWithUnreadableLinesNeedsKeepGoing) {
    std::ofstream(File("roto.age"), std::ios::binary) << "P\xE2"
                                                         "1\xE2Uno\xE2\r\nP\xE2x\xE2\r\n";
    const CliRun refused = Cli("db copy '" + File("roto.age") + "' '" + File("copia.age") + "'");
    EXPECT_NE(refused.code, 0);
    EXPECT_NE(refused.err.find("línea 2"), std::string::npos) << refused.err;
    EXPECT_FALSE(fs::exists(File("copia.age")));
    const CliRun kept = Cli("db copy --keep-going '" + File("roto.age") + "' '" + File("copia.age") + "'");
    EXPECT_EQ(kept.code, 0) << kept.err;
    EXPECT_TRUE(fs::exists(File("copia.age")));
}

// A name that is a pipe or a device is refused at once with a clear message, never read without end.
TEST_F(DbCli, PipesAndDevicesAreNoDataFiles) {
    ASSERT_EQ(::mkfifo(File("tubo.age").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", File("cero.age"));
    for (const char *name : {"tubo.age", "cero.age"}) {
        const CliRun run = Cli("db info '" + File(name) + "'");
        EXPECT_EQ(run.code, 1) << name;
        EXPECT_NE(run.err.find("no es un archivo común"), std::string::npos) << name << ": " << run.err;
    }
    const CliRun import = Cli("db import-lug '" + File("datos.age") + "' '" + File("tubo.age") + "'");
    EXPECT_NE(import.code, 0);
}

// Impossible places are refused as typed values would be, each with its reason; the possible ones
// are added, and the exit code says that the import was partial.
TEST_F(DbCli, ImportLugRefusesImpossiblePlaces) {
    std::ofstream(File("raros.lug"), std::ios::binary) << "P!1!Rarolandia!\r\n"
                                                          "L!1!Polo!1!0!-5!90!10!!\r\n"
                                                          "L!2!Lejos!1!0!-5!1E300!10!!\r\n"
                                                          "L!3!Fuera!1!0!-5!10!1E4000!!\r\n"
                                                          "L!4!Zona!1!0!1E10!10!10!!\r\n"
                                                          "L!5!Bien!1!0!-5!4,5!-74,1!!\r\n";
    const CliRun run = Cli("db import-lug '" + File("datos.age") + "' '" + File("raros.lug") + "'");
    EXPECT_EQ(run.code, 3) << run.err;
    for (const char *expected : {"Polo: rechazado, valores imposibles: latitud 90", "Lejos: rechazado",
                                 "Fuera: rechazado, valores imposibles: longitud", "Zona: rechazado",
                                 "Bien: añadido", "Lugares añadidos: 1 de 5"})
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n" << run.out;
    EXPECT_NE(run.err.find("4 lugar(es) con valores imposibles no se importaron"), std::string::npos)
        << run.err;
    const auto info = nlohmann::json::parse(Cli("db info '" + File("datos.age") + "' --format json").out);
    EXPECT_EQ(info["places"], 41);
    EXPECT_EQ(info["countries"], 13);

    // Only impossible places: nothing changes, not even the country.
    fs::copy_file(Data("ejemplo.age"), File("solo.age"));
    const CliRun none = Cli("db import-lug '" + File("solo.age") + "' '" + File("raros.lug") +
                            "' --place 1 --place 4 --format json");
    EXPECT_EQ(none.code, 3) << none.err;
    const auto j = nlohmann::json::parse(none.out);
    EXPECT_EQ(j["added"], 0);
    EXPECT_EQ(j["refused"], 2);
    EXPECT_EQ(j["country_added"], false);
    EXPECT_EQ(j["places"][1]["outcome"], "refused_impossible_values");
    EXPECT_NE(j["places"][1]["problems"][0].get<std::string>().find("zona horaria"), std::string::npos);
    const auto unchanged = nlohmann::json::parse(Cli("db info '" + File("solo.age") + "' --format json").out);
    EXPECT_EQ(unchanged["places"], 40);
    EXPECT_EQ(unchanged["countries"], 12);
}

// A save through one name of a hard-linked data file keeps the names in its folder one file; a name
// in another folder would keep the old content, so the command line (which never asks) refuses.
TEST_F(DbCli, ImportLugKeepsHardLinks) {
    fs::create_hard_link(File("datos.age"), File("enlace.age"));
    const CliRun run = Cli("db import-lug '" + File("datos.age") + "' '" + Data("chile.lug") + "'");
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Slurp(File("enlace.age")), Slurp(File("datos.age")));
    EXPECT_NE(Slurp(File("enlace.age")), Slurp(Data("ejemplo.age")));
    struct stat a {
    }, b{};
    ASSERT_EQ(stat(File("datos.age").c_str(), &a), 0);
    ASSERT_EQ(stat(File("enlace.age").c_str(), &b), 0);
    EXPECT_EQ(a.st_ino, b.st_ino);

    fs::create_directory(File("otra"));
    fs::create_hard_link(File("datos.age"), File("otra/lejos.age"));
    const std::string before = Slurp(File("datos.age"));
    const CliRun refused = Cli("db import-lug '" + File("enlace.age") + "' '" + Data("colombia.lug") + "'");
    EXPECT_NE(refused.code, 0);
    EXPECT_NE(refused.err.find("enlace duro"), std::string::npos) << refused.err;
    for (const char *name : {"datos.age", "enlace.age", "otra/lejos.age"})
        EXPECT_EQ(Slurp(File(name)), before) << name;
}

// Place, AAF and merged data files that are pipes or devices are refused at once with their reason.
TEST_F(DbCli, PipesAndDevicesAreNoPlaceAafOrMergedFiles) {
    ASSERT_EQ(::mkfifo(File("tubo.lug").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(File("tubo.aaf").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", File("cero.age"));
    const std::string data = "'" + File("datos.age") + "'";
    for (const std::string &command : {"db import-lug " + data + " '" + File("tubo.lug") + "'",
                                       "db import-aaf '" + File("tubo.aaf") + "' --into " + data,
                                       "db merge " + data + " '" + File("cero.age") + "'"}) {
        SCOPED_TRACE(command);
        const CliRun run = Cli(command);
        EXPECT_NE(run.code, 0);
        EXPECT_NE(run.err.find("no es un archivo común"), std::string::npos) << run.err;
    }
    EXPECT_EQ(Slurp(File("datos.age")), Slurp(Data("ejemplo.age")));
}
