// The "rtf" command of celestigrafo-cli: every page kind written as a document, the summary refused,
// and the documents opened by a real reader (LibreOffice) when it is installed.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "cli_runner.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

using cel::testing::CliRun;
using cel::testing::RunCli;
using cel::testing::Shell;
using cel::testing::Slurp;

std::size_t Count(const std::string &text, const std::string &what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

const std::string kBirth = "--date 1979-10-17 --time 12:30 --tz -5 --lon 76.5225W --lat 3.43722N "
                           "--event-date 2026-01-05 --event-time 09:15 --natal-name 'Ana {P\xC3\xA9rez}\\' "
                           "--place Cali --country Colombia";

class RtfCli : public ::testing::Test {
protected:
    void TearDown() override {
        if (std::getenv("CEL_KEEP_EXPORT_PDF") != nullptr)
            folder_.Keep();
    }
    cel::testsupport::TempFolder folder_{"rtf_cli_docs"};
    fs::path dir_ = folder_.Dir();
};

struct PageCase {
    std::string page;
    std::string extra;
    std::size_t minPictures;
};

const std::vector<PageCase> kPages{
    {"rueda", "", 1},
    {"rueda", "--inner 1 --outer 3", 1},
    {"tabla", "--percent", 26 + 24 + 24},
    {"listado", "--inner 3 --outer 1", 1},
    {"natal", "--ambos", 2},
    {"natal", "--house 10 --model asc", 1},
    {"progresiones", "", 12 + 24 * 9},
    {"speculum", "", 0},
    {"diagramas", "--graph pastel --preview-ppi 120", 1},
};

TEST_F(RtfCli, EveryPageKindWritesADocument) {
    for (std::size_t i = 0; i < kPages.size(); ++i) {
        const PageCase &c = kPages[i];
        const fs::path file = dir_ / (std::to_string(i) + "_" + c.page + ".rtf");
        const CliRun run =
            RunCli("rtf --page " + c.page + " " + c.extra + " --out '" + file.string() + "' " + kBirth);
        ASSERT_EQ(run.code, 0) << c.page << " " << c.extra << "\n" << run.err;
        EXPECT_EQ(run.out, file.string() + "\n");
        const std::string doc = Slurp(file);
        ASSERT_EQ(doc.rfind("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss\\fcharset0 "
                            "MS Sans Serif;}",
                            0),
                  0u)
            << c.page;
        EXPECT_EQ(doc.substr(doc.size() - 3), "\r\n}");
        EXPECT_GE(Count(doc, "{\\pict"), c.minPictures) << c.page << " " << c.extra;
        // The name's braces and backslash are escaped, its accent is Windows-1252.
        EXPECT_NE(doc.find("Natal: Ana \\{P\xE9rez\\}\\\\"), std::string::npos) << c.page;
        // The reports' first line has no blanks before its comma.
        EXPECT_EQ(doc.find("\\  , "), std::string::npos) << c.page;
    }
    const std::string wheel = Slurp(dir_ / "0_rueda.rtf");
    // The page room of the screen pictures (600 and 765 pixels at 96 per inch), drawn at 300 per inch
    // and carried as PNG.
    EXPECT_NE(wheel.find("\\picw1875\\pich1875\\picwgoal9000\\pichgoal9000\\pngblip"), std::string::npos);
    // Compressed: the 1875-pixel wheel takes well under the 10.5 MB of its raw bitmap.
    EXPECT_LT(wheel.size(), 2'000'000u);
    const std::string diagrams = Slurp(dir_ / "8_diagramas.rtf");
    EXPECT_NE(diagrams.find("\\picw2391\\pich2391\\picwgoal11477\\pichgoal11477\\pngblip"),
              std::string::npos);
    const std::string speculum = Slurp(dir_ / "7_speculum.rtf");
    EXPECT_EQ(Count(speculum, "{\\row}"), 40u);
}

TEST_F(RtfCli, SummaryIsRefusedWithItsMessageAndNoFile) {
    const fs::path file = dir_ / "resumen.rtf";
    const CliRun run = RunCli("rtf --page resumen --out '" + file.string() + "' " + kBirth);
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("La función \"Exportar resumen a un archivo RTF\" aún no se ha implementado."),
              std::string::npos)
        << run.err;
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(RtfCli, BadInputIsAUsageErrorAndAnUnwritableFileAFailure) {
    EXPECT_EQ(RunCli("rtf --page ruedas --out x.rtf " + kBirth).code, 2);
    EXPECT_EQ(RunCli("rtf --page rueda " + kBirth).code, 2); // no --out
    const CliRun run =
        RunCli("rtf --page rueda --out '" + (dir_ / "missing" / "x.rtf").string() + "' " + kBirth);
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("missing"), std::string::npos) << run.err;
}

