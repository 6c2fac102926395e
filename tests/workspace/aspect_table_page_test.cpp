#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QToolButton>

#include "support/widgets.h"
#include "tables_page_helpers.h"
#include "workspace/aspect_table_page.h"
#include "workspace_fixture.h"

namespace cel::workspace::test {
namespace {

constexpr const char *kAna = "Ana Lucía Restrepo Gaviria";

class AspectPageTest : public WindowFixture {
protected:
    // A person chosen with every point, cusp and angle, table page open.
    QTableView *OpenTable() {
        Open();
        Choose(kAna);
        for (const char *all : {"CBPlaT", "CBCasaT", "CBAngT"})
            QTest::mouseClick(Find<QToolButton>(all), Qt::LeftButton);
        // The command line's defaults: every family, dispositors computed.
        for (const char *family : {"CBPC", "CBCP", "CBCC", "CBCalc"})
            Find<QCheckBox>(family)->setChecked(true);
        QTest::mouseClick(Find<QPushButton>("SBTabla"), Qt::LeftButton);
        auto *table = Find<QTableView>("SGTabAsp");
        EXPECT_TRUE(table->isVisible());
        return table;
    }
    static std::string Cell(QTableView *view, int row, int column) {
        return view->model()->index(row, column).data().toString().toStdString();
    }
    void ClickCell(QTableView *view, int row, int column) {
        const QModelIndex index = view->model()->index(row, column);
        view->scrollTo(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    }
};

TEST_F(AspectPageTest, TableAndListShowTheCommandLinesCells) {
    QTableView *table = OpenTable();
    const auto expected = CliTable(dataFile_, kAna, "--type tabla");
    ASSERT_EQ(static_cast<int>(expected.size()), table->model()->rowCount());
    int aspects = 0;
    for (int r = 0; r < table->model()->rowCount(); ++r)
        for (int c = 0; c < table->model()->columnCount(); ++c) {
            ASSERT_EQ(Cell(table, r, c), expected[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)])
                << r << "," << c;
            aspects += r > 0 && c > 0 && !Cell(table, r, c).empty();
        }
    EXPECT_GT(aspects, 10);
    EXPECT_TRUE(Find<QLabel>("LabelAsp")->text().startsWith("Asp: "));

