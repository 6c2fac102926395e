#include <gtest/gtest.h>

#include <algorithm>

#include "fixtures.h"

namespace cel::analysis {
namespace {

using test::MakeItem;

struct FirstFound {
    int kind = 0;
    FoundAspect aspect;
};
FirstFound FirstKind(int mode, bool angular, float x, float y, const settings::OrbTables &orbs) {
    for (int k = 1; k <= kAspectKindCount; ++k) {
        const FoundAspect f = FindAspect(mode, k, angular, x, y, PresetOrb(mode, orbs), orbs);
        if (f.found)
            return {k, f};
    }
    return {};
}

struct FindCase {
    const char *name;
    int mode;
    bool angular;
    float x, y;
    int kind; // 0: not found
    float arc;
    float strength;
};

TEST(FindAspect, FirstKindArcAndStrength) {
    settings::OrbTables orbs = settings::BuiltInOrbTables();
    orbs.presets[1] = 8; // 52 degrees fits both 45 (deviation 7) and 60 (deviation 8)
    const FindCase cases[] = {
        {"square 10/100", 9, true, 10, 100, 7, -90, 100},
        {"186 reduces to 174", 9, true, 0, 186, 13, 174, 100.0f - 6.0f * 100.0f / 7.0f},
        {"97 at the orb's edge", 9, true, 0, 97, 7, -97, 0},
        {"97.01 beyond the orb", 9, true, 0, 97.01f, 0, 0, 0},
        {"overlapping orbs: lowest kind", 1, true, 0, 52, 4, -52, 100.0f - 7.0f * 100.0f / 8.0f},
        {"5 degrees: OPE conjunction", 9, true, 0, 5, 1, -5, 100.0f - 5.0f * 100.0f / 7.0f},
        {"5 degrees: OCE conjunction too wide", 9, false, 0, 5, 0, 0, 0},
        {"ascensional opposition", 10, false, 350, 172, 13, 178, 100.0f - 2.0f * 100.0f / 4.5f},
    };
    for (const FindCase &c : cases) {
        SCOPED_TRACE(c.name);
        const FirstFound f = FirstKind(c.mode, c.angular, c.x, c.y, orbs);
        EXPECT_EQ(f.kind, c.kind);
        if (c.kind != 0) {
            EXPECT_FLOAT_EQ(f.aspect.arc, c.arc);
            EXPECT_FLOAT_EQ(AspectStrength(f.aspect.deviation, f.aspect.orb), c.strength);
        }
    }
}

TEST(FindAspect, ExactAspectUnderOrbZeroHasStrength100) {
    const settings::OrbTables orbs = test::ZeroOrbs();
    const FirstFound exact = FirstKind(9, true, 10, 130, orbs);
    EXPECT_EQ(exact.kind, 9);
    EXPECT_EQ(AspectStrength(exact.aspect.deviation, exact.aspect.orb), 100.0f);
    EXPECT_EQ(FirstKind(9, true, 10, 130.001f, orbs).kind, 0);
}

TEST(PairKeys, BuildReadAndSwap) {
    EXPECT_EQ(MakePairKey('p', 1, 'p', 2), "p01p02");
    EXPECT_EQ(MakePairKey('p', 3, 'c', 10), "p03c10");
    EXPECT_EQ(MakePairKey('c', 1, 'c', 7), "c01c07");
    const PairMembers m = ReadPairKey("p03c10");
    EXPECT_EQ(m.kind1, 'p');
    EXPECT_EQ(m.number1, 3);
    EXPECT_EQ(m.kind2, 'c');
    EXPECT_EQ(m.number2, 10);
    EXPECT_EQ(SwappedKey("p03c10"), "c10p03");
}

TEST(NatalAspects, OneRecordPerUnorderedPairAndCuspOrbChoice) {
    // Sol 10, Lun 100 (square); Mar 5 degrees from cusp 1 and cusp 2 (OPE 7 against OCE 3).
    const chart::RecDataProg item = MakeItem({{1, 10}, {2, 100}, {5, 205}}, {{1, 200}, {2, 210}});
    AspectLists lists;
    settings::OrbTables orbs = test::ZeroOrbs();
    orbs.OPE = settings::BuiltInOrbTables().OPE;
    orbs.OCE = settings::BuiltInOrbTables().OCE;
    BuildNatalAspects(lists, item, item, false, orbs,
                      settings::BuiltInMatrix(settings::MatrixPreset::Modern));
    const auto count = [&](const std::string &key) {
        return std::count_if(lists.eclipticBodies.begin(), lists.eclipticBodies.end(),
                             [&](const TAspReg &r) { return r.key == key; });
    };
    EXPECT_EQ(count("p01p02"), 1);
    EXPECT_EQ(count("p02p01"), 0);
    const auto it = std::find_if(lists.eclipticBodies.begin(), lists.eclipticBodies.end(),
                                 [](const TAspReg &r) { return r.key == "p01p02"; });
    ASSERT_NE(it, lists.eclipticBodies.end());
    EXPECT_EQ(it->kind, 7);
    EXPECT_FLOAT_EQ(it->arc, -90);
    EXPECT_FLOAT_EQ(it->strength, 100);
    EXPECT_TRUE(HasPair(lists.eclipticBodyCusp, "p05c01", false));
    EXPECT_FALSE(HasPair(lists.eclipticBodyCusp, "p05c02", false));
    EXPECT_TRUE(HasPair(lists.eclipticBodies, "p02p01", true));
    EXPECT_FALSE(HasPair(lists.eclipticBodies, "p02p01", false));
}

TEST(PairAspects, DoubleWheelKeepsBothOrdersAndEqualNumbers) {
    const chart::RecDataProg inner = MakeItem({{1, 10}, {2, 100}, {5, 300}});
    const chart::RecDataProg outer = MakeItem({{1, 10}, {2, 100}, {5, 300}});
    settings::OrbTables orbs = test::ZeroOrbs();
    orbs.presets[3] = 1;
    AspectLists lists;
    BuildPairAspects(lists, inner, outer, 3, true, orbs);
    for (const char *key : {"p01p02", "p02p01", "p05p05", "p01p01"})
        EXPECT_TRUE(HasPair(lists.pairBodies, key, false)) << key;
    // The same pair within one chart is listed once.
    BuildPairAspects(lists, inner, inner, 3, false, orbs);
    EXPECT_TRUE(HasPair(lists.pairBodies, "p01p02", false));
    EXPECT_FALSE(HasPair(lists.pairBodies, "p02p01", false));
    EXPECT_FALSE(HasPair(lists.pairBodies, "p05p05", false));
}

TEST(PairAspects, CuspBodyListPairsInnerBodiesWithOuterCusps) {
    const chart::RecDataProg inner = MakeItem({{3, 40}}, {{4, 100}});
    const chart::RecDataProg outer = MakeItem({{3, 100}}, {{4, 40}});
    settings::OrbTables orbs = test::ZeroOrbs();
    AspectLists lists;
    BuildPairAspects(lists, inner, outer, 2, true, orbs);
    EXPECT_TRUE(HasPair(lists.pairBodyCusp, "p03c04", false)); // outer Mer on inner cusp 4
    EXPECT_TRUE(HasPair(lists.pairCuspBody, "p03c04", false)); // inner Mer on outer cusp 4
}

TEST(Rulers, NextRulerAndLiesBetween) {
    const auto modern = settings::BuiltInMatrix(settings::MatrixPreset::Modern);
    const auto both = settings::BuiltInMatrix(settings::MatrixPreset::ModernAndAncient);
    const auto none = settings::BuiltInMatrix(settings::MatrixPreset::Reset);
    EXPECT_EQ(NextRuler(1, 8, modern), 10);
    EXPECT_EQ(NextRuler(11, 8, modern), -1);
    EXPECT_EQ(NextRuler(1, 8, both), 5);
    EXPECT_EQ(NextRuler(6, 8, both), 10);
    EXPECT_EQ(NextRuler(1, 5, none), -1);

    struct Case {
        float a, b, c;
        bool between;
    };
    const Case cases[] = {{10, 20, 30, true}, {30, 20, 10, true},   {10, 40, 30, false},
                          {350, 5, 20, true}, {350, 355, 20, true}, {350, 180, 20, false},
                          {0, 0, 90, true},   {10, 190, 190, true}};
    for (const Case &c : cases)
        EXPECT_EQ(LiesBetween(c.a, c.b, c.c), c.between) << c.a << " " << c.b << " " << c.c;
}

// Sol at 0 Ari (ruled by Mar) square Lun at 90 Can (ruled by Lun) in the ecliptic item; in the ascensional
// item Lun has moved to 80 (no square there) and Mar at 20 makes a sextile with Lun.
struct DispositorScene {
    chart::RecDataProg ecliptic = MakeItem({{1, 0.5L}, {2, 90.5L}, {5, 200}});
    chart::RecDataProg ascensional = MakeItem({{1, 0.5L}, {2, 80}, {5, 20}});
    settings::OrbTables orbs = settings::BuiltInOrbTables();
    settings::DignityMatrix matrix = settings::BuiltInMatrix(settings::MatrixPreset::Modern);
};

TEST(Dispositors, CalcOffLeavesListsEmptyAndNoMarks) {
    DispositorScene s;
    AspectLists lists;
    BuildNatalAspects(lists, s.ecliptic, s.ascensional, false, s.orbs, s.matrix);
    EXPECT_TRUE(lists.dispositorBodies.empty());
    EXPECT_TRUE(lists.dispositorBodyCusp.empty());
    for (const TAspReg &r : lists.eclipticBodies)
        EXPECT_EQ(r.dispositorMark, 0) << r.key;
}

TEST(Dispositors, RulerBetweenTheMembersControlsTheAspect) {
    DispositorScene s;
    AspectLists lists;
    BuildNatalAspects(lists, s.ecliptic, s.ascensional, true, s.orbs, s.matrix);
    const auto controlled = std::find_if(lists.eclipticBodies.begin(), lists.eclipticBodies.end(),
                                         [](const TAspReg &r) { return r.key == "p01p02"; });
    ASSERT_NE(controlled, lists.eclipticBodies.end());
    EXPECT_EQ(controlled->dispositorMark, 1);
    std::vector<TDispReg> records;
    for (const TDispReg &d : lists.dispositorBodies)
        if (d.controlledKey == "p01p02")
            records.push_back(d);
    // Mar (ruler of Sol's sign) lies between Lun and Sol and is sextile Lun; Lun rules its own sign and
    // lies on the arc too, but 79.5 degrees from Sol make no aspect under OPA[square] = 3.
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].dispositorKey, "p02p05");
    EXPECT_EQ(records[0].kind, 5);
    EXPECT_EQ(records[0].controlledKind, 7);
    EXPECT_FLOAT_EQ(records[0].arc, -60);
    EXPECT_FLOAT_EQ(records[0].strength, 100);
}

