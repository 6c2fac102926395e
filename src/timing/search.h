// Searches over time: transits of the moving bodies to the natal points (enter orb, exact times, leave
// orb), sign and house ingresses, stations; secondary progressions, solar arc and primary directions
// perfecting aspects to the natal points, their ingresses and the progressed Moon's phases.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "chart/records.h"
#include "settings/orb_tables.h"
#include "timing/ephemeris.h"
#include "timing/position_cache.h"

namespace cel::timing {

// A natal point: a body 1..12, the Ascendant, the MC or a cusp 1..12.
struct NatalPoint {
    enum class Type { Body, Ascendant, Midheaven, Cusp };
    Type type = Type::Body;
    int number = 0; // body or cusp number
    bool operator==(const NatalPoint &) const = default;
};
// "1".."12", "asc", "mc", "cusp N".
std::string PointKey(const NatalPoint &point);
std::optional<NatalPoint> ParsePointKey(const std::string &text);
// The point's longitude in the natal chart.
Real NatalLongitude(const chart::TDataAstro &natal, const NatalPoint &point);

// Where a moving position comes from.
enum class Source { Transit, Secondary, SolarArc, PrimaryDirect, PrimaryConverse };
// The moving angles of progressions and directions: numbers after the bodies.
inline constexpr int kMovingAscendant = 13;
inline constexpr int kMovingMidheaven = 14;

enum class EventKind { Aspect, SignIngress, HouseIngress, Station, MoonPhase };
enum class HouseModel { Ecliptic, Ascensional };

// One listing row. Times are continuous days of Greenwich time (see ContinuousFromDateTime).
struct TimingEvent {
    EventKind kind = EventKind::Aspect;
    Source source = Source::Transit;
    int body = 0; // moving body 1..11, or kMovingAscendant / kMovingMidheaven
    NatalPoint point;
    int aspect = 0;               // kind 1..13 (the angle is (kind - 1) * 15)
    std::optional<Real> enter;    // entering orb (aspects)
    std::vector<Real> exact;      // exact times; the one time of ingresses, stations and phases
    std::optional<Real> leave;    // leaving orb
    std::optional<bool> applying; // at the chosen moment, when it lies in orb
    int sign = 0;                 // sign ingresses: the sign entered
    int house = 0;                // house ingresses: the house entered
    HouseModel model = HouseModel::Ecliptic;
    bool retrograde = false; // ingresses: entered moving backwards; stations: turning retrograde
    int phase = 0;           // Moon phases: 0 new .. 7 balsamic (45 degrees each)
    // The time the listing sorts by: the first exact time inside the period searched.
    std::optional<Real> listed;
    Real Time() const { return listed ? *listed : exact.empty() ? 0 : exact.front(); }
};

struct TimingOptions {
    Real from = 0, to = 0; // continuous days, Greenwich time
    std::vector<int> bodies = {1, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    std::vector<NatalPoint> points;              // empty: bodies 1..12, the Ascendant and the MC
    std::vector<int> aspects = {1, 5, 7, 9, 13}; // kinds 1..13
    settings::OrbTables orbs = settings::BuiltInOrbTables();
    bool aspectsWanted = true;
    bool signIngresses = true;
    bool houseIngresses = true;
    std::vector<HouseModel> houseModels = {HouseModel::Ecliptic, HouseModel::Ascensional};
    bool stations = true;
    bool moonPhases = true;     // progressions only
    Real progressionOrb = 1;    // degrees, progressions and directions
    bool useDeltaT = true;      // the engine's Delta T, as charts with the flag on
    std::optional<Real> moment; // applying or separating at this instant
    // Called now and then with the share done (0..1); returning false stops the search.
    std::function<bool(double)> progress;
};

// The default natal points: bodies 1..12, the Ascendant and the MC.
std::vector<NatalPoint> DefaultPoints();

// Transits of the moving bodies to the natal chart, their ingresses and stations, in listing order.
std::vector<TimingEvent> FindTransits(const chart::TDataAstro &natal, const TimingOptions &options,
                                      PositionCache &cache);

// Progressions and directions of the given sources (Secondary, SolarArc, PrimaryDirect,
// PrimaryConverse) to the natal chart: aspects, sign and natal house ingresses, and with Secondary the
// progressed Moon's phases. The moving bodies are options.bodies and the two angles.
std::vector<TimingEvent> FindProgressions(const chart::TDataAstro &natal, const std::vector<Source> &sources,
                                          const TimingOptions &options, PositionCache &cache);

// Listing order: by first exact time, then source, body, point, aspect.
void SortEvents(std::vector<TimingEvent> &events);

} // namespace cel::timing
