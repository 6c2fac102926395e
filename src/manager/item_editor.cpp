#include "manager/item_editor.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
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

#include "common/clock.h"
#include "manager/atlas_completer.h"
#include "manager/colour_suite.h"
#include "manager/date_field.h"
#include "manager/editor_widgets.h"
#include "manager/place_import_window.h"
#include "manager/place_zone_field.h"
#include "session/atlas_place.h"
#include "session/item_entry.h"
#include "zones/zone_history.h"

namespace cel::manager {

using namespace cel::database;
using namespace cel::manager::editor;

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
    int width = kind == Kind::Person ? 640 : 480;
    if (kind == Kind::Person && eventPanel_ && placeSelector_) {
        // As wide as the widest tab (the events beside the date), so that switching tabs never
        // resizes the window under the user's hand.
        const bool events = !eventPanel_->isHidden(), places = !placeSelector_->isHidden();
        eventPanel_->setVisible(true);
        placeSelector_->setVisible(true);
        width = std::max(width, sizeHint().width());
        eventPanel_->setVisible(events);
        placeSelector_->setVisible(places);
    }
    resize(width, std::max(height, sizeHint().height()));

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
    // The place's zone and where it comes from are known only now: the window grows to show them.
    if (kind == Kind::Place)
        resize(this->width(), std::max(this->height(), sizeHint().height()));
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

    zoneField_ = new PlaceZoneField(page);
    grid->addWidget(new QLabel("Zona horaria:", page), row, 0);
    grid->addWidget(zoneField_, row++, 1, 1, 5);
    const auto rederive = [this] {
        if (!updating_)
            zoneField_->Rederive(store_.Db(), PlaceFromBoxes());
    };
    for (QSpinBox *box : {lonDeg_, lonMin_, lonSec_, latDeg_, latMin_, latSec_})
        connect(box, &QSpinBox::valueChanged, this, rederive);
    for (QRadioButton *radio : {lonE_, latS_})
        connect(radio, &QRadioButton::toggled, this, rederive);
    connect(pais_, &QComboBox::currentIndexChanged, this, rederive);

