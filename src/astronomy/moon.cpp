#include "astronomy/moon.h"

#include <cmath>
#include <cstdlib>

#include "astronomy/earth_orientation.h"
#include "astronomy/tables/series_tables.h"

namespace cel::astronomy {

namespace {

struct Fundamentals {
    Real d, m, mp, f, e;
};

// Argument of a term in radians. The table's sines and cosines are taken in double precision
// (the coefficients are whole micro-degrees); the sums stay extended.
inline double Argument(const MoonTerm &term, const Fundamentals &a) {
    return static_cast<double>((term.d * a.d + term.m * a.m + term.mp * a.mp + term.f * a.f) * kDegToRad);
}

inline Real Factor(const MoonTerm &term, const Fundamentals &a) {
    const int m = std::abs(term.m);
    return m == 1 ? a.e : m == 2 ? a.e * a.e : 1;
}

} // namespace

BodyPosition MoonPosition(Real jd) {
    const Real t = (jd - 2451545) / 36525;
    const Real t2 = t * t, t3 = t2 * t, t4 = t3 * t;
    const Real lp =
        Norm360(218.3164477L + 481267.88123421L * t - 0.0015786L * t2 + t3 / 538841 - t4 / 65194000);
    Fundamentals a;
    a.d = Norm360(297.8501921L + 445267.1114034L * t - 0.0018819L * t2 + t3 / 545868 - t4 / 113065000);
    a.m = Norm360(357.5291092L + 35999.0502909L * t - 0.0001536L * t2 + t3 / 24490000);
    a.mp = Norm360(134.9633964L + 477198.8675055L * t + 0.0087414L * t2 + t3 / 69699 - t4 / 14712000);
    a.f = Norm360(93.2720950L + 483202.0175233L * t - 0.0036539L * t2 - t3 / 3526000 + t4 / 863310000);
    a.e = 1 - 0.002516L * t - 0.0000074L * t2;
    const Real a1 = Norm360(119.75L + 131.849L * t) * kDegToRad;
    const Real a2 = Norm360(53.09L + 479264.290L * t) * kDegToRad;
    const Real a3 = Norm360(313.45L + 481266.484L * t) * kDegToRad;

    Real sumL = 0, sumR = 0, sumB = 0;
    for (const MoonTerm &term : ConstMoon.longitude)
        sumL += term.coefficient * Factor(term, a) * std::sin(Argument(term, a));
    for (const MoonTerm &term : ConstMoon.distance)
        sumR += term.coefficient * Factor(term, a) * std::cos(Argument(term, a));
    for (const MoonTerm &term : ConstMoon.latitude)
        sumB += term.coefficient * Factor(term, a) * std::sin(Argument(term, a));

    const Real lpr = lp * kDegToRad, fr = a.f * kDegToRad, mpr = a.mp * kDegToRad;
    sumL += 3958 * std::sin(a1) + 1962 * std::sin(lpr - fr) + 318 * std::sin(a2);
    sumB += -2235 * std::sin(lpr) + 382 * std::sin(a3) + 175 * std::sin(a1 - fr) + 175 * std::sin(a1 + fr) +
            127 * std::sin(lpr - mpr) - 115 * std::sin(lpr + mpr);

    BodyPosition moon;
    moon.longitude = Norm360(Nutation(jd) + lp + sumL * 1e-6L);
    moon.latitude = sumB * 1e-6L;
    moon.distance = 385000.56L + sumR * 0.001L;
    return moon;
}

} // namespace cel::astronomy
