#include "chart/pipeline.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "astronomy/earth_orientation.h"
#include "astronomy/moon.h"
#include "astronomy/pluto_node_fortune.h"
#include "astronomy/time_scales.h"
#include "chart/separation.h"
#include "settings/settings.h"

namespace cel::chart {

using namespace cel::astronomy;

const std::array<const char *, kListSize> kBodyNames = {"",    "Sol", "Lun", "Mer", "Ven", "Mar", "Jup",
                                                        "Sat", "Ura", "Nep", "Plu", "Nod", "Rue"};
const std::array<const char *, kListSize> kSignNames = {"",    "Ari", "Tau", "Gem", "Can", "Leo", "Vir",
                                                        "Lib", "Esc", "Sag", "Cap", "Acu", "Pis"};

ChartOptions ChartOptionsFrom(const settings::Settings &settings) {
    ChartOptions options;
    options.tolerances = settings.orbs.Tolerances();
    options.dignities = settings.dignity;
    options.largeGlyphs = settings.rueda.imagenR;
    return options;
}

std::uint8_t SignOf(Real longitude) {
    if (!(longitude >= 0 && longitude < 360))
        longitude = Norm360(longitude);
    if (longitude >= 360)
        longitude = 0;
    const int sign = static_cast<int>(std::trunc(longitude / 30)) + 1;
    return static_cast<std::uint8_t>(std::clamp(sign, 1, 12));
}

namespace {

// Look-ahead of the retrograde test for bodies 3..11, in days.
constexpr Real LookAhead(int days, int hours, int minutes, int seconds) {
    return days + (hours + (minutes + seconds / 60.0L) / 60.0L) / 24.0L;
}
constexpr std::array<Real, 12> kLookAhead = {
    0,
    0,
    0,
    LookAhead(0, 3, 27, 16), // Mercury
    LookAhead(0, 5, 42, 0),  // Venus
    LookAhead(0, 9, 28, 1),  // Mars
    LookAhead(1, 5, 55, 0),  // Jupiter
    LookAhead(2, 17, 30, 0), // Saturn
    LookAhead(4, 11, 30, 0), // Uranus
    LookAhead(6, 23, 30, 0), // Neptune
    LookAhead(9, 17, 0, 0),  // Pluto
    LookAhead(4, 21, 0, 0),  // node
};

// Longitude of body n (3..11) at jd, with the Sun of that instant.
Real BodyLongitudeAt(int body, Real jd, Real obliquity) {
    if (body == 11)
        return MeanNode(jd);
    const SunResult sun = SunPosition(jd);
    if (body == 10)
        return PlutoPosition(jd, obliquity, sun.distance).longitude;
    return PlanetPosition(body, jd, sun).longitude;
}

// Signed shortest difference b - a on the circle, in (-180, 180].
Real SignedDifference(Real a, Real b) {
    Real d = std::fmod(b - a, 360.0L);
    if (d > 180)
        d -= 360;
    else if (d <= -180)
        d += 360;
    return d;
}

} // namespace

astronomy::CuspValues CuspValuesOf(const InfoCasas &cusps) {
    astronomy::CuspValues values{};
    for (int i = 1; i <= kHouseCount; ++i)
        values[i] = cusps[i].cusp;
    return values;
}

void StoreCusps(InfoCasas &cusps, const astronomy::CuspValues &values) {
    for (int i = 1; i <= kHouseCount; ++i)
        cusps[i].cusp = values[i];
}

void ComputeChartFor(ChartContext &context, TDato &record, const PlacePosition &place, TDataAstro &chart,
                     TDateTime value) {
    record.zone = place.zone;
    record.longitude = place.longitude;
    record.latitude = place.latitude;
    if (record.gmtFlag == 1) {
        record.gmtDateTime = value;
        record.localDateTime = GmtToLocal(value, record.zone);
    } else {
        record.localDateTime = value;
        record.gmtDateTime = LocalToGmt(value, record.zone);
    }
    ComputeChart(context, record, chart);
    ++context.counters.requests;
}

void ComputeChart(ChartContext &context, const TDato &record, TDataAstro &chart) {
    chart.latitude = record.latitude;
    chart.longitude = record.longitude;
    chart.deltaTFlag = record.deltaTFlag;
    TDateTime instant = record.gmtDateTime;
    float deltaT = 0;
    float d = 0;
    if (record.deltaTFlag == 1) {
        deltaT = static_cast<float>(DeltaT(instant));
        d = deltaT / 86400.0f;
        instant = ShiftDateTime(instant, d);
    }
    chart.deltaT = deltaT;
    chart.instant = instant;
    chart.julianDay = InstantToJulianDay(instant);
    chart.obliquity = Obliquity(true, chart.julianDay);
    chart.siderealTime = SiderealTime(InstantToJulianDay(d != 0 ? ShiftDateTime(instant, -d) : instant));
    chart.armc = Armc(chart.longitude, chart.siderealTime);

    const TopocentricResult cusps = TopocentricCusps(chart.armc, chart.obliquity, chart.latitude);
    StoreCusps(chart.eclipticCusps, cusps.ecliptic);
    StoreCusps(chart.ascensionalCusps, cusps.ascensional);

    const SunResult sun =
        ComputeBodies(chart.bodies, chart.eclipticCusps, chart.obliquity, chart.julianDay, chart.instant);
    chart.sunTrueLongitude = sun.trueLongitudePlusNutation;
    const EquationOfTimeResult eot =
        EquationOfTime(chart.bodies[1].rightAscension, chart.obliquity, chart.julianDay);
    chart.equationOfTime = eot.days;
    chart.sunMeanLongitude = eot.sunMeanLongitude;

    std::array<MundaneInput, kListSize> inputs{};
    for (int n = 1; n <= kBodyCount; ++n)
        inputs[n] = {chart.bodies[n].longitude, chart.bodies[n].rightAscension, chart.bodies[n].declination};
    const std::array<MundaneFields, kListSize> mundane =
        MundanePositions(inputs, cusps.ecliptic, cusps.ascensional, chart.latitude);
    for (int n = 1; n <= kBodyCount; ++n) {
        RecPlaneta &b = chart.bodies[n];
        const MundaneFields &m = mundane[n];
        b.quadrant = m.quadrant;
        b.meridianDistance = m.meridianDistance;
        b.ascensionalDifference = m.ascensionalDifference;
        b.semiArc = m.semiArc;
        b.dmo = m.dmo;
        b.pole = m.pole;
        b.adp = m.adp;
        b.aoDo = m.aoDo;
        b.aoDoLabel = AoDoLabel(m.ascension);
    }

    chart.eclipticRotation = WheelRotation(chart.eclipticCusps);
    chart.ascensionalRotation = WheelRotation(chart.ascensionalCusps);
    SetSignsAndHouses(chart.bodies, chart.ascensionalCusps, chart.eclipticCusps, context.options);
    ++context.counters.computed;
}

astronomy::SunResult ComputeBodies(InfoPlanetas &bodies, const InfoCasas &eclipticCusps, Real obliquity,
                                   Real jd, TDateTime instant) {
    const SunResult sun = SunPosition(jd);
    auto set = [&bodies](int n, Real longitude, Real latitude, Real distance) {
        bodies[n].longitude = longitude;
        bodies[n].latitude = latitude;
        bodies[n].distance = distance;
    };
    set(1, sun.longitude, sun.latitude, sun.distance);
    const BodyPosition moon = MoonPosition(jd);
    set(2, moon.longitude, moon.latitude, moon.distance);
    for (int n = 3; n <= 9; ++n) {
        const BodyPosition p = PlanetPosition(n, jd, sun);
        set(n, p.longitude, p.latitude, p.distance);
    }
    const Ecliptic pluto = PlutoPosition(jd, obliquity, sun.distance);
    set(10, pluto.longitude, pluto.latitude, 0);
    set(11, MeanNode(jd), kPointLatitude, 0);
    set(12, PartOfFortune(eclipticCusps[1].cusp, sun.longitude, moon.longitude), kPointLatitude, 0);

    for (int n = 1; n <= kBodyCount; ++n) {
        const Equatorial eq = EclipticToEquatorial(obliquity, bodies[n].latitude, bodies[n].longitude);
        bodies[n].rightAscension = eq.rightAscension;
        bodies[n].declination = eq.declination;
    }

    // A body is retrograde when its longitude goes back over the look-ahead; the shortest signed
    // difference decides, so a body moving forward over 0 degrees stays direct.
    const CivilDateTime dt = DecodeDateTime(instant);
    const Real dayFraction =
        (static_cast<Real>(dt.hour) * 3'600'000 + dt.minute * 60'000 + dt.second * 1000 + dt.millisecond) /
        86'400'000;
    bodies[1].retrograde = 0;
    bodies[2].retrograde = 0;
    bodies[12].retrograde = 0;
    for (int n = 3; n <= 11; ++n) {
        const Real jdAhead =
            JulianDay(static_cast<std::uint16_t>(dt.year), dt.month, dt.day + dayFraction + kLookAhead[n]);
        const Real later = BodyLongitudeAt(n, jdAhead, obliquity);
        bodies[n].retrograde = SignedDifference(bodies[n].longitude, later) < 0 ? 1 : 0;
    }
    return sun;
}

void SetCuspSigns(InfoCasas &cusps) {
    for (int i = 1; i <= kHouseCount; ++i) {
        float c = cusps[i].cusp;
        if (c >= 360.0f)
            c = 0;
        const int sign = std::clamp(static_cast<int>(std::trunc(c / 30.0f)) + 1, 1, 12);
        cusps[i].sign = static_cast<std::uint8_t>(sign);
        cusps[i].nextSign =
            c >= 30.0f * static_cast<float>(sign) - 3.0f ? static_cast<std::uint8_t>(sign % 12 + 1) : 0;
    }
}

// House intervals that cross 0 degrees need no wheel rotation: HouseOf turns them itself.
void SetSignsAndHouses(InfoPlanetas &bodies, InfoCasas &ascensionalCusps, InfoCasas &eclipticCusps,
                       const ChartOptions &options) {
    SetCuspSigns(ascensionalCusps);
    SetCuspSigns(eclipticCusps);
    for (int n = 1; n <= kBodyCount; ++n) {
        RecPlaneta &b = bodies[n];
        b.signEcliptic = SignOf(b.longitude);
        b.ruledHousesEcliptic = RuledHouses(n, eclipticCusps, options.dignities);
        b.houseEcliptic = CuspTolerance(ChartMode::Ecliptic, HouseOf(eclipticCusps, b.longitude),
                                        eclipticCusps, b.longitude, options.tolerances);
        b.signAscensional = SignOf(b.aoDo);
        b.ruledHousesAscensional = RuledHouses(n, ascensionalCusps, options.dignities);
        b.houseAscensional = CuspTolerance(ChartMode::Ascensional, HouseOf(ascensionalCusps, b.aoDo),
                                           ascensionalCusps, b.aoDo, options.tolerances);
    }
    SpreadPositions(bodies, options.largeGlyphs);
}

namespace {
float Turned(float v) {
    return static_cast<float>(Norm360(static_cast<Real>(v) + 180));
}
} // namespace

std::uint8_t HouseOf(const InfoCasas &cusps, Real x) {
    const float xs = static_cast<float>(x);
    for (int i = 1; i <= kHouseCount; ++i) {
        float a = cusps[i].cusp;
        float c = cusps[i % kHouseCount + 1].cusp;
        float v = xs;
        if (a > c) {
            a = Turned(a);
            c = Turned(c);
            v = Turned(v);
        }
        if (a <= v && v < c)
            return static_cast<std::uint8_t>(i);
    }
    return 12; // degenerate cusps: no interval holds x
}

std::uint8_t CuspTolerance(ChartMode mode, std::uint8_t house, const InfoCasas &cusps, Real x,
                           const settings::CuspTolerances &tolerances) {
    if (house < 1 || house > kHouseCount)
        return house;
    const int next = house % kHouseCount + 1;
    const float orb = mode == ChartMode::Ascensional ? tolerances.ascensional
                      : (next == 1 || next == 10)    ? tolerances.angular
                                                     : tolerances.other;
    Real d = cusps[next].cusp;
    Real v = x;
    if (v > d) {
        d = Norm360(d + 180);
        v = Norm360(v + 180);
    }
    if (d - orb > v)
        return house;
    return static_cast<std::uint8_t>(next);
}

std::string RuledHouses(int body, const InfoCasas &cusps, const settings::DignityMatrix &dignities) {
    std::string text;
    for (int h = kHouseCount; h >= 1; --h) {
        const std::string item = std::to_string(h) + ",";
        if (cusps[h].nextSign != 0 && dignities.Rules(body, cusps[h].nextSign))
            text.insert(0, item);
        if (dignities.Rules(body, cusps[h].sign))
            text.insert(0, item);
    }
    if (!text.empty())
        text.pop_back();
    return text;
}

// With y = x - the sum of the gaps before it, the constraints become y non-decreasing, which pooling
// adjacent violators solves.
void SeparateInOrder(std::span<const Real> q, std::span<const Real> d, std::span<Real> x) {
    struct Block {
        Real sum = 0;
        int count = 0;
        Real Mean() const { return sum / count; }
    };
    const std::size_t n = q.size();
    std::vector<Real> offset(n, 0);
    for (std::size_t j = 1; j < n; ++j)
        offset[j] = offset[j - 1] + d[j - 1];
    std::vector<Block> blocks;
    blocks.reserve(n);
    for (std::size_t j = 0; j < n; ++j) {
        blocks.push_back(Block{q[j] - offset[j], 1});
        while (blocks.size() > 1 && blocks[blocks.size() - 2].Mean() > blocks.back().Mean()) {
            blocks[blocks.size() - 2].sum += blocks.back().sum;
            blocks[blocks.size() - 2].count += blocks.back().count;
            blocks.pop_back();
        }
    }
    std::size_t j = 0;
    for (const Block &block : blocks)
        for (int k = 0; k < block.count; ++k, ++j)
            x[j] = block.Mean() + offset[j];
}

namespace {

std::array<Real, kBodyCount> SeparateInOrder(const std::array<Real, kBodyCount> &q,
                                             const std::array<Real, kBodyCount> &d) {
    std::array<Real, kBodyCount> x{};
    chart::SeparateInOrder(std::span<const Real>(q), std::span<const Real>(d), std::span<Real>(x));
    return x;
}

} // namespace

bool SpreadList(std::array<TAuxPos, kBodyCount> &list, Real separation) {
    return SpreadList(list, [separation](Real) { return separation; });
}

bool SpreadList(std::array<TAuxPos, kBodyCount> &list,
                const std::function<Real(Real position)> &separationAt) {
    std::stable_sort(list.begin(), list.end(),
                     [](const TAuxPos &a, const TAuxPos &b) { return a.position < b.position; });
    for (const TAuxPos &e : list)
        if (!std::isfinite(e.position))
            return false;
    // Cut the circle at its widest gap and unroll it from there, so every body keeps its neighbours.
    int cut = kBodyCount - 1;
    Real widest = list[0].position + 360 - list[kBodyCount - 1].position;
    for (int i = 0; i + 1 < kBodyCount; ++i)
        if (const Real gap = list[i + 1].position - list[i].position; gap > widest) {
            widest = gap;
            cut = i;
        }
    std::array<Real, kBodyCount> q{}, shift{};
    for (int j = 0; j < kBodyCount; ++j) {
        const int i = (cut + 1 + j) % kBodyCount;
        shift[j] = i <= cut ? 360 : 0;
        q[j] = list[i].position + shift[j];
    }
    // The separations where the neighbours meet, taken again where they end up (the larger of the two).
    std::array<Real, kBodyCount> d{};
    for (int j = 0; j + 1 < kBodyCount; ++j)
        d[j] = separationAt((q[j] + q[j + 1]) / 2);
    std::array<Real, kBodyCount> x = SeparateInOrder(q, d);
    for (int j = 0; j + 1 < kBodyCount; ++j)
        d[j] = std::max(d[j], separationAt((x[j] + x[j + 1]) / 2));
    x = SeparateInOrder(q, d);
    const Real closing = separationAt((x[kBodyCount - 1] + x[0] + 360) / 2);
    if (x[0] + 360 - x[kBodyCount - 1] < closing) {
        // The spread runs round the whole circle: space all twelve evenly about their centre.
        Real centre = 0;
        for (int j = 0; j < kBodyCount; ++j)
            centre += q[j] - (j - (kBodyCount - 1) / Real(2)) * 30;
        centre /= kBodyCount;
        for (int j = 0; j < kBodyCount; ++j)
            x[j] = centre + (j - (kBodyCount - 1) / Real(2)) * 30;
    }
    std::array<TAuxPos, kBodyCount> out{};
    for (int j = 0; j < kBodyCount; ++j) {
        const int i = (cut + 1 + j) % kBodyCount;
        out[i] = {list[i].body, x[j] - shift[j]};
    }
    list = out;
    return true;
}

void SpreadPositions(InfoPlanetas &bodies, bool largeGlyphs) {
    const Real separation = largeGlyphs ? kLargeGlyphSeparation : kGlyphSeparation;
    std::array<TAuxPos, kBodyCount> ecliptic{};
    std::array<TAuxPos, kBodyCount> ascensional{};
    for (int n = 1; n <= kBodyCount; ++n) {
        ecliptic[n - 1] = {n, bodies[n].longitude};
        ascensional[n - 1] = {n, bodies[n].aoDo};
    }
    SpreadList(ecliptic, separation);
    SpreadList(ascensional, separation);
    for (const TAuxPos &e : ecliptic)
        bodies[e.body].wheelEcliptic = e.position;
    for (const TAuxPos &e : ascensional)
        bodies[e.body].wheelAscensional = e.position;
}

Real WheelRotation(const InfoCasas &cusps) {
    return Norm360(540 - static_cast<Real>(cusps[1].cusp));
}

} // namespace cel::chart
