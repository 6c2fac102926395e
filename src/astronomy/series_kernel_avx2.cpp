// Built with AVX2 and FMA enabled; called only when the processor has them.
//
// Four cosines at a time: the argument is reduced by multiples of pi/2 in three exact parts
// (Cody-Waite), then the sine or cosine polynomial of the reduced value is taken on
// [-pi/4, pi/4] (fdlibm's minimax coefficients, under one unit in the last place there).
#include <immintrin.h>

#include <cmath>

#include "astronomy/series.h"

namespace cel::astronomy::detail {

namespace {

constexpr double kTwoOverPi = 6.36619772367581382433e-01;
constexpr double kPio2Part1 = 1.57079632673412561417e+00; // first 33 bits of pi/2
constexpr double kPio2Part2 = 6.07710050630396597660e-11; // next 33 bits
constexpr double kPio2Part3 = 2.02226624879595063154e-21; // pi/2 - part1 - part2
constexpr double kRoundMagic = 6755399441055744.0;        // 1.5 * 2^52

constexpr double kS1 = -1.66666666666666324348e-01, kS2 = 8.33333333332248946124e-03,
                 kS3 = -1.98412698298579493134e-04, kS4 = 2.75573137070700676789e-06,
                 kS5 = -2.50507602534068634195e-08, kS6 = 1.58969099521155010221e-10;
constexpr double kC1 = 4.16666666666666019037e-02, kC2 = -1.38888888888741095749e-03,
                 kC3 = 2.48015872894767294178e-05, kC4 = -2.75573143513906633035e-07,
                 kC5 = 2.08757232129817482790e-09, kC6 = -1.13596475577881948265e-11;

inline __m256d Set(double v) {
    return _mm256_set1_pd(v);
}

// cos(x); with fused multiply-adds the reduction stays exact to the last bit of the reduced value
// far beyond the largest argument of any term over years 1..9999 (about 4e6 radians).
inline __m256d Cos4(__m256d x) {
    const __m256d shifted = _mm256_fmadd_pd(x, Set(kTwoOverPi), Set(kRoundMagic));
    const __m256d q = _mm256_sub_pd(shifted, Set(kRoundMagic));
    __m256d r = _mm256_fnmadd_pd(q, Set(kPio2Part1), x);
    r = _mm256_fnmadd_pd(q, Set(kPio2Part2), r);
    r = _mm256_fnmadd_pd(q, Set(kPio2Part3), r);
    const __m256d r2 = _mm256_mul_pd(r, r);

    __m256d s = _mm256_fmadd_pd(r2, Set(kS6), Set(kS5));
    s = _mm256_fmadd_pd(r2, s, Set(kS4));
    s = _mm256_fmadd_pd(r2, s, Set(kS3));
    s = _mm256_fmadd_pd(r2, s, Set(kS2));
    s = _mm256_fmadd_pd(r2, s, Set(kS1));
    const __m256d sinR = _mm256_fmadd_pd(_mm256_mul_pd(r, r2), s, r);

    __m256d c = _mm256_fmadd_pd(r2, Set(kC6), Set(kC5));
    c = _mm256_fmadd_pd(r2, c, Set(kC4));
    c = _mm256_fmadd_pd(r2, c, Set(kC3));
    c = _mm256_fmadd_pd(r2, c, Set(kC2));
    c = _mm256_fmadd_pd(r2, c, Set(kC1));
    const __m256d r4 = _mm256_mul_pd(r2, r2);
    const __m256d cosR = _mm256_fmadd_pd(r4, c, _mm256_fnmadd_pd(Set(0.5), r2, Set(1.0)));

    // Quadrant q mod 4: cos r, -sin r, -cos r, sin r.
    const __m256i qi = _mm256_castpd_si256(shifted);
    const __m256i one = _mm256_set1_epi64x(1);
    const __m256i odd = _mm256_cmpeq_epi64(_mm256_and_si256(qi, one), one);
    const __m256d value = _mm256_blendv_pd(cosR, sinR, _mm256_castsi256_pd(odd));
    const __m256i sign =
        _mm256_slli_epi64(_mm256_and_si256(_mm256_add_epi64(qi, one), _mm256_set1_epi64x(2)), 62);
    return _mm256_xor_pd(value, _mm256_castsi256_pd(sign));
}

// Four consecutive (A, B, C) terms loaded as three vectors and transposed to A, B and C.
inline void LoadTerms(const SeriesTerm *p, __m256d &a, __m256d &b, __m256d &c) {
    const double *d = &p->a;
    const __m256d m0 = _mm256_loadu_pd(d);                  // a0 b0 | c0 a1
    const __m256d m1 = _mm256_loadu_pd(d + 4);              // b1 c1 | a2 b2
    const __m256d m2 = _mm256_loadu_pd(d + 8);              // c2 a3 | b3 c3
    const __m256d x = _mm256_blend_pd(m0, m1, 0b1100);      // a0 b0 | a2 b2
    const __m256d y = _mm256_permute2f128_pd(m0, m2, 0x21); // c0 a1 | c2 a3
    const __m256d z = _mm256_blend_pd(m1, m2, 0b1100);      // b1 c1 | b3 c3
    a = _mm256_shuffle_pd(x, y, 0b1010);
    b = _mm256_shuffle_pd(x, z, 0b0101);
    c = _mm256_shuffle_pd(y, z, 0b1010);
}

} // namespace

double SumCosTermsAvx2(const SeriesTerm *terms, int n, double tau) {
    const __m256d t = _mm256_set1_pd(tau);
    __m256d acc0 = _mm256_setzero_pd();
    __m256d acc1 = _mm256_setzero_pd();
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        __m256d a0, b0, c0, a1, b1, c1;
        LoadTerms(terms + i, a0, b0, c0);
        LoadTerms(terms + i + 4, a1, b1, c1);
        acc0 = _mm256_fmadd_pd(a0, Cos4(_mm256_add_pd(b0, _mm256_mul_pd(c0, t))), acc0);
        acc1 = _mm256_fmadd_pd(a1, Cos4(_mm256_add_pd(b1, _mm256_mul_pd(c1, t))), acc1);
    }
    alignas(32) double lanes[4];
    _mm256_store_pd(lanes, _mm256_add_pd(acc0, acc1));
    double sum = (lanes[0] + lanes[1]) + (lanes[2] + lanes[3]);
    for (; i < n; ++i)
        sum += terms[i].a * std::cos(terms[i].b + terms[i].c * tau);
    return sum;
}

} // namespace cel::astronomy::detail
