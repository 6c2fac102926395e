#include "workspace/points_dialog.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "chart/records.h"
#include "common/number_text.h"
#include "workspace/dialog_palette.h"

namespace cel::workspace {

namespace {

QToolButton *SmallButton(const QString &name, const QString &text, const QString &tip) {
    auto *b = new QToolButton;
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(tip);
    return b;
}

QPushButton *Button(const char *name, const QString &text) {
    auto *b = new QPushButton(text);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TFormPto::TFormPto(analysis::PointsSettings &points, TextFormat format, std::function<void()> changed,
                   QWidget *parent)
    : QDialog(parent), points_(points), format_(format), changed_(std::move(changed)) {
    setObjectName("FormPto");
    setWindowTitle("Puntos Items");
    setAttribute(Qt::WA_DeleteOnClose);
    auto *column = new QVBoxLayout(this);
    auto *groups = new QHBoxLayout;

    // One group per family: check box and weight per entry, "T" and "N".
    auto makeGroup = [this](const QString &title, const char *prefix,
                            std::array<QCheckBox *, kListSize> &boxes,
                            std::array<QDoubleSpinBox *, kListSize> &fields, bool bodies) {
        auto *box = new QGroupBox(title);
        auto *grid = new QGridLayout(box);
        for (int i = 1; i <= 12; ++i) {
            const auto k = static_cast<std::size_t>(i);
            boxes[k] = new QCheckBox(bodies ? QString::fromUtf8(chart::kBodyNames[k]) : QString::number(i));
            boxes[k]->setObjectName(QString("CB%1%2").arg(prefix).arg(i));
            fields[k] = new QDoubleSpinBox;
            fields[k]->setObjectName(QString("SE%1%2").arg(prefix).arg(i));
            fields[k]->setRange(0, 10);
            fields[k]->setDecimals(2);
            fields[k]->setSingleStep(0.25);
            grid->addWidget(boxes[k], i - 1, 0);
            grid->addWidget(fields[k], i - 1, 1);
            connect(boxes[k], &QCheckBox::toggled, this, [this] {
                if (!loading_)
                    Recompute();
            });
            connect(fields[k], &QDoubleSpinBox::valueChanged, this, [this] {
                if (!loading_)
                    Recompute();
            });
        }
        auto *all = SmallButton(QString("SB%1T").arg(prefix), "T", "Todos");
        auto *none = SmallButton(QString("SB%1N").arg(prefix), "N", "Ninguno");
        for (QToolButton *b : {all, none}) {
            const bool on = b == all;
            connect(b, &QToolButton::clicked, this, [this, &boxes, on] {
                loading_ = true;
                for (int i = 1; i <= 12; ++i)
                    boxes[static_cast<std::size_t>(i)]->setChecked(on);
                loading_ = false;
                Recompute();
            });
        }
        auto *buttons = new QHBoxLayout;
        buttons->addWidget(all);
        buttons->addWidget(none);
        buttons->addStretch(1);
        grid->addLayout(buttons, 12, 0, 1, 2);
        return box;
    };
    groups->addWidget(makeGroup("Planetas:", "Pla", cbBodies_, seBodies_, true));
    groups->addWidget(makeGroup("Casas:", "Cas", cbHouses_, seHouses_, false));
    column->addLayout(groups);

    auto *presets = new QHBoxLayout;
    presets->addWidget(new QLabel("Puntos:"));
    const std::pair<const char *, analysis::PointsFlagsPreset> flagPresets[] = {
        {"SBHoraOk", analysis::PointsFlagsPreset::HoraOk},
        {"SBSinHora", analysis::PointsFlagsPreset::SinHora},
        {"SBPlanetasPers", analysis::PointsFlagsPreset::Personales}};
    const char *flagTexts[] = {"Hora Ok", "Sin Hora", "Planetas pers."};
    for (int i = 0; i < 3; ++i) {
        auto *b = Button(flagPresets[i].first, flagTexts[i]);
        const analysis::PointsFlagsPreset preset = flagPresets[i].second;
        connect(b, &QPushButton::clicked, this, [this, preset] {
            Store();
            analysis::ApplyFlagsPreset(points_, preset);
            Load();
            Recompute();
        });
        presets->addWidget(b);
    }
    presets->addSpacing(12);
    presets->addWidget(new QLabel("Valores:"));
    auto *builtIn = Button("SBPredeterminados", "Predeterminados");
    auto *ones = Button("SBValores1", "Valores =1");
    connect(builtIn, &QPushButton::clicked, this, [this] {
        Store();
        analysis::RestoreBuiltInWeights(points_);
        Load();
        Recompute();
    });
    connect(ones, &QPushButton::clicked, this, [this] {
        Store();
        analysis::SetAllWeightsToOne(points_);
        Load();
        Recompute();
    });
    presets->addWidget(builtIn);
    presets->addWidget(ones);
    presets->addStretch(1);
    column->addLayout(presets);

    auto *bottom = new QHBoxLayout;
    labelTotal_ = new QLabel;
    labelTotal_->setObjectName("LabelTotal");
    bottom->addWidget(labelTotal_, 1);
    auto *close = Button("SBCerrar", "Cerrar");
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    bottom->addWidget(close);
    column->addLayout(bottom);

    FollowScheme(this);
    Load();
    labelTotal_->setText(TotalText());
}

QString TFormPto::TotalText() const {
    return QString::fromStdString("Total Ptos: " +
                                  FormatFixed(analysis::PointsTotal(points_), 2, format_.decimalSeparator));
}

void TFormPto::Load() {
    loading_ = true;
    for (int i = 1; i <= 12; ++i) {
        const auto k = static_cast<std::size_t>(i);
        cbBodies_[k]->setChecked(points_.viewPtosPla[k]);
        seBodies_[k]->setValue(points_.ptosPla[k]);
        seBodies_[k]->setEnabled(points_.viewPtosPla[k]);
        cbHouses_[k]->setChecked(points_.viewPtosCas[k]);
        seHouses_[k]->setValue(points_.ptosCas[k]);
        seHouses_[k]->setEnabled(points_.viewPtosCas[k]);
    }
    loading_ = false;
}

void TFormPto::Store() {
    for (int i = 1; i <= 12; ++i) {
        const auto k = static_cast<std::size_t>(i);
        points_.viewPtosPla[k] = cbBodies_[k]->isChecked();
        points_.ptosPla[k] = static_cast<float>(seBodies_[k]->value());
        points_.viewPtosCas[k] = cbHouses_[k]->isChecked();
        points_.ptosCas[k] = static_cast<float>(seHouses_[k]->value());
    }
}

void TFormPto::Recompute() {
    Store();
    for (int i = 1; i <= 12; ++i) {
        const auto k = static_cast<std::size_t>(i);
        seBodies_[k]->setEnabled(cbBodies_[k]->isChecked());
        seHouses_[k]->setEnabled(cbHouses_[k]->isChecked());
    }
    labelTotal_->setText(TotalText());
    if (changed_)
        changed_();
}

} // namespace cel::workspace
