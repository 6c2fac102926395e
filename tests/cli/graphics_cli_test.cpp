// The drawing commands of celestigrafo-cli ("wheel", "diagrams"), run as a user runs them.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "cli_runner.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

using cel::testing::CliRun;
using cel::testing::RunCli;
using cel::testing::Slurp;

const std::string kNatal = "--date 1979-10-17 --time 12:30 --tz -5 --lon 76.5225W --lat 3.43722N";
const std::string kEvent = " --event-date 2024-10-17 --event-time 08:00";

class GraphicsCli : public ::testing::Test {
protected:
    std::string File(const std::string &name) const { return folder.File(name); }
    cel::testsupport::TempFolder folder{"graphics_cli_files"};
    fs::path dir = folder.Dir();
};

TEST_F(GraphicsCli, WheelInEveryFormatPrintsItsAspectLines) {
    struct Case {
        const char *file;
        const char *magic;
    };
    for (const Case &c :
         {Case{"rueda.png", "\x89PNG"}, Case{"rueda.svg", "<?xml"}, Case{"rueda.pdf", "%PDF"}}) {
        const CliRun run = RunCli("wheel " + kNatal + " --size 400 --out '" + File(c.file) + "'");
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(run.out.rfind("Aspectos: ", 0), 0u) << run.out;
        EXPECT_GT(std::stoi(run.out.substr(10)), 0);
        EXPECT_EQ(Slurp(dir / c.file).rfind(c.magic, 0), 0u) << c.file;
    }
}

TEST_F(GraphicsCli, DoubleWheelDrawsNoAspectLinesButOneWheelDoes) {
    const CliRun full =
        RunCli("wheel " + kNatal + kEvent + " --double --out '" + File("doble.png") + "' --format json");
    ASSERT_EQ(full.code, 0) << full.err;
    EXPECT_EQ(nlohmann::json::parse(full.out)["aspect_lines"], 0);
    const CliRun single =
        RunCli("wheel " + kNatal + kEvent + " --double --inner-only --inner 3 --outer 1 --out '" +
               File("una.png") + "' --format json");
    ASSERT_EQ(single.code, 0) << single.err;
    EXPECT_GT(nlohmann::json::parse(single.out)["aspect_lines"].get<int>(), 0);
}

TEST_F(GraphicsCli, WheelFlagsComeFromTheSettingsFile) {
    const std::string ini = File("celestigrafo.ini");
    std::ofstream(ini) << "[Rueda]\r\nPlanetas=0\r\n";
    const CliRun run =
        RunCli("wheel " + kNatal + " --families pp,pc,cc --ini '" + ini + "' --out '" + File("w.png") + "'");
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "Aspectos: 0\n");
}

TEST_F(GraphicsCli, DiagramsAsHistogramAndPie) {
    for (const char *extra : {"", " --pie"}) {
        const CliRun run = RunCli("diagrams " + kNatal + kEvent + extra + " --out '" + File("d.pdf") + "'");
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(Slurp(dir / "d.pdf").rfind("%PDF", 0), 0u);
    }
}

TEST_F(GraphicsCli, BadRequestsAreRefusedWithoutWritingAFile) {
    struct Case {
        std::string arguments;
        int code;
        const char *message;
    };
    const Case cases[] = {
        {"wheel " + kNatal + " --out '" + File("w.gif") + "'", 2, ".png, .svg or .pdf"},
        {"wheel " + kNatal + " --inner 12 --out '" + File("w.png") + "'", 2, "--inner"},
        {"wheel " + kNatal + " --inner-only --out '" + File("w.png") + "'", 2, "--double"},
        {"wheel " + kNatal + " --families px --out '" + File("w.png") + "'", 2, "--families"},
        {"wheel " + kNatal + " --inner 3 --out '" + File("w.png") + "'", 2, "--event-date"},
        {"wheel " + kNatal + " --out '" + File("missing/w.png") + "'", 1, "w.png"},
        {"diagrams " + kNatal + " --out '" + File("d.txt") + "'", 2, ".png, .svg or .pdf"},
    };
    for (const Case &c : cases) {
        const CliRun run = RunCli(c.arguments);
        EXPECT_EQ(run.code, c.code) << c.arguments << "\n" << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    EXPECT_FALSE(fs::exists(dir / "w.png"));
    EXPECT_FALSE(fs::exists(dir / "w.gif"));
}

} // namespace
