// The "Configurar" tool window of the main window: aspect selection (families or "Por casas", points,
// cusps, angles, strength, glyph, dispositors), the orb page with its two dialogs, and the wheel
// options. Every choice ends in one view refresh.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "analysis/aspects.h"
#include "astronomy/angle_text.h"
#include "chart/progressions.h"
#include "manager/date_field.h"
#include "workspace/form_main.h"
#include "workspace/form_orbes.h"
#include "workspace/form_retorno.h"
#include "workspace/side_scroll.h"
#include "workspace/wheel_view.h"
#include <QStackedWidget>

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

void TFormMain::BuildConfigDock() {
    twConfig_ = new QDockWidget("Configurar", this);
    twConfig_->setObjectName("TWConfig");
    auto *panel = new QWidget;
    auto *column = new QVBoxLayout(panel);
    column->addWidget(BuildAspectSelection());
    auto *tabs = new QTabWidget;
    tabs->setObjectName("PCOpciones");
    tabs->addTab(BuildWheelOptions(), "Rueda ");
    tabs->addTab(BuildOrbPage(), " Orbes ");
    column->addWidget(tabs);
    column->addStretch();
    auto *scroll = new SideScroll(panel);
    scroll->setObjectName("ScrollConfig");
    twConfig_->setWidget(scroll);
    addDockWidget(Qt::RightDockWidgetArea, twConfig_);
}

QWidget *TFormMain::BuildAspectSelection() {
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
        connect(c, &QCheckBox::toggled, this, [this] { RefreshView(); });
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
        connect(c, &QCheckBox::toggled, this, [this] { RefreshView(); });
    }
    sourcesBox_->hide();
    column->addWidget(sourcesBox_);

    // Points, cusps and angles, each with "T" (all) and "N" (none); the angles also "P".
    auto group = [this](const char *title, const char *prefix, int count, auto captionOf,
                        std::array<QCheckBox *, 14> &boxes, auto &ticks, QToolButton *&all,
                        QToolButton *&none) {
        auto *g = new QGroupBox(title);
        auto *grid = new QGridLayout(g);
        grid->setSpacing(2);
        for (int i = 1; i <= count; ++i) {
            auto *c = new QCheckBox(captionOf(i));
            c->setObjectName(QString("%1%2").arg(prefix).arg(i));
            c->setChecked(ticks[static_cast<std::size_t>(i)]);
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
        pointTicks_, pointAll, pointNone);
    pointsBox_ = points;
    auto [cusps, cuspGrid] = group(
        "Casas", "CBCasa", 12, [](int i) { return QString::number(i); }, cbCusps_, cuspTicks_, sbCuspT_,
        sbCuspN_);
    auto [angles, angleGrid] = group(
        "Ángulos", "CBAng", 13, [](int i) { return QString("%1°").arg((i - 1) * 15); }, cbAngles_,
        angleTicks_, angleAll, angleNone);
    auto *principal = Small("CBAngP", "P", "Aspectos principales (mayores)");
    angleGrid->addWidget(principal, 2, 4);
    (void)pointGrid;
    (void)cuspGrid;
    column->addWidget(points);
    column->addWidget(cusps);
    column->addWidget(angles);

    for (int i = 1; i <= 12; ++i) {
        connect(cbPoints_[static_cast<std::size_t>(i)], &QCheckBox::toggled, this, [this, i](bool on) {
            if (updating_)
                return;
            pointTicks_[static_cast<std::size_t>(i)] = on;
            RefreshView();
        });
        connect(cbCusps_[static_cast<std::size_t>(i)], &QCheckBox::toggled, this, [this, i](bool on) {
            if (updating_)
                return;
            cuspTicks_[static_cast<std::size_t>(i)] = on;
            CuspClicked(i);
        });
    }
    for (int k = 1; k <= 13; ++k) {
        connect(cbAngles_[static_cast<std::size_t>(k)], &QCheckBox::toggled, this, [this, k](bool on) {
            if (updating_)
                return;
            angleTicks_[static_cast<std::size_t>(k)] = on;
            RefreshView();
        });
    }
    connect(pointAll, &QToolButton::clicked, this, [this] { SetAll(cbPoints_, 12, true); });
    connect(pointNone, &QToolButton::clicked, this, [this] { SetAll(cbPoints_, 12, false); });
    connect(sbCuspT_, &QToolButton::clicked, this, [this] { SetAll(cbCusps_, 12, true); });
    connect(sbCuspN_, &QToolButton::clicked, this, [this] { SetAll(cbCusps_, 12, false); });
    connect(angleAll, &QToolButton::clicked, this, [this] { SetAll(cbAngles_, 13, true); });
    connect(angleNone, &QToolButton::clicked, this, [this] { SetAll(cbAngles_, 13, false); });
    connect(principal, &QToolButton::clicked, this, [this] { SelectMainAngles(); });

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
    cbGlifo_->setChecked(ws_.settings.rueda.glifo);
    cbCalc_ = new QCheckBox("calc");
    cbCalc_->setObjectName("CBCalc");
    cbDisp_ = new QCheckBox("disp.");
    cbDisp_->setObjectName("CBDisp");
    for (QCheckBox *c : {cbGlifo_, cbCalc_, cbDisp_}) {
        options->addWidget(c);
        connect(c, &QCheckBox::toggled, this, [this] { RefreshView(); });
    }
    connect(seFuerza_, &QSpinBox::valueChanged, this, [this] { RefreshView(); });
    column->addLayout(options);

    connect(rbPorCasas_, &QRadioButton::toggled, this, [this](bool on) { ChangeAspectMode(on); });
    return box;
}

