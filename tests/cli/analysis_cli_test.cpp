// The analysis commands of celestigrafo-cli ("aspects", "table"), run as a user runs them.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "cli_runner.h"

namespace {

using cel::testing::CliRun;
using cel::testing::RunCli;

const std::string kNatal = "--date 1979-10-17 --time 12:30 --tz -5 --lon 76.5225W --lat 3.43722N";
const std::string kEvent = " --event-date 2024-10-17 --event-time 08:00";

nlohmann::json Json(const std::string &arguments) {
    const CliRun run = RunCli(arguments + " --format json");
    EXPECT_EQ(run.code, 0) << run.err;
    return nlohmann::json::parse(run.out);
}

std::size_t NatalEclipticCount(const nlohmann::json &natal) {
    return natal["ecliptic"]["bodies"].size() + natal["ecliptic"]["body_cusp"].size() +
           natal["ecliptic"]["cusps"].size();
}

TEST(AspectsCommand, NatalListsWithDispositors) {
    const nlohmann::json natal = Json("aspects " + kNatal);
    for (const char *model : {"ecliptic", "ascensional"})
        for (const char *list : {"bodies", "body_cusp", "cusps"})
            ASSERT_TRUE(natal[model][list].is_array()) << model << " " << list;
    ASSERT_FALSE(natal["ecliptic"]["bodies"].empty());
    std::set<std::string> keys;
    for (const auto &r : natal["ecliptic"]["bodies"]) {
        const std::string key = r["key"];
        ASSERT_EQ(key.size(), 6u);
        EXPECT_EQ(key[0], 'p');
        EXPECT_LT(key.substr(1, 2), key.substr(4, 2)); // one record per pair, smaller number first
        EXPECT_GE(r["kind"].get<int>(), 1);
        EXPECT_LE(r["kind"].get<int>(), 13);
        EXPECT_GE(r["strength"].get<double>(), 0);
        EXPECT_LE(r["strength"].get<double>(), 100);
        EXPECT_LE(std::abs(r["arc"].get<double>()), 180);
        keys.insert(key);
    }
    ASSERT_FALSE(natal["dispositors"]["bodies"].empty());
    for (const auto &d : natal["dispositors"]["bodies"]) {
        EXPECT_TRUE(keys.count(d["controlled_key"].get<std::string>())) << d.dump();
        EXPECT_EQ(d["dispositor_key"].get<std::string>().size(), 6u);
        EXPECT_GE(d["controlled_kind"].get<int>(), 1);
    }
    const nlohmann::json off = Json("aspects --no-calc " + kNatal);
    EXPECT_TRUE(off["dispositors"]["bodies"].empty());
    EXPECT_TRUE(off["dispositors"]["body_cusp"].empty());
    for (const auto &r : off["ecliptic"]["bodies"])
        EXPECT_EQ(r["dispositor"], 0);
}

TEST(AspectsCommand, PairListsOfADoubleWheel) {
    const nlohmann::json pair = Json("aspects " + kNatal + kEvent + " --inner 1 --outer 3 --orb-mode 8");
    EXPECT_EQ(pair["inner"], 1);
    EXPECT_EQ(pair["outer"], 3);
    EXPECT_EQ(pair["double_wheel"], true);
    for (const char *list : {"bodies", "body_cusp", "cusp_body", "cusps"})
        ASSERT_TRUE(pair[list].is_array()) << list;
    EXPECT_FALSE(pair["bodies"].empty());
    const CliRun missing = RunCli("aspects " + kNatal + " --inner 1 --outer 3");
    EXPECT_NE(missing.code, 0);
    EXPECT_NE(missing.err.find("--event-date"), std::string::npos) << missing.err;
    const CliRun bad = RunCli("aspects " + kNatal + " --inner 12");
    EXPECT_NE(bad.code, 0);
    EXPECT_NE(bad.err.find("--inner"), std::string::npos) << bad.err;
}

TEST(AspectsCommand, IniWithoutOrbTablesAdmitsOnlyExactAspects) {
    const auto path =
        std::filesystem::temp_directory_path() / ("analysis_cli_" + std::to_string(::getpid()) + ".ini");
    {
        std::ofstream ini(path);
        ini << "[Main]\r\nHint=1\r\n";
    }
    const nlohmann::json natal = Json("aspects " + kNatal + " --ini '" + path.string() + "'");
    std::filesystem::remove(path);
    for (const auto &r : natal["ecliptic"]["bodies"])
        EXPECT_EQ(r["strength"], 100) << r.dump();
    EXPECT_LT(natal["ecliptic"]["bodies"].size(), Json("aspects " + kNatal)["ecliptic"]["bodies"].size());
}

TEST(TableCommand, GridsOfEveryType) {
    struct Case {
        std::string arguments;
        std::size_t rows, columns;
    };
    const Case cases[] = {
        {"--type tabla", 25, 26},
        {"--type tabla --positions --wheel doble --outer 3" + kEvent, 25, 28},
        {"--type detalle --cell 2,1", 2, 2},
        {"--type detalle --cell 2,1 --inner 5" + kEvent, 2, 3},
        {"--type speculum", 20, 8},
        {"--type resumen1 --item 8" + kEvent, 13, 15},
        {"--type resumen2", 15, 14},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments);
        const nlohmann::json grid = Json("table " + kNatal + " " + c.arguments);
        ASSERT_EQ(grid["cells"].size(), c.rows);
        for (const auto &row : grid["cells"])
            EXPECT_EQ(row.size(), c.columns);
        EXPECT_TRUE(grid["count"].is_number_integer());
    }
}

