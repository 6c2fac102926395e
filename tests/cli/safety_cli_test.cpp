// Values from data and settings files are checked as strictly as typed ones, through the command line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "cli_runner.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using cel::testing::CliRun;
using cel::testing::RunCli;
using cel::testing::Slurp;

const std::string kNatal = "--date 1979-10-17 --time 12:30 --tz -5 --lon 76.5225W --lat 3.43722N";

class SafetyCli : public ::testing::Test {
protected:
    std::string Write(const std::string &name, const std::string &bytes) const {
        return folder_.Write(name, bytes);
    }
    static bool Garbage(const std::string &text) {
        for (const char *bad : {"nan", "inf", "NAN", "INF", "-2147483648", "2147483647"})
            if (text.find(bad) != std::string::npos)
                return true;
        return false;
    }
    cel::testsupport::TempFolder folder_{"celsafe"};
    std::string dir_ = folder_.Path();
};

} // namespace

TEST_F(SafetyCli, NoChartFromARecordWithImpossibleValues) {
    // Place 3 at latitude 90, place 1 at 1E300; person 2 born at 1E15 days; person 1 sound.
    const std::string db = Write("datos.age", "L\xE2"
                                              "1\xE2Lejos\xE2"
                                              "1\xE2"
                                              "0\xE2-5\xE2"
                                              "1E300\xE2"
                                              "1E4000\xE2\xE2\r\n"
                                              "L\xE2"
                                              "3\xE2Polo\xE2"
                                              "1\xE2"
                                              "0\xE2"
                                              "0\xE2"
                                              "90\xE2"
                                              "0\xE2\xE2\r\n"
                                              "L\xE2"
                                              "4\xE2"
                                              "Cali\xE2"
                                              "1\xE2"
                                              "0\xE2-5\xE2"
                                              "3,4\xE2"
                                              "76,5\xE2\xE2\r\n"
                                              "I\xE2"
                                              "1\xE2"
                                              "Ana\xE2Ruiz\xE2"
                                              "4\xE2"
                                              "1\xE2"
                                              "1\xE2"
                                              "29145\xE2"
                                              "0\xE2"
                                              "0\xE2\xDF-1\xDF\xDF\xDF\xDF\xDF\xDF"
                                              "0\xDF\xDF\xE2\xDF-1\xDF\xDF\xDF\xDF\xDF\xDF"
                                              "0\xDF\xDF\xE2\xDF\xE2\xDF\xE2\xE2\r\n"
                                              "I\xE2"
                                              "2\xE2Luis\xE2Polo\xE2"
                                              "3\xE2"
                                              "1\xE2"
                                              "1\xE2"
                                              "29145\xE2"
                                              "0\xE2"
                                              "0\xE2\xDF-1\xDF\xDF\xDF\xDF\xDF\xDF"
                                              "0\xDF\xDF\xE2\xDF-1\xDF\xDF\xDF\xDF\xDF\xDF"
                                              "0\xDF\xDF\xE2\xDF\xE2\xDF\xE2\xE2\r\n"
                                              "I\xE2"
                                              "3\xE2"
                                              "Eva\xE2"
                                              "Fecha\xE2"
                                              "4\xE2"
                                              "1\xE2"
                                              "1\xE2"
                                              "1E15\xE2"
                                              "0\xE2"
                                              "0\xE2\xDF-1\xDF\xDF\xDF\xDF\xDF\xDF"
                                              "0\xDF\xDF\xE2\xDF-1\xDF\xDF\xDF\xDF\xDF\xDF"
                                              "0\xDF\xDF\xE2\xDF\xE2\xDF\xE2\xE2\r\n");
    const std::string before = Slurp(db);
    struct Case {
        const char *command;
        int code;
        const char *message;
    };
    const Case cases[] = {
        {"chart --db '%' --person 1", 0, ""},
        {"chart --db '%' --person 2", 1, "latitud 90"},
        {"chart --db '%' --person 3 --format json", 1, "fecha de nacimiento 1E15"},
        {"table --type speculum --db '%' --person 2", 1, "no chart is computed"},
        {"db info '%'", 0, "Lugar 1 \"Lejos\": latitud 1E300"},
    };
    for (const Case &c : cases) {
        std::string command = c.command;
        command.replace(command.find('%'), 1, db);
        SCOPED_TRACE(command);
        const CliRun run = RunCli(command);
        EXPECT_EQ(run.code, c.code) << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_FALSE(Garbage(run.out)) << run.out;
    }
    EXPECT_TRUE(Slurp(db) == before);
}

