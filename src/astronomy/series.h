// Evaluation of trigonometric series over the generated coefficient tables.
#pragma once

#include "astronomy/angles.h"
#include "astronomy/planets.h"
#include "astronomy/tables/series_tables.h"

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
