// Directions and progressions: the eleven chart items derived from a natal and an event chart.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "chart/pipeline.h"
#include "chart/records.h"

namespace cel::chart {

inline constexpr int kItemCount = 11;
// Tropical year in days, and the primary arc per day of age (the Sun's mean daily motion per year).
inline constexpr Real kTropicalYear = 365.242197L;
inline constexpr Real kPrimaryArcPerDay = 360.0L / (kTropicalYear * kTropicalYear);

// Items 1..11 in the order of the progressions grid.
enum ChartItem : int {
    kNatalEcliptic = 1,
    kNatalAscensional = 2,
    kEventEcliptic = 3,
    kEventAscensional = 4,
    kPrimaryDirect = 5,
    kPrimaryConverse = 6,
    kSecondary = 7,
    kSolarArc = 8,
    kProLuna = 9,
    kNatalDmo = 10,
    kEventDmo = 11,
};
// The items a wheel can show, "Int:" and "Ext:": 1..9, "Natal Eclíptica" .. "ProLuna".
inline constexpr int kLastWheelItem = kProLuna;
// The items after the two natal ones are computed from the event chart as well.
constexpr bool NeedsEventChart(int item) {
    return item > kNatalAscensional;
}

// Grid column captions ("Nat. Ecl" .. "Trá DMO.") and chart-item names ("Natal Eclíptica" .. "ProLuna";
// empty for the two grid-only items); entry 0 is empty.
extern const std::array<const char *, kItemCount + 1> kItemColumns;
extern const std::array<const char *, kItemCount + 1> kItemNames;

struct RecPlanetaSimple {
    Real position = 0;
    Real wheelPosition = 0;
    std::uint8_t house = 0;
    std::uint8_t sign = 0; // in the DMO items the quadrant 1..4
    std::string ruledHouses;
    std::uint8_t retrograde = 0;
};
using PlanetasSimple = std::array<RecPlanetaSimple, kListSize>;

using HighlightMarks = std::array<std::uint8_t, 24>; // bodies 1..12, then houses 1..12

struct RecDataProg {
    HighlightMarks marks{};
    Real rotation = 0;
    PlanetasSimple bodies{};
    InfoCasas cusps{};
};

// The progression set; every ComputeProgressions overwrites all of it except the highlight marks.
struct TDataProg {
    HighlightMarks marks1{}; // item of the aspect table's rows (and columns in a single wheel)
    HighlightMarks marks2{}; // item of the aspect table's columns in a double wheel
    Real age = 0;            // event instant - natal instant, days (TT)
    Real primaryArc = 0;
    TDateTime progressedInstant = 0; // TT
    Real solarArc = 0;
    Real proLunaArc = 0;
    Real progressedArmc = 0;
    std::array<RecDataProg, kItemCount + 1> items{}; // items 1..11; entry 0 unused
};

void ComputeProgressions(const TDataAstro &natal, const TDataAstro &event, TDataProg &progressions,
                         const ChartOptions &options);

struct DirectedResult {
    InfoPlanetas bodies{};
    InfoCasas cusps{};
};
// The natal bodies and cusps directed by arc degrees of oblique ascension (negative for converse).
DirectedResult DirectedChart(const TDataAstro &natal, Real arc);
// One directed body's longitude, and one directed cusp, as DirectedChart computes them.
Real DirectedBodyLongitude(const TDataAstro &natal, int body, Real arc);
float DirectedCusp(const TDataAstro &natal, int house, Real arc);

// The ecliptic point that rises ("AO") or sets ("DO") at oblique ascension x under pole phi.
Real BodyFromObliqueAscension(Real pole, Real obliquity, Real x, const std::string &label);

// The chart's bodies, cusps and rotation in the ecliptic or ascensional form.
void CopyItem(const TDataAstro &chart, ChartMode form, RecDataProg &item);

// The ProLuna arc for an age in days: one natal house every seven years from the Ascendant.
Real ProLunaArc(const InfoCasas &natalCusps, Real ageDays);

} // namespace cel::chart
