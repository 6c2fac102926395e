#include "item_editor.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabBar>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "colour_suite.h"
#include "database/coordinate_text.h"
#include "database/text_cleanup.h"
#include "place_import_window.h"

namespace cel::manager {

using namespace cel::database;

namespace {

QString Q(const std::string &s) {
    return QString::fromStdString(s);
}

std::string S(const QString &s) {
    return s.toStdString();
}

QSpinBox *Spin(QWidget *parent, const char *name, int min, int max) {
    auto *box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(min, max);
    box->setAlignment(Qt::AlignRight);
    return box;
}

QLineEdit *Edit(QWidget *parent, const char *name) {
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

QPushButton *Button(QWidget *parent, const char *name, const QString &text, const QString &hint = {}) {
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    if (!hint.isEmpty())
        button->setToolTip(hint);
    button->setAutoDefault(false);
    return button;
}

QRadioButton *Radio(QWidget *parent, const char *name, const QString &text) {
    auto *radio = new QRadioButton(text, parent);
    radio->setObjectName(name);
    return radio;
}

// Names equal ignoring ASCII case within a list, another Id than `id`.
template <class T> bool NameTaken(const RecordList<T> &list, const std::string &name, std::int32_t id) {
    return std::any_of(list.begin(), list.end(),
                       [&](const auto &r) { return r->Id != id && SameIgnoringAsciiCase(r->Nombre, name); });
}

constexpr const char *kEventDate = "dddd, mmm dd yyyy, hh:nn:ss am/pm";

} // namespace

const char *KindWord(Kind kind) {
    switch (kind) {
    case Kind::Country:
        return "País";
    case Kind::Place:
        return "Lugar Geográfico";
    case Kind::PersonGroup:
        return "Grupo Persona";
    case Kind::Person:
        return "Persona";
    case Kind::BusinessGroup:
        return "Grupo Empresa";
    case Kind::Business:
        break;
    }
    return "Empresa";
}

TFormItem::TFormItem(DataStore &store, Kind kind, std::int32_t id, EditorMode mode, QWidget *parent)
    : QDialog(parent), store_(store), kind_(kind), mode_(mode), isNew_(id < 0) {
    setObjectName("TFormItem");
    ApplySuite(this);
    setWindowTitle(QString(isNew_ ? "Crear " : "Editar ") + QString::fromUtf8(KindWord(kind)));
    auto *layout = new QVBoxLayout(this);
    BuildNamePart();
    layout->addWidget(nombre_->parentWidget());
    if (kind == Kind::Place)
        layout->addWidget(BuildPlacePage());
    if (kind == Kind::Person)
        layout->addWidget(BuildPersonPage(), 1);
    if (kind == Kind::Business) {
        auto *page = new QGroupBox("Empresa", this);
        page->setObjectName("GBEmpresa");
        page->setMinimumHeight(300);
        layout->addWidget(page, 1);
    }

    auto *strip = new QHBoxLayout;
    prev_ = Button(this, "BTAnterior", "<", "Persona anterior");
    next_ = Button(this, "BTSiguiente", ">", "Persona siguiente");
    prev_->hide();
    next_->hide();
    auto *ok = Button(this, "BTAcuerdo", "De Acuerdo");
    ok->setDefault(true);
    ok->setAutoDefault(true);
    auto *cancel = Button(this, "BTCancelar", "Cancelar");
    strip->addWidget(prev_);
    strip->addWidget(next_);
    strip->addStretch(1);
    strip->addWidget(ok);
    strip->addWidget(cancel);
    layout->addLayout(strip);
    connect(ok, &QPushButton::clicked, this, &TFormItem::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(prev_, &QPushButton::clicked, this, [this] { Navigate(-1); });
    connect(next_, &QPushButton::clicked, this, [this] { Navigate(1); });

    const int height = kind == Kind::Place                                ? 230
                       : (kind == Kind::Person || kind == Kind::Business) ? 400
                                                                          : 80;
    resize(kind == Kind::Person ? 640 : 480, std::max(height, sizeHint().height()));

    if (isNew_) {
        editedId_ = static_cast<std::int32_t>(std::min<std::int64_t>(store_.Db().Counter(kind), kMaxId));
        if (kind == Kind::Person) {
            work_ = TPersona{};
            FillGroupLists();
            FillEventList(-1);
            LoadTab();
        }
        if (kind == Kind::Place)
            LoadPlace(TLugar_Geo{});
    } else {
        LoadRecord(id);
    }
}

void TFormItem::BuildNamePart() {
    auto *part = new QWidget(this);
    auto *form = new QFormLayout(part);
    form->setContentsMargins(0, 0, 0, 0);
    nombre_ = Edit(part, "EDNombre");
    form->addRow("Nombre:", nombre_);
}

QWidget *TFormItem::BuildPlacePage() {
    auto *page = new QGroupBox(QString::fromUtf8(KindWord(Kind::Place)), this);
    page->setObjectName("GBLugar");
    auto *grid = new QGridLayout(page);
    int row = 0;
    pais_ = new QComboBox(page);
    pais_->setObjectName("CMBPais");
    FillCountryCombo(pais_, true);
    auto *addCountry = Button(page, "BTAgregarPais", QString::fromUtf8("Agregar país"));
    grid->addWidget(new QLabel(QString::fromUtf8("País:"), page), row, 0);
    grid->addWidget(pais_, row, 1, 1, 4);
    grid->addWidget(addCountry, row++, 5);
    connect(addCountry, &QPushButton::clicked, this, &TFormItem::AddCountry);

    lonDeg_ = Spin(page, "SELonGrados", -1, 180);
    lonMin_ = Spin(page, "SELonMinutos", -1, 60);
    lonSec_ = Spin(page, "SELonSegundos", -1, 60);
    lonW_ = Radio(page, "RBLonW", "W");
    lonE_ = Radio(page, "RBLonE", "E");
    auto *lonGroup = new QButtonGroup(page);
    lonGroup->addButton(lonW_);
    lonGroup->addButton(lonE_);
    lonW_->setChecked(true);
    grid->addWidget(new QLabel("Longitud:", page), row, 0);
    grid->addWidget(lonDeg_, row, 1);
    grid->addWidget(lonMin_, row, 2);
    grid->addWidget(lonSec_, row, 3);
    grid->addWidget(lonW_, row, 4);
    grid->addWidget(lonE_, row++, 5);

    latDeg_ = Spin(page, "SELatGrados", -1, 90);
    latMin_ = Spin(page, "SELatMinutos", -1, 60);
    latSec_ = Spin(page, "SELatSegundos", -1, 60);
    latN_ = Radio(page, "RBLatN", "N");
    latS_ = Radio(page, "RBLatS", "S");
    auto *latGroup = new QButtonGroup(page);
    latGroup->addButton(latN_);
    latGroup->addButton(latS_);
    latN_->setChecked(true);
    grid->addWidget(new QLabel("Latitud:", page), row, 0);
    grid->addWidget(latDeg_, row, 1);
    grid->addWidget(latMin_, row, 2);
    grid->addWidget(latSec_, row, 3);
    grid->addWidget(latN_, row, 4);
    grid->addWidget(latS_, row++, 5);

    tzHour_ = Spin(page, "SETZHoras", -12, 12);
    tzMin_ = Spin(page, "SETZMinutos", 0, 59);
    grid->addWidget(new QLabel("Time Zone (TZ):", page), row, 0);
    grid->addWidget(tzHour_, row, 1);
    grid->addWidget(tzMin_, row++, 2);
    dst_ = new QCheckBox("Daylight  Save Time", page);
    dst_->setObjectName("CBDST");
    dst_->hide();

    descripcion_ = Edit(page, "EDDescripcion");
    grid->addWidget(new QLabel(QString::fromUtf8("Descripción:"), page), row, 0);
    grid->addWidget(descripcion_, row++, 1, 1, 5);

    const auto lonChanged = [this] {
        if (updating_)
            return;
        lonTouched_ = true;
        NormaliseCoordinate(lonDeg_, lonMin_, lonSec_, 180);
    };
    const auto latChanged = [this] {
        if (updating_)
            return;
        latTouched_ = true;
        NormaliseCoordinate(latDeg_, latMin_, latSec_, 90);
    };
    for (QSpinBox *box : {lonDeg_, lonMin_, lonSec_})
        connect(box, &QSpinBox::valueChanged, this, lonChanged);
    for (QSpinBox *box : {latDeg_, latMin_, latSec_})
        connect(box, &QSpinBox::valueChanged, this, latChanged);
    connect(lonE_, &QRadioButton::toggled, this, [this] { lonTouched_ = lonTouched_ || !updating_; });
    connect(latS_, &QRadioButton::toggled, this, [this] { latTouched_ = latTouched_ || !updating_; });
    for (QSpinBox *box : {tzHour_, tzMin_})
        connect(box, &QSpinBox::valueChanged, this, [this] { tzTouched_ = tzTouched_ || !updating_; });
    return page;
}

QWidget *TFormItem::BuildPersonPage() {
    auto *page = new QWidget(this);
    page->setObjectName("PGPersona");
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *form = new QFormLayout;
    apellidos_ = Edit(page, "EDApellidos");
    form->addRow("Apellidos:", apellidos_);
    auto *sexBox = new QWidget(page);
    auto *sexLayout = new QHBoxLayout(sexBox);
    sexLayout->setContentsMargins(0, 0, 0, 0);
    sexoGroup_ = new QButtonGroup(page);
    const char *names[] = {"RBFemenino", "RBMasculino", "RBOtro"};
    const char *texts[] = {"&Femenino", "&Masculino", "&Otro"};
    for (int i = 0; i < 3; ++i) {
        sexo_[i] = Radio(sexBox, names[i], texts[i]);
        sexoGroup_->addButton(sexo_[i], i);
        sexLayout->addWidget(sexo_[i]);
    }
    sexLayout->addStretch(1);
    form->addRow("Sexo:", sexBox);
    layout->addLayout(form);

    layout->addWidget(new QLabel("Datos:", page));
    tabs_ = new QTabBar(page);
    tabs_->setObjectName("TBDatos");
    for (const char *t : {"Nacimiento", "Residencia", "Trabajo", "Eventos", "Observaciones", "Grupos"})
        tabs_->addTab(t);
    layout->addWidget(tabs_);

    placeSelector_ = new QWidget(page);
    auto *sel = new QGridLayout(placeSelector_);
    sel->setContentsMargins(0, 0, 0, 0);
    lugarPais_ = new QComboBox(placeSelector_);
    lugarPais_->setObjectName("CMBPaisLugar");
    lugar_ = new QComboBox(placeSelector_);
    lugar_->setObjectName("CMBLugar");
    lugar_->setMinimumContentsLength(28);
    auto *addPlace =
        Button(placeSelector_, "BTAgregarLugar", "+", QString::fromUtf8("Agregar lugar geográfico"));
    auto *editPlace =
        Button(placeSelector_, "BTEditarLugar", "...", QString::fromUtf8("Editar Agregar lugar geográfico"));
    auto *importPlace =
        Button(placeSelector_, "BTImportarLugar", "Importar", QString::fromUtf8("Importar lugar geográfico"));
    sel->addWidget(new QLabel(QString::fromUtf8("País:"), placeSelector_), 0, 0);
    sel->addWidget(lugarPais_, 0, 1);
    sel->addWidget(new QLabel("Lugar:", placeSelector_), 0, 2);
    sel->addWidget(lugar_, 0, 3);
    sel->setColumnStretch(3, 1);
    for (QPushButton *b : {addPlace, editPlace})
        b->setFixedWidth(b->fontMetrics().horizontalAdvance("...") + 24);
    sel->addWidget(addPlace, 0, 4);
    sel->addWidget(editPlace, 0, 5);
    sel->addWidget(importPlace, 0, 6);
    layout->addWidget(placeSelector_);
    FillCountryCombo(lugarPais_, true);
    FillPlaceCombo();
    connect(lugarPais_, &QComboBox::currentIndexChanged, this, [this] {
        if (updating_)
            return;
        const std::int32_t keep = ChosenPlace();
        FillPlaceCombo();
        SelectPlace(keep);
        UpdateWorking();
    });
    connect(lugar_, &QComboBox::currentIndexChanged, this, [this] { UpdateWorking(); });
    connect(addPlace, &QPushButton::clicked, this, [this] { AddOrEditPlace(false); });
    connect(editPlace, &QPushButton::clicked, this, [this] { AddOrEditPlace(true); });
    connect(importPlace, &QPushButton::clicked, this, &TFormItem::ImportPlace);

    pages_ = new QStackedWidget(page);
    pages_->setObjectName("SKDatos");
    pages_->addWidget(BuildDatePage());
    pages_->addWidget(BuildAddressPage());
    observaciones_ = new QPlainTextEdit(pages_);
    observaciones_->setObjectName("MMObservaciones");
    pages_->addWidget(observaciones_);
    pages_->addWidget(BuildGroupsPage());
    layout->addWidget(pages_, 1);

    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
        tab_ = static_cast<PersonTab>(index);
        LoadTab();
    });
    connect(apellidos_, &QLineEdit::textChanged, this, [this] { UpdateWorking(); });
    connect(sexoGroup_, &QButtonGroup::idClicked, this, [this] { UpdateWorking(); });
    connect(observaciones_, &QPlainTextEdit::textChanged, this, [this] { UpdateWorking(); });
    for (QLineEdit *e : {dir_, tel_, cel_, fax_, web_, email_})
        connect(e, &QLineEdit::textChanged, this, [this] { UpdateWorking(); });
    connect(emailValido_, &QComboBox::currentIndexChanged, this, [this] { UpdateWorking(); });
    updating_ = true;
    tabs_->setCurrentIndex(static_cast<int>(PersonTab::Residencia));
    updating_ = false;
    return page;
}

QWidget *TFormItem::BuildDatePage() {
    auto *page = new QWidget(this);
    page->setObjectName("PGFecha");
    auto *grid = new QGridLayout(page);
    fechaCheck_ = new QCheckBox("Fecha:", page);
    fechaCheck_->setObjectName("CBFecha");
    fecha_ = new QDateEdit(page);
    fecha_->setObjectName("DTFecha");
    fecha_->setLocale(QLocale(QLocale::Spanish, QLocale::Spain));
    fecha_->setDisplayFormat("MMM-dd-yyyy,ddd");
    fecha_->setCalendarPopup(true);
    fecha_->setMinimumWidth(fecha_->fontMetrics().horizontalAdvance("MMM-00-0000,mmmm") + 40);
    fecha_->setMinimumDate(QDate(100, 1, 1));
    fecha_->setMaximumDate(QDate(9999, 12, 31));
    horaCheck_ = new QCheckBox("Hora:", page);
    horaCheck_->setObjectName("CBHora");
    hora_ = new QTimeEdit(page);
    hora_->setObjectName("TMHora");
    hora_->setDisplayFormat("HH:mm:ss");
    h12_ = Radio(page, "RB12h", "12 h");
    h24_ = Radio(page, "RB24h", "24 h");
    auto *clock = new QButtonGroup(page);
    clock->addButton(h12_);
    clock->addButton(h24_);
    h24_->setChecked(true);
    local_ = Radio(page, "RBLocal", "local");
    ut_ = Radio(page, "RBUT", "tu (gmt)");
    auto *scale = new QButtonGroup(page);
    scale->addButton(local_);
    scale->addButton(ut_);
    local_->setChecked(true);
    msCheck_ = new QCheckBox("Activar milisegundos", page);
    msCheck_->setObjectName("CBMilisegundos");
    ms_ = Spin(page, "SEMilisegundos", 0, 999);
    ms_->setEnabled(false);
    localLabel_ = new QLabel("< >", page);
    localLabel_->setObjectName("LALocal");
    utLabel_ = new QLabel("< >", page);
    utLabel_->setObjectName("LAUT");
    grid->addWidget(fechaCheck_, 0, 0);
    grid->addWidget(fecha_, 0, 1);
    grid->addWidget(horaCheck_, 1, 0);
    grid->addWidget(hora_, 1, 1);
    grid->addWidget(h12_, 1, 2);
    grid->addWidget(h24_, 1, 3);
    grid->addWidget(local_, 2, 1);
    grid->addWidget(ut_, 2, 2);
    grid->addWidget(msCheck_, 3, 0);
    grid->addWidget(ms_, 3, 1);
    grid->addWidget(localLabel_, 4, 0, 1, 4);
    grid->addWidget(utLabel_, 5, 0, 1, 4);

    eventPanel_ = new QWidget(page);
    auto *events = new QGridLayout(eventPanel_);
    events->setContentsMargins(0, 0, 0, 0);
    eventos_ = new QListWidget(eventPanel_);
    eventos_->setObjectName("LBEventos");
    eventCount_ = new QLabel("0 eventos ", eventPanel_);
    eventCount_->setObjectName("LAEventos");
    auto *newEvent = Button(eventPanel_, "BTNuevoEvento", "Nuevo evento");
    saveEvent_ = Button(eventPanel_, "BTGuardarEvento", "Guardar cambios en evento");
    deleteEvent_ = Button(eventPanel_, "BTEliminarEvento", "Eliminar evento");
    events->addWidget(eventCount_, 0, 0);
    events->addWidget(eventos_, 1, 0, 1, 3);
    events->addWidget(newEvent, 2, 0);
    events->addWidget(saveEvent_, 2, 1);
    events->addWidget(deleteEvent_, 2, 2);
    grid->addWidget(eventPanel_, 0, 4, 6, 1);
    grid->setColumnStretch(4, 1);
    connect(newEvent, &QPushButton::clicked, this, &TFormItem::NewEvent);
    connect(saveEvent_, &QPushButton::clicked, this, &TFormItem::SaveEvent);
    connect(deleteEvent_, &QPushButton::clicked, this, &TFormItem::DeleteEvent);
    connect(eventos_, &QListWidget::itemActivated, this, [this] { LoadEvent(eventos_->currentRow()); });
    connect(eventos_, &QListWidget::currentRowChanged, this, [this] {
        saveEvent_->setEnabled(eventos_->currentRow() >= 0);
        deleteEvent_->setEnabled(eventos_->currentRow() >= 0);
    });

    connect(fechaCheck_, &QCheckBox::toggled, this, [this] {
        UpdateDateEnabling();
        UpdateWorking();
    });
    connect(horaCheck_, &QCheckBox::toggled, this, [this] {
        UpdateDateEnabling();
        UpdateWorking();
    });
    connect(msCheck_, &QCheckBox::toggled, this, [this] { UpdateDateEnabling(); });
    connect(fecha_, &QDateEdit::dateChanged, this, [this] { UpdateWorking(); });
    connect(hora_, &QTimeEdit::timeChanged, this, [this] { UpdateWorking(); });
    connect(ms_, &QSpinBox::valueChanged, this, [this] { UpdateWorking(); });
    connect(local_, &QRadioButton::toggled, this, [this] { UpdateWorking(); });
    connect(h12_, &QRadioButton::toggled, this,
            [this](bool on) { hora_->setDisplayFormat(on ? "hh:mm:ss AP" : "HH:mm:ss"); });
    UpdateDateEnabling();
    return page;
}

QWidget *TFormItem::BuildAddressPage() {
    auto *page = new QWidget(this);
    page->setObjectName("PGDireccion");
    auto *form = new QFormLayout(page);
    dir_ = Edit(page, "EDDir");
    tel_ = Edit(page, "EDTel");
    cel_ = Edit(page, "EDCel");
    fax_ = Edit(page, "EDFax");
    web_ = Edit(page, "EDWeb");
    email_ = Edit(page, "EDEmail");
    emailValido_ = new QComboBox(page);
    emailValido_->setObjectName("CMBEmailValido");
    emailValido_->addItems({"no", QString::fromUtf8("sí"), "sc", "na"});
    form->addRow(QString::fromUtf8("Dirección:"), dir_);
    form->addRow(QString::fromUtf8("Telefóno(s):"), tel_);
    form->addRow("Celular (movil):", cel_);
    form->addRow("Fax:", fax_);
    form->addRow(QString::fromUtf8("Página WEB"), web_);
    form->addRow("e-mail:", email_);
    form->addRow(QString::fromUtf8("e-mail es válido:"), emailValido_);
    return page;
}

QWidget *TFormItem::BuildGroupsPage() {
    auto *page = new QWidget(this);
    page->setObjectName("PGGrupos");
    auto *grid = new QGridLayout(page);
    gruposDisp_ = new QListWidget(page);
    gruposDisp_->setObjectName("LBGruposDisp");
    gruposAsig_ = new QListWidget(page);
    gruposAsig_->setObjectName("LBGruposAsig");
    auto *add = Button(page, "BTAsignarGrupo", "<");
    auto *remove = Button(page, "BTQuitarGrupo", ">");
    grid->addWidget(new QLabel("Grupos asignados a esta persona:", page), 0, 0);
    grid->addWidget(new QLabel("Grupos disponibles en este archivo:", page), 0, 2);
    grid->addWidget(gruposAsig_, 1, 0, 2, 1);
    grid->addWidget(add, 1, 1);
    grid->addWidget(remove, 2, 1);
    grid->addWidget(gruposDisp_, 1, 2, 2, 1);
    grid->setRowStretch(1, 1);
    grid->setRowStretch(2, 1);
    connect(add, &QPushButton::clicked, this, &TFormItem::AssignGroup);
    connect(remove, &QPushButton::clicked, this, &TFormItem::RemoveGroup);
    connect(gruposDisp_, &QListWidget::itemDoubleClicked, this, &TFormItem::AssignGroup);
    connect(gruposAsig_, &QListWidget::itemDoubleClicked, this, &TFormItem::RemoveGroup);
    return page;
}

// ---- loading ----

void TFormItem::LoadRecord(std::int32_t id) {
    Database &db = store_.Db();
    editedId_ = id;
    isNew_ = false;
    updating_ = true;
    switch (kind_) {
    case Kind::Country:
        nombre_->setText(Q(NameOfId(db.Countries, id)));
        break;
    case Kind::PersonGroup:
        nombre_->setText(Q(NameOfId(db.PersonGroups, id)));
        break;
    case Kind::BusinessGroup:
        nombre_->setText(Q(NameOfId(db.BusinessGroups, id)));
        break;
    case Kind::Business:
        nombre_->setText(Q(NameOfId(db.Businesses, id)));
        break;
    case Kind::Place: {
        const int i = IndexOfId(db.Places, id);
        if (i >= 0) {
            nombre_->setText(Q(db.Places[i]->Nombre));
            LoadPlace(*db.Places[i]);
        }
        break;
    }
    case Kind::Person: {
        const int i = IndexOfId(db.Persons, id);
        work_ = i >= 0 ? *db.Persons[i] : TPersona{};
        work_.Observaciones = DecodeObservations(work_.Observaciones);
        nombre_->setText(Q(work_.Nombre));
        apellidos_->setText(Q(work_.Apellidos));
        FillGroupLists();
        FillEventList(work_.Eventos.empty() ? -1 : 0);
        selectedEvent_ = work_.Eventos.empty() ? -1 : 0;
        break;
    }
    }
    updating_ = false;
    if (kind_ == Kind::Person)
        LoadTab();
}

void TFormItem::LoadPlace(const TLugar_Geo &place) {
    updating_ = true;
    workPlace_ = place;
    SelectCountry(pais_, isNew_ ? -1 : place.IdPais);
    const DmsParts lon = SplitDegrees(place.Lon);
    const DmsParts lat = SplitDegrees(place.Lat);
    const DmsParts tz = SplitDegrees(place.TZ);
    lonDeg_->setValue(std::min(lon.degrees, 179));
    lonMin_->setValue(lon.minutes);
    lonSec_->setValue(lon.seconds);
    (lon.negative ? lonE_ : lonW_)->setChecked(true);
    latDeg_->setValue(std::min(lat.degrees, 89));
    latMin_->setValue(lat.minutes);
    latSec_->setValue(lat.seconds);
    (lat.negative ? latS_ : latN_)->setChecked(true);
    tzHour_->setValue(std::clamp(tz.negative ? -tz.degrees : tz.degrees, -12, 12));
    tzMin_->setValue(tz.minutes);
    dst_->setChecked(place.DST == 1);
    descripcion_->setText(Q(place.Descripcion));
    lonTouched_ = latTouched_ = tzTouched_ = false;
    updating_ = false;
}

void TFormItem::ShowTab(PersonTab tab) {
    if (!tabs_)
        return;
    if (tabs_->currentIndex() == static_cast<int>(tab))
        LoadTab();
    else
        tabs_->setCurrentIndex(static_cast<int>(tab));
}

void TFormItem::LoadTab() {
    if (kind_ != Kind::Person)
        return;
    updating_ = true;
    const bool dates = tab_ == PersonTab::Nacimiento || tab_ == PersonTab::Eventos;
    const bool address = tab_ == PersonTab::Residencia || tab_ == PersonTab::Trabajo;
    placeSelector_->setVisible(dates || address);
    eventPanel_->setVisible(tab_ == PersonTab::Eventos);
    if (dates)
        pages_->setCurrentIndex(0);
    else if (address)
        pages_->setCurrentIndex(1);
    else if (tab_ == PersonTab::Observaciones)
        pages_->setCurrentIndex(2);
    else
        pages_->setCurrentIndex(3);

    for (int i = 0; i < 3; ++i)
        sexo_[i]->setChecked(work_.Sexo == i);
    if (work_.Sexo < 0 || work_.Sexo > 2) {
        sexoGroup_->setExclusive(false);
        for (QRadioButton *r : sexo_)
            r->setChecked(false);
        sexoGroup_->setExclusive(true);
    }

    if (tab_ == PersonTab::Nacimiento) {
        SelectPlace(work_.IdLugarNac);
        LoadDateControls(work_.IsDate == 1, work_.IsHora == 1, work_.Fecha, work_.HoraUT);
    } else if (address) {
        const TLugar &a = tab_ == PersonTab::Residencia ? work_.Residencia : work_.Trabajo;
        SelectPlace(a.IdLugarGeo);
        dir_->setText(Q(a.Dir));
        tel_->setText(Q(a.Tel));
        cel_->setText(Q(a.Cel));
        fax_->setText(Q(a.Fax));
        web_->setText(Q(a.Web));
        email_->setText(Q(a.Email));
        emailValido_->setCurrentIndex(std::min<int>(a.EmailValido, 3));
    } else if (tab_ == PersonTab::Eventos) {
        updating_ = false;
        if (selectedEvent_ >= 0 && selectedEvent_ < static_cast<int>(work_.Eventos.size())) {
            LoadEvent(selectedEvent_);
        } else {
            updating_ = true;
            const QDateTime now = QDateTime::currentDateTime();
            const QDate d = now.date();
            const QTime t = now.time();
            LoadDateControls(
                true, true,
                EncodeDateTime({d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), 0}), 0);
        }
        updating_ = true;
    } else if (tab_ == PersonTab::Observaciones) {
        observaciones_->setPlainText(Q(work_.Observaciones));
    } else {
        FillGroupLists();
    }
    updating_ = false;
    UpdateDateEnabling();
    UpdateTimeLabels();
}

