#include "session/angle_texts.h"

#include <algorithm>
#include <cmath>

#include "astronomy/angle_text.h"
#include "common/number_text.h"

namespace cel::session {

namespace {
constexpr auto kNoSuffix = astronomy::AngleSuffix::None;
constexpr auto kDms = astronomy::AngleLayout::DegreesMinutesSeconds;
} // namespace

std::string SunLabelText(chart::Real value, const TextFormat &format) {
    const int sign = std::clamp(static_cast<int>(std::trunc(value)) / 30, 0, 11);
    return astronomy::FormatAngle(360, 0, kNoSuffix, kDms, value, format) + "\n" +
           astronomy::FormatSignPosition(0, kDms, value - 30 * sign, format) + chart::kSignNames[sign + 1] +
           "\n" + FormatFixed(static_cast<double>(value), 10, format.decimalSeparator, 2);
}

std::string SunDifferenceText(chart::Real difference, const TextFormat &format) {
    return astronomy::FormatAngle(360, 3, astronomy::AngleSuffix::PlusMinus, kDms, difference, format) +
           " ( " + FormatFixed(static_cast<double>(difference), 10, format.decimalSeparator, 2) + " )";
}

OrbParts SplitOrb(float orb) {
    const astronomy::SplitAngleResult parts = astronomy::SplitAngle(90, orb);
    return {parts.degrees, parts.minutes, static_cast<int>(parts.seconds)};
}

float OrbFromParts(int degrees, int minutes, int seconds) {
    return static_cast<float>(astronomy::DmsToDegrees(seconds, minutes, degrees));
}

} // namespace cel::session
