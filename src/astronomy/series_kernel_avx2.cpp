// Built with AVX2 and FMA enabled; called only when the processor has them.
#include <immintrin.h>
#include <sleef.h>

#include <cmath>

#include "astronomy/series.h"

namespace cel::astronomy::detail {

double SumCosTermsAvx2(const SeriesTerm *terms, int n, double tau) {
    const __m256d t = _mm256_set1_pd(tau);
    __m256d acc0 = _mm256_setzero_pd();
    __m256d acc1 = _mm256_setzero_pd();
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const SeriesTerm *p = terms + i;
        const __m256d a0 = _mm256_set_pd(p[3].a, p[2].a, p[1].a, p[0].a);
        const __m256d b0 = _mm256_set_pd(p[3].b, p[2].b, p[1].b, p[0].b);
        const __m256d c0 = _mm256_set_pd(p[3].c, p[2].c, p[1].c, p[0].c);
        const __m256d a1 = _mm256_set_pd(p[7].a, p[6].a, p[5].a, p[4].a);
        const __m256d b1 = _mm256_set_pd(p[7].b, p[6].b, p[5].b, p[4].b);
        const __m256d c1 = _mm256_set_pd(p[7].c, p[6].c, p[5].c, p[4].c);
        // The argument B + C tau is formed as a product and a sum, as the scalar path does.
        const __m256d x0 = _mm256_add_pd(b0, _mm256_mul_pd(c0, t));
        const __m256d x1 = _mm256_add_pd(b1, _mm256_mul_pd(c1, t));
        acc0 = _mm256_fmadd_pd(a0, Sleef_cosd4_u35avx2(x0), acc0);
        acc1 = _mm256_fmadd_pd(a1, Sleef_cosd4_u35avx2(x1), acc1);
    }
    alignas(32) double lanes[4];
    _mm256_store_pd(lanes, _mm256_add_pd(acc0, acc1));
    double sum = (lanes[0] + lanes[1]) + (lanes[2] + lanes[3]);
    for (; i < n; ++i)
        sum += terms[i].a * std::cos(terms[i].b + terms[i].c * tau);
    return sum;
}

} // namespace cel::astronomy::detail