void TFormItem::LoadDateControls(bool isDate, bool isHora, TDateTime fecha, std::int32_t horaUT) {
    const bool was = updating_;
    updating_ = true;
    fechaCheck_->setChecked(isDate);
    horaCheck_->setChecked(isDate && isHora);
    if (isDate) {
        const CivilDateTime dt = DecodeDateTime(fecha);
        fecha_->setDate(QDate(dt.year, dt.month, dt.day));
        hora_->setTime(QTime(dt.hour, dt.minute, dt.second));
        ms_->setValue(dt.millisecond);
        msCheck_->setChecked(dt.millisecond != 0);
    }
    (horaUT == 1 ? ut_ : local_)->setChecked(true);
    updating_ = was;
}

void TFormItem::LoadEvent(int row) {
    if (row < 0 || row >= static_cast<int>(work_.Eventos.size()))
        return;
    selectedEvent_ = row;
    const TEvento &e = work_.Eventos[static_cast<std::size_t>(row)];
    updating_ = true;
    SelectPlace(e.IdLugarGeo);
    LoadDateControls(e.IsDate == 1, e.IsHora == 1, e.Fecha, e.HoraUT);
    updating_ = false;
    UpdateDateEnabling();
    UpdateTimeLabels();
}

void TFormItem::UpdateDateEnabling() {
    if (!fechaCheck_)
        return;
    const bool date = fechaCheck_->isChecked();
    horaCheck_->setEnabled(date);
    fecha_->setEnabled(date);
    hora_->setEnabled(date && horaCheck_->isChecked());
    msCheck_->setEnabled(date && horaCheck_->isChecked());
    ms_->setEnabled(msCheck_->isEnabled() && msCheck_->isChecked());
}

