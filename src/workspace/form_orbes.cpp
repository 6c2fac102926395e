#include "workspace/form_orbes.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "analysis/aspects.h"
#include "graphics/glyphs.h"
#include "session/angle_texts.h"
#include "workspace/dialog_palette.h"

namespace cel::workspace {

TFormOrbes::TFormOrbes(settings::OrbTables &orbs, QWidget *parent) : QDialog(parent), orbs_(orbs) {
    setObjectName("FormOrbes");
    setWindowTitle("Orbes de Aspectos");
    auto *column = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    const char *headings[] = {"Aspecto",
                              "",
                              "",
                              "Arco",
                              "Ecliptico\nPlanetas / Casas 1,10",
                              "Ecliptico\nResto / Casas",
                              "Ascencional\nPlanetas / Casas"};
    for (int c = 0; c < 7; ++c) {
        auto *h = new QLabel(headings[c]);
        h->setAlignment(Qt::AlignCenter);
        grid->addWidget(h, 0, c);
    }
    const graphics::GlyphSet &glyphs = graphics::GlyphSet::Normal();
    for (int k = 1; k <= settings::kAspectKindCount; ++k) {
        const analysis::AspectKindInfo &info = analysis::kAspectKinds[static_cast<std::size_t>(k)];
        grid->addWidget(new QLabel(QString::fromUtf8(info.label)), k, 0);
        const QString nature = QString::fromUtf8(info.nature);
        auto *mark = new QLabel;
        QString html;
        for (QChar ch : nature)
            html += ch == '+' ? QString("<span style='color:%1'>+</span>")
                                    .arg(info.lineColour == analysis::AspectColour::Green ? "green" : "blue")
                              : QString("<span style='color:red'>-</span>");
        mark->setText(html);
        grid->addWidget(mark, k, 1);
        if (k != 2 && k != 6 && k != 8 && k != 12) {
            auto *glyph = new QLabel;
            glyph->setPixmap(QPixmap::fromImage(glyphs.Picture(23 + k)));
            grid->addWidget(glyph, k, 2);
        }
        grid->addWidget(new QLabel(QString("%1°").arg(info.angle)), k, 3);
        const std::array<float, 3> values = {orbs_.OPE[static_cast<std::size_t>(k)],
                                             orbs_.OCE[static_cast<std::size_t>(k)],
                                             orbs_.OPA[static_cast<std::size_t>(k)]};
        for (int t = 0; t < 3; ++t) {
            auto *edit = new QDoubleSpinBox;
            edit->setObjectName(QString("EOrbe_%1_%2").arg(k).arg(t + 1));
            edit->setDecimals(2);
            edit->setRange(0, 30);
            edit->setSingleStep(0.25);
            edit->setValue(values[static_cast<std::size_t>(t)]);
            edits_[static_cast<std::size_t>(k)][static_cast<std::size_t>(t)] = edit;
            grid->addWidget(edit, k, 4 + t);
        }
    }
    column->addLayout(grid);
    auto *buttons = new QHBoxLayout;
    auto *accept = new QPushButton("De &Acuerdo");
    accept->setObjectName("BAceptar");
    accept->setDefault(true);
    auto *original = new QPushButton("Orbes &Orig.");
    original->setObjectName("BOriginal");
    auto *cancel = new QPushButton("&Cancelar");
    cancel->setObjectName("BCancelar");
    buttons->addWidget(accept);
    buttons->addWidget(original);
    buttons->addStretch();
    buttons->addWidget(cancel);
    column->addLayout(buttons);
    connect(accept, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(original, &QPushButton::clicked, this, [this] { PutBuiltIn(); });
    FollowScheme(this);
}

void TFormOrbes::PutBuiltIn() {
    const settings::OrbTables builtIn = settings::BuiltInOrbTables();
    for (int k = 1; k <= settings::kAspectKindCount; ++k) {
        const auto i = static_cast<std::size_t>(k);
        edits_[i][0]->setValue(builtIn.OPE[i]);
        edits_[i][1]->setValue(builtIn.OCE[i]);
        edits_[i][2]->setValue(builtIn.OPA[i]);
    }
    Store();
}

void TFormOrbes::Store() {
    for (int k = 1; k <= settings::kAspectKindCount; ++k) {
        const auto i = static_cast<std::size_t>(k);
        orbs_.OPE[i] = static_cast<float>(edits_[i][0]->value());
        orbs_.OCE[i] = static_cast<float>(edits_[i][1]->value());
        orbs_.OPA[i] = static_cast<float>(edits_[i][2]->value());
    }
}

void TFormOrbes::done(int result) {
    Store();
    QDialog::done(result);
}

TFormOrbe::TFormOrbe(float orb, QWidget *parent) : QDialog(parent) {
    setObjectName("FormOrbe");
    setWindowTitle("Editar Orbe");
    const session::OrbParts parts = session::SplitOrb(orb);
    auto *grid = new QGridLayout(this);
    degrees_ = new QSpinBox;
    degrees_->setObjectName("SEGrados");
    degrees_->setRange(0, 90);
    degrees_->setValue(parts.degrees);
    minutes_ = new QSpinBox;
    minutes_->setObjectName("SEMinutos");
    minutes_->setRange(0, 59);
    minutes_->setValue(parts.minutes);
    seconds_ = new QSpinBox;
    seconds_->setObjectName("SESegundos");
    seconds_->setRange(0, 59);
    seconds_->setValue(parts.seconds); // whole seconds, truncated
    grid->addWidget(new QLabel("gra:"), 0, 0);
    grid->addWidget(degrees_, 0, 1);
    grid->addWidget(new QLabel("min:"), 0, 2);
    grid->addWidget(minutes_, 0, 3);
    grid->addWidget(new QLabel("seg:"), 0, 4);
    grid->addWidget(seconds_, 0, 5);
    auto *accept = new QPushButton("De acuerdo");
    accept->setObjectName("BAceptar");
    accept->setDefault(true);
    auto *cancel = new QPushButton("Cancelar");
    cancel->setObjectName("BCancelar");
    grid->addWidget(accept, 1, 0, 1, 3);
    grid->addWidget(cancel, 1, 3, 1, 3);
    connect(accept, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    FollowScheme(this);
}

float TFormOrbe::Orb() const {
    return session::OrbFromParts(degrees_->value(), minutes_->value(), seconds_->value());
}

} // namespace cel::workspace
