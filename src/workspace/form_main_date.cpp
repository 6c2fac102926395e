// Date, time and place entry of the main window: the fields of the record of the current data mode,
// the carries between them, the stepping panel and jumps, and the information labels.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDockWidget>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>

#include "astronomy/angle_text.h"
#include "astronomy/time_scales.h"
#include "common/date_text.h"
#include "common/number_text.h"
#include "database/coordinate_text.h"
#include "database/record_checks.h"
#include "database/spanish_order.h"
#include "manager/clock.h"
#include "manager/date_field.h"
#include "manager/item_editor.h"
#include "manager/place_import_window.h"
#include "session/birth_time.h"
#include "session/event_place.h"
#include "workspace/date_labels.h"
#include "workspace/form_main.h"
#include "workspace/form_retorno.h"

namespace cel::workspace {

namespace {

QToolButton *Toggle(const char *name, const QString &text, const QString &tip) {
    auto *b = new QToolButton;
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(tip);
    b->setCheckable(true);
    return b;
}

QSpinBox *TimeField(const char *name, int min, int max) {
    auto *s = new QSpinBox;
    s->setObjectName(name);
    s->setRange(min, max);
    s->setKeyboardTracking(false);
    s->setAccelerated(true);
    return s;
}

QDate QDateOf(std::int64_t dayNumber) {
    int y = 1899, m = 12, d = 30;
    CivilFromDays(dayNumber, y, m, d);
    return QDate(y, m, d);
}

} // namespace

session::ChartSide TFormMain::Side() const {
    return dataMode_ == 0 ? session::ChartSide::Natal : session::ChartSide::Event;
}

QWidget *TFormMain::BuildPlacePage() {
    auto *page = new QWidget;
    placePage_ = page;
    auto *column = new QVBoxLayout(page);

    auto *modeRow = new QHBoxLayout;
    rbA_[1] = new QRadioButton("A");
    rbA_[1]->setObjectName("RBPersonaA2");
    rbB_[1] = new QRadioButton("B");
    rbB_[1]->setObjectName("RBPersonaB2");
    rbA_[1]->setChecked(true);
    rbNacimiento_ = new QRadioButton("Nacimiento");
    rbNacimiento_->setObjectName("RBNacimiento");
    rbEvento_ = new QRadioButton("Evento");
    rbEvento_->setObjectName("RBEvento");
    rbNacimiento_->setChecked(true);
    auto *modeGroup = new QButtonGroup(page);
    modeGroup->addButton(rbNacimiento_);
    modeGroup->addButton(rbEvento_);
    auto *abGroup = new QButtonGroup(page);
    abGroup->addButton(rbA_[1]);
    abGroup->addButton(rbB_[1]);
    sbDeshacer_ = new QToolButton;
    sbDeshacer_->setObjectName("SBDeshacer");
    sbDeshacer_->setText("Deshacer");
    sbDeshacer_->setToolTip("Deshacer cambios en datos natales");
    sbDeshacer_->setEnabled(false);
    sbGuardar_ = new QToolButton;
    sbGuardar_->setObjectName("SBGuardarNatal");
    sbGuardar_->setText("Guardar");
    sbGuardar_->setToolTip("Guardar nuevos cambios en datos natales");
    sbGuardar_->setEnabled(false);
    for (QWidget *w : std::initializer_list<QWidget *>{rbA_[1], rbB_[1], rbNacimiento_, rbEvento_,
                                                       sbDeshacer_, sbGuardar_})
        modeRow->addWidget(w);
    modeRow->addStretch();
    column->addLayout(modeRow);

    eventPanel_ = new QWidget;
    eventPanel_->setObjectName("PanelEvento");
    auto *eventRow = new QHBoxLayout(eventPanel_);
    eventRow->setContentsMargins(0, 0, 0, 0);
    sbRetorno_ = Toggle("SBRetorno", "Retorno solar", "Calcular retorno solar");
    sbEventos_ = Toggle("SBEventos", "Eventos", "Lista de eventos");
    eventRow->addWidget(sbRetorno_);
    eventRow->addWidget(sbEventos_);
    eventRow->addStretch();
    eventPanel_->hide();
    column->addWidget(eventPanel_);

    // Country and place.
    auto *placeBox = new QGroupBox("Lugar");
    auto *placeGrid = new QGridLayout(placeBox);
    cbPais_ = new QComboBox;
    cbPais_->setObjectName("CBPais");
    cbLugar_ = new QComboBox;
    cbLugar_->setObjectName("CBLugar");
    cbLugar_->setMinimumContentsLength(14);
    cbPais_->setMinimumContentsLength(14);
    sbNuevoLugar_ = new QToolButton;
    sbNuevoLugar_->setObjectName("SBNuevoLugar");
    sbNuevoLugar_->setText("+");
    sbNuevoLugar_->setToolTip("Nuevo lugar geográfico");
    sbEditarLugar_ = new QToolButton;
    sbEditarLugar_->setObjectName("SBEditarLugar");
    sbEditarLugar_->setText("…");
    sbEditarLugar_->setToolTip("Editar lugar geográfico");
    sbImportarLugar_ = new QToolButton;
    sbImportarLugar_->setObjectName("SBImportarLugar");
    sbImportarLugar_->setText("Importar");
    sbImportarLugar_->setToolTip("Importar lugar geográfico");
    sbNuevoLugar_->setEnabled(false);
    sbEditarLugar_->setEnabled(false);
    placeGrid->addWidget(new QLabel("País:"), 0, 0);
    placeGrid->addWidget(cbPais_, 0, 1, 1, 3);
    placeGrid->addWidget(new QLabel("Lugar:"), 1, 0);
    placeGrid->addWidget(cbLugar_, 1, 1, 1, 3);
    placeGrid->addWidget(sbNuevoLugar_, 2, 1);
    placeGrid->addWidget(sbEditarLugar_, 2, 2);
    placeGrid->addWidget(sbImportarLugar_, 2, 3);
    column->addWidget(placeBox);

    // Date and time.
    auto *timeBox = new QGroupBox("Fecha y hora");
    auto *timeGrid = new QGridLayout(timeBox);
    deFecha_ = new manager::DateField;
    deFecha_->setObjectName("DEFecha");
    cbGmtChoice_ = new QComboBox;
    cbGmtChoice_->setObjectName("CBGMTEntrada");
    cbGmtChoice_->addItems({"no", "sí"});
    cb12h_ = new QComboBox;
    cb12h_->setObjectName("CB12h");
    cb12h_->addItems({"12 h", "24 h"});
    seHora_ = TimeField("SEHora", 0, 13);
    seMin_ = TimeField("SEMin", -1, 60);
    seSeg_ = TimeField("SESeg", -1, 60);
    seMs_ = TimeField("SEMs", -1, 1000);
    cbAmPm_ = new QComboBox;
    cbAmPm_->setObjectName("CBAmPm");
    cbAmPm_->addItems({"am", "pm"});
    cbDeltaT_ = new QComboBox;
    cbDeltaT_->setObjectName("CBDeltaT");
    cbDeltaT_->addItems({"no", "sí"});
    cbDeltaT_->setCurrentIndex(1);
    labelDeltaT_ = new QLabel("0.000");
    labelDeltaT_->setObjectName("LabelDeltaT");
    int row = 0;
    timeGrid->addWidget(new QLabel("Fecha:"), row, 0);
    timeGrid->addWidget(deFecha_, row, 1, 1, 2);
    timeGrid->addWidget(new QLabel("GMT:"), row, 3);
    timeGrid->addWidget(cbGmtChoice_, row++, 4);
    timeGrid->addWidget(cb12h_, row, 0);
    timeGrid->addWidget(new QLabel("hora"), row, 1);
    timeGrid->addWidget(new QLabel("min"), row, 2);
    timeGrid->addWidget(new QLabel("seg"), row, 3);
    timeGrid->addWidget(new QLabel("ms"), row++, 4);
    timeGrid->addWidget(cbAmPm_, row, 0);
    timeGrid->addWidget(seHora_, row, 1);
    timeGrid->addWidget(seMin_, row, 2);
    timeGrid->addWidget(seSeg_, row, 3);
    timeGrid->addWidget(seMs_, row++, 4);
    timeGrid->addWidget(new QLabel("Delta T:"), row, 0);
    timeGrid->addWidget(cbDeltaT_, row, 1);
    timeGrid->addWidget(labelDeltaT_, row, 2, 1, 2);
    timeGrid->addWidget(new QLabel("seg"), row++, 4);
    column->addWidget(timeBox);

    // Stepping panel.
    auto *stepBox = new QGroupBox("cada:");
    stepBox->setObjectName("GBCada");
    auto *stepGrid = new QGridLayout(stepBox);
    sbPasoMenos_ = new QToolButton;
    sbPasoMenos_->setObjectName("SBPasoMenos");
    sbPasoMenos_->setArrowType(Qt::LeftArrow);
    sbPasoMenos_->setToolTip("Atrás (Alt+Izquierda)");
    sbPasoMenos_->setAutoRepeat(true);
    sbPasoMas_ = new QToolButton;
    sbPasoMas_->setObjectName("SBPasoMas");
    sbPasoMas_->setArrowType(Qt::RightArrow);
    sbPasoMas_->setToolTip("Adelante (Alt+Derecha)");
    sbPasoMas_->setAutoRepeat(true);
    seCada_ = new QSpinBox;
    seCada_->setObjectName("SECada");
    seCada_->setRange(1, 31);
    cbUnidad_ = new QComboBox;
    cbUnidad_->setObjectName("CBUnidad");
    for (int u = 1; u <= session::kStepUnitCount; ++u)
        cbUnidad_->addItem(QString::fromUtf8(session::StepUnitName(static_cast<session::StepUnit>(u))));
    cbUnidad_->setCurrentIndex(static_cast<int>(session::StepUnit::Day) - 1);
    sbHoy_ = new QPushButton("Hoy a las cero horas");
    sbHoy_->setObjectName("SBHoy");
    sbAhora_ = new QPushButton("Ahora");
    sbAhora_->setObjectName("SBAhora");
    sbNacimiento_ = new QPushButton("Nacimiento");
    sbNacimiento_->setObjectName("SBNacimiento");
    sbNacimiento_->hide();
    stepGrid->addWidget(sbPasoMenos_, 0, 0);
    stepGrid->addWidget(seCada_, 0, 1);
    stepGrid->addWidget(cbUnidad_, 0, 2);
    stepGrid->addWidget(sbPasoMas_, 0, 3);
    stepGrid->addWidget(sbHoy_, 1, 0, 1, 4);
    stepGrid->addWidget(sbAhora_, 2, 0, 1, 2);
    stepGrid->addWidget(sbNacimiento_, 2, 2, 1, 2);
    column->addWidget(stepBox);

    labelLugar_ = new QLabel;
    labelLugar_->setObjectName("LabelLugar");
    labelLugar_->setWordWrap(true);
    labelGmtInfo_ = new QLabel;
    labelGmtInfo_->setObjectName("LabelGMTInfo");
    labelGmtInfo_->setWordWrap(true);
    column->addWidget(labelLugar_);
    column->addWidget(labelGmtInfo_);
    column->addStretch();

    // Every edit ends in one recomputation.
    auto changed = [this] { FieldsChanged(); };
    connect(deFecha_, &manager::DateField::dateChanged, this, changed);
    for (QSpinBox *s : {seHora_, seMin_, seSeg_, seMs_})
        connect(s, &QSpinBox::valueChanged, this, changed);
    for (QComboBox *c : {cbGmtChoice_, cbDeltaT_, cbAmPm_})
        connect(c, &QComboBox::currentIndexChanged, this, changed);
    connect(cbLugar_, &QComboBox::currentIndexChanged, this, [this] {
        sbEditarLugar_->setEnabled(SelectedPlace() >= 0);
        FieldsChanged();
    });
    connect(sbNuevoLugar_, &QToolButton::clicked, this, [this] { AddOrEditPlace(false); });
    connect(sbEditarLugar_, &QToolButton::clicked, this, [this] { AddOrEditPlace(true); });
    connect(sbImportarLugar_, &QToolButton::clicked, this, [this] { ImportPlaces(); });
    connect(cbPais_, &QComboBox::currentIndexChanged, this, [this] {
        if (updating_)
            return;
        updating_ = true;
        RefillPlaces(cbPais_->currentData().toInt());
        updating_ = false;
        FieldsChanged();
    });
    connect(cb12h_, &QComboBox::currentIndexChanged, this, [this](int i) { SetTwelveHour(i == 0); });
    connect(cbUnidad_, &QComboBox::currentIndexChanged, this, [this] { StepUnitChanged(); });
    connect(sbPasoMenos_, &QToolButton::clicked, this, [this] { Step(-1); });
    connect(sbPasoMas_, &QToolButton::clicked, this, [this] { Step(+1); });
    auto *back = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Left), this);
    auto *forward = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Right), this);
    back->setAutoRepeat(true);
    forward->setAutoRepeat(true);
    connect(back, &QShortcut::activated, this, [this] { Step(-1); });
    connect(forward, &QShortcut::activated, this, [this] { Step(+1); });
    connect(sbHoy_, &QPushButton::clicked, this, [this] { Jump(0); });
    connect(sbAhora_, &QPushButton::clicked, this, [this] { Jump(1); });
    connect(sbNacimiento_, &QPushButton::clicked, this, [this] { Jump(2); });
    connect(rbEvento_, &QRadioButton::toggled, this, [this](bool on) {
        if (updating_)
            return;
        SetDataMode(on ? 3 : 0);
        RecomputeAll();
    });
    connect(sbDeshacer_, &QToolButton::clicked, this, [this] { UndoNatalChanges(); });
    connect(sbGuardar_, &QToolButton::clicked, this, [this] { SaveNatalChanges(); });
    connect(sbRetorno_, &QToolButton::toggled, this, [this](bool on) { ToggleSolarReturn(on); });
    connect(sbEventos_, &QToolButton::toggled, this,
            [this](bool on) { twEventos_->setVisible(on && dataMode_ == 3); });
    for (int page = 0; page < 2; ++page) {
        connect(rbA_[static_cast<std::size_t>(page)], &QRadioButton::toggled, this, [this, page](bool on) {
            if (updating_)
                return;
            updating_ = true;
            rbA_[static_cast<std::size_t>(1 - page)]->setChecked(on);
            rbB_[static_cast<std::size_t>(1 - page)]->setChecked(!on);
            updating_ = false;
            SetPersonAB(on);
        });
    }
    return page;
}

