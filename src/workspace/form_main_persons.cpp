// The persons of the main window: the person list with its filters, A and B, synastry, and the
// current person's events, shown from the session; every input calls one session operation.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "manager/item_editor.h"
#include "workspace/events_panel.h"
#include "workspace/form_main.h"
#include "workspace/form_retorno.h"
#include "workspace/key_list.h"
#include "workspace/person_filter_panel.h"
#include "workspace/person_list_model.h"
#include "workspace/side_scroll.h"

namespace cel::workspace {

void TFormMain::BuildDatosDock() {
    twDatos_ = new QDockWidget("Datos", this);
    twDatos_->setObjectName("TWDatos");
    datosTabs_ = new QTabWidget;
    datosTabs_->setObjectName("PCDatos");
    datosTabs_->addTab(BuildPersonsPage(), " Personas ");
    auto *placeScroll = new QScrollArea;
    placeScroll->setWidget(BuildPlacePage());
    placeScroll->setWidgetResizable(true);
    placeScroll->setFrameShape(QFrame::NoFrame);
    datosTabs_->addTab(placeScroll, " Lugar, Fecha y Hora ");
    twDatos_->setWidget(new SideScroll(datosTabs_, false));
    addDockWidget(Qt::LeftDockWidgetArea, twDatos_);
    connect(datosTabs_, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == 1 && session_.Synastry()) {
            datosTabs_->setCurrentIndex(0);
            notifier_.Notice(NoticeKind::Warning, false, true,
                             "En sinastría no se pueden cambiar datos de fecha y hora.\r"
                             "Para cambiar algún dato debe deshabilitar la opción de sinastría.");
            return;
        }
        // The filter window goes with the persons page; the return window with the date page.
        if (page == 1) {
            filterWasVisible_ = !twFiltrar_->isHidden();
            twFiltrar_->hide();
        } else if (filterWasVisible_) {
            twFiltrar_->show();
        }
        if (retorno_)
            retorno_->setVisible(page == 1 && sbRetorno_->isChecked());
    });
}

QWidget *TFormMain::BuildPersonsPage() {
    auto *page = new QWidget;
    auto *column = new QVBoxLayout(page);
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
    rbA_[0] = new QRadioButton("A");
    rbA_[0]->setObjectName("RBPersonaA");
    rbB_[0] = new QRadioButton("B");
    rbB_[0]->setObjectName("RBPersonaB");
    rbA_[0]->setChecked(true);
    pair->addWidget(sbSinastria_);
    pair->addWidget(rbA_[0]);
    pair->addWidget(rbB_[0]);
    pair->addStretch();
    column->addLayout(pair);

    connect(sbNueva_, &QPushButton::clicked, Action(Command::NewPerson), &QAction::trigger);
    connect(sbEditar_, &QPushButton::clicked, Action(Command::EditPerson), &QAction::trigger);
    connect(sbEliminar_, &QPushButton::clicked, Action(Command::DeletePerson), &QAction::trigger);
    connect(sbTodos_, &QPushButton::clicked, this, [this] { session_.SetFilter(session::PersonFilter{}); });
    OnInput(sbSinastria_, &QToolButton::toggled, [this](bool on) { session_.SetSynastry(on); });
    connect(lbPersona_, &QListView::doubleClicked, this,
            [this](const QModelIndex &index) { ChoosePerson(personProxy_->IdAt(index.row())); });
    list->onKey = [this](int key) {
        const bool selected = SelectedPerson() >= 0;
        switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (selected)
                ChoosePerson(SelectedPerson());
            return true;
        case Qt::Key_Space:
            if (selected)
                Action(Command::EditPerson)->trigger();
            return true;
        case Qt::Key_Insert:
            Action(Command::NewPerson)->trigger();
            return true;
        case Qt::Key_Delete:
            Action(Command::DeletePerson)->trigger();
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
    QAction *editAction = Action(Command::EditPerson), *deleteAction = Action(Command::DeletePerson);
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
    return page;
}

std::int32_t TFormMain::SelectedPerson() const {
    const QModelIndex current = lbPersona_->currentIndex();
    return current.isValid() ? personProxy_->IdAt(current.row()) : -1;
}

void TFormMain::SelectPersonRow(std::int32_t personId) {
    const int row = personProxy_->RowOf(personId);
    if (row >= 0)
        lbPersona_->setCurrentIndex(personProxy_->index(row, 0));
}

void TFormMain::BuildFilterDock() {
    twFiltrar_ = new QDockWidget("Filtar lista personas", this);
    twFiltrar_->setObjectName("TWFiltrarLista");
    filter_ = new PersonFilterPanel(session_);
    twFiltrar_->setWidget(new SideScroll(filter_, false));
    addDockWidget(Qt::LeftDockWidgetArea, twFiltrar_);
}

void TFormMain::ShowLists() {
    filter_->ShowGroups();
    cbPais_->clear();
    cbPais_->addItem("[*]", -1);
    for (const session::NamedId &c : session_.Countries())
        cbPais_->addItem(QString::fromStdString(c.name), c.id);
    sbNuevoLugar_->setEnabled(!Workspace().db.Countries.empty());
    cbLugar_->clear(); // filled for the entry's country
}

void TFormMain::ShowPersons() {
    filter_->Show();
    const std::int32_t keep = SelectedPerson() >= 0 ? SelectedPerson() : session_.CurrentPerson();
    personModel_->Reload();
    SelectPersonRow(keep);
    session::PersonList shown;
    shown.total = Workspace().db.Persons.size();
    shown.persons.resize(static_cast<std::size_t>(personProxy_->rowCount()));
    labelCount_->setText(QString::fromStdString(session::PersonCounterText(shown)));
}

void TFormMain::ChoosePerson(std::int32_t personId) {
    session_.ChoosePerson(personId);
}

void TFormMain::AddOrEditPerson(bool add) {
    if (!EnsureDataFile())
        return;
    const std::int32_t selected = SelectedPerson();
    if (!add && selected < 0)
        return;
    // The item editor checks the shared use, stores the person and saves the data file.
    const std::optional<std::int32_t> stored =
        add ? manager::TFormItem::AddPerson(this, session_.Store())
            : manager::TFormItem::EditPerson(this, session_.Store(), selected);
    if (!stored)
        return;
    session_.PersonsEdited();
    SelectPersonRow(*stored); // the new or edited person is highlighted, not loaded
}

void TFormMain::DeleteSelectedPerson() {
    if (SelectedPerson() >= 0)
        session_.DeletePerson(SelectedPerson());
}

// ---- Events.

void TFormMain::BuildEventsDock() {
    twEventos_ = new QDockWidget("Eventos: ", this);
    twEventos_->setObjectName("TWListEvents");
    events_ = new EventsPanel(session_);
    twEventos_->setWidget(events_);
    addDockWidget(Qt::RightDockWidgetArea, twEventos_);
}

} // namespace cel::workspace
