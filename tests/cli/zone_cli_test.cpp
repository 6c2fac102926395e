// The zone history and the atlas on the command line: --zone, --place, the "atlas" command, and the
// zone names of the AAF export. Zone facts of tzdata 2026f; cities of the GeoNames data of libgeonames.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>

#include "cli_runner.h"
#include "common/date_time.h"

namespace {

using cel::testing::CliRun;
using cel::testing::RunCli;
namespace fs = std::filesystem;

std::string Line(const std::string &text, const std::string &start) {
    const std::size_t at = text.find(start);
    if (at == std::string::npos)
        return {};
    return text.substr(at, text.find('\n', at) - at);
}

// Known local times and the Greenwich time the chart is computed for.
TEST(ZoneCli, ZoneAndPlaceGiveTheHistoricalOffset) {
    struct Case {
        const char *arguments;
        const char *gmt;
        const char *zoneLine; // "" when no zone is named
    } cases[] = {
        {"--date 1990-07-10 --time 19:07 --place 'Madrid, ES'", "Fecha GMT:   1990-07-10 17:07:00",
         "Zona:        Europe/Madrid, UTC+2, horario de verano (CEST)"},
        {"--date 1990-07-10 --time 19:07 --zone Europe/Madrid --lon 3.7026W --lat 40.4165N",
         "Fecha GMT:   1990-07-10 17:07:00", "Zona:        Europe/Madrid, UTC+2, horario de verano (CEST)"},
        {"--date 1990-07-10 --time 19:07 --zone auto --lon 3.7026W --lat 40.4165N",
         "Fecha GMT:   1990-07-10 17:07:00", "Zona:        Europe/Madrid, UTC+2, horario de verano (CEST)"},
        // The stored-zone reading stays as it was: the zone given is applied as it is.
        {"--date 1990-07-10 --time 19:07 --tz 1 --lon 3.7026W --lat 40.4165N",
         "Fecha GMT:   1990-07-10 18:07:00", ""},
        {"--date 2003-09-17 --time 11:24 --place 'Nueva York, US'", "Fecha GMT:   2003-09-17 15:24:00",
         "Zona:        America/New_York, UTC-4, horario de verano (EDT)"},
        {"--date 2025-06-13 --time 00:00 --place 'Los Angeles, Estados Unidos'",
         "Fecha GMT:   2025-06-13 07:00:00",
         "Zona:        America/Los_Angeles, UTC-7, horario de verano (PDT)"},
        {"--date 1990-01-10 --time 19:07 --place Madrid", "Fecha GMT:   1990-01-10 18:07:00",
         "Zona:        Europe/Madrid, UTC+1, horario estándar (CET)"},
        // Local mean time at the place's own longitude: Bristol, 1700.
        {"--date 1700-06-01 --time 12:00 --zone Europe/London --lon 2.5879W --lat 51.4545N",
         "Fecha GMT:   1700-06-01 12:10:21.096", "Zona:        Europe/London, UTC-0:10:21, hora media local"},
        // Greenwich time given: the zone says which local time it was.
        {"--date 1990-07-10 --time 17:07 --gmt --place 'Madrid, ES'", "Fecha GMT:   1990-07-10 17:07:00",
         "Zona:        Europe/Madrid, UTC+2, horario de verano (CEST)"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments);
        const CliRun run = RunCli(std::string("chart ") + c.arguments);
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(Line(run.out, "Fecha GMT:"), c.gmt) << run.out;
        EXPECT_EQ(Line(run.out, "Zona:"), c.zoneLine) << run.out;
    }
}

TEST(ZoneCli, JsonNamesTheZoneAndThePlace) {
    const CliRun run = RunCli("chart --date 1990-07-10 --time 19:07 --place 'Madrid, ES' --format json");
    ASSERT_EQ(run.code, 0) << run.err;
    const nlohmann::json j = nlohmann::json::parse(run.out);
    EXPECT_NEAR(j["gmt_datetime"].get<double>(), cel::EncodeDateTime({1990, 7, 10, 17, 7, 0, 0}), 1e-9);
    EXPECT_NEAR(j["zone_hours"].get<double>(), 2, 1e-12);
    EXPECT_NEAR(j["latitude"].get<double>(), 40.4165, 1e-3);
    EXPECT_NEAR(j["longitude"].get<double>(), 3.7026, 1e-3);
    const nlohmann::json &zone = j["zone"];
    EXPECT_EQ(zone["id"], "Europe/Madrid");
    EXPECT_EQ(zone["offset"], "UTC+2");
    EXPECT_NEAR(zone["offset_hours"].get<double>(), 2, 1e-12);
    EXPECT_EQ(zone["daylight"], true);
    EXPECT_EQ(zone["local_mean_time"], false);
    EXPECT_EQ(zone["kind"], "unique");
    EXPECT_EQ(zone["before_1970"], false);
    EXPECT_EQ(zone["place"], "Madrid, Comunidad Autónoma de Madrid, España");
    EXPECT_FALSE(zone.contains("note"));

    // Before 1970 the output carries the note; London 1700 says it is local mean time.
    const CliRun old = RunCli("chart --date 1700-06-01 --time 12:00 --zone Europe/London --lon 2.5879W "
                              "--lat 51.4545N --format json");
    ASSERT_EQ(old.code, 0) << old.err;
    const nlohmann::json o = nlohmann::json::parse(old.out)["zone"];
    EXPECT_EQ(o["local_mean_time"], true);
    EXPECT_EQ(o["before_1970"], true);
    EXPECT_NE(o["note"].get<std::string>().find("Antes de 1970"), std::string::npos);
}

// An event at the natal place reads the zone history at its own date: winter birth, summer event.
TEST(ZoneCli, EventReadsTheZoneAtItsOwnDate) {
    const CliRun run = RunCli("progressions --date 1990-01-10 --time 12:00 --place 'Madrid, ES' "
                              "--event-date 2024-07-10 --event-time 12:00 --format json");
    ASSERT_EQ(run.code, 0) << run.err;
    const nlohmann::json j = nlohmann::json::parse(run.out);
    EXPECT_EQ(j["natal_zone"]["offset"], "UTC+1");
    EXPECT_EQ(j["event_zone"]["id"], "Europe/Madrid");
    EXPECT_EQ(j["event_zone"]["offset"], "UTC+2");
    EXPECT_EQ(j["event_zone"]["daylight"], true);
    // A zone of its own for the event.
    const CliRun other = RunCli("progressions --date 1990-01-10 --time 12:00 --place 'Madrid, ES' "
                                "--event-date 2024-07-10 --event-time 12:00 --event-place 'Nueva York, US' "
                                "--format json");
    ASSERT_EQ(other.code, 0) << other.err;
    EXPECT_EQ(nlohmann::json::parse(other.out)["event_zone"]["offset"], "UTC-4");
}

TEST(ZoneCli, GapAndFoldAreNamedWithBothReadings) {
    const CliRun gap = RunCli("chart --date 2024-03-31 --time 02:30 --place 'Madrid, ES' --format json");
    ASSERT_EQ(gap.code, 0) << gap.err;
    EXPECT_NE(gap.err.find("aviso: Esa hora no existió (Europe/Madrid)"), std::string::npos) << gap.err;
    const nlohmann::json g = nlohmann::json::parse(gap.out)["zone"];
    EXPECT_EQ(g["kind"], "gap");
    EXPECT_EQ(g["offset"], "UTC+1");
    EXPECT_EQ(g["other_offset"], "UTC+2");

    const CliRun fold = RunCli("chart --date 2024-10-27 --time 02:30 --place 'Madrid, ES'");
    ASSERT_EQ(fold.code, 0) << fold.err;
    EXPECT_NE(fold.err.find("Esa hora ocurrió dos veces"), std::string::npos) << fold.err;
    EXPECT_EQ(Line(fold.out, "Fecha GMT:"), "Fecha GMT:   2024-10-27 00:30:00");
    EXPECT_NE(Line(fold.out, "Nota:").find("La primera es 00:30 GMT; la segunda, 01:30 GMT."),
              std::string::npos)
        << fold.out;
}

TEST(ZoneCli, BadZoneAndPlaceOptionsAreUsageErrors) {
    struct Case {
        const char *arguments;
        const char *message;
    } cases[] = {
        {"--date 1990-07-10 --zone Mars/Olympus --lon 3 --lat 40", "--zone"},
        {"--date 1990-07-10 --place 'Atlántida'", "no city 'Atlántida' in the atlas"},
        {"--date 1990-07-10 --place 'Madrid, Narnia'", "no city"},
        {"--date 1990-07-10 --zone Europe/Madrid --tz 1 --lon 3 --lat 40", "--tz"},
        {"--date 1990-07-10 --place 'Madrid, ES' --lon 3", "--lon"},
        {"--date 1990-07-10 --zone auto", "--zone auto needs the place"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments);
        const CliRun run = RunCli(std::string("chart ") + c.arguments);
        EXPECT_EQ(run.code, 2) << run.out;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    // The page commands keep "--place" for the heading; the atlas city is "--atlas-place" there.
    const CliRun help = RunCli("pdf --help");
    EXPECT_NE(help.out.find("--atlas-place"), std::string::npos);
}

TEST(ZoneCli, AtlasCommandListsMatchesLargestFirst) {
    const CliRun run = RunCli("atlas bogota --format json");
    ASSERT_EQ(run.code, 0) << run.err;
    const nlohmann::json j = nlohmann::json::parse(run.out);
    ASSERT_FALSE(j["cities"].empty());
    const nlohmann::json &first = j["cities"][0];
    EXPECT_EQ(first["name"], "Bogotá");
    EXPECT_EQ(first["country_code"], "CO");
    EXPECT_EQ(first["zone"], "America/Bogota");
    EXPECT_GT(first["population"].get<int>(), 7000000);
    EXPECT_NEAR(first["longitude"].get<double>(), 74.08, 0.01); // west positive
    std::uint64_t previous = ~0ull;
    for (const nlohmann::json &c : j["cities"]) {
        // All begin with "bogota": one group, largest first.
        EXPECT_LE(c["population"].get<std::uint64_t>(), previous);
        previous = c["population"].get<std::uint64_t>();
    }

    const CliRun madrid = RunCli("atlas MADRID --country Colombia");
    ASSERT_EQ(madrid.code, 0) << madrid.err;
    EXPECT_NE(madrid.out.find("Cundinamarca"), std::string::npos) << madrid.out;
    EXPECT_EQ(madrid.out.find("Comunidad de Madrid"), std::string::npos) << madrid.out;
    EXPECT_NE(madrid.out.find("America/Bogota"), std::string::npos);

    const CliRun none = RunCli("atlas zzqqxx");
    EXPECT_EQ(none.code, 0);
    EXPECT_NE(none.out.find("Ninguna ciudad"), std::string::npos);
    const CliRun bad = RunCli("atlas madrid --country Narnia");
    EXPECT_EQ(bad.code, 2);
    EXPECT_NE(bad.err.find("--country"), std::string::npos);
}

// The AAF export names each place's zone: the nearest atlas city of its country, or the user's choice.
TEST(ZoneCli, AafExportWritesZoneNames) {
    const fs::path dir = fs::temp_directory_path() / ("celestigrafo_zone_cli_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "config");
    fs::copy_file(std::string(CEL_TEST_DATA_DIR) + "/ejemplo.age", dir / "datos.age");
    const std::string env = "env XDG_CONFIG_HOME='" + (dir / "config").string() + "' ";
    const CliRun run = RunCli("db export-aaf '" + (dir / "datos.age").string() + "' --out '" +
                                  (dir / "personas.aaf").string() + "'",
                              "", env);
    ASSERT_EQ(run.code, 0) << run.err;
    const std::string aaf = cel::testing::Slurp(dir / "personas.aaf");
    EXPECT_NE(aaf.find("#ZNAM:America/Bogota\r\n"), std::string::npos) << aaf;
    EXPECT_NE(aaf.find("#ZNAM:Europe/Madrid\r\n"), std::string::npos) << aaf;
    fs::remove_all(dir);
}

} // namespace