TEST(TableCommand, CountsMatchTheAspectLists) {
    const std::size_t aspects = NatalEclipticCount(Json("aspects " + kNatal));
    const nlohmann::json table = Json("table --type tabla " + kNatal);
    EXPECT_EQ(table["count"].get<std::size_t>(), aspects);
    // A single wheel's table is symmetric.
    const auto &cells = table["cells"];
    for (int r = 1; r <= 24; ++r)
        for (int c = 1; c <= 24; ++c)
            EXPECT_EQ(cells[r][c], cells[c][r]) << r << "," << c;
    const nlohmann::json list = Json("table --type listado --columns 4 " + kNatal);
    EXPECT_EQ(list["count"].get<std::size_t>(), aspects);
    EXPECT_EQ(list["cells"][0][0].get<std::string>().rfind("1:E:L1:p", 0), 0u);
    // Fewer with a minimum strength, none without an angle.
    EXPECT_LT(Json("table --type tabla --min-strength 50 " + kNatal)["count"].get<std::size_t>(), aspects);
    EXPECT_EQ(Json("table --type tabla --angles none " + kNatal)["count"], 0);
}

TEST(TableCommand, NatalListWithAmbosAndByHouse) {
    const nlohmann::json ambos = Json("table --type natal --ambos --columns 3 " + kNatal);
    EXPECT_EQ(ambos["cells"][0][0], " Lista");
    EXPECT_NE(ambos["cells"][1][0].get<std::string>().find('/'), std::string::npos);
    const auto &last = ambos["cells"].back();
    for (const auto &cell : last)
        EXPECT_EQ(cell, "");
    const nlohmann::json byHouse = Json("table --type natal --by-house --house 10 --columns 3 " + kNatal);
    EXPECT_EQ(byHouse["cells"][0][0], " Regente");
    const CliRun noHouse = RunCli("table --type natal --by-house " + kNatal);
    EXPECT_NE(noHouse.code, 0);
    EXPECT_NE(noHouse.err.find("--house"), std::string::npos) << noHouse.err;
}

TEST(TableCommand, TextOutputAndErrors) {
    const CliRun text = RunCli("table --type tabla " + kNatal);
    ASSERT_EQ(text.code, 0) << text.err;
    EXPECT_NE(text.out.find("\nAsp: "), std::string::npos);
    const CliRun speculum = RunCli("table --type speculum " + kNatal);
    EXPECT_NE(speculum.out.find("Fecha GMT:\toct 17 1979"), std::string::npos) << speculum.out;
    for (const char *bad : {"--type nada", "--type detalle", "--type detalle --cell 25,1",
                            "--type tabla --bodies 13", "--type tabla --wheel triple"}) {
        const CliRun run = RunCli(std::string("table ") + bad + " " + kNatal);
        EXPECT_NE(run.code, 0) << bad;
        EXPECT_FALSE(run.err.empty()) << bad;
    }
}

} // namespace