void TFormMain::SetAll(std::array<QCheckBox *, 14> &boxes, int count, bool on) {
    updating_ = true;
    for (int i = 1; i <= count; ++i) {
        const auto n = static_cast<std::size_t>(i);
        boxes[n]->setChecked(on);
        if (&boxes == &cbAngles_)
            angleTicks_[n] = on;
        else if (&boxes == &cbCusps_)
            cuspTicks_[n] = on;
        else
            pointTicks_[n] = on;
    }
    updating_ = false;
    RefreshView();
}

void TFormMain::SelectMainAngles() {
    updating_ = true;
    for (int k = 1; k <= 13; ++k) {
        const bool main = analysis::kAspectKinds[static_cast<std::size_t>(k)].main;
        angleTicks_[static_cast<std::size_t>(k)] = main;
        cbAngles_[static_cast<std::size_t>(k)]->setChecked(main);
    }
    updating_ = false;
    RefreshView();
}

void TFormMain::ChangeAspectMode(bool byHouse) {
    if (updating_)
        return;
    updating_ = true;
    familiesBox_->setVisible(!byHouse);
    sourcesBox_->setVisible(byHouse);
    pointsBox_->setEnabled(!byHouse);
    pointsBox_->setStyleSheet(byHouse ? "QCheckBox { color: navy; }" : QString());
    sbCuspT_->setEnabled(!byHouse);
    sbCuspN_->setEnabled(!byHouse);
    // "Por casas" starts with no cusp and no point ticked; going back to "Manual" brings back the
    // manual ticks as they were, so the wheel shows the same aspects as before.
    if (byHouse) {
        manualCuspTicks_ = cuspTicks_;
        manualPointTicks_ = pointTicks_;
    }
    for (int i = 1; i <= 12; ++i) {
        const auto n = static_cast<std::size_t>(i);
        cuspTicks_[n] = byHouse ? false : manualCuspTicks_[n];
        pointTicks_[n] = byHouse ? false : manualPointTicks_[n];
        cbCusps_[n]->setChecked(cuspTicks_[n]);
        cbPoints_[n]->setChecked(pointTicks_[n]);
    }
    updating_ = false;
    RefreshView();
}

void TFormMain::CuspClicked(int house) {
    if (rbPorCasas_->isChecked() && cuspTicks_[static_cast<std::size_t>(house)]) {
        // At most one house is chosen.
        updating_ = true;
        for (int i = 1; i <= 12; ++i)
            if (i != house) {
                cuspTicks_[static_cast<std::size_t>(i)] = false;
                cbCusps_[static_cast<std::size_t>(i)]->setChecked(false);
            }
        updating_ = false;
    }
    RefreshView();
}

// ---- Orbs.

QWidget *TFormMain::BuildOrbPage() {
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
    rbOrbs_[static_cast<std::size_t>(ws_.orbMode)]->setChecked(true);
    UpdateOrbCaptions();
    auto *edit = new QToolButton;
    edit->setObjectName("SBEditarOrbe");
    edit->setText("Editar");
    grid->addWidget(edit, 5, 0);
    connect(group, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            OrbModeChosen(id);
    });
    connect(edit, &QToolButton::clicked, this, [this] { EditOrb(); });
    return page;
}

void TFormMain::UpdateOrbCaptions() {
    for (int m = 1; m <= 8; ++m)
        rbOrbs_[static_cast<std::size_t>(m)]->setText(QString::fromStdString(astronomy::FormatAngle(
            30, 0, astronomy::AngleSuffix::None, astronomy::AngleLayout::DegreesMinutesSeconds,
            ws_.settings.orbs.presets[static_cast<std::size_t>(m)], ws_.format)));
}

