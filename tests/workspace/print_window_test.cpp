// The print window on the offscreen platform: page buttons and label, thumbnails, zoom, the wheel's
// orientation buttons rebuilding the document, printing the current page to a PDF file, and the
// summary's refused RTF export.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPrinter>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

#include <fstream>

#include "document/workspace_page.h"
#include "support/widgets.h"
#include "workspace/print_window.h"
#include "workspace_fixture.h"

namespace cel::workspace::test {
namespace {

class PrintWindowTest : public WindowFixture {
protected:
    std::unique_ptr<TFormPrint> OpenPrint(document::PageKind kind) {
        Open();
        session::Workspace &ws = window_->Workspace();
        if (kind == document::PageKind::Listado) {
            // The transits around the natal chart with every aspect: a listing of several pages.
            ws.choices.innerItem = 3;
            ws.choices.outerItem = 1;
            ws.choices.wheelMode = settings::kDoubleWheel;
            ws.choices.aspectFamilies.fill(true);
            ws.choices.pointSelection.fill(true);
            ws.choices.cuspSelection.fill(true);
            ws.choices.angleSelection.fill(true);
            ws.Recompute();
        }
        document::PageContent content = document::MakePageContent(
            kind, document::StateOf(ws), {}, document::MakeHeading(ws, {"Ana", "", "Cali", "Colombia"}));
        auto print = std::make_unique<TFormPrint>(notifier_, std::move(content),
                                                  document::LayoutOptions{false, "Pie"}, true, window_.get());
        print->show();
        return print;
    }
    template <class T> static T *Child(QWidget &w, const char *name) {
        T *child = w.findChild<T *>(name);
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
};

TEST_F(PrintWindowTest, PageButtonsMoveThroughTheListingAndTheLabelFollows) {
    auto print = OpenPrint(document::PageKind::Listado);
    const int pages = static_cast<int>(print->Document().pages.size());
    ASSERT_GE(pages, 2);
    auto *label = Child<QLabel>(*print, "LPage");
    auto *thumbs = Child<QListWidget>(*print, "LWPages");
    EXPECT_EQ(thumbs->count(), pages);
    EXPECT_EQ(label->text(), QString("1 de %1").arg(pages));
    EXPECT_FALSE(Child<QToolButton>(*print, "SBPrior")->isEnabled());
    QTest::mouseClick(Child<QToolButton>(*print, "SBNext"), Qt::LeftButton);
    EXPECT_EQ(label->text(), QString("2 de %1").arg(pages));
    QTest::mouseClick(Child<QToolButton>(*print, "SBLast"), Qt::LeftButton);
    EXPECT_EQ(print->CurrentPage(), pages - 1);
    EXPECT_FALSE(Child<QToolButton>(*print, "SBNext")->isEnabled());
    EXPECT_EQ(thumbs->currentRow(), pages - 1);
    QTest::mouseClick(Child<QToolButton>(*print, "SBPrior"), Qt::LeftButton);
    EXPECT_EQ(print->CurrentPage(), pages - 2);
    QTest::mouseClick(Child<QToolButton>(*print, "SBFirst"), Qt::LeftButton);
    EXPECT_EQ(label->text(), QString("1 de %1").arg(pages));
    thumbs->setCurrentRow(1); // a thumbnail shows its page
    EXPECT_EQ(print->CurrentPage(), 1);
    // Only the wheel page offers the orientation.
    EXPECT_TRUE(Child<QToolButton>(*print, "SBHorizontal")->isHidden());
    EXPECT_EQ(print->windowTitle(), QString("Celestigrafo Versión 0.02.00 Impresión previa"));
}

TEST_F(PrintWindowTest, ZoomButtonsScaleThePreviewAndOneSetsOneHundredPercent) {
    auto print = OpenPrint(document::PageKind::Rueda);
    auto *preview = Child<QLabel>(*print, "LPreview");
    QTest::mouseClick(Child<QToolButton>(*print, "SBZoom100"), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(print->Zoom(), 1.0);
    EXPECT_EQ(Child<QLabel>(*print, "LZoom")->text(), QString("100 %"));
    // Letter at 96 pixels per inch.
    EXPECT_EQ(preview->pixmap().width(), 816);
    EXPECT_EQ(preview->pixmap().height(), 1056);
    QTest::mouseClick(Child<QToolButton>(*print, "SBZoomIn"), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(print->Zoom(), 1.25);
    EXPECT_EQ(preview->pixmap().width(), 1020);
    for (int i = 0; i < 20; ++i)
        QTest::mouseClick(Child<QToolButton>(*print, "SBZoomOut"), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(print->Zoom(), 0.25); // the smallest
    if (const char *out = std::getenv("CEL_PRINT_GRAB")) {
        print->SetZoom(0.6);
        print->grab().save(QString::fromUtf8(out));
    }
}

TEST_F(PrintWindowTest, OrientationButtonsRebuildTheWheelPage) {
    auto print = OpenPrint(document::PageKind::Rueda);
    auto *landscape = Child<QToolButton>(*print, "SBHorizontal");
    auto *portrait = Child<QToolButton>(*print, "SBVertical");
    EXPECT_FALSE(landscape->isHidden());
    EXPECT_TRUE(portrait->isChecked());
    print->SetZoom(1.0);
    QTest::mouseClick(landscape, Qt::LeftButton);
    ASSERT_EQ(print->Document().pages.size(), 1u);
    EXPECT_EQ(print->Document().pages.front().orientation, QPageLayout::Landscape);
    EXPECT_TRUE(landscape->isChecked());
    EXPECT_FALSE(portrait->isChecked());
    const QPixmap wide = Child<QLabel>(*print, "LPreview")->pixmap();
    EXPECT_EQ(wide.width(), 1056);
    EXPECT_EQ(wide.height(), 816);
    QTest::mouseClick(portrait, Qt::LeftButton);
    EXPECT_EQ(print->Document().pages.front().orientation, QPageLayout::Portrait);
    EXPECT_EQ(print->CurrentPage(), 0);
}

// The aspect grid beside the wheel, as "pdf --aspect-grid" prints it: a check box reached and toggled
// from the keyboard rebuilds the wheel page with the grid, and off again without it; other pages hide it.
TEST_F(PrintWindowTest, AspectGridCheckBoxAddsTheGridBesideTheWheel) {
    auto print = OpenPrint(document::PageKind::Rueda);
    auto *box = Child<QCheckBox>(*print, "CBAspectGrid");
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->isHidden());
    EXPECT_EQ(box->text(), QString("&Aspectos junto a la rueda"));
    EXPECT_FALSE(box->isChecked());
    const auto hasGrid = [&print] {
        const document::Page &page = print->Document().pages.front();
        return std::any_of(page.drawings.begin(), page.drawings.end(),
                           [](const document::PageDrawing &d) { return d.name == "aspect grid"; });
    };
    EXPECT_FALSE(hasGrid());
    // Tab reaches it; the space bar toggles it.
    EXPECT_NE(box->focusPolicy() & Qt::TabFocus, 0);
    box->setFocus(Qt::TabFocusReason);
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_TRUE(box->isChecked());
    ASSERT_EQ(print->Document().pages.size(), 1u);
    EXPECT_TRUE(hasGrid());
    // The orientation keeps the choice.
    QTest::mouseClick(Child<QToolButton>(*print, "SBHorizontal"), Qt::LeftButton);
    EXPECT_TRUE(hasGrid());
    EXPECT_TRUE(box->isChecked());
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_FALSE(hasGrid());

    session::Workspace &ws = window_->Workspace();
    TFormPrint table(notifier_,
                     document::MakePageContent(document::PageKind::Tabla, document::StateOf(ws), {},
                                               document::MakeHeading(ws, {"Ana", "", "Cali", "Colombia"})),
                     document::LayoutOptions{}, true, window_.get());
    EXPECT_TRUE(Child<QCheckBox>(table, "CBAspectGrid")->isHidden());
}

TEST_F(PrintWindowTest, PrintsTheCurrentPageOrAllPagesToAPdfFile) {
    auto print = OpenPrint(document::PageKind::Listado);
    ASSERT_GE(print->Document().pages.size(), 2u);
    const auto printTo = [&](const std::string &name) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const std::string path = (dir_ / name).string();
        printer.setOutputFileName(QString::fromStdString(path));
        EXPECT_TRUE(print->PrintOn(printer));
        std::ifstream in(path, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(text.rfind("%PDF", 0), 0u) << name;
        return text;
    };
    EXPECT_TRUE(Child<QRadioButton>(*print, "RBAllPages")->isChecked());
    const std::string all = printTo("all.pdf");
    QTest::mouseClick(Child<QRadioButton>(*print, "RBCurrentPage"), Qt::LeftButton);
    EXPECT_FALSE(print->AllPages());
    const std::string one = printTo("one.pdf");
    EXPECT_LT(one.size(), all.size());
    const auto pageCount = [](const std::string &pdf) {
        std::size_t n = 0;
        for (std::size_t at = pdf.find("/Type /Page\n"); at != std::string::npos;
             at = pdf.find("/Type /Page\n", at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(pageCount(one), 1u);
    EXPECT_EQ(pageCount(all), print->Document().pages.size());
}

TEST_F(PrintWindowTest, MainWindowPrintButtonOffersTheThreeActions) {
    Open();
    auto *button = Find<QToolButton>("SBImprimir");
    ASSERT_NE(button->menu(), nullptr);
    QStringList texts;
    for (QAction *action : button->menu()->actions()) {
        texts << action->text();
        EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
    }
    EXPECT_EQ(texts, QStringList({"Imprimir", "Impresión preliminar", "Exportar a archivo RTF"}));
}

// The print menu lays out the page the main window shows, with the choices made on it.
TEST_F(PrintWindowTest, MainWindowPrintsThePageItShowsWithItsChoices) {
    Open();
    struct Case {
        const char *pageButton;
        const char *choice; // a radio button of the aspect page, or empty
        int reportTab;      // the "Reportes" tab, or -1
        document::PageKind kind;
        std::string title;
    };
    const std::string natal = chart::kItemNames[chart::kNatalEcliptic];
    const Case cases[] = {
        {"SBRueda", "", -1, document::PageKind::Rueda, natal},
        {"SBTabla", "RBTabla", -1, document::PageKind::Tabla, "Tabla de aspectos " + natal},
        {"SBTabla", "RBListado", -1, document::PageKind::Listado, "Lista aspectos: " + natal},
        {"SBTabla", "RBNatal", -1, document::PageKind::Natal,
         "Lista aspectos natales. Según modelo eclíptico"},
        {"SBReportes", "", 0, document::PageKind::Progresiones, "Lista Progresiones"},
        {"SBReportes", "", 1, document::PageKind::Speculum, "Speculum"},
        {"SBReportes", "", 2, document::PageKind::Resumen, "Resumen " + natal},
        {"SBReportes", "", 3, document::PageKind::Diagramas, "Diagramas"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        QTest::mouseClick(Find<QAbstractButton>(c.pageButton), Qt::LeftButton);
        if (*c.choice)
            QTest::mouseClick(Find<QRadioButton>(c.choice), Qt::LeftButton);
        if (c.reportTab >= 0)
            Find<QTabWidget>("PCReportes")->setCurrentIndex(c.reportTab);
        const document::PageContent content = window_->PrintContent();
        EXPECT_EQ(content.page, c.kind);
        EXPECT_EQ(document::PageTitle(content.page, content.view), c.title);
    }

    // The choices of the page travel with it: "%" on the table, "R. Asc." on the natal list, the
    // summary's item.
    QTest::mouseClick(Find<QAbstractButton>("SBTabla"), Qt::LeftButton);
    QTest::mouseClick(Find<QRadioButton>("RBTabla"), Qt::LeftButton);
    Find<QCheckBox>("CBPorcentaje")->setChecked(true);
    EXPECT_TRUE(window_->PrintContent().showStrength);
    QTest::mouseClick(Find<QRadioButton>("RBNatal"), Qt::LeftButton);
    QTest::mouseClick(Find<QRadioButton>("RBRAsc"), Qt::LeftButton);
    const document::PageContent natalList = window_->PrintContent();
    EXPECT_EQ(document::PageTitle(natalList.page, natalList.view),
              "Lista aspectos natales. Según modelo ascensional");
    QTest::mouseClick(Find<QAbstractButton>("SBReportes"), Qt::LeftButton);
    Find<QTabWidget>("PCReportes")->setCurrentIndex(2);
    testsupport::ChooseText(Find<QComboBox>("CBItemResumen"), "Natal Ascensional");
    const document::PageContent summary = window_->PrintContent();
    EXPECT_EQ(document::PageTitle(summary.page, summary.view),
              std::string("Resumen ") + chart::kItemNames[chart::kNatalAscensional]);
}

TEST_F(PrintWindowTest, SummaryExportIsRefusedWithItsMessage) {
    auto print = OpenPrint(document::PageKind::Resumen);
    print->ExportRtf();
    ASSERT_FALSE(notifier_.shown.empty());
    EXPECT_NE(notifier_.LastText().find("Exportar resumen a un archivo RTF"), std::string::npos);
}

} // namespace
} // namespace cel::workspace::test
