// The item editor's person page: the tabs, the birth and event dates, the addresses, the place
// selectors, the groups and the events that save at once.
#include "manager/item_editor.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
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

#include "manager/clock.h"
#include "manager/colour_suite.h"
#include "manager/date_field.h"
#include "manager/editor_widgets.h"
#include "manager/place_import_window.h"
#include "manager/zone_choices.h"
#include "manager/zone_offer_panel.h"
#include "session/event_place.h"
#include "session/item_entry.h"
#include "session/manager_choices.h"
#include "session/zone_offer.h"
#include "zones/atlas.h"

namespace cel::manager {

using namespace cel::database;
using namespace cel::manager::editor;

namespace {

constexpr const char *kEventDate = "dddd, mmm dd yyyy, hh:nn:ss am/pm";

} // namespace

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
        // The place chosen stays only when it belongs to the country now chosen.
        const std::int32_t keep = ChosenPlace();
        FillPlaceCombo();
        const int at = lugar_->findData(keep);
        updating_ = true;
        lugar_->setCurrentIndex(at < 0 ? 0 : at);
        updating_ = false;
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
    fecha_ = new DateField(page);
    fecha_->setObjectName("DTFecha");
    fecha_->setDisplayFormat("MMM-dd-yyyy,ddd");
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
    zoneOffer_ = new ZoneOfferPanel(page);
    grid->addWidget(zoneOffer_, 6, 0, 1, 4);
    // Applying the zone then in force keeps the birth or event as universal time.
    connect(zoneOffer_, &ZoneOfferPanel::accepted, this, [this](TDateTime universal) {
        LoadDateControls(true, true, universal, 1);
        UpdateDateEnabling();
        UpdateWorking();
        UpdateTimeLabels();
    });

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
    connect(fecha_, &DateField::dateChanged, this, [this] { UpdateWorking(); });
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
    form->addRow(QString::fromUtf8("Teléfono(s):"), tel_);
    form->addRow("Celular (móvil):", cel_);
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
            // A new event: the person's place, and the time now there.
            const std::int32_t place = session::NewEventPlace(store_.Db(), work_);
            if (place >= 0)
                SelectPlace(place);
            const CivilDateTime now =
                DecodeDateTime(session::CivilTimeAt(store_.Db(), place, UniversalNow()));
            LoadDateControls(
                true, true,
                EncodeDateTime({now.year, now.month, now.day, now.hour, now.minute, now.second, 0}), 0);
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
        zoneOffer_->Clear();
        return;
    }
    const Database &db = store_.Db();
    const std::int32_t placeId = ChosenPlace();
    const TDateTime fecha = FechaFromControls();
    const session::BirthClock clock = session::BirthClockAt(db, placeId, fecha, ut_->isChecked());
    const TextFormat &f = store_.Format();
    const auto both = [&f](TDateTime v) {
        return DateText(v, "dddd, mmm-d-yyyy, h:nn:ss am/pm, ", f) + DateText(v, "h:nn:ss", f);
    };
    localLabel_->setText(Q(clock.placeCaption + "\n" + both(clock.local)));
    utLabel_->setText(Q("tu (gmt)\n" + both(clock.universal)));
    if (local_->isChecked() && horaCheck_->isChecked())
        zoneOffer_->Show(
            session::OfferZoneForPlace(db, placeId, fecha, zones::SharedAtlas(), &ZoneChoices()));
    else
        zoneOffer_->Clear();
}

// ---- place selectors ----

void TFormItem::FillCountryCombo(QComboBox *combo, bool withAny) {
    const bool was = updating_;
    updating_ = true;
    combo->clear();
    if (withAny)
        combo->addItem("[*]", -1);
    for (const session::NamedChoice &c : session::CountryChoices(store_.Db()))
        combo->addItem(Q(c.name), c.id);
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
    lugar_->clear();
    lugar_->addItem("", -1);
    for (const session::NamedChoice &p : session::PlaceEntryChoices(store_.Db(), ChosenCountry(lugarPais_)))
        lugar_->addItem(Q(p.name) + ", " + Q(p.country).toUpper(), p.id);
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

// ---- groups ----

void TFormItem::FillGroupLists() {
    if (!gruposDisp_)
        return;
    gruposDisp_->clear();
    gruposAsig_->clear();
    for (const session::NamedChoice &g : session::PersonGroupChoices(store_.Db())) {
        const bool assigned = std::any_of(work_.Grupos.begin(), work_.Grupos.end(),
                                          [&g](const TId &ref) { return ref.Id == g.id; });
        auto *item = new QListWidgetItem(Q(g.name));
        item->setData(Qt::UserRole, g.id);
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
    eventCount_->setText(
        QString(work_.Eventos.size() == 1 ? "%1 evento " : "%1 eventos ").arg(work_.Eventos.size()));
    saveEvent_->setEnabled(eventos_->currentRow() >= 0);
    deleteEvent_->setEnabled(eventos_->currentRow() >= 0);
}

bool TFormItem::EventFromControls(TEvento &event) {
    if (!ReadTypedDate() || !CheckPlaceDateAndTime(true))
        return false;
    event.IdLugarGeo = ChosenPlace();
    event.IsDate = 1;
    event.IsHora = horaCheck_->isChecked() && horaCheck_->isEnabled() ? 1 : 0;
    event.Fecha = FechaFromControls();
    event.HoraUT = ut_->isChecked() ? 1 : 0;
    return true;
}

// Sorts the events latest first, redraws and reselects. The events are part of the working person:
// they reach the stored person and the file with "De Acuerdo", and "Cancelar" leaves both as they were.
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
}

void TFormItem::NewEvent() {
    if (store_.ReadOnly())
        return;
    TEvento event;
    if (!EventFromControls(event))
        return;
    std::string name;
    if (!session::AskEventName(store_.Notices(), "Evento nuevo", "Nombre evento:", name))
        return;
    event.Nombre = name;
    event.Id = static_cast<std::int32_t>(work_.Eventos.size() + 1);
    work_.Eventos.push_back(event);
    EventsChanged(static_cast<int>(work_.Eventos.size()) - 1);
}

void TFormItem::SaveEvent() {
    const int row = eventos_->currentRow();
    if (row < 0 || row >= static_cast<int>(work_.Eventos.size()) || store_.ReadOnly())
        return;
    TEvento changed = work_.Eventos[static_cast<std::size_t>(row)];
    if (!EventFromControls(changed))
        return;
    const TEvento &current = work_.Eventos[static_cast<std::size_t>(row)];
    const std::string question = "Desea sobreescribir el evento actual?\r\r" + current.Nombre + "\r" +
                                 DateText(current.Fecha, kEventDate, store_.Format());
    if (!store_.Notices().Notice(NoticeKind::Question, true, true, question)) {
        NewEvent();
        return;
    }
    std::string name = current.Nombre;
    if (session::AskEventName(store_.Notices(), "Editar evento", "Nuevo nombre:", name))
        changed.Nombre = name;
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
    if (store_.Notices().Ask(question, QuestionStyle{true, false}) != Answer::Yes)
        return;
    work_.Eventos.erase(work_.Eventos.begin() + row);
    EventsChanged(-1);
}

} // namespace cel::manager
