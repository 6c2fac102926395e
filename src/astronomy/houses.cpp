#include "astronomy/houses.h"

#include <cmath>
#include <limits>

#include "astronomy/earth_orientation.h"

namespace cel::astronomy {

Real CuspLongitude(Real x, Real f, Real latitude, Real obliquity, bool polarRule) {
    const Real phi = latitude * kDegToRad, eps = obliquity * kDegToRad, xr = x * kDegToRad;
    Real u = f * std::tan(phi) * std::tan(eps);
    if (polarRule && latitude >= 90 - obliquity)
        u = f / std::tan(phi) / std::tan(eps);
    const Real t = std::atan(std::sin(xr) / (std::cos(eps) * (std::cos(xr) - u))) * kRadToDeg;
    if (t < 0)
        return x > 180 ? t + 360 : t + 180;
    return x > 180 ? t + 180 : t;
}

TopocentricResult TopocentricCusps(Real armc, Real obliquity, Real latitude) {
    Real asc[13] = {};
    asc[10] = armc;
    asc[11] = Norm360(asc[10] + 30);
    asc[12] = Norm360(asc[11] + 30);
    asc[1] = Norm360(asc[12] + 30);
    asc[2] = Norm360(asc[1] + 30);
    asc[3] = Norm360(asc[2] + 30);
    for (int h = 4; h <= 9; ++h)
        asc[h] = Norm360(asc[h <= 6 ? h + 6 : h - 6] + 180);

    Real ecl[13] = {};
    struct HouseFactor {
        int house;
        Real factor;
    };
    static constexpr HouseFactor kOrder[] = {{10, 0}, {11, 1.0L / 3}, {12, 2.0L / 3},
                                             {1, 1},  {2, 2.0L / 3},  {3, 1.0L / 3}};
    for (const HouseFactor &hf : kOrder)
        ecl[hf.house] = CuspLongitude(asc[hf.house], hf.factor, latitude, obliquity, true);
    for (int h = 4; h <= 9; ++h)
        ecl[h] = Norm360(ecl[h <= 6 ? h + 6 : h - 6] + 180);

    TopocentricResult r;
    for (int h = 1; h <= 12; ++h) {
        r.ecliptic[h] = static_cast<float>(ecl[h]);
        r.ascensional[h] = static_cast<float>(asc[h]);
    }
    return r;
}

Real FoldUnit(Real x) {
    if (x >= 1)
        return 1 - (x - std::trunc(x));
    if (x <= -1)
        return -(1 - (-x - std::trunc(-x)));
    return x;
}

namespace {

// A value of 360 counts as 0 wherever a position must lie below 360.
Real Circle(Real x) {
    return x >= 360 ? x - 360 : x;
}

// x lies in [a, b), the interval running across 0 when b < a.
bool InInterval(Real x, Real a, Real b) {
    x = Circle(x);
    a = Circle(a);
    b = Circle(b);
    if (b < a)
        return (a <= x && x < 360) || (0 <= x && x < b);
    return a <= x && x < b;
}

Real ArcDistance(Real a, Real b) {
    Real d = std::fabs(a - b);
    return d > 180 ? 360 - d : d;
}

struct QuadrantValues {
    Real md, ad, sa;
};

QuadrantValues ForQuadrant(int q, Real alpha, Real a4, Real a10, Real tanPhiTanDelta) {
    QuadrantValues v;
    switch (q) {
    case 1:
        v.md = alpha - a10;
        break;
    case 2:
        v.md = a4 - alpha;
        break;
    case 3:
        v.md = alpha - a4;
        break;
    default:
        v.md = a10 - alpha;
        break;
    }
    if (v.md < 0)
        v.md += 360;
    v.ad = ArcSin(FoldUnit(tanPhiTanDelta)) * kRadToDeg;
    v.sa = (q == 1 || q == 4) ? 90 + v.ad : 90 - v.ad;
    return v;
}

} // namespace

MundaneFields MundanePosition(const MundaneInput &body, const CuspValues &ecliptic,
                              const CuspValues &ascensional, Real latitude) {
    const Real lambda = Norm360(body.longitude);
    const Real alpha = body.rightAscension;
    const Real delta = body.declination;
    const Real c1 = ecliptic[1], c4 = ecliptic[4], c7 = ecliptic[7], c10 = ecliptic[10];
    const Real a4 = ascensional[4], a10 = ascensional[10];
    const Real phi = latitude * kDegToRad;
    const Real tanPhiTanDelta = std::tan(phi) * std::tan(delta * kDegToRad);

    int q = 1;
    if (InInterval(lambda, c10, c1))
        q = 1;
    if (InInterval(lambda, c1, c4))
        q = 2;
    if (InInterval(lambda, c4, c7))
        q = 3;
    if (InInterval(lambda, c7, c10))
        q = 4;

    // Each quadrant is tried at most once; when none holds the body, the one with the smallest
    // MD - SA is kept.
    bool tried[5] = {};
    int bestQuadrant = q;
    Real bestExcess = std::numeric_limits<Real>::infinity();
    QuadrantValues v{};
    for (;;) {
        v = ForQuadrant(q, alpha, a4, a10, tanPhiTanDelta);
        tried[q] = true;
        if (v.md - v.sa < bestExcess) {
            bestExcess = v.md - v.sa;
            bestQuadrant = q;
        }
        if (v.md <= v.sa)
            break;
        int next = 0;
        switch (q) {
        case 1:
            next = ArcDistance(lambda, c10) <= ArcDistance(lambda, c1) ? 4 : 2;
            break;
        case 2:
            next = ArcDistance(lambda, c4) <= ArcDistance(lambda, c1) ? 3 : 1;
            break;
        case 3:
            next = ArcDistance(lambda, c7) <= ArcDistance(lambda, c4) ? 4 : 2;
            break;
        default:
            next = ArcDistance(lambda, c10) <= ArcDistance(lambda, c7) ? 1 : 3;
            break;
        }
        if (tried[next]) {
            q = bestQuadrant;
            v = ForQuadrant(q, alpha, a4, a10, tanPhiTanDelta);
            break;
        }
        q = next;
    }

    MundaneFields m;
    m.quadrant = static_cast<std::uint8_t>(q);
    m.meridianDistance = v.md;
    m.ascensionalDifference = v.ad;
    m.semiArc = v.sa;
    m.dmo = v.md / v.sa * 90;
    m.pole = std::atan(v.md * std::tan(phi) / v.sa) * kRadToDeg;
    m.adp = ArcSin(FoldUnit(std::tan(m.pole * kDegToRad) * std::tan(delta * kDegToRad))) * kRadToDeg;
    m.ascension = InInterval(alpha, a10, a4);
    m.aoDo = Norm360(m.ascension ? alpha - m.adp : alpha + m.adp);
    return m;
}

std::array<MundaneFields, kListSize> MundanePositions(const std::array<MundaneInput, kListSize> &bodies,
                                                      const CuspValues &ecliptic,
                                                      const CuspValues &ascensional, Real latitude) {
    std::array<MundaneFields, kListSize> fields{};
    for (int n = 1; n <= 12; ++n)
        fields[n] = MundanePosition(bodies[n], ecliptic, ascensional, latitude);
    return fields;
}

} // namespace cel::astronomy
