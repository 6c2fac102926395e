#include "zones/atlas.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <unordered_map>

#include "common/install_paths.h"
#include "common/safe_file.h"
#include "zones/text_fold.h"

namespace cel::zones {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kEarthRadiusKm = 6371.0088;

// A point on the unit sphere; the chord between two of them orders distances as the arc does.
struct Point {
    double x = 0, y = 0, z = 0;
};

Point PointOf(double latitude, double longitudeWest) {
    const double phi = latitude * kPi / 180.0;
    const double lambda = -longitudeWest * kPi / 180.0;
    return {std::cos(phi) * std::cos(lambda), std::cos(phi) * std::sin(lambda), std::sin(phi)};
}

double Chord2(const Point &a, const Point &b) {
    const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return dx * dx + dy * dy + dz * dz;
}

double ArcKm(double chord2) {
    return 2.0 * std::asin(std::min(1.0, std::sqrt(chord2) / 2.0)) * kEarthRadiusKm;
}

std::vector<std::string> SplitTabs(const std::string &line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            break;
        start = tab + 1;
    }
    return fields;
}

template <class T> bool ParseNumberField(const std::string &text, T &value) {
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && ptr == text.data() + text.size();
}

// Other names users give to a few countries.
const std::pair<const char *, const char *> kCountryAliases[] = {
    {"eeuu", "US"},
    {"ee.uu.", "US"},
    {"ee. uu.", "US"},
    {"usa", "US"},
    {"estados unidos de america", "US"},
    {"inglaterra", "GB"},
    {"gran bretana", "GB"},
    {"uk", "GB"},
    {"escocia", "GB"},
    {"gales", "GB"},
    {"holanda", "NL"},
    {"republica checa", "CZ"},
    {"rusia", "RU"},
    {"corea del sur", "KR"},
};

} // namespace

struct Atlas::Index {
    std::vector<std::string> folded;         // per city: folded name
    std::vector<std::string> foldedOriginal; // per city: folded original name ("" when the same)
    std::vector<Point> points;
    std::unordered_map<std::string, std::vector<std::uint32_t>> byCountry; // ISO code → cities
    std::unordered_map<std::string, std::string> countryCodes;             // folded name or code → code
};

Atlas::Atlas() : index_(std::make_unique<Index>()) {}
Atlas::~Atlas() = default;
Atlas::Atlas(Atlas &&) noexcept = default;
Atlas &Atlas::operator=(Atlas &&) noexcept = default;

std::size_t Atlas::Size() const {
    return cities_.size();
}

const std::vector<AtlasCity> &Atlas::Cities() const {
    return cities_;
}

Atlas Atlas::FromCities(std::vector<AtlasCity> cities) {
    Atlas atlas;
    atlas.cities_ = std::move(cities);
    atlas.BuildIndex();
    return atlas;
}

void Atlas::BuildIndex() {
    std::stable_sort(cities_.begin(), cities_.end(),
                     [](const AtlasCity &a, const AtlasCity &b) { return a.population > b.population; });
    index_ = std::make_unique<Index>();
    Index &ix = *index_;
    ix.folded.reserve(cities_.size());
    ix.foldedOriginal.reserve(cities_.size());
    ix.points.reserve(cities_.size());
    for (std::uint32_t i = 0; i < cities_.size(); ++i) {
        const AtlasCity &c = cities_[i];
        ix.folded.push_back(FoldForSearch(c.name));
        std::string original = c.originalName.empty() ? std::string() : FoldForSearch(c.originalName);
        if (original == ix.folded.back())
            original.clear();
        ix.foldedOriginal.push_back(std::move(original));
        ix.points.push_back(PointOf(c.latitude, c.longitudeWest));
        ix.byCountry[c.countryCode].push_back(i);
        ix.countryCodes.emplace(FoldForSearch(c.countryCode), c.countryCode);
        for (const std::string *name : {&c.countryName, &c.countryOriginalName})
            if (!name->empty())
                ix.countryCodes.emplace(FoldForSearch(*name), c.countryCode);
    }
    for (const auto &[alias, code] : kCountryAliases)
        if (ix.byCountry.count(code))
            ix.countryCodes.emplace(alias, code);
}

