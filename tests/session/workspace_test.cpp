#include <gtest/gtest.h>

#include "analysis/aspects.h"
#include "session/workspace.h"

namespace cel::session {
namespace {

using chart::PlacePosition;

// A workspace with the first-run settings, one place (Cali) and one person born there.
struct WorkspaceFixture : ::testing::Test {
    Workspace w;

    void SetUp() override {
        w.settings.InstallFirstRunValues();
        w.ApplySettings();
        auto cali = std::make_unique<database::TLugar_Geo>();
        cali->Id = 3;
        cali->Nombre = "Cali";
        cali->TZ = -5;
        cali->Lat = 3.43722L;
        cali->Lon = 76.5225L;
        w.db.Places.push_back(std::move(cali));
        auto ana = std::make_unique<database::TPersona>();
        ana->Id = 9;
        ana->Nombre = "Ana";
        ana->Apellidos = "Restrepo";
        ana->IdLugarNac = 3;
        ana->IsDate = 1;
        ana->IsHora = 1;
        ana->Fecha = 29145.5208333333; // 1979-10-17 12:30
        w.db.Persons.push_back(std::move(ana));

        const std::optional<PersonBirth> birth = BirthOf(*w.db.Persons[0]);
        w.natalRecord = birth->record;
        w.ComputeChart(ChartSide::Natal, birth->value);
        w.eventRecord.placeId = 3;
        w.ComputeChart(ChartSide::Event, EncodeDate(2024, 10, 17) + 8.0 / 24);
        w.choices.pointSelection.fill(true);
        w.choices.cuspSelection.fill(true);
        w.choices.angleSelection.fill(true);
        w.choices.aspectFamilies.fill(true);
    }
};

TEST_F(WorkspaceFixture, PersonsAndPlacesComeFromTheDatabase) {
    EXPECT_EQ(FindPlace(w.db, 3), (PlacePosition{-5, 76.5225L, 3.43722L}));
    EXPECT_FALSE(FindPlace(w.db, 4).has_value());
    EXPECT_FALSE(FindPlace(w.db, -1).has_value());
    EXPECT_EQ(w.PlaceFor(4), PlacePosition{});

    EXPECT_EQ(w.natalRecord.ownerId, 9);
    EXPECT_EQ(w.natalRecord.text, "Ana Restrepo");
    EXPECT_EQ(w.natalRecord.zone, -5);
    EXPECT_NEAR(w.natalRecord.gmtDateTime, 29145.5208333333 + 5.0 / 24, 1e-9);
    EXPECT_DOUBLE_EQ(Workspace::EnteredValue(w.natalRecord), 29145.5208333333);

    database::TPersona &ana = *w.db.Persons[0];
    ana.IsHora = 0; // a date without a time opens at 0:00
    const std::optional<PersonBirth> midnight = BirthOf(ana);
    ASSERT_TRUE(midnight.has_value());
    EXPECT_FALSE(midnight->hasTime);
    EXPECT_DOUBLE_EQ(midnight->value, EncodeDate(1979, 10, 17));
    ana.IsDate = 0;
    ana.HoraUT = -1;
    EXPECT_FALSE(BirthOf(ana).has_value());
}

TEST_F(WorkspaceFixture, RecomputeRunsTheProgressionsAndOneRefresh) {
    w.Recompute();
    EXPECT_EQ(w.counters.recomputes, 1u);
    EXPECT_EQ(w.counters.refreshes, 1u);
    EXPECT_EQ(w.progressions.items[1].bodies[1].position, w.natal.bodies[1].longitude);
    EXPECT_EQ(w.progressions.items[3].bodies[1].position, w.event.bodies[1].longitude);
    EXPECT_FALSE(w.aspects.eclipticBodies.empty());
    EXPECT_FALSE(w.aspects.ascensionalBodies.empty());
    w.RefreshView();
    EXPECT_EQ(w.counters.recomputes, 1u);
    EXPECT_EQ(w.counters.refreshes, 2u);
}

// Which pair lists a refresh builds for each wheel.
TEST_F(WorkspaceFixture, PairListsFollowTheWheelShown) {
    struct Case {
        std::uint8_t wheelMode, inner, outer;
        bool expectPairs, cross;
    };
    const Case cases[] = {
        {1, 1, 3, false, false},                         // a single natal wheel shows the natal lists
        {1, 2, 3, false, false}, {1, 3, 1, true, false}, // items 3..9 alone: the item with itself
        {1, 7, 1, true, false},  {2, 1, 3, true, true},  // double wheel: both orders and equal numbers
        {2, 1, 1, true, true},
    };
    w.Recompute();
    for (const Case &c : cases) {
        w.choices.wheelMode = static_cast<settings::WheelMode>(c.wheelMode);
        w.choices.innerItem = c.inner;
        w.choices.outerItem = c.outer;
        w.RefreshView();
        const auto &items = w.progressions.items;
        analysis::AspectLists expected;
        if (c.expectPairs)
            analysis::BuildPairAspects(expected, items[c.inner], items[c.cross ? c.outer : c.inner],
                                       w.orbMode, c.cross, w.settings.orbs);
        EXPECT_EQ(w.aspects.pairBodies, expected.pairBodies) << int(c.wheelMode) << " " << int(c.inner);
        EXPECT_EQ(w.aspects.pairBodyCusp, expected.pairBodyCusp);
        EXPECT_EQ(w.aspects.pairCuspBody, expected.pairCuspBody);
        EXPECT_EQ(w.aspects.pairCusps, expected.pairCusps);
        EXPECT_EQ(c.expectPairs, !w.aspects.pairBodies.empty());
    }
    // Outer Sol to inner Sol exists only in the double wheel of an item with itself.
    EXPECT_TRUE(analysis::HasPair(w.aspects.pairBodies, "p01p01", false));
}

TEST_F(WorkspaceFixture, DispositorChoicesApplyWhereTheyAreOffered) {
    w.choices.computeDispositors = true;
    w.choices.dispositorFilter = true;
    w.Recompute();
    EXPECT_TRUE(w.view.dispositorFilter);
    const std::size_t dispositors = w.aspects.dispositorBodies.size() + w.aspects.dispositorBodyCusp.size();
    EXPECT_GT(dispositors, 0u);

    w.choices.innerItem = 2; // "disp." only for "Natal Eclíptica" in a single wheel
    w.RefreshView();
    EXPECT_FALSE(w.view.dispositorFilter);
    w.choices.innerItem = 1;
    w.choices.wheelMode = settings::kDoubleWheel;
    w.RefreshView();
    EXPECT_FALSE(w.view.dispositorFilter);
    EXPECT_TRUE(w.choices.dispositorFilter); // the control keeps its tick

    w.choices.computeDispositors = false; // "calc" off: no dispositor lists
    w.RefreshView();
    EXPECT_TRUE(w.aspects.dispositorBodies.empty());
    EXPECT_TRUE(w.aspects.dispositorBodyCusp.empty());
}

TEST_F(WorkspaceFixture, ByHouseChoosesTheOccupantsOfTheTickedHouseAtEveryRefresh) {
    w.choices.aspectMode = settings::AspectMode::ByHouse;
    w.choices.cuspSelection = {};
    w.choices.cuspSelection[5] = true;
    w.choices.autoSources = {false, false, true}; // "O" only
    w.choices.aspectFamilies = {false, false, true, true};
    w.Recompute();
    const chart::RecDataProg &item = w.progressions.items[1];
    for (int repeat = 0; repeat < 2; ++repeat) {
        EXPECT_EQ(w.currentHouse, 5);
        for (int n = 1; n <= 12; ++n)
            EXPECT_EQ(w.view.pointSelection[static_cast<std::size_t>(n)], item.bodies[n].house == 5) << n;
        EXPECT_EQ(w.view.aspectFamilies, (std::array<bool, 4>{true, true, false, false}));
        EXPECT_TRUE(w.choices.cuspSelection[5]); // the user's choice stays for the next refresh
        w.RefreshView();
    }
    w.choices.cuspSelection = {}; // no house: no point
    w.RefreshView();
    EXPECT_EQ(w.currentHouse, 0);
    for (int n = 1; n <= 12; ++n)
        EXPECT_FALSE(w.view.pointSelection[static_cast<std::size_t>(n)]);
}

TEST_F(WorkspaceFixture, SettingsReachTheChartAndTheView) {
    w.settings.rueda.imagenR = false;
    w.settings.rueda.glifo = false;
    w.RefreshView();
    EXPECT_FALSE(w.view.largeImagesWheel);
    EXPECT_FALSE(w.view.aspectGlyphs);
    EXPECT_TRUE(w.context.options.largeGlyphs); // the chart options change only through ApplySettings
    w.ApplySettings();
    EXPECT_FALSE(w.context.options.largeGlyphs);
}

} // namespace
} // namespace cel::session