void TFormMain::SetDataMode(int mode) {
    dataMode_ = mode;
    const bool wasUpdating = updating_;
    updating_ = true;
    rbNacimiento_->setChecked(mode == 0);
    rbEvento_->setChecked(mode == 3);
    sbNacimiento_->setVisible(mode == 3);
    eventPanel_->setVisible(mode == 3);
    twEventos_->setVisible(mode == 3 && sbEventos_->isChecked());
    if (retorno_)
        retorno_->setVisible(sbRetorno_->isChecked() && datosTabs_->currentIndex() == 1);
    sbDeshacer_->setEnabled(mode == 0 && natalChanged_);
    sbGuardar_->setEnabled(natalChanged_ && currentPerson_ >= 0);
    LoadRecordIntoFields(ws_.Record(Side()));
    updating_ = wasUpdating;
}

void TFormMain::LoadRecordIntoFields(const chart::TDato &record) {
    const bool wasUpdating = updating_;
    updating_ = true;
    SelectPlace(record.placeId);
    cbGmtChoice_->setCurrentIndex(record.gmtFlag == 1 ? 1 : 0);
    const TDateTime value = session::Workspace::EnteredValue(record);
    deFecha_->setDate(QDateOf(session::DayNumberOf(value)));
    cbDeltaT_->setCurrentIndex(record.deltaTFlag == 1 ? 1 : 0);
    const double dt =
        record.deltaTFlag == 1 ? static_cast<double>(astronomy::DeltaT(record.gmtDateTime)) : 0.0;
    labelDeltaT_->setText(QString::fromStdString(FormatFixed(dt, 3, ws_.format.decimalSeparator)));
    const session::TimeFields t = session::TimeFieldsOf(value);
    hourShown_ = t.hour;
    if (cb12h_->currentIndex() == 0) {
        const auto [h12, pm] = session::HourTo12(t.hour);
        seHora_->setValue(h12);
        cbAmPm_->setCurrentIndex(pm ? 1 : 0);
    } else {
        seHora_->setValue(t.hour);
    }
    seMin_->setValue(t.minute);
    seSeg_->setValue(t.second);
    seMs_->setValue(t.millisecond);
    updating_ = wasUpdating;
    RefreshInfoLabels();
}