std::string Atlas::CountryCode(std::string_view country) const {
    const std::string key = FoldForSearch(country);
    if (key.empty())
        return {};
    const auto it = index_->countryCodes.find(key);
    return it == index_->countryCodes.end() ? std::string() : it->second;
}

std::vector<const AtlasCity *> Atlas::Search(std::string_view text, std::string_view country,
                                             std::size_t limit) const {
    std::vector<const AtlasCity *> result;
    const std::string q = FoldForSearch(text);
    if (q.empty() || limit == 0)
        return result;
    const Index &ix = *index_;
    std::string code;
    if (!country.empty()) {
        code = CountryCode(country);
        if (code.empty())
            return result;
    }
    const std::string wordStart = " " + q;
    // Rank of a name: 0 begins with the text, 1 a word begins with it, 2 contains it, 3 does not.
    auto rankOf = [&](const std::string &name) {
        const std::size_t at = name.find(q);
        if (at == std::string::npos)
            return 3;
        if (at == 0)
            return 0;
        return name.find(wordStart) != std::string::npos ? 1 : 2;
    };
    std::vector<const AtlasCity *> groups[3];
    auto consider = [&](std::uint32_t i) {
        const int rank =
            std::min(rankOf(ix.folded[i]), ix.foldedOriginal[i].empty() ? 3 : rankOf(ix.foldedOriginal[i]));
        if (rank < 3 && groups[rank].size() < limit)
            groups[rank].push_back(&cities_[i]);
        return groups[0].size() >= limit; // the best group is full: nothing later can enter
    };
    if (!code.empty()) {
        for (std::uint32_t i : ix.byCountry.at(code))
            if (consider(i))
                break;
    } else {
        for (std::uint32_t i = 0; i < cities_.size(); ++i)
            if (consider(i))
                break;
    }
    for (const auto &g : groups)
        for (const AtlasCity *c : g)
            if (result.size() < limit)
                result.push_back(c);
    return result;
}

const AtlasCity *Atlas::Lookup(std::string_view text) const {
    std::string name(text);
    std::string country;
    if (const std::size_t comma = name.rfind(','); comma != std::string::npos) {
        country = name.substr(comma + 1);
        name.resize(comma);
        if (CountryCode(country).empty())
            return nullptr; // a country the atlas does not know: no guess across the world
    }
    const std::string q = FoldForSearch(name);
    if (q.empty())
        return nullptr;
    const std::string code = CountryCode(country);
    for (std::uint32_t i = 0; i < cities_.size(); ++i) // largest first
        if ((code.empty() || cities_[i].countryCode == code) &&
            (index_->folded[i] == q || index_->foldedOriginal[i] == q))
            return &cities_[i];
    const auto found = Search(name, country, 1);
    return found.empty() ? nullptr : found.front();
}

NearestCity Atlas::Nearest(double latitude, double longitudeWest, std::string_view country) const {
    NearestCity out;
    if (cities_.empty())
        return out;
    const Index &ix = *index_;
    const Point p = PointOf(latitude, longitudeWest);
    double best = 1e9;
    std::uint32_t bestIndex = 0;
    auto visit = [&](std::uint32_t i) {
        const double d = Chord2(p, ix.points[i]);
        if (d < best) {
            best = d;
            bestIndex = i;
        }
    };
    const std::string code = country.empty() ? std::string() : CountryCode(country);
    if (!code.empty()) {
        for (std::uint32_t i : ix.byCountry.at(code))
            visit(i);
        out.sameCountry = true;
    } else {
        for (std::uint32_t i = 0; i < cities_.size(); ++i)
            visit(i);
    }
    out.city = &cities_[bestIndex];
    out.distanceKm = ArcKm(best);
    return out;
}

