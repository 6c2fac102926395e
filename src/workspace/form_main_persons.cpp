// The persons of the main window: the person list with its filters, A and B, synastry, the natal
// data of the current person and its events.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
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

#include "common/date_text.h"
#include "database/coordinate_text.h"
#include "database/record_checks.h"
#include "manager/clock.h"
#include "manager/item_editor.h"
#include "session/event_place.h"
#include "workspace/form_main.h"
#include "workspace/form_retorno.h"
#include "workspace/key_list.h"
#include "workspace/side_scroll.h"

namespace cel::workspace {

namespace {

QColor Stored(int v) {
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

database::TPersona *FindPerson(database::Database &db, std::int32_t id) {
    const int i = database::IndexOfId(db.Persons, id);
    return i < 0 ? nullptr : db.Persons[static_cast<std::size_t>(i)].get();
}

std::string FullName(const database::TPersona &p) {
    return p.Nombre + " " + p.Apellidos;
}

} // namespace

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
        if (page == 1 && sbSinastria_->isChecked()) {
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
    auto *list = new KeyList;
    lbPersona_ = list;
    lbPersona_->setObjectName("LBPersona");
    lbPersona_->setContextMenuPolicy(Qt::ActionsContextMenu);
    lbPersona_->setStyleSheet("QListWidget::item:selected { background: rgb(255,255,23); color: blue; }");
    column->addWidget(lbPersona_, 1);
    labelCount_ = new QLabel("0 de 0 ");
    labelCount_->setObjectName("LabelContador");
    column->addWidget(labelCount_);
    auto *buttons = new QHBoxLayout;
    sbNueva_ = new QPushButton("Nueva");
    sbNueva_->setObjectName("SBNueva");
    sbEditar_ = new QPushButton("Editar");
    sbEditar_->setObjectName("SBEditar");
    sbEliminar_ = new QPushButton("Eliminar");
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
    sbSinastria_->setText("Sinastría");
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

    connect(sbNueva_, &QPushButton::clicked, this, [this] { AddOrEditPerson(true); });
    connect(sbEditar_, &QPushButton::clicked, this, [this] { AddOrEditPerson(false); });
    connect(sbEliminar_, &QPushButton::clicked, this, [this] { DeletePerson(); });
    connect(sbTodos_, &QPushButton::clicked, this, [this] { ResetFilters(); });
    connect(sbSinastria_, &QToolButton::toggled, this, [this](bool on) { ToggleSynastry(on); });
    connect(lbPersona_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { ChoosePerson(item->data(Qt::UserRole).toInt()); });
    list->onKey = [this](int key) {
        QListWidgetItem *item = lbPersona_->currentItem();
        switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (item)
                ChoosePerson(item->data(Qt::UserRole).toInt());
            return true;
        case Qt::Key_Space:
            if (item)
                AddOrEditPerson(false);
            return true;
        case Qt::Key_Insert:
            AddOrEditPerson(true);
            return true;
        case Qt::Key_Delete:
            DeletePerson();
            return true;
        default:
            return false;
        }
    };
    connect(lbPersona_, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        if (updating_)
            return;
        if (database::TPersona *p = FindPerson(ws_.db, item->data(Qt::UserRole).toInt()))
            p->Marca = item->checkState() == Qt::Checked ? 1 : 0;
    });
    // Context menu: edit, delete, as person A, as person B.
    auto *editAction = new QAction(lbPersona_);
    auto *deleteAction = new QAction(lbPersona_);
    auto *asA = new QAction(lbPersona_);
    auto *asB = new QAction(lbPersona_);
    for (QAction *a : {editAction, deleteAction, asA, asB})
        lbPersona_->addAction(a);
    connect(lbPersona_, &QListWidget::currentItemChanged, this, [=, this](QListWidgetItem *item) {
        const QString entry = item ? item->text() : QString();
        editAction->setText("Editar datos de " + entry);
        deleteAction->setText("Eliminar a " + entry);
        asA->setText(entry + " como persona A");
        asB->setText(entry + " como persona B");
        for (QAction *a : {editAction, deleteAction, asA, asB})
            a->setEnabled(item != nullptr);
    });
    connect(editAction, &QAction::triggered, this, [this] { AddOrEditPerson(false); });
    connect(deleteAction, &QAction::triggered, this, [this] { DeletePerson(); });
    for (auto [action, a] : {std::pair{asA, true}, std::pair{asB, false}}) {
        connect(action, &QAction::triggered, this, [this, a = a] {
            QListWidgetItem *item = lbPersona_->currentItem();
            if (!item)
                return;
            const std::int32_t id = item->data(Qt::UserRole).toInt();
            if (!MayChartPerson(id))
                return;
            (a ? personA_ : personB_) = id;
            for (auto *rb : a ? rbA_ : rbB_)
                if (rb)
                    rb->setChecked(true);
            if (sbSinastria_->isChecked()) {
                ToggleSynastry(true);
            } else {
                currentPerson_ = id;
                SetDataMode(0);
                LoadCurrentPerson();
                natalChanged_ = false;
                RecomputeAll();
            }
            RefillPersons();
        });
    }
    return page;
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
    cbCon_->addItems({"Fecha y hora", "Solo fecha", "No fecha y hora", "Todos"});
    cbSexo_ = new QComboBox;
    cbSexo_->setObjectName("CBSexo");
    cbSexo_->addItems({"Fem.", "Mas.", "Otro", "Todos"});
    cbSexo_->setCurrentIndex(3);
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

