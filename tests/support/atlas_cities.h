// A one-city atlas for tests of the zone offers: Madrid with its zone, where the place files say +1.
#pragma once

#include <vector>

#include "zones/atlas.h"

namespace cel::testsupport {

inline zones::Atlas MadridAtlas() {
    std::vector<zones::AtlasCity> cities(1);
    cities[0].name = "Madrid";
    cities[0].countryCode = "ES";
    cities[0].countryName = "España";
    cities[0].latitude = 40.4165;
    cities[0].longitudeWest = 3.70256;
    cities[0].population = 3255944;
    cities[0].zoneId = "Europe/Madrid";
    return zones::Atlas::FromCities(std::move(cities));
}

} // namespace cel::testsupport