TEST(Dispositors, AscensionalTwinPreventsDispositorRecords) {
    DispositorScene s;
    s.ascensional.bodies[2].position = 90.5L; // the square holds in the ascensional item too
    AspectLists lists;
    BuildNatalAspects(lists, s.ecliptic, s.ascensional, true, s.orbs, s.matrix);
    ASSERT_TRUE(HasPair(lists.ascensionalBodies, "p01p02", false));
    for (const TDispReg &d : lists.dispositorBodies)
        EXPECT_NE(d.controlledKey, "p01p02");
}

TEST(Dispositors, RulerThatIsAMemberStillYieldsItsRecord) {
    // Sol in Leo (its own sign) trine Mar in Ari (its own sign). In the ascensional item they are 107
    // degrees apart: no aspect under OPA[8] = 1, but within the controlled trine's OPA[9] = 3 of 105.
    const chart::RecDataProg ecliptic = MakeItem({{1, 125}, {5, 5}});
    const chart::RecDataProg ascensional = MakeItem({{1, 125}, {5, 18}});
    AspectLists lists;
    BuildNatalAspects(lists, ecliptic, ascensional, true, settings::BuiltInOrbTables(),
                      settings::BuiltInMatrix(settings::MatrixPreset::Modern));
    std::vector<TDispReg> records;
    for (const TDispReg &d : lists.dispositorBodies)
        if (d.controlledKey == "p01p05")
            records.push_back(d);
    ASSERT_EQ(records.size(), 2u); // Sol as ruler of Sol's sign, Mar as ruler of Mar's sign
    for (const TDispReg &d : records) {
        EXPECT_EQ(d.dispositorKey, "p01p05");
        EXPECT_EQ(d.kind, 8);
        EXPECT_FLOAT_EQ(d.arc, 107);
        EXPECT_FLOAT_EQ(d.strength, 100.0f - 2.0f * 100.0f / 3.0f);
    }
}

