// Topocentric (Polich-Page) house cusps and the mundane positions of bodies.
#pragma once

#include <array>
#include <cstdint>

#include "astronomy/angles.h"
#include "common/chart_numbering.h"

namespace cel::astronomy {

// Cusps 1..12 in single precision; entry 0 is not used.
using CuspValues = std::array<float, kListSize>;

struct TopocentricResult {
    CuspValues ecliptic{};    // house cusps, ecliptic longitudes
    CuspValues ascensional{}; // the right ascensions ARMC + 30 k assigned to the houses
};
TopocentricResult TopocentricCusps(Real armc, Real obliquity, Real latitude);

// Ecliptic longitude of a cusp from its oblique ascension x and pole factor f.
Real CuspLongitude(Real x, Real f, Real latitude, Real obliquity, bool polarRule);

// tan(phi) tan(delta) beyond +-1 folded back into the arcsine's domain: 1.3 -> 0.7, 2.0 -> 1.0.
Real FoldUnit(Real x);

// A body as the mundane computation reads it.
struct MundaneInput {
    Real longitude = 0;
    Real rightAscension = 0;
    Real declination = 0;
};

struct MundaneFields {
    std::uint8_t quadrant = 1; // 1 MC-Asc, 2 Asc-IC, 3 IC-Desc, 4 Desc-MC
    Real meridianDistance = 0;
    Real ascensionalDifference = 0;
    Real semiArc = 0;
    Real dmo = 0;
    Real pole = 0;
    Real adp = 0;
    Real aoDo = 0;         // oblique ascension or descension, Norm360
    bool ascension = true; // label "AO" when true, "DO" otherwise
};

// Mundane fields of one body from the ecliptic cusps, the ascensional cusps and the latitude.
MundaneFields MundanePosition(const MundaneInput &body, const CuspValues &ecliptic,
                              const CuspValues &ascensional, Real latitude);

// Mundane fields of bodies 1..12 (entry 0 unused).
std::array<MundaneFields, kListSize> MundanePositions(const std::array<MundaneInput, kListSize> &bodies,
                                                      const CuspValues &ecliptic,
                                                      const CuspValues &ascensional, Real latitude);

// The label text "AO" or "DO".
inline const char *AoDoLabel(bool ascension) {
    return ascension ? "AO" : "DO";
}

} // namespace cel::astronomy