bool TFormItem::DateIsSet() const {
    return fechaCheck_->isChecked() && fecha_->date().isValid();
}

TDateTime TFormItem::FechaFromControls() const {
    const QDate d = fecha_->date();
    const std::int64_t days = DaysFromCivil(d.year(), d.month(), d.day());
    long double value = std::llabs(days);
    if (horaCheck_->isChecked() && horaCheck_->isEnabled()) {
        const QTime t = hora_->time();
        const int ms = ms_->isEnabled() ? ms_->value() : 0;
        value += ((t.hour() * 60 + t.minute()) * 60 + t.second() + ms / 1000.0L) / 86400.0L;
    }
    return static_cast<TDateTime>(days < 0 ? -value : value);
}

void TFormItem::UpdateWorking() {
    if (updating_ || kind_ != Kind::Person)
        return;
    work_.Apellidos = S(apellidos_->text());
    work_.Sexo = sexoGroup_->checkedId();
    if (tab_ == PersonTab::Nacimiento) {
        work_.IdLugarNac = ChosenPlace();
        work_.IsDate = fechaCheck_->isChecked() ? 1 : 0;
        if (work_.IsDate == 1) {
            work_.IsHora = horaCheck_->isChecked() && horaCheck_->isEnabled() ? 1 : 0;
            work_.Fecha = FechaFromControls();
            work_.HoraUT = ut_->isChecked() ? 1 : 0;
        } else {
            work_.Fecha = 0;
            work_.HoraUT = -1;
            work_.IsHora = 0;
        }
    } else if (tab_ == PersonTab::Residencia || tab_ == PersonTab::Trabajo) {
        TLugar &a = tab_ == PersonTab::Residencia ? work_.Residencia : work_.Trabajo;
        a.IdLugarGeo = ChosenPlace();
        a.Dir = S(dir_->text());
        a.Tel = S(tel_->text());
        a.Cel = S(cel_->text());
        a.Fax = S(fax_->text());
        a.Web = S(web_->text());
        a.Email = S(email_->text());
        a.EmailValido = static_cast<std::uint8_t>(std::max(0, emailValido_->currentIndex()));
    } else if (tab_ == PersonTab::Observaciones) {
        work_.Observaciones = S(observaciones_->toPlainText());
    }
    UpdateTimeLabels();
}