    // "Listado" hides the table; its codes run in the command line's order.
    QTest::mouseClick(Find<QRadioButton>("RBListado"), Qt::LeftButton);
    EXPECT_FALSE(table->isVisible());
    auto *list = Find<QTableView>("SGDetalle");
    const int columns = list->model()->columnCount();
    const auto listed = CliTable(dataFile_, kAna, "--type listado --columns " + std::to_string(columns));
    ASSERT_FALSE(listed.empty());
    for (int c = 0; c < columns; ++c)
        EXPECT_EQ(Cell(list, 0, c), listed[0][static_cast<std::size_t>(c)]) << c;
    EXPECT_EQ(
        Find<QLabel>("LabelAsp")->text().toStdString(),
        "Asp: " +
            std::to_string(
                static_cast<AspectTablePage *>(window_->findChild<QWidget *>("PageTabla"))->AspectCount()));
}

TEST_F(AspectPageTest, SelectingACellMarksItsItemsAndFillsTheDetail) {
    QTableView *table = OpenTable();
    // Find an aspect between two bodies and select it.
    int row = 0, column = 0;
    for (int r = 1; r <= 12 && row == 0; ++r)
        for (int c = r + 1; c <= 12 && row == 0; ++c)
            if (!Cell(table, r, c).empty()) {
                row = r;
                column = c;
            }
    ASSERT_GT(row, 0);
    ClickCell(table, row, column);
    const auto &marks = window_->Workspace().progressions.marks1;
    EXPECT_EQ(marks[static_cast<std::size_t>(row - 1)], 1);
    EXPECT_EQ(marks[static_cast<std::size_t>(column - 1)], 1);
    const auto detail = CliTable(
        dataFile_, kAna, "--type detalle --cell " + std::to_string(column) + "," + std::to_string(row));
    auto *detailView = Find<QTableView>("SGDetalle");
    ASSERT_GE(detail.size(), 2u);
    EXPECT_FALSE(Cell(detailView, 1, 0).empty());
    for (int c = 0; c < detailView->model()->columnCount(); ++c)
        EXPECT_EQ(Cell(detailView, 1, c), detail[1][static_cast<std::size_t>(c)]) << c;

    // Another cell clears the previous marks.
    ClickCell(table, 13, 14);
    EXPECT_EQ(marks[static_cast<std::size_t>(row - 1)], 0);
    EXPECT_EQ(marks[static_cast<std::size_t>(column - 1)], 0);
    EXPECT_EQ(marks[12], 1);
    EXPECT_EQ(marks[13], 1);

    // A click on a heading toggles its item's mark; a second click clears it again.
    ClickCell(table, 0, 5);
    EXPECT_EQ(marks[4], 1);
    ClickCell(table, 0, 5);
    EXPECT_EQ(marks[4], 0);
    ClickCell(table, 3, 0);
    EXPECT_EQ(marks[2], 1);
    // The marks survive a recomputation.
    window_->Workspace().Recompute();
    EXPECT_EQ(marks[2], 1);
}

// A double wheel of the two natal items: the table is the inner item against the outer one, cell for
// cell as the command line builds it, and "pos" names the outer item in column 26, the inner in 27.
TEST_F(AspectPageTest, TheDoubleWheelTableShowsTheCommandLinesCells) {
    QTableView *table = OpenTable();
    Find<QRadioButton>("RBDoble")->click();
    testsupport::ChooseText(Find<QComboBox>("CBItemExt"), "Natal Ascensional");
    const auto expected = CliTable(dataFile_, kAna, "--type tabla --wheel doble --inner 1 --outer 2");
    ASSERT_EQ(static_cast<int>(expected.size()), table->model()->rowCount());
    int differing = 0;
    const auto single = CliTable(dataFile_, kAna, "--type tabla");
    for (int r = 0; r < table->model()->rowCount(); ++r)
        for (int c = 0; c < static_cast<int>(expected[0].size()); ++c) {
            ASSERT_EQ(Cell(table, r, c), expected[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)])
                << r << "," << c;
            differing +=
                Cell(table, r, c) != single[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
        }
    EXPECT_GT(differing, 5); // not the single wheel's table
    Find<QCheckBox>("CBPos")->setChecked(true);
    ASSERT_EQ(table->model()->columnCount(), 28);
    EXPECT_EQ(Cell(table, 0, 26), "Natal Ascensional");
    EXPECT_EQ(Cell(table, 0, 27), "Natal Eclíptica");
}

// "Imagen y letra grande" switches the table to the large glyph set: wider and taller cells, with and
// without "%".
TEST_F(AspectPageTest, LargeGlyphsAndLetteringEnlargeTheCells) {
    QTableView *table = OpenTable();
    for (const bool percent : {false, true}) {
        Find<QCheckBox>("CBPorcentaje")->setChecked(percent);
        Find<QCheckBox>("CBImagenGrande")->setChecked(false);
        const QSize normal(table->columnWidth(5), table->rowHeight(5));
        Find<QCheckBox>("CBImagenGrande")->setChecked(true);
        const QSize large(table->columnWidth(5), table->rowHeight(5));
        EXPECT_GT(large.width(), normal.width()) << percent;
        EXPECT_GT(large.height(), normal.height()) << percent;
        EXPECT_TRUE(window_->Workspace().settings.rueda.imagenT);
        // The fixed and position columns grow with the glyphs too.
        Find<QCheckBox>("CBPos")->setChecked(true);
        const int position = table->columnWidth(26);
        Find<QCheckBox>("CBImagenGrande")->setChecked(false);
        EXPECT_LT(table->columnWidth(26), position) << percent;
        EXPECT_EQ(table->columnWidth(5), normal.width()) << percent;
        Find<QCheckBox>("CBPos")->setChecked(false);
    }
}

// On a 1366x768 screen with the tool windows open the 24 items of the table fit without scrolling, the
// detail grid sits below it, and a list switched to from the table spreads over the page's width.
TEST_F(AspectPageTest, OnASmallScreenTheTableFitsAndTheListTakesTheWidth) {
    QTableView *table = OpenTable();
    window_->resize(1366, 768);
    QApplication::processEvents();
    auto *detail = Find<QTableView>("SGDetalle");
    int itemsWidth = 0;
    for (int c = 0; c <= 25; ++c)
        itemsWidth += table->columnWidth(c);
    EXPECT_LE(itemsWidth, table->viewport()->width());
    EXPECT_GE(detail->geometry().top(), table->geometry().bottom());
    EXPECT_GE(detail->width(), table->width() - 2);

    QTest::mouseClick(Find<QRadioButton>("RBListado"), Qt::LeftButton);
    QApplication::processEvents();
    const int columns = detail->model()->columnCount();
    EXPECT_GE(columns, 3);
    EXPECT_LE(columns * detail->columnWidth(0), detail->viewport()->width());
}

} // namespace
} // namespace cel::workspace::test
