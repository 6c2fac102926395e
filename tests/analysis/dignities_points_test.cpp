#include <gtest/gtest.h>

#include "fixtures.h"

namespace cel::analysis {
namespace {

using test::MakeItem;

TEST(Decanates, SignOfEachDecanate) {
    struct Case {
        int sign;
        long double x;
        int decanate;
    };
    const Case cases[] = {
        {1, 0, 1},    {1, 9.999L, 1},  {1, 10, 5},  {1, 29.9833L, 9}, {11, 305, 11},
        {11, 315, 3}, {12, 359.5L, 8}, {5, 148, 1}, {1, 360, 1}, // 360 counts as 0
    };
    for (const Case &c : cases)
        EXPECT_EQ(DecanateSign(c.sign, c.x), c.decanate) << c.sign << " " << static_cast<double>(c.x);
}

TEST(Rulers, OfSignAndOfHouseWithFollowingSign) {
    const auto modern = settings::BuiltInMatrix(settings::MatrixPreset::Modern);
    const auto both = settings::BuiltInMatrix(settings::MatrixPreset::ModernAndAncient);
    EXPECT_EQ(RulersOfSign(8, modern), (std::vector<int>{10}));
    EXPECT_EQ(RulersOfSign(8, both), (std::vector<int>{5, 10}));
    EXPECT_TRUE(RulersOfSign(8, settings::BuiltInMatrix(settings::MatrixPreset::Reset)).empty());
    chart::InfoCasas cusps{};
    cusps[5] = {148, 5, 6}; // 28 Leo, following sign Vir
    EXPECT_EQ(RulersOfHouse(5, cusps, modern), (std::vector<int>{1, 3, 12}));
    cusps[5].nextSign = 0;
    EXPECT_EQ(RulersOfHouse(5, cusps, modern), (std::vector<int>{1}));
}

TEST(Neighbours, ZodiacalOrderWrapsAtBothEnds) {
    // Bodies sorted: Rue 5, Sol 40, ... ; Nod last at 350.
    chart::RecDataProg item = MakeItem({{12, 5},
                                        {1, 40},
                                        {2, 70},
                                        {3, 100},
                                        {4, 130},
                                        {5, 160},
                                        {6, 190},
                                        {7, 220},
                                        {8, 250},
                                        {9, 280},
                                        {10, 310},
                                        {11, 350}});
    struct Case {
        const char *name;
        long double x;
        int previous, next;
    };
    const Case cusps[] = {
        {"cusp at 0 lies before the first", 0, 11, 12},
        {"cusp at 360 counts as 0", 360, 11, 12},
        {"cusp after the last", 355, 11, 12},
        {"cusp between Sol and Lun", 50, 1, 2},
        {"cusp on Sol", 40, 12, 1},
    };
    for (const Case &c : cusps) {
        EXPECT_EQ(NeighbourBody(-1, c.x, item.bodies), c.previous) << c.name;
        EXPECT_EQ(NeighbourBody(+1, c.x, item.bodies), c.next) << c.name;
    }
    EXPECT_EQ(NeighbourOfBody(+1, 11, item.bodies), 12); // the last body's next is the first
    EXPECT_EQ(NeighbourOfBody(-1, 12, item.bodies), 11);
    EXPECT_EQ(NeighbourOfBody(+1, 1, item.bodies), 2);
}

TEST(Neighbours, BodiesSharingAPositionAreNeverTheirOwnNeighbour) {
    chart::RecDataProg item = MakeItem({{1, 100}, {3, 100}});
    const int previousOfMer = NeighbourOfBody(-1, 3, item.bodies);
    const int nextOfSol = NeighbourOfBody(+1, 1, item.bodies);
    EXPECT_EQ(previousOfMer, 1);
    EXPECT_EQ(nextOfSol, 3);
    EXPECT_NE(NeighbourOfBody(+1, 3, item.bodies), 3);
}

TEST(HouseSelection, SwitchesChooseRulersCuspAndOccupants) {
    const auto modern = settings::BuiltInMatrix(settings::MatrixPreset::Modern);
    chart::RecDataProg item = MakeItem({}, {}, {{4, 5}, {9, 5}, {2, 6}});
    item.cusps[5] = {148, 5, 6};
    CuspSelection cusps{};
    cusps[7] = true;
    cusps[5] = true; // the lowest ticked cusp is the house
    struct Case {
        const char *name;
        std::array<bool, 3> switches;
        std::vector<int> bodies;
        bool keepCusp;
    };
    const Case cases[] = {
        {"R", {true, false, false}, {1, 3, 12}, false},
        {"C", {false, true, false}, {}, true},
        {"O", {false, false, true}, {4, 9}, false},
        {"R and O", {true, false, true}, {1, 3, 4, 9, 12}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const auto choice = HouseSelection(cusps, item, c.switches, modern);
        ASSERT_TRUE(choice.has_value());
        EXPECT_EQ(choice->house, 5);
        EXPECT_EQ(choice->keepCusp, c.keepCusp);
        std::vector<int> chosen;
        for (int b = 1; b <= 12; ++b)
            if (choice->bodies[static_cast<std::size_t>(b)])
                chosen.push_back(b);
        EXPECT_EQ(chosen, c.bodies);
    }
    EXPECT_FALSE(HouseSelection(CuspSelection{}, item, {true, true, true}, modern).has_value());

    settings::RecVistaCarta view;
    view.cuspSelection = cusps;
    view.autoSources = {false, false, true};
    EXPECT_EQ(ApplyHouseSelection(view, item, modern), 5);
    EXPECT_FALSE(view.cuspSelection[5]); // cleared in the view record without "C"
    EXPECT_TRUE(view.pointSelection[4] && view.pointSelection[9] && !view.pointSelection[1]);
    view.cuspSelection = {};
    EXPECT_EQ(ApplyHouseSelection(view, item, modern), 0);
    for (bool selected : view.pointSelection)
        EXPECT_FALSE(selected);
}

TEST(SignGroups, Memberships) {
    EXPECT_EQ(ElementOf(1), 1);
    EXPECT_EQ(ElementOf(8), 4);
    EXPECT_EQ(QualityOf(5), 2);
    EXPECT_EQ(QualityOf(12), 3);
    EXPECT_EQ(QuarterOf(3), 1);
    EXPECT_EQ(QuarterOf(10), 4);
    EXPECT_EQ(ThirdOf(4), 1);
    EXPECT_EQ(ThirdOf(9), 3);
}

TEST(Points, TotalsOfThePresets) {
    struct Case {
        const char *name;
        void (*change)(PointsSettings &);
        float total;
    };
    const Case cases[] = {
        {"built-in", [](PointsSettings &) {}, 17},
        {"Sin Hora", [](PointsSettings &p) { ApplyFlagsPreset(p, PointsFlagsPreset::SinHora); }, 14},
        {"Planetas pers.", [](PointsSettings &p) { ApplyFlagsPreset(p, PointsFlagsPreset::Personales); }, 10},
        {"Valores =1", [](PointsSettings &p) { SetAllWeightsToOne(p); }, 13},
        {"Valores =1 then Predeterminados",
         [](PointsSettings &p) {
             SetAllWeightsToOne(p);
             RestoreBuiltInWeights(p);
         },
         17},
        {"Hora Ok after Sin Hora",
         [](PointsSettings &p) {
             ApplyFlagsPreset(p, PointsFlagsPreset::SinHora);
             ApplyFlagsPreset(p, PointsFlagsPreset::HoraOk);
         },
         17},
        {"nothing included",
         [](PointsSettings &p) {
             p.viewPtosPla.fill(false);
             p.viewPtosCas.fill(false);
         },
         0},
    };
    for (const Case &c : cases) {
        PointsSettings points = BuiltInPoints();
        c.change(points);
        EXPECT_FLOAT_EQ(PointsTotal(points), c.total) << c.name;
    }
}

TEST(Points, HouseWithFollowingSignCountsTwice) {
    chart::RecDataProg item = MakeItem();
    item.cusps[1] = {28, 1, 2};
    const PointsDistribution d = DistributePoints(item, BuiltInPoints());
    EXPECT_FLOAT_EQ(d.houses[1], 2);
    EXPECT_FLOAT_EQ(d.houses[2], 2);
}

TEST(Points, TextsRoundTiesToEvenAndUseTheSeparator) {
    const TextFormat comma{','}, point{'.'};
    EXPECT_EQ(PointsText(17, comma), "17,00");
    EXPECT_EQ(PointsText(0.125f, point), "0.12");
    EXPECT_EQ(PercentText(1, 16, point), " 6%");
    EXPECT_EQ(PercentText(1, 8, point), "12%"); // 12.5 goes to the even 12
    EXPECT_EQ(PercentText(5, 0, point), "0%");
}

TEST(Points, DistributionGridPlacement) {
    // Every body in Ari, cusp 1 in Ari: S[1] = 15 + 2 = 17 = T.
    std::map<int, long double> bodies;
    for (int i = 1; i <= 12; ++i)
        bodies[i] = 3 + i;
    chart::RecDataProg item = MakeItem(bodies, {{1, 1}});
    TextGrid grid;
    settings::Settings::TxtSection names;
    SetUpDistribution(grid, names);
    FillDistributionGrid(grid, item, BuiltInPoints(), TextFormat{','});
    struct Cell {
        int row, column;
        const char *text;
    };
    const Cell cells[] = {
        {1, 1, "15,00"}, {2, 1, "88%"},    {3, 1, "2,00"},  {4, 1, "12%"},    {5, 1, "17,00"},
        {6, 1, "100%"},  {1, 2, "0,00"},   {2, 2, " 0%"},   {9, 5, "17,00"},  {9, 6, "100%"},
        {10, 5, "0,00"}, {12, 1, "17,00"}, {13, 1, "100%"}, {12, 2, "0,00"},  {9, 12, "17,00"},
        {9, 13, "100%"}, {13, 9, "17,00"}, {14, 9, "100%"}, {13, 10, "0,00"},
    };
    for (const Cell &c : cells)
        EXPECT_EQ(grid.At(c.row, c.column), c.text) << c.row << "," << c.column;
}

TEST(Points, NothingIncludedShowsZeroPercent) {
    PointsSettings points = BuiltInPoints();
    points.viewPtosPla.fill(false);
    points.viewPtosCas.fill(false);
    TextGrid grid(15, 14);
    FillDistributionGrid(grid, MakeItem(), points, TextFormat{'.'});
    for (int s = 1; s <= 12; ++s)
        EXPECT_EQ(grid.At(6, s), "0%");
    EXPECT_EQ(grid.At(9, 6), "0%");
}

TEST(GridLayouts, SecondSummaryGrid) {
    settings::Settings::TxtSection names;
    names.strEle = {"", "Fuego", "Tierra", "Aire", "Agua"};
    names.strComp = {"", "Cardinal", "Fijo", "Mutable"};
    names.strSoc1 = {"", "Personales", "Sociales", "Trascendentes"};
    names.strSoc2 = {"", "Personales", "Familiares", "Sociales", "Trascendentes"};
    TextGrid grid;
    SetUpDistribution(grid, names);
    EXPECT_EQ(grid.RowCount(), 15);
    EXPECT_EQ(grid.ColumnCount(), 14);
    struct Cell {
        int row, column;
        const char *text;
    };
    const Cell cells[] = {
        {1, 0, "Pla"}, {6, 0, "%Tot"}, {0, 12, "12"}, {8, 1, "Per"},  {8, 2, "Fam"}, {8, 4, "Tra"},
        {8, 9, "Per"}, {8, 11, "Tra"}, {9, 0, "Car"}, {11, 0, "Mut"}, {9, 8, "Fue"}, {12, 8, "Agu"},
        {9, 3, "7"},   {11, 10, "7"},  {9, 1, "1"},   {11, 4, "12"},  {12, 9, "4"},  {12, 11, "12"},
    };
    for (const Cell &c : cells)
        EXPECT_EQ(grid.At(c.row, c.column), c.text) << c.row << "," << c.column;
    EXPECT_EQ(ShortName("Égalité"), "Éga");
}

} // namespace
} // namespace cel::analysis
