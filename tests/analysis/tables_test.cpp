#include <gtest/gtest.h>

#include "fixtures.h"

namespace cel::analysis {
namespace {

using test::Record;
using test::ShowAll;

TEST(AspectCellText, StrengthRoundsHalvesToEven) {
    struct Case {
        int kind;
        float strength;
        int mark;
        const char *text;
    };
    const Case cases[] = {{9, 80.4f, 0, "9:80"}, {9, 55.5f, 1, "9:56d"}, {9, 56.5f, 1, "9:56d"},
                          {7, 100, 0, "7:100"},  {1, 0.5f, 0, "1:0"},    {13, 1.5f, 0, "13:2"}};
    for (const Case &c : cases)
        EXPECT_EQ(AspectCellText(Record("p01p02", c.kind, c.strength, c.mark)), c.text);
}

TEST(AspectTable, SingleWheelMirrorsDoubleWheelDoesNot) {
    AspectList bodies{Record("p01p02", 9, 80.4f)};
    AspectList bodyCusp{Record("p03c10", 1, 100)};
    AspectList cuspBody{Record("p02c04", 7, 50)};
    AspectList cusps{Record("c01c07", 13, 90)};
    TextGrid grid;
    SetUpAspectTable(grid, ShowAll(1, 1), true);
    EXPECT_EQ(FillAspectTable(grid, false, bodies, bodyCusp, nullptr, cusps, ShowAll(1, 1)), 3);
    EXPECT_EQ(grid.At(1, 2), "9:80");
    EXPECT_EQ(grid.At(2, 1), "9:80");
    EXPECT_EQ(grid.At(3, 22), "1:100");
    EXPECT_EQ(grid.At(22, 3), "1:100");
    EXPECT_EQ(grid.At(13, 19), "13:90");
    EXPECT_EQ(grid.At(19, 13), "13:90");
    EXPECT_EQ(grid.At(0, 26), "Natal Eclíptica");

    // Double wheel: outer Mar against inner Sol only in row 5, column 1.
    AspectList pair{Record("p05p01", 7, 90)};
    settings::RecVistaCarta view = ShowAll(5, 2);
    view.outerItem = 3;
    SetUpAspectTable(grid, view, true);
    EXPECT_EQ(FillAspectTable(grid, true, pair, bodyCusp, &cuspBody, cusps, view), 4);
    EXPECT_EQ(grid.At(5, 1), "7:90");
    EXPECT_EQ(grid.At(1, 5), "");
    EXPECT_EQ(grid.At(16, 2), "7:50"); // cusp-body: row of the outer cusp, column of the inner body
    EXPECT_EQ(grid.At(2, 16), "");
    EXPECT_EQ(grid.At(3, 22), "1:100");
    EXPECT_EQ(grid.At(22, 3), "");
    EXPECT_EQ(grid.ColumnCount(), 28);
    EXPECT_EQ(grid.At(0, 26), "Trán. Eclíptico");
    EXPECT_EQ(grid.At(0, 27), "DP Directa");
}

TEST(AspectTable, OnlyVisibleRecordsAndOldCellsEmptied) {
    settings::RecVistaCarta view = ShowAll();
    view.strengthFilter = 50;
    AspectList bodies{Record("p01p02", 9, 49.9f), Record("p01p03", 1, 50)};
    TextGrid grid(25, 26);
    grid.At(7, 7) = "old";
    EXPECT_EQ(FillAspectTable(grid, false, bodies, {}, nullptr, {}, view), 1);
    EXPECT_EQ(grid.At(1, 2), "");
    EXPECT_EQ(grid.At(1, 3), "1:50");
    EXPECT_EQ(grid.At(7, 7), "");
}

// Natal lists with a dispositor-controlled square Sol-Lun, a body-cusp aspect with an ascensional twin,
// and an ascensional aspect without ecliptic twin.
AspectLists NatalScene() {
    AspectLists lists;
    lists.eclipticBodies = {Record("p01p03", 1, 90), Record("p01p02", 7, 60, 1), Record("p02p05", 9, 70)};
    lists.ascensionalBodies = {Record("p01p03", 1, 80), Record("p04p06", 5, 75)};
    lists.dispositorBodies.push_back({});
    lists.dispositorBodies.push_back({});
    lists.dispositorBodies[0].controlledKey = "p01p02";
    lists.dispositorBodies[0].dispositorKey = "p02p05";
    lists.dispositorBodies[1].controlledKey = "p01p02";
    lists.dispositorBodies[1].dispositorKey = "p01p04";
    lists.eclipticBodyCusp = {Record("p03c10", 1, 100)};
    lists.ascensionalBodyCusp = {Record("p02c01", 13, 50), Record("p03c10", 1, 95)};
    lists.eclipticCusps = {Record("c01c07", 13, 100)};
    lists.pairBodies = {Record("p07p08", 7, 88)};
    lists.pairCuspBody = {Record("p02c04", 1, 90)};
    lists.pairCusps = {Record("c02c05", 7, 90)};
    return lists;
}

TEST(AspectDetail, NatalCodesDispositorRowsAndPairCodes) {
    const AspectLists lists = NatalScene();
    TextGrid grid;
    const settings::RecVistaCarta natal = ShowAll(1, 1);
    SetUpAspectDetail(grid, natal);
    ASSERT_EQ(grid.ColumnCount(), 2);

    struct Case {
        const char *name;
        settings::RecVistaCarta view;
        bool doubleWheel;
        int a, b;
        std::vector<std::vector<std::string>> rows; // rows 1.. of the grid
    };
    const Case cases[] = {
        {"ecliptic and ascensional twin", natal, false, 3, 1, {{"0:E:L1:p01:0:p03", "0:A:L1:p01:0:p03"}}},
        {"dispositor rows numbered by row",
         natal,
         false,
         1,
         2,
         {{"0:E:L1:p01:1:p02", "1:A:D1:p02:0:p05"}, {"", "2:A:D1:p01:1:p04"}}},
        {"no twin, no dispositor", natal, false, 5, 2, {{"0:E:L1:p02:2:p05", ""}}},
        {"body-cusp, cusp in the row", natal, false, 3, 22, {{"0:E:L2:p03:0:c10", "0:A:L2:p03:1:c10"}}},
        {"cusps", natal, false, 19, 13, {{"0:E:L4:c01:0:c07", ""}}},
        {"double wheel: row member first", ShowAll(3, 2), true, 8, 7, {{"", "", "0:P:P1:p07:0:p08"}}},
        {"double wheel: column body, row cusp", ShowAll(3, 2), true, 2, 16, {{"", "", "0:P:P3:c04:0:p02"}}},
        {"double wheel: reversed pair not found", ShowAll(3, 2), true, 7, 8, {{"", "", ""}}},
        {"single wheel derived item: either order",
         ShowAll(3, 1),
         false,
         7,
         8,
         {{"", "", "0:P:P1:p07:0:p08"}}},
        {"single wheel derived item: cusps", ShowAll(3, 1), false, 17, 14, {{"", "", "0:P:P4:c02:0:c05"}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SetUpAspectDetail(grid, c.view);
        FillAspectDetail(grid, c.doubleWheel, c.a, c.b, lists, c.view);
        ASSERT_EQ(grid.RowCount(), static_cast<int>(c.rows.size()) + 1);
        for (std::size_t r = 0; r < c.rows.size(); ++r)
            for (std::size_t col = 0; col < c.rows[r].size(); ++col)
                EXPECT_EQ(grid.At(static_cast<int>(r) + 1, static_cast<int>(col)), c.rows[r][col])
                    << r << "," << col;
    }
}

TEST(AspectDetail, HiddenAspectShowsNothing) {
    const AspectLists lists = NatalScene();
    settings::RecVistaCarta view = ShowAll(1, 1);
    view.strengthFilter = 65;
    TextGrid grid;
    SetUpAspectDetail(grid, view);
    FillAspectDetail(grid, false, 1, 2, lists, view); // strength 60: hidden with its dispositor rows
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.At(1, 0), "");
    EXPECT_EQ(grid.At(1, 1), "");
}

TEST(AspectList, RunningNumbersListDigitsAndCuspFirst) {
    const AspectLists lists = NatalScene();
    TextGrid grid;
    SetUpList(grid, 2);
    const settings::RecVistaCarta view = ShowAll(3, 2);
    const int count = FillAspectList(grid, 'P', lists.pairBodies, lists.pairBodyCusp, &lists.pairCuspBody,
                                     lists.pairCusps, view);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(grid.Rows(), (std::vector<std::vector<std::string>>{{"1:P:P1:p07:0:p08:", "2:P:P3:c04:0:p02:"},
                                                                  {"3:P:P4:c02:0:c05:", ""}}));
    SetUpList(grid, 3);
    EXPECT_EQ(FillAspectList(grid, 'E', lists.eclipticBodies, lists.eclipticBodyCusp, nullptr,
                             lists.eclipticCusps, ShowAll()),
              5);
    EXPECT_EQ(grid.At(1, 0), "4:E:L2:p03:0:c10:");
    EXPECT_EQ(grid.At(1, 1), "5:E:L4:c01:0:c07:");
}

TEST(SelectTableLists, ItemAndWheelChooseTheLists) {
    const AspectLists lists;
    EXPECT_EQ(SelectTableLists(ShowAll(1, 1), lists).source, 'E');
    EXPECT_EQ(SelectTableLists(ShowAll(2, 1), lists).bodies, &lists.ascensionalBodies);
    const TableLists single = SelectTableLists(ShowAll(5, 1), lists);
    EXPECT_EQ(single.source, 'P');
    EXPECT_EQ(single.cuspBody, nullptr);
    EXPECT_EQ(SelectTableLists(ShowAll(1, 2), lists).cuspBody, &lists.pairCuspBody);
}

TEST(NatalList, AmbosHalvesAndAscensionalOnlyRecords) {
    const AspectLists lists = NatalScene();
    settings::RecVistaCarta view = ShowAll();
    view.pointSelection = {};
    view.pointSelection[2] = true; // Lun first in body-body codes where selected
    view.pointSelection[3] = true;
    view.pointSelection[4] = true;
    view.pointSelection[1] = true;
    TextGrid grid;
    SetUpList(grid, 3);
    const int count = FillNatalManual(grid, true, NatalModel::Ecliptic, lists, view);
    const std::vector<std::vector<std::string>> expected = {
        {" Lista", "", ""},
        {"1:E:L1:p01:0:p03:/0:A:L1:p01:0:p03", "2:E:L1:p01:1:p02:/0:A:D1:p02:0:p05",
         "2:E:L1:p01:1:p02:/0:A:D1:p01:1:p04"},
        {"3:E:L1:p02:2:p05:/-", "-:4/0:A:L1:p04:1:p06", "5:E:L2:p03:0:c10:/0:A:L2:p03:1:c10"},
        {"-:6/0:A:L2:p02:0:c01", "", ""},
        {"", "", ""},
    };
    EXPECT_EQ(grid.Rows(), expected);
    EXPECT_EQ(count, 7);
}

TEST(NatalList, WithoutAmbosTheChosenModelAndSelectedBodyFirst) {
    const AspectLists lists = NatalScene();
    settings::RecVistaCarta view = ShowAll();
    view.pointSelection = {};
    view.pointSelection[5] = true; // Mar selected: Lun-Mar written Mar first
    view.cuspSelection = {};
    TextGrid grid;
    SetUpList(grid, 4);
    EXPECT_EQ(FillNatalManual(grid, false, NatalModel::Ecliptic, lists, view), 1);
    EXPECT_EQ(grid.At(1, 0), "1:E:L1:p05:2:p02:");
    view.pointSelection[6] = true;
    EXPECT_EQ(FillNatalManual(grid, false, NatalModel::Ascensional, lists, view), 1);
    EXPECT_EQ(grid.At(1, 0), "1:A:L1:p06:1:p04:");
    EXPECT_EQ(grid.RowCount(), 3);
}

TEST(NatalByHouse, BlocksOfTheSwitchesForTheCurrentHouse) {
    const AspectLists lists = NatalScene();
    const auto modern = settings::BuiltInMatrix(settings::MatrixPreset::Modern);
    chart::RecDataProg natal = test::MakeItem({}, {}, {{3, 10}, {5, 10}});
    natal.cusps[10] = {275, 10, 0}; // Cap: ruled by Sat
    settings::RecVistaCarta view = ShowAll();
    view.aspectFamilies = {true, true, false, false};
    view.autoSources = {true, true, true};
    TextGrid grid;
    SetUpList(grid, 2);
    const int count = FillNatalByHouse(grid, natal, NatalModel::Ecliptic, false, 10, lists, view, modern);
    const std::vector<std::vector<std::string>> expected = {
        {" Regente", ""},                                     // Sat has no aspect
        {" Cúspide", ""},          {"1:E:L2:p03:0:c10:", ""}, // the aspect to cusp 10
        {" Ocupantes", ""},        {"2:E:L1:p03:0:p01:", "3:E:L1:p05:2:p02:"},
        {"4:E:L2:p03:0:c10:", ""}, {"", ""},
    };
    EXPECT_EQ(grid.Rows(), expected);
    EXPECT_EQ(count, 4);
    // No current house: no block at all.
    EXPECT_EQ(FillNatalByHouse(grid, natal, NatalModel::Ecliptic, false, 0, lists, view, modern), 0);
    EXPECT_EQ(grid.Rows(), (std::vector<std::vector<std::string>>{{"", ""}}));
}

TEST(ChartData, SpeculumTexts) {
    chart::TDataAstro chart;
    chart.instant = EncodeDateTime({1979, 10, 17, 12, 30, 5, 250});
    chart.deltaT = 50.0625f;
    chart.julianDay = 2444164.02089L;
    chart.siderealTime = 13.5L;
    chart.armc = 180.5L;
    chart.obliquity = 23.4417L;
    chart.sunTrueLongitude = 359.99999L;
    chart.sunMeanLongitude = 204.25L;
    chart.equationOfTime = -(14 * 60 + 5.5) / 86400.0L;
    chart::RecPlaneta &sol = chart.bodies[1];
    sol.longitude = 204.5L;
    sol.latitude = -0.25L;
    sol.dmo = 12.5L;
    sol.quadrant = 3;
    sol.aoDo = 190;
    sol.aoDoLabel = "DO";
    TextGrid grid;
    SetUpSpeculum(grid);
    FillChartData(grid, chart, TextFormat{','});
    struct Cell {
        int row, column;
        const char *text;
    };
    const Cell cells[] = {
        {1, 0, "Sol"},
        {1, 1, "204° 30' 00\""},
        {1, 2, "- 00° 15' 00\""},
        {1, 5, "12° 30' 00\" (3)"},
        {1, 7, "190° 00' 00\" DO"},
        {14, 1, "Fecha GMT:"},
        {14, 2, "oct 17 1979"},
        {15, 2, "12:29:15:188"}, // universal time: the instant less ΔT
        {16, 2, "50,062 s"},     // the exact binary tie goes to even
        {17, 2, "2444164,0209"},
        {18, 2, "13h 30' 00\""},
        {14, 4, "180° 30' 00\""}, // the whole circle, not wrapped at 180
        {16, 4, "00° 00' 00\""},
        {18, 4, "- 00:14:05:500"},
    };
    for (const Cell &c : cells)
        EXPECT_EQ(grid.At(c.row, c.column), c.text) << c.row << "," << c.column;
}

TEST(BodySummary, SignsDignitiesDecanatesAndNeighbours) {
    chart::RecDataProg item = test::MakeItem({{1, 130}, {2, 40}});
    item.bodies[1].ruledHouses = "5,6";
    item.bodies[1].house = 5;
    item.cusps[1] = {148, 5, 6};
    TextGrid grid;
    SetUpBodySummary(grid);
    FillBodySummary(grid, item, settings::BuiltInMatrix(settings::MatrixPreset::Modern));
    EXPECT_EQ(grid.At(1, 1), "5");
    EXPECT_EQ(grid.At(1, 2), "1"); // Sol rules Leo
    EXPECT_EQ(grid.At(1, 3), "5,6");
    EXPECT_EQ(grid.At(1, 4), "5");
    EXPECT_EQ(grid.At(1, 5), "9"); // 10 Leo: second decanate, Sag
    EXPECT_EQ(grid.At(1, 10), "5");
    EXPECT_EQ(grid.At(1, 11), "6");
    EXPECT_EQ(grid.At(1, 12), "1"); // 28 Leo: third decanate, Ari
    EXPECT_EQ(grid.At(0, 9), "Cas");
    EXPECT_EQ(grid.At(12, 0), "12");
}

} // namespace
} // namespace cel::analysis
