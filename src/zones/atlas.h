// The world atlas: the cities of GeoNames with 15 000 inhabitants or more (with their region,
// country, population and IANA zone), searched by name and by nearness to a place.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cel::zones {

struct AtlasCity {
    std::string name;                // in Spanish where GeoNames has a Spanish name ("Londres")
    std::string originalName;        // GeoNames' own name ("London"), "" when it is the same
    std::string region;              // the first-level division ("Comunidad de Madrid")
    std::string countryCode;         // ISO 3166 ("ES")
    std::string countryName;         // in Spanish ("España")
    std::string countryOriginalName; // GeoNames' own ("Spain")
    double latitude = 0;             // degrees, north positive
    double longitudeWest = 0;        // degrees, west positive (as the places of the data file)
    std::uint32_t population = 0;
    std::string zoneId; // "Europe/Madrid"
};

// The nearest atlas city to a place.
struct NearestCity {
    const AtlasCity *city = nullptr; // nothing when the atlas has no city to offer
    double distanceKm = 0;
    // The city lies in the place's country; false when the place named no country the atlas knows
    // (the city is then the nearest of all, whatever its country).
    bool sameCountry = false;
};

class Atlas {
public:
    Atlas();
    ~Atlas();
    Atlas(Atlas &&) noexcept;
    Atlas &operator=(Atlas &&) noexcept;

    // Reads an atlas file written by the converter; an empty atlas and the reason when it cannot.
    static Atlas Load(const std::filesystem::path &file, std::string *error = nullptr);
    // Builds one from cities (tests, converters).
    static Atlas FromCities(std::vector<AtlasCity> cities);
    // Writes the atlas file; false and the reason when it cannot.
    bool Save(const std::filesystem::path &file, std::string *error = nullptr) const;

    std::size_t Size() const;
    bool Empty() const { return Size() == 0; }
    const std::vector<AtlasCity> &Cities() const; // largest first

    // The cities whose name (Spanish or original) contains the text, accents and case ignored: those
    // whose name begins with it first, then those with a word beginning with it, then the rest, each
    // group largest first. country (ISO code or name, "" for all) narrows the search; at most limit.
    std::vector<const AtlasCity *> Search(std::string_view text, std::string_view country = {},
                                          std::size_t limit = 50) const;
    // "Madrid, ES", "Madrid, España" or "Madrid": the largest city of that name (exact name first,
    // then the first match of Search); nothing when none matches.
    const AtlasCity *Lookup(std::string_view text) const;

    // The ISO code of a country given by code or by name in Spanish or English ("es", "España",
    // "Spain"); "" when the atlas does not know it.
    std::string CountryCode(std::string_view country) const;

    // The nearest city of the place's country (never one across a border); with no country, or one the
    // atlas does not know, the nearest of all (sameCountry false).
    NearestCity Nearest(double latitude, double longitudeWest, std::string_view country = {}) const;

private:
    struct Index;
    std::vector<AtlasCity> cities_;
    std::unique_ptr<Index> index_;
    void BuildIndex();
};

// Where the atlas file is: CELESTIGRAFO_ATLAS when set, else the installed data folder, else the build
// tree's copy.
std::filesystem::path AtlasFile();
// The atlas of AtlasFile(), read once on first use (an empty atlas when there is none); thread-safe.
const Atlas &SharedAtlas();

// The atlas file's name in the data folder.
inline constexpr const char *kAtlasFileName = "atlas-ciudades.txt";

} // namespace cel::zones
