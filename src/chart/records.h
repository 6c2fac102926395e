// Birth-data and chart records: the input of a chart computation and everything it fills.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "astronomy/angles.h"
#include "common/chart_numbering.h"
#include "common/date_time.h"

namespace cel::chart {

using astronomy::Real;

using cel::kBodyCount;
using cel::kHouseCount;
using cel::kListSize;

// Short names of bodies 1..12 ("Sol" .. "Rue"); entry 0 is empty.
extern const std::array<const char *, kListSize> kBodyNames;
// Sign abbreviations 1..12 ("Ari" .. "Pis"); entry 0 is empty.
extern const std::array<const char *, kListSize> kSignNames;

// Sign 1..12 of a longitude; 360 (and anything outside the circle) is reduced first, 360 counting as 0.
std::uint8_t SignOf(Real longitude);

// Birth data: a person's birth, an event, or a free date being explored.
struct TDato {
    std::string text;            // label, not used by the computation
    TDateTime localDateTime = 0; // in the place's civil time
    TDateTime gmtDateTime = 0;   // the same instant in Greenwich time
    std::int32_t ownerId = -1;   // person or event, -1 for none
    std::int32_t placeId = -1;   // geographic place, -1 for none
    std::int32_t gmtFlag = 0;    // 1: the value entered is Greenwich time; 0: local time
    std::int32_t deltaTFlag = 1; // 1: apply Delta T
    Real longitude = 0;          // degrees, west positive
    Real latitude = 0;           // degrees, north positive
    Real zone = 0;               // hours, east positive
};

// One house cusp: the value in single precision, its sign, and the following sign when the cusp lies in
// the last 3 degrees of its sign (0 otherwise).
struct CuspEntry {
    float cusp = 0;
    std::uint8_t sign = 0;
    std::uint8_t nextSign = 0;
};
using InfoCasas = std::array<CuspEntry, kListSize>;

struct RecPlaneta {
    Real longitude = 0;      // apparent ecliptic longitude
    Real latitude = 0;       // ecliptic latitude
    Real distance = 0;       // AU; km for the Moon; 0 for Pluto, the node and the Part of Fortune
    Real rightAscension = 0; // 0..360
    Real declination = 0;
    Real meridianDistance = 0;
    Real ascensionalDifference = 0;
    Real dmo = 0;
    Real semiArc = 0;
    Real pole = 0;
    Real adp = 0;
    Real aoDo = 0;
    Real wheelEcliptic = 0;    // where the wheel draws the body, ecliptic mode
    Real wheelAscensional = 0; // the same, ascensional mode
    std::uint8_t retrograde = 0;
    std::uint8_t houseAscensional = 0;
    std::uint8_t houseEcliptic = 0;
    std::uint8_t signAscensional = 0; // sign of the AO/DO value
    std::uint8_t signEcliptic = 0;    // sign of the longitude
    std::uint8_t quadrant = 0;        // 1..4
    std::string ruledHousesAscensional;
    std::string ruledHousesEcliptic;
    std::string aoDoLabel; // "AO" or "DO"
};
using InfoPlanetas = std::array<RecPlaneta, kListSize>;

// Working record for sorting positions.
struct TAuxPos {
    std::int32_t body = 0;
    Real position = 0;
};

// A computed chart. Every computation overwrites all fields and list entries 1..12.
class TDataAstro {
public:
    Real latitude = 0;
    Real longitude = 0;    // west positive
    TDateTime instant = 0; // TT: Greenwich time plus Delta T when the flag is 1
    Real siderealTime = 0; // hours
    Real julianDay = 0;    // TT
    Real obliquity = 0;    // true obliquity
    Real eclipticRotation = 0;
    Real ascensionalRotation = 0;
    Real armc = 0;
    Real sunTrueLongitude = 0; // geometric longitude plus nutation
    Real sunMeanLongitude = 0;
    Real equationOfTime = 0; // days
    std::int32_t deltaTFlag = 1;
    float deltaT = 0; // seconds applied to the instant (0 with the flag off)
    InfoPlanetas bodies{};
    InfoCasas eclipticCusps{};
    InfoCasas ascensionalCusps{};
};

} // namespace cel::chart
