#include "workspace/person_filter_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

#include "workspace/view_input.h"

namespace cel::workspace {

PersonFilterPanel::PersonFilterPanel(session::Session &session, QWidget *parent)
    : SessionPanel(session, parent) {
    auto *grid = new QGridLayout(this);
    leNombre_ = new QLineEdit;
    leNombre_->setObjectName("LENombre");
    leApellido_ = new QLineEdit;
    leApellido_->setObjectName("LEApellido");
    cbGrupo_ = new QComboBox;
    cbGrupo_->setObjectName("CBGrupo");
    cbGrupo_->addItem("[*]", -1);
    cbCon_ = new QComboBox;
    cbCon_->setObjectName("CBCon");
    const std::pair<const char *, session::BirthDataFilter> with[] = {
        {"Fecha y hora", session::BirthDataFilter::DateAndTime},
        {"Solo fecha", session::BirthDataFilter::DateOnly},
        {"No fecha y hora", session::BirthDataFilter::NoDate},
        {"Todos", session::BirthDataFilter::All}};
    for (const auto &[text, value] : with)
        cbCon_->addItem(text, static_cast<int>(value));
    cbSexo_ = new QComboBox;
    cbSexo_->setObjectName("CBSexo");
    const std::pair<const char *, session::SexChoice> sexes[] = {{"Fem.", session::SexChoice::Female},
                                                                 {"Mas.", session::SexChoice::Male},
                                                                 {"Otro", session::SexChoice::Other},
                                                                 {"Todos", session::SexChoice::All}};
    for (const auto &[text, value] : sexes)
        cbSexo_->addItem(text, static_cast<int>(value));
    cbSexo_->setCurrentIndex(cbSexo_->findData(static_cast<int>(session::SexChoice::All)));
    cbSeleccionados_ = new QCheckBox("Seleccionados");
    cbSeleccionados_->setObjectName("CBSeleccionados");
    int row = 0;
    for (auto [label, widget] : {std::pair<const char *, QWidget *>{"nombre:", leNombre_},
                                 {"apellido:", leApellido_},
                                 {"grupo:", cbGrupo_},
                                 {"con:", cbCon_},
                                 {"Sexo:", cbSexo_}}) {
        grid->addWidget(new QLabel(label), row, 0);
        grid->addWidget(widget, row++, 1);
    }
    grid->addWidget(cbSeleccionados_, row++, 0, 1, 2);
    auto *all = new QPushButton("Seleccionar todas");
    all->setObjectName("SBSeleccionarTodas");
    auto *none = new QPushButton("Seleccionar ninguna");
    none->setObjectName("SBSeleccionarNinguna");
    auto *everyone = new QPushButton("Ver todas las personas");
    everyone->setObjectName("SBVerTodas");
    grid->addWidget(all, row, 0);
    grid->addWidget(none, row++, 1);
    grid->addWidget(everyone, row++, 0, 1, 2);
    grid->setRowStretch(row, 1);

    OnInput(leNombre_, &QLineEdit::textChanged, [this](const QString &) { FilterInput(); });
    OnInput(leApellido_, &QLineEdit::textChanged, [this](const QString &) { FilterInput(); });
    for (QComboBox *c : {cbGrupo_, cbCon_, cbSexo_})
        OnInput(c, &QComboBox::currentIndexChanged, [this](int) { FilterInput(); });
    OnInput(cbSeleccionados_, &QCheckBox::toggled, [this](bool) { FilterInput(); });
    connect(everyone, &QPushButton::clicked, this, [this] { session_.SetFilter(session::PersonFilter{}); });
    connect(all, &QPushButton::clicked, this, [this] { session_.MarkListed(true); });
    connect(none, &QPushButton::clicked, this, [this] { session_.MarkListed(false); });
}

void PersonFilterPanel::FilterInput() {
    session::PersonFilter f;
    f.selectedOnly = cbSeleccionados_->isChecked();
    f.name = leNombre_->text().toStdString();
    f.surname = leApellido_->text().toStdString();
    f.groupId = cbGrupo_->currentData().isValid() ? cbGrupo_->currentData().toInt() : -1;
    f.with = static_cast<session::BirthDataFilter>(cbCon_->currentData().toInt());
    f.sex = static_cast<session::SexChoice>(cbSexo_->currentData().toInt());
    session_.SetFilter(f);
}

void PersonFilterPanel::ShowGroups() {
    const ShowingScope showing(showing_);
    cbGrupo_->clear();
    cbGrupo_->addItem("[*]", -1);
    for (const session::NamedId &g : session_.Groups())
        cbGrupo_->addItem(QString::fromStdString(g.name), g.id);
}

void PersonFilterPanel::Show() {
    const ShowingScope showing(showing_);
    const session::PersonFilter &f = session_.Filter();
    cbSeleccionados_->setChecked(f.selectedOnly);
    if (leNombre_->text().toStdString() != f.name)
        leNombre_->setText(QString::fromStdString(f.name));
    if (leApellido_->text().toStdString() != f.surname)
        leApellido_->setText(QString::fromStdString(f.surname));
    cbGrupo_->setCurrentIndex(std::max(0, cbGrupo_->findData(f.groupId)));
    cbCon_->setCurrentIndex(std::max(0, cbCon_->findData(static_cast<int>(f.with))));
    cbSexo_->setCurrentIndex(std::max(0, cbSexo_->findData(static_cast<int>(f.sex))));
}

} // namespace cel::workspace