void TFormItem::UpdateTimeLabels() {
    if (kind_ != Kind::Person || !localLabel_)
        return;
    if (!DateIsSet()) {
        localLabel_->setText("< >");
        utLabel_->setText("< >");
        return;
    }
    const Database &db = store_.Db();
    const std::int32_t placeId = ChosenPlace();
    const int i = IndexOfId(db.Places, placeId);
    const long double tz = i >= 0 ? db.Places[static_cast<std::size_t>(i)]->TZ : 0;
    const TDateTime fecha = FechaFromControls();
    TDateTime local = fecha, universal = fecha;
    if (ut_->isChecked())
        local = ShiftDateTime(fecha, tz / 24);
    else
        universal = ShiftDateTime(fecha, -tz / 24);
    const TextFormat &f = store_.Format();
    const auto both = [&f](TDateTime v) {
        return DateText(v, "dddd, mmm-d-yyyy, h:nn:ss am/pm, ", f) + DateText(v, "h:nn:ss", f);
    };
    localLabel_->setText(
        Q(db.PlaceCaption(placeId) + ", (TZ: " + TimeZoneText(tz) + ")" + "\n" + both(local)));
    utLabel_->setText(Q("tu (gmt)\n" + both(universal)));
}

// ---- place selectors ----

void TFormItem::FillCountryCombo(QComboBox *combo, bool withAny) {
    const bool was = updating_;
    updating_ = true;
    combo->clear();
    if (withAny)
        combo->addItem("[*]", -1);
    for (const TPais *c : [this] {
             std::vector<const TPais *> rows;
             for (const auto &r : store_.Db().Countries)
                 rows.push_back(r.get());
             std::stable_sort(rows.begin(), rows.end(),
                              [](const TPais *a, const TPais *b) { return NameLess(a->Nombre, b->Nombre); });
             return rows;
         }())
        combo->addItem(Q(c->Nombre), c->Id);
    updating_ = was;
}

