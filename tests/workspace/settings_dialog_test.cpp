#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QToolButton>

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
};

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

} // namespace
} // namespace cel::workspace::test
