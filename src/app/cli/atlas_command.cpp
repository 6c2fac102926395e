// "atlas": the cities of the world atlas whose name matches, with coordinates, population and zone.
#include <cmath>
#include <cstdio>
#include <memory>

#include "command_registry.h"
#include "text_columns.h"
#include "zones/atlas.h"
#include "zones/zone_history.h"

namespace cel::cli {

namespace {

struct AtlasOptions {
    std::string name;
    std::string country;
    std::size_t limit = 20;
    OutputFormat format = OutputFormat::Text;
};

std::string Coordinate(double value, char positive, char negative) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.4f%c", std::fabs(value), value < 0 ? negative : positive);
    return buffer;
}

void AddAtlas(CLI::App &app, RunContext &ctx) {
    auto *sub = app.add_subcommand(
        "atlas", "Cities of the world atlas (GeoNames, 15 000 inhabitants or more) whose name matches");
    auto options = std::make_shared<AtlasOptions>();
    sub->add_option("NAME", options->name,
                    "The name or a part of it; accents and case do not matter (\"bogota\" finds Bogotá)")
        ->required();
    sub->add_option("--country", options->country, "Only this country: ISO code (CO) or name (Colombia)")
        ->type_name("CC");
    sub->add_option("--limit", options->limit, "At most this many cities (default 20)")
        ->check(CLI::Range(1, 100000));
    AddFormatOption(*sub, options->format);
    sub->footer(
        "Cities whose name begins with NAME come first, then those with a word beginning with it, then\n"
        "the rest; the largest first in each group. Longitudes are west positive, as with --lon.\n"
        "Examples:\n"
        "  celestigrafo-cli atlas medellin\n"
        "  celestigrafo-cli atlas \"san jose\" --country CR --format json\n");
    sub->callback([options, &ctx] {
        const zones::Atlas &atlas = zones::SharedAtlas();
        if (atlas.Empty())
            throw CommandError("the atlas of cities is not available (" + zones::AtlasFile().string() + ")");
        if (!options->country.empty() && atlas.CountryCode(options->country).empty())
            throw CommandError("--country: '" + options->country +
                                   "' is no country of the atlas: expected an ISO code (e.g. CO) or a name "
                                   "(e.g. Colombia)",
                               2);
        const std::vector<const zones::AtlasCity *> found =
            atlas.Search(options->name, options->country, options->limit);
        if (WantsJson(ctx, options->format)) {
            nlohmann::json list = nlohmann::json::array();
            for (const zones::AtlasCity *c : found) {
                nlohmann::json city = {{"name", c->name},
                                       {"region", c->region},
                                       {"country_code", c->countryCode},
                                       {"country", c->countryName},
                                       {"latitude", c->latitude},
                                       {"longitude", c->longitudeWest},
                                       {"population", c->population},
                                       {"zone", c->zoneId}};
                if (!c->originalName.empty())
                    city["original_name"] = c->originalName;
                list.push_back(city);
            }
            WriteJson(ctx, {{"query", options->name}, {"cities", list}});
            return;
        }
        if (found.empty()) {
            ctx.out << "Ninguna ciudad del atlas coincide con \"" << options->name << "\"\n";
            return;
        }
        ctx.out << Padded("Ciudad", 28) << Padded("Región", 28) << Padded("País", 22) << Padded("Latitud", 10)
                << Padded("Longitud", 11) << Padded("Población", 11) << "Zona\n";
        for (const zones::AtlasCity *c : found) {
            const std::string name = c->name + (c->originalName.empty() ? "" : " (" + c->originalName + ")");
            ctx.out << Padded(name, 27) << ' ' << Padded(c->region, 27) << ' ' << Padded(c->countryName, 21)
                    << ' ' << Padded(Coordinate(c->latitude, 'N', 'S'), 10)
                    << Padded(Coordinate(c->longitudeWest, 'W', 'E'), 11)
                    << Padded(std::to_string(c->population), 11) << c->zoneId << '\n';
        }
    });
}

const bool registered = RegisterCommand("atlas", AddAtlas);

} // namespace
} // namespace cel::cli
