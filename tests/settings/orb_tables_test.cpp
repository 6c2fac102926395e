#include <gtest/gtest.h>

#include "settings/orb_tables.h"

using namespace cel::settings;

TEST(OrbTables, BuiltInValuesByKind) {
    const OrbTables t = BuiltInOrbTables();
    const float ope[] = {7, 1, 1, 1, 3, 1, 7, 1, 7, 1, 1, 1, 7};
    const float oce[] = {3, 1, 1, 1, 2, 1, 3, 1, 3, 1, 1, 1, 3};
    const float opa[] = {4.5f, 1, 1, 1, 2, 1, 3, 1, 3, 1, 1, 1, 4.5f};
    EXPECT_EQ(t.OPE[0], 0.0f);
    EXPECT_EQ(t.OCE[0], 0.0f);
    EXPECT_EQ(t.OPA[0], 0.0f);
    for (int k = 1; k <= kAspectKindCount; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(t.OPE[k], ope[k - 1]);
        EXPECT_EQ(t.OCE[k], oce[k - 1]);
        EXPECT_EQ(t.OPA[k], opa[k - 1]);
    }
}

TEST(OrbTables, BuiltInPresets) {
    const OrbTables t = BuiltInOrbTables();
    const float presets[] = {0.5f, 0.98555553f, 1, 0.13333334f, 0.16666667f, 1.5f, 2, 3};
    EXPECT_EQ(t.presets[0], 0.0f);
    for (int n = 1; n <= kOrbPresetCount; ++n)
        EXPECT_EQ(t.presets[n], presets[n - 1]) << n;
    // 0°59'08" and 8' as single-precision degrees.
    EXPECT_FLOAT_EQ(t.presets[2], 59.0f / 60 + 8.0f / 3600);
    EXPECT_FLOAT_EQ(t.presets[4], 8.0f / 60);
}

TEST(OrbTables, InstallBuiltInReplacesEverything) {
    OrbTables t;
    EXPECT_EQ(t.Tolerances().angular, 0.0f); // an empty table holds zeros
    t.OPE[5] = 9;
    t.presets[8] = 11;
    t.InstallBuiltIn();
    EXPECT_EQ(t, BuiltInOrbTables());
}

TEST(OrbTables, CuspTolerancesAreTheConjunctionOrbs) {
    OrbTables t = BuiltInOrbTables();
    CuspTolerances c = t.Tolerances();
    EXPECT_EQ(c.angular, 7.0f);
    EXPECT_EQ(c.other, 3.0f);
    EXPECT_EQ(c.ascensional, 4.5f);
    t.OPE[1] = 6;
    t.OCE[1] = 2.5f;
    t.OPA[1] = 1;
    c = t.Tolerances();
    EXPECT_EQ(c.angular, 6.0f);
    EXPECT_EQ(c.other, 2.5f);
    EXPECT_EQ(c.ascensional, 1.0f);
}

TEST(OrbTables, PresetEditedToZeroIsStoredAsOneMillionth) {
    struct Case {
        int n;
        float edited;
        float stored;
    };
    const Case cases[] = {
        {1, 0.0f, 0.000001f}, {8, -0.0f, 0.000001f}, {3, 2.25f, 2.25f}, {4, 0.000001f, 0.000001f}};
    for (const Case &c : cases) {
        OrbTables t = BuiltInOrbTables();
        t.SetPreset(c.n, c.edited);
        EXPECT_EQ(t.presets[c.n], c.stored) << c.n << " " << c.edited;
    }
    OrbTables t = BuiltInOrbTables();
    t.SetPreset(0, 5);
    t.SetPreset(9, 5);
    EXPECT_EQ(t, BuiltInOrbTables());
}
