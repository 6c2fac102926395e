// Keeping neighbours apart in order: the least-squares spreading behind the wheel positions of the
// bodies, for any number of neighbours.
#pragma once

#include <span>

#include "astronomy/angles.h"

namespace cel::chart {

// The positions x that keep the order of q (already unrolled into one increasing run), with gap j (from
// x[j] to x[j + 1]) at least d[j], moving the least (sum of squared moves). q, d and x have one size.
void SeparateInOrder(std::span<const astronomy::Real> q, std::span<const astronomy::Real> d,
                     std::span<astronomy::Real> x);

} // namespace cel::chart
