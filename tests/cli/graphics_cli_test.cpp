// The drawing commands of celestigrafo-cli ("wheel", "diagrams"), run as a user runs them.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
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

TEST_F(GraphicsCli, DoubleWheelDrawsTheAspectsBetweenItsTwoChartsAsOneWheelDoes) {
    // Whatever the alignment, the aspects between the natal chart and the transits are drawn and counted.
    for (const char *alignment : {"", " --by-signs"}) {
        const CliRun full = RunCli("wheel " + kNatal + kEvent + " --double" + alignment + " --out '" +
                                   File("doble.png") + "' --format json");
        ASSERT_EQ(full.code, 0) << full.err;
        EXPECT_GT(nlohmann::json::parse(full.out)["aspect_lines"].get<int>(), 0) << alignment;
    }
    const CliRun single =
        RunCli("wheel " + kNatal + kEvent + " --double --inner-only --inner 3 --outer 1 --out '" +
               File("una.png") + "' --format json");
    ASSERT_EQ(single.code, 0) << single.err;
    EXPECT_GT(nlohmann::json::parse(single.out)["aspect_lines"].get<int>(), 0);
}

// The placed boxes of a wheel's JSON: bodies and labels, none overlapping another, all inside the
// picture; every body glyph within 8 degrees of its body.
::testing::AssertionResult PlacementHolds(const nlohmann::json &out, int size) {
    std::vector<std::pair<std::string, std::array<double, 4>>> boxes;
    for (const auto &b : out["bodies"]) {
        const double turn =
            std::fmod(b["drawn"].get<double>() - b["longitude"].get<double>() + 540.0, 360.0) - 180;
        if (std::fabs(turn) > 8)
            return ::testing::AssertionFailure() << b.dump();
        boxes.emplace_back("body " + b["chart"].get<std::string>() + " " +
                               std::to_string(b["body"].get<int>()),
                           b["box"].get<std::array<double, 4>>());
    }
    for (const auto &l : out["labels"])
        boxes.emplace_back(l["kind"].get<std::string>(), l["box"].get<std::array<double, 4>>());
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const auto &[name, a] = boxes[i];
        if (a[0] < -0.5 || a[1] < -0.5 || a[0] + a[2] > size + 0.5 || a[1] + a[3] > size + 0.5)
            return ::testing::AssertionFailure() << name << " outside the picture";
        for (std::size_t j = i + 1; j < boxes.size(); ++j) {
            const auto &b = boxes[j].second;
            const double w = std::min(a[0] + a[2], b[0] + b[2]) - std::max(a[0], b[0]);
            const double h = std::min(a[1] + a[3], b[1] + b[3]) - std::max(a[1], b[1]);
            if (w > 0.02 && h > 0.02)
                return ::testing::AssertionFailure() << name << " and " << boxes[j].first << " overlap";
        }
    }
    return ::testing::AssertionSuccess();
}

TEST_F(GraphicsCli, WheelJsonListsWhereEveryBodyAndLabelStands) {
    const CliRun run = RunCli("wheel " + kNatal + kEvent + " --double --size 800 --out '" + File("w.png") +
                              "' --format json");
    ASSERT_EQ(run.code, 0) << run.err;
    const nlohmann::json out = nlohmann::json::parse(run.out);
    ASSERT_EQ(out["bodies"].size(), 24u);
    std::set<std::pair<std::string, int>> bodies;
    for (const auto &b : out["bodies"]) {
        bodies.insert({b["chart"].get<std::string>(), b["body"].get<int>()});
        EXPECT_GE(b["longitude"].get<double>(), 0);
        EXPECT_LT(b["longitude"].get<double>(), 360);
        EXPECT_EQ(b["box"].size(), 4u);
    }
    EXPECT_EQ(bodies.size(), 24u); // bodies 1..12 of "inner" and of "outer"
    std::set<std::string> kinds;
    for (const auto &l : out["labels"])
        kinds.insert(l["kind"].get<std::string>());
    for (const char *kind :
         {"position", "body_sign", "cusp_text", "cusp_sign", "house_number", "sign", "aspect"})
        EXPECT_TRUE(kinds.count(kind)) << kind;
    EXPECT_TRUE(PlacementHolds(out, 800));
    EXPECT_EQ(Slurp(dir / "w.png").rfind("\x89PNG", 0), 0u);
}

TEST_F(GraphicsCli, CrowdedAndPolarWheelsPlaceEveryLabelClearOfTheOthers) {
    // The 1962 stellium (seven bodies within 17 degrees), Tromsø's close cusps, and a natal chart with
    // its transits in every wheel kind, at 400, 800 and 2400 pixels.
    const std::string ana = "--db '" + std::string(CEL_TEST_DATA_DIR) +
                            "/ejemplo.age' --person 'Ana Lucía Restrepo Gaviria' --event-date 2024-03-05 "
                            "--event-time 12:00";
    const std::string cases[] = {
        "--date 1962-02-04 --time 18:00 --tz 5.5 --lon 77.21E --lat 28.61N",
        "--date 1985-12-21 --time 10:00 --tz 1 --lon 18.96E --lat 69.65N",
        ana + " --double --by-signs",
        ana + " --double",
        ana + " --double --inner-only",
    };
    for (const std::string &c : cases)
        for (const int size : {400, 800, 2400}) {
            const CliRun run = RunCli("wheel " + c + " --size " + std::to_string(size) + " --out '" +
                                      File("w.png") + "' --format json");
            ASSERT_EQ(run.code, 0) << run.err;
            EXPECT_TRUE(PlacementHolds(nlohmann::json::parse(run.out), size)) << c << " at " << size;
        }
}

TEST_F(GraphicsCli, CaptionShowsTheChartsDataUnderTheWheel) {
    for (const char *file : {"c.png", "c.svg"}) {
        const CliRun run =
            RunCli("wheel " + kNatal + " --caption --natal-name 'Ana Pérez' --size 600 --out '" + File(file) +
                   "' --format json");
        ASSERT_EQ(run.code, 0) << run.err;
        const nlohmann::json out = nlohmann::json::parse(run.out);
        int captions = 0;
        double wheelBottom = 0, captionTop = 600;
        for (const auto &l : out["labels"]) {
            const auto box = l["box"].get<std::array<double, 4>>();
            if (l["kind"] == "caption") {
                ++captions;
                captionTop = box[1];
            } else {
                wheelBottom = std::max(wheelBottom, box[1] + box[3]);
            }
        }
        EXPECT_EQ(captions, 1) << file;
        EXPECT_LT(wheelBottom, captionTop) << file; // the box stands under the wheel
        EXPECT_TRUE(PlacementHolds(out, 600)) << file;
    }
    const std::string svg = Slurp(dir / "c.svg");
    for (const char *text : {"Ana Pérez", "Topocéntricas", "Tropical", "Δ"})
        EXPECT_NE(svg.find(text), std::string::npos) << text;
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