std::int32_t TFormItem::ChosenCountry(const QComboBox *combo) const {
    return combo->currentIndex() < 0 ? -1 : combo->currentData().toInt();
}

void TFormItem::SelectCountry(QComboBox *combo, std::int32_t countryId) {
    const bool was = updating_;
    updating_ = true;
    const int at = combo->findData(countryId);
    combo->setCurrentIndex(at < 0 ? 0 : at);
    updating_ = was;
}

void TFormItem::FillPlaceCombo() {
    const bool was = updating_;
    updating_ = true;
    const Database &db = store_.Db();
    const std::int32_t country = ChosenCountry(lugarPais_);
    std::vector<const TLugar_Geo *> rows;
    for (const auto &p : db.Places)
        if (country < 0 || p->IdPais == country)
            rows.push_back(p.get());
    std::stable_sort(rows.begin(), rows.end(),
                     [](const TLugar_Geo *a, const TLugar_Geo *b) { return NameLess(a->Nombre, b->Nombre); });
    lugar_->clear();
    lugar_->addItem("", -1);
    for (const TLugar_Geo *p : rows)
        lugar_->addItem(Q(p->Nombre) + ", " + Q(NameOfId(db.Countries, p->IdPais)).toUpper(), p->Id);
    updating_ = was;
}

