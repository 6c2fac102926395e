#include "workspace/form_retorno.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

#include "common/number_text.h"
#include "workspace/date_labels.h"
#include "workspace/dialog_palette.h"

namespace cel::workspace {

TFormRetorno::TFormRetorno(session::Workspace &workspace, int year, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), ws_(workspace) {
    setObjectName("FormRetorno");
    setWindowTitle("Retorno Solar");
    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel("Calcular para:"), 0, 0);
    seYear_ = new QSpinBox;
    seYear_->setObjectName("SEYear");
    seYear_->setRange(1, 9999);
    seYear_->setValue(year);
    grid->addWidget(seYear_, 0, 1);

    auto choice = [this](const char *title, const char *name, QRadioButton *&apparent,
                         QRadioButton *&trueSun) {
        auto *box = new QGroupBox(title);
        box->setObjectName(name);
        auto *column = new QVBoxLayout(box);
        apparent = new QRadioButton("Sol Aparente");
        trueSun = new QRadioButton("Sol Verdadero");
        apparent->setChecked(true);
        auto *group = new QButtonGroup(box);
        group->addButton(apparent);
        group->addButton(trueSun);
        column->addWidget(apparent);
        column->addWidget(trueSun);
        connect(apparent, &QRadioButton::toggled, this, [this] { RefreshLabels(); });
        return box;
    };
    grid->addWidget(choice("Fecha natal:", "RGSolNat", natalApparent_, natalTrue_), 1, 0);
    grid->addWidget(choice("Fecha evento:", "RGSolEve", eventApparent_, eventTrue_), 1, 1);
    labelSolNat_ = new QLabel;
    labelSolNat_->setObjectName("LabelSolNat");
    labelSolEve_ = new QLabel;
    labelSolEve_->setObjectName("LabelSolEve");
    grid->addWidget(labelSolNat_, 2, 0);
    grid->addWidget(labelSolEve_, 2, 1);
    cbEquTime_ = new QCheckBox("ET");
    cbEquTime_->setObjectName("CBEquTime");
    cbEquTime_->setToolTip("aplicar ecuación de tiempo");
    sbCalcRet_ = new QToolButton;
    sbCalcRet_->setObjectName("SBCalcRet");
    sbCalcRet_->setText("Calcular");
    sbCalcRet_->setToolTip("Calcular retorno solar");
    sbStopCalc_ = new QToolButton;
    sbStopCalc_->setObjectName("SBStopCalc");
    sbStopCalc_->setText("Parar");
    sbStopCalc_->setToolTip("Parar calculo retorno solar");
    sbStopCalc_->setEnabled(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cbEquTime_);
    buttons->addStretch();
    buttons->addWidget(sbCalcRet_);
    buttons->addWidget(sbStopCalc_);
    grid->addLayout(buttons, 3, 0, 1, 2);
    labelDifSoles_ = new QLabel;
    labelDifSoles_->setObjectName("LabelDifSoles");
    labelDifSoles_->setAlignment(Qt::AlignCenter);
    grid->addWidget(labelDifSoles_, 4, 0, 1, 2);

    connect(sbCalcRet_, &QToolButton::clicked, this, [this] { Start(); });
    connect(sbStopCalc_, &QToolButton::clicked, this, [this] { Stop(); });
    connect(cbEquTime_, &QCheckBox::toggled, this, [this](bool on) {
        if (running_ || !haveResult_)
            return;
        chart::SolarReturnSearch::Apply(ws_.context, result_.found, ws_.eventRecord, ws_.event, on);
        if (onApplied)
            onApplied();
        RefreshLabels();
    });
    FollowScheme(this);
    RefreshLabels();
}

chart::SunKind TFormRetorno::NatalSun() const {
    return natalTrue_->isChecked() ? chart::SunKind::True : chart::SunKind::Apparent;
}

chart::SunKind TFormRetorno::EventSun() const {
    return eventTrue_->isChecked() ? chart::SunKind::True : chart::SunKind::Apparent;
}

void TFormRetorno::ShowDifference(chart::Real target, chart::Real current) {
    labelDifSoles_->setText(QString::fromStdString(SunDifferenceText(current - target, ws_.format)));
    const bool met = std::fabs(static_cast<double>(target - current)) < 1e-6;
    labelDifSoles_->setStyleSheet(met ? "color: blue" : "color: red");
}

void TFormRetorno::RefreshLabels() {
    const chart::Real target = chart::SolarLongitude(ws_.natal, NatalSun());
    const chart::Real current = chart::SolarLongitude(ws_.event, EventSun());
    labelSolNat_->setText(QString::fromStdString(SunLabelText(target, ws_.format)));
    labelSolEve_->setText(QString::fromStdString(SunLabelText(current, ws_.format)));
    ShowDifference(target, current);
}

void TFormRetorno::Reset(int year) {
    seYear_->setValue(year);
    haveResult_ = false;
    RefreshLabels();
}

void TFormRetorno::Start() {
    if (running_)
        return;
    running_ = true;
    sbCalcRet_->setEnabled(false);
    sbStopCalc_->setEnabled(true);
    chart::SolarReturnOptions options;
    options.year = seYear_->value();
    options.natalSun = NatalSun();
    options.eventSun = EventSun();
    options.equationOfTime = cbEquTime_->isChecked();
    options.onEvaluation = [this](const chart::SolarReturnProgress &p) {
        ShowDifference(p.target, p.current);
        QApplication::processEvents(); // the stop button (and the rest of the window) may act here
        return !search_.stopRequested();
    };
    options.onApplied = [this](const chart::TDato &, const chart::TDataAstro &) {
        if (onApplied)
            onApplied();
        RefreshLabels();
    };
    result_ = search_.Run(ws_.context, ws_.natal, ws_.eventRecord, ws_.event, options);
    haveResult_ = true;
    running_ = false;
    sbStopCalc_->setEnabled(false);
    sbCalcRet_->setEnabled(true);
}

void TFormRetorno::Stop() {
    search_.RequestStop();
    sbStopCalc_->setEnabled(false);
}

void TFormRetorno::closeEvent(QCloseEvent *event) {
    Stop();
    QWidget::closeEvent(event);
    if (onClosed)
        onClosed();
}

} // namespace cel::workspace
