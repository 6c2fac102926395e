#include <gtest/gtest.h>

#include <cmath>

#include "astronomy/astronomy.h"
#include "astronomy/series.h"

using namespace cel::astronomy;

namespace {
double D(Real x) {
    return static_cast<double>(x);
}
constexpr double kArcsec = 1.0 / 3600;
} // namespace

TEST(EarthOrientation, MeeusExamples) {
    // Meeus 12.a: 13h 10m 46.3668s.
    EXPECT_NEAR(D(SiderealTime(2446895.5L)), 13 + 10 / 60.0 + 46.3668 / 3600, 1e-8);
    EXPECT_NEAR(D(Obliquity(false, 2451545.0L)), 23.43929111, 1e-9);
    EXPECT_NEAR(D(Armc(-15, 0)), 15, 1e-12);
    EXPECT_NEAR(D(Armc(15, 0)), 345, 1e-12);
    const Equatorial q = EclipticToEquatorial(23.44L, 0, 270);
    EXPECT_NEAR(D(q.rightAscension), 270, 1e-9);
    const Ecliptic e = EquatorialToEcliptic(23.44L, q.declination, q.rightAscension);
    EXPECT_NEAR(D(e.longitude), 270, 1e-9);
    EXPECT_NEAR(D(e.latitude), 0, 1e-9);
}

TEST(EarthOrientation, VectorAngleQuadrantsAndZero) {
    EXPECT_EQ(VectorAngle(1, 0), 0);
    EXPECT_NEAR(D(VectorAngle(0, 1)), M_PI / 2, 1e-15);
    EXPECT_NEAR(D(VectorAngle(-1, 0)), M_PI, 1e-15);
    EXPECT_NEAR(D(VectorAngle(0, -1)), 3 * M_PI / 2, 1e-15);
    EXPECT_NEAR(D(VectorAngle(1, -1)), 7 * M_PI / 4, 1e-15);
    EXPECT_EQ(VectorAngle(0, 0), 0);
}

TEST(EarthOrientation, EquationOfTimeMeeus28b) {
    const Real jd = 2448908.5L;
    const Real eps = Obliquity(true, jd);
    const SunResult sun = SunPosition(jd);
    const Equatorial q = EclipticToEquatorial(eps, sun.latitude, sun.longitude);
    EXPECT_NEAR(D(q.rightAscension), 198.3782, 5e-5);
    const EquationOfTimeResult e = EquationOfTime(q.rightAscension, eps, jd);
    EXPECT_NEAR(D(e.sunMeanLongitude), 201.8072, 5e-5);
    EXPECT_NEAR(D(e.days), 0.0095206, 5e-8);
}

TEST(EarthOrientation, EquationOfTimeAcrossTheEquinoxWrap) {
    // L0 has wrapped past 360 while the Sun's right ascension is still just below it.
    const Real jd = JulianDay(2024, 3, 20.0L);
    const Real eps = Obliquity(true, jd);
    const SunResult sun = SunPosition(jd);
    const Equatorial q = EclipticToEquatorial(eps, sun.latitude, sun.longitude);
    const EquationOfTimeResult e = EquationOfTime(q.rightAscension, eps, jd);
    EXPECT_LT(std::fabs(D(e.days)), 20.0 / 1440);
}

TEST(Sun, MeeusValues) {
    const SunResult a = SunPosition(2451545.0L);
    EXPECT_NEAR(D(Norm360(a.earthL0 * kRadToDeg + 180)), 280.3778, 5e-5);
    EXPECT_NEAR(D(a.trueLongitudePlusNutation), 280.3739, 5e-5);
    EXPECT_NEAR(D(a.longitude), 280.3681, 5e-5);
    EXPECT_NEAR(D(a.distance), 0.983328, 5e-7);

    const SunResult b = SunPosition(2448908.5L);
    EXPECT_NEAR(D(b.longitude), 199.9060, 5e-5);
    EXPECT_NEAR(D(b.latitude) / kArcsec, 0.72, 0.005);
    EXPECT_NEAR(D(b.distance), 0.997609, 5e-7);
}

TEST(Planets, VenusMeeus33a) {
    const Real jd = 2448976.5L;
    const BodyPosition v = PlanetPosition(4, jd, SunPosition(jd));
    EXPECT_NEAR(D(v.longitude), 313.0814, 5e-5);
    EXPECT_NEAR(D(v.latitude), -2.0848, 5e-5);
    EXPECT_NEAR(D(v.distance), 0.910948, 5e-7);
}

