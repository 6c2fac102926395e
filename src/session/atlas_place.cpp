#include "session/atlas_place.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "database/coordinate_text.h"
#include "database/spanish_order.h"
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

// The data file's country of the city: its Spanish or its own name, accents and case ignored.
std::int32_t CountryOfCity(const database::Database &db, const zones::AtlasCity &city) {
    const std::string spanish = zones::FoldForSearch(city.countryName);
    const std::string original = zones::FoldForSearch(city.countryOriginalName);
    for (const auto &country : db.Countries) {
        const std::string name = zones::FoldForSearch(country->Nombre);
        if (name == spanish || (!original.empty() && name == original))
            return country->Id;
    }
    return -1;
}

// The great-circle distance between two points, in km.
double DistanceKm(double lat1, double lonWest1, double lat2, double lonWest2) {
    constexpr double kRadian = std::numbers::pi / 180, kEarthKm = 6371.0;
    const double dLat = (lat2 - lat1) * kRadian, dLon = (lonWest2 - lonWest1) * kRadian;
    const double a = std::sin(dLat / 2) * std::sin(dLat / 2) + std::cos(lat1 * kRadian) *
                                                                   std::cos(lat2 * kRadian) *
                                                                   std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2 * kEarthKm * std::asin(std::min(1.0, std::sqrt(a)));
}

// A value in degrees (or hours) as the editor's boxes hold it: whole seconds, or whole minutes.
long double ToWholeSeconds(double degrees) {
    database::DmsParts parts =
        database::SplitDegrees(std::round(static_cast<long double>(degrees) * 3600) / 3600);
    parts.milliseconds = 0;
    return database::ComposeDegrees(parts);
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
        out.push_back({c, -1, std::move(text), c->name});
    }
    return out;
}

AtlasPlace PlaceOfCity(const database::Database &db, const zones::AtlasCity &city, TDateTime now) {
    AtlasPlace place;
    place.name = city.name;
    place.region = city.region;
    place.countryName = city.countryName;
    place.latitude = city.latitude;
    place.longitudeWest = city.longitudeWest;
    place.zoneId = city.zoneId;
    place.countryId = CountryOfCity(db, city);
    if (const std::optional<zones::ZoneReading> r = zones::ReadUniversal(city.zoneId, now))
        place.standardHours = r->offsetHours - r->daylightHours;
    return place;
}

database::TLugar_Geo PlaceRecordOf(const AtlasPlace &place) {
    database::TLugar_Geo record;
    record.Nombre = place.name;
    record.IdPais = place.countryId;
    record.Lat = ToWholeSeconds(place.latitude);
    record.Lon = ToWholeSeconds(place.longitudeWest);
    database::DmsParts zone = database::SplitDegrees(place.standardHours);
    zone.seconds = zone.milliseconds = 0;
    record.TZ = database::ComposeDegrees(zone);
    record.DST = 0;
    record.Descripcion = place.region;
    return record;
}

std::int32_t PlaceOfCityInFile(const database::Database &db, const zones::AtlasCity &city) {
    const std::int32_t country = CountryOfCity(db, city);
    if (country < 0)
        return -1;
    const std::string name = zones::FoldForSearch(city.name);
    const std::string original = zones::FoldForSearch(city.originalName);
    for (const auto &p : db.Places) {
        if (p->IdPais != country)
            continue;
        const std::string folded = zones::FoldForSearch(p->Nombre);
        if ((folded == name || (!original.empty() && folded == original)) &&
            DistanceKm(static_cast<double>(p->Lat), static_cast<double>(p->Lon), city.latitude,
                       city.longitudeWest) <= 50)
            return p->Id;
    }
    return -1;
}

std::vector<AtlasMatch> SearchPlaces(const database::Database &db, std::int32_t countryId,
                                     const zones::Atlas &atlas, std::string_view typed, std::size_t limit) {
    std::vector<AtlasMatch> out;
    const std::string folded = zones::FoldForSearch(typed);
    if (folded.size() < 2)
        return out;
    // The file's places of the country: names beginning with the text first, then in name order.
    struct Hit {
        bool begins;
        const database::TLugar_Geo *place;
    };
    std::vector<Hit> hits;
    if (countryId >= 0)
        for (const auto &p : db.Places)
            if (p->IdPais == countryId)
                if (const std::size_t at = zones::FoldForSearch(p->Nombre).find(folded);
                    at != std::string::npos)
                    hits.push_back({at == 0, p.get()});
    std::stable_sort(hits.begin(), hits.end(), [](const Hit &a, const Hit &b) {
        return a.begins != b.begins ? a.begins : database::SpanishLess(a.place->Nombre, b.place->Nombre);
    });
    if (hits.size() > limit)
        hits.resize(limit);
    const std::string country = database::NameOfId(db.Countries, countryId);
    for (const Hit &h : hits)
        out.push_back({nullptr, h.place->Id, h.place->Nombre + " — " + country + " · en el archivo de datos",
                       h.place->Nombre});
    const std::size_t ownCount = out.size();
    for (AtlasMatch &m : SearchAtlas(atlas, typed, limit)) {
        m.placeId = PlaceOfCityInFile(db, *m.city);
        if (m.placeId >= 0) {
            m.text += " · en el archivo de datos";
            // A place listed already takes the city's text (region, population) and keeps its name.
            const auto listed = std::find_if(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(ownCount),
                                             [&m](const AtlasMatch &o) { return o.placeId == m.placeId; });
            if (listed != out.begin() + static_cast<std::ptrdiff_t>(ownCount)) {
                listed->city = m.city;
                listed->text = m.text;
                continue;
            }
        }
        out.push_back(std::move(m));
    }
    return out;
}

} // namespace cel::session
