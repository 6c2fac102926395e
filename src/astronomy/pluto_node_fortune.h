// Pluto (Chapront-Francou representation, precessed to the equinox of date), the mean lunar node
// and the Part of Fortune.
#pragma once

#include "astronomy/earth_orientation.h"

namespace cel::astronomy {

// Heliocentric rectangular J2000.0 equatorial coordinates of Pluto, AU.
struct Vector3 {
    Real x = 0, y = 0, z = 0;
};
Vector3 PlutoHeliocentric(Real jd);

// Pluto's longitude and latitude of date; obliquity is the true obliquity, sunDistance from SunPosition.
Ecliptic PlutoPosition(Real jd, Real obliquity, Real sunDistance);
// The same with Pluto's heliocentric position at jd given by the caller (a search's fit of it).
Ecliptic PlutoPosition(Real jd, Real obliquity, Real sunDistance, const Vector3 &heliocentric);

// Mean ascending node of the Moon with the nutation in longitude, degrees.
Real MeanNode(Real jd);
Real PartOfFortune(Real ascendant, Real sunLongitude, Real moonLongitude);

// Latitude given to the node and the Part of Fortune.
inline constexpr Real kPointLatitude = 1e-12L;

} // namespace cel::astronomy