TEST(Planets, SecondCallIsBitIdenticalAndLongitudesStayOnTheCircle) {
    for (Real jd : {2451545.0L, 2415020.5L, 2488069.5L, 1721425.5L, 5373484.5L}) {
        const SunResult sun = SunPosition(jd);
        const SunResult again = SunPosition(jd);
        EXPECT_EQ(sun.longitude, again.longitude);
        EXPECT_EQ(sun.distance, again.distance);
        for (int body = 3; body <= 9; ++body) {
            const BodyPosition p = PlanetPosition(body, jd, sun);
            const BodyPosition q = PlanetPosition(body, jd, sun);
            EXPECT_EQ(p.longitude, q.longitude);
            EXPECT_EQ(p.latitude, q.latitude);
            EXPECT_GE(p.longitude, 0);
            EXPECT_LT(p.longitude, 360);
            EXPECT_LE(std::fabs(D(p.latitude)), 90);
        }
    }
}

namespace {

// The same series summed with extended-precision cosines, as a reference for the fast kernel.
Real ReferenceBlock(const SeriesBlock &block, Real tau) {
    Real value = 0, power = 1;
    const SeriesTerm *terms = block.terms;
    for (int k = 0; k < block.powers; ++k) {
        Real sum = 0;
        for (int i = 0; i < block.counts[k]; ++i)
            sum += terms[i].a * std::cos(static_cast<Real>(terms[i].b) + static_cast<Real>(terms[i].c) * tau);
        value += sum * power;
        power *= tau;
        terms += block.counts[k];
    }
    return value;
}

} // namespace

TEST(Series, FastEvaluationAgreesWithExtendedPrecision) {
    const SeriesBody bodies[] = {SeriesBody::Earth,  SeriesBody::Mercury, SeriesBody::Venus,
                                 SeriesBody::Mars,   SeriesBody::Jupiter, SeriesBody::Saturn,
                                 SeriesBody::Uranus, SeriesBody::Neptune};
    for (SeriesBody body : bodies) {
        for (Real tau : {-0.99L, -0.1L, 0.0L, 0.0123456789L, 0.5L, 2.9L}) {
            const Lbr fast = SeriesLBR(body, tau);
            const VsopBody &t = TablesOf(body);
            const Real l = Norm360(ReferenceBlock(t.l, tau) * kRadToDeg);
            const Real b = SignedAngle(Norm360(ReferenceBlock(t.b, tau) * kRadToDeg));
            const Real r = ReferenceBlock(t.r, tau);
            // 1e-8 degree is 36 micro-arcseconds, far below any displayed figure.
            EXPECT_NEAR(D(fast.l), D(l), 1e-8);
            EXPECT_NEAR(D(fast.b), D(b), 1e-8);
            EXPECT_NEAR(D(fast.r), D(r), 1e-12);
        }
    }
}

TEST(Moon, Meeus47a) {
    const BodyPosition m = MoonPosition(2448724.5L);
    EXPECT_NEAR(D(m.longitude), 133.16723, 5e-6);
    EXPECT_NEAR(D(m.latitude), -3.229126, 5e-7);
    EXPECT_NEAR(D(m.distance), 368409.7, 0.05);
}

TEST(Pluto, ChaprontFrancouExample) {
    const Real jd = 2448908.5L;
    const Vector3 h = PlutoHeliocentric(jd);
    EXPECT_NEAR(D(h.x), -17.40841, 5e-6);
    EXPECT_NEAR(D(h.y), -23.97325, 5e-6);
    EXPECT_NEAR(D(h.z), -2.23740, 5e-6);
    const SunResult sun = SunPosition(jd);
    const Ecliptic p = PlutoPosition(jd, Obliquity(true, jd), sun.distance);
    EXPECT_NEAR(D(p.longitude), 231.5949, 5e-5);
    EXPECT_NEAR(D(p.latitude), 14.1895, 5e-5);
}

TEST(NodeAndFortune, Formulas) {
    EXPECT_NEAR(D(PartOfFortune(10, 350, 5)), 25, 1e-12);
    EXPECT_EQ(PartOfFortune(0, 10, 10), 360); // the Norm360 rule for an exact 0
    // The node moves backwards.
    EXPECT_LT(D(MeanNode(2451545.5L)), D(MeanNode(2451545.0L)));
}

TEST(Houses, TopocentricCuspsAtGreenwich) {
    const TopocentricResult c = TopocentricCusps(280.46061837L, 23.437691L, 51.4772L);
    // Four decimals as published, plus the single-precision storage of the cusps.
    const std::pair<int, double> expected[] = {{10, 279.6144}, {11, 299.4070}, {12, 327.8225},
                                               {1, 24.2733},   {2, 60.6445},   {3, 81.5315}};
    for (auto [h, value] : expected) {
        EXPECT_NEAR(c.ecliptic[h], value, 7e-5) << h;
        const int opposite = h <= 6 ? h + 6 : h - 6;
        EXPECT_NEAR(c.ecliptic[opposite], std::fmod(value + 180, 360.0), 7e-5) << opposite;
    }
    EXPECT_FLOAT_EQ(c.ascensional[10], 280.46061837f);
    EXPECT_FLOAT_EQ(c.ascensional[1], 10.46061837f);
    EXPECT_FLOAT_EQ(c.ascensional[4], 100.46061837f);
}

