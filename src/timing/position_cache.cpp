#include "timing/position_cache.h"

#include <cmath>

#include "astronomy/earth_orientation.h"

namespace cel::timing {

namespace {

struct PieceShape {
    Real span; // days
    int terms;
};
// The nutation is taken out before the fit and added back, so the pieces follow only the orbit; the
// outer planets still carry the Earth's monthly wobble about the Earth-Moon barycentre, hence their
// many terms.
constexpr std::array<PieceShape, kLastMovingBody + 2> kShapes = {{{0, 0},
                                                                  {16, 16},  // Sun
                                                                  {4, 18},   // Moon
                                                                  {8, 16},   // Mercury
                                                                  {16, 16},  // Venus
                                                                  {16, 16},  // Mars
                                                                  {128, 40}, // Jupiter
                                                                  {128, 40}, // Saturn
                                                                  {128, 40}, // Uranus
                                                                  {128, 40}, // Neptune
                                                                  {128, 40}, // Pluto
                                                                  {256, 10}, // node
                                                                  {8, 14}}}; // nutation
constexpr Real kEpoch = 2451545.0L; // pieces start at J2000.0 plus whole spans

// Value and derivative (per unit of x) of a Chebyshev series at x in [-1, 1] (Clenshaw).
double Chebyshev(const std::vector<double> &c, double x) {
    double b1 = 0, b2 = 0;
    for (std::size_t j = c.size() - 1; j >= 1; --j) {
        const double b = 2 * x * b1 - b2 + c[j];
        b2 = b1;
        b1 = b;
    }
    return x * b1 - b2 + c[0] / 2;
}

double ChebyshevDerivative(const std::vector<double> &c, double x) {
    const std::size_t n = c.size();
    std::vector<double> d(n + 1, 0);
    for (std::size_t j = n - 1; j >= 1; --j)
        d[j - 1] = d[j + 1] + 2 * static_cast<double>(j) * c[j];
    d.resize(n - 1);
    return d.empty() ? 0 : Chebyshev(d, x);
}

} // namespace

const astronomy::SunResult &PositionCache::SharedSun(std::int64_t index, int node, Real jd) {
    std::vector<astronomy::SunResult> &suns = suns_[index];
    if (suns.empty()) {
        suns.resize(kShapes[kFirstSharedBody].terms);
        sunKnown_[index].assign(suns.size(), false);
    }
    std::vector<bool> &known = sunKnown_[index];
    if (!known[node]) {
        suns[node] = astronomy::SunPosition(jd);
        known[node] = true;
    }
    return suns[node];
}

const PositionCache::Piece &PositionCache::PieceAt(int body, std::int64_t index) {
    if (last_[body] != nullptr && lastIndex_[body] == index)
        return *last_[body];
    auto &map = pieces_[body];
    auto it = map.find(index);
    if (it == map.end()) {
        const PieceShape shape = kShapes[body];
        const int n = shape.terms;
        const Real start = kEpoch + static_cast<Real>(index) * shape.span;
        std::vector<Real> lon(n), lat(n);
        for (int k = 0; k < n; ++k) {
            const Real x = std::cos(astronomy::kPi * (k + 0.5L) / n);
            const Real jd = start + (x + 1) / 2 * shape.span;
            const Real nutation = astronomy::Nutation(jd);
            EclipticPoint p{nutation, 0};
            if (body >= kFirstSharedBody && body <= kLastSharedBody)
                p = DirectPosition(body, jd, SharedSun(index, k, jd));
            else if (body != kNutation)
                p = DirectPosition(body, jd);
            Real l = body == kNutation ? nutation : p.longitude - nutation;
            if (k > 0)
                l = lon[k - 1] + Wrap180(l - lon[k - 1]);
            lon[k] = l;
            lat[k] = p.latitude;
        }
        Piece piece;
        piece.longitude.assign(n, 0);
        piece.latitude.assign(n, 0);
        for (int j = 0; j < n; ++j) {
            Real sl = 0, sb = 0;
            for (int k = 0; k < n; ++k) {
                const Real c = std::cos(astronomy::kPi * j * (k + 0.5L) / n);
                sl += lon[k] * c;
                sb += lat[k] * c;
            }
            piece.longitude[j] = static_cast<double>(2 * sl / n);
            piece.latitude[j] = static_cast<double>(2 * sb / n);
        }
        it = map.emplace(index, std::move(piece)).first;
    }
    lastIndex_[body] = index;
    last_[body] = &it->second;
    return it->second;
}

PositionCache::Located PositionCache::Locate(int body, Real jd) {
    const PieceShape shape = kShapes[body];
    const Real u = (jd - kEpoch) / shape.span;
    const auto index = static_cast<std::int64_t>(std::floor(u));
    const Piece &piece = PieceAt(body, index);
    return {&piece, static_cast<double>(2 * (u - static_cast<Real>(index)) - 1),
            static_cast<double>(2 / shape.span)};
}

EclipticPoint PositionCache::Position(int body, Real jd) {
    const Located nutation = Locate(kNutation, jd);
    const Located at = Locate(body, jd);
    return {Wrap360(Chebyshev(at.piece->longitude, at.x) + Chebyshev(nutation.piece->longitude, nutation.x)),
            Chebyshev(at.piece->latitude, at.x)};
}

Real PositionCache::Speed(int body, Real jd) {
    const Located nutation = Locate(kNutation, jd);
    const Located at = Locate(body, jd);
    return ChebyshevDerivative(at.piece->longitude, at.x) * at.scale +
           ChebyshevDerivative(nutation.piece->longitude, nutation.x) * nutation.scale;
}

std::size_t PositionCache::PieceCount() const {
    std::size_t n = 0;
    for (const auto &map : pieces_)
        n += map.size();
    return n;
}

} // namespace cel::timing
