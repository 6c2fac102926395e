// The position cache of the searches: per body, Chebyshev pieces fitted to the engine's own positions
// over short spans (as planetary ephemeris files hold them), filled as the searches reach them.
#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "timing/ephemeris.h"

namespace cel::timing {

class PositionCache {
public:
    // Longitude and latitude of body 1..11 at jd (TT), within 0.01" of DirectPosition.
    EclipticPoint Position(int body, Real jd);
    Real Longitude(int body, Real jd) { return Position(body, jd).longitude; }
    // Daily motion in longitude, degrees a day.
    Real Speed(int body, Real jd);
    // Pieces fitted so far (each costs a fixed number of direct evaluations).
    std::size_t PieceCount() const;

private:
    struct Piece {
        // Coefficients in double precision: 1e-16 of a few hundred degrees is far below the fit's error.
        std::vector<double> longitude; // of the longitude less the nutation, unwrapped
        std::vector<double> latitude;
    };
    const Piece &PieceAt(int body, std::int64_t index);
    struct Located {
        const Piece *piece;
        double x;     // -1..1 across the piece
        double scale; // dx per day
    };
    Located Locate(int body, Real jd);
    // Jupiter to Pluto share their pieces' span and nodes, so each node's Sun and obliquity are
    // computed once; their heliocentric series are fitted over the piece, so the light-time passes
    // at the nodes cost no series evaluation.
    static constexpr int kFirstSharedBody = 6;
    static constexpr int kLastSharedBody = 10;
    struct SharedNode {
        astronomy::SunResult sun;
        Real obliquity = 0;
        bool known = false;
    };
    const SharedNode &Node(std::int64_t index, int node, Real jd);
    std::unordered_map<std::int64_t, std::vector<SharedNode>> nodes_;
    // The node values of a piece of body at its Chebyshev nodes; the nutation is taken out.
    void NodeValues(int body, std::int64_t index, std::vector<Real> &lon, std::vector<Real> &lat);
    // Cosines of the fits, cos(pi j (k + 1/2) / n), per number of terms n.
    const std::vector<Real> &Cosines(int n);
    std::unordered_map<int, std::vector<Real>> cosines_;

    // Entry kNutation holds the nutation in longitude, added back to every body.
    static constexpr int kNutation = kLastMovingBody + 1;
    std::array<std::unordered_map<std::int64_t, Piece>, kNutation + 1> pieces_;
    std::array<std::int64_t, kNutation + 1> lastIndex_{};
    std::array<const Piece *, kNutation + 1> last_{};
};

} // namespace cel::timing