// The file: UTF-8 text, one record a line, fields separated by tabs; "#" begins a comment line.
//   "C" code, Spanish name, original name        a country (its number is its order among the C lines)
//   "R" name                                      a region
//   "Z" zone id                                   a zone
//   "P" name, original name, region number, country number, latitude, longitude (east positive),
//       population, zone number                   a city
Atlas Atlas::Load(const std::filesystem::path &file, std::string *error) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        if (error)
            *error = "no se puede leer el atlas " + file.string();
        return Atlas();
    }
    struct Country {
        std::string code, name, original;
    };
    std::vector<Country> countries;
    std::vector<std::string> regions, zones;
    std::vector<AtlasCity> cities;
    std::string line;
    int lineNumber = 0;
    auto fail = [&](const std::string &why) {
        if (error)
            *error = file.string() + ":" + std::to_string(lineNumber) + ": " + why;
        return Atlas();
    };
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line.front() == '#')
            continue;
        const std::vector<std::string> f = SplitTabs(line);
        if (f[0] == "C" && f.size() == 4) {
            countries.push_back({f[1], f[2], f[3]});
        } else if (f[0] == "R" && f.size() == 2) {
            regions.push_back(f[1]);
        } else if (f[0] == "Z" && f.size() == 2) {
            zones.push_back(f[1]);
        } else if (f[0] == "P" && f.size() == 9) {
            std::uint32_t region = 0, country = 0, zone = 0, population = 0;
            double lat = 0, lonEast = 0;
            if (!ParseNumberField(f[3], region) || !ParseNumberField(f[4], country) ||
                !ParseNumberField(f[5], lat) || !ParseNumberField(f[6], lonEast) ||
                !ParseNumberField(f[7], population) || !ParseNumberField(f[8], zone) ||
                region >= regions.size() || country >= countries.size() || zone >= zones.size() ||
                std::fabs(lat) > 90 || std::fabs(lonEast) > 180)
                return fail("ciudad ilegible");
            AtlasCity c;
            c.name = f[1];
            c.originalName = f[2];
            c.region = regions[region];
            c.countryCode = countries[country].code;
            c.countryName = countries[country].name;
            c.countryOriginalName = countries[country].original;
            c.latitude = lat;
            c.longitudeWest = lonEast == 0 ? 0 : -lonEast;
            c.population = population;
            c.zoneId = zones[zone];
            cities.push_back(std::move(c));
        } else {
            return fail("línea ilegible");
        }
    }
    return FromCities(std::move(cities));
}

bool Atlas::Save(const std::filesystem::path &file, std::string *error) const {
    std::map<std::string, std::uint32_t> regionNumber, zoneNumber, countryNumber;
    std::ostringstream head, body;
    head << "# Atlas de Celestigrafo: ciudades de GeoNames (https://www.geonames.org/, CC BY 4.0)\n";
    std::ostringstream countries, regions, zones;
    auto number = [](std::map<std::string, std::uint32_t> &table, const std::string &key, std::ostream &out,
                     const std::string &line) {
        auto [it, added] = table.emplace(key, static_cast<std::uint32_t>(table.size()));
        if (added)
            out << line << '\n';
        return it->second;
    };
    for (const AtlasCity &c : cities_) {
        const std::uint32_t country =
            number(countryNumber, c.countryCode, countries,
                   "C\t" + c.countryCode + "\t" + c.countryName + "\t" + c.countryOriginalName);
        const std::uint32_t region = number(regionNumber, c.region, regions, "R\t" + c.region);
        const std::uint32_t zone = number(zoneNumber, c.zoneId, zones, "Z\t" + c.zoneId);
        char coords[64];
        std::snprintf(coords, sizeof coords, "%.5f\t%.5f", c.latitude,
                      c.longitudeWest == 0 ? 0.0 : -c.longitudeWest);
        body << "P\t" << c.name << '\t' << c.originalName << '\t' << region << '\t' << country << '\t'
             << coords << '\t' << c.population << '\t' << zone << '\n';
    }
    try {
        WriteFileSafely(file.string(),
                        head.str() + countries.str() + regions.str() + zones.str() + body.str());
    } catch (const std::exception &e) {
        if (error)
            *error = e.what();
        return false;
    }
    return true;
}

std::filesystem::path AtlasFile() {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (const char *env = std::getenv("CELESTIGRAFO_ATLAS"); env != nullptr && *env != '\0')
        return fs::path(env);
    const fs::path data = DataDirectory() / kAtlasFileName;
    if (fs::is_regular_file(data, ec))
        return data;
    return fs::path(CEL_BUILD_ATLAS_FILE);
}

const Atlas &SharedAtlas() {
    static const Atlas atlas = Atlas::Load(AtlasFile());
    return atlas;
}

} // namespace cel::zones
