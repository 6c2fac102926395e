// The numbering every module shares: bodies 1..12 ("Sol" .. "Rue", the Part of Fortune last),
// signs 1..12 from Aries, houses and cusps 1..12; lists of bodies and cusps hold 13 entries, entry 0
// unused.
#pragma once

namespace cel {

inline constexpr int kBodyCount = 12;
inline constexpr int kSignCount = 12;
inline constexpr int kHouseCount = 12;
inline constexpr int kListSize = 13;

} // namespace cel
