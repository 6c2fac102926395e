#include "workspace/chart_labels_panel.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "workspace/elided_label.h"

namespace cel::workspace {

ChartLabelsPanel::ChartLabelsPanel(session::Session &session, QWidget *parent)
    : SessionPanel(session, parent) {
    setObjectName("PanelInfo");
    auto *grid = new QHBoxLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    auto *labels = new QVBoxLayout;
    labelNatal_ = new ElidedLabel("<>: ");
    labelNatal_->setObjectName("LabelNatal");
    labelNatalDate_ = new QLabel;
    labelNatalDate_->setObjectName("LabelNatalFecha");
    labelEvento_ = new ElidedLabel("Evento: ");
    labelEvento_->setObjectName("LabelEvento");
    labelEventoDate_ = new QLabel;
    labelEventoDate_->setObjectName("LabelEventoFecha");
    for (const auto &[name, date] :
         {std::pair{labelNatal_, labelNatalDate_}, std::pair{labelEvento_, labelEventoDate_}}) {
        auto *row = new QHBoxLayout;
        row->addWidget(name);
        row->addWidget(date);
        row->addStretch(1);
        // A long name gives way (cut with "…", whole in its tooltip); the date line keeps its room.
        date->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Preferred);
        labels->addLayout(row);
    }
    grid->addLayout(labels, 1);
    cbGmt_ = new QCheckBox("GMT");
    cbGmt_->setObjectName("CBGMT");
    cbEdad_ = new QCheckBox("edad");
    cbEdad_->setObjectName("CBEdad");
    cbEdad_->setChecked(session_.ws.settings.main.viewEdad);
    OnInput(cbGmt_, &QCheckBox::toggled, [this](bool on) { session_.SetShowGmt(on); });
    OnInput(cbEdad_, &QCheckBox::toggled, [this](bool on) { session_.SetShowAge(on); });
    grid->addWidget(cbGmt_);
    grid->addWidget(cbEdad_);
}

void ChartLabelsPanel::Show() {
    const ShowingScope showing(showing_);
    labelNatal_->setText(QString::fromStdString(session_.NatalLabel()));
    labelNatalDate_->setText(QString::fromStdString(session_.NatalDateLine()));
    labelEventoDate_->setText(QString::fromStdString(session_.DateLine(session_.ws.eventRecord)));
    labelEvento_->setText(QString::fromStdString(session_.EventLabel()));
    cbGmt_->setChecked(session_.ShowGmt());
    cbEdad_->setChecked(session_.ws.settings.main.viewEdad);
}

} // namespace cel::workspace
