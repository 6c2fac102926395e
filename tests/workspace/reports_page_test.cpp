#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>

#include "support/widgets.h"
#include "tables_page_helpers.h"
#include "workspace/points_dialog.h"
#include "workspace/reports_page.h"
#include "workspace_fixture.h"

namespace cel::workspace::test {
namespace {

constexpr const char *kAna = "Ana Lucía Restrepo Gaviria";

class ReportsPageTest : public WindowFixture {
protected:
    QTabWidget *OpenReports() {
        Open();
        Choose(kAna);
        QTest::mouseClick(Find<QPushButton>("SBReportes"), Qt::LeftButton);
        auto *tabs = Find<QTabWidget>("PCReportes");
        EXPECT_TRUE(tabs->isVisible());
        return tabs;
    }
    static std::string Cell(QTableView *view, int row, int column) {
        return view->model()->index(row, column).data().toString().toStdString();
    }
    void ExpectSameCells(QTableView *view, const std::vector<std::vector<std::string>> &expected) {
        ASSERT_EQ(static_cast<int>(expected.size()), view->model()->rowCount())
            << view->objectName().toStdString();
        for (int r = 0; r < view->model()->rowCount(); ++r)
            for (int c = 0; c < view->model()->columnCount(); ++c)
                ASSERT_EQ(Cell(view, r, c),
                          expected[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)])
                    << view->objectName().toStdString() << " " << r << "," << c;
    }
    void ClickCell(QTableView *view, int row, int column) {
        const QModelIndex index = view->model()->index(row, column);
        view->scrollTo(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    }
};

TEST_F(ReportsPageTest, GridsShowTheCommandLinesCells) {
    QTabWidget *tabs = OpenReports();
    tabs->setCurrentIndex(1);
    ExpectSameCells(Find<QTableView>("SGSpeculum"), CliTable(dataFile_, kAna, "--type speculum"));
    // "Fecha Evento" shows the event chart: another date in row 14.
    const std::string natalDate = Cell(Find<QTableView>("SGSpeculum"), 14, 2);
    QTest::mouseClick(Find<QRadioButton>("RBFechaEvento"), Qt::LeftButton);
    EXPECT_NE(Cell(Find<QTableView>("SGSpeculum"), 14, 2), natalDate);
    EXPECT_EQ(Cell(Find<QTableView>("SGSpeculum"), 0, 1), "Long.");

    tabs->setCurrentIndex(2);
    EXPECT_TRUE(Find<QPushButton>("SBPuntos")->isVisible());
    ExpectSameCells(Find<QTableView>("SGResumen1"), CliTable(dataFile_, kAna, "--type resumen1 --item 1"));
    ExpectSameCells(Find<QTableView>("SGResumen2"), CliTable(dataFile_, kAna, "--type resumen2 --item 1"));
    testsupport::ChooseText(Find<QComboBox>("CBItemResumen"), "Natal Ascensional");
    ExpectSameCells(Find<QTableView>("SGResumen1"), CliTable(dataFile_, kAna, "--type resumen1 --item 2"));

    tabs->setCurrentIndex(0);
    EXPECT_FALSE(Find<QPushButton>("SBPuntos")->isVisible());
    EXPECT_TRUE(Find<QLabel>("LabelProg")->text().startsWith("Edad: "));
}

TEST_F(ReportsPageTest, ProgressionMarksToggleAndSurviveARecomputation) {
    OpenReports();
    auto *grid = Find<QTableView>("SGProg");
    EXPECT_EQ(Cell(grid, 0, 8), "Ar. Solar");
    EXPECT_FALSE(Cell(grid, 1, 8).empty());
    const auto &marks = window_->Workspace().progressions.items[8].marks;
    ClickCell(grid, 1, 8); // "Sol" under "Ar. Solar"
    EXPECT_EQ(marks[0], 1);
    // A new date recomputes everything; the mark stays.
    Find<QPushButton>("SBAhora")->click();
    EXPECT_EQ(window_->Workspace().progressions.items[8].marks[0], 1);
    ClickCell(grid, 1, 8);
    EXPECT_EQ(window_->Workspace().progressions.items[8].marks[0], 0);
    // Unticking "ProLuna" hides its column only.
    Find<QCheckBox>("CBProg9")->setChecked(false);
    EXPECT_TRUE(grid->isColumnHidden(9));
    EXPECT_FALSE(grid->isColumnHidden(8));
    EXPECT_FALSE(grid->isColumnHidden(10));
}

TEST_F(ReportsPageTest, PointsDialogChangesTheTotalTheSummaryAndTheDiagram) {
    QTabWidget *tabs = OpenReports();
    tabs->setCurrentIndex(2);
    QTest::mouseClick(Find<QPushButton>("SBPuntos"), Qt::LeftButton);
    auto *page = static_cast<ReportsPage *>(window_->findChild<QWidget *>("PageReportes"));
    TFormPto *dialog = page->PointsDialog();
    ASSERT_NE(dialog, nullptr);
    auto *total = dialog->findChild<QLabel *>("LabelTotal");
    EXPECT_EQ(total->text().toStdString().substr(0, 14), "Total Ptos: 17");
    const QImage before = page->DiagramPicture();
    const std::string sunSign = page->Summary1().Text(1, 1);
    const int sign = std::stoi(sunSign);
    const std::string pointsBefore = page->Summary2().Text(1, sign);

    // Sol weighs 5 instead of 2: the total, the Sun's sign in the summary and the diagram change.
    dialog->findChild<QDoubleSpinBox *>("SEPla1")->setValue(5);
    EXPECT_EQ(total->text().toStdString().substr(0, 14), "Total Ptos: 20");
    EXPECT_NE(page->Summary2().Text(1, sign), pointsBefore);
    EXPECT_NE(page->DiagramPicture(), before);

    // Presets: "Sin Hora" with the built-in weights gives 14; "Valores =1" with the flags of a first run 13.
    QTest::mouseClick(dialog->findChild<QPushButton *>("SBPredeterminados"), Qt::LeftButton);
    QTest::mouseClick(dialog->findChild<QPushButton *>("SBSinHora"), Qt::LeftButton);
    EXPECT_EQ(total->text().toStdString().substr(0, 14), "Total Ptos: 14");
    EXPECT_FALSE(dialog->findChild<QDoubleSpinBox *>("SEPla12")->isEnabled());
    QTest::mouseClick(dialog->findChild<QPushButton *>("SBHoraOk"), Qt::LeftButton);
    QTest::mouseClick(dialog->findChild<QPushButton *>("SBValores1"), Qt::LeftButton);
    EXPECT_EQ(total->text().toStdString().substr(0, 14), "Total Ptos: 13");
    // No body and no house: total 0 and every percentage "0%".
    QTest::mouseClick(dialog->findChild<QToolButton *>("SBPlaN"), Qt::LeftButton);
    QTest::mouseClick(dialog->findChild<QToolButton *>("SBCasN"), Qt::LeftButton);
    EXPECT_EQ(total->text().toStdString().substr(0, 13), "Total Ptos: 0");
    EXPECT_EQ(page->Summary2().Text(2, 1), "0%");

    // "Cerrar" closes it and releases "puntos"; the weights stay in the settings.
    QTest::mouseClick(dialog->findChild<QPushButton *>("SBCerrar"), Qt::LeftButton);
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(page->PointsDialog(), nullptr);
    EXPECT_FALSE(Find<QPushButton>("SBPuntos")->isChecked());
    EXPECT_FLOAT_EQ(window_->Workspace().settings.points.ptosPla[1], 1.0f);
}

} // namespace
} // namespace cel::workspace::test
