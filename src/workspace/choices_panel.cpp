#include "workspace/choices_panel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "workspace/form_orbes.h"
#include "workspace/view_input.h"

namespace cel::workspace {

namespace {

QToolButton *Small(const char *name, const char *text, const char *tip) {
    auto *b = new QToolButton;
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(tip);
    return b;
}

} // namespace

ChoicesPanel::ChoicesPanel(session::Session &session, QWidget *parent) : SessionPanel(session, parent) {
    auto *column = new QVBoxLayout(this);
    column->addWidget(BuildAspectSelection());
    auto *tabs = new QTabWidget;
    tabs->setObjectName("PCOpciones");
    tabs->addTab(BuildWheelOptions(), "Rueda ");
    tabs->addTab(BuildOrbPage(), " Orbes ");
    column->addWidget(tabs);
    column->addStretch();
}

QWidget *ChoicesPanel::BuildAspectSelection() {
    auto *box = new QGroupBox("Aspectos:");
    auto *column = new QVBoxLayout(box);
    auto *modeRow = new QHBoxLayout;
    rbManual_ = new QRadioButton("Manual");
    rbManual_->setObjectName("RBManual");
    rbPorCasas_ = new QRadioButton("Por casas");
    rbPorCasas_->setObjectName("RBPorCasas");
    rbManual_->setChecked(true);
    modeRow->addWidget(rbManual_);
    modeRow->addWidget(rbPorCasas_);
    column->addLayout(modeRow);

    familiesBox_ = new QWidget;
    auto *families = new QGridLayout(familiesBox_);
    families->setContentsMargins(0, 0, 0, 0);
    const char *familyNames[] = {"P/P", "P/C", "C/P", "C/C"};
    const char *familyObjects[] = {"CBPP", "CBPC", "CBCP", "CBCC"};
    for (int f = 0; f < 4; ++f) {
        auto *c = new QCheckBox(familyNames[f]);
        c->setObjectName(familyObjects[f]);
        c->setChecked(f == 0);
        cbFamilies_[static_cast<std::size_t>(f)] = c;
        families->addWidget(c, 0, f);
        OnInput(c, &QCheckBox::toggled,
                [this, f](bool on) { session_.SetFamily(static_cast<settings::AspectFamily>(f), on); });
    }
    column->addWidget(familiesBox_);
    sourcesBox_ = new QWidget;
    auto *sources = new QHBoxLayout(sourcesBox_);
    sources->setContentsMargins(0, 0, 0, 0);
    const char *sourceNames[] = {"R", "C", "O"};
    const char *sourceObjects[] = {"CBRegente", "CBCuspide", "CBOcupantes"};
    const char *sourceTips[] = {"Regente", "Cúspide", "Ocupantes"};
    for (int s = 0; s < 3; ++s) {
        auto *c = new QCheckBox(sourceNames[s]);
        c->setObjectName(sourceObjects[s]);
        c->setToolTip(sourceTips[s]);
        c->setChecked(true);
        cbSources_[static_cast<std::size_t>(s)] = c;
        sources->addWidget(c);
        OnInput(c, &QCheckBox::toggled,
                [this, s](bool on) { session_.SetSource(static_cast<settings::AutoSource>(s), on); });
    }
    sourcesBox_->hide();
    column->addWidget(sourcesBox_);

    // Points, cusps and angles, each with "T" (all) and "N" (none); the angles also "P".
    auto group = [](const char *title, const char *prefix, int count, auto captionOf, auto &boxes,
                    QToolButton *&all, QToolButton *&none) {
        auto *g = new QGroupBox(title);
        auto *grid = new QGridLayout(g);
        grid->setSpacing(2);
        for (int i = 1; i <= count; ++i) {
            auto *c = new QCheckBox(captionOf(i));
            c->setObjectName(QString("%1%2").arg(prefix).arg(i));
            boxes[static_cast<std::size_t>(i)] = c;
            grid->addWidget(c, (i - 1) / 4, (i - 1) % 4);
        }
        all = Small((std::string(prefix) + "T").c_str(), "T", "Todos");
        none = Small((std::string(prefix) + "N").c_str(), "N", "Ninguno");
        // Four boxes a row and the buttons in a fifth column: the panel stays short enough for a
        // 768-pixel screen to show "Simple"/"Doble" below it without scrolling.
        grid->addWidget(all, 0, 4);
        grid->addWidget(none, 1, 4);
        return std::pair{g, grid};
    };
    QToolButton *pointAll = nullptr, *pointNone = nullptr, *angleAll = nullptr, *angleNone = nullptr;
    auto [points, pointGrid] = group(
        "Planetas", "CBPla", 12,
        [](int i) { return QString::fromUtf8(chart::kBodyNames[static_cast<std::size_t>(i)]); }, cbPoints_,
        pointAll, pointNone);
    pointsBox_ = points;
    auto [cusps, cuspGrid] = group(
        "Casas", "CBCasa", 12, [](int i) { return QString::number(i); }, cbCusps_, sbCuspT_, sbCuspN_);
    auto [angles, angleGrid] = group(
        "Ángulos", "CBAng", 13, [](int i) { return QString("%1°").arg((i - 1) * 15); }, cbAngles_, angleAll,
        angleNone);
    auto *principal = Small("CBAngP", "P", "Aspectos principales (mayores)");
    angleGrid->addWidget(principal, 2, 4);
    (void)pointGrid;
    (void)cuspGrid;
    column->addWidget(points);
    column->addWidget(cusps);
    column->addWidget(angles);

    for (int i = 1; i <= kBodyCount; ++i) {
        OnInput(cbPoints_[static_cast<std::size_t>(i)], &QCheckBox::toggled,
                [this, i](bool on) { session_.SetPoint(i, on); });
        OnInput(cbCusps_[static_cast<std::size_t>(i)], &QCheckBox::toggled,
                [this, i](bool on) { session_.SetCusp(i, on); });
    }
    for (int k = 1; k <= settings::kAspectKindCount; ++k)
        OnInput(cbAngles_[static_cast<std::size_t>(k)], &QCheckBox::toggled,
                [this, k](bool on) { session_.SetAngle(k, on); });
    connect(pointAll, &QToolButton::clicked, this, [this] { session_.SetAllPoints(true); });
    connect(pointNone, &QToolButton::clicked, this, [this] { session_.SetAllPoints(false); });
    connect(sbCuspT_, &QToolButton::clicked, this, [this] { session_.SetAllCusps(true); });
    connect(sbCuspN_, &QToolButton::clicked, this, [this] { session_.SetAllCusps(false); });
    connect(angleAll, &QToolButton::clicked, this, [this] { session_.SetAllAngles(true); });
    connect(angleNone, &QToolButton::clicked, this, [this] { session_.SetAllAngles(false); });
    connect(principal, &QToolButton::clicked, this, [this] { session_.SelectMainAngles(); });

    auto *options = new QHBoxLayout;
    options->addWidget(new QLabel("Fuerza (%):"));
    seFuerza_ = new QSpinBox;
    seFuerza_->setObjectName("SEFuerza");
    seFuerza_->setRange(0, 100);
    seFuerza_->setSingleStep(5);
    seFuerza_->setToolTip("Filtrar aspectos por fuerza (partiles)");
    seFuerza_->setKeyboardTracking(false);
    options->addWidget(seFuerza_);
    cbGlifo_ = new QCheckBox("glifo");
    cbGlifo_->setObjectName("CBGlifo");
    cbCalc_ = new QCheckBox("calc");
    cbCalc_->setObjectName("CBCalc");
    cbDisp_ = new QCheckBox("disp.");
    cbDisp_->setObjectName("CBDisp");
    for (QCheckBox *c : {cbGlifo_, cbCalc_, cbDisp_})
        options->addWidget(c);
    OnInput(cbGlifo_, &QCheckBox::toggled, [this](bool on) { session_.SetGlyph(on); });
    OnInput(cbCalc_, &QCheckBox::toggled, [this](bool on) { session_.SetComputeDispositors(on); });
    OnInput(cbDisp_, &QCheckBox::toggled, [this](bool on) { session_.SetDispositorFilter(on); });
    OnInput(seFuerza_, &QSpinBox::valueChanged, [this](int v) { session_.SetStrength(v); });
    column->addLayout(options);

    OnInput(rbPorCasas_, &QRadioButton::toggled, [this](bool on) {
        session_.SetAspectMode(on ? settings::AspectMode::ByHouse : settings::AspectMode::Manual);
    });
    return box;
}

// ---- Orbs.

QWidget *ChoicesPanel::BuildOrbPage() {
    auto *page = new QWidget;
    auto *grid = new QGridLayout(page);
    auto *group = new QButtonGroup(page);
    for (int m = 1; m <= 10; ++m) {
        auto *rb = new QRadioButton;
        rb->setObjectName(m <= 8   ? QString("RBOrbe%1").arg(m)
                          : m == 9 ? QString("RBMEcl")
                                   : QString("RBMAsc"));
        rbOrbs_[static_cast<std::size_t>(m)] = rb;
        group->addButton(rb, m);
        grid->addWidget(rb, m <= 8 ? (m - 1) / 2 : 4, m <= 8 ? (m - 1) % 2 : m - 9);
    }
    rbOrbs_[9]->setText("M. Ecl.");
    rbOrbs_[10]->setText("M. Asc.");
    auto *edit = new QToolButton;
    edit->setObjectName("SBEditarOrbe");
    edit->setText("Editar");
    grid->addWidget(edit, 5, 0);
    OnInput(group, &QButtonGroup::idToggled, [this](int id, bool on) {
        if (on)
            session_.SetOrbMode(id);
    });
    connect(edit, &QToolButton::clicked, this, [this] { EditOrb(); });
    return page;
}

void ChoicesPanel::EditOrb() {
    const int mode = session_.OrbMode();
    if (mode >= analysis::kOrbModeEcliptic) {
        TFormOrbes dialog(session_.ws.settings.orbs, this);
        session_.OrbMatrixEdited(dialog.exec() == QDialog::Accepted);
        return;
    }
    TFormOrbe dialog(session_.ws.settings.orbs.presets[static_cast<std::size_t>(mode)], this);
    if (dialog.exec() == QDialog::Accepted)
        session_.SetOrbPreset(mode, dialog.Orb());
}

// ---- Wheel options.

QWidget *ChoicesPanel::BuildWheelOptions() {
    auto *page = new QWidget;
    auto *grid = new QGridLayout(page);
    rbSimple_ = new QRadioButton("Simple");
    rbSimple_->setObjectName("RBSimple");
    rbDoble_ = new QRadioButton("Doble");
    rbDoble_->setObjectName("RBDoble");
    rbSimple_->setChecked(true);
    grid->addWidget(rbSimple_, 0, 0);
    grid->addWidget(rbDoble_, 0, 1);
    cbInt_ = new QComboBox;
    cbInt_->setObjectName("CBItemInt");
    cbExt_ = new QComboBox;
    cbExt_->setObjectName("CBItemExt");
    for (int i = 1; i <= 9; ++i) {
        cbInt_->addItem(QString::fromUtf8(chart::kItemNames[static_cast<std::size_t>(i)]));
        cbExt_->addItem(QString::fromUtf8(chart::kItemNames[static_cast<std::size_t>(i)]));
    }
    cbInt_->setCurrentIndex(chart::kNatalEcliptic - 1);
    cbExt_->setCurrentIndex(chart::kEventEcliptic - 1);
    grid->addWidget(new QLabel("Int:"), 1, 0);
    grid->addWidget(cbInt_, 1, 1);
    doubleOptions_ = new QWidget;
    auto *doubleGrid = new QGridLayout(doubleOptions_);
    doubleGrid->setContentsMargins(0, 0, 0, 0);
    doubleGrid->addWidget(new QLabel("Ext:"), 0, 0);
    doubleGrid->addWidget(cbExt_, 0, 1);
    sbSwap_ = new QToolButton;
    sbSwap_->setObjectName("SBCambiar");
    sbSwap_->setText("⇅");
    sbSwap_->setToolTip("Intercambiar Int: y Ext:");
    doubleGrid->addWidget(sbSwap_, 0, 2);
    cb1Casas_ = new QCheckBox("1 Casas");
    cb1Casas_->setObjectName("CB1Casas");
    cb1Rueda_ = new QCheckBox("1 Rueda");
    cb1Rueda_->setObjectName("CB1Rueda");
    doubleGrid->addWidget(cb1Casas_, 1, 0);
    doubleGrid->addWidget(cb1Rueda_, 1, 1);
    doubleGrid->addWidget(new QLabel("Igualar por:"), 2, 0);
    cbIgualar_ = new QComboBox;
    cbIgualar_->setObjectName("CBIgualar");
    cbIgualar_->addItems({"Signos", "Ascend."});
    cbIgualar_->setCurrentIndex(1);
    doubleGrid->addWidget(cbIgualar_, 2, 1);
    doubleOptions_->hide();
    grid->addWidget(doubleOptions_, 2, 0, 1, 2);
    cbAjustar_ = new QCheckBox("Ajustar");
    cbAjustar_->setObjectName("CBAjustar");
    cbAjustar_->setChecked(true);
    cbImagenGrande_ = new QCheckBox("Imagen y letra grande");
    cbImagenGrande_->setObjectName("CBImagenGrande");
    grid->addWidget(cbAjustar_, 3, 0);
    grid->addWidget(cbImagenGrande_, 3, 1);

    OnInput(rbDoble_, &QRadioButton::toggled,
            [this](bool on) { session_.SetWheelMode(on ? settings::kDoubleWheel : settings::kSingleWheel); });
    OnInput(cbInt_, &QComboBox::currentIndexChanged, [this](int i) { session_.SetInnerItem(i + 1); });
    OnInput(cbExt_, &QComboBox::currentIndexChanged, [this](int i) { session_.SetOuterItem(i + 1); });
    connect(sbSwap_, &QToolButton::clicked, this, [this] { session_.SwapItems(); });
    OnInput(cb1Casas_, &QCheckBox::toggled, [this](bool on) { session_.SetInnerHouses(on); });
    OnInput(cb1Rueda_, &QCheckBox::toggled, [this](bool on) { session_.SetInnerWheelOnly(on); });
    OnInput(cbIgualar_, &QComboBox::currentIndexChanged,
            [this](int i) { session_.SetEqualiseBySigns(i == 0); });
    connect(cbAjustar_, &QCheckBox::toggled, this, [this](bool on) {
        if (onFit)
            onFit(on);
    });
    OnInput(cbImagenGrande_, &QCheckBox::toggled,
            [this](bool on) { session_.SetLargeImages(page_ == 0, on); });
    return page;
}

void ChoicesPanel::Show(int page) {
    const ShowingScope showing(showing_);
    page_ = page;
    const settings::RecVistaCarta &c = session_.Choices();
    const bool byHouse = c.aspectMode == settings::AspectMode::ByHouse;
    rbManual_->setChecked(!byHouse);
    rbPorCasas_->setChecked(byHouse);
    familiesBox_->setVisible(!byHouse);
    sourcesBox_->setVisible(byHouse);
    pointsBox_->setEnabled(!byHouse);
    pointsBox_->setStyleSheet(byHouse ? "QCheckBox { color: navy; }" : QString());
    sbCuspT_->setEnabled(!byHouse);
    sbCuspN_->setEnabled(!byHouse);
    for (std::size_t f = 0; f < cbFamilies_.size(); ++f)
        cbFamilies_[f]->setChecked(c.aspectFamilies[f]);
    for (std::size_t s = 0; s < cbSources_.size(); ++s)
        cbSources_[s]->setChecked(c.autoSources[s]);
    for (std::size_t n = 1; n < settings::kSelectionSize; ++n) {
        cbPoints_[n]->setChecked(c.pointSelection[n]);
        cbCusps_[n]->setChecked(c.cuspSelection[n]);
    }
    for (std::size_t k = 1; k < settings::kAngleSelectionSize; ++k)
        cbAngles_[k]->setChecked(c.angleSelection[k]);
    seFuerza_->setValue(c.strengthFilter);
    cbGlifo_->setChecked(session_.ws.settings.rueda.glifo);
    cbCalc_->setChecked(c.computeDispositors);
    cbDisp_->setChecked(c.dispositorFilter);
    cbDisp_->setEnabled(session_.DispositorFilterApplies());
    for (int m = 1; m <= settings::kOrbPresetCount; ++m)
        rbOrbs_[static_cast<std::size_t>(m)]->setText(QString::fromStdString(session_.OrbText(m)));
    rbOrbs_[static_cast<std::size_t>(session_.OrbMode())]->setChecked(true);

    const bool doubleWheel = c.wheelMode == settings::kDoubleWheel;
    rbSimple_->setChecked(!doubleWheel);
    rbDoble_->setChecked(doubleWheel);
    doubleOptions_->setVisible(doubleWheel);
    cbInt_->setCurrentIndex(c.innerItem - 1);
    cbExt_->setCurrentIndex(c.outerItem - 1);
    cb1Casas_->setChecked(session_.InnerHousesTicked());
    cb1Rueda_->setChecked(session_.InnerWheelTicked());
    cbIgualar_->setCurrentIndex(c.equaliseBySigns ? 0 : 1);
    const bool large = page == 0 ? session_.ws.settings.rueda.imagenR : session_.ws.settings.rueda.imagenT;
    cbImagenGrande_->setVisible(page != 2);
    cbImagenGrande_->setChecked(large);
}

} // namespace cel::workspace
