// The chart commands of celestigrafo-cli, run as a user runs them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "cali_data_file.h"
#include "cli_runner.h"

namespace {

using cel::testing::CliRun;
using cel::testing::RunCli;

const std::string kGreenwich = "--date 2000-01-01 --time 12:00 --gmt --lon 0 --lat 51.4772";

TEST(ChartCli, GreenwichChartAsJson) {
    const CliRun run = RunCli("chart " + kGreenwich + " --format json");
    ASSERT_EQ(run.code, 0) << run.err;
    const nlohmann::json j = nlohmann::json::parse(run.out);
    for (const char *key :
         {"delta_t_seconds", "instant_tt", "julian_day", "sidereal_time_hours", "obliquity", "armc",
          "sun_true_longitude", "sun_mean_longitude", "equation_of_time_days", "local_datetime",
          "gmt_datetime", "latitude", "longitude", "zone_hours", "bodies", "cusps_ecliptic",
          "cusps_ascensional", "ecliptic_rotation", "ascensional_rotation"})
        EXPECT_TRUE(j.contains(key)) << key;
    EXPECT_NEAR(j["delta_t_seconds"].get<double>(), 63.8285, 1e-4);
    EXPECT_NEAR(j["julian_day"].get<double>(), 2451545.000739, 1e-6);
    EXPECT_NEAR(j["armc"].get<double>(), 280.4606, 1e-4);
    ASSERT_EQ(j["bodies"].size(), 12u);
    ASSERT_EQ(j["cusps_ecliptic"].size(), 12u);
    ASSERT_EQ(j["cusps_ascensional"].size(), 12u);
    const nlohmann::json &sun = j["bodies"][0];
    EXPECT_EQ(sun["number"], 1);
    EXPECT_EQ(sun["name"], "Sol");
    EXPECT_NEAR(sun["longitude"].get<double>(), 280.3689, 1e-4);
    EXPECT_EQ(sun["ao_do_label"], "AO");
    EXPECT_EQ(sun["retrograde"], 0);
    for (const char *key : {"latitude",
                            "distance",
                            "right_ascension",
                            "declination",
                            "meridian_distance",
                            "ascensional_difference",
                            "dmo",
                            "semi_arc",
                            "pole",
                            "adp",
                            "ao_do",
                            "wheel_ecliptic",
                            "wheel_ascensional",
                            "house_ecliptic",
                            "house_ascensional",
                            "sign_ecliptic",
                            "sign_ascensional",
                            "quadrant",
                            "ruled_houses_ecliptic",
                            "ruled_houses_ascensional"})
        EXPECT_TRUE(sun.contains(key)) << key;
    EXPECT_EQ(j["bodies"][11]["name"], "Rue");
    EXPECT_EQ(j["bodies"][10]["retrograde"], 1);
    EXPECT_NEAR(j["cusps_ecliptic"][0]["cusp"].get<double>(), 24.2733, 1e-4);
    EXPECT_EQ(j["cusps_ecliptic"][9]["house"], 10);
}

TEST(ChartCli, TextTableAndLocalTime) {
    // Cali, local time with zone -5 and hemisphere letters.
    const CliRun run = RunCli("chart --date 1979-10-17 --time 12:30 --tz -5 --lon 76.5225W --lat 3.43722N");
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_THAT(run.out, testing::HasSubstr("Fecha GMT:   1979-10-17 17:30:00"));
    // 23° 44' 39.88" within Libra: positions beside their sign are truncated, not rounded.
    EXPECT_THAT(run.out, testing::HasSubstr("Sol     23° 44' 39\" Lib"));
    EXPECT_THAT(run.out, testing::HasSubstr("Nod     05° 52' 55\" Vir   R"));
    const CliRun east =
        RunCli("chart --date 1979-10-17 --time 12:30 --tz -5 --lon -76.5225 --lat 3.43722 --format json");
    const CliRun west =
        RunCli("chart --date 1979-10-17 --time 12:30 --tz -5 --lon 76.5225E --lat 3.43722N --format json");
    ASSERT_EQ(east.code, 0);
    EXPECT_EQ(nlohmann::json::parse(east.out)["armc"], nlohmann::json::parse(west.out)["armc"]);
}

// A civil-time chart after 2012 shows the Delta T it applied, and TT is Greenwich time plus that value.
TEST(ChartCli, RecentChartShowsTheAppliedDeltaT) {
    const std::string args = "chart --date 2020-01-01 --time 01:00 --tz 1 --lon 3.7W --lat 40.4N";
    const CliRun json = RunCli(args + " --format json");
    ASSERT_EQ(json.code, 0) << json.err;
    const nlohmann::json j = nlohmann::json::parse(json.out);
    const double deltaT = j["delta_t_seconds"].get<double>();
    EXPECT_NEAR(deltaT, 69.3612, 1e-4);
    EXPECT_NEAR((j["instant_tt"].get<double>() - j["gmt_datetime"].get<double>()) * 86400, deltaT, 1e-3);
    const CliRun text = RunCli(args);
    ASSERT_EQ(text.code, 0) << text.err;
    EXPECT_THAT(text.out, testing::HasSubstr("Fecha TT:    2020-01-01 00:01:09.361  (Delta T 69.3612 s)"));
}

TEST(ChartCli, DatesBefore1900AndWithoutDeltaT) {
    const CliRun run = RunCli("chart --date 1850-06-15 --time 06:00:30.5 --gmt --no-delta-t --format json");
    ASSERT_EQ(run.code, 0) << run.err;
    const nlohmann::json j = nlohmann::json::parse(run.out);
    EXPECT_EQ(j["delta_t_seconds"], 0);
    EXPECT_LT(j["instant_tt"].get<double>(), 0);
    EXPECT_DOUBLE_EQ(j["instant_tt"].get<double>(), j["gmt_datetime"].get<double>());
    EXPECT_EQ(RunCli("chart --date 0001-01-01 --format json").code, 0);
    EXPECT_EQ(RunCli("chart --date 9999-12-31 --time 23:59:59.999 --format json").code, 0);
}

TEST(ChartCli, BadArgumentsNameTheArgumentAndTheExpectedForm) {
    struct Case {
        std::string arguments;
        std::string mention;
    };
    const Case cases[] = {
        {"chart --date 1979-02-30", "--date: '1979-02-30' is not valid: expected YYYY-MM-DD"},
        {"chart --date 0000-01-01", "--date"},
        {"chart --date 1979-10-17 --time 24:00", "--time: '24:00' is not valid: expected HH:MM[:SS[.mmm]]"},
        {"chart --date 1979-10-17 --tz 15", "--tz: '15' is not valid: expected hours"},
        {"chart --date 1979-10-17 --lon 74X", "--lon: '74X' is not valid: expected degrees"},
        {"chart --date 1979-10-17 --lat 90N", "--lat: '90N' is not valid"},
        {"chart --date 1979-10-17 --format xml", "--format: 'xml' is not valid: expected text or json"},
        {"chart --time 10:00", "--date is required: expected YYYY-MM-DD"},
        {"chart --date", "--date: 1 required YYYY-MM-DD missing"},
        {"chart --date 1979-10-17 --colour red", "--colour"},
        {"chart --date 1979-10-17 --ini /nonexistent/celestigrafo.ini", "--ini"},
        {"progressions --date 1979-10-17", "--event-date is required"},
        {"progressions --date 1979-10-17 --event-date 2020-1-1", "--event-date"},
        {"solar-return --date 1979-10-17", "--year is required"},
        {"solar-return --date 1979-10-17 --year 10000", "--year: '10000' is not valid"},
        {"solar-return --date 1979-10-17 --year 2020 --natal-sun mean", "--natal-sun: 'mean' is not valid"},
        {"chrt --date 1979-10-17", "unknown command 'chrt'"},
        {"", "a command is required"},
    };
    for (const Case &c : cases) {
        const CliRun run = RunCli(c.arguments);
        EXPECT_EQ(run.code, 2) << c.arguments;
        EXPECT_THAT(run.err, testing::HasSubstr(c.mention)) << c.arguments;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << c.arguments << ": " << run.err;
        EXPECT_TRUE(run.out.empty()) << c.arguments;
    }
}

TEST(ChartCli, HelpWithAnExample) {
    for (const char *command : {"chart", "progressions", "solar-return", "batch"}) {
        const CliRun run = RunCli(std::string(command) + " --help");
        EXPECT_EQ(run.code, 0) << command;
        EXPECT_THAT(run.out, testing::HasSubstr("Example")) << command;
        EXPECT_THAT(run.out, testing::HasSubstr(std::string("celestigrafo-cli ") + command)) << command;
    }
    const CliRun run = RunCli("--help");
    EXPECT_EQ(run.code, 0);
    EXPECT_THAT(run.out, testing::HasSubstr("solar-return"));
}

TEST(ChartCli, ProgressionsJson) {
    const CliRun run =
        RunCli("progressions " + kGreenwich + " --event-date 2010-07-01 --event-time 08:00 --format json");
    ASSERT_EQ(run.code, 0) << run.err;
    const nlohmann::json j = nlohmann::json::parse(run.out);
    for (const char *key : {"age_days", "primary_arc", "progressed_instant", "solar_arc", "proluna_arc",
                            "progressed_armc", "items"})
        EXPECT_TRUE(j.contains(key)) << key;
    ASSERT_EQ(j["items"].size(), 11u);
    EXPECT_EQ(j["items"][0]["column"], "Nat. Ecl");
    EXPECT_EQ(j["items"][10]["column"], "Trá DMO.");
    for (const nlohmann::json &item : j["items"]) {
        ASSERT_EQ(item["bodies"].size(), 12u);
        ASSERT_EQ(item["cusps"].size(), 12u);
        for (const char *key : {"position", "wheel_position", "house", "sign", "ruled_houses", "retrograde"})
            EXPECT_TRUE(item["bodies"][0].contains(key)) << key;
    }
    EXPECT_NEAR(j["items"][0]["bodies"][0]["position"].get<double>(), 280.3689, 1e-4);
    // Event at 08:00 local in the natal place (zone 0): about 10.5 years of age.
    EXPECT_NEAR(j["age_days"].get<double>() / 365.242197, 10.5, 0.01);
    EXPECT_EQ(j["items"][9]["cusps"][0]["cusp"], 90);
}

TEST(ChartCli, SolarReturnJson) {
    const std::string natal =
        "solar-return --date 1979-10-17 --time 12:30 --tz -5 --lon 76.5225W --lat 3.43722N "
        "--year 2024 --format json";
    const CliRun run = RunCli(natal);
    ASSERT_EQ(run.code, 0) << run.err;
    const nlohmann::json j = nlohmann::json::parse(run.out);
    EXPECT_LT(std::abs(j["difference"].get<double>()), 1e-6);
    EXPECT_EQ(j["event_datetime_is_gmt"], false);
    EXPECT_EQ(j["event_chart"]["bodies"].size(), 12u);
    EXPECT_NEAR(j["event_chart"]["bodies"][0]["longitude"].get<double>(), j["target_longitude"].get<double>(),
                1e-6);
    EXPECT_DOUBLE_EQ(j["event_chart"]["local_datetime"].get<double>(), j["event_datetime"].get<double>());

    // With "ET" the event is the civil time found minus the return chart's equation of time.
    const CliRun et = RunCli(natal + " --et");
    ASSERT_EQ(et.code, 0) << et.err;
    const nlohmann::json k = nlohmann::json::parse(et.out);
    EXPECT_DOUBLE_EQ(k["found_instant_tt"].get<double>(), j["found_instant_tt"].get<double>());
    EXPECT_NEAR(k["event_datetime"].get<double>(),
                j["event_datetime"].get<double>() - k["event_chart"]["equation_of_time_days"].get<double>(),
                2e-8);

    // Greenwich time for the event, in another place.
    const CliRun gmt = RunCli(natal + " --event-gmt --event-lon 2.35E --event-lat 48.85N --event-tz 1");
    ASSERT_EQ(gmt.code, 0) << gmt.err;
    const nlohmann::json g = nlohmann::json::parse(gmt.out);
    EXPECT_EQ(g["event_datetime_is_gmt"], true);
    EXPECT_DOUBLE_EQ(g["event_chart"]["gmt_datetime"].get<double>(), g["event_datetime"].get<double>());
    EXPECT_NEAR(g["event_chart"]["longitude"].get<double>(), -2.35, 1e-12);
    EXPECT_EQ(g["event_chart"]["zone_hours"], 1);
}

TEST(ChartCli, BatchGoesOnAfterABadLine) {
    const std::string input = "chart " + kGreenwich +
                              "\n"
                              "\n"
                              "# a comment\n"
                              "chart --date 2000-02-30\n"
                              "progressions " +
                              kGreenwich +
                              " --event-date 2001-01-01\n"
                              "chart --date \"2000-01-01\n"
                              "batch\n"
                              "chart --help\n";
    const CliRun run = RunCli("batch", input);
    EXPECT_EQ(run.code, 1);
    std::istringstream lines(run.out);
    std::vector<nlohmann::json> results;
    for (std::string line; std::getline(lines, line);)
        results.push_back(nlohmann::json::parse(line));
    ASSERT_EQ(results.size(), 6u) << run.out;
    EXPECT_EQ(results[0]["bodies"].size(), 12u);
    EXPECT_THAT(results[1]["error"].get<std::string>(), testing::HasSubstr("--date"));
    EXPECT_EQ(results[2]["items"].size(), 11u);
    EXPECT_TRUE(results[3].contains("error"));
    EXPECT_TRUE(results[4].contains("error"));
    EXPECT_THAT(results[5]["help"].get<std::string>(), testing::HasSubstr("--date"));
}

TEST(ChartCli, BatchOfGoodLinesSucceeds) {
    const CliRun run = RunCli("batch", "chart " + kGreenwich + "\nchart --date 1979-10-17 --format text\n");
    EXPECT_EQ(run.code, 0) << run.err;
    std::istringstream lines(run.out);
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count)
        EXPECT_TRUE(nlohmann::json::parse(line).contains("bodies"));
    EXPECT_EQ(count, 2);
}