TEST(Houses, PolarRuleNorthOnly) {
    struct Case {
        double latitude;
        double cusps[5]; // 11, 12, 1, 2, 3
    };
    const Case cases[] = {
        {70, {293.991, 316.393, 53.993, 74.125, 86.957}},
        {-70, {321.591, 348.144, 5.200, 24.459, 54.544}},
    };
    const int houses[] = {11, 12, 1, 2, 3};
    for (const Case &k : cases) {
        const TopocentricResult c = TopocentricCusps(280.46061837L, 23.437691L, k.latitude);
        for (int i = 0; i < 5; ++i)
            EXPECT_NEAR(c.ecliptic[houses[i]], k.cusps[i], 5e-4) << k.latitude << " cusp " << houses[i];
    }
}

TEST(Houses, EquatorGivesTheAscensionalPoints) {
    const Real eps = 23.44L;
    const TopocentricResult c = TopocentricCusps(123.4L, eps, 0);
    for (int h = 1; h <= 12; ++h) {
        const Equatorial q = EclipticToEquatorial(eps, 0, c.ecliptic[h]);
        EXPECT_NEAR(D(q.rightAscension), c.ascensional[h], 2e-4) << h;
    }
}

TEST(Mundane, SunInTheGreenwichChart) {
    const TopocentricResult c = TopocentricCusps(280.46061837L, 23.437691L, 51.4772L);
    const MundaneFields m =
        MundanePosition({280.3689L, 281.2784L, -23.0324L}, c.ecliptic, c.ascensional, 51.4772L);
    EXPECT_EQ(m.quadrant, 1);
    EXPECT_NEAR(D(m.meridianDistance), 0.8177, 2e-4);
    EXPECT_NEAR(D(m.ascensionalDifference), -32.2789, 2e-4);
    EXPECT_NEAR(D(m.semiArc), 57.7211, 2e-4);
    EXPECT_NEAR(D(m.dmo), 1.2750, 2e-4);
    EXPECT_NEAR(D(m.pole), 1.0195, 2e-4);
    EXPECT_NEAR(D(m.adp), -0.4335, 2e-4);
    EXPECT_TRUE(m.ascension);
    EXPECT_STREQ(AoDoLabel(m.ascension), "AO");
    EXPECT_NEAR(D(m.aoDo), 281.7118, 2e-4);
}

TEST(Mundane, BodyOnTheMeridianAndOnTheAscendant) {
    const TopocentricResult c = TopocentricCusps(280.46061837L, 23.437691L, 51.4772L);
    const Real armc = c.ascensional[10];
    const MundaneFields top =
        MundanePosition({c.ecliptic[10], armc, -10}, c.ecliptic, c.ascensional, 51.4772L);
    EXPECT_EQ(top.quadrant, 1);
    EXPECT_EQ(top.meridianDistance, 0);
    EXPECT_EQ(top.dmo, 0);
    EXPECT_EQ(top.pole, 0);
    EXPECT_EQ(top.adp, 0);
    EXPECT_TRUE(top.ascension);
    EXPECT_NEAR(D(top.aoDo), D(armc), 1e-12);
    // A longitude exactly on cusp 1 starts in quadrant 2 (here a body well inside its semi-arc).
    const MundaneFields asc =
        MundanePosition({c.ecliptic[1], c.ascensional[4] - 10, 0}, c.ecliptic, c.ascensional, 51.4772L);
    EXPECT_EQ(asc.quadrant, 2);
}

TEST(Mundane, FoldAndTheBoundedQuadrantSearch) {
    const std::pair<Real, Real> folds[] = {
        {1.3L, 0.7L}, {2.0L, 1.0L}, {-1.3L, -0.7L}, {0.5L, 0.5L}, {1.0L, 1.0L}};
    for (auto [x, folded] : folds)
        EXPECT_NEAR(D(FoldUnit(x)), D(folded), 1e-15) << D(x);
    // Circumpolar bodies at high latitude end with a quadrant and finite values.
    for (int lon = 0; lon < 360; lon += 15) {
        const TopocentricResult p = TopocentricCusps(lon, 23.44L, 80);
        const MundaneFields m =
            MundanePosition({Real(lon + 90), Real(lon + 200), 60}, p.ecliptic, p.ascensional, 80);
        EXPECT_GE(m.quadrant, 1);
        EXPECT_LE(m.quadrant, 4);
        EXPECT_TRUE(std::isfinite(D(m.aoDo)));
    }
}