void TFormMain::SetTwelveHour(bool twelve) {
    updating_ = true;
    cbAmPm_->setVisible(twelve);
    seHora_->setRange(twelve ? 0 : -1, twelve ? 13 : 24);
    if (twelve) {
        const auto [h12, pm] = session::HourTo12(hourShown_);
        seHora_->setValue(h12);
        cbAmPm_->setCurrentIndex(pm ? 1 : 0);
    } else {
        seHora_->setValue(hourShown_);
    }
    updating_ = false;
}

void TFormMain::FieldsChanged() {
    if (updating_)
        return;
    session::TimeFields fields;
    fields.hour = cb12h_->currentIndex() == 0
                      ? session::HourAfterEdit(hourShown_, seHora_->value(), cbAmPm_->currentIndex() == 1)
                      : seHora_->value();
    fields.minute = seMin_->value();
    fields.second = seSeg_->value();
    fields.millisecond = seMs_->value();
    const session::CarriedTime carried = session::CarryTimeFields(fields);
    const QDate date = deFecha_->date();
    const std::int64_t day = DaysFromCivil(date.year(), date.month(), date.day()) + carried.days;
    const TDateTime value = session::ComposeDateTime(day, carried.Hours());

    chart::TDato &record = ws_.Record(Side());
    // A place with impossible values is refused and the record keeps its place.
    if (const int index = database::IndexOfId(ws_.db.Places, SelectedPlace()); index >= 0) {
        const database::TLugar_Geo &place = *ws_.db.Places[static_cast<std::size_t>(index)];
        if (const auto problems = database::PlaceProblems(place); !problems.empty()) {
            notifier_.Notice(NoticeKind::Error, false, true,
                             database::RefusedChartText("Lugar \"" + place.Nombre + "\"", problems));
            // Back to the record's place when the list holds it, else to none, in the chosen country.
            const bool wasUpdating = updating_;
            updating_ = true;
            cbLugar_->setCurrentIndex(std::max(0, cbLugar_->findData(record.placeId)));
            updating_ = wasUpdating;
            return;
        }
    }
    record.placeId = SelectedPlace();
    record.gmtFlag = cbGmtChoice_->currentIndex();
    record.deltaTFlag = cbDeltaT_->currentIndex();
    ws_.ComputeChart(Side(), value);
    if (Side() == session::ChartSide::Natal) {
        natalChanged_ = true;
        sbDeshacer_->setEnabled(true);
        sbGuardar_->setEnabled(currentPerson_ >= 0);
    }
    LoadRecordIntoFields(record); // the carried fields and the Delta T of the date
    RecomputeAll();
}