    auto refilter = [this] {
        if (!resettingFilters_)
            RefillPersons();
    };
    connect(leNombre_, &QLineEdit::textChanged, this, refilter);
    connect(leApellido_, &QLineEdit::textChanged, this, refilter);
    for (QComboBox *c : {cbGrupo_, cbCon_, cbSexo_})
        connect(c, &QComboBox::currentIndexChanged, this, refilter);
    connect(cbSeleccionados_, &QCheckBox::toggled, this, refilter);
    connect(everyone, &QPushButton::clicked, this, [this] { ResetFilters(); });
    for (auto [button, mark] : {std::pair{all, 1}, std::pair{none, 0}}) {
        connect(button, &QPushButton::clicked, this, [this, mark = mark] {
            for (int i = 0; i < lbPersona_->count(); ++i)
                if (database::TPersona *p =
                        FindPerson(ws_.db, lbPersona_->item(i)->data(Qt::UserRole).toInt()))
                    p->Marca = static_cast<std::uint8_t>(mark);
            RefillPersons();
        });
    }
}

void TFormMain::ResetFilters() {
    resettingFilters_ = true;
    cbSeleccionados_->setChecked(false);
    cbGrupo_->setCurrentIndex(0);
    cbCon_->setCurrentIndex(0);
    cbSexo_->setCurrentIndex(3);
    leNombre_->clear();
    leApellido_->clear();
    resettingFilters_ = false;
    RefillPersons();
}

void TFormMain::RefillPersons() {
    filter_.selectedOnly = cbSeleccionados_->isChecked();
    filter_.name = leNombre_->text().toStdString();
    filter_.surname = leApellido_->text().toStdString();
    filter_.groupId = cbGrupo_->currentData().isValid() ? cbGrupo_->currentData().toInt() : -1;
    filter_.with = static_cast<session::BirthDataFilter>(std::max(0, cbCon_->currentIndex()));
    filter_.sex = cbSexo_->currentIndex() == 3 ? -1 : cbSexo_->currentIndex();
    const session::PersonList list = session::FilterPersons(ws_.db, filter_);
    const std::int32_t keep =
        lbPersona_->currentItem() ? lbPersona_->currentItem()->data(Qt::UserRole).toInt() : currentPerson_;
    const bool wasUpdating = updating_;
    updating_ = true;
    lbPersona_->clear();
    for (const database::TPersona *p : list.persons) {
        auto *item = new QListWidgetItem(QString::fromStdString(FullName(*p)));
        item->setData(Qt::UserRole, p->Id);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(p->Marca ? Qt::Checked : Qt::Unchecked);
        if (p->Id == personA_)
            item->setBackground(Stored(14283263));
        else if (p->Id == personB_)
            item->setBackground(Stored(14417870));
        const QColor text = p->IsDate == 0   ? QColor(Qt::gray)
                            : p->IsHora == 0 ? QColor(Qt::red)
                                             : QColor(0, 0, 128);
        item->setForeground(text);
        lbPersona_->addItem(item);
        if (p->Id == keep)
            lbPersona_->setCurrentItem(item);
    }
    labelCount_->setText(QString::fromStdString(session::PersonCounterText(list)));
    updating_ = wasUpdating;
}

