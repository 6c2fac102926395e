// Aspects and orbs: the thirteen aspect kinds, pair keys, the aspect and dispositor records, the twelve
// aspect lists with their builders, and the display filter of the wheel and the tables.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "chart/progressions.h"
#include "common/chart_numbering.h"
#include "settings/dignity_matrix.h"
#include "settings/orb_tables.h"
#include "settings/view_record.h"

namespace cel::analysis {

inline constexpr int kAspectKindCount = 13; // kind k (1..13) is the angle (k - 1) * 15 degrees

enum class AspectColour { Blue, Green, Red };

struct AspectKindInfo {
    int angle = 0;
    const char *label = "";  // as the orb matrix dialog shows it
    const char *nature = ""; // "+", "-" or "+-" (the conjunction shows both)
    AspectColour lineColour = AspectColour::Blue;
    bool main = false; // selected by "P" ("Aspectos principales (mayores)")
};
// Kinds 1..13; entry 0 is empty.
extern const std::array<AspectKindInfo, kAspectKindCount + 1> kAspectKinds;

// Orb modes: 1..8 the orb presets, 9 "M. Ecl." (`OPE`/`OCE`), 10 "M. Asc." (`OPA`).
inline constexpr int kOrbModeEcliptic = 9;
inline constexpr int kOrbModeAscensional = 10;

// Six-character pair keys: kind letter ("p" body, "c" cusp) and two-digit number of each member.
std::string MakePairKey(char kind1, int number1, char kind2, int number2);
struct PairMembers {
    char kind1 = 'p';
    int number1 = 0;
    char kind2 = 'p';
    int number2 = 0;
};
// The members of a key; numbers that are not digits read as 0.
PairMembers ReadPairKey(std::string_view key);
// Characters 4-6 followed by 1-3.
std::string SwappedKey(std::string_view key);

struct TDetallesAspecto {
    std::uint8_t kind = 0;           // aspect index 1..13
    float arc = 0;                   // degrees, -180..180
    float strength = 0;              // percent
    std::uint8_t dispositorMark = 0; // 1 when the aspect is under dispositor control
    bool operator==(const TDetallesAspecto &) const = default;
};

struct TAspReg : TDetallesAspecto {
    std::string key; // pair key; the arc is first member minus second
    bool operator==(const TAspReg &) const = default;
};

// A dispositor record: its own kind, arc and strength describe the aspect between the dispositor and the
// other member of the controlled aspect.
struct TDispReg : TDetallesAspecto {
    std::string controlledKey;       // the TAspReg it was derived from
    std::string dispositorKey;       // the dispositor pair
    std::uint8_t controlledKind = 0; // kind of the controlled aspect
    bool operator==(const TDispReg &) const = default;
};

using AspectList = std::vector<TAspReg>;
using DispositorList = std::vector<TDispReg>;

// Positions of bodies or cusps 1..12 in single precision; entry 0 unused.
using PositionList = std::array<float, kListSize>;
PositionList BodyPositions(const chart::RecDataProg &item);
PositionList CuspPositions(const chart::RecDataProg &item);

struct FoundAspect {
    bool found = false;
    float deviation = 0;
    float arc = 0;
    float orb = 0; // the orb that was applied
};
// Whether positions x (first member) and y form aspect k within the orb of mode m; `angular` chooses
// `OPE` over `OCE` in mode 9; modes 1..8 use `preset`.
FoundAspect FindAspect(int mode, int kind, bool angular, float x, float y, float preset,
                       const settings::OrbTables &orbs);
// 100 - deviation * 100 / orb; an exact aspect under an orb of 0 has strength 100.
float AspectStrength(float deviation, float orb);
// The preset of modes 1..8, 0 for the table modes.
float PresetOrb(int mode, const settings::OrbTables &orbs);

bool HasPair(const AspectList &list, std::string_view key, bool eitherOrder);

void CollectBodyAspects(AspectList &list, const PositionList &a, const PositionList &b, int mode, bool same,
                        bool cross, const settings::OrbTables &orbs);
void CollectBodyCuspAspects(AspectList &list, const PositionList &bodies, const PositionList &cusps, int mode,
                            const settings::OrbTables &orbs);
void CollectCuspAspects(AspectList &list, const PositionList &a, const PositionList &b, int mode, bool same,
                        bool cross, const settings::OrbTables &orbs);

// The first body b in start..12 that rules sign (code 1), or -1.
int NextRuler(int start, int sign, const settings::DignityMatrix &matrix);
// Whether b lies on the shorter arc from a to c.
bool LiesBetween(float a, float b, float c);

// Dispositor records of the natal ecliptic body list; signs from item 1, positions from item 2. Marks the
// controlled records of `eclipticBodies`.
void CollectDispositorAspects(DispositorList &list, AspectList &eclipticBodies,
                              const AspectList &ascensionalBodies, const chart::RecDataProg &item1,
                              const chart::RecDataProg &item2, const settings::OrbTables &orbs,
                              const settings::DignityMatrix &matrix);
void CollectDispositorCuspAspects(DispositorList &list, AspectList &eclipticBodyCusp,
                                  const AspectList &ascensionalBodyCusp, const chart::RecDataProg &item1,
                                  const chart::RecDataProg &item2, const settings::OrbTables &orbs,
                                  const settings::DignityMatrix &matrix);

// The twelve aspect lists.
struct AspectLists {
    AspectList eclipticBodies, eclipticBodyCusp, eclipticCusps;          // natal item 1, orb mode 9
    AspectList ascensionalBodies, ascensionalBodyCusp, ascensionalCusps; // natal item 2, orb mode 10
    DispositorList dispositorBodies, dispositorBodyCusp;                 // from the ecliptic lists
    AspectList pairBodies, pairBodyCusp, pairCuspBody, pairCusps;        // the current item pair
};

// Rebuilds the natal and dispositor lists; the dispositor lists only when computeDispositors ("calc").
void BuildNatalAspects(AspectLists &lists, const chart::RecDataProg &item1, const chart::RecDataProg &item2,
                       bool computeDispositors, const settings::OrbTables &orbs,
                       const settings::DignityMatrix &matrix);
// Rebuilds the four pair lists: keys name the outer member first.
void BuildPairAspects(AspectLists &lists, const chart::RecDataProg &inner, const chart::RecDataProg &outer,
                      int mode, bool cross, const settings::OrbTables &orbs);

// Whether an aspect record is shown under the view's selections; `item` is the chart item its list
// belongs to (the dispositor filter applies to item 1 only).
bool AspectVisible(const TDetallesAspecto &record, std::string_view key, const settings::RecVistaCarta &view,
                   int item);
inline bool AspectVisible(const TAspReg &record, const settings::RecVistaCarta &view, int item) {
    return AspectVisible(record, record.key, view, item);
}

} // namespace cel::analysis