void TFormMain::StepUnitChanged() {
    const auto unit = static_cast<session::StepUnit>(cbUnidad_->currentIndex() + 1);
    const int max = session::MaxStepCount(unit);
    seCada_->setMaximum(max); // a count above the new maximum is lowered to it
}

void TFormMain::Step(int direction) {
    if (updating_ || !placePage_->isEnabled())
        return;
    const auto unit = static_cast<session::StepUnit>(cbUnidad_->currentIndex() + 1);
    const TDateTime value = session::Workspace::EnteredValue(ws_.Record(Side()));
    ApplySteppedValue(session::StepDateTime(value, unit, direction * seCada_->value()));
}

void TFormMain::Jump(int which) {
    TDateTime value = 0;
    if (which == 2) {
        const chart::TDato &natal = ws_.natalRecord;
        value = cbGmtChoice_->currentIndex() == 1 ? natal.gmtDateTime : natal.localDateTime;
    } else {
        // The clock read at the record's place (or as Greenwich time under "GMT:"), not in the computer's
        // zone.
        value = session::EnteredTimeOf(ws_, Side(), manager::UniversalNow());
        if (which == 0) {
            const CivilDateTime today = DecodeDateTime(value);
            value = EncodeDate(today.year, today.month, today.day);
        }
    }
    ApplySteppedValue(value);
}