    // Typing the name searches the atlas; a city chosen fills the page.
    atlasSearch_ = new AtlasCompleter(nombre_, zones::SharedAtlas());
    nombre_->setToolTip(QString::fromUtf8("Escriba el nombre: las ciudades del atlas que coinciden se listan "
                                          "debajo (la mayor primero); elegir una llena coordenadas, país y "
                                          "zona horaria."));
    connect(atlasSearch_, &AtlasCompleter::chosen, this,
            [this](const zones::AtlasCity *city) { FillFromAtlas(*city); });

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

void TFormItem::FillFromAtlas(const zones::AtlasCity &city) {
    Database &db = store_.Db();
    session::AtlasPlace place = session::PlaceOfCity(db, city, UniversalNow());
    if (place.countryId < 0 &&
        store_.Notices().Notice(NoticeKind::Question, true, true,
                                "El país \"" + place.countryName +
                                    "\" no está en el archivo de datos.\r\r¿Desea agregarlo?") &&
        !store_.ReadOnly()) {
        auto country = std::make_unique<TPais>();
        country->Nombre = place.countryName;
        country->Id = db.TakeId(Kind::Country);
        const std::int32_t id = country->Id;
        db.Countries.push_back(std::move(country));
        // Not saved: not kept either, unless the file was read again (it never held the country, and
        // its id may now be another program's).
        const int reloads = store_.Reloads();
        if (store_.Save("el país \"" + place.countryName + "\""))
            place.countryId = id;
        else if (const int i = IndexOfId(db.Countries, id); i >= 0 && store_.Reloads() == reloads)
            db.Countries.erase(db.Countries.begin() + i);
        FillCountryCombo(pais_, true);
    }
    updating_ = true;
    nombre_->setText(Q(place.name));
    if (place.countryId >= 0)
        SelectCountry(pais_, place.countryId);
    // The boxes hold whole seconds: the atlas's degrees rounded to the nearest one (about 30 m).
    const auto toSecond = [](double degrees) {
        return std::round(static_cast<long double>(degrees) * 3600) / 3600;
    };
    ShowPlaceBoxes(toSecond(place.longitudeWest), toSecond(place.latitude), place.standardHours);
    lonTouched_ = latTouched_ = tzTouched_ = true;
    updating_ = false;
    zoneField_->Rederive(db, PlaceFromBoxes());
    resize(width(), std::max(height(), sizeHint().height()));
}

// ---- loading ----

void TFormItem::LoadRecord(std::int32_t id) {
    Database &db = store_.Db();
    editedId_ = id;
    isNew_ = false;
    updating_ = true;
    switch (kind_) {
    case Kind::Place: {
        const int i = IndexOfId(db.Places, id);
        if (i >= 0) {
            nombre_->setText(Q(db.Places[i]->Nombre));
            LoadPlace(*db.Places[i]);
        }
        break;
    }
    case Kind::Person: {
        work_ = session::PersonForEditing(db, id);
        nombre_->setText(Q(work_.Nombre));
        apellidos_->setText(Q(work_.Apellidos));
        FillGroupLists();
        FillEventList(work_.Eventos.empty() ? -1 : 0);
        selectedEvent_ = work_.Eventos.empty() ? -1 : 0;
        break;
    }
    default: // the kinds edited by name alone
        nombre_->setText(Q(session::NameOfItem(db, kind_, id)));
        break;
    }
    updating_ = false;
    if (kind_ == Kind::Person)
        LoadTab();
}

void TFormItem::ShowPlaceBoxes(long double longitudeWest, long double latitude, long double zone) {
    const session::DmsParts lon = session::SplitDegrees(longitudeWest);
    const session::DmsParts lat = session::SplitDegrees(latitude);
    const session::DmsParts tz = session::SplitDegrees(zone);
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
}

void TFormItem::LoadPlace(const TLugar_Geo &place) {
    updating_ = true;
    workPlace_ = place;
    SelectCountry(pais_, isNew_ ? -1 : place.IdPais);
    ShowPlaceBoxes(place.Lon, place.Lat, place.TZ);
    dst_->setChecked(place.DST == 1);
    descripcion_->setText(Q(place.Descripcion));
    lonTouched_ = latTouched_ = tzTouched_ = false;
    updating_ = false;
    zoneField_->ShowFor(store_.Db(), place);
}

session::PlaceInput TFormItem::PlaceBoxes() const {
    session::PlaceInput in;
    in.name = S(nombre_->text());
    in.country = ChosenCountry(pais_);
    in.zone = zoneField_->Zone();
    in.lon = {lonE_->isChecked(), lonDeg_->value(), lonMin_->value(), lonSec_->value(), 0};
    in.lat = {latS_->isChecked(), latDeg_->value(), latMin_->value(), latSec_->value(), 0};
    in.tzHours = tzHour_->value();
    in.tzMinutes = tzMin_->value();
    in.lonTouched = lonTouched_;
    in.latTouched = latTouched_;
    in.tzTouched = tzTouched_;
    in.dst = dst_->isChecked();
    in.description = S(descripcion_->text());
    return in;
}

TLugar_Geo TFormItem::PlaceFromBoxes() const {
    return session::PlaceAsTyped(workPlace_, PlaceBoxes());
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
    if (!StoreAndSave())
        return;
    emit stored(editedId_);
    QDialog::accept();
}

bool TFormItem::StoreAndSave() {
    const bool wasNew = isNew_;
    const std::int32_t wasId = editedId_;
    const int reloads = store_.Reloads();
    if (!StoreChecked())
        return false;
    const std::string name = S(nombre_->text());
    if (store_.Save("\"" + name + "\", con los datos de esta ventana,"))
        return true;
    if (store_.Reloads() != reloads) {
        // The file was read again: the record stored above is gone with the old data. The window keeps
        // what was typed, and "De Acuerdo" stores it again into the fresh data.
        isNew_ = wasNew;
        if (!isNew_ && !HasRecord(wasId))
            isNew_ = true; // the other program removed it: it is added anew
        editedId_ =
            isNew_ ? static_cast<std::int32_t>(std::min<std::int64_t>(store_.Db().Counter(kind_), kMaxId))
                   : wasId;
    }
    return false;
}

bool TFormItem::HasRecord(std::int32_t id) const {
    bool found = false;
    store_.Db().VisitList(kind_, [&](const auto &list) { found = IndexOfId(list, id) >= 0; });
    return found;
}

bool TFormItem::Store() {
    if (!session::CheckItemName(S(nombre_->text()), store_.Notices()))
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
    session::ItemTarget target{isNew_, editedId_};
    if (!session::StoreNamedItem(store_.Db(), store_.Notices(), kind_, target, S(nombre_->text())))
        return false;
    isNew_ = target.isNew;
    editedId_ = target.id;
    return true;
}

bool TFormItem::StorePlace() {
    session::ItemTarget target{isNew_, editedId_};
    std::optional<zones::PlaceKey> formerKey;
    const std::optional<TLugar_Geo> place =
        session::StorePlaceItem(store_.Db(), store_.Notices(), target, workPlace_, PlaceBoxes(), formerKey);
    if (!place)
        return false;
    isNew_ = target.isNew;
    editedId_ = target.id;
    workPlace_ = *place;
    lonTouched_ = latTouched_ = tzTouched_ = false;
    std::string error;
    if (!zoneField_->Store(store_.Db(), *place, formerKey, &error))
        store_.Notices().Notice(NoticeKind::Error, false, true,
                                "No se pudo guardar la zona horaria del lugar: " + error);
    return true;
}

bool TFormItem::CheckBirthData(bool requirePlace) {
    if (sexoGroup_->checkedId() < 0) {
        store_.Notices().Notice(NoticeKind::Warning, false, true, "Debe especificar el sexo");
        return false;
    }
    return CheckPlaceDateAndTime(requirePlace);
}

bool TFormItem::CheckPlaceDateAndTime(bool requirePlace) {
    Notifier &n = store_.Notices();
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

bool TFormItem::ReadTypedDate() {
    if (!fecha_ || !fecha_->isEnabled() || fecha_->commitText())
        return true;
    fecha_->setFocus();
    store_.Notices().Notice(NoticeKind::Warning, false, true, S(fecha_->errorText()));
    return false;
}

bool TFormItem::StorePerson() {
    if (tab_ == PersonTab::Nacimiento && !ReadTypedDate())
        return false;
    if (mode_ == EditorMode::BirthDataRequired) {
        ShowTab(PersonTab::Nacimiento);
        if (!CheckBirthData(true))
            return false;
        UpdateWorking();
    }
    work_.Apellidos = S(apellidos_->text());
    work_.Sexo = sexoGroup_->checkedId();
    session::ItemTarget target{isNew_, editedId_};
    if (!session::StorePersonItem(store_.Db(), store_.Notices(), target, work_, S(nombre_->text())))
        return false;
    isNew_ = target.isNew;
    editedId_ = target.id;
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
    if (!StoreAndSave())
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
