// Writes the program's atlas file from the GeoNames cities that Debian's libgeonames carries (cities
// of 15 000 inhabitants or more), with the Spanish names of its translations where they exist and
// GeoNames' own names beside them. Run by the build: make_atlas OUTPUT.
#include <geonames.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "zones/atlas.h"
#include "zones/text_fold.h"

namespace {

struct Names {
    std::string name, region, country;
};

std::string Text(const char *s) {
    return s ? std::string(s) : std::string();
}

// Every city's names as the library gives them under the current locale.
std::vector<Names> ReadNames(int count) {
    std::vector<Names> names(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        GeonamesCity *city = geonames_get_city(i);
        names[i] = {Text(geonames_city_get_name(city)), Text(geonames_city_get_state(city)),
                    Text(geonames_city_get_country(city))};
        geonames_city_free(city);
    }
    return names;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "uso: %s ARCHIVO\n", argv[0]);
        return 2;
    }
    const int count = geonames_get_n_cities();
    // GeoNames' own names: the "C" locale translates nothing.
    std::setlocale(LC_ALL, "C");
    const std::vector<Names> original = ReadNames(count);
    // The Spanish names of the library's translations (the UTF-8 "C" locale with Spanish messages).
    setenv("LANGUAGE", "es", 1);
    const bool spanish = std::setlocale(LC_ALL, "C.UTF-8") != nullptr;
    const std::vector<Names> translated = spanish ? ReadNames(count) : original;

    std::vector<cel::zones::AtlasCity> cities;
    cities.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        GeonamesCity *city = geonames_get_city(i);
        cel::zones::AtlasCity c;
        c.name = translated[i].name;
        // GeoNames' own name only where it is another name, not the same one without accents.
        c.originalName = cel::zones::FoldForSearch(original[i].name) == cel::zones::FoldForSearch(c.name)
                             ? std::string()
                             : original[i].name;
        c.region = translated[i].region;
        c.countryCode = Text(geonames_city_get_country_code(city));
        c.countryName = translated[i].country;
        c.countryOriginalName = original[i].country == c.countryName ? std::string() : original[i].country;
        c.latitude = geonames_city_get_latitude(city);
        const double east = geonames_city_get_longitude(city);
        c.longitudeWest = east == 0 ? 0 : -east;
        c.population = geonames_city_get_population(city);
        c.zoneId = Text(geonames_city_get_timezone(city));
        geonames_city_free(city);
        if (c.name.empty() || c.countryCode.empty() || c.zoneId.empty())
            continue;
        cities.push_back(std::move(c));
    }
    const cel::zones::Atlas atlas = cel::zones::Atlas::FromCities(std::move(cities));
    std::string error;
    if (!atlas.Save(argv[1], &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::printf("atlas: %zu ciudades\n", atlas.Size());
    return 0;
}