TEST(Dispositors, BodyCuspRecordsUseTheCuspAndBothRulers) {
    // Mer at 3 Gem conjunct cusp 10 at 3 Gem in the ecliptic item; in the ascensional item cusp 10 lies
    // 12 degrees on (no aspect there, but 15 degrees within the conjunction's OPA[1] = 4.5).
    const chart::RecDataProg ecliptic = MakeItem({{3, 63}}, {{10, 63}});
    const chart::RecDataProg ascensional = MakeItem({{3, 63}}, {{10, 75}});
    AspectLists lists;
    BuildNatalAspects(lists, ecliptic, ascensional, true, settings::BuiltInOrbTables(),
                      settings::BuiltInMatrix(settings::MatrixPreset::Modern));
    std::vector<std::string> keys;
    for (const TDispReg &d : lists.dispositorBodyCusp)
        if (d.controlledKey == "p03c10")
            keys.push_back(d.dispositorKey);
    // Mer rules the body's sign (ruler against the cusp: p03c10) and the cusp's sign (body against the
    // ruler: p03p03).
    EXPECT_EQ(keys, (std::vector<std::string>{"p03c10", "p03p03"}));
    const auto mark = std::find_if(lists.eclipticBodyCusp.begin(), lists.eclipticBodyCusp.end(),
                                   [](const TAspReg &r) { return r.key == "p03c10"; });
    ASSERT_NE(mark, lists.eclipticBodyCusp.end());
    EXPECT_EQ(mark->dispositorMark, 1);
}

