#include "workspace/persons_panel.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "workspace/key_list.h"
#include "workspace/person_list_model.h"
#include "workspace/view_input.h"

namespace cel::workspace {

PersonsPanel::PersonsPanel(session::Session &session, QAction *newPerson, QAction *editPerson,
                           QAction *deletePerson, QWidget *parent)
    : SessionPanel(session, parent) {
    auto *column = new QVBoxLayout(this);
    auto *list = new KeyListView;
    lbPersona_ = list;
    lbPersona_->setObjectName("LBPersona");
    personModel_ = new PersonListModel(session_, this);
    personProxy_ = new PersonFilterProxy(session_, *personModel_, this);
    lbPersona_->setModel(personProxy_);
    lbPersona_->setContextMenuPolicy(Qt::ActionsContextMenu);
    lbPersona_->setStyleSheet("QListView::item:selected { background: rgb(255,255,23); color: blue; }");
    column->addWidget(lbPersona_, 1);
    labelCount_ = new QLabel("0 de 0 ");
    labelCount_->setObjectName("LabelContador");
    column->addWidget(labelCount_);
    auto *buttons = new QHBoxLayout;
    sbNueva_ = new QPushButton("&Nueva");
    sbNueva_->setObjectName("SBNueva");
    sbEditar_ = new QPushButton("&Editar");
    sbEditar_->setObjectName("SBEditar");
    sbEliminar_ = new QPushButton("E&liminar");
    sbEliminar_->setObjectName("SBEliminar");
    sbTodos_ = new QPushButton("[*]");
    sbTodos_->setObjectName("SBTodos");
    sbTodos_->setToolTip("Ver todas las personas");
    for (QPushButton *b : {sbNueva_, sbEditar_, sbEliminar_, sbTodos_})
        buttons->addWidget(b);
    column->addLayout(buttons);
    auto *pair = new QHBoxLayout;
    sbSinastria_ = new QToolButton;
    sbSinastria_->setObjectName("SBSinastria");
    sbSinastria_->setText("&Sinastría");
    sbSinastria_->setCheckable(true);
    rbA_ = new QRadioButton("A");
    rbA_->setObjectName("RBPersonaA");
    rbB_ = new QRadioButton("B");
    rbB_->setObjectName("RBPersonaB");
    rbA_->setChecked(true);
    pair->addWidget(sbSinastria_);
    pair->addWidget(rbA_);
    pair->addWidget(rbB_);
    pair->addStretch();
    column->addLayout(pair);

    connect(sbNueva_, &QPushButton::clicked, newPerson, &QAction::trigger);
    connect(sbEditar_, &QPushButton::clicked, editPerson, &QAction::trigger);
    connect(sbEliminar_, &QPushButton::clicked, deletePerson, &QAction::trigger);
    connect(sbTodos_, &QPushButton::clicked, this, [this] { session_.SetFilter(session::PersonFilter{}); });
    OnInput(sbSinastria_, &QToolButton::toggled, [this](bool on) { session_.SetSynastry(on); });
    OnInput(rbA_, &QRadioButton::toggled,
            [this](bool on) { session_.ChooseSlot(on ? session::PersonSlot::A : session::PersonSlot::B); });
    connect(lbPersona_, &QListView::doubleClicked, this,
            [this](const QModelIndex &index) { session_.ChoosePerson(personProxy_->IdAt(index.row())); });
    list->onKey = [this, newPerson, editPerson, deletePerson](int key) {
        const bool selected = SelectedPerson() >= 0;
        switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (selected)
                session_.ChoosePerson(SelectedPerson());
            return true;
        case Qt::Key_Space:
            if (selected)
                editPerson->trigger();
            return true;
        case Qt::Key_Insert:
            newPerson->trigger();
            return true;
        case Qt::Key_Delete:
            deletePerson->trigger();
            return true;
        default:
            return false;
        }
    };
    // Context menu: new, edit, delete, as person A, as person B.
    auto *asA = new QAction(lbPersona_);
    auto *asB = new QAction(lbPersona_);
    asA->setObjectName("ActPersonaA");
    asB->setObjectName("ActPersonaB");
    QAction *editAction = editPerson, *deleteAction = deletePerson;
    for (QAction *a : {editAction, deleteAction, asA, asB})
        lbPersona_->addAction(a);
    connect(lbPersona_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [=, this](const QModelIndex &current) {
                const QString entry = current.isValid() ? current.data().toString() : QString();
                editAction->setText("&Editar datos de " + entry);
                deleteAction->setText("E&liminar a " + entry);
                asA->setText(entry + " como persona A");
                asB->setText(entry + " como persona B");
                for (QAction *a : {editAction, deleteAction, asA, asB})
                    a->setEnabled(current.isValid());
            });
    for (auto [action, slot] :
         {std::pair{asA, session::PersonSlot::A}, std::pair{asB, session::PersonSlot::B}}) {
        connect(action, &QAction::triggered, this, [this, slot = slot] {
            if (SelectedPerson() >= 0)
                session_.PutPersonInSlot(slot, SelectedPerson());
        });
    }
}

std::int32_t PersonsPanel::SelectedPerson() const {
    const QModelIndex current = lbPersona_->currentIndex();
    return current.isValid() ? personProxy_->IdAt(current.row()) : -1;
}

void PersonsPanel::SelectPersonRow(std::int32_t personId) {
    const int row = personProxy_->RowOf(personId);
    if (row >= 0)
        lbPersona_->setCurrentIndex(personProxy_->index(row, 0));
}

void PersonsPanel::ShowList() {
    const ShowingScope showing(showing_);
    const std::int32_t keep = SelectedPerson() >= 0 ? SelectedPerson() : session_.CurrentPerson();
    personModel_->Reload();
    SelectPersonRow(keep);
    session::PersonList shown;
    shown.total = session_.ws.db.Persons.size();
    shown.persons.resize(static_cast<std::size_t>(personProxy_->rowCount()));
    labelCount_->setText(QString::fromStdString(session::PersonCounterText(shown)));
}

void PersonsPanel::ShowPair() {
    const ShowingScope showing(showing_);
    sbSinastria_->setChecked(session_.Synastry());
    rbA_->setChecked(session_.Slot() == session::PersonSlot::A);
    rbB_->setChecked(session_.Slot() == session::PersonSlot::B);
}

} // namespace cel::workspace
