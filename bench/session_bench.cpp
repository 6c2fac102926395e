// One date step of the main window showing a single wheel: both charts recomputed, the progression
// set and the aspect lists (the wheel repaint is measured with the graphics benchmarks); the review of
// the persons' stored zones against the zone history.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "example_workspace.h"
#include "session/atlas_place.h"
#include "session/date_entry.h"
#include "session/workspace.h"
#include "session/zone_review.h"
#include "zones/atlas.h"

namespace {

using namespace cel;

void BM_DateStep(benchmark::State &state) {
    session::Workspace w;
    bench::SetUpExampleCharts(w, EncodeDate(2024, 10, 17) + 8.0 / 24, false);
    w.choices.innerItem = static_cast<std::uint8_t>(state.range(0));
    w.choices.computeDispositors = true;
    TDateTime value = w.eventRecord.localDateTime;
    for (auto _ : state) {
        value = session::StepDateTime(value, session::StepUnit::Day, 1);
        w.ComputeChart(session::ChartSide::Natal, w.natalRecord.localDateTime, bench::kCali);
        w.ComputeChart(session::ChartSide::Event, value, bench::kCali);
        w.Recompute();
        benchmark::DoNotOptimize(w.aspects.eclipticBodies.size());
    }
}
// Inner item 1 (the natal lists only) and 3 (the transit item with itself as well).
BENCHMARK(BM_DateStep)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

} // namespace

namespace {

using namespace cel;

// The manager's review of stored zones over 10 000 persons born in local time at 50 of the atlas's
// largest cities, on dates from 1900 to 2020 (each place's zone looked up once, each birth read in its
// zone's history).
void BM_ZoneReview(benchmark::State &state) {
    const zones::Atlas &atlas = zones::SharedAtlas();
    database::Database db;
    const std::size_t cities = std::min<std::size_t>(50, atlas.Size());
    for (std::size_t i = 0; i < cities; ++i) {
        const zones::AtlasCity &c = atlas.Cities()[i];
        auto country = std::make_unique<database::TPais>();
        country->Id = static_cast<std::int32_t>(i);
        country->Nombre = c.countryName;
        db.Countries.push_back(std::move(country));
        auto place = std::make_unique<database::TLugar_Geo>();
        place->Id = static_cast<std::int32_t>(i);
        place->Nombre = c.name;
        place->IdPais = static_cast<std::int32_t>(i);
        place->Lat = c.latitude;
        place->Lon = c.longitudeWest;
        place->TZ = std::round(-c.longitudeWest / 15);
        db.Places.push_back(std::move(place));
    }
    for (std::int32_t i = 0; i < 10000; ++i) {
        auto p = std::make_unique<database::TPersona>();
        p->Id = i;
        p->Nombre = "Persona";
        p->IdLugarNac = cities > 0 ? i % static_cast<std::int32_t>(cities) : -1;
        p->IsDate = 1;
        p->IsHora = 1;
        p->HoraUT = 0;
        p->Fecha = EncodeDate(1900, 1, 1) + i * 4.383 + 0.37;
        db.Persons.push_back(std::move(p));
    }
    std::size_t listed = 0;
    for (auto _ : state) {
        const session::ZoneReview review = session::ReviewZones(db, atlas, nullptr);
        listed = review.rows.size();
        benchmark::DoNotOptimize(listed);
    }
    state.counters["listed"] = static_cast<double>(listed);
}
BENCHMARK(BM_ZoneReview)->Unit(benchmark::kMillisecond);

// One keystroke in the place editor's name: the atlas searched and the texts of the listed cities made.
void BM_AtlasListKeystroke(benchmark::State &state) {
    const zones::Atlas &atlas = zones::SharedAtlas();
    for (auto _ : state) {
        const std::vector<session::AtlasMatch> found = session::SearchAtlas(atlas, "san");
        benchmark::DoNotOptimize(found.size());
    }
}
BENCHMARK(BM_AtlasListKeystroke)->Unit(benchmark::kMicrosecond);

// One keystroke in the main window's place field: the country's places of a data file of 2 000 places
// (the atlas's largest cities, in their countries) and the atlas's cities, each city looked up among
// the file's places.
void BM_PlaceListKeystroke(benchmark::State &state) {
    const zones::Atlas &atlas = zones::SharedAtlas();
    database::Database db;
    std::map<std::string, std::int32_t> countries;
    for (std::size_t i = 0; i < std::min<std::size_t>(2000, atlas.Size()); ++i) {
        const zones::AtlasCity &c = atlas.Cities()[i];
        const auto [at, added] =
            countries.emplace(c.countryName, static_cast<std::int32_t>(countries.size()));
        if (added) {
            auto country = std::make_unique<database::TPais>();
            country->Id = at->second;
            country->Nombre = c.countryName;
            db.Countries.push_back(std::move(country));
        }
        auto place = std::make_unique<database::TLugar_Geo>();
        place->Id = static_cast<std::int32_t>(i);
        place->Nombre = c.name;
        place->IdPais = at->second;
        place->Lat = c.latitude;
        place->Lon = c.longitudeWest;
        db.Places.push_back(std::move(place));
    }
    const auto colombia = countries.find("Colombia");
    const std::int32_t country = colombia == countries.end() ? 0 : colombia->second;
    std::size_t listed = 0;
    for (auto _ : state) {
        const std::vector<session::AtlasMatch> found = session::SearchPlaces(db, country, atlas, "san");
        listed = found.size();
        benchmark::DoNotOptimize(listed);
    }
    state.counters["listed"] = static_cast<double>(listed);
}
BENCHMARK(BM_PlaceListKeystroke)->Unit(benchmark::kMicrosecond);

} // namespace
