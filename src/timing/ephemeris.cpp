#include "timing/ephemeris.h"

#include <cmath>

#include "astronomy/earth_orientation.h"
#include "astronomy/moon.h"
#include "astronomy/planets.h"
#include "astronomy/pluto_node_fortune.h"
#include "astronomy/time_scales.h"

namespace cel::timing {

using namespace cel::astronomy;

namespace {
constexpr Real kJulianDayOfZero = 2415018.5L; // 1899-12-30 00:00
} // namespace

EclipticPoint DirectPosition(int body, Real jd) {
    if (body == 2) {
        const BodyPosition moon = MoonPosition(jd);
        return {moon.longitude, moon.latitude};
    }
    if (body == 11)
        return {MeanNode(jd), kPointLatitude};
    const SunResult sun = SunPosition(jd);
    if (body == 1)
        return {sun.longitude, sun.latitude};
    return DirectPosition(body, jd, sun);
}

EclipticPoint DirectPosition(int body, Real jd, const SunResult &sun) {
    if (body == 10) {
        const Ecliptic pluto = PlutoPosition(jd, Obliquity(true, jd), sun.distance);
        return {pluto.longitude, pluto.latitude};
    }
    const BodyPosition p = PlanetPosition(body, jd, sun);
    return {p.longitude, p.latitude};
}

Real ContinuousFromDateTime(TDateTime value) {
    if (value >= 0)
        return value;
    const Real whole = std::trunc(static_cast<Real>(value));
    return whole - (static_cast<Real>(value) - whole); // -1.25 is day -1 at 06:00: -0.75
}

TDateTime DateTimeFromContinuous(Real days) {
    if (days >= 0)
        return static_cast<TDateTime>(days);
    const Real day = std::floor(days);
    const Real fraction = days - day;
    if (day == 0)
        return static_cast<TDateTime>(fraction);
    return static_cast<TDateTime>(day - fraction);
}

Real EngineJulianDay(Real days, bool useDeltaT) {
    Real jd = days + kJulianDayOfZero;
    if (useDeltaT)
        jd += static_cast<float>(DeltaT(DateTimeFromContinuous(days))) / 86400.0f;
    return jd;
}

Real ContinuousFromEngineJulianDay(Real jd, bool useDeltaT) {
    Real days = jd - kJulianDayOfZero;
    if (!useDeltaT)
        return days;
    for (int i = 0; i < 3; ++i)
        days = jd - kJulianDayOfZero - static_cast<float>(DeltaT(DateTimeFromContinuous(days))) / 86400.0f;
    return days;
}

Real Wrap180(Real x) {
    if (x > -180 && x <= 180)
        return x;
    if (x > 180 && x <= 540)
        return x - 360;
    if (x > -540 && x <= -180)
        return x + 360;
    Real y = std::fmod(x, 360.0L);
    if (y > 180)
        y -= 360;
    else if (y <= -180)
        y += 360;
    return y;
}

Real Wrap360(Real x) {
    if (x >= 0 && x < 360)
        return x;
    if (x >= 360 && x < 720)
        return x - 360;
    if (x >= -360 && x < 0) {
        const Real y = x + 360;
        return y >= 360 ? 0 : y;
    }
    Real y = std::fmod(x, 360.0L);
    if (y < 0)
        y += 360;
    if (y >= 360)
        y = 0;
    return y;
}

} // namespace cel::timing
