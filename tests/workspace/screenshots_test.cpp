// The main window and the database manager as a user sees them, at the two usual screen sizes: the
// pictures must show a painted wheel and a filled grid. With CEL_SCREENSHOT_DIR set, the pictures are
// also written there (the help pages take theirs from this test).
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

#include "manager/item_editor.h"
#include "workspace/form_retorno.h"
#include "workspace/print_window.h"

#include <cstdlib>
#include <set>

#include "support/widgets.h"
#include "workspace_fixture.h"

namespace cel::workspace::test {
namespace {

using testsupport::Keep;

constexpr const char *kAna = "Ana Lucía Restrepo Gaviria";

// Distinct colours on a coarse grid of the picture: a blank or half-painted window shows few.
int DistinctColours(const QImage &image) {
    std::set<QRgb> seen;
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            seen.insert(image.pixel(x, y));
    return static_cast<int>(seen.size());
}

TEST_F(WindowFixture, TheWindowWithAChartAtBothScreenSizes) {
    TFormMain &w = Open();
    Choose(kAna);
    QTest::mouseClick(Find<QToolButton>("CBPlaT"), Qt::LeftButton);
    for (const QSize size : {QSize(1366, 768), QSize(1920, 1080)}) {
        w.resize(size);
        QApplication::processEvents();
        const QImage shot = w.grab().toImage();
        EXPECT_EQ(shot.size(), size * w.devicePixelRatio());
        EXPECT_GT(DistinctColours(shot), 40) << size.width();
        // The wheel takes the paint area: its picture is not blank.
        const QImage wheel = Find<QWidget>("PaintBox")->grab().toImage();
        EXPECT_GT(wheel.width(), 300);
        EXPECT_GT(DistinctColours(wheel), 20);
        Keep(shot, size.width() == 1366 ? "ventana-principal.png" : "ventana-principal-1920.png");
    }
}

// Every page of the main window and the two dialogs at both screen sizes, as the user sees them.
TEST_F(WindowFixture, EveryPageAndDialogAtBothScreenSizes) {
    TFormMain &w = Open();
    Choose(kAna);
    for (const char *all : {"CBPlaT", "CBCasaT", "CBAngT"})
        QTest::mouseClick(Find<QToolButton>(all), Qt::LeftButton);
    for (const QSize size : {QSize(1366, 768), QSize(1920, 1080)}) {
        w.resize(size);
        const QString suffix = QString("-%1.png").arg(size.width());
        const auto shoot = [&](QWidget *widget, const QString &name) {
            QApplication::processEvents();
            const QImage shot = widget->grab().toImage();
            EXPECT_GT(DistinctColours(shot), 12) << name.toStdString();
            Keep(shot, (name + suffix).toUtf8().constData());
        };
        QTest::mouseClick(Find<QPushButton>("SBRueda"), Qt::LeftButton);
        shoot(&w, "rueda");
        QTest::mouseClick(Find<QPushButton>("SBTabla"), Qt::LeftButton);
        for (const char *type : {"RBTabla", "RBListado", "RBNatal"}) {
            Find<QRadioButton>(type)->click();
            shoot(&w, type);
        }
        Find<QRadioButton>("RBTabla")->click();
        for (const char *option : {"CBPorcentaje", "CBPos"})
            Find<QCheckBox>(option)->setChecked(true);
        shoot(&w, "RBTabla-pos");
        for (const char *option : {"CBPorcentaje", "CBPos"})
            Find<QCheckBox>(option)->setChecked(false);
        QTest::mouseClick(Find<QPushButton>("SBReportes"), Qt::LeftButton);
        auto *tabs = Find<QTabWidget>("PCReportes");
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            shoot(&w, QString("reportes%1").arg(page));
        }
        QTest::mouseClick(Find<QPushButton>("SBPuntos"), Qt::LeftButton);
        auto *points = w.findChild<QDialog *>("FormPto");
        ASSERT_NE(points, nullptr);
        shoot(points, "puntos");
        QTest::mouseClick(Find<QPushButton>("SBPuntos"), Qt::LeftButton);
        QTest::mouseClick(Find<QToolButton>("SBSetUp"), Qt::LeftButton);
        auto *setup = w.findChild<QDialog *>("FormSetUpCEL");
        ASSERT_NE(setup, nullptr);
        auto *setupTabs = setup->findChild<QTabWidget *>("PCSetUp");
        for (int page = 0; page < setupTabs->count(); ++page) {
            setupTabs->setCurrentIndex(page);
            shoot(setup, QString("configurar%1").arg(page));
        }
        QTest::mouseClick(Find<QToolButton>("SBSetUp"), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// The print preview of the aspect table as the main window shows it, with "%".
TEST_F(WindowFixture, ThePrintPreviewOfTheAspectTable) {
    TFormMain &w = Open();
    Choose(kAna);
    QTest::mouseClick(Find<QAbstractButton>("SBTabla"), Qt::LeftButton);
    Find<QCheckBox>("CBPorcentaje")->setChecked(true);
    const document::PageContent content = w.PrintContent();
    int filled = 0;
    for (int row = 1; row < content.aspectTable.RowCount(); ++row)
        for (int column = 1; column < content.aspectTable.ColumnCount(); ++column)
            filled += content.aspectTable.Cell(column, row).empty() ? 0 : 1;
    EXPECT_GT(filled, 20) << w.LastAspectCount();
    TFormPrint print(notifier_, content, document::LayoutOptions{false, "Consulta de prueba"}, true, &w);
    print.resize(1100, 760);
    print.show();
    QApplication::processEvents();
    const QImage shot = print.grab().toImage();
    EXPECT_GT(DistinctColours(shot), 20);
    Keep(shot, "vista-previa.png");
}

// The item editor and the solar return window, which open from the main window, painted whole and at
// the screen's density (the scale test runs this with QT_SCALE_FACTOR=2).
TEST_F(WindowFixture, TheItemEditorAndTheSolarReturnWindow) {
    TFormMain &w = Open();
    w.resize(1366, 768);
    if (const char *scale = std::getenv("QT_SCALE_FACTOR"); scale != nullptr && *scale != '\0') {
        EXPECT_DOUBLE_EQ(w.devicePixelRatio(), std::atof(scale));
    }
    Choose(kAna);
    bool editorSeen = false;
    QTimer::singleShot(0, &w, [&] {
        auto *editor = qobject_cast<manager::TFormItem *>(QApplication::activeModalWidget());
        ASSERT_NE(editor, nullptr);
        editorSeen = true;
        const auto shoot = [&](const QString &name) {
            QApplication::processEvents();
            const QImage shot = editor->grab().toImage();
            EXPECT_EQ(shot.size(), editor->size() * editor->devicePixelRatio());
            EXPECT_GT(DistinctColours(shot), 12) << name.toStdString();
            Keep(shot, name.toUtf8().constData());
        };
        shoot("editor-persona.png");
        for (auto *tabs : editor->findChildren<QTabBar *>()) {
            for (int page = 0; page < tabs->count(); ++page) {
                tabs->setCurrentIndex(page);
                shoot(QString("editor-persona%1.png").arg(page));
            }
        }
        editor->reject();
    });
    Find<QPushButton>("SBEditar")->click();
    EXPECT_TRUE(editorSeen);

    Find<QTabWidget>("PCDatos")->setCurrentIndex(1);
    Find<QToolButton>("SBRetorno")->click();
    auto *retorno = w.findChild<TFormRetorno *>("FormRetorno");
    ASSERT_NE(retorno, nullptr);
    QApplication::processEvents();
    const QImage shot = retorno->grab().toImage();
    EXPECT_EQ(shot.size(), retorno->size() * retorno->devicePixelRatio());
    EXPECT_GT(DistinctColours(shot), 12);
    Keep(shot, "retorno-solar.png");
    Find<QToolButton>("SBRetorno")->click();
}

TEST_F(WindowFixture, TheManagerWithTheSamplePersons) {
    TFormMain &w = Open();
    w.resize(1366, 768);
    Find<QToolButton>("SBTarjaro")->click();
    QWidget *manager = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->inherits("cel::manager::TFormMainTarjaro") && top->isVisible())
            manager = top;
    ASSERT_NE(manager, nullptr);
    manager->resize(1366, 768);
    auto *kind = manager->findChild<QComboBox *>("CBTipoLista");
    ASSERT_NE(kind, nullptr);
    kind->setCurrentIndex(kind->findText("Personas"));
    QApplication::processEvents();
    auto *grid = manager->findChild<QTableView *>("SGLista");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->model()->rowCount(), 12);
    const QImage shot = manager->grab().toImage();
    EXPECT_GT(DistinctColours(shot), 20);
    Keep(shot, "administrador.png");
    manager->close();
    QApplication::processEvents();
}

} // namespace
} // namespace cel::workspace::test
