#include "analysis/aspects.h"

#include <algorithm>
#include <cmath>

namespace cel::analysis {

const std::array<AspectKindInfo, kAspectKindCount + 1> kAspectKinds{{
    {},
    {0, "Conjunción", "+-", AspectColour::Blue, true},
    {15, "Facilitador", "+", AspectColour::Green, false},
    {30, "SemiSextil", "+", AspectColour::Blue, false},
    {45, "Semicuadratura", "-", AspectColour::Red, false},
    {60, "Sextil", "+", AspectColour::Blue, true},
    {75, "Facilitador", "+", AspectColour::Green, false},
    {90, "Cuadratura", "-", AspectColour::Red, true},
    {105, "Facilitador", "+", AspectColour::Green, false},
    {120, "Trigono", "+", AspectColour::Blue, true},
    {135, "Sesquicuadratura", "-", AspectColour::Red, false},
    {150, "Quincuncio", "+", AspectColour::Blue, false},
    {165, "Facilitador", "+", AspectColour::Green, false},
    {180, "Oposición", "-", AspectColour::Red, true},
}};

namespace {

void WriteMember(std::string &key, std::size_t at, char kind, int number) {
    key[at] = kind;
    key[at + 1] = static_cast<char>('0' + (number / 10) % 10);
    key[at + 2] = static_cast<char>('0' + number % 10);
}

int TwoDigits(std::string_view key, std::size_t at) {
    if (key.size() < at + 2)
        return 0;
    const char a = key[at], b = key[at + 1];
    if (a < '0' || a > '9' || b < '0' || b > '9')
        return 0;
    return (a - '0') * 10 + (b - '0');
}

void AppendAspect(AspectList &list, std::string key, int kind, const FoundAspect &found) {
    TAspReg record;
    record.kind = static_cast<std::uint8_t>(kind);
    record.arc = found.arc;
    record.strength = AspectStrength(found.deviation, found.orb);
    record.key = std::move(key);
    list.push_back(std::move(record));
}

// Pairs of one kind of member (bodies or cusps) of two lists, the first k found within the orb.
void CollectSameKind(AspectList &list, char letter, const PositionList &a, const PositionList &b, int mode,
                     bool angular, bool same, bool cross, const settings::OrbTables &orbs) {
    const float preset = PresetOrb(mode, orbs);
    for (int i = 1; i <= 12; ++i) {
        for (int j = 1; j <= 12; ++j) {
            if (i == j && !same)
                continue;
            std::string key = MakePairKey(letter, i, letter, j);
            for (int k = 1; k <= kAspectKindCount; ++k) {
                const FoundAspect found = FindAspect(mode, k, angular, a[i], b[j], preset, orbs);
                if (found.found && !HasPair(list, key, !cross)) {
                    AppendAspect(list, std::move(key), k, found);
                    break;
                }
            }
        }
    }
}

// Tries the kinds 1..13 between x and y under the orb of the controlled kind; appends the first found.
bool AppendDispositor(DispositorList &list, float x, float y, float orb, const std::string &controlledKey,
                      std::string dispositorKey, int controlledKind, const settings::OrbTables &orbs) {
    for (int k = 1; k <= kAspectKindCount; ++k) {
        const FoundAspect found = FindAspect(1, k, true, x, y, orb, orbs);
        if (!found.found)
            continue;
        TDispReg record;
        record.kind = static_cast<std::uint8_t>(k);
        record.arc = found.arc;
        record.strength = AspectStrength(found.deviation, orb);
        record.controlledKey = controlledKey;
        record.dispositorKey = std::move(dispositorKey);
        record.controlledKind = static_cast<std::uint8_t>(controlledKind);
        list.push_back(std::move(record));
        return true;
    }
    return false;
}

} // namespace

std::string MakePairKey(char kind1, int number1, char kind2, int number2) {
    std::string key = "......";
    WriteMember(key, 0, kind1, number1);
    WriteMember(key, 3, kind2, number2);
    return key;
}

PairMembers ReadPairKey(std::string_view key) {
    PairMembers members;
    members.kind1 = key.size() > 0 ? key[0] : '.';
    members.number1 = TwoDigits(key, 1);
    members.kind2 = key.size() > 3 ? key[3] : '.';
    members.number2 = TwoDigits(key, 4);
    return members;
}

std::string SwappedKey(std::string_view key) {
    if (key.size() < 6)
        return std::string(key);
    std::string swapped;
    swapped.reserve(6);
    swapped.append(key.substr(3, 3));
    swapped.append(key.substr(0, 3));
    return swapped;
}

PositionList BodyPositions(const chart::RecDataProg &item) {
    PositionList list{};
    for (int i = 1; i <= 12; ++i)
        list[static_cast<std::size_t>(i)] =
            static_cast<float>(item.bodies[static_cast<std::size_t>(i)].position);
    return list;
}

PositionList CuspPositions(const chart::RecDataProg &item) {
    PositionList list{};
    for (int i = 1; i <= 12; ++i)
        list[static_cast<std::size_t>(i)] = item.cusps[static_cast<std::size_t>(i)].cusp;
    return list;
}

float PresetOrb(int mode, const settings::OrbTables &orbs) {
    if (mode >= 1 && mode <= settings::kOrbPresetCount)
        return orbs.presets[static_cast<std::size_t>(mode)];
    return 0;
}

FoundAspect FindAspect(int mode, int kind, bool angular, float x, float y, float preset,
                       const settings::OrbTables &orbs) {
    FoundAspect result;
    if (kind < 1 || kind > kAspectKindCount)
        return result;
    float separation = std::fabs(y - x);
    if (separation > 180.0f)
        separation = 360.0f - separation;
    const float angle = static_cast<float>((kind - 1) * 15);
    const auto k = static_cast<std::size_t>(kind);
    float orb = 0;
    if (mode == kOrbModeEcliptic)
        orb = angular ? orbs.OPE[k] : orbs.OCE[k];
    else if (mode == kOrbModeAscensional)
        orb = orbs.OPA[k];
    else
        orb = preset;
    const float deviation = std::fabs(separation - angle);
    if (deviation > orb)
        return result;
    float arc = x - y;
    if (std::fabs(arc) > 180.0f)
        arc = arc < 0 ? arc + 360.0f : std::fabs(arc) - 360.0f;
    result.found = true;
    result.deviation = deviation;
    result.arc = arc;
    result.orb = orb;
    return result;
}

float AspectStrength(float deviation, float orb) {
    if (orb == 0.0f)
        return 100.0f; // only an exact aspect passes an orb of 0
    return 100.0f - deviation * 100.0f / orb;
}

bool HasPair(const AspectList &list, std::string_view key, bool eitherOrder) {
    const std::string swapped = eitherOrder ? SwappedKey(key) : std::string();
    for (const TAspReg &record : list) {
        if (record.key == key || (eitherOrder && record.key == swapped))
            return true;
    }
    return false;
}

void CollectBodyAspects(AspectList &list, const PositionList &a, const PositionList &b, int mode, bool same,
                        bool cross, const settings::OrbTables &orbs) {
    CollectSameKind(list, 'p', a, b, mode, true, same, cross, orbs);
}

void CollectCuspAspects(AspectList &list, const PositionList &a, const PositionList &b, int mode, bool same,
                        bool cross, const settings::OrbTables &orbs) {
    CollectSameKind(list, 'c', a, b, mode, false, same, cross, orbs);
}

void CollectBodyCuspAspects(AspectList &list, const PositionList &bodies, const PositionList &cusps, int mode,
                            const settings::OrbTables &orbs) {
    const float preset = PresetOrb(mode, orbs);
    for (int i = 1; i <= 12; ++i) {
        for (int j = 1; j <= 12; ++j) {
            const bool angular = j == 1 || j == 10;
            for (int k = 1; k <= kAspectKindCount; ++k) {
                const FoundAspect found = FindAspect(mode, k, angular, bodies[i], cusps[j], preset, orbs);
                if (found.found) {
                    AppendAspect(list, MakePairKey('p', i, 'c', j), k, found);
                    break;
                }
            }
        }
    }
}

int NextRuler(int start, int sign, const settings::DignityMatrix &matrix) {
    for (int b = std::max(start, 1); b <= 12; ++b) {
        if (matrix.Rules(b, sign))
            return b;
    }
    return -1;
}

bool LiesBetween(float a, float b, float c) {
    const float lo = std::min(a, c);
    const float hi = std::max(a, c);
    if (std::fabs(a - c) >= 180.0f)
        return (0.0f <= b && b <= lo) || (hi <= b && b <= 360.0f);
    return lo <= b && b <= hi;
}

namespace {

// The dispositor aspects of one ecliptic list (body–body, or body–cusp when toCusps): for each pair
// that is not also ascensional, every ruler of either member's sign that lies between the two.
void CollectDispositors(DispositorList &list, AspectList &ecliptic, const AspectList &ascensional,
                        const chart::RecDataProg &item1, const chart::RecDataProg &item2, bool toCusps,
                        const settings::OrbTables &orbs, const settings::DignityMatrix &matrix) {
    const PositionList pos = BodyPositions(item2);
    const PositionList second = toCusps ? CuspPositions(item2) : pos;
    for (TAspReg &record : ecliptic) {
        if (HasPair(ascensional, record.key, false))
            continue;
        const PairMembers m = ReadPairKey(record.key);
        const int r = m.number1, s = m.number2;
        if (r < 1 || r > 12 || s < 1 || s > 12)
            continue;
        const int k0 = record.kind;
        const float orb = orbs.OPA[static_cast<std::size_t>(k0)];
        // The ruler's pair with the other member: bodies in number order; a cusp after its body.
        const auto withS = [&](int R) {
            return toCusps ? MakePairKey('p', R, 'c', s)
                           : MakePairKey('p', std::min(R, s), 'p', std::max(R, s));
        };
        const auto withR = [&](int R) {
            return toCusps ? MakePairKey('p', r, 'p', R)
                           : MakePairKey('p', std::min(R, r), 'p', std::max(R, r));
        };
        const int signR = item1.bodies[static_cast<std::size_t>(r)].sign;
        for (int R = NextRuler(1, signR, matrix); R != -1; R = NextRuler(R + 1, signR, matrix)) {
            if (LiesBetween(second[s], pos[R], pos[r]) &&
                AppendDispositor(list, pos[R], second[s], orb, record.key, withS(R), k0, orbs))
                record.dispositorMark = 1;
        }
        const int signS = toCusps ? item1.cusps[static_cast<std::size_t>(s)].sign
                                  : item1.bodies[static_cast<std::size_t>(s)].sign;
        for (int R = NextRuler(1, signS, matrix); R != -1; R = NextRuler(R + 1, signS, matrix)) {
            if (LiesBetween(second[s], pos[R], pos[r]) &&
                AppendDispositor(list, pos[r], pos[R], orb, record.key, withR(R), k0, orbs))
                record.dispositorMark = 1;
        }
    }
}

} // namespace

void CollectDispositorAspects(DispositorList &list, AspectList &eclipticBodies,
                              const AspectList &ascensionalBodies, const chart::RecDataProg &item1,
                              const chart::RecDataProg &item2, const settings::OrbTables &orbs,
                              const settings::DignityMatrix &matrix) {
    CollectDispositors(list, eclipticBodies, ascensionalBodies, item1, item2, false, orbs, matrix);
}

void CollectDispositorCuspAspects(DispositorList &list, AspectList &eclipticBodyCusp,
                                  const AspectList &ascensionalBodyCusp, const chart::RecDataProg &item1,
                                  const chart::RecDataProg &item2, const settings::OrbTables &orbs,
                                  const settings::DignityMatrix &matrix) {
    CollectDispositors(list, eclipticBodyCusp, ascensionalBodyCusp, item1, item2, true, orbs, matrix);
}

void BuildNatalAspects(AspectLists &lists, const chart::RecDataProg &item1, const chart::RecDataProg &item2,
                       bool computeDispositors, const settings::OrbTables &orbs,
                       const settings::DignityMatrix &matrix) {
    lists.eclipticBodies.clear();
    lists.eclipticBodyCusp.clear();
    lists.eclipticCusps.clear();
    lists.ascensionalBodies.clear();
    lists.ascensionalBodyCusp.clear();
    lists.ascensionalCusps.clear();
    lists.dispositorBodies.clear();
    lists.dispositorBodyCusp.clear();

    const PositionList bodies1 = BodyPositions(item1), cusps1 = CuspPositions(item1);
    CollectBodyAspects(lists.eclipticBodies, bodies1, bodies1, kOrbModeEcliptic, false, false, orbs);
    CollectBodyCuspAspects(lists.eclipticBodyCusp, bodies1, cusps1, kOrbModeEcliptic, orbs);
    CollectCuspAspects(lists.eclipticCusps, cusps1, cusps1, kOrbModeEcliptic, false, false, orbs);

    const PositionList bodies2 = BodyPositions(item2), cusps2 = CuspPositions(item2);
    CollectBodyAspects(lists.ascensionalBodies, bodies2, bodies2, kOrbModeAscensional, false, false, orbs);
    CollectBodyCuspAspects(lists.ascensionalBodyCusp, bodies2, cusps2, kOrbModeAscensional, orbs);
    CollectCuspAspects(lists.ascensionalCusps, cusps2, cusps2, kOrbModeAscensional, false, false, orbs);

    if (computeDispositors) {
        CollectDispositorAspects(lists.dispositorBodies, lists.eclipticBodies, lists.ascensionalBodies, item1,
                                 item2, orbs, matrix);
        CollectDispositorCuspAspects(lists.dispositorBodyCusp, lists.eclipticBodyCusp,
                                     lists.ascensionalBodyCusp, item1, item2, orbs, matrix);
    }
}

void BuildPairAspects(AspectLists &lists, const chart::RecDataProg &inner, const chart::RecDataProg &outer,
                      int mode, bool cross, const settings::OrbTables &orbs) {
    lists.pairBodies.clear();
    lists.pairBodyCusp.clear();
    lists.pairCuspBody.clear();
    lists.pairCusps.clear();
    const PositionList innerBodies = BodyPositions(inner), innerCusps = CuspPositions(inner);
    const PositionList outerBodies = BodyPositions(outer), outerCusps = CuspPositions(outer);
    CollectBodyAspects(lists.pairBodies, outerBodies, innerBodies, mode, cross, cross, orbs);
    CollectBodyCuspAspects(lists.pairBodyCusp, outerBodies, innerCusps, mode, orbs);
    CollectBodyCuspAspects(lists.pairCuspBody, innerBodies, outerCusps, mode, orbs);
    CollectCuspAspects(lists.pairCusps, outerCusps, innerCusps, mode, cross, cross, orbs);
}

bool AspectVisible(const TDetallesAspecto &record, std::string_view key, const settings::RecVistaCarta &view,
                   int item) {
    using namespace settings;
    if (item == chart::kNatalEcliptic && view.dispositorFilter && record.dispositorMark == 0)
        return false;
    if (record.kind < 1 || record.kind > kAspectKindCount || !view.angleSelection[record.kind])
        return false;
    if (record.strength < static_cast<float>(view.strengthFilter))
        return false;
    const PairMembers m = ReadPairKey(key);
    auto point = [&](int n) { return n >= 1 && n <= 12 && view.pointSelection[static_cast<std::size_t>(n)]; };
    auto cusp = [&](int n) { return n >= 1 && n <= 12 && view.cuspSelection[static_cast<std::size_t>(n)]; };
    if (m.kind1 == 'p' && m.kind2 == 'p')
        return view.aspectFamilies[kPointPoint] && (point(m.number1) || point(m.number2));
    if (m.kind1 == 'p' && m.kind2 == 'c')
        return (view.aspectFamilies[kPointCusp] && (point(m.number1) || cusp(m.number2))) ||
               (view.aspectFamilies[kCuspPoint] && cusp(m.number2));
    if (m.kind1 == 'c' && m.kind2 == 'c')
        return view.aspectFamilies[kCuspCusp] && (cusp(m.number1) || cusp(m.number2));
    return false;
}

} // namespace cel::analysis
