// The world atlas: search ignoring accents and case, the nearest city of a place's country, the atlas
// file, and the atlas the build writes from GeoNames.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "zones/atlas.h"
#include "zones/text_fold.h"

namespace cel::zones {
namespace {

AtlasCity City(const char *name, const char *original, const char *region, const char *code,
               const char *country, double lat, double lonWest, std::uint32_t population, const char *zone) {
    AtlasCity c;
    c.name = name;
    c.originalName = original;
    c.region = region;
    c.countryCode = code;
    c.countryName = country;
    c.latitude = lat;
    c.longitudeWest = lonWest;
    c.population = population;
    c.zoneId = zone;
    return c;
}

// A few cities of the border of Colombia and Venezuela, and some namesakes.
Atlas SmallAtlas() {
    std::vector<AtlasCity> cities = {
        City("Villa del Rosario", "", "Norte de Santander", "CO", "Colombia", 7.83389, 72.47417, 64951,
             "America/Bogota"),
        City("Cúcuta", "", "Norte de Santander", "CO", "Colombia", 7.89391, 72.50782, 721398,
             "America/Bogota"),
        City("San Antonio del Táchira", "", "Táchira", "VE", "Venezuela", 7.81454, 72.4431, 66392,
             "America/Caracas"),
        City("Bogotá", "Bogota", "Bogotá D.C.", "CO", "Colombia", 4.60971, 74.08175, 7674366,
             "America/Bogota"),
        City("Madrid", "", "Comunidad de Madrid", "ES", "España", 40.4165, 3.70256, 3255944, "Europe/Madrid"),
        City("Madrid", "", "Cundinamarca", "CO", "Colombia", 4.73245, 74.26419, 50437, "America/Bogota"),
        City("Londres", "London", "Inglaterra", "GB", "Reino Unido", 51.50853, 0.12574, 8961989,
             "Europe/London"),
        City("Nueva Londres", "", "Región X", "ZZ", "Zeta", 1, 1, 20000, "Etc/UTC"),
        City("Ñuñoa", "Nunoa", "Región Metropolitana", "CL", "Chile", -33.45694, 70.5975, 208237,
             "America/Santiago"),
    };
    cities[0].countryOriginalName = "Colombia";
    cities[4].countryOriginalName = "Spain";
    return Atlas::FromCities(std::move(cities));
}

std::vector<std::string> Names(const std::vector<const AtlasCity *> &list) {
    std::vector<std::string> out;
    for (const AtlasCity *c : list)
        out.push_back(c->name + ", " + c->countryCode);
    return out;
}

TEST(TextFold, RemovesAccentsCaseAndPunctuation) {
    const std::pair<const char *, const char *> cases[] = {
        {"Bogotá", "bogota"},
        {"ÑUÑOA", "nunoa"},
        {"Saint-Étienne", "saint etienne"},
        {"  São   Paulo ", "sao paulo"},
        {"Raʼs al Khaymah", "ras al khaymah"},
        {"L'Hospitalet", "lhospitalet"},
        {"Straße", "strasse"},
        {"Łódź", "lodz"},
        {"Hồ Chí Minh", "ho chi minh"},
        {"Москва", "Москва"}, // not Latin: kept
        {"", ""},
    };
    for (const auto &[text, folded] : cases)
        EXPECT_EQ(FoldForSearch(text), folded) << text;
    // Bytes that are not UTF-8 are kept as characters, never dropped or read past the end.
    EXPECT_EQ(FoldForSearch(std::string("Bogot\xE1")), "bogota");
    EXPECT_EQ(FoldForSearch(std::string("ab\xC3")), FoldForSearch(std::string("ab\xC3")));
}

TEST(Atlas, SearchIgnoresAccentsAndCaseLargestFirst) {
    const Atlas atlas = SmallAtlas();
    struct Case {
        const char *text;
        const char *country;
        std::vector<std::string> expected;
    } cases[] = {
        {"bogota", "", {"Bogotá, CO"}},
        {"CUCUTA", "", {"Cúcuta, CO"}},
        {"nunoa", "", {"Ñuñoa, CL"}},
        {"tachira", "", {"San Antonio del Táchira, VE"}},
        // Names that begin with the text first, then a word that begins with it, then the rest.
        {"londres", "", {"Londres, GB", "Nueva Londres, ZZ"}},
        {"london", "", {"Londres, GB"}}, // GeoNames' own name finds the Spanish one
        {"madrid", "", {"Madrid, ES", "Madrid, CO"}},
        {"madrid", "CO", {"Madrid, CO"}},
        {"madrid", "colombia", {"Madrid, CO"}},
        {"madrid", "Spain", {"Madrid, ES"}},
        {"ro", "", {"Villa del Rosario, CO"}},
        {"madrid", "Atlantis", {}},
        {"", "", {}},
        {"zzzz", "", {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Names(atlas.Search(c.text, c.country)), c.expected) << c.text << " / " << c.country;
    EXPECT_EQ(atlas.Search("a", "", 2).size(), 2u);
}

TEST(Atlas, LookupByNameAndCountry) {
    const Atlas atlas = SmallAtlas();
    const std::pair<const char *, const char *> cases[] = {
        {"Madrid, ES", "Madrid, ES"},
        {"Madrid, CO", "Madrid, CO"},
        {"Madrid", "Madrid, ES"},
        {"madrid , españa", "Madrid, ES"},
        {"Londres", "Londres, GB"},
        {"Cucuta, Colombia", "Cúcuta, CO"},
        {"Madrid, XX", ""},
        {"Atlantida", ""},
        {"", ""},
    };
    for (const auto &[text, expected] : cases) {
        const AtlasCity *c = atlas.Lookup(text);
        EXPECT_EQ(c ? c->name + ", " + c->countryCode : std::string(), expected) << text;
    }
    EXPECT_EQ(atlas.CountryCode("es"), "ES");
    EXPECT_EQ(atlas.CountryCode("ESPAÑA"), "ES");
    EXPECT_EQ(atlas.CountryCode("Spain"), "ES");
    EXPECT_EQ(atlas.CountryCode("Narnia"), "");
}

// A place in Colombia just west of the border at Cúcuta: the nearest city of all is across the
// border in Venezuela (another zone), the nearest of its own country is Colombian.
TEST(Atlas, NearestCityNeverCrossesABorder) {
    const Atlas atlas = SmallAtlas();
    const double lat = 7.82, lonWest = 72.455;
    const NearestCity any = atlas.Nearest(lat, lonWest);
    ASSERT_TRUE(any.city);
    EXPECT_EQ(any.city->name, "San Antonio del Táchira");
    EXPECT_FALSE(any.sameCountry);
    for (const char *country : {"Colombia", "CO", "colombia"}) {
        const NearestCity same = atlas.Nearest(lat, lonWest, country);
        ASSERT_TRUE(same.city);
        EXPECT_EQ(same.city->name, "Villa del Rosario");
        EXPECT_EQ(same.city->zoneId, "America/Bogota");
        EXPECT_TRUE(same.sameCountry);
        EXPECT_NEAR(same.distanceKm, 2.4, 0.3);
    }
    // A country the atlas does not know: the nearest of all, said so.
    const NearestCity unknown = atlas.Nearest(lat, lonWest, "Gran Colombia");
    EXPECT_EQ(unknown.city->name, "San Antonio del Táchira");
    EXPECT_FALSE(unknown.sameCountry);
    EXPECT_FALSE(Atlas().Nearest(lat, lonWest).city);
}

TEST(Atlas, FileRoundTrip) {
    const Atlas atlas = SmallAtlas();
    const std::filesystem::path file = std::filesystem::path(testing::TempDir()) / "atlas-prueba.txt";
    std::string error;
    ASSERT_TRUE(atlas.Save(file, &error)) << error;
    const Atlas back = Atlas::Load(file, &error);
    ASSERT_EQ(back.Size(), atlas.Size()) << error;
    for (std::size_t i = 0; i < atlas.Size(); ++i) {
        const AtlasCity &a = atlas.Cities()[i], &b = back.Cities()[i];
        EXPECT_EQ(a.name, b.name);
        EXPECT_EQ(a.originalName, b.originalName);
        EXPECT_EQ(a.region, b.region);
        EXPECT_EQ(a.countryCode, b.countryCode);
        EXPECT_EQ(a.countryName, b.countryName);
        EXPECT_NEAR(a.latitude, b.latitude, 1e-5);
        EXPECT_NEAR(a.longitudeWest, b.longitudeWest, 1e-5);
        EXPECT_EQ(a.population, b.population);
        EXPECT_EQ(a.zoneId, b.zoneId);
    }
    EXPECT_EQ(back.CountryCode("Spain"), "ES");
    std::filesystem::remove(file);
}

TEST(Atlas, BrokenOrMissingFileIsAnEmptyAtlasWithTheReason) {
    const std::filesystem::path file = std::filesystem::path(testing::TempDir()) / "atlas-roto.txt";
    {
        std::ofstream out(file);
        out << "C\tES\tEspaña\tSpain\nR\tMadrid\nZ\tEurope/Madrid\nP\tMadrid\t\t0\t0\t40.4\t-3.7\t100\t7\n";
    }
    std::string error;
    EXPECT_TRUE(Atlas::Load(file, &error).Empty());
    EXPECT_NE(error.find(":4:"), std::string::npos) << error;
    error.clear();
    EXPECT_TRUE(Atlas::Load(file.string() + ".no", &error).Empty());
    EXPECT_FALSE(error.empty());
    std::filesystem::remove(file);
}

// The atlas the build writes from the GeoNames cities of Debian's libgeonames.
TEST(BuiltAtlas, HoldsTheGeoNamesCities) {
    const Atlas &atlas = SharedAtlas();
    ASSERT_GT(atlas.Size(), 24000u) << AtlasFile();
    // Spanish names where GeoNames has them, its own names beside them.
    const std::pair<const char *, const char *> cases[] = {
        {"londres", "Londres, GB"},     {"London", "Londres, GB"},    {"nueva york", "Nueva York, US"},
        {"sao paulo", "São Paulo, BR"}, {"MEDELLIN", "Medellín, CO"}, {"cucuta", "Cúcuta, CO"},
        {"bogota", "Bogotá, CO"},
    };
    for (const auto &[text, expected] : cases) {
        const auto found = atlas.Search(text, "", 1);
        ASSERT_EQ(found.size(), 1u) << text;
        EXPECT_EQ(found.front()->name + ", " + found.front()->countryCode, expected) << text;
    }
    const AtlasCity *madrid = atlas.Lookup("Madrid, ES");
    ASSERT_TRUE(madrid);
    EXPECT_EQ(madrid->zoneId, "Europe/Madrid");
    EXPECT_EQ(madrid->countryName, "España");
    EXPECT_NEAR(madrid->latitude, 40.4165, 0.01);
    EXPECT_NEAR(madrid->longitudeWest, 3.7026, 0.01);
    // Near Cúcuta, just inside Colombia: a Colombian city's zone, not Venezuela's.
    const NearestCity near = atlas.Nearest(7.82, 72.455, "Colombia");
    ASSERT_TRUE(near.city);
    EXPECT_EQ(near.city->countryCode, "CO");
    EXPECT_EQ(near.city->zoneId, "America/Bogota");
    EXPECT_EQ(atlas.Nearest(7.82, 72.455).city->zoneId, "America/Caracas");
    // The cut-off of the data: 15 000 inhabitants, apart from a few seats of government GeoNames keeps.
    std::size_t below = 0;
    for (const AtlasCity &c : atlas.Cities())
        below += c.population < 15000 ? 1 : 0;
    EXPECT_LT(below, 100u);
}

} // namespace
} // namespace cel::zones
