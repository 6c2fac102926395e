#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QToolTip>

#include "support/widgets.h"
#include "workspace/dialog_palette.h"
#include "workspace/form_orbes.h"
#include "workspace/form_retorno.h"
#include "workspace/points_dialog.h"
#include "workspace/reports_page.h"
#include "workspace/settings_dialog.h"
#include "workspace_fixture.h"

namespace cel::workspace::test {
namespace {

constexpr const char *kAna = "Ana Lucía Restrepo Gaviria";

class SettingsDialogTest : public WindowFixture {
protected:
    TFormSetUpCEL *OpenDialog() {
        QTest::mouseClick(Find<QToolButton>("SBSetUp"), Qt::LeftButton);
        auto *dialog = static_cast<TFormSetUpCEL *>(window_->findChild<QDialog *>("FormSetUpCEL"));
        EXPECT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_TRUE(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_FALSE(dialog->isModal());
        return dialog;
    }
    template <class T> T *InDialog(TFormSetUpCEL *dialog, const char *name) {
        T *w = dialog->findChild<T *>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // Cells of the aspect table under dispositor control ("d").
    int DispositorMarks() {
        auto *model = Find<QTableView>("SGTabAsp")->model();
        int count = 0;
        for (int r = 1; r < model->rowCount(); ++r)
            for (int c = 1; c < model->columnCount(); ++c)
                count += model->index(r, c).data().toString().endsWith('d');
        return count;
    }
    int PixelsOf(QRgb colour) {
        const QImage picture =
            window_->findChild<QWidget *>("PaintBox")->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int count = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                count += (picture.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
        return count;
    }
    // Whether a tooltip request on the widget shows its tooltip.
    static bool ShowsTooltip(QWidget *widget) {
        EXPECT_FALSE(widget->toolTip().isEmpty()) << widget->objectName().toStdString();
        // Hiding is delayed, so a tip of another text stands before the request.
        QToolTip::showText(widget->mapToGlobal(QPoint(2, 2)), "-");
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), widget->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(widget, &help);
        return QToolTip::isVisible() && QToolTip::text() == widget->toolTip();
    }
};

// Dark pixels of a cell of a grid view's picture.
int DarkPixels(const QImage &picture, const QRect &cell) {
    int count = 0;
    for (int y = cell.top() + 1; y < cell.bottom(); ++y)
        for (int x = cell.left() + 1; x < cell.right(); ++x)
            count += qGray(picture.pixel(x, y)) < 100;
    return count;
}

TEST_F(SettingsDialogTest, DignityPresetsChangeTheDispositorMarksOfTheTable) {
    Open();
    Choose(kAna);
    for (const char *all : {"CBPlaT", "CBCasaT", "CBAngT"})
        QTest::mouseClick(Find<QToolButton>(all), Qt::LeftButton);
    Find<QCheckBox>("CBCalc")->setChecked(true);
    QTest::mouseClick(Find<QPushButton>("SBTabla"), Qt::LeftButton);
    const int modern = DispositorMarks();
    ASSERT_GT(modern, 0);

    TFormSetUpCEL *dialog = OpenDialog();
    QTest::mouseClick(InDialog<QPushButton>(dialog, "SBQuitar"), Qt::LeftButton);
    EXPECT_EQ(DispositorMarks(), 0);
    QTest::mouseClick(InDialog<QPushButton>(dialog, "SBModerna"), Qt::LeftButton);
    EXPECT_EQ(DispositorMarks(), modern);
    EXPECT_EQ(window_->Workspace().settings.dignity, settings::BuiltInMatrix(settings::MatrixPreset::Modern));
    QTest::mouseClick(InDialog<QPushButton>(dialog, "SBModAnt"), Qt::LeftButton);
    EXPECT_EQ(window_->Workspace().settings.dignity.At(5, 8), settings::kDignityRulership); // Mar in Esc "+"

    // Closing the dialog releases the toggle.
    dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(Find<QToolButton>("SBSetUp")->isChecked());
}

TEST_F(SettingsDialogTest, AWheelColourIsDrawnAtOnceAndSettingsAreSavedAtClose) {
    Open();
    Choose(kAna);
    const QColor centre(0x12, 0xEE, 0x34);
    EXPECT_EQ(PixelsOf(centre.rgb()), 0);
    TFormSetUpCEL *dialog = OpenDialog();
    const float radius = window_->Workspace().settings.rueda.porCircleCasas;
    QTest::mouseClick(InDialog<QRadioButton>(dialog, "RBCentro"), Qt::LeftButton);
    dialog->PickWheelColour(centre);
    EXPECT_GT(PixelsOf(centre.rgb()), 100);
    EXPECT_EQ(window_->Workspace().settings.rueda.colEle[5], 0x34EE12);

    // A relation colour, a footer and "negro"; the radius fractions stay as they were.
    QTest::mouseClick(InDialog<QRadioButton>(dialog, "RBRel3"), Qt::LeftButton);
    dialog->PickRelationColour(QColor(10, 20, 30));
    QTest::keyClicks(InDialog<QLineEdit>(dialog, "EFooter"), "Consulta");
    InDialog<QCheckBox>(dialog, "CBNegro")->setChecked(true);
    EXPECT_FALSE(window_->Workspace().settings.rueda.colorPla);
    EXPECT_FLOAT_EQ(window_->Workspace().settings.rueda.porCircleCasas, radius);

    Reopen();
    const settings::Settings &s = window_->Workspace().settings;
    EXPECT_EQ(s.rueda.colEle[5], 0x34EE12);
    EXPECT_EQ(s.tabla.colRel[3], 30 * 65536 + 20 * 256 + 10);
    EXPECT_EQ(s.main.footer, "Consulta");
    EXPECT_FALSE(s.rueda.colorPla);
}

// The matrix shows glyphs (points along the top, signs down the side, a mark in each ruled cell), the
// current cell on yellow; selecting a cell sets the selectors and a selector writes the matrix.
TEST_F(SettingsDialogTest, TheDignityMatrixShowsGlyphsAndTheCurrentCellOnYellow) {
    Open();
    TFormSetUpCEL *dialog = OpenDialog();
    InDialog<QTabWidget>(dialog, "PCSetUp")->setCurrentIndex(2);
    auto *matrix = InDialog<QTableView>(dialog, "SGDignidades");
    QAbstractItemModel *model = matrix->model();
    ASSERT_EQ(model->rowCount(), 13);
    ASSERT_EQ(model->columnCount(), 13);
    EXPECT_EQ(model->index(0, 1).data().toString(), "Sol");
    EXPECT_EQ(model->index(12, 0).data().toString(), "Pis");
    const settings::DignityMatrix &md = window_->Workspace().settings.dignity;
    int markedSign = 0, markedBody = 0, blankSign = 0, blankBody = 0;
    for (int sign = 1; sign <= 12; ++sign)
        for (int body = 1; body <= 12; ++body)
            if (md.At(body, sign) > 0) {
                markedSign = sign;
                markedBody = body;
            } else {
                blankSign = sign;
                blankBody = body;
            }
    ASSERT_GT(markedSign, 0);
    ASSERT_GT(blankSign, 0);

    const QModelIndex marked = model->index(markedSign, markedBody);
    QTest::mouseClick(matrix->viewport(), Qt::LeftButton, {}, matrix->visualRect(marked).center());
    EXPECT_EQ(InDialog<QComboBox>(dialog, "CBDigPunto")->currentIndex(), markedBody - 1);
    EXPECT_EQ(InDialog<QComboBox>(dialog, "CBDigSigno")->currentIndex(), markedSign - 1);
    EXPECT_EQ(InDialog<QComboBox>(dialog, "CBDigMarca")->currentIndex(), md.At(markedBody, markedSign));

    const QImage picture = matrix->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const auto scaled = [&](const QModelIndex &index) {
        const qreal ratio = picture.devicePixelRatio();
        const QRect r = matrix->visualRect(index);
        return QRect(qRound(r.x() * ratio), qRound(r.y() * ratio), qRound(r.width() * ratio),
                     qRound(r.height() * ratio));
    };
    const QRect markedCell = scaled(marked), blankCell = scaled(model->index(blankSign, blankBody));
    EXPECT_EQ(QColor(picture.pixel(markedCell.topLeft() + QPoint(2, 2))), QColor(255, 255, 0));
    EXPECT_EQ(QColor(picture.pixel(blankCell.topLeft() + QPoint(2, 2))), QColor(Qt::white));
    EXPECT_GT(DarkPixels(picture, markedCell), 3);
    EXPECT_EQ(DarkPixels(picture, blankCell), 0);
    for (const QModelIndex &heading : {model->index(0, 1), model->index(0, 12), model->index(1, 0)})
        EXPECT_GT(DarkPixels(picture, scaled(heading)), 8) << heading.row() << "," << heading.column();

    // The mark selector stores the chosen mark for the selected point and sign.
    auto *mark = InDialog<QComboBox>(dialog, "CBDigMarca");
    const int other = md.At(markedBody, markedSign) == 4 ? 3 : 4;
    testsupport::ChooseText(mark, other == 4 ? "--" : "++");
    emit mark->activated(mark->currentIndex());
    EXPECT_EQ(md.At(markedBody, markedSign), other);
    EXPECT_EQ(model->index(markedSign, markedBody).data().toString(), other == 4 ? "--" : "++");
}

// The font comes from the font dialog; a stored font that is not installed keeps its name through
// other changes.
TEST_F(SettingsDialogTest, TheWheelFontIsChosenInTheFontDialogAndAMissingFontKeepsItsName) {
    Open();
    settings::Settings &s = window_->Workspace().settings;
    s.rueda.font = "Letra Que No Existe";
    TFormSetUpCEL *dialog = OpenDialog();
    EXPECT_EQ(dialog->findChild<QFontComboBox *>(), nullptr);
    auto *button = InDialog<QPushButton>(dialog, "SBFont");
    EXPECT_EQ(button->text(), "Letra Que No Existe, 8");
    InDialog<QCheckBox>(dialog, "CBGrados")->toggle();
    InDialog<QSpinBox>(dialog, "SETamano")->setValue(11);
    EXPECT_EQ(s.rueda.font, "Letra Que No Existe");
    EXPECT_EQ(s.rueda.fontSize, 11);
    EXPECT_EQ(button->text(), "Letra Que No Existe, 11");

    const struct {
        QFont font;
        std::string family;
        int size;
    } cases[] = {{QFont("DejaVu Serif", 12), "DejaVu Serif", 12},
                 {QFont(QString(60, 'F'), 30), std::string(50, 'F'), settings::kMaxFontSize},
                 {QFont("DejaVu Sans", 2), "DejaVu Sans", settings::kMinFontSize}};
    for (const auto &c : cases) {
        dialog->PickFont(c.font);
        EXPECT_EQ(s.rueda.font, c.family);
        EXPECT_EQ(s.rueda.fontSize, c.size);
        EXPECT_EQ(button->text().toStdString(), c.family + ", " + std::to_string(c.size));
    }
}

// The colour scheme and "Hint" reach the main window and every dialog open from it, and those opened
// later.
TEST_F(SettingsDialogTest, TheColourSchemeAndHintReachEveryDialog) {
    Open();
    Choose(kAna);
    QTest::mouseClick(Find<QPushButton>("SBReportes"), Qt::LeftButton);
    Find<QTabWidget>("PCReportes")->setCurrentIndex(2);
    QTest::mouseClick(Find<QPushButton>("SBPuntos"), Qt::LeftButton);
    TFormPto *points =
        static_cast<ReportsPage *>(window_->findChild<QWidget *>("PageReportes"))->PointsDialog();
    ASSERT_NE(points, nullptr);
    TFormSetUpCEL *dialog = OpenDialog();
    auto *suite = InDialog<QComboBox>(dialog, "CBColorSuite");
    const settings::Settings &s = window_->Workspace().settings;

    const struct {
        const char *text;
        int scheme;
        QColor window;
    } schemes[] = {{"3", 3, SchemePalette(3).color(QPalette::Window)},
                   {"1", 1, SchemePalette(1).color(QPalette::Window)},
                   {"Windows", 8, QApplication::palette().color(QPalette::Window)}};
    for (const auto &c : schemes) {
        testsupport::ChooseText(suite, c.text);
        EXPECT_EQ(s.main.color, c.scheme);
        TFormOrbes orbs(window_->Workspace().settings.orbs, window_.get());
        TFormRetorno retorno(window_->Workspace(), 2020, window_.get());
        for (QWidget *w : std::initializer_list<QWidget *>{window_.get(), dialog, points, &orbs, &retorno})
            EXPECT_EQ(w->palette().color(QPalette::Window), c.window)
                << c.scheme << " " << w->objectName().toStdString();
    }
    EXPECT_NE(SchemePalette(3).color(QPalette::Window), QApplication::palette().color(QPalette::Window));

    QWidget *tipped[] = {Find<QToolButton>("SBAbrir"), InDialog<QPushButton>(dialog, "SBQuitar"),
                         points->findChild<QToolButton *>("SBPlaT")};
    for (QWidget *w : tipped)
        EXPECT_TRUE(ShowsTooltip(w)) << w->objectName().toStdString();
    InDialog<QCheckBox>(dialog, "CBHint")->setChecked(false);
    EXPECT_FALSE(s.main.hint);
    for (QWidget *w : tipped)
        EXPECT_FALSE(ShowsTooltip(w)) << w->objectName().toStdString();
    TFormOrbes later(window_->Workspace().settings.orbs, window_.get());
    EXPECT_FALSE(HintsShown(&later));
    InDialog<QCheckBox>(dialog, "CBHint")->setChecked(true);
    EXPECT_TRUE(ShowsTooltip(tipped[2]));
}

// The main window's "Colores" button and the dialog's "Colores" box follow each other.
TEST_F(SettingsDialogTest, TheColoursButtonAndTheColoursBoxFollowEachOther) {
    Open();
    Choose(kAna);
    TFormSetUpCEL *dialog = OpenDialog();
    auto *button = Find<QToolButton>("SBColores");
    auto *box = InDialog<QCheckBox>(dialog, "CBColores");
    auto *panel = InDialog<QRadioButton>(dialog, "RBCentro");
    ASSERT_TRUE(button->isChecked());
    ASSERT_TRUE(box->isChecked());
    EXPECT_TRUE(panel->isVisibleTo(dialog));
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(panel->isVisibleTo(dialog));
    EXPECT_FALSE(window_->Workspace().settings.rueda.color);
    box->click();
    EXPECT_TRUE(button->isChecked());
    EXPECT_TRUE(panel->isVisibleTo(dialog));
    EXPECT_TRUE(window_->Workspace().settings.rueda.color);
    box->setChecked(false);
    EXPECT_FALSE(button->isChecked());
}

} // namespace
} // namespace cel::workspace::test