void TFormMain::OrbModeChosen(int mode) {
    ws_.orbMode = mode;
    RefreshView();
}

void TFormMain::EditOrb() {
    const int mode = ws_.orbMode;
    if (mode >= 9) {
        TFormOrbes dialog(ws_.settings.orbs, this);
        const bool accepted = dialog.exec() == QDialog::Accepted;
        // The cusp tolerances are the conjunction orbs: the charts take them at once.
        ws_.ApplySettings();
        if (accepted) {
            ws_.ComputeChart(session::ChartSide::Natal, session::Workspace::EnteredValue(ws_.natalRecord));
            ws_.ComputeChart(session::ChartSide::Event, session::Workspace::EnteredValue(ws_.eventRecord));
            RecomputeAll();
        }
        return;
    }
    TFormOrbe dialog(ws_.settings.orbs.presets[static_cast<std::size_t>(mode)], this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    ws_.settings.orbs.SetPreset(mode, dialog.Orb());
    UpdateOrbCaptions();
    RecomputeAll();
}

// ---- Wheel options.

QWidget *TFormMain::BuildWheelOptions() {
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
    cbImagenGrande_->setChecked(ws_.settings.rueda.imagenR);
    grid->addWidget(cbAjustar_, 3, 0);
    grid->addWidget(cbImagenGrande_, 3, 1);

    connect(rbDoble_, &QRadioButton::toggled, this, [this] {
        if (updating_)
            return;
        WheelModeChanged();
        RefreshView();
    });
    connect(cbInt_, &QComboBox::currentIndexChanged, this, [this] { InnerItemChanged(); });
    connect(cbExt_, &QComboBox::currentIndexChanged, this, [this] { RefreshView(); });
    connect(sbSwap_, &QToolButton::clicked, this, [this] { SwapItems(); });
    for (QCheckBox *c : {cb1Casas_, cb1Rueda_})
        connect(c, &QCheckBox::toggled, this, [this] { RefreshView(); });
    connect(cbIgualar_, &QComboBox::currentIndexChanged, this, [this] { RefreshView(); });
    connect(cbAjustar_, &QCheckBox::toggled, this, [this](bool on) { wheel_->SetFit(on); });
    connect(cbImagenGrande_, &QCheckBox::toggled, this, [this](bool on) {
        if (updating_)
            return;
        if (pages_->currentIndex() == 0)
            ws_.settings.rueda.imagenR = on;
        else
            ws_.settings.rueda.imagenT = on;
        updating_ = true;
        sbImagen_->setChecked(on);
        updating_ = false;
        RefreshView();
    });
    return page;
}

void TFormMain::WheelModeChanged() {
    const bool doubleWheel = rbDoble_->isChecked();
    doubleOptions_->setVisible(doubleWheel);
    cbDisp_->setEnabled(!doubleWheel && cbInt_->currentIndex() + 1 == chart::kNatalEcliptic);
}

void TFormMain::InnerItemChanged() {
    if (updating_)
        return;
    const int inner = cbInt_->currentIndex() + 1;
    cbDisp_->setEnabled(!rbDoble_->isChecked() && inner == chart::kNatalEcliptic);
    if (!rbDoble_->isChecked() && (inner == chart::kNatalEcliptic || inner == chart::kNatalAscensional)) {
        // A single natal wheel shows its own model's orbs.
        const int mode =
            inner == chart::kNatalEcliptic ? analysis::kOrbModeEcliptic : analysis::kOrbModeAscensional;
        updating_ = true;
        rbOrbs_[static_cast<std::size_t>(mode)]->setChecked(true);
        ws_.orbMode = mode;
        updating_ = false;
    }
    RefreshView();
}

void TFormMain::SwapItems() {
    updating_ = true;
    const int inner = cbInt_->currentIndex();
    cbInt_->setCurrentIndex(cbExt_->currentIndex());
    cbExt_->setCurrentIndex(inner);
    updating_ = false;
    WheelModeChanged();
    RefreshView();
}

// ---- Solar return window.

void TFormMain::ToggleSolarReturn(bool on) {
    if (!retorno_) {
        retorno_ = new TFormRetorno(ws_, deFecha_->date().year(), this);
        retorno_->onApplied = [this] {
            LoadRecordIntoFields(ws_.eventRecord);
            RecomputeAll();
        };
        retorno_->onClosed = [this] { sbRetorno_->setChecked(false); };
    }
    if (on) {
        retorno_->Reset(deFecha_->date().year());
        retorno_->show();
        retorno_->raise();
    } else {
        retorno_->Stop();
        retorno_->hide();
    }
}

} // namespace cel::workspace