bool TFormMain::MayChartPerson(std::int32_t personId) {
    const database::TPersona *p = FindPerson(ws_.db, personId);
    if (!p)
        return false;
    const std::string nameLine = FullName(*p);
    if (p->IsDate == 0) {
        notifier_.Notice(NoticeKind::Warning, false, true, nameLine + "\r\rNo tiene fecha natal asignada.");
        return false;
    }
    if (const auto problems = database::BirthProblems(ws_.db, *p); !problems.empty()) {
        notifier_.Notice(NoticeKind::Error, false, true, database::RefusedChartText(nameLine, problems));
        return false;
    }
    if (p->IsHora == 0)
        notifier_.Notice(NoticeKind::Warning, false, true,
                         nameLine + "\r\rNo tiene hora natal asignada. Se abrirá con las cero horas.");
    return true;
}

void TFormMain::ChoosePerson(std::int32_t personId) {
    if (!MayChartPerson(personId))
        return;
    AskUnsavedNatal();
    if (rbA_[0]->isChecked())
        personA_ = personId;
    else
        personB_ = personId;
    currentPerson_ = personId;
    SetDataMode(0);
    LoadCurrentPerson();
    natalChanged_ = false;
    RefillPersons();
    RecomputeAll();
}

void TFormMain::LoadCurrentPerson() {
    const bool wasUpdating = updating_;
    updating_ = true;
    database::TPersona *p = FindPerson(ws_.db, currentPerson_);
    const std::optional<session::PersonBirth> birth = p ? session::BirthOf(*p) : std::nullopt;
    if (birth) {
        labelNatal_->setText(QString::fromStdString(p->Nombre + " " + p->Apellidos + "  "));
        twEventos_->setWindowTitle("Eventos " + labelNatal_->text());
        ws_.natalRecord = birth->record;
        ws_.natalRecord.deltaTFlag = cbDeltaT_->currentIndex() == 1 ? 1 : 0;
        ws_.ComputeChart(session::ChartSide::Natal, birth->value);
        // An event still without a place stands at the person's place, at the same instant.
        if (database::IndexOfId(ws_.db.Places, ws_.eventRecord.placeId) < 0)
            if (const std::int32_t place = session::NewEventPlace(ws_.db, *p); place >= 0)
                session::MoveEventTo(ws_, place);
    } else {
        currentPerson_ = -1;
        labelNatal_->setText("<>: ");
        twEventos_->setWindowTitle("Eventos: ");
        chart::TDato now;
        now.deltaTFlag = 1;
        now.gmtFlag = 0;
        now.placeId = -1;
        // Without a place the clock is read as Greenwich time, the zone of no place.
        ws_.eventRecord = now;
        ws_.ComputeChart(session::ChartSide::Event, manager::UniversalNow());
        ws_.natalRecord = ws_.eventRecord;
        ws_.natal = ws_.event;
    }
    RefillEvents();
    LoadRecordIntoFields(ws_.Record(Side()));
    updating_ = wasUpdating;
}

Answer TFormMain::AskUnsavedNatal(bool mayCancel) {
    if (!natalChanged_ || currentPerson_ < 0)
        return Answer::No;
    const std::string text = "Han sido cambiados los datos natales de:\r\r" +
                             labelNatal_->text().toStdString() + "\r\rDesea guardar los cambios ?";
    const Answer answer = notifier_.Ask(text, QuestionStyle{false, mayCancel});
    if (answer == Answer::Yes) {
        SaveNatalChanges();
        if (natalChanged_ && mayCancel)
            return Answer::Cancel; // the file refused the save: the user keeps the changes
    } else if (answer == Answer::No) {
        natalChanged_ = false;
    }
    return answer;
}

