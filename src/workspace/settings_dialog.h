// The settings dialog "Configurar": wheel options, wheel colours and font, the relation colours of the
// aspect table, the dignity matrix and its presets, the group names of the diagrams and the program
// options. Modeless and on top; every change goes into the settings object at once and the main
// window applies it (nothing is written to the settings file here).
#pragma once

#include <QDialog>

#include <array>
#include <functional>

#include "common/notifier.h"
#include "settings/settings.h"
#include "workspace/grid_models.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QSpinBox;
class QTableView;
class QWidget;

namespace cel::workspace {

class TFormSetUpCEL : public QDialog {
public:
    // `apply`: the main window applies colours and refreshes the view; `refresh`: a view refresh alone
    // (after a dignity change).
    // `notifier` says what could not be done (no display settings program found).
    TFormSetUpCEL(Notifier &notifier, settings::Settings &settings, std::function<void()> apply,
                  std::function<void()> refresh, QWidget *parent = nullptr);

    // Wheel colour targets of the " Rueda " page.
    enum Target {
        kElementos,
        kPlanetas,
        kCentro,
        kAreaCasas,
        kCasasInt,
        kCasasExt,
        kLineas,
        kTexto,
        kSignos
    };
    // Stores a picked colour for the chosen wheel target (and entry of its list), or for the chosen
    // relation, and applies it: what the colour picker does once the user has chosen.
    void PickWheelColour(const QColor &colour);
    void PickRelationColour(const QColor &colour);
    // Stores the family (cut to the stored length) and the size of a font chosen in the font dialog.
    void PickFont(const QFont &font);
    // The main window's "Colores" button pressed while the dialog is open: the box follows without
    // applying, and the colour panels show or hide.
    void ShowColours(bool on);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *BuildWheelPage();
    QWidget *BuildRelationPage();
    QWidget *BuildDignityPage();
    QWidget *BuildTextsPage();
    QWidget *BuildProgramPage();
    void Load();
    void OpenDisplaySettings();
    void Apply();
    void ChooseTarget(int target);
    void ChooseRelation(int relation);
    void FillMatrix();
    void MatrixSelectorChanged();
    void TextsChanged();
    void RepaintLists();
    void ShowFont();
    void PaintMatrixCell(graphics::Canvas &canvas, const QRect &rect, int column, int row);

    Notifier &notifier_;
    settings::Settings &s_;
    std::function<void()> apply_, refresh_;
    bool activated_ = false;
    bool loading_ = false;
    int target_ = kElementos;
    int relation_ = 1;
    float openedRadii_[3] = {0, 0, 0};

    // " Rueda "
    QCheckBox *cbSignos_, *cbGrados_, *cbPlanetas_, *cbPlaSigno_, *cbPlaTexto_, *cbPlaSeg_, *cbRetro_;
    QCheckBox *cbCasas_, *cbCasSigno_, *cbCasTexto_, *cbCasSeg_, *cbCasLin_, *cbColores_, *cbNegro_,
        *cbColorEle_;
    QPushButton *sbFont_;
    QSpinBox *seSize_;
    std::array<QSpinBox *, 3> seRadii_{};
    std::array<QRadioButton *, 9> rbTargets_{};
    QListWidget *lbElementos_, *lbPlanetas_;
    QWidget *colourPanel_;
    QLabel *wheelSwatch_;
    // relations
    std::array<QRadioButton *, 7> rbRelations_{};
    std::array<QCheckBox *, 7> cbRelations_{};
    QLabel *relationPreview_;
    // dignities
    GridModel *matrixModel_;
    PainterDelegate *matrixDelegate_;
    QTableView *matrix_;
    QComboBox *cbDigPoint_, *cbDigSign_, *cbDigMark_;
    // texts
    std::array<QLineEdit *, 14> names_{};
    // program
    QLineEdit *footer_;
    QCheckBox *cbHint_;
    QComboBox *cbScheme_;
};

} // namespace cel::workspace
