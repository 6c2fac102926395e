// The atlas and the zone history at the speed a user meets them: one search per keystroke over every
// city, and the zone of a place with the offset in force at a date.
#include <benchmark/benchmark.h>

#include <memory>

#include "zones/atlas.h"
#include "zones/place_zones.h"
#include "zones/zone_history.h"

namespace {

using namespace cel;

// Typing a name letter by letter: each iteration is one keystroke's search (at most 50 results).
void BM_AtlasSearchKeystroke(benchmark::State &state) {
    const zones::Atlas &atlas = zones::SharedAtlas();
    const char *typed[] = {"s", "sa", "san", "san ", "san j", "san jo", "san jos", "san jose"};
    std::size_t k = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(atlas.Search(typed[k], "", 50));
        k = (k + 1) % std::size(typed);
    }
    state.counters["cities"] = static_cast<double>(atlas.Size());
}
BENCHMARK(BM_AtlasSearchKeystroke)->Unit(benchmark::kMicrosecond);

// The worst keystroke: a text found in no name, so every city of the atlas is looked at.
void BM_AtlasSearchNoMatch(benchmark::State &state) {
    const zones::Atlas &atlas = zones::SharedAtlas();
    for (auto _ : state)
        benchmark::DoNotOptimize(atlas.Search("qxz", "", 50));
}
BENCHMARK(BM_AtlasSearchNoMatch)->Unit(benchmark::kMicrosecond);

// Reading the atlas file (once per program run, on first use).
void BM_AtlasLoad(benchmark::State &state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(zones::Atlas::Load(zones::AtlasFile()));
}
BENCHMARK(BM_AtlasLoad)->Unit(benchmark::kMillisecond);

// A place of the country with the most atlas cities (the United States) and one of Colombia: its zone
// from the nearest atlas city of its country, then the offset in force at a local date-time.
void ZoneOfPlaceAndOffset(benchmark::State &state, const char *country, double lat, double lonWest) {
    const zones::Atlas &atlas = zones::SharedAtlas();
    database::Database db;
    auto pais = std::make_unique<database::TPais>();
    pais->Id = 1;
    pais->Nombre = country;
    db.Countries.push_back(std::move(pais));
    auto place = std::make_unique<database::TLugar_Geo>();
    place->Id = 1;
    place->IdPais = 1;
    place->Nombre = "Lugar";
    place->Lat = lat;
    place->Lon = lonWest;
    db.Places.push_back(std::move(place));
    zones::PlaceZoneChoices choices;
    const TDateTime local = EncodeDateTime({1990, 7, 10, 19, 7, 0, 0});
    for (auto _ : state) {
        const zones::PlaceZone zone = zones::ZoneOfPlace(db, *db.Places[0], atlas, &choices);
        benchmark::DoNotOptimize(zones::ReadLocal(zone.zoneId, local, lonWest));
    }
}
void BM_ZoneOfPlaceAndOffsetUnitedStates(benchmark::State &state) {
    ZoneOfPlaceAndOffset(state, "Estados Unidos", 40.7128, 74.006);
}
void BM_ZoneOfPlaceAndOffsetColombia(benchmark::State &state) {
    ZoneOfPlaceAndOffset(state, "Colombia", 7.82, 72.455);
}
BENCHMARK(BM_ZoneOfPlaceAndOffsetUnitedStates)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ZoneOfPlaceAndOffsetColombia)->Unit(benchmark::kMicrosecond);

// The offset alone, for a zone already known.
void BM_OffsetAtLocalDate(benchmark::State &state) {
    const TDateTime local = EncodeDateTime({1990, 7, 10, 19, 7, 0, 0});
    for (auto _ : state)
        benchmark::DoNotOptimize(zones::ReadLocal("Europe/Madrid", local, 3.7));
}
BENCHMARK(BM_OffsetAtLocalDate)->Unit(benchmark::kMicrosecond);

} // namespace
