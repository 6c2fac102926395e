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
#include "workspace/form_main.h"
#include "workspace/form_retorno.h"
#include "workspace/key_list.h"
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
    connect(sbTodos_, &QPushButton::clicked, this, [this] { ResetFilters(); });
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
    auto *panel = new QWidget;
    auto *grid = new QGridLayout(panel);
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
    twFiltrar_->setWidget(new SideScroll(panel, false));
    addDockWidget(Qt::LeftDockWidgetArea, twFiltrar_);

    OnInput(leNombre_, &QLineEdit::textChanged, [this](const QString &) { FilterInput(); });
    OnInput(leApellido_, &QLineEdit::textChanged, [this](const QString &) { FilterInput(); });
    for (QComboBox *c : {cbGrupo_, cbCon_, cbSexo_})
        OnInput(c, &QComboBox::currentIndexChanged, [this](int) { FilterInput(); });
    OnInput(cbSeleccionados_, &QCheckBox::toggled, [this](bool) { FilterInput(); });
    connect(everyone, &QPushButton::clicked, this, [this] { ResetFilters(); });
    connect(all, &QPushButton::clicked, this, [this] { session_.MarkListed(true); });
    connect(none, &QPushButton::clicked, this, [this] { session_.MarkListed(false); });
}

void TFormMain::FilterInput() {
    session::PersonFilter f;
    f.selectedOnly = cbSeleccionados_->isChecked();
    f.name = leNombre_->text().toStdString();
    f.surname = leApellido_->text().toStdString();
    f.groupId = cbGrupo_->currentData().isValid() ? cbGrupo_->currentData().toInt() : -1;
    f.with = static_cast<session::BirthDataFilter>(cbCon_->currentData().toInt());
    f.sex = static_cast<session::SexChoice>(cbSexo_->currentData().toInt());
    session_.SetFilter(f);
}

void TFormMain::ResetFilters() {
    session_.SetFilter(session::PersonFilter{});
}

void TFormMain::ShowLists() {
    cbGrupo_->clear();
    cbGrupo_->addItem("[*]", -1);
    for (const session::NamedId &g : session_.Groups())
        cbGrupo_->addItem(QString::fromStdString(g.name), g.id);
    cbPais_->clear();
    cbPais_->addItem("[*]", -1);
    for (const session::NamedId &c : session_.Countries())
        cbPais_->addItem(QString::fromStdString(c.name), c.id);
    sbNuevoLugar_->setEnabled(!Workspace().db.Countries.empty());
    cbLugar_->clear(); // filled for the entry's country
}

void TFormMain::ShowPersons() {
    const session::PersonFilter &f = session_.Filter();
    cbSeleccionados_->setChecked(f.selectedOnly);
    if (leNombre_->text().toStdString() != f.name)
        leNombre_->setText(QString::fromStdString(f.name));
    if (leApellido_->text().toStdString() != f.surname)
        leApellido_->setText(QString::fromStdString(f.surname));
    cbGrupo_->setCurrentIndex(std::max(0, cbGrupo_->findData(f.groupId)));
    cbCon_->setCurrentIndex(std::max(0, cbCon_->findData(static_cast<int>(f.with))));
    cbSexo_->setCurrentIndex(std::max(0, cbSexo_->findData(static_cast<int>(f.sex))));

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
    auto *panel = new QWidget;
    auto *column = new QVBoxLayout(panel);
    auto *list = new KeyList;
    lbEventos_ = list;
    lbEventos_->setObjectName("LBEventos");
    column->addWidget(lbEventos_, 1);
    labelEventos_ = new QLabel("0 eventos ");
    labelEventos_->setObjectName("LabelEventos");
    column->addWidget(labelEventos_);
    sbNuevoEvento_ = new QPushButton("Nuevo evento");
    sbNuevoEvento_->setObjectName("SBNuevoEvento");
    sbGuardarEvento_ = new QPushButton("Guardar cambios en evento");
    sbGuardarEvento_->setObjectName("SBGuardarEvento");
    sbEliminarEvento_ = new QPushButton("Eliminar evento");
    sbEliminarEvento_->setObjectName("SBEliminarEvento");
    for (QPushButton *b : {sbNuevoEvento_, sbGuardarEvento_, sbEliminarEvento_})
        column->addWidget(b);
    twEventos_->setWidget(panel);
    addDockWidget(Qt::RightDockWidgetArea, twEventos_);
    connect(sbNuevoEvento_, &QPushButton::clicked, this, [this] { session_.NewEvent(); });
    connect(sbGuardarEvento_, &QPushButton::clicked, this,
            [this] { session_.OverwriteEvent(lbEventos_->currentRow()); });
    connect(sbEliminarEvento_, &QPushButton::clicked, this,
            [this] { session_.DeleteEvent(lbEventos_->currentRow()); });
    connect(lbEventos_, &QListWidget::itemDoubleClicked, this,
            [this] { session_.ChooseEvent(lbEventos_->currentRow()); });
    OnInput(lbEventos_, &QListWidget::currentRowChanged, [this](int row) {
        session_.SelectEvent(row);
        sbEliminarEvento_->setEnabled(row >= 0);
    });
    list->onKey = [this](int key) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            session_.ChooseEvent(lbEventos_->currentRow());
            return true;
        }
        if (key == Qt::Key_Delete) {
            session_.DeleteEvent(lbEventos_->currentRow());
            return true;
        }
        return false;
    };
}

void TFormMain::ShowEvents() {
    lbEventos_->clear();
    const std::vector<database::TEvento> *events = session_.Events();
    const std::size_t count = events ? events->size() : 0;
    if (events)
        for (const database::TEvento &e : *events)
            lbEventos_->addItem(QString::fromStdString(session_.EventListText(e)));
    const int selected = session_.SelectedEvent();
    lbEventos_->setCurrentRow(selected >= 0 && selected < lbEventos_->count() ? selected : -1);
    labelEventos_->setText(QString(count == 1 ? "%1 evento " : "%1 eventos ").arg(count));
    sbNuevoEvento_->setEnabled(events != nullptr);
    sbGuardarEvento_->setEnabled(events != nullptr);
    sbEliminarEvento_->setEnabled(lbEventos_->currentRow() >= 0);
}

} // namespace cel::workspace