void TFormItem::SelectPlace(std::int32_t placeId) {
    const bool was = updating_;
    updating_ = true;
    if (placeId >= 0) {
        const Database &db = store_.Db();
        const int i = IndexOfId(db.Places, placeId);
        if (i >= 0 && ChosenCountry(lugarPais_) >= 0 &&
            ChosenCountry(lugarPais_) != db.Places[static_cast<std::size_t>(i)]->IdPais) {
            SelectCountry(lugarPais_, db.Places[static_cast<std::size_t>(i)]->IdPais);
            FillPlaceCombo();
        }
    }
    const int at = lugar_->findData(placeId);
    lugar_->setCurrentIndex(at < 0 ? 0 : at);
    updating_ = was;
}

std::int32_t TFormItem::ChosenPlace() const {
    return lugar_ && lugar_->currentIndex() >= 0 ? lugar_->currentData().toInt() : -1;
}

void TFormItem::AddCountry() {
    const auto id = Run(this, store_, Kind::Country);
    if (!id)
        return;
    FillCountryCombo(pais_, true);
    SelectCountry(pais_, *id);
}

void TFormItem::AddOrEditPlace(bool edit) {
    const std::int32_t current = ChosenPlace();
    if (edit && current < 0)
        return;
    const auto id = Run(this, store_, Kind::Place, edit ? current : -1);
    if (!id)
        return;
    const Database &db = store_.Db();
    const int i = IndexOfId(db.Places, *id);
    updating_ = true;
    FillCountryCombo(lugarPais_, true);
    SelectCountry(lugarPais_, i >= 0 ? db.Places[static_cast<std::size_t>(i)]->IdPais : -1);
    FillPlaceCombo();
    SelectPlace(*id);
    updating_ = false;
    UpdateWorking();
}

void TFormItem::ImportPlace() {
    if (!store_.HasFile()) {
        store_.Notices().Notice(NoticeKind::Warning, false, true,
                                "No hay un archivo de datos cargado. Para importar un lugar geográfico "
                                "debe abrir primero un archivo de datos");
        return;
    }
    if (!ImportPlaceFile(this, store_, false))
        return;
    const std::int32_t keep = ChosenPlace();
    updating_ = true;
    FillCountryCombo(lugarPais_, true);
    SelectCountry(lugarPais_, -1);
    FillPlaceCombo();
    SelectPlace(keep);
    updating_ = false;
}

void TFormItem::NormaliseCoordinate(QSpinBox *deg, QSpinBox *min, QSpinBox *sec, int degreeLimit) {
    int d = deg->value(), m = min->value(), s = sec->value();
    if (s < 0) {
        s += 60;
        m -= 1;
    }
    if (m < 0) {
        m += 60;
        d -= 1;
    }
    if (d < 0)
        d += 180;
    if (s >= 60) {
        m += s / 60;
        s %= 60;
    }
    if (m >= 60) {
        d += m / 60;
        m %= 60;
    }
    d = std::clamp(d, 0, degreeLimit - 1);
    updating_ = true;
    deg->setValue(d);
    min->setValue(m);
    sec->setValue(s);
    updating_ = false;
}

// ---- groups ----

void TFormItem::FillGroupLists() {
    if (!gruposDisp_)
        return;
    const Database &db = store_.Db();
    std::vector<const TData *> rows;
    for (const auto &g : db.PersonGroups)
        rows.push_back(g.get());
    std::stable_sort(rows.begin(), rows.end(),
                     [](const TData *a, const TData *b) { return NameLess(a->Nombre, b->Nombre); });
    gruposDisp_->clear();
    gruposAsig_->clear();
    for (const TData *g : rows) {
        const bool assigned = std::any_of(work_.Grupos.begin(), work_.Grupos.end(),
                                          [g](const TId &ref) { return ref.Id == g->Id; });
        auto *item = new QListWidgetItem(Q(g->Nombre));
        item->setData(Qt::UserRole, g->Id);
        (assigned ? gruposAsig_ : gruposDisp_)->addItem(item);
    }
}

void TFormItem::AssignGroup() {
    QListWidgetItem *item = gruposDisp_->currentItem();
    if (!item)
        return;
    TId ref;
    ref.Id = item->data(Qt::UserRole).toInt();
    work_.Grupos.push_back(ref);
    FillGroupLists();
}

void TFormItem::RemoveGroup() {
    QListWidgetItem *item = gruposAsig_->currentItem();
    if (!item)
        return;
    const std::int32_t id = item->data(Qt::UserRole).toInt();
    std::erase_if(work_.Grupos, [id](const TId &ref) { return ref.Id == id; });
    FillGroupLists();
}

// ---- events ----

void TFormItem::FillEventList(int selectRow) {
    if (!eventos_)
        return;
    eventos_->clear();
    for (const TEvento &e : work_.Eventos)
        eventos_->addItem(Q(DateText(e.Fecha, "mmm-dd-yyyy", store_.Format()) + " " + e.Nombre));
    if (selectRow >= 0 && selectRow < eventos_->count())
        eventos_->setCurrentRow(selectRow);
    eventCount_->setText(QString("%1 eventos ").arg(work_.Eventos.size()));
    saveEvent_->setEnabled(eventos_->currentRow() >= 0);
    deleteEvent_->setEnabled(eventos_->currentRow() >= 0);
}