void TFormMain::ApplySteppedValue(TDateTime value) {
    chart::TDato &record = ws_.Record(Side());
    ws_.ComputeChart(Side(), value);
    if (Side() == session::ChartSide::Natal) {
        natalChanged_ = true;
        sbDeshacer_->setEnabled(true);
        sbGuardar_->setEnabled(currentPerson_ >= 0);
    }
    LoadRecordIntoFields(record);
    RecomputeAll();
}

// ---- Places.

void TFormMain::RefillCountries() {
    const bool wasUpdating = updating_;
    updating_ = true;
    cbPais_->clear();
    cbPais_->addItem("[*]", -1);
    std::vector<const database::TPais *> countries;
    for (const auto &c : ws_.db.Countries)
        countries.push_back(c.get());
    std::stable_sort(countries.begin(), countries.end(),
                     [](const database::TPais *a, const database::TPais *b) {
                         return database::SpanishLess(a->Nombre, b->Nombre);
                     });
    for (const database::TPais *c : countries)
        cbPais_->addItem(QString::fromStdString(c->Nombre), c->Id);
    RefillPlaces(-1);
    updating_ = wasUpdating;
}

void TFormMain::AddOrEditPlace(bool edit) {
    if (!EnsureDataFile())
        return;
    const std::int32_t id = edit ? SelectedPlace() : -1;
    if (edit && id < 0)
        return;
    const std::optional<std::int32_t> stored =
        manager::TFormItem::Run(this, *store_, database::Kind::Place, id);
    if (!stored)
        return;
    RefillCountries();
    sbNuevoLugar_->setEnabled(!ws_.db.Countries.empty());
    SelectPlace(*stored);
    FieldsChanged();
}

