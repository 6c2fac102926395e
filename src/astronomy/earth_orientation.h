// Nutation, obliquity, sidereal time, ARMC, the equation of time and coordinate conversions.
#pragma once

#include "astronomy/angles.h"

namespace cel::astronomy {

// Nutation in longitude, degrees (Meeus 22, reduced form); jd in TT.
Real Nutation(Real jd);
// Obliquity of the ecliptic, degrees: mean, or true (mean plus nutation in obliquity).
Real Obliquity(bool trueObliquity, Real jd);
// Greenwich mean sidereal time in hours 0..24; jd in UT.
Real SiderealTime(Real jdUt);
// Right ascension of the meridian, degrees; longitude positive west.
Real Armc(Real longitude, Real siderealHours);

struct EquationOfTimeResult {
    Real days = 0;             // equation of time, fraction of a day
    Real sunMeanLongitude = 0; // L0, degrees
};
EquationOfTimeResult EquationOfTime(Real sunRightAscension, Real obliquity, Real jd);

struct Equatorial {
    Real rightAscension = 0; // 0..360
    Real declination = 0;
};
struct Ecliptic {
    Real longitude = 0; // 0..360
    Real latitude = 0;
};

Equatorial EclipticToEquatorial(Real obliquity, Real latitude, Real longitude);
Ecliptic EquatorialToEcliptic(Real obliquity, Real declination, Real rightAscension);

// Angle of the vector (x, y) in radians on [0, 2pi); the zero vector's angle is 0.
Real VectorAngle(Real x, Real y);
// arcsin computed as arctan2(z, sqrt(1 - z^2)), radians.
Real ArcSin(Real z);

} // namespace cel::astronomy
