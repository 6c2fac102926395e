#include "astronomy/earth_orientation.h"

#include <cmath>

namespace cel::astronomy {

namespace {

struct NutationArguments {
    Real t, omega, l, lp;
};

NutationArguments Arguments(Real jd) {
    NutationArguments a;
    a.t = (jd - 2451545) / 36525;
    const Real t = a.t;
    a.omega = Norm360(125.04452L - 1934.136261L * t + 0.0020708L * t * t + t * t * t / 450000) * kDegToRad;
    a.l = Norm360(280.4665L + 36000.7698L * t) * kDegToRad;
    a.lp = Norm360(218.3165L + 481267.8813L * t) * kDegToRad;
    return a;
}

} // namespace

Real Nutation(Real jd) {
    const NutationArguments a = Arguments(jd);
    return -0.004777777778L * std::sin(a.omega) - 0.0003666666667L * std::sin(2 * a.l) -
           0.00006388888889L * std::sin(2 * a.lp) + 0.00005833333333L * std::sin(2 * a.omega);
}

Real Obliquity(bool trueObliquity, Real jd) {
    const NutationArguments a = Arguments(jd);
    const Real t = a.t;
    Real eps = 23.43929111L - t * (46.815L / 3600 + 0.00059L * t / 3600 - 0.001813L * t * t / 3600);
    if (trueObliquity)
        eps += 0.002555555556L * std::cos(a.omega) + 0.000158333333L * std::cos(2 * a.l) +
               0.00002777777778L * std::cos(2 * a.lp) - 0.000025L * std::cos(2 * a.omega);
    return eps;
}

Real SiderealTime(Real jdUt) {
    const Real t = (jdUt - 2451545) / 36525;
    const Real theta =
        280.46061837L + 360.98564736629L * (jdUt - 2451545) + t * t * (0.000387933L - t / 38710000);
    return Norm360(theta) / 15;
}

Real Armc(Real longitude, Real siderealHours) {
    return Norm360((siderealHours - longitude / 15) * 15);
}

EquationOfTimeResult EquationOfTime(Real sunRightAscension, Real obliquity, Real jd) {
    const Real tau = (jd - 2451545) / 365250;
    const Real tau2 = tau * tau;
    const Real l0 = Norm360(280.4664567L + 360007.6982779L * tau + 0.03032028L * tau2 + tau2 * tau / 49931 -
                            tau2 * tau2 / 15300 - tau2 * tau2 * tau / 2000000);
    Real e = l0 - 0.0057183L - sunRightAscension + Nutation(jd) * std::cos(obliquity * kDegToRad);
    while (e > 180)
        e -= 360;
    while (e < -180)
        e += 360;
    return {e * 4 / 1440, l0};
}

Real VectorAngle(Real x, Real y) {
    if (x > 0)
        return y >= 0 ? std::atan(y / x) : std::atan(y / x) + 2 * kPi;
    if (x < 0)
        return std::atan(y / x) + kPi;
    if (y > 0)
        return kPi / 2;
    if (y < 0)
        return 3 * kPi / 2;
    return 0; // the zero vector: a fixed angle of 0
}

Real ArcSin(Real z) {
    const Real c = 1 - z * z;
    return std::atan2(z, std::sqrt(c > 0 ? c : 0));
}

Equatorial EclipticToEquatorial(Real obliquity, Real latitude, Real longitude) {
    const Real e = obliquity * kDegToRad, b = latitude * kDegToRad, l = longitude * kDegToRad;
    Equatorial q;
    q.rightAscension =
        VectorAngle(std::cos(l), std::sin(l) * std::cos(e) - std::tan(b) * std::sin(e)) * kRadToDeg;
    q.declination = ArcSin(std::sin(b) * std::cos(e) + std::cos(b) * std::sin(e) * std::sin(l)) * kRadToDeg;
    return q;
}

Ecliptic EquatorialToEcliptic(Real obliquity, Real declination, Real rightAscension) {
    const Real e = obliquity * kDegToRad, d = declination * kDegToRad, a = rightAscension * kDegToRad;
    Ecliptic c;
    c.longitude = VectorAngle(std::cos(a), std::sin(a) * std::cos(e) + std::tan(d) * std::sin(e)) * kRadToDeg;
    c.latitude = ArcSin(std::sin(d) * std::cos(e) - std::cos(d) * std::sin(e) * std::sin(a)) * kRadToDeg;
    return c;
}

} // namespace cel::astronomy