void TFormMain::SaveNatalChanges() {
    database::TPersona *p = FindPerson(ws_.db, currentPerson_);
    if (!p || !Writable())
        return;
    SetDataMode(0);
    const chart::TDato &r = ws_.natalRecord;
    const database::TPersona before = *p;
    p->IdLugarNac = r.placeId;
    p->IsDate = 1;
    p->IsHora = 1;
    p->HoraUT = r.gmtFlag;
    p->Fecha = session::Workspace::EnteredValue(r);
    if (!SaveDataFile()) {
        // The record keeps what the file holds; the entry stays changed, with "Guardar" to try again.
        if (database::TPersona *again = FindPerson(ws_.db, currentPerson_))
            *again = before;
        return;
    }
    natalChanged_ = false;
    sbGuardar_->setEnabled(false);
    sbDeshacer_->setEnabled(false);
}

void TFormMain::UndoNatalChanges() {
    natalChanged_ = false;
    LoadCurrentPerson();
    sbGuardar_->setEnabled(false);
    sbDeshacer_->setEnabled(false);
    RecomputeAll();
}

void TFormMain::SetPersonAB(bool a) {
    AskUnsavedNatal();
    const std::int32_t id = a ? personA_ : personB_;
    currentPerson_ = id;
    LoadCurrentPerson();
    natalChanged_ = false;
    RecomputeAll();
}

void TFormMain::ToggleSynastry(bool on) {
    if (updating_)
        return;
    if (on) {
        database::TPersona *a = FindPerson(ws_.db, personA_);
        database::TPersona *b = FindPerson(ws_.db, personB_);
        const auto birthA = a ? session::BirthOf(*a) : std::nullopt;
        const auto birthB = b ? session::BirthOf(*b) : std::nullopt;
        if (!birthA || !birthB) {
            updating_ = true;
            sbSinastria_->setChecked(false);
            updating_ = false;
            notifier_.Notice(NoticeKind::Warning, false, true, "Debe seleccionar las dos personas.");
            return;
        }
        placePage_->setEnabled(false);
        const int deltaT = cbDeltaT_->currentIndex() == 1 ? 1 : 0;
        currentPerson_ = personA_;
        labelNatal_->setText(QString::fromStdString(FullName(*a) + "  "));
        ws_.natalRecord = birthA->record;
        ws_.natalRecord.deltaTFlag = deltaT;
        ws_.ComputeChart(session::ChartSide::Natal, birthA->value);
        ws_.eventRecord = birthB->record;
        ws_.eventRecord.deltaTFlag = deltaT;
        ws_.ComputeChart(session::ChartSide::Event, birthB->value);
        labelEvento_->setText(QString::fromStdString(FullName(*b) + ": "));
        updating_ = true;
        cbInt_->setCurrentIndex(chart::kNatalEcliptic - 1);
        cbExt_->setCurrentIndex(chart::kEventEcliptic - 1);
        rbDoble_->setChecked(true);
        WheelModeChanged();
        updating_ = false;
    } else {
        placePage_->setEnabled(true);
        currentPerson_ = personA_;
        LoadCurrentPerson();
        updating_ = true;
        cbInt_->setCurrentIndex(chart::kNatalEcliptic - 1);
        rbSimple_->setChecked(true);
        WheelModeChanged();
        updating_ = false;
    }
    RecomputeAll();
}

void TFormMain::AddOrEditPerson(bool add) {
    if (!EnsureDataFile())
        return;
    QListWidgetItem *item = lbPersona_->currentItem();
    if (!add && !item)
        return;
    // The item editor checks the shared use, stores the person and saves the data file.
    const std::optional<std::int32_t> stored =
        add ? manager::TFormItem::AddPerson(this, *store_)
            : manager::TFormItem::EditPerson(this, *store_, item->data(Qt::UserRole).toInt());
    if (!stored)
        return;
    RefillGroups();
    const std::int32_t place = SelectedPlace();
    RefillCountries();
    SelectPlace(place);
    natalChanged_ = false;
    RefillPersons();
    // The new or edited person is highlighted, not loaded.
    for (int i = 0; i < lbPersona_->count(); ++i)
        if (lbPersona_->item(i)->data(Qt::UserRole).toInt() == *stored)
            lbPersona_->setCurrentRow(i);
}