void TFormMain::ImportPlaces() {
    if (!EnsureDataFile())
        return;
    const std::int32_t keep = SelectedPlace();
    if (!manager::ImportPlaceFile(this, *store_, false))
        return;
    RefillCountries();
    sbNuevoLugar_->setEnabled(!ws_.db.Countries.empty());
    SelectPlace(keep);
}

void TFormMain::RefillPlaces(std::int32_t countryId) {
    cbLugar_->clear();
    cbLugar_->addItem("[*]", -1);
    std::vector<const database::TLugar_Geo *> places;
    for (const auto &p : ws_.db.Places)
        if (countryId >= 0 && p->IdPais == countryId)
            places.push_back(p.get());
    std::stable_sort(places.begin(), places.end(),
                     [](const database::TLugar_Geo *a, const database::TLugar_Geo *b) {
                         return database::SpanishLess(a->Nombre, b->Nombre);
                     });
    for (const database::TLugar_Geo *p : places)
        cbLugar_->addItem(QString::fromStdString(p->Nombre), p->Id);
}

void TFormMain::SelectPlace(std::int32_t placeId) {
    const bool wasUpdating = updating_;
    updating_ = true;
    const int index = database::IndexOfId(ws_.db.Places, placeId);
    // No place keeps the chosen country, so a country chosen before its place stays.
    if (index >= 0) {
        const int countryRow =
            std::max(0, cbPais_->findData(ws_.db.Places[static_cast<std::size_t>(index)]->IdPais));
        if (cbPais_->currentIndex() != countryRow || cbLugar_->count() <= 1) {
            cbPais_->setCurrentIndex(countryRow);
            RefillPlaces(cbPais_->currentData().toInt());
        }
    }
    cbLugar_->setCurrentIndex(std::max(0, cbLugar_->findData(index >= 0 ? placeId : -1)));
    sbEditarLugar_->setEnabled(SelectedPlace() >= 0);
    updating_ = wasUpdating;
}

