// Points: the weight of a chart item's bodies and houses, distributed over the signs and sign groups.
#pragma once

#include <array>

#include "analysis/text_grid.h"
#include "chart/progressions.h"
#include "common/chart_numbering.h"
#include "common/text_format.h"
#include "settings/settings.h"

namespace cel::analysis {

using PointsSettings = settings::Settings::PointsSection;

// The built-in weights and flags of a first run.
PointsSettings BuiltInPoints();

// T: the weights of the included bodies plus those of the included houses.
float PointsTotal(const PointsSettings &points);

struct PointsDistribution {
    std::array<float, kListSize> bodies{}; // P[1..12], body points per sign
    std::array<float, kListSize> houses{}; // H[1..12], house points per sign
    float SignTotal(int sign) const {
        return bodies[static_cast<std::size_t>(sign)] + houses[static_cast<std::size_t>(sign)];
    }
};
// A house whose cusp records a following sign counts for both signs.
PointsDistribution DistributePoints(const chart::RecDataProg &item, const PointsSettings &points);

// The inclusion presets of the points dialog ("Puntos:").
enum class PointsFlagsPreset {
    HoraOk,    // "Hora Ok": all bodies and house 1
    SinHora,   // "Sin Hora": bodies 1..11, no house
    Personales // "Planetas pers.": bodies 1..7, no house
};
void ApplyFlagsPreset(PointsSettings &points, PointsFlagsPreset preset);
// The weight presets ("Valores:"): "Predeterminados" restores the built-in weights, "Valores =1" sets
// every weight to 1; the flags stay.
void RestoreBuiltInWeights(PointsSettings &points);
void SetAllWeightsToOne(PointsSettings &points);

// "%2.2f" and the percentage "%2.0f" + "%" ("0%" when the total is 0), with the locale's separator.
std::string PointsText(float value, const TextFormat &format);
std::string PercentText(float value, float total, const TextFormat &format);

// Fills the second summary grid (14 columns, 15 rows) with the distribution of the item.
void FillDistributionGrid(TextGrid &grid, const chart::RecDataProg &item, const PointsSettings &points,
                          const TextFormat &format);

} // namespace cel::analysis
