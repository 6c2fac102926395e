#include "astronomy/angles.h"

#include <cmath>

namespace cel::astronomy {

Real Norm360(Real x) {
    const Real q = std::trunc(x / 360);
    const Real y = x - 360 * q;
    return x > 0 ? y : y + 360;
}

Real SignedAngle(Real x) {
    return x >= 180 ? x - 360 : x;
}

} // namespace cel::astronomy