std::int32_t TFormMain::SelectedPlace() const {
    return cbLugar_->currentData().isValid() ? cbLugar_->currentData().toInt() : -1;
}

void TFormMain::RefreshInfoLabels() {
    const chart::TDato &r = ws_.Record(Side());
    const int index = database::IndexOfId(ws_.db.Places, r.placeId);
    std::string place = "[*]";
    std::string country;
    if (index >= 0) {
        const database::TLugar_Geo &p = *ws_.db.Places[static_cast<std::size_t>(index)];
        place = p.Nombre;
        country = database::NameOfId(ws_.db.Countries, p.IdPais);
    }
    const std::string zone =
        " (TZ:" + FormatFixed(static_cast<double>(r.zone), 2, ws_.format.decimalSeparator, 2) + ")";
    labelLugar_->setText(QString::fromStdString(
        place + ", " + country + "\n" +
        "Lon:" + database::AngleText(r.longitude, database::AngleKind::Longitude) +
        ", Lat:" + database::AngleText(r.latitude, database::AngleKind::Latitude) + "\n" +
        DateTimeLabel(r.localDateTime, "dddd, mmm-d-yyyy, h:nn:ss am/pm, ", ws_.format) +
        DateTimeLabel(r.localDateTime, "h:nn:ss", ws_.format) + zone +
        (Side() == session::ChartSide::Natal && session::NatalTimeUnknown(ws_)
             ? ", " + session::kTimeUnknownMark
             : "")));
    labelGmtInfo_->setText(
        QString::fromStdString(DateTimeLabel(r.gmtDateTime, "dddd, mmm-d-yyyy, h:nn:ss am/pm, ", ws_.format) +
                               DateTimeLabel(r.gmtDateTime, "h:nn:ss", ws_.format) + " (GMT)"));
}

void TFormMain::RefreshDateLabels() {
    auto line = [this](const chart::TDato &r) {
        if (cbGmt_->isChecked())
            return DateTimeLabel(r.gmtDateTime, "mmm d yyyy, hh:nn:ss am/pm", ws_.format) + "  GMT";
        return DateTimeLabel(r.localDateTime, "mmm d yyyy, hh:nn:ss am/pm", ws_.format) +
               "  (TZ:" + FormatFixed(static_cast<double>(r.zone), 2, ws_.format.decimalSeparator, 2) + ")";
    };
    labelNatalDate_->setText(QString::fromStdString(
        line(ws_.natalRecord) + (session::NatalTimeUnknown(ws_) ? "  " + session::kTimeUnknownMark : "")));
    labelEventoDate_->setText(QString::fromStdString(line(ws_.eventRecord)));
    if (!sbSinastria_->isChecked()) {
        if (cbEdad_->isChecked())
            labelEvento_->setText(QString::fromStdString(
                astronomy::FormatAge(ws_.natal.instant, ws_.event.instant) + ". Evento: "));
        else
            labelEvento_->setText("Evento: ");
    }
}

} // namespace cel::workspace
