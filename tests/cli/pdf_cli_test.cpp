// The "pdf" command of celestigrafo-cli: every page kind printed to PDF, read back with poppler's
// pdftotext, pdfinfo and pdfimages.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
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

const std::string kBirth = "--date 1979-10-17 --time 12:30 --tz -5 --lon 76.5225W --lat 3.43722N "
                           "--event-date 2026-01-05 --event-time 09:15 --natal-name 'Ana Pérez' "
                           "--place Cali --country Colombia";

std::size_t Count(const std::string &text, const std::string &what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

class PdfCli : public ::testing::Test {
protected:
    void SetUp() override {
        if (Shell("command -v pdftotext >/dev/null && command -v pdfimages >/dev/null") != 0)
            GTEST_SKIP() << "poppler-utils is not installed";
    }
    // The output of a poppler tool on the file.
    std::string Tool(const std::string &command, const fs::path &file) {
        const fs::path text = dir_ / "tool.txt";
        // pdftotext writes to standard output when its output file is "-".
        const std::string out = command.rfind("pdftotext", 0) == 0 ? " -" : "";
        EXPECT_EQ(
            Shell(command + " '" + file.string() + "'" + out + " > '" + text.string() + "' 2>/dev/null"), 0)
            << command;
        return Slurp(text);
    }
    cel::testsupport::TempFolder folder_{"pdf_cli"};
    fs::path dir_ = folder_.Dir();
};

struct PageCase {
    std::string page;
    std::string extra;
    std::vector<std::string> texts; // the title and the information lines that must show
    std::string pageSize;           // pdfinfo's size of the first page
};

const std::vector<PageCase> kCases{
    {"rueda", "", {"Natal Eclíptica", "Cali, Colombia", "76° 31' 21\" W"}, "612 x 792"},
    {"rueda",
     "--landscape --inner 1 --outer 3",
     {"Rueda Int: Natal Eclíptica", "Rueda Ext: Trán. Eclíptico"},
     "792 x 612"},
    {"tabla", "--percent", {"Tabla de aspectos Natal Eclíptica", "miércoles, oct-17-1979"}, "612 x 792"},
    {"listado",
     "--inner 3 --outer 1",
     {"Lista aspectos: Item Izq.Natal Eclíptica - Item Der.Trán. Eclíptico"},
     "612 x 792"},
    {"natal",
     "--house 10 --model asc",
     {"Lista aspectos natales. Casa: 10. Según modelo ascensional"},
     "612 x 792"},
    {"progresiones", "--landscape", {"Lista Progresiones", "Edad: ", "ARMC. Nat: "}, "792 x 612"},
    {"speculum", "", {"Speculum", "Evento", "Fecha GMT"}, "612 x 792"},
    {"resumen", "--summary-item 3", {"Resumen Trán. Eclíptico"}, "612 x 792"},
    {"diagramas", "--graph pastel", {"Diagramas", "Natal Ascensional"}, "612 x 792"},
};

TEST_F(PdfCli, EveryPageKindPrintsItsTitleLinesAndFooter) {
    for (std::size_t i = 0; i < kCases.size(); ++i) {
        const PageCase &c = kCases[i];
        SCOPED_TRACE(c.page + " " + c.extra);
        const fs::path file = dir_ / (std::to_string(i) + "_" + c.page + ".pdf");
        const CliRun run =
            RunCli("pdf --page " + c.page + " " + c.extra + " --out '" + file.string() + "' " + kBirth);
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(run.out, file.string() + "\n");
        const std::string text = Tool("pdftotext -layout", file);
        if (c.page == "rueda") {
            // The wheel page's data box says who, when and where, once and in one form.
            EXPECT_EQ(Count(text, "Ana Pérez"), 1u) << text;
            EXPECT_EQ(Count(text, "oct 17 1979, 12:30:00 pm"), 1u) << text;
            EXPECT_EQ(Count(text, "Cali"), 1u) << text;
            EXPECT_EQ(text.find("miércoles"), std::string::npos) << text;
        } else {
            EXPECT_NE(text.find("Natal: Ana Pérez"), std::string::npos) << text.substr(0, 400);
        }
        EXPECT_NE(text.find("Celestigrafo"), std::string::npos);
        EXPECT_NE(text.find("Versión 0.02.00"), std::string::npos);
        for (const std::string &expected : c.texts)
            EXPECT_NE(text.find(expected), std::string::npos) << expected;
        EXPECT_NE(Tool("pdfinfo", file).find("Page size:       " + c.pageSize), std::string::npos);
    }
}

// The wheel and the aspect codes are drawn as vectors: no picture in the PDF at all, and the text of
// the wheel's degrees is real text.
TEST_F(PdfCli, WheelAndListAreVectorDrawings) {
    for (const std::string page : {"rueda", "listado", "diagramas"}) {
        const fs::path file = dir_ / (page + ".pdf");
        ASSERT_EQ(RunCli("pdf --page " + page + " --out '" + file.string() + "' " + kBirth).code, 0);
        const std::string images = Tool("pdfimages -list", file);
        // Only the two heading lines of the listing: no image rows.
        EXPECT_EQ(images.find("image"), std::string::npos) << page << "\n" << images;
    }
    EXPECT_NE(Tool("pdftotext", dir_ / "rueda.pdf").find("°"), std::string::npos);
}

TEST_F(PdfCli, LongListingFlowsOverPagesEachWithTheHeaderLines) {
    const fs::path file = dir_ / "listado.pdf";
    const CliRun run = RunCli("pdf --page listado --inner 3 --outer 1 --format json --out '" + file.string() +
                              "' " + kBirth);
    ASSERT_EQ(run.code, 0) << run.err;
    const int pages = nlohmann::json::parse(run.out).at("pages").get<int>();
    ASSERT_GE(pages, 2);
    for (int p = 1; p <= pages; ++p) {
        const std::string text =
            Tool("pdftotext -layout -f " + std::to_string(p) + " -l " + std::to_string(p), file);
        EXPECT_NE(text.find("Natal: Ana Pérez"), std::string::npos) << "page " << p;
        EXPECT_NE(text.find("Lista aspectos: Item Izq."), std::string::npos) << "page " << p;
    }
}

TEST_F(PdfCli, BadInputIsAUsageErrorAndAnUnwritableFileAFailure) {
    EXPECT_EQ(RunCli("pdf --page ruedas --out x.pdf " + kBirth).code, 2);
    EXPECT_EQ(RunCli("pdf --page rueda " + kBirth).code, 2);             // no --out
    EXPECT_EQ(RunCli("pdf --page rueda --out x.rtf " + kBirth).code, 2); // not a PDF name
    const CliRun run =
        RunCli("pdf --page rueda --out '" + (dir_ / "missing" / "x.pdf").string() + "' " + kBirth);
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("x.pdf"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(dir_ / "missing"));
}

// The printed wheel draws the aspects the wheel command draws with the same choices (families, minimum
// strength), and the exported aspect table keeps only the chosen families.
TEST_F(PdfCli, PrintedPagesDrawTheAspectChoiceOfTheWheel) {
    const std::string chart = "--date 1979-10-17 --time 12:30 --tz -5 --lon 76.5225W --lat 3.43722N";
    const auto lines = [&](const std::string &command, const std::string &choice, const std::string &out) {
        const CliRun run =
            RunCli(command + " " + choice + " --format json --out '" + (dir_ / out).string() + "' " + chart);
        EXPECT_EQ(run.code, 0) << command << " " << choice << "\n" << run.err;
        return run.code == 0 ? nlohmann::json::parse(run.out).at("aspect_lines").get<int>() : -1;
    };
    std::vector<int> printed;
    for (const std::string choice : {"", "--families pp,pc,cp,cc", "--families pp --min-strength 60"}) {
        SCOPED_TRACE(choice);
        const int wheel = lines("wheel", choice, "w.png");
        EXPECT_EQ(lines("pdf --page rueda", choice, "w.pdf"), wheel);
        printed.push_back(wheel);
    }
    EXPECT_GT(printed[1], printed[0]); // all four families draw the cusp aspects too
    EXPECT_LT(printed[2], printed[0]); // the weak aspects are left out
    const auto pictures = [&](const std::string &choice) {
        const fs::path file = dir_ / "t.rtf";
        const CliRun run = RunCli("rtf --page tabla " + choice + " --out '" + file.string() + "' " + chart);
        EXPECT_EQ(run.code, 0) << run.err;
        const std::string doc = Slurp(file);
        std::size_t n = 0;
        for (std::size_t at = doc.find("{\\pict"); at != std::string::npos; at = doc.find("{\\pict", at + 1))
            ++n;
        return n;
    };
    EXPECT_LT(pictures("--families pp"), pictures("--families pp,pc,cp,cc"));
    EXPECT_EQ(
        RunCli("pdf --page rueda --families xx --out '" + (dir_ / "x.pdf").string() + "' " + chart).code, 2);
}

} // namespace
