#include "timing/position_cache.h"

#include <cmath>

#include "astronomy/earth_orientation.h"
#include "astronomy/pluto_node_fortune.h"
#include "astronomy/series.h"

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
                                                                  {16, 16},   // Sun
                                                                  {4, 18},    // Moon
                                                                  {8, 16},    // Mercury
                                                                  {16, 16},   // Venus
                                                                  {16, 16},   // Mars
                                                                  {128, 40},  // Jupiter
                                                                  {128, 40},  // Saturn
                                                                  {128, 40},  // Uranus
                                                                  {128, 40},  // Neptune
                                                                  {128, 40},  // Pluto
                                                                  {256, 10},  // node
                                                                  {64, 28}}}; // nutation
// The heliocentric series of Jupiter to Pluto are smooth over a piece: a few terms hold them far below
// what the geocentric fit can tell apart. The planets' fit reaches past the piece by the light time.
constexpr int kHeliocentricTerms = 12;
constexpr Real kLightTimeMargin = 1; // days, more than Neptune's light time
constexpr Real kEpoch = 2451545.0L;  // pieces start at J2000.0 plus whole spans

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

const std::vector<Real> &PositionCache::Cosines(int n) {
    std::vector<Real> &table = cosines_[n];
    if (table.empty()) {
        table.resize(static_cast<std::size_t>(n) * n);
        for (int j = 0; j < n; ++j)
            for (int k = 0; k < n; ++k)
                table[static_cast<std::size_t>(j) * n + k] = std::cos(astronomy::kPi * j * (k + 0.5L) / n);
    }
    return table;
}

const PositionCache::SharedNode &PositionCache::Node(std::int64_t index, int node, Real jd) {
    std::vector<SharedNode> &nodes = nodes_[index];
    if (nodes.empty())
        nodes.resize(kShapes[kFirstSharedBody].terms);
    SharedNode &n = nodes[node];
    if (!n.known) {
        n.sun = astronomy::SunPosition(jd);
        n.obliquity = astronomy::Obliquity(true, jd);
        n.known = true;
    }
    return n;
}

namespace {

// Chebyshev coefficients of values taken at the n nodes cos(pi (k + 1/2) / n).
std::vector<double> Fit(const std::vector<Real> &values, const std::vector<Real> &cosines) {
    const std::size_t n = values.size();
    std::vector<double> c(n, 0);
    for (std::size_t j = 0; j < n; ++j) {
        Real sum = 0;
        for (std::size_t k = 0; k < n; ++k)
            sum += values[k] * cosines[j * n + k];
        c[j] = static_cast<double>(2 * sum / static_cast<Real>(n));
    }
    return c;
}

// The instants of the n Chebyshev nodes over [a, b].
std::vector<Real> NodeTimes(Real a, Real b, int n) {
    std::vector<Real> t(n);
    for (int k = 0; k < n; ++k)
        t[k] = a + (std::cos(astronomy::kPi * (k + 0.5L) / n) + 1) / 2 * (b - a);
    return t;
}

} // namespace

void PositionCache::NodeValues(int body, std::int64_t index, std::vector<Real> &lon, std::vector<Real> &lat) {
    const PieceShape shape = kShapes[body];
    const int n = shape.terms;
    const Real start = kEpoch + static_cast<Real>(index) * shape.span;
    const std::vector<Real> times = NodeTimes(start, start + shape.span, n);
    lon.assign(n, 0);
    lat.assign(n, 0);
    const bool shared = body >= kFirstSharedBody && body <= kLastSharedBody;

    // Jupiter to Neptune: L, B, R fitted over the piece widened by the light time; Pluto: x, y, z.
    std::array<std::vector<double>, 3> helio;
    Real helioA = 0, helioB = 0;
    if (shared) {
        const int m = kHeliocentricTerms;
        const Real margin = body == 10 ? 0 : kLightTimeMargin;
        helioA = start - margin;
        helioB = start + shape.span + margin;
        const std::vector<Real> at = NodeTimes(helioA, helioB, m);
        std::array<std::vector<Real>, 3> values;
        for (auto &v : values)
            v.resize(m);
        for (int k = 0; k < m; ++k) {
            if (body == 10) {
                const astronomy::Vector3 p = astronomy::PlutoHeliocentric(at[k]);
                values[0][k] = p.x, values[1][k] = p.y, values[2][k] = p.z;
                continue;
            }
            const astronomy::Lbr p = astronomy::SeriesLBR(static_cast<astronomy::SeriesBody>(body - 2),
                                                          (at[k] - 2451545) / 365250);
            values[0][k] = k > 0 ? values[0][k - 1] + Wrap180(p.l - values[0][k - 1]) : p.l;
            values[1][k] = p.b;
            values[2][k] = p.r;
        }
        const std::vector<Real> &cosines = Cosines(m);
        for (int i = 0; i < 3; ++i)
            helio[i] = Fit(values[i], cosines);
    }
    const auto helioAt = [&](Real jd, int i) {
        return Chebyshev(helio[i], static_cast<double>(2 * (jd - helioA) / (helioB - helioA) - 1));
    };
    const astronomy::HeliocentricSeries series = [&](Real tau) {
        const Real jd = tau * 365250 + 2451545;
        return astronomy::Lbr{Wrap360(helioAt(jd, 0)), helioAt(jd, 1), helioAt(jd, 2)};
    };

    for (int k = 0; k < n; ++k) {
        const Real jd = times[k];
        Real l = 0;
        if (body == kNutation) {
            l = astronomy::Nutation(jd);
        } else if (shared) {
            const SharedNode &node = Node(index, k, jd);
            if (body == 10) {
                const astronomy::Ecliptic p = astronomy::PlutoPosition(
                    jd, node.obliquity, node.sun.distance, {helioAt(jd, 0), helioAt(jd, 1), helioAt(jd, 2)});
                l = p.longitude - astronomy::Nutation(jd);
                lat[k] = p.latitude;
            } else {
                // The nutation only adds to the longitude: left out, as the pieces hold it apart.
                const astronomy::BodyPosition p = astronomy::PlanetPosition(body, jd, node.sun, 0, series);
                l = p.longitude;
                lat[k] = p.latitude;
            }
        } else {
            const EclipticPoint p = DirectPosition(body, jd);
            l = p.longitude - astronomy::Nutation(jd);
            lat[k] = p.latitude;
        }
        lon[k] = k > 0 ? lon[k - 1] + Wrap180(l - lon[k - 1]) : l;
    }
}

const PositionCache::Piece &PositionCache::PieceAt(int body, std::int64_t index) {
    if (last_[body] != nullptr && lastIndex_[body] == index)
        return *last_[body];
    auto &map = pieces_[body];
    auto it = map.find(index);
    if (it == map.end()) {
        std::vector<Real> lon, lat;
        NodeValues(body, index, lon, lat);
        const std::vector<Real> &cosines = Cosines(kShapes[body].terms);
        Piece piece;
        piece.longitude = Fit(lon, cosines);
        piece.latitude = Fit(lat, cosines);
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
