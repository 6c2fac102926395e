// Speed of the series evaluation and of one instant's complete set of bodies.
#include <benchmark/benchmark.h>

#include "astronomy/astronomy.h"
#include "astronomy/series.h"

using namespace cel::astronomy;

namespace {

constexpr Real kJd = 2451545.0L + 9876.54321L;

void BM_SeriesLBR(benchmark::State &state) {
    const auto body = static_cast<SeriesBody>(state.range(0));
    Real tau = (kJd - 2451545) / 365250;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SeriesLBR(body, tau));
        tau += 1e-9L;
    }
}
BENCHMARK(BM_SeriesLBR)->DenseRange(0, 7)->ArgName("body");

void BM_SunPosition(benchmark::State &state) {
    Real jd = kJd;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SunPosition(jd));
        jd += 1e-6L;
    }
}
BENCHMARK(BM_SunPosition);

void BM_PlanetPosition(benchmark::State &state) {
    const int body = static_cast<int>(state.range(0));
    const SunResult sun = SunPosition(kJd);
    for (auto _ : state)
        benchmark::DoNotOptimize(PlanetPosition(body, kJd, sun));
}
BENCHMARK(BM_PlanetPosition)->DenseRange(3, 9)->ArgName("body");

void BM_MoonPosition(benchmark::State &state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(MoonPosition(kJd));
}
BENCHMARK(BM_MoonPosition);

void BM_PlutoPosition(benchmark::State &state) {
    const Real eps = Obliquity(true, kJd);
    for (auto _ : state)
        benchmark::DoNotOptimize(PlutoPosition(kJd, eps, 1.0L));
}
BENCHMARK(BM_PlutoPosition);

// Sun, Moon, Mercury to Neptune with light time, Pluto, node and Part of Fortune for one instant.
void BM_AllBodiesOneInstant(benchmark::State &state) {
    Real jd = kJd;
    for (auto _ : state) {
        const Real eps = Obliquity(true, jd);
        const SunResult sun = SunPosition(jd);
        benchmark::DoNotOptimize(sun);
        const BodyPosition moon = MoonPosition(jd);
        for (int body = 3; body <= 9; ++body)
            benchmark::DoNotOptimize(PlanetPosition(body, jd, sun));
        benchmark::DoNotOptimize(PlutoPosition(jd, eps, sun.distance));
        benchmark::DoNotOptimize(MeanNode(jd));
        benchmark::DoNotOptimize(PartOfFortune(100, sun.longitude, moon.longitude));
        jd += 1e-6L;
    }
}
BENCHMARK(BM_AllBodiesOneInstant)->Unit(benchmark::kMicrosecond);

void BM_TopocentricCuspsAndMundane(benchmark::State &state) {
    for (auto _ : state) {
        const TopocentricResult c = TopocentricCusps(280.46L, 23.4377L, 51.4772L);
        std::array<MundaneInput, 13> bodies{};
        for (int n = 1; n <= 12; ++n)
            bodies[n] = {Real(n * 29), Real(n * 29 + 1), Real(n - 6)};
        benchmark::DoNotOptimize(MundanePositions(bodies, c.ecliptic, c.ascensional, 51.4772L));
    }
}
BENCHMARK(BM_TopocentricCuspsAndMundane);

} // namespace
