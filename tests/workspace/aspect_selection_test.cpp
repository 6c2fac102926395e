// The "Configurar" tool window: "Por casas" and the two orb dialogs.
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>

#include <array>

#include "settings/orb_tables.h"
#include "workspace/form_orbes.h"
#include "workspace_fixture.h"

namespace cel::workspace::test {
namespace {

TEST_F(WindowFixture, ByHouseTicksTheOccupantsOfOneHouse) {
    TFormMain &w = Open();
    Choose("Ana Lucía Restrepo Gaviria");
    Find<QCheckBox>("CBPla3")->click(); // a manual choice of points and cusps to come back to
    Find<QCheckBox>("CBCasa2")->click();
    std::array<bool, 13> manualPoints{}, manualCusps{};
    for (int n = 1; n <= 12; ++n) {
        manualPoints[static_cast<std::size_t>(n)] =
            Find<QCheckBox>(("CBPla" + std::to_string(n)).c_str())->isChecked();
        manualCusps[static_cast<std::size_t>(n)] =
            Find<QCheckBox>(("CBCasa" + std::to_string(n)).c_str())->isChecked();
    }
    ASSERT_TRUE(manualPoints[2]);
    Find<QRadioButton>("RBPorCasas")->click();
    for (int n = 1; n <= 12; ++n) // "Por casas" starts with nothing ticked
        EXPECT_FALSE(Find<QCheckBox>(("CBPla" + std::to_string(n)).c_str())->isChecked());
    EXPECT_FALSE(Find<QToolButton>("CBCasaT")->isEnabled());
    Find<QCheckBox>("CBRegente")->click(); // "O" alone
    Find<QCheckBox>("CBCuspide")->click();
    Find<QCheckBox>("CBCasa3")->click();
    const std::uint64_t before = Refreshes();
    Find<QCheckBox>("CBCasa5")->click(); // unticks every other cusp, in one refresh
    EXPECT_EQ(Refreshes(), before + 1);
    EXPECT_FALSE(Find<QCheckBox>("CBCasa3")->isChecked());
    const chart::RecDataProg &item = w.Workspace().progressions.items[1];
    for (int n = 1; n <= 12; ++n) {
        const bool inHouse5 = item.bodies[static_cast<std::size_t>(n)].house == 5;
        EXPECT_EQ(Find<QCheckBox>(("CBPla" + std::to_string(n)).c_str())->isChecked(), inHouse5) << n;
    }
    EXPECT_EQ(w.Workspace().currentHouse, 5);
    Find<QRadioButton>("RBManual")->click(); // back: the manual ticks as they were
    for (int n = 1; n <= 12; ++n) {
        EXPECT_EQ(Find<QCheckBox>(("CBPla" + std::to_string(n)).c_str())->isChecked(),
                  manualPoints[static_cast<std::size_t>(n)])
            << n;
        EXPECT_EQ(Find<QCheckBox>(("CBCasa" + std::to_string(n)).c_str())->isChecked(),
                  manualCusps[static_cast<std::size_t>(n)])
            << n;
    }
    EXPECT_EQ(w.Workspace().view.pointSelection[2], manualPoints[2]); // and the wheel uses them
}

TEST_F(WindowFixture, OrbPresetEditedToZeroIsStoredAsAMillionth) {
    TFormMain &w = Open();
    Find<QRadioButton>("RBOrbe3")->click();
    EXPECT_EQ(w.Workspace().orbMode, 3);
    QTimer::singleShot(0, &w, [] {
        auto *dialog = dynamic_cast<TFormOrbe *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        for (const char *field : {"SEGrados", "SEMinutos", "SESegundos"})
            dialog->findChild<QSpinBox *>(field)->setValue(0);
        dialog->findChild<QPushButton *>("BAceptar")->click();
    });
    const std::uint64_t before = Recomputes();
    Find<QToolButton>("SBEditarOrbe")->click();
    EXPECT_EQ(Recomputes(), before + 1);
    EXPECT_EQ(w.Workspace().settings.orbs.presets[3], settings::kZeroPresetOrb);
    EXPECT_TRUE(Find<QRadioButton>("RBOrbe3")->text().startsWith("00"));
}

TEST_F(WindowFixture, OrbMatrixKeepsItsEditsAndRestoresTheBuiltInOnes) {
    TFormMain &w = Open();
    settings::OrbTables &orbs = w.Workspace().settings.orbs;
    {
        TFormOrbes dialog(orbs, &w);
        dialog.findChild<QDoubleSpinBox *>("EOrbe_7_1")->setValue(5.5);
        dialog.findChild<QPushButton *>("BCancelar")->click(); // any close stores the edits
    }
    EXPECT_FLOAT_EQ(orbs.OPE[7], 5.5f);
    {
        TFormOrbes dialog(orbs, &w);
        dialog.findChild<QPushButton *>("BOriginal")->click();
        EXPECT_EQ(orbs.OPE, settings::BuiltInOrbTables().OPE);
        EXPECT_DOUBLE_EQ(dialog.findChild<QDoubleSpinBox *>("EOrbe_7_1")->value(),
                         settings::BuiltInOrbTables().OPE[7]);
    }
    Find<QRadioButton>("RBMEcl")->click();
    QTimer::singleShot(0, &w, [] {
        auto *dialog = dynamic_cast<TFormOrbes *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QDoubleSpinBox *>("EOrbe_1_3")->setValue(2.25);
        dialog->findChild<QPushButton *>("BAceptar")->click();
    });
    const std::uint64_t before = Recomputes();
    Find<QToolButton>("SBEditarOrbe")->click();
    EXPECT_EQ(Recomputes(), before + 1);
    EXPECT_FLOAT_EQ(orbs.OPA[1], 2.25f);
    EXPECT_FLOAT_EQ(w.Workspace().context.options.tolerances.ascensional, 2.25f);
}

} // namespace
} // namespace cel::workspace::test
