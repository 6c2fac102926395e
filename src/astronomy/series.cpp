#include "astronomy/series.h"

#include <cmath>

namespace cel::astronomy {

namespace detail {

namespace {

double SumCosTermsScalar(const SeriesTerm *terms, int n, double tau) {
    double sum = 0;
    for (int i = 0; i < n; ++i)
        sum += terms[i].a * std::cos(terms[i].b + terms[i].c * tau);
    return sum;
}

using Kernel = double (*)(const SeriesTerm *, int, double);

Kernel ChooseKernel() {
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"))
        return SumCosTermsAvx2;
    return SumCosTermsScalar;
}

const Kernel kKernel = ChooseKernel();

} // namespace

double SumCosTerms(const SeriesTerm *terms, int n, double tau) {
    return kKernel(terms, n, tau);
}

Real EvaluateBlock(const SeriesBlock &block, Real tau) {
    // Each power's sum is accurate to about 1e-16 of its largest term; the powers of tau are
    // combined in extended precision.
    Real sums[6] = {};
    const SeriesTerm *terms = block.terms;
    for (int k = 0; k < block.powers; ++k) {
        sums[k] = SumCosTerms(terms, block.counts[k], static_cast<double>(tau));
        terms += block.counts[k];
    }
    Real value = 0;
    for (int k = block.powers - 1; k >= 0; --k)
        value = value * tau + sums[k];
    return value;
}

} // namespace detail

const VsopBody &TablesOf(SeriesBody body) {
    switch (body) {
    case SeriesBody::Earth:
        return ConstEarth;
    case SeriesBody::Mercury:
        return ConstMercury;
    case SeriesBody::Venus:
        return ConstVenus;
    case SeriesBody::Mars:
        return ConsMars;
    case SeriesBody::Jupiter:
        return ConstJupiter;
    case SeriesBody::Saturn:
        return ConstSaturn;
    case SeriesBody::Uranus:
        return ConstUrano;
    case SeriesBody::Neptune:
        break;
    }
    return ConstNeptune;
}

Lbr SeriesLBR(SeriesBody body, Real tau) {
    const VsopBody &tables = TablesOf(body);
    Lbr r;
    r.l = Norm360(detail::EvaluateBlock(tables.l, tau) * kRadToDeg);
    r.b = SignedAngle(Norm360(detail::EvaluateBlock(tables.b, tau) * kRadToDeg));
    r.r = detail::EvaluateBlock(tables.r, tau);
    return r;
}

} // namespace cel::astronomy
