#include "astronomy/planets.h"

#include <cmath>

#include "astronomy/earth_orientation.h"
#include "astronomy/series.h"

namespace cel::astronomy {

namespace {
constexpr Real kFk5Longitude = 2.509166667e-5L; // 0.09033"
constexpr Real kFk5Latitude = 1.087777778e-5L;  // 0.03916"
constexpr Real kSunFk5Latitude = 1.087777e-5L;  // 0.03916" as the Sun's reduction writes it
constexpr Real kSunAberration = 0.00569161111L; // 20.4898"
constexpr Real kLightTimeDaysPerAu = 0.0057755183L;
constexpr Real kAberration = 0.0056932L; // 20.49552"
constexpr int kLightTimePassLimit = 100; // guards against a non-converging input only
} // namespace

SunResult SunPosition(Real jd) {
    const Real tau = (jd - 2451545) / 365250;
    const Lbr earth = SeriesLBR(SeriesBody::Earth, tau);
    SunResult sun;
    sun.earthL0 = earth.l * kDegToRad;
    sun.earthR0 = earth.r;
    const Real theta = Norm360(earth.l + 180);
    const Real beta = -earth.b;
    const Real t = 10 * tau;
    const Real lambdaPrime = (theta - 1.397L * t - 0.00031L * t * t) * kDegToRad;
    const Real deltaBeta = kSunFk5Latitude * (std::cos(lambdaPrime) - std::sin(lambdaPrime));
    const Real nutation = Nutation(jd);
    sun.trueLongitudePlusNutation = Norm360(theta) + nutation;
    sun.longitude = Norm360(nutation + theta - kFk5Longitude - kSunAberration / earth.r);
    sun.latitude = beta + deltaBeta;
    sun.distance = earth.r;
    sun.earthB0 = -sun.latitude * kDegToRad;
    return sun;
}

BodyPosition PlanetPosition(int body, Real jd, const SunResult &sun) {
    const SeriesBody series = static_cast<SeriesBody>(body - 2); // 3 Mercury .. 9 Neptune
    return PlanetPosition(body, jd, sun, Nutation(jd), [series](Real tau) { return SeriesLBR(series, tau); });
}

BodyPosition PlanetPosition(int, Real jd, const SunResult &sun, Real nutation,
                            const HeliocentricSeries &series) {
    Real lightTime = 0;
    Real previous = 0;
    Real t = 0;
    Real x = 0, y = 0, z = 0, delta = 0;
    const Real cosB0 = std::cos(sun.earthB0);
    const Real earthX = sun.earthR0 * cosB0 * std::cos(sun.earthL0);
    const Real earthY = sun.earthR0 * cosB0 * std::sin(sun.earthL0);
    const Real earthZ = sun.earthR0 * std::sin(sun.earthB0);
    int passes = 0;
    do {
        previous = lightTime;
        t = (jd - lightTime - 2451545) / 365250;
        const Lbr p = series(t);
        const Real bigT = 10 * t;
        const Real lambdaPrime = (p.l - 1.397L * bigT - 0.00031L * bigT * bigT) * kDegToRad;
        const Real c = std::cos(lambdaPrime), s = std::sin(lambdaPrime);
        const Real l = (p.l - kFk5Longitude + kFk5Latitude * (c + s) * std::tan(p.b * kDegToRad)) * kDegToRad;
        const Real b = (p.b + kFk5Latitude * (c - s)) * kDegToRad;
        x = p.r * std::cos(b) * std::cos(l) - earthX;
        y = p.r * std::cos(b) * std::sin(l) - earthY;
        z = p.r * std::sin(b) - earthZ;
        delta = std::sqrt(x * x + y * y + z * z);
        lightTime = kLightTimeDaysPerAu * delta;
    } while (std::fabs(lightTime - previous) >= 1e-7L && ++passes < kLightTimePassLimit);

    const Real lambda = VectorAngle(x, y) * kRadToDeg;
    const Real beta = SignedAngle(VectorAngle(std::sqrt(x * x + y * y), z) * kRadToDeg);

    const Real bigT = 10 * t;
    const Real e = 0.016708634L - 0.000042037L * bigT - 0.0000001267L * bigT * bigT;
    const Real pi = (102.93735L + 1.71946L * bigT + 0.00046L * bigT * bigT) * kDegToRad;
    const Real sunLambda = sun.longitude * kDegToRad;
    const Real lam = lambda * kDegToRad;
    const Real bet = beta * kDegToRad;
    BodyPosition r;
    r.longitude =
        nutation + lambda +
        (-kAberration * std::cos(sunLambda - lam) + e * kAberration * std::cos(pi - lam)) / std::cos(bet);
    r.latitude = beta - kAberration * std::sin(bet) * (std::sin(sunLambda - lam) - e * std::sin(pi - lam));
    if (r.longitude >= 360)
        r.longitude -= 360;
    else if (r.longitude < 0)
        r.longitude += 360;
    r.distance = delta;
    return r;
}

} // namespace cel::astronomy