TEST_F(SafetyCli, SettingsOutOfRangeNeverReachTheOutput) {
    const std::string ini = Write("limites.ini", "[Rueda]\r\nFont=\r\nradCircleExt=0x7fffffff\r\n"
                                                 "[PtosPla]\r\n1=1e39\r\n[PtosCas]\r\n1=1E4000\r\n");
    for (const char *type : {"resumen1", "resumen2"}) {
        SCOPED_TRACE(type);
        const CliRun run =
            RunCli(std::string("table --type ") + type + " " + kNatal + " --ini '" + ini + "'");
        EXPECT_EQ(run.code, 0) << run.err;
        EXPECT_FALSE(Garbage(run.out)) << run.out;
        EXPECT_NE(run.err.find("PtosPla/1=1e39"), std::string::npos) << run.err;
    }
    // The empty font drew nothing but a crash in the recorded pictures.
    for (const char *file : {"rueda.svg", "rueda.pdf", "rueda.png"}) {
        SCOPED_TRACE(file);
        const CliRun run =
            RunCli("wheel " + kNatal + " --ini '" + ini + "' --out '" + dir_ + "/" + file + "'", "",
                   "env QT_QPA_PLATFORM=offscreen ");
        EXPECT_EQ(run.code, 0) << run.err;
        EXPECT_GT(fs::file_size(dir_ + "/" + file), 100u);
    }
}

TEST_F(SafetyCli, AFileThatIsNotASettingsFileIsRefused) {
    const std::string files[] = {
        Write("datos.age", "P\xE2"
                           "1\xE2"
                           "Colombia\xE2\r\n"),
        Write("programa.ini", std::string("\x7f"
                                          "ELF\x02\x01\x01\0\0\0",
                                          10)),
    };
    for (const std::string &file : files) {
        SCOPED_TRACE(file);
        const CliRun run = RunCli("aspects " + kNatal + " --ini '" + file + "'");
        EXPECT_EQ(run.code, 1);
        EXPECT_NE(run.err.find("no es un archivo de configuración"), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
}

TEST_F(SafetyCli, OptionMessagesAreClearAndExact) {
    const std::string out = " --out '" + dir_ + "/x.png'";
    struct Case {
        std::string arguments;
        int code;
        std::string message; // on standard error; empty for a run that succeeds
    };
    const Case cases[] = {
        {"wheel " + kNatal + " --size 1e3" + out, 0, ""}, // 1000 written as 1e3
        {"wheel " + kNatal + " --size 100.5" + out, 2,
         "--size: '100.5' is not a whole number: expected a whole number from 50 to 8000"},
        {"wheel " + kNatal + " --size 9e3" + out, 2,
         "--size: '9e3' is out of range: expected a whole number from 50 to 8000"},
        {"aspects " + kNatal + " --event-date 2020-01-01 --inner 1 --outer 3 --orb-mode ''", 2,
         "--orb-mode: an empty value: expected a whole number from 1 to 10"},
        {"table --type natal " + kNatal + " --by-house --house 13", 2,
         "--house: '13' is out of range: expected a whole number from 1 to 12"},
        {"table --type natal " + kNatal + " --by-house --house 0", 2, "from 1 to 12"},
        {"chart --date 1979-10-17 --lat +-5", 2, "--lat: '+-5' is not valid"},
        {"chart --date 1979-10-17 --lon +-5", 2, "--lon: '+-5' is not valid"},
        {"rtf --page rueda " + kNatal + " --inner '' --out '" + dir_ + "/x.rtf'", 2,
         "--inner: '' is not a chart item"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments);
        const CliRun run = RunCli(c.arguments, "", "env -u XDG_RUNTIME_DIR ");
        EXPECT_EQ(run.code, c.code) << run.err;
        if (c.message.empty())
            EXPECT_TRUE(run.err.empty()) << run.err; // no Qt noise either
        else
            EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

TEST_F(SafetyCli, PersonsAreFoundWhateverTheirNormalisationAndCase) {
    const std::string db = std::string(CEL_TEST_DATA_DIR) + "/ejemplo.age";
    const std::string names[] = {
        "Ana Lucía Restrepo Gaviria", // as stored (NFC)
        "Ana Luci\xCC\x81"
        "a Restrepo Gaviria",         // "í" as "i" and a combining accent (NFD)
        "ANA LUCÍA RESTREPO GAVIRIA", // accented capitals
        "  ana   lucía restrepo gaviria ",
    };
    for (const std::string &name : names) {
        SCOPED_TRACE(name);
        const CliRun run = RunCli("chart --db '" + db + "' --person '" + name + "' --format json");
        EXPECT_EQ(run.code, 0) << run.err;
    }
    // Two persons with one Id: the message says the file has duplicate Ids and how to choose.
    std::string text = Slurp(db);
    const std::size_t second = text.find("\r\nI\xE2"
                                         "2\xE2");
    ASSERT_NE(second, std::string::npos);
    text.replace(second, 6,
                 "\r\nI\xE2"
                 "1\xE2");
    const std::string twice = Write("dos.age", text);
    const CliRun run = RunCli("chart --db '" + twice + "' --person 1");
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("has duplicate Ids: 2 persons have the Id 1"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("choose the person by name"), std::string::npos) << run.err;
    EXPECT_EQ(RunCli("chart --db '" + twice + "' --person 'Ana Lucía Restrepo Gaviria'").code, 0);
}
