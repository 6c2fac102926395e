// Angle reduction and the radian/degree factors every engine formula uses.
#pragma once

namespace cel::astronomy {

using Real = long double;

inline constexpr Real kPi = 3.14159265358979323846264338327950288L;
inline constexpr Real kDegToRad = 0.017453292519943295769L;
inline constexpr Real kRadToDeg = 57.295779513082320877L;

// Reduces to the circle: 725 -> 5, 360 -> 0, -10 -> 350, and 0 or any negative multiple of 360 -> 360.
Real Norm360(Real x);

// A latitude-like angle from a value on the circle: 180 or more has 360 subtracted.
Real SignedAngle(Real x);

} // namespace cel::astronomy