void TFormMain::DeletePerson() {
    QListWidgetItem *item = lbPersona_->currentItem();
    if (!item || !Writable())
        return;
    const std::int32_t id = item->data(Qt::UserRole).toInt();
    database::TPersona *p = FindPerson(ws_.db, id);
    if (!p)
        return;
    if (notifier_.Ask("Desea borrar de la lista a:\r\r" + FullName(*p), QuestionStyle{true, false}) !=
        Answer::Yes)
        return; // "No" is the default: Enter keeps the person
    const int index = database::IndexOfId(ws_.db.Persons, id);
    ws_.db.Persons.erase(ws_.db.Persons.begin() + index);
    ws_.db.Renumber(database::Kind::Person);
    currentPerson_ = personA_ = personB_ = -1;
    natalChanged_ = false;
    if (!SaveDataFile()) {
        RevertToFile(); // the person is back in the list, as in the file
        return;
    }
    LoadCurrentPerson();
    RefillPersons();
    RecomputeAll();
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
    connect(sbNuevoEvento_, &QPushButton::clicked, this, [this] { NewEvent(); });
    connect(sbGuardarEvento_, &QPushButton::clicked, this, [this] { OverwriteEvent(); });
    connect(sbEliminarEvento_, &QPushButton::clicked, this, [this] { DeleteEvent(); });
    connect(lbEventos_, &QListWidget::itemDoubleClicked, this, [this] { ChooseEvent(); });
    connect(lbEventos_, &QListWidget::currentRowChanged, this,
            [this](int row) { sbEliminarEvento_->setEnabled(row >= 0); });
    list->onKey = [this](int key) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ChooseEvent();
            return true;
        }
        if (key == Qt::Key_Delete) {
            DeleteEvent();
            return true;
        }
        return false;
    };
}

void TFormMain::RefillEvents() {
    const int keep = lbEventos_->currentRow();
    lbEventos_->clear();
    database::TPersona *p = FindPerson(ws_.db, currentPerson_);
    const std::size_t count = p ? p->Eventos.size() : 0;
    if (p) {
        for (const database::TEvento &e : p->Eventos)
            lbEventos_->addItem(QString::fromStdString(
                FormatDateTimeText(e.Fecha, "mmm-dd-yyyy", ws_.format) + " " + e.Nombre));
    }
    if (keep >= 0 && keep < lbEventos_->count())
        lbEventos_->setCurrentRow(keep);
    labelEventos_->setText(QString(count == 1 ? "%1 evento " : "%1 eventos ").arg(count));
    sbNuevoEvento_->setEnabled(p != nullptr);
    sbGuardarEvento_->setEnabled(p != nullptr);
    sbEliminarEvento_->setEnabled(lbEventos_->currentRow() >= 0);
}

void TFormMain::ChooseEvent() {
    database::TPersona *p = FindPerson(ws_.db, currentPerson_);
    const int row = lbEventos_->currentRow();
    if (!p || row < 0 || row >= static_cast<int>(p->Eventos.size()))
        return;
    const database::TEvento &e = p->Eventos[static_cast<std::size_t>(row)];
    if (const auto problems = database::EventProblems(ws_.db, e); !problems.empty()) {
        notifier_.Notice(NoticeKind::Error, false, true,
                         database::RefusedChartText("Evento \"" + e.Nombre + "\"", problems));
        return;
    }
    chart::TDato &r = ws_.eventRecord;
    r.placeId = e.IdLugarGeo;
    r.ownerId = e.Id;
    r.gmtFlag = e.HoraUT == 1 ? 1 : 0;
    r.deltaTFlag = cbDeltaT_->currentIndex() == 1 ? 1 : 0;
    ws_.ComputeChart(session::ChartSide::Event, e.Fecha);
    SetDataMode(3);
    RecomputeAll();
}

namespace {

void SortEvents(std::vector<database::TEvento> &events) {
    std::stable_sort(
        events.begin(), events.end(),
        [](const database::TEvento &a, const database::TEvento &b) { return a.Fecha > b.Fecha; });
}

} // namespace