bool TFormItem::EventFromControls(TEvento &event, bool keepName) {
    (void)keepName;
    if (ChosenPlace() < 0) {
        store_.Notices().Notice(NoticeKind::Warning, false, true,
                                "Debe seleccionar el lugar geográfico de nacimiento");
        return false;
    }
    if (!DateIsSet()) {
        fechaCheck_->setChecked(true);
        fecha_->setFocus();
        store_.Notices().Notice(NoticeKind::Warning, false, true, "Debe establecer la fecha de nacimiento");
        return false;
    }
    if (horaCheck_->isEnabled() && !horaCheck_->isChecked()) {
        horaCheck_->setChecked(true);
        store_.Notices().Notice(NoticeKind::Warning, false, true, "Debe establecer la hora de nacimiento");
        return false;
    }
    event.IdLugarGeo = ChosenPlace();
    event.IsDate = 1;
    event.IsHora = horaCheck_->isChecked() && horaCheck_->isEnabled() ? 1 : 0;
    event.Fecha = FechaFromControls();
    event.HoraUT = ut_->isChecked() ? 1 : 0;
    return true;
}

// Sorts the events latest first, redraws, reselects, and saves the data file at once: the stored
// person (when it exists) takes the working list so that the file holds what the user sees.
void TFormItem::EventsChanged(int selectRow) {
    const TEvento *selected = selectRow >= 0 && selectRow < static_cast<int>(work_.Eventos.size())
                                  ? &work_.Eventos[selectRow]
                                  : nullptr;
    const TEvento keep = selected ? *selected : TEvento{};
    std::stable_sort(work_.Eventos.begin(), work_.Eventos.end(),
                     [](const TEvento &a, const TEvento &b) { return a.Fecha > b.Fecha; });
    int row = -1;
    if (selected)
        for (std::size_t i = 0; i < work_.Eventos.size(); ++i)
            if (work_.Eventos[i].Id == keep.Id && work_.Eventos[i].Nombre == keep.Nombre &&
                work_.Eventos[i].Fecha == keep.Fecha)
                row = static_cast<int>(i);
    selectedEvent_ = row;
    FillEventList(row);
    Database &db = store_.Db();
    if (!isNew_) {
        const int i = IndexOfId(db.Persons, editedId_);
        if (i >= 0)
            db.Persons[static_cast<std::size_t>(i)]->Eventos = work_.Eventos;
    }
    store_.Save();
}

void TFormItem::NewEvent() {
    if (store_.ReadOnly())
        return;
    TEvento event;
    if (!EventFromControls(event, false))
        return;
    std::string name;
    if (!store_.Notices().InputText("Evento nuevo", "Nombre evento:", name))
        return;
    event.Nombre = CleanEventName(name);
    event.Id = static_cast<std::int32_t>(work_.Eventos.size() + 1);
    work_.Eventos.push_back(event);
    EventsChanged(static_cast<int>(work_.Eventos.size()) - 1);
}

void TFormItem::SaveEvent() {
    const int row = eventos_->currentRow();
    if (row < 0 || row >= static_cast<int>(work_.Eventos.size()) || store_.ReadOnly())
        return;
    TEvento changed = work_.Eventos[static_cast<std::size_t>(row)];
    if (!EventFromControls(changed, true))
        return;
    const TEvento &current = work_.Eventos[static_cast<std::size_t>(row)];
    const std::string question = "Desea sobreescribir el evento actual?\r\r" + current.Nombre + "\r" +
                                 DateText(current.Fecha, kEventDate, store_.Format());
    if (!store_.Notices().Notice(NoticeKind::Question, true, true, question)) {
        NewEvent();
        return;
    }
    std::string name = current.Nombre;
    if (store_.Notices().InputText("Editar evento", "Nuevo nombre:", name))
        changed.Nombre = CleanEventName(name);
    work_.Eventos[static_cast<std::size_t>(row)] = changed;
    EventsChanged(row);
}

void TFormItem::DeleteEvent() {
    const int row = eventos_->currentRow();
    if (row < 0 || row >= static_cast<int>(work_.Eventos.size()) || store_.ReadOnly())
        return;
    const TEvento &current = work_.Eventos[static_cast<std::size_t>(row)];
    const std::string question = "Desea eliminar el evento ?\r\r" + current.Nombre + "\r" +
                                 DateText(current.Fecha, kEventDate, store_.Format());
    if (!store_.Notices().Notice(NoticeKind::Question, true, true, question))
        return;
    work_.Eventos.erase(work_.Eventos.begin() + row);
    EventsChanged(-1);
}

// ---- storing ----

// Stores the record; an addition past the largest Id is refused with its message, nothing changed.
bool TFormItem::StoreChecked() {
    try {
        return Store();
    } catch (const IdLimitError &e) {
        store_.Notices().Notice(NoticeKind::Error, false, true, e.what());
        return false;
    }
}

void TFormItem::accept() {
    if (!StoreChecked())
        return;
    if (!store_.Save())
        return;
    emit stored(editedId_);
    QDialog::accept();
}

bool TFormItem::Store() {
    if (!CheckInput(S(nombre_->text()), "el Nombre", store_.Notices()))
        return false;
    switch (kind_) {
    case Kind::Place:
        return StorePlace();
    case Kind::Person:
        return StorePerson();
    default:
        return StoreNamed();
    }
}

bool TFormItem::StoreNamed() {
    Database &db = store_.Db();
    const std::string name = CleanText(S(nombre_->text()));
    const auto refuse = [this, &name] {
        store_.Notices().Notice(NoticeKind::Warning, false, true,
                                std::string("Ya existe el ") + KindWord(kind_) + " \"" + name + "\"");
        return false;
    };
    const auto store = [&](auto &list, auto make) {
        if (NameTaken(list, name, isNew_ ? -1 : editedId_))
            return refuse();
        if (isNew_) {
            auto record = make();
            record->Nombre = name;
            record->Id = db.TakeId(kind_);
            editedId_ = record->Id;
            list.push_back(std::move(record));
            isNew_ = false;
        } else {
            const int i = IndexOfId(list, editedId_);
            if (i >= 0)
                list[static_cast<std::size_t>(i)]->Nombre = name;
        }
        return true;
    };
    switch (kind_) {
    case Kind::Country:
        return store(db.Countries, [] { return std::make_unique<TPais>(); });
    case Kind::PersonGroup:
        return store(db.PersonGroups, [] { return std::make_unique<TData>(); });
    case Kind::BusinessGroup:
        return store(db.BusinessGroups, [] { return std::make_unique<TData>(); });
    default:
        break;
    }
    // Businesses: only the name is edited here.
    if (isNew_) {
        auto record = std::make_unique<TNegocio>();
        record->Nombre = name;
        record->Id = db.TakeId(Kind::Business);
        editedId_ = record->Id;
        db.Businesses.push_back(std::move(record));
        isNew_ = false;
    } else if (const int i = IndexOfId(db.Businesses, editedId_); i >= 0) {
        db.Businesses[static_cast<std::size_t>(i)]->Nombre = name;
    }
    return true;
}

