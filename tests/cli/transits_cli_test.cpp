// The "transits" command: its JSON listing, the same birth from the data file and from the options,
// batch lines, CSV and the errors of its own options.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <regex>

#include "cali_data_file.h"
#include "cli_runner.h"

namespace {

using cel::testing::CliRun;
using cel::testing::RunCli;

const std::string kBirth = "--date 1979-10-17 --time 12:30 --tz -5 --lon 76.5225W --lat 3.43722N";
const std::string kPeriod = " --from 2025-01-01 --to 2025-06-30 --bodies Sol,Mar,Sat";

nlohmann::json Json(const CliRun &run) {
    EXPECT_EQ(run.code, 0) << run.err;
    return nlohmann::json::parse(run.out);
}

TEST(TransitsCli, JsonEventsHaveTheirFieldsAndTimesInUniversalTime) {
    const nlohmann::json j = Json(RunCli("transits " + kBirth + kPeriod + " --format json"));
    ASSERT_TRUE(j.contains("events"));
    const std::regex iso(R"(\d{4}-\d\d-\d\dT\d\d:\d\dZ)");
    int aspects = 0, ingresses = 0, stations = 0;
    std::string previous;
    for (const nlohmann::json &e : j["events"]) {
        const std::string kind = e["kind"];
        ASSERT_TRUE(e["body"] == 1 || e["body"] == 5 || e["body"] == 7) << e.dump();
        ASSERT_FALSE(e["exact"].empty());
        for (const nlohmann::json &x : e["exact"])
            EXPECT_TRUE(std::regex_match(x.get<std::string>(), iso)) << x;
        if (kind == "aspect") {
            ++aspects;
            EXPECT_TRUE(e.contains("point") && e.contains("aspect") && e.contains("enter") &&
                        e.contains("leave"));
            EXPECT_EQ(e["aspect"].get<int>() % 15, 0);
            EXPECT_LE(e["enter"].get<std::string>(), e["exact"][0].get<std::string>());
            EXPECT_GE(e["leave"].get<std::string>(), e["exact"].back().get<std::string>());
        } else {
            EXPECT_FALSE(e.contains("aspect") || e.contains("enter") || e.contains("leave")) << e.dump();
            ingresses += kind == "ingress";
            stations += kind == "station";
        }
    }
    EXPECT_GT(aspects, 5);
    EXPECT_GT(ingresses, 5);
    EXPECT_GE(stations, 1); // Mars turns direct on 24 February 2025
}

TEST(TransitsCli, PersonFromTheDataFileAndBatchLineGiveTheSameListing) {
    const std::string db = cel::testing::CaliDataFile("transits_cli");
    const nlohmann::json options = Json(RunCli("transits " + kBirth + kPeriod + " --format json"));
    const nlohmann::json person =
        Json(RunCli("transits --db '" + db + "' --person 'Ana Restrepo'" + kPeriod + " --format json"));
    EXPECT_EQ(person, options);
    const CliRun batch = RunCli("batch", "transits " + kBirth + kPeriod + "\n");
    ASSERT_EQ(batch.code, 0) << batch.err;
    EXPECT_EQ(std::count(batch.out.begin(), batch.out.end(), '\n'), 1);
    EXPECT_EQ(nlohmann::json::parse(batch.out), options);
    std::filesystem::remove(db);
}

TEST(TransitsCli, KindsFiltersAndCsv) {
    const nlohmann::json stations =
        Json(RunCli("transits " + kBirth + kPeriod + " --kind stations --format json"));
    for (const nlohmann::json &e : stations["events"])
        EXPECT_EQ(e["kind"], "station");
    const nlohmann::json progressed =
        Json(RunCli("transits " + kBirth +
                    " --from 1980-01-01 --to 2030-01-01 --bodies Sol,Lun "
                    "--aspects 0,90 --to-points 1,asc,mc --kind progressions,directions "
                    "--format json"));
    std::set<std::string> sources;
    for (const nlohmann::json &e : progressed["events"]) {
        sources.insert(e["source"].get<std::string>());
        if (e["kind"] == "aspect") {
            EXPECT_TRUE(e["aspect"] == 0 || e["aspect"] == 90);
            EXPECT_TRUE(e["point"] == 1 || e["point"] == "asc" || e["point"] == "mc") << e.dump();
        }
    }
    EXPECT_EQ(sources,
              (std::set<std::string>{"secondary", "solar_arc", "primary_direct", "primary_converse"}));

    const nlohmann::json all = Json(RunCli("transits " + kBirth + kPeriod + " --format json"));
    const CliRun csv = RunCli("transits " + kBirth + kPeriod + " --format csv --utc-offset -5");
    ASSERT_EQ(csv.code, 0) << csv.err;
    EXPECT_THAT(csv.out, testing::StartsWith("fuente,cuerpo,suceso,entra,exacto,sale\n"));
    EXPECT_EQ(std::count(csv.out.begin(), csv.out.end(), '\n'), static_cast<long>(all["events"].size()) + 1);
    EXPECT_THAT(csv.out, testing::HasSubstr("-05:00"));
}

// The times of a zone follow its history: the Sun's ingresses of 2025 in Madrid's winter and summer time.
TEST(TransitsCli, LocalZoneTimesTakeTheOffsetInForceAtEachInstant) {
    const CliRun csv = RunCli("transits " + kBirth +
                              " --from 2025-01-01 --to 2025-12-31 --bodies Sol --kind ingresses "
                              "--format csv --local-zone Europe/Madrid");
    ASSERT_EQ(csv.code, 0) << csv.err;
    const std::regex aries("entra en Ari,,2025-03-20T10:0[0-9]\\+01:00,");
    const std::regex cancer("entra en Can,,2025-06-21T04:4[0-9]\\+02:00,");
    EXPECT_TRUE(std::regex_search(csv.out, aries)) << csv.out;
    EXPECT_TRUE(std::regex_search(csv.out, cancer)) << csv.out;
    const CliRun json = RunCli("transits " + kBirth +
                               " --from 2025-01-01 --to 2025-12-31 --bodies Sol --kind ingresses "
                               "--format json --local-zone Europe/Madrid");
    EXPECT_THAT(json.out, testing::HasSubstr("\"2025-03-20T09:0")) << "JSON stays in universal time";

    for (const std::string &bad :
         {std::string(" --local-zone Europe/Nowhere"), std::string(" --local-zone natal"),
          std::string(" --local-zone Europe/Madrid --utc-offset 1")}) {
        const CliRun run = RunCli("transits " + kBirth + " --from 2025-01-01 --to 2025-12-31" + bad);
        EXPECT_EQ(run.code, 2) << bad;
        EXPECT_THAT(run.err, testing::HasSubstr("--local-zone")) << bad;
    }
}

TEST(TransitsCli, BadOptionsAreUsageErrors) {
    struct Case {
        std::string options, message;
    };
    for (const Case &c : {Case{" --from 2025-13-01 --to 2025-12-31", "--from"},
                          Case{" --from 2025-01-01 --to 2024-12-31", "--to"},
                          Case{" --from 2025-01-01 --to 2025-12-31 --bodies Xyz", "--bodies"},
                          Case{" --from 2025-01-01 --to 2025-12-31 --aspects 50", "--aspects"},
                          Case{" --from 2025-01-01 --to 2025-12-31 --to-points cusp 13", "--to-points"},
                          Case{" --from 2025-01-01 --to 2025-12-31 --kind everything", "--kind"}}) {
        const CliRun run = RunCli("transits " + kBirth + c.options);
        EXPECT_EQ(run.code, 2) << c.options;
        EXPECT_THAT(run.err, testing::HasSubstr(c.message)) << c.options;
    }
}

} // namespace
