// Rulers, decanates, zodiacal neighbours, the house-based choice of bodies and the sign groups.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "chart/progressions.h"
#include "common/chart_numbering.h"
#include "settings/dignity_matrix.h"
#include "settings/settings.h"
#include "settings/view_record.h"

namespace cel::analysis {

using BodySelection = std::array<bool, kListSize>; // bodies 1..12; entry 0 unused
using CuspSelection = std::array<bool, kListSize>; // cusps 1..12; entry 0 unused

// Every body that rules sign (code 1), in body order.
std::vector<int> RulersOfSign(int sign, const settings::DignityMatrix &matrix);
// The rulers of a house: of its cusp's sign and of the following sign the cusp list records for it.
std::vector<int> RulersOfHouse(int house, const chart::InfoCasas &cusps,
                               const settings::DignityMatrix &matrix);

// The decanate sign of a position x in sign s: s, s + 4 or s + 8 (wrapping) for the three decanates. A
// position of 360 counts as 0.
int DecanateSign(int sign, long double x);

// The body before (direction -1) or after (+1) a body in zodiacal order; a body is found by its number.
int NeighbourOfBody(int direction, int body, const chart::PlanetasSimple &bodies);
// The body before or after a position x (a cusp) in zodiacal order; 360 counts as 0.
int NeighbourBody(int direction, long double x, const chart::PlanetasSimple &bodies);

struct HouseChoice {
    BodySelection bodies{}; // the chosen bodies
    bool keepCusp = false;  // cusp h stays selected ("C" on)
    int house = 0;          // the current house h
};
// The choice of "Por casas": h is the lowest selected cusp; nothing when no cusp is selected.
std::optional<HouseChoice> HouseSelection(const CuspSelection &cusps, const chart::RecDataProg &item,
                                          const std::array<bool, settings::kAutoSourceCount> &switches,
                                          const settings::DignityMatrix &matrix);
// Applies the choice to the view record (bodies chosen, cusp h cleared without "C"); with no cusp selected
// no body is selected. Returns the current house, 0 for none.
int ApplyHouseSelection(settings::RecVistaCarta &view, const chart::RecDataProg &item,
                        const settings::DignityMatrix &matrix);

// Sign groups of sign s (1..12).
inline int ElementOf(int sign) {
    return (sign - 1) % 4 + 1;
} // 1..4
inline int QualityOf(int sign) {
    return (sign - 1) % 3 + 1;
} // 1..3
inline int QuarterOf(int sign) {
    return (sign + 2) / 3;
} // four-way group 1..4
inline int ThirdOf(int sign) {
    return (sign + 3) / 4;
} // three-way group 1..3

// The editable group names ("Txt"), by family and group number.
const std::string &ElementName(const settings::Settings::TxtSection &txt, int element);
const std::string &QualityName(const settings::Settings::TxtSection &txt, int quality);
const std::string &QuarterName(const settings::Settings::TxtSection &txt, int quarter);
const std::string &ThirdName(const settings::Settings::TxtSection &txt, int third);

} // namespace cel::analysis