bool TFormItem::StorePlace() {
    Database &db = store_.Db();
    Notifier &n = store_.Notices();
    const std::int32_t country = ChosenCountry(pais_);
    if (country < 0) {
        n.Notice(NoticeKind::Warning, false, true, "Seleccione un País");
        return false;
    }
    const std::string name = CleanText(S(nombre_->text()));
    const std::int32_t exclude = isNew_ ? -1 : editedId_;
    if (!db.PlaceNameFree(exclude, name, country)) {
        n.Notice(NoticeKind::Warning, false, true,
                 "Ya existe un lugar geográfico con el nombre " + name + " asignado al país " +
                     NameOfId(db.Countries, country));
        return false;
    }
    TLugar_Geo place = workPlace_;
    place.Nombre = name;
    place.IdPais = country;
    // A coordinate the user did not touch keeps its stored value to the last digit.
    if (lonTouched_ || isNew_)
        place.Lon =
            ComposeDegrees({lonE_->isChecked(), lonDeg_->value(), lonMin_->value(), lonSec_->value(), 0});
    if (latTouched_ || isNew_)
        place.Lat =
            ComposeDegrees({latS_->isChecked(), latDeg_->value(), latMin_->value(), latSec_->value(), 0});
    if (tzTouched_ || isNew_)
        place.TZ = ComposeDegrees({tzHour_->value() < 0, std::abs(tzHour_->value()), tzMin_->value(), 0, 0});
    place.DST = dst_->isChecked() ? 1 : 0;
    place.Descripcion = CleanText(S(descripcion_->text()));
    const int same = db.SameDataPlace(place, exclude);
    if (same >= 0) {
        n.Notice(NoticeKind::Warning, false, true,
                 "Ya existe un lugar geográfico con estos datos. Este lugar es:\r\r" +
                     PlaceDescription(db, *db.Places[static_cast<std::size_t>(same)]));
        return false;
    }
    if (isNew_) {
        place.Id = db.TakeId(Kind::Place);
        place.Marca = 0;
        place.Usos = 0;
        editedId_ = place.Id;
        db.Places.push_back(std::make_unique<TLugar_Geo>(place));
        isNew_ = false;
    } else if (const int i = IndexOfId(db.Places, editedId_); i >= 0) {
        TLugar_Geo &stored = *db.Places[static_cast<std::size_t>(i)];
        place.Id = stored.Id;
        place.Marca = stored.Marca;
        place.Usos = stored.Usos;
        stored = place;
    }
    workPlace_ = place;
    lonTouched_ = latTouched_ = tzTouched_ = false;
    return true;
}

bool TFormItem::CheckBirthData(bool requirePlace) {
    Notifier &n = store_.Notices();
    if (sexoGroup_->checkedId() < 0) {
        n.Notice(NoticeKind::Warning, false, true, "Debe especificar el sexo");
        return false;
    }
    if (requirePlace && ChosenPlace() < 0) {
        n.Notice(NoticeKind::Warning, false, true, "Debe seleccionar el lugar geográfico de nacimiento");
        return false;
    }
    if (!DateIsSet()) {
        fechaCheck_->setChecked(true);
        fecha_->setFocus();
        n.Notice(NoticeKind::Warning, false, true, "Debe establecer la fecha de nacimiento");
        return false;
    }
    if (horaCheck_->isEnabled() && !horaCheck_->isChecked()) {
        horaCheck_->setChecked(true);
        n.Notice(NoticeKind::Warning, false, true, "Debe establecer la hora de nacimiento");
        return false;
    }
    return true;
}

bool TFormItem::StorePerson() {
    if (mode_ == EditorMode::BirthDataRequired) {
        ShowTab(PersonTab::Nacimiento);
        if (!CheckBirthData(true))
            return false;
        UpdateWorking();
    }
    Database &db = store_.Db();
    work_.Apellidos = S(apellidos_->text());
    work_.Sexo = sexoGroup_->checkedId();
    TPersona record = work_;
    record.Nombre = CleanText(S(nombre_->text()));
    record.Apellidos = CleanText(record.Apellidos);
    for (TLugar *a : {&record.Residencia, &record.Trabajo})
        for (std::string *s : {&a->Dir, &a->Tel, &a->Cel, &a->Fax, &a->Web, &a->Email})
            *s = CleanText(*s);
    record.Observaciones = EncodeObservations(work_.Observaciones);
    if (record.IsDate != 1) {
        record.Fecha = 0;
        record.HoraUT = -1;
        record.IsHora = 0;
    }
    if (isNew_) {
        record.Id = db.TakeId(Kind::Person);
        record.Marca = 0;
        editedId_ = record.Id;
        db.Persons.push_back(std::make_unique<TPersona>(std::move(record)));
        isNew_ = false;
    } else if (const int i = IndexOfId(db.Persons, editedId_); i >= 0) {
        TPersona &stored = *db.Persons[static_cast<std::size_t>(i)];
        record.Id = stored.Id;
        record.Marca = stored.Marca;
        record.Usos = stored.Usos;
        stored = std::move(record);
    }
    return true;
}

void TFormItem::SetNeighbours(Neighbour neighbour) {
    neighbour_ = std::move(neighbour);
    const bool show = neighbour_ && kind_ == Kind::Person;
    prev_->setVisible(show);
    next_->setVisible(show);
}

void TFormItem::Navigate(int step) {
    if (!neighbour_ || isNew_)
        return;
    const std::int32_t target = neighbour_(editedId_, step);
    if (target < 0)
        return;
    if (!StoreChecked() || !store_.Save())
        return;
    emit stored(editedId_);
    LoadRecord(target);
}

// ---- running ----

std::optional<std::int32_t> TFormItem::Run(QWidget *parent, DataStore &store, Kind kind, std::int32_t id,
                                           EditorMode mode, PersonTab firstTab) {
    if (store.ReadOnly())
        return std::nullopt;
    TFormItem editor(store, kind, id, mode, parent);
    if (kind == Kind::Person)
        editor.ShowTab(firstTab);
    if (editor.exec() != QDialog::Accepted)
        return std::nullopt;
    return editor.EditedId();
}

std::optional<std::int32_t> TFormItem::AddPerson(QWidget *parent, DataStore &store) {
    return Run(parent, store, Kind::Person, -1, EditorMode::BirthDataRequired, PersonTab::Nacimiento);
}

std::optional<std::int32_t> TFormItem::EditPerson(QWidget *parent, DataStore &store, std::int32_t id) {
    return Run(parent, store, Kind::Person, id, EditorMode::BirthDataRequired, PersonTab::Nacimiento);
}

} // namespace cel::manager
