// The chart pipeline: from birth data to a filled chart record through the astronomical engine.
#pragma once

#include <cstdint>
#include <functional>

#include "astronomy/houses.h"
#include "astronomy/planets.h"
#include "chart/records.h"
#include "settings/dignity_matrix.h"
#include "settings/orb_tables.h"

namespace cel::settings {
struct Settings;
}

namespace cel::chart {

// The settings the pipeline reads: cusp tolerances, the dignity matrix for the ruled houses, and the
// wheel's large-glyph option ("ImagenR") that sets the step of the spread positions.
struct ChartOptions {
    settings::CuspTolerances tolerances{7.0f, 3.0f, 4.5f};
    settings::DignityMatrix dignities = settings::BuiltInMatrix(settings::MatrixPreset::Modern);
    bool largeGlyphs = true; // "ImagenR" is on in a first run
};
// The pipeline's options as the settings object holds them.
ChartOptions ChartOptionsFrom(const settings::Settings &settings);

// What the chart needs to know of a geographic place.
struct PlacePosition {
    Real zone = 0;      // hours, east positive
    Real longitude = 0; // degrees, west positive
    Real latitude = 0;  // degrees, north positive
    bool operator==(const PlacePosition &) const = default;
};
// The place a record was last computed for.
inline PlacePosition PlaceOf(const TDato &record) {
    return {record.zone, record.longitude, record.latitude};
}

// Diagnostic counters: charts requested through ComputeChartFor and charts computed.
struct ChartCounters {
    std::uint64_t requests = 0;
    std::uint64_t computed = 0;
};

// Everything a chart computation reads besides the birth data, and the counters it updates.
struct ChartContext {
    ChartOptions options;
    ChartCounters counters;
};

// The two forms of a chart: houses and positions on the ecliptic, or by ascensional arcs.
enum class ChartMode { Ecliptic, Ascensional };

// Copies the place's zone and coordinates into the record (the caller looks the record's place id up;
// zeros stand for no place), sets both date-times from value (Greenwich time when the record's GMT flag
// is 1, local time otherwise; a TDateTime's own sign tells how its time of day is encoded), then
// computes the chart.
void ComputeChartFor(ChartContext &context, TDato &record, const PlacePosition &place, TDataAstro &chart,
                     TDateTime value);

// Fills the chart from the record's current contents.
void ComputeChart(ChartContext &context, const TDato &record, TDataAstro &chart);

// Longitude, latitude, distance, equatorial coordinates and retrograde flags of the 12 bodies at jd (TT);
// instant is the same moment as a TDateTime. Returns the Sun of the instant.
astronomy::SunResult ComputeBodies(InfoPlanetas &bodies, const InfoCasas &eclipticCusps, Real obliquity,
                                   Real jd, TDateTime instant);

// Cusp sign bytes, body signs, houses, ruled houses and wheel positions.
void SetSignsAndHouses(InfoPlanetas &bodies, InfoCasas &ascensionalCusps, InfoCasas &eclipticCusps,
                       const ChartOptions &options);

// Sign and next-sign bytes of cusps 1..12.
void SetCuspSigns(InfoCasas &cusps);

// House 1..12 whose interval [cusp i, cusp i+1) holds x; 12 when the cusps hold it nowhere.
std::uint8_t HouseOf(const InfoCasas &cusps, Real x);

// The house after adjusting for the cusp tolerance: a body less than the orb before the next cusp counts
// in the next house.
std::uint8_t CuspTolerance(ChartMode mode, std::uint8_t house, const InfoCasas &cusps, Real x,
                           const settings::CuspTolerances &tolerances);

// Houses whose cusp sign (or, in its last 3 degrees, next sign) body n rules: "1,4,4,10"; "" for none.
std::string RuledHouses(int body, const InfoCasas &cusps, const settings::DignityMatrix &dignities);

// Least angle between two glyphs on the wheel: 4 degrees, 6 for the large glyphs.
inline constexpr Real kGlyphSeparation = 4;
inline constexpr Real kLargeGlyphSeparation = 6;

// Wheel positions of both modes, spread so that no two glyphs are closer than the separation.
void SpreadPositions(InfoPlanetas &bodies, bool largeGlyphs);
// The same for one list of positions: sorted stably, then moved as little as the crowding needs while
// keeping the zodiac order (a body never passes its neighbour). Returns false, leaving the positions
// sorted but unmoved, when one is not a number.
bool SpreadList(std::array<TAuxPos, kBodyCount> &list, Real separation);
// The same with a separation that depends on where two neighbours meet (the position halfway between
// them), for glyphs whose room depends on their place on the wheel.
bool SpreadList(std::array<TAuxPos, kBodyCount> &list,
                const std::function<Real(Real position)> &separationAt);

// The turn that brings cusp 1 to 180 degrees (the left side of the wheel).
Real WheelRotation(const InfoCasas &cusps);

// Cusp values as the engine reads them, and back.
astronomy::CuspValues CuspValuesOf(const InfoCasas &cusps);
void StoreCusps(InfoCasas &cusps, const astronomy::CuspValues &values);

} // namespace cel::chart
