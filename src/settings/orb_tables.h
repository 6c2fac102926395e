// The orb tables shared by house placement and the aspect search: the three per-aspect tables
// `OPE`, `OCE`, `OPA` and the eight single orb presets, with their built-in (first-run) values.
#pragma once

#include <array>

namespace cel::settings {

// Number of aspect kinds: kind k (1..13) is the angle (k - 1) * 15 degrees.
inline constexpr int kAspectKindCount = 13;
// Number of single orb presets (orb modes 1..8).
inline constexpr int kOrbPresetCount = 8;

// One per-aspect orb table in degrees, indexed directly by aspect kind: entries 1..13 are used,
// entry 0 is unused and always 0, so `table[k]` is the orb of kind k.
using OrbTable = std::array<float, kAspectKindCount + 1>;
// The orb presets in degrees, indexed by orb mode: entries 1..8 are used, entry 0 is unused and 0.
using OrbPresets = std::array<float, kOrbPresetCount + 1>;

// The value a preset edited to 0 is stored as, so that an exact aspect still counts.
inline constexpr float kZeroPresetOrb = 0.000001f;

// The cusp tolerances of house placement: the conjunction orbs of the three tables.
struct CuspTolerances {
    float angular;     // `OPE`[1]: cusps 1 and 10, ecliptic
    float other;       // `OCE`[1]: the other cusps, ecliptic
    float ascensional; // `OPA`[1]: every cusp, ascensional
};

struct OrbTables {
    OrbTable OPE{};       // ecliptic: body-body, and body-cusp with cusp 1 or 10
    OrbTable OCE{};       // ecliptic: body-cusp with the other cusps, and cusp-cusp
    OrbTable OPA{};       // ascensional: every aspect
    OrbPresets presets{}; // the "Orbes" presets 1..8

    // Sets the three tables and the presets to the built-in values.
    void InstallBuiltIn();
    CuspTolerances Tolerances() const { return {OPE[1], OCE[1], OPA[1]}; }
    // Stores an edited preset n (1..8); 0 is stored as kZeroPresetOrb. Other n are ignored.
    void SetPreset(int n, float value);

    bool operator==(const OrbTables &) const = default;
};

// The built-in tables and presets.
OrbTables BuiltInOrbTables();

// The value stored for a preset edited to `value` (0 becomes kZeroPresetOrb).
float StoredPresetOrb(float value);

} // namespace cel::settings
