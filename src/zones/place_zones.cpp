#include "zones/place_zones.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

#include "common/safe_file.h"

namespace cel::zones {

namespace {

std::string Clean(std::string text) {
    for (char &c : text)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return text;
}

std::string Coordinate(double degrees) {
    char buffer[32];
    const double rounded = std::round(degrees * 10000.0) / 10000.0;
    std::snprintf(buffer, sizeof buffer, "%.4f", rounded == 0 ? 0.0 : rounded); // no "-0.0000"
    return buffer;
}

// The key as text: country, name, latitude, longitude, separated by tabs.
std::string KeyText(const PlaceKey &key) {
    return Clean(key.country) + '\t' + Clean(key.name) + '\t' + Coordinate(key.latitude) + '\t' +
           Coordinate(key.longitudeWest);
}

} // namespace

PlaceKey KeyOf(const database::Database &db, const database::TLugar_Geo &place) {
    PlaceKey key;
    const int country = database::IndexOfId(db.Countries, place.IdPais);
    key.country = country < 0 ? std::string() : db.Countries[country]->Nombre;
    key.name = place.Nombre;
    key.latitude = static_cast<double>(place.Lat);
    key.longitudeWest = static_cast<double>(place.Lon);
    return key;
}

// The file: UTF-8 text, one choice a line: zone id, country, place name, latitude, longitude (west
// positive), separated by tabs; "#" begins a comment line.
bool PlaceZoneChoices::Load(const std::filesystem::path &file, std::string *error) {
    choices_.clear();
    unreadable_ = false;
    std::error_code ec;
    if (!std::filesystem::exists(file, ec))
        return true;
    std::string text;
    try {
        text = ReadWholeFile(file.string());
    } catch (const std::exception &e) {
        unreadable_ = true;
        if (error)
            *error = e.what();
        return false;
    }
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line.front() == '#')
            continue;
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos || tab == 0)
            continue; // a line that is no choice is left out, the others kept
        choices_[line.substr(tab + 1)] = line.substr(0, tab);
    }
    return true;
}

bool PlaceZoneChoices::Save(const std::filesystem::path &file, std::string *error) const {
    if (unreadable_) {
        if (error)
            *error = "el archivo de zonas de lugares no se pudo leer; no se reemplaza: " + file.string();
        return false;
    }
    std::string text =
        "# Zonas horarias elegidas para lugares: zona, país, lugar, latitud, longitud (oeste +)\n";
    for (const auto &[key, zone] : choices_)
        text += zone + '\t' + key + '\n';
    try {
        std::error_code ec;
        if (file.has_parent_path())
            std::filesystem::create_directories(file.parent_path(), ec);
        WriteFileSafely(file.string(), text);
    } catch (const std::exception &e) {
        if (error)
            *error = e.what();
        return false;
    }
    return true;
}

std::optional<std::string> PlaceZoneChoices::Get(const PlaceKey &key) const {
    const auto it = choices_.find(KeyText(key));
    if (it == choices_.end())
        return std::nullopt;
    return it->second;
}

void PlaceZoneChoices::Set(const PlaceKey &key, const std::string &zoneId) {
    if (zoneId.empty())
        choices_.erase(KeyText(key));
    else
        choices_[KeyText(key)] = Clean(zoneId);
}

std::filesystem::path DefaultChoicesFile() {
    std::filesystem::path base;
    if (const char *xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/')
        base = xdg;
    else if (const char *home = std::getenv("HOME"); home != nullptr && *home != '\0')
        base = std::filesystem::path(home) / ".config";
    else
        base = std::filesystem::temp_directory_path();
    return base / "celestigrafo" / "zonas-de-lugares.txt";
}

PlaceZone DerivedZone(const Atlas &atlas, double latitude, double longitudeWest, const std::string &country) {
    PlaceZone out;
    const NearestCity nearest = atlas.Nearest(latitude, longitudeWest, country);
    if (!nearest.city)
        return out;
    out.zoneId = nearest.city->zoneId;
    out.city = nearest.city;
    out.distanceKm = nearest.distanceKm;
    out.source = nearest.sameCountry ? PlaceZoneSource::Atlas : PlaceZoneSource::AtlasNearby;
    return out;
}

PlaceZone ZoneOfPlace(const database::Database &db, const database::TLugar_Geo &place, const Atlas &atlas,
                      const PlaceZoneChoices *choices) {
    const PlaceKey key = KeyOf(db, place);
    if (choices)
        if (std::optional<std::string> chosen = choices->Get(key)) {
            PlaceZone out;
            out.zoneId = *chosen;
            out.source = PlaceZoneSource::Chosen;
            return out;
        }
    return DerivedZone(atlas, key.latitude, key.longitudeWest, key.country);
}

} // namespace cel::zones