TEST(ChartCli, PersonsFromTheDataFile) {
    const std::string db = cel::testing::CaliDataFile("chart_cli");
    const CliRun byName = RunCli("chart --db '" + db + "' --person ' ana   RESTREPO ' --format json");
    ASSERT_EQ(byName.code, 0) << byName.err;
    const CliRun byId = RunCli("chart --db '" + db + "' --person 1 --format json");
    const CliRun typed =
        RunCli("chart --date 1979-10-17 --time 12:30 --tz -5 --lon 76.5225 --lat 3.43722 --format json");
    const nlohmann::json a = nlohmann::json::parse(byName.out);
    const nlohmann::json t = nlohmann::json::parse(typed.out);
    EXPECT_EQ(a, nlohmann::json::parse(byId.out));
    EXPECT_NEAR(a["armc"].get<double>(), t["armc"].get<double>(), 1e-7);
    EXPECT_NEAR(a["bodies"][0]["longitude"].get<double>(), t["bodies"][0]["longitude"].get<double>(), 1e-9);
    EXPECT_EQ(a["zone_hours"], -5);

    // The event is another person: the Greenwich-time birth of Id 3, in the place of the data file.
    const CliRun prog =
        RunCli("progressions --db '" + db + "' --person 'Ana Restrepo' --event-person 3 --format json");
    ASSERT_EQ(prog.code, 0) << prog.err;
    const nlohmann::json p = nlohmann::json::parse(prog.out);
    // Ages in TT: the event at 40000.5 GMT plus Delta T 72 s (2009); the birth at 29145.52083 local, zone -5,
    // plus Delta T 50.2982 s (October 1979).
    EXPECT_NEAR(p["age_days"].get<double>(),
                (40000.5 + 72.0 / 86400) - (29145.5208333333 + 5.0 / 24 + 50.2982 / 86400), 1e-6);
    // An event date with no place of its own takes the natal person's place.
    EXPECT_EQ(RunCli("progressions --db '" + db + "' --person 1 --event-date 2020-01-01").code, 0);

    struct Case {
        std::string arguments;
        std::string mention;
    };
    const Case cases[] = {
        {"chart --db '" + db + "' --person 'Sin Fecha'", "--person: 'Sin Fecha' has no birth date"},
        {"chart --db '" + db + "' --person 'Juan Pérez'",
         "several persons are named 'Juan Pérez' (Ids 3, 4)"},
        {"chart --db '" + db + "' --person Nadie", "--person: no person 'Nadie'"},
        {"chart --person 'Ana Restrepo'", "--person needs --db FILE"},
        {"chart --db '" + db + "' --person 1 --date 2000-01-01", "--date excludes --person"},
        {"chart --db /nonexistent.age --person 1", "--db: cannot read '/nonexistent.age'"},
        {"progressions --db '" + db + "' --person 1 --event-person 2",
         "--event-person: '2' has no birth date"},
    };
    for (const Case &c : cases) {
        const CliRun run = RunCli(c.arguments);
        EXPECT_EQ(run.code, 2) << c.arguments;
        EXPECT_THAT(run.err, testing::HasSubstr(c.mention)) << c.arguments;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    std::filesystem::remove(db);
}

TEST(ChartCli, UserSettingsFile) {
    // A settings file whose dignity matrix gives Sol only Aries and nothing to the other bodies.
    const std::string ini =
        (std::filesystem::temp_directory_path() / ("chart_cli_" + std::to_string(::getpid()) + ".ini"))
            .string();
    {
        std::ofstream file(ini);
        file << "[MD]\r\n1,1=1\r\n[OPE]\r\n1=7\r\n[OCE]\r\n1=3\r\n[OPA]\r\n1=4.5\r\n";
    }
    const CliRun user = RunCli("chart " + kGreenwich + " --ini '" + ini + "' --format json");
    ASSERT_EQ(user.code, 0) << user.err;
    const nlohmann::json u = nlohmann::json::parse(user.out);
    EXPECT_EQ(u["bodies"][0]["ruled_houses_ecliptic"], "1");
    EXPECT_EQ(u["bodies"][1]["ruled_houses_ecliptic"], "");
    const nlohmann::json b = nlohmann::json::parse(RunCli("chart " + kGreenwich + " --format json").out);
    EXPECT_EQ(b["bodies"][0]["ruled_houses_ecliptic"], "5,6");
    std::filesystem::remove(ini);
}

// A birth stored without its time is charted at 0:00 and says so, in the text and in the JSON.
TEST(ChartCli, ABirthWithoutItsTimeIsMarked) {
    const std::string db = cel::testing::CaliDataFile("chart_cli_hora");
    {
        std::ofstream file(db, std::ios::binary | std::ios::app);
        file << "I\xE2"
                "5\xE2Luz\xE2Sin Hora\xE2"
                "3\xE2"
                "1\xE2"
                "0\xE2"
                "29145\xE2"
                "0\xE2"
                "0\xE2\r\n";
    }
    struct Case {
        const char *person;
        bool unknown;
    };
    for (const Case c : {Case{"Luz Sin Hora", true}, Case{"Ana Restrepo", false}}) {
        SCOPED_TRACE(c.person);
        const CliRun text = RunCli("chart --db '" + db + "' --person '" + c.person + "'");
        ASSERT_EQ(text.code, 0) << text.err;
        EXPECT_EQ(text.out.rfind("Hora:        hora desconocida (carta a las 0:00 locales)\n", 0) == 0,
                  c.unknown)
            << text.out;
        const CliRun json = RunCli("chart --db '" + db + "' --person '" + c.person + "' --format json");
        ASSERT_EQ(json.code, 0) << json.err;
        EXPECT_EQ(nlohmann::json::parse(json.out)["time_unknown"], c.unknown);
    }
    EXPECT_EQ(nlohmann::json::parse(RunCli("chart " + kGreenwich + " --format json").out)["time_unknown"],
              false);
    std::filesystem::remove(db);
}

} // namespace
