// The "Configurar" tool window's contents: the aspect selection (families or "Por casas", points,
// cusps, angles, strength, glyph, dispositors), the orb page with its two dialogs, and the wheel
// options. A view of the session's view choices: every choice is one session operation, and Show
// writes the controls back from the session.
#pragma once

#include <array>
#include <functional>

#include "session/session.h"
#include "workspace/view_input.h"

class QCheckBox;
class QComboBox;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace cel::workspace {

class ChoicesPanel : public SessionPanel {
public:
    explicit ChoicesPanel(session::Session &session, QWidget *parent = nullptr);

    // Writes the controls from the session's choices; page is the main window's page shown (0 the
    // wheel, 1 the table, 2 the reports): "Imagen y letra grande" is the wheel's or the table's.
    void Show(int page);

    // "Ajustar": the wheel fits its box.
    std::function<void(bool)> onFit;

private:
    QWidget *BuildAspectSelection();
    QWidget *BuildOrbPage();
    QWidget *BuildWheelOptions();
    void EditOrb();

    int page_ = 0;

    QRadioButton *rbManual_ = nullptr, *rbPorCasas_ = nullptr;
    QWidget *familiesBox_ = nullptr, *sourcesBox_ = nullptr, *pointsBox_ = nullptr;
    std::array<QCheckBox *, settings::kAspectFamilyCount> cbFamilies_{};
    std::array<QCheckBox *, settings::kAutoSourceCount> cbSources_{};
    std::array<QCheckBox *, settings::kSelectionSize> cbPoints_{}, cbCusps_{};
    std::array<QCheckBox *, settings::kAngleSelectionSize> cbAngles_{};
    QToolButton *sbCuspT_ = nullptr, *sbCuspN_ = nullptr;
    QSpinBox *seFuerza_ = nullptr;
    QCheckBox *cbGlifo_ = nullptr, *cbCalc_ = nullptr, *cbDisp_ = nullptr;
    std::array<QRadioButton *, 11> rbOrbs_{}; // 1..8 presets, 9 "M. Ecl.", 10 "M. Asc."
    QRadioButton *rbSimple_ = nullptr, *rbDoble_ = nullptr;
    QComboBox *cbInt_ = nullptr, *cbExt_ = nullptr;
    QToolButton *sbSwap_ = nullptr;
    QWidget *doubleOptions_ = nullptr;
    QCheckBox *cbAjustar_ = nullptr, *cb1Casas_ = nullptr, *cb1Rueda_ = nullptr;
    QComboBox *cbIgualar_ = nullptr;
    QCheckBox *cbImagenGrande_ = nullptr;
};

} // namespace cel::workspace
