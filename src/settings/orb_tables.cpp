#include "settings/orb_tables.h"

namespace cel::settings {

namespace {

constexpr OrbTable kBuiltInOPE = {0, 7, 1, 1, 1, 3, 1, 7, 1, 7, 1, 1, 1, 7};
constexpr OrbTable kBuiltInOCE = {0, 3, 1, 1, 1, 2, 1, 3, 1, 3, 1, 1, 1, 3};
constexpr OrbTable kBuiltInOPA = {0, 4.5f, 1, 1, 1, 2, 1, 3, 1, 3, 1, 1, 1, 4.5f};
// 0°30', 0°59'08", 1°, 8', 10', 1°30', 2°, 3°.
constexpr OrbPresets kBuiltInPresets = {0, 0.5f, 0.98555553f, 1, 0.13333334f, 0.16666667f, 1.5f, 2, 3};

} // namespace

void OrbTables::InstallBuiltIn() {
    *this = BuiltInOrbTables();
}

void OrbTables::SetPreset(int n, float value) {
    if (n < 1 || n > kOrbPresetCount)
        return;
    presets[n] = StoredPresetOrb(value);
}

OrbTables BuiltInOrbTables() {
    OrbTables t;
    t.OPE = kBuiltInOPE;
    t.OCE = kBuiltInOCE;
    t.OPA = kBuiltInOPA;
    t.presets = kBuiltInPresets;
    return t;
}

float StoredPresetOrb(float value) {
    return value == 0.0f ? kZeroPresetOrb : value;
}

} // namespace cel::settings
