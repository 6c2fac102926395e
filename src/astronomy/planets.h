// The Sun and Mercury to Neptune from the complete VSOP87D series with the FK5 correction,
// light time, aberration and nutation in longitude.
#pragma once

#include "astronomy/angles.h"

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

} // namespace cel::astronomy
