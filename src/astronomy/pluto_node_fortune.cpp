#include "astronomy/pluto_node_fortune.h"

#include <cmath>

#include "astronomy/series.h"

namespace cel::astronomy {

namespace {

// Earth longitude and latitude referred to J2000.0, radians: ConstEarth's L0, L1 (less its first
// term) and B0 with the short J2000.0 lists.
void EarthJ2000(Real tau, Real &l, Real &b) {
    const double t = static_cast<double>(tau);
    const SeriesBlock &el = ConstEarth.l;
    const Real l0 = detail::SumCosTerms(el.terms, el.counts[0], t);
    const Real l1Rest = detail::SumCosTerms(el.terms + el.counts[0] + 1, el.counts[1] - 1, t);
    l = detail::EvaluateBlock(ConstEarthJ2000.l, tau) + l0 + l1Rest * tau;
    b = detail::EvaluateBlock(ConstEarthJ2000.b, tau) +
        detail::SumCosTerms(ConstEarth.b.terms, ConstEarth.b.counts[0], t);
}

} // namespace

Vector3 PlutoHeliocentric(Real jd) {
    const Real t = 2 * (jd - 2341972.5L) / 146120 - 1;
    const Real d = 73060 * t;
    const PlutoTables &p = ConstPlutoII;
    Real periodic[3] = {}, linear[3] = {}, quadratic[3] = {};
    for (int k = 0; k < 106; ++k) {
        // Sines and cosines in double precision: the terms are far smaller than the secular part.
        const double arg = static_cast<double>(p.frequency[k] * d);
        const Real c = std::cos(arg), s = std::sin(arg);
        Real *target = k < 82 ? periodic : k < 101 ? linear : quadratic;
        for (int i = 0; i < 3; ++i)
            target[i] += p.cosine[i][k] * c + p.sine[i][k] * s;
    }
    Real v[3];
    for (int i = 0; i < 3; ++i) {
        const double *a = p.polynomial[i];
        v[i] =
            (a[0] + t * (a[1] + t * (a[2] + t * a[3])) + periodic[i] + t * linear[i] + t * t * quadratic[i]) *
            1e-10L;
    }
    return {v[0], v[1], v[2]};
}

Ecliptic PlutoPosition(Real jd, Real obliquity, Real sunDistance) {
    return PlutoPosition(jd, obliquity, sunDistance, PlutoHeliocentric(jd));
}

Ecliptic PlutoPosition(Real jd, Real obliquity, Real sunDistance, const Vector3 &heliocentric) {
    // The Sun referred to the equator and equinox of J2000.0.
    const Real tau = (jd - 2451545) / 365250;
    Real earthL = 0, earthB = 0;
    EarthJ2000(tau, earthL, earthB);
    const Real l = Norm360(earthL * kRadToDeg);
    const Real b = SignedAngle(Norm360(earthB * kRadToDeg));
    Real theta = Norm360(l + 180);
    Real beta = -b;
    const Real bigT = 10 * tau;
    const Real lambdaPrime = (theta - 1.397L * bigT - 0.00031L * bigT * bigT) * kDegToRad;
    const Real deltaBeta = 1.087777e-5L * (std::cos(lambdaPrime) - std::sin(lambdaPrime));
    theta -= 2.509166667e-5L;
    beta += deltaBeta;
    const Real th = theta * kDegToRad, be = beta * kDegToRad;
    const Real x0 = sunDistance * std::cos(be) * std::cos(th);
    const Real y0 = sunDistance * std::cos(be) * std::sin(th);
    const Real z0 = sunDistance * std::sin(be);
    const Real sunX = x0 + 0.000000440360L * y0 - 0.000000190919L * z0;
    const Real sunY = -0.000000479966L * x0 + 0.917482137087L * y0 - 0.397776982902L * z0;
    const Real sunZ = 0.397776982902L * y0 + 0.917482137087L * z0;

    const Vector3 &pluto = heliocentric;
    const Real x = pluto.x + sunX, y = pluto.y + sunY, z = pluto.z + sunZ;
    const Real alpha0 = VectorAngle(x, y);
    const Real delta0 = ArcSin(z / std::sqrt(x * x + y * y + z * z));

    // Precession from J2000.0 to the equinox of date.
    const Real t = (jd - 2451545) / 36525;
    const Real arcsec = kDegToRad / 3600;
    const Real zeta = (2306.2181L * t + 0.30188L * t * t + 0.017998L * t * t * t) * arcsec;
    const Real zz = (2306.2181L * t + 1.09468L * t * t + 0.018203L * t * t * t) * arcsec;
    const Real thetaP = (2004.3109L * t - 0.42665L * t * t - 0.041833L * t * t * t) * arcsec;
    const Real a = std::cos(delta0) * std::sin(alpha0 + zeta);
    const Real bb =
        std::cos(thetaP) * std::cos(delta0) * std::cos(alpha0 + zeta) - std::sin(thetaP) * std::sin(delta0);
    const Real c =
        std::sin(thetaP) * std::cos(delta0) * std::cos(alpha0 + zeta) + std::cos(thetaP) * std::sin(delta0);
    const Real alpha = zz + VectorAngle(bb, a);
    const Real delta = ArcSin(c);

    const Real eps = obliquity * kDegToRad;
    Ecliptic result;
    result.longitude =
        VectorAngle(std::cos(alpha), std::sin(alpha) * std::cos(eps) + std::tan(delta) * std::sin(eps)) *
        kRadToDeg;
    result.latitude =
        ArcSin(std::sin(delta) * std::cos(eps) - std::cos(delta) * std::sin(eps) * std::sin(alpha)) *
        kRadToDeg;
    return result;
}

Real MeanNode(Real jd) {
    const Real t = (jd - 2451545) / 36525;
    const Real t2 = t * t;
    const Real omega =
        125.0445479L - 1934.1362891L * t + 0.0020754L * t2 + t2 * t / 467441 - t2 * t2 / 60616000;
    return Norm360(omega + Nutation(jd));
}

Real PartOfFortune(Real ascendant, Real sunLongitude, Real moonLongitude) {
    return Norm360(ascendant - sunLongitude + moonLongitude);
}

} // namespace cel::astronomy