TEST_F(RtfCli, JsonResultNamesTheFile) {
    const fs::path file = dir_ / "j.rtf";
    const CliRun run = RunCli("rtf --page speculum --format json --out '" + file.string() + "' " + kBirth);
    ASSERT_EQ(run.code, 0) << run.err;
    const nlohmann::json j = nlohmann::json::parse(run.out);
    EXPECT_EQ(j.at("file"), file.string());
    EXPECT_EQ(j.at("page"), "speculum");
}

TEST_F(RtfCli, PersonsOfTheDataFileNameTheHeading) {
    const std::string db = std::string(CEL_TEST_DATA_DIR) + "/../../data/ejemplo.age";
    const fs::path file = dir_ / "sinastria.rtf";
    const CliRun run = RunCli("rtf --page rueda --inner 1 --outer 3 --db '" + db +
                              "' --person 1 --event-person 2 --out '" + file.string() + "'");
    ASSERT_EQ(run.code, 0) << run.err;
    const std::string doc = Slurp(file);
    // In Windows-1252: "Ana Lucía Restrepo Gaviria", "Julián Andrés Ospina Cárdenas".
    EXPECT_NE(doc.find("\\f0\\fs20 Natal: Ana Luc\xED"
                       "a Restrepo Gaviria  \\par"),
              std::string::npos);
    EXPECT_NE(doc.find("\\f0\\fs20 Rueda Int: Natal Ecl\xEDptica\\par"), std::string::npos);
    EXPECT_NE(doc.find("\\f0\\fs20 Juli\xE1n Andr\xE9s Ospina C\xE1rdenas: "), std::string::npos);
    EXPECT_NE(doc.find("\\f0\\fs20 Rueda Ext: Tr\xE1n. Ecl\xEDptico\\par"), std::string::npos);
    EXPECT_EQ(Count(doc, "{\\pict"), 1u);
}

// A real reader: LibreOffice converts every page kind's document to PDF with all its pictures.
TEST_F(RtfCli, LibreOfficeOpensEveryPageKindWithItsPictures) {
    if (Shell("command -v libreoffice >/dev/null 2>&1 && command -v pdfimages >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "LibreOffice or pdfimages is not installed";
    const char *keep = std::getenv("CEL_KEEP_EXPORT_PDF");
    const fs::path out = keep != nullptr && *keep != '\0' ? fs::path(keep) : dir_ / "pdf";
    fs::create_directories(out / "profile");
    std::string files;
    std::vector<std::pair<std::string, std::size_t>> expected;
    for (std::size_t i = 0; i < kPages.size(); ++i) {
        const std::string stem = std::to_string(i) + "_" + kPages[i].page;
        const fs::path file = out / (stem + ".rtf");
        const CliRun run = RunCli("rtf --page " + kPages[i].page + " " + kPages[i].extra + " --out '" +
                                  file.string() + "' " + kBirth);
        ASSERT_EQ(run.code, 0) << run.err;
        expected.emplace_back(stem, Count(Slurp(file), "{\\pict"));
        files += " '" + file.string() + "'";
    }
    const std::string log = (out / "convert.log").string();
    ASSERT_EQ(Shell("libreoffice -env:UserInstallation=file://" + (out / "profile").string() +
                    " --headless --convert-to pdf --outdir '" + out.string() + "'" + files + " >'" + log +
                    "' 2>&1"),
              0)
        << Slurp(log);
    for (const auto &[stem, pictures] : expected) {
        const fs::path pdf = out / (stem + ".pdf");
        ASSERT_TRUE(fs::exists(pdf)) << stem << "\n" << Slurp(log);
        const fs::path listing = out / (stem + ".images");
        ASSERT_EQ(Shell("pdfimages -list '" + pdf.string() + "' >'" + listing.string() + "' 2>&1"), 0);
        std::istringstream lines(Slurp(listing));
        std::string line;
        std::size_t images = 0;
        for (int n = 0; std::getline(lines, line); ++n)
            if (n >= 2 && !line.empty())
                ++images;
        EXPECT_EQ(images, pictures) << stem;
    }
}

} // namespace
