#include "astronomy/time_scales.h"

#include <cmath>

namespace cel::astronomy {

Real JulianDay(std::uint16_t year, int month, Real day) {
    Real y = year;
    Real m = month;
    if (month <= 2) {
        y -= 1;
        m += 12;
    }
    const Real a = std::trunc(y / 100);
    const Real b = 2 - a + std::trunc(a / 4);
    return std::trunc(365.25L * (y + 4716)) + std::trunc(30.6001L * (m + 1)) + day + b - 1524.5L;
}

Real InstantToJulianDay(TDateTime instant) {
    const CivilDateTime dt = DecodeDateTime(instant);
    const Real ms =
        static_cast<Real>(dt.hour) * 3'600'000 + dt.minute * 60'000 + dt.second * 1000 + dt.millisecond;
    return JulianDay(static_cast<std::uint16_t>(dt.year), dt.month, dt.day + ms / 86'400'000);
}

TDateTime LocalToGmt(TDateTime local, Real zoneHours) {
    return ShiftDateTime(local, -zoneHours / 24);
}

TDateTime GmtToLocal(TDateTime gmt, Real zoneHours) {
    return ShiftDateTime(gmt, zoneHours / 24);
}

namespace {

Real Polynomial(const Real *coefficients, int count, Real t) {
    Real sum = 0;
    for (int i = count - 1; i >= 0; --i)
        sum = sum * t + coefficients[i];
    return sum;
}

// 1800-1899: Meeus' eleven-term polynomial.
constexpr Real k1800[] = {-2.50L,      228.95L,     5218.61L,    56282.84L,  324011.78L, 1061660.75L,
                          2087298.89L, 2513807.78L, 1818961.41L, 727058.63L, 123563.95L};
constexpr Real k1900[] = {-2.44L,     87.24L,      815.20L,    -2637.80L,   -18756.33L,
                          124906.15L, -303191.19L, 372919.88L, -232424.66L, 58353.42L};

// Espenak and Meeus, "Polynomial Expressions for Delta T", at the fractional year.
Real EspenakMeeus2005(Real year) {
    const Real t = year - 2000;
    return 62.92L + 0.32217L * t + 0.005589L * t * t;
}
Real EspenakMeeusLongTerm(Real year) {
    const Real u = (year - 1820) / 100;
    const Real parabola = -20 + 32 * u * u;
    return year < 2150 ? parabola - 0.5628L * (2150 - year) : parabola;
}

// The calendar year plus the part of it elapsed at the decoded instant.
Real FractionalYear(const CivilDateTime &dt) {
    const auto start = DaysFromCivil(dt.year, 1, 1);
    const Real length = static_cast<Real>(DaysFromCivil(dt.year + 1, 1, 1) - start);
    const Real day = static_cast<Real>(DaysFromCivil(dt.year, dt.month, dt.day) - start);
    const Real time =
        (static_cast<Real>(dt.hour) * 3'600'000 + dt.minute * 60'000 + dt.second * 1000 + dt.millisecond) /
        86'400'000;
    return dt.year + (day + time) / length;
}

// After the stored table: the measured 1 January values, linearly between them; from the last one the
// 2005-2050 polynomial plus a correction that starts at the measured value and fades out by 2050, where
// the long-term expression takes over, so that neither join jumps.
Real DeltaTAfterTable(const CivilDateTime &dt) {
    constexpr int lastYear = kDeltaTMeasuredFirstYear + kDeltaTMeasuredCount - 1;
    const Real year = FractionalYear(dt);
    if (dt.year < lastYear) {
        const int i = dt.year - kDeltaTMeasuredFirstYear;
        const Real f = year - dt.year;
        return ConstDeltaTMeasured[i] + f * (ConstDeltaTMeasured[i + 1] - ConstDeltaTMeasured[i]);
    }
    if (year >= 2050)
        return EspenakMeeusLongTerm(year);
    const Real atStart = ConstDeltaTMeasured[kDeltaTMeasuredCount - 1] - EspenakMeeus2005(lastYear);
    const Real atEnd = EspenakMeeusLongTerm(2050) - EspenakMeeus2005(2050);
    const Real w = (2050 - year) / (2050 - lastYear);
    return EspenakMeeus2005(year) + w * atStart + (1 - w) * atEnd;
}

} // namespace

Real DeltaT(TDateTime gmt) {
    const CivilDateTime dt = DecodeDateTime(gmt);
    const int year = dt.year;
    // The polynomials run on a whole year counted from the value itself.
    const Real wholeYear = std::trunc(static_cast<Real>(gmt) / 365.242197L + 1900);
    const Real t = (wholeYear - 1900) / 100;
    if (year < 1800)
        return 0;
    if (year <= 1899)
        return Polynomial(k1800, 11, t);
    if (year <= 1971)
        return Polynomial(k1900, 10, t);
    if (year <= 2000)
        return ConstDeltaT[(year - 1972) * 12 + dt.month - 1];
    if (year <= 2003)
        return ConstDeltaT[348 + (year - 2001) * 4 + (dt.month - 1) / 3];
    if (year <= 2012)
        return ConstDeltaT[360 + year - 2004];
    return DeltaTAfterTable(dt);
}

} // namespace cel::astronomy
