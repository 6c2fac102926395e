// The Sun and Mercury to Neptune from the complete VSOP87D series with the FK5 correction,
// light time, aberration and nutation in longitude.
#pragma once

#include <functional>

#include "astronomy/angles.h"
#include "astronomy/series.h"

namespace cel::astronomy {

struct SunResult {
    Real longitude = 0;                 // apparent longitude, degrees
    Real latitude = 0;                  // degrees
    Real distance = 0;                  // AU
    Real trueLongitudePlusNutation = 0; // degrees, not corrected for aberration
    Real earthL0 = 0;                   // heliocentric longitude of the Earth, radians
    Real earthB0 = 0;                   // heliocentric latitude with FK5, radians
    Real earthR0 = 0;                   // AU
};
SunResult SunPosition(Real jd);

struct BodyPosition {
    Real longitude = 0; // degrees 0..360
    Real latitude = 0;  // degrees
    Real distance = 0;  // AU (km for the Moon)
};

// Planet number 3 (Mercury) .. 9 (Neptune) at jd (TT), using the Sun of the same instant.
BodyPosition PlanetPosition(int body, Real jd, const SunResult &sun);

// The same with the nutation in longitude of jd and the planet's heliocentric L, B, R (as a function of tau,
// Julian millennia of TT from J2000.0) given by the caller: a search that fits the series once over a span
// uses the fit for every instant in it.
using HeliocentricSeries = std::function<Lbr(Real tau)>;
BodyPosition PlanetPosition(int body, Real jd, const SunResult &sun, Real nutation,
                            const HeliocentricSeries &series);

} // namespace cel::astronomy
