#include "session/atlas_place.h"

#include <cmath>

#include "zones/text_fold.h"
#include "zones/zone_history.h"

namespace cel::session {

namespace {

// "2 529 403", the thousands apart as Spanish texts write them.
std::string Grouped(std::uint32_t n) {
    std::string digits = std::to_string(n), out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ' ';
        out += digits[i];
    }
    return out;
}

} // namespace

std::vector<AtlasMatch> SearchAtlas(const zones::Atlas &atlas, std::string_view typed, std::size_t limit) {
    std::vector<AtlasMatch> out;
    if (zones::FoldForSearch(typed).size() < 2)
        return out;
    for (const zones::AtlasCity *c : atlas.Search(typed, {}, limit)) {
        std::string text = c->name;
        if (!c->originalName.empty())
            text += " (" + c->originalName + ")";
        text += " — ";
        if (!c->region.empty())
            text += c->region + ", ";
        text += c->countryName + " · " + Grouped(c->population) + " hab.";
        out.push_back({c, std::move(text)});
    }
    return out;
}

AtlasPlace PlaceOfCity(const database::Database &db, const zones::AtlasCity &city, TDateTime now) {
    AtlasPlace place;
    place.name = city.name;
    place.countryName = city.countryName;
    place.latitude = city.latitude;
    place.longitudeWest = city.longitudeWest;
    place.zoneId = city.zoneId;
    const std::string spanish = zones::FoldForSearch(city.countryName);
    const std::string original = zones::FoldForSearch(city.countryOriginalName);
    for (const auto &country : db.Countries) {
        const std::string name = zones::FoldForSearch(country->Nombre);
        if (name == spanish || (!original.empty() && name == original)) {
            place.countryId = country->Id;
            break;
        }
    }
    if (const std::optional<zones::ZoneReading> r = zones::ReadUniversal(city.zoneId, now))
        place.standardHours = r->offsetHours - r->daylightHours;
    return place;
}

} // namespace cel::session