void TFormMain::NewEvent() {
    database::TPersona *p = FindPerson(ws_.db, currentPerson_);
    if (!p || !Writable())
        return;
    std::string name;
    if (!database::AskEventName(notifier_, "Evento nuevo para " + labelNatal_->text().toStdString(),
                                "Nombre evento:", name))
        return;
    database::TEvento e;
    e.Id = static_cast<std::int32_t>(p->Eventos.size()) + 1;
    e.Nombre = name;
    e.IdLugarGeo = SelectedPlace();
    e.HoraUT = ws_.eventRecord.gmtFlag;
    e.IsDate = 1;
    e.IsHora = 1;
    e.Fecha = session::Workspace::EnteredValue(ws_.eventRecord);
    const std::vector<database::TEvento> before = p->Eventos;
    p->Eventos.push_back(e);
    SortEvents(p->Eventos);
    const auto at = std::find_if(p->Eventos.begin(), p->Eventos.end(),
                                 [&](const database::TEvento &x) { return x.Id == e.Id; });
    const std::ptrdiff_t row = at - p->Eventos.begin();
    if (!SaveDataFile()) {
        RestoreEvents(before);
        return;
    }
    p = FindPerson(ws_.db, currentPerson_); // a save sorts the lists; the person record stays
    RefillEvents();
    lbEventos_->setCurrentRow(static_cast<int>(row));
}

void TFormMain::OverwriteEvent() {
    database::TPersona *p = FindPerson(ws_.db, currentPerson_);
    const int row = lbEventos_->currentRow();
    if (!p || row < 0 || row >= static_cast<int>(p->Eventos.size()) || !Writable())
        return;
    const std::vector<database::TEvento> before = p->Eventos;
    database::TEvento &e = p->Eventos[static_cast<std::size_t>(row)];
    const std::string line =
        e.Nombre + "\r" + FormatDateTimeText(e.Fecha, "dddd, mmm dd yyyy, hh:nn:ss am/pm", ws_.format);
    if (!notifier_.Notice(NoticeKind::Question, true, true, "Desea sobreescribir el evento ?\r\r" + line))
        return;
    std::string name = e.Nombre;
    if (database::AskEventName(notifier_, "Editar evento", "Nuevo nombre:", name))
        e.Nombre = name;
    e.IdLugarGeo = SelectedPlace();
    e.HoraUT = ws_.eventRecord.gmtFlag;
    e.IsDate = 1;
    e.IsHora = 1;
    e.Fecha = session::Workspace::EnteredValue(ws_.eventRecord);
    const std::int32_t id = e.Id;
    SortEvents(p->Eventos);
    if (!SaveDataFile()) {
        RestoreEvents(before);
        return;
    }
    RefillEvents();
    for (std::size_t i = 0; i < p->Eventos.size(); ++i)
        if (p->Eventos[i].Id == id)
            lbEventos_->setCurrentRow(static_cast<int>(i));
}

void TFormMain::DeleteEvent() {
    database::TPersona *p = FindPerson(ws_.db, currentPerson_);
    const int row = lbEventos_->currentRow();
    if (!p || row < 0 || row >= static_cast<int>(p->Eventos.size()) || !Writable())
        return;
    const database::TEvento &e = p->Eventos[static_cast<std::size_t>(row)];
    const std::string line =
        e.Nombre + "\r" + FormatDateTimeText(e.Fecha, "dddd, mmm dd yyyy, hh:nn:ss am/pm", ws_.format);
    if (notifier_.Ask("Desea eliminar el evento ?\r\r" + line, QuestionStyle{true, false}) != Answer::Yes)
        return;
    const std::vector<database::TEvento> before = p->Eventos;
    p->Eventos.erase(p->Eventos.begin() + row);
    if (!SaveDataFile()) {
        RestoreEvents(before);
        return;
    }
    lbEventos_->setCurrentRow(-1);
    RefillEvents();
}

void TFormMain::RestoreEvents(const std::vector<database::TEvento> &events) {
    if (database::TPersona *p = FindPerson(ws_.db, currentPerson_))
        p->Eventos = events;
    RefillEvents();
}

} // namespace cel::workspace
