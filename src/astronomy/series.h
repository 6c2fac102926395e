// The VSOP87D series of the Earth and the planets: heliocentric coordinates evaluated over the
// generated coefficient tables.
#pragma once

#include "astronomy/angles.h"
#include "astronomy/tables/series_tables.h"

namespace cel::astronomy {

enum class SeriesBody { Earth, Mercury, Venus, Mars, Jupiter, Saturn, Uranus, Neptune };

struct Lbr {
    Real l = 0; // degrees, Norm360
    Real b = 0; // degrees, -180..180
    Real r = 0; // AU
};

// Heliocentric L, B, R of a body at tau Julian millennia of TT from J2000.0.
Lbr SeriesLBR(SeriesBody body, Real tau);

} // namespace cel::astronomy

namespace cel::astronomy::detail {

// Sum of A cos(B + C tau) over n terms, in double precision (vectorised where the processor allows).
double SumCosTerms(const SeriesTerm *terms, int n, double tau);
// The same with 256-bit vectors; only called on processors with AVX2 and FMA.
double SumCosTermsAvx2(const SeriesTerm *terms, int n, double tau);

// S0 + S1 tau + ... + S5 tau^5 of one block, in the block's own unit (radians or AU).
Real EvaluateBlock(const SeriesBlock &block, Real tau);

} // namespace cel::astronomy::detail

namespace cel::astronomy {
// The coefficient tables of a body.
const VsopBody &TablesOf(SeriesBody body);
} // namespace cel::astronomy
