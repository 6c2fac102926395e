// The engine's own positions as functions of time for the searches: the moving bodies evaluated
// directly, the time line they run on (continuous days of Greenwich time) and its conversions.
#pragma once

#include "astronomy/angles.h"
#include "astronomy/planets.h"
#include "common/date_time.h"

namespace cel::timing {

using Real = astronomy::Real;

// Moving bodies searched over time: the Sun (1) .. Pluto (10) and the node (11), the chart's numbering.
inline constexpr int kFirstMovingBody = 1;
inline constexpr int kLastMovingBody = 11;

struct EclipticPoint {
    Real longitude = 0; // degrees 0..360
    Real latitude = 0;  // degrees
};

// Body 1..11 at jd (TT) exactly as the chart pipeline computes it.
EclipticPoint DirectPosition(int body, Real jd);
// The same for bodies 3..10 with the Sun of that instant already computed.
EclipticPoint DirectPosition(int body, Real jd, const astronomy::SunResult &sun);

// The time line of the searches: days from 1899-12-30 00:00 Greenwich time, running straight through
// that date (-0.25 is 1899-12-29 18:00), unlike a TDateTime before it.
Real ContinuousFromDateTime(TDateTime value);
TDateTime DateTimeFromContinuous(Real days);
// The chart engine's Julian Day (TT) for a Greenwich instant; Delta T is added when useDeltaT, as a chart
// does with its Delta T flag on.
Real EngineJulianDay(Real days, bool useDeltaT);
// Greenwich instant of an engine Julian Day (TT): the inverse of EngineJulianDay.
Real ContinuousFromEngineJulianDay(Real jd, bool useDeltaT);

// x reduced to (-180, 180].
Real Wrap180(Real x);
// x reduced to [0, 360).
Real Wrap360(Real x);

} // namespace cel::timing