struct VisibleCase {
    const char *name;
    std::string key;
    float strength;
    int mark;
    int kind;
    int item;
    std::array<bool, 4> families;
    std::vector<int> points, cusps;
    int minimum;
    bool dispositorFilter;
    bool visible;
};

TEST(AspectVisible, Rules) {
    const VisibleCase cases[] = {
        {"C/P: cusp 4 alone, any body",
         "p07c04",
         50,
         0,
         1,
         3,
         {false, false, true, false},
         {},
         {4},
         35,
         false,
         true},
        {"C/P: below the minimum",
         "p07c04",
         34.9f,
         0,
         1,
         3,
         {false, false, true, false},
         {},
         {4},
         35,
         false,
         false},
        {"C/P: minimum 30", "p07c04", 34.9f, 0, 1, 3, {false, false, true, false}, {}, {4}, 30, false, true},
        {"P/C: Mer selected, cusp 4 not",
         "p03c04",
         50,
         0,
         1,
         3,
         {false, true, false, false},
         {3},
         {},
         0,
         false,
         true},
        {"P/C: neither selected",
         "p03c04",
         50,
         0,
         1,
         3,
         {false, true, false, false},
         {5},
         {},
         0,
         false,
         false},
        {"C/P only: body selection ignored",
         "p03c04",
         50,
         0,
         1,
         3,
         {false, false, true, false},
         {3},
         {},
         0,
         false,
         false},
        {"P/P: second body selected",
         "p01p02",
         50,
         0,
         1,
         3,
         {true, false, false, false},
         {2},
         {},
         0,
         false,
         true},
        {"P/P off", "p01p02", 50, 0, 1, 3, {false, true, true, true}, {1, 2}, {1}, 0, false, false},
        {"C/C: first cusp selected",
         "c01c07",
         50,
         0,
         1,
         3,
         {false, false, false, true},
         {},
         {1},
         0,
         false,
         true},
        {"angle not selected", "p01p02", 50, 0, 2, 3, {true, true, true, true}, {1}, {}, 0, false, false},
        {"disp.: unmarked hidden in item 1",
         "p01p02",
         50,
         0,
         1,
         1,
         {true, true, true, true},
         {1},
         {},
         0,
         true,
         false},
        {"disp.: marked shown in item 1",
         "p01p02",
         50,
         1,
         1,
         1,
         {true, true, true, true},
         {1},
         {},
         0,
         true,
         true},
        {"disp.: other items unaffected",
         "p01p02",
         50,
         0,
         1,
         3,
         {true, true, true, true},
         {1},
         {},
         0,
         true,
         true},
    };
    for (const VisibleCase &c : cases) {
        SCOPED_TRACE(c.name);
        settings::RecVistaCarta view;
        view.aspectFamilies = c.families;
        for (int p : c.points)
            view.pointSelection[static_cast<std::size_t>(p)] = true;
        for (int q : c.cusps)
            view.cuspSelection[static_cast<std::size_t>(q)] = true;
        view.angleSelection[1] = true;
        view.strengthFilter = c.minimum;
        view.dispositorFilter = c.dispositorFilter;
        const TAspReg record = test::Record(c.key, c.kind, c.strength, c.mark);
        EXPECT_EQ(AspectVisible(record, view, c.item), c.visible);
    }
}

} // namespace
} // namespace cel::analysis
