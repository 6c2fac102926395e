#include "chart/progressions.h"

#include <cmath>

#include "astronomy/earth_orientation.h"
#include "astronomy/houses.h"
#include "astronomy/time_scales.h"

namespace cel::chart {

using namespace cel::astronomy;

const std::array<const char *, kItemCount + 1> kItemColumns = {
    "",       "Nat. Ecl", "Nat. Asc",  "Trá. Ecl", "Trá. Asc", "Dir PD",
    "Dir PC", "Dir Sec",  "Ar. Solar", "ProLuna",  "Nat DMO",  "Trá DMO."};
const std::array<const char *, kItemCount + 1> kItemNames = {"",
                                                             "Natal Eclíptica",
                                                             "Natal Ascensional",
                                                             "Trán. Eclíptico",
                                                             "Trán. Ascensional",
                                                             "DP Directa",
                                                             "DP Conversa",
                                                             "Dir Secundaria",
                                                             "Arco Solar",
                                                             "ProLuna",
                                                             "",
                                                             ""};

namespace {

// Pole factors of the house cusps 10, 11, 12, 1, 2, 3.
struct CuspPole {
    int house;
    Real factor;
};
constexpr std::array<CuspPole, 6> kCuspPoles = {
    {{10, 0}, {11, 1.0L / 3}, {12, 2.0L / 3}, {1, 1}, {2, 2.0L / 3}, {3, 1.0L / 3}}};

void MirrorCusps(InfoCasas &cusps) {
    for (int h = 4; h <= 9; ++h) {
        const int opposite = (h + 5) % 12 + 1;
        cusps[h].cusp = static_cast<float>(Norm360(static_cast<Real>(cusps[opposite].cusp) + 180));
    }
}

// Copies bodies (ecliptic form) and cusps into an item after the houses and signs are set.
void CopyEcliptic(const InfoPlanetas &bodies, const InfoCasas &cusps, Real rotation, RecDataProg &item) {
    item.rotation = rotation;
    for (int n = 1; n <= kBodyCount; ++n) {
        RecPlanetaSimple &s = item.bodies[n];
        const RecPlaneta &b = bodies[n];
        s.position = b.longitude;
        s.wheelPosition = b.wheelEcliptic;
        s.house = b.houseEcliptic;
        s.sign = b.signEcliptic;
        s.ruledHouses = b.ruledHousesEcliptic;
        s.retrograde = b.retrograde;
    }
    for (int i = 1; i <= kHouseCount; ++i)
        item.cusps[i] = cusps[i];
}

// An item whose bodies and cusps are the natal ones shifted by arc degrees (solar arc, ProLuna).
void ShiftedItem(const TDataAstro &natal, Real arc, const RecDataProg &retrogradeSource,
                 const ChartOptions &options, RecDataProg &item) {
    InfoPlanetas bodies = natal.bodies;
    for (int n = 1; n <= kBodyCount; ++n)
        bodies[n].longitude = Norm360(natal.bodies[n].longitude + arc);
    InfoCasas cusps{};
    for (int i = 1; i <= kHouseCount; ++i)
        cusps[i].cusp = static_cast<float>(Norm360(static_cast<Real>(natal.eclipticCusps[i].cusp) + arc));
    InfoCasas ascensional = cusps;
    const Real rotation = WheelRotation(cusps);
    SetSignsAndHouses(bodies, ascensional, cusps, options);
    for (int n = 1; n <= kBodyCount; ++n)
        bodies[n].retrograde = retrogradeSource.bodies[n].retrograde;
    CopyEcliptic(bodies, cusps, rotation, item);
}

void DirectedItem(const TDataAstro &natal, Real arc, const ChartOptions &options, RecDataProg &item) {
    DirectedResult directed = DirectedChart(natal, arc);
    InfoCasas ascensional = directed.cusps;
    const Real rotation = WheelRotation(directed.cusps);
    SetSignsAndHouses(directed.bodies, ascensional, directed.cusps, options);
    for (int n = 1; n <= kBodyCount; ++n)
        directed.bodies[n].retrograde = 0;
    CopyEcliptic(directed.bodies, directed.cusps, rotation, item);
}

void DmoItem(const TDataAstro &chart, RecDataProg &item) {
    static constexpr std::array<float, kListSize> kValues = {0, 90, 60, 30, 0, 30, 60, 90, 60, 30, 0, 30, 60};
    item.rotation = chart.ascensionalRotation;
    for (int n = 1; n <= kBodyCount; ++n) {
        RecPlanetaSimple &s = item.bodies[n];
        s = RecPlanetaSimple{};
        s.position = chart.bodies[n].dmo;
        s.sign = chart.bodies[n].quadrant;
    }
    for (int h = 1; h <= kHouseCount; ++h) {
        item.cusps[h].cusp = kValues[h];
        item.cusps[h].sign = static_cast<std::uint8_t>((h - 1) / 3 + 1);
        item.cusps[h].nextSign = 0;
    }
}

} // namespace

Real BodyFromObliqueAscension(Real pole, Real obliquity, Real x, const std::string &label) {
    const Real e = (label == "DO" ? -obliquity : obliquity) * kDegToRad;
    const Real xr = x * kDegToRad;
    const Real numerator = std::tan(pole * kDegToRad) * std::sin(e) - std::cos(xr) * std::cos(e);
    const Real denominator = std::sin(xr);
    Real t = 0;
    if (denominator != 0)
        t = std::atan(numerator / denominator) * kRadToDeg;
    else
        t = numerator > 0 ? 90 : (numerator < 0 ? -90 : 0);
    return x < 180 ? t + 90 : t + 270;
}

Real DirectedBodyLongitude(const TDataAstro &natal, int body, Real arc) {
    const RecPlaneta &b = natal.bodies[body];
    return BodyFromObliqueAscension(b.pole, natal.obliquity, Norm360(b.aoDo + arc), b.aoDoLabel);
}

float DirectedCusp(const TDataAstro &natal, int house, Real arc) {
    for (const CuspPole &c : kCuspPoles)
        if (c.house == house) {
            const Real x = Norm360(arc + static_cast<Real>(natal.ascensionalCusps[c.house].cusp));
            return static_cast<float>(CuspLongitude(x, c.factor, natal.latitude, natal.obliquity, false));
        }
    const int opposite = (house + 5) % 12 + 1;
    return static_cast<float>(Norm360(static_cast<Real>(DirectedCusp(natal, opposite, arc)) + 180));
}

DirectedResult DirectedChart(const TDataAstro &natal, Real arc) {
    DirectedResult result;
    result.bodies = natal.bodies;
    for (int n = 1; n <= kBodyCount; ++n) {
        RecPlaneta &b = result.bodies[n];
        b.longitude = DirectedBodyLongitude(natal, n, arc);
        b.aoDo = b.longitude;
    }
    for (const CuspPole &c : kCuspPoles)
        result.cusps[c.house].cusp = DirectedCusp(natal, c.house, arc);
    MirrorCusps(result.cusps);
    return result;
}

void CopyItem(const TDataAstro &chart, ChartMode form, RecDataProg &item) {
    if (form == ChartMode::Ecliptic) {
        CopyEcliptic(chart.bodies, chart.eclipticCusps, chart.eclipticRotation, item);
        return;
    }
    item.rotation = chart.ascensionalRotation;
    for (int n = 1; n <= kBodyCount; ++n) {
        RecPlanetaSimple &s = item.bodies[n];
        const RecPlaneta &b = chart.bodies[n];
        s.position = b.aoDo;
        s.wheelPosition = b.wheelAscensional;
        s.house = b.houseAscensional;
        s.sign = b.signAscensional;
        s.ruledHouses = b.ruledHousesAscensional;
        s.retrograde = b.retrograde;
    }
    for (int i = 1; i <= kHouseCount; ++i)
        item.cusps[i] = chart.ascensionalCusps[i];
}

Real ProLunaArc(const InfoCasas &natalCusps, Real ageDays) {
    const Real y = ageDays / kTropicalYear / 7;
    if (!(y > 0))
        return 0;
    const Real whole = std::trunc(y);
    const int k = static_cast<int>(std::fmod(whole, 12.0L));
    const Real f = y - whole;
    Real p = 0;
    for (int i = 1; i <= k + 1; ++i) {
        const Real a = natalCusps[i].cusp;
        const Real c = natalCusps[i % kHouseCount + 1].cusp;
        Real size = c > a ? c - a : std::fabs(Norm360(a - 180) - Norm360(c - 180));
        if (i == k + 1)
            size *= f;
        p += size;
    }
    return p;
}

void ComputeProgressions(const TDataAstro &natal, const TDataAstro &event, TDataProg &prog,
                         const ChartOptions &options) {
    auto &items = prog.items;
    CopyItem(natal, ChartMode::Ecliptic, items[kNatalEcliptic]);
    CopyItem(natal, ChartMode::Ascensional, items[kNatalAscensional]);
    CopyItem(event, ChartMode::Ecliptic, items[kEventEcliptic]);
    CopyItem(event, ChartMode::Ascensional, items[kEventAscensional]);

    // Both instants are TDateTime values on the continuous time line (fraction always the time of day).
    const auto continuous = [](TDateTime t) {
        const CivilDateTime dt = DecodeDateTime(t);
        return static_cast<Real>(DaysFromCivil(dt.year, dt.month, dt.day)) +
               (static_cast<Real>(dt.hour) * 3'600'000 + dt.minute * 60'000 + dt.second * 1000 +
                dt.millisecond) /
                   86'400'000;
    };
    prog.age = (natal.instant >= 0 && event.instant >= 0)
                   ? static_cast<Real>(event.instant) - static_cast<Real>(natal.instant)
                   : continuous(event.instant) - continuous(natal.instant);
    prog.primaryArc = prog.age * kPrimaryArcPerDay;

    DirectedItem(natal, prog.primaryArc, options, items[kPrimaryDirect]);
    DirectedItem(natal, -prog.primaryArc, options, items[kPrimaryConverse]);

    // Secondary directions: a day after birth for each year of age.
    prog.progressedInstant = ShiftDateTime(natal.instant, prog.age / kTropicalYear);
    const Real jd = InstantToJulianDay(prog.progressedInstant);
    const Real armc1 = Armc(natal.longitude, SiderealTime(jd));
    const TopocentricResult cusps1 = TopocentricCusps(armc1, natal.obliquity, natal.latitude);
    InfoCasas eclipticCusps1{};
    StoreCusps(eclipticCusps1, cusps1.ecliptic);
    InfoPlanetas progressed{};
    ComputeBodies(progressed, eclipticCusps1, natal.obliquity, jd, prog.progressedInstant);
    Real a = std::fabs(natal.bodies[1].rightAscension - progressed[1].rightAscension);
    if (a > 180)
        a = 360 - a;
    prog.progressedArmc = Norm360(natal.armc + a);
    const TopocentricResult cusps7 = TopocentricCusps(prog.progressedArmc, natal.obliquity, natal.latitude);
    InfoCasas ecliptic7{};
    InfoCasas ascensional7{};
    StoreCusps(ecliptic7, cusps7.ecliptic);
    StoreCusps(ascensional7, cusps7.ascensional);
    const Real rotation7 = WheelRotation(ecliptic7);
    SetSignsAndHouses(progressed, ascensional7, ecliptic7, options);
    CopyEcliptic(progressed, ecliptic7, rotation7, items[kSecondary]);

    // Solar arc: the progressed Sun's advance, 0 < s <= 360.
    const Real sunNatal = natal.bodies[1].longitude;
    const Real sunProgressed = progressed[1].longitude;
    prog.solarArc = sunProgressed > sunNatal ? sunProgressed - sunNatal : 360 - sunNatal + sunProgressed;
    ShiftedItem(natal, prog.solarArc, items[kSecondary], options, items[kSolarArc]);

    prog.proLunaArc = ProLunaArc(natal.eclipticCusps, prog.age);
    ShiftedItem(natal, prog.proLunaArc, items[kSecondary], options, items[kProLuna]);

    DmoItem(natal, items[kNatalDmo]);
    DmoItem(event, items[kEventDmo]);
}

} // namespace cel::chart
