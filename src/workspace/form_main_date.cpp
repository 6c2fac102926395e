// Date, time and place entry of the main window: the fields of the chart side being edited, the
// stepping panel and jumps, and the information labels, shown from the session; every edit calls one
// session operation.
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "manager/date_field.h"
#include "manager/item_editor.h"
#include "manager/place_import_window.h"
#include "manager/zone_choices.h"
#include "manager/zone_offer_panel.h"
#include "workspace/form_main.h"
#include "workspace/form_retorno.h"
#include "zones/atlas.h"

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
    zoneOffer_ = new manager::ZoneOfferPanel;
    timeGrid->addWidget(zoneOffer_, row++, 0, 1, 5);
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

    // Every edit is one session operation, ending in one recomputation.
    OnInput(deFecha_, &manager::DateField::dateChanged,
            [this](QDate d) { session_.SetDate(d.year(), d.month(), d.day()); });
    OnInput(seHora_, &QSpinBox::valueChanged, [this](int hour) {
        if (session_.TwelveHour())
            session_.SetHour12(hour,
                               session::HourTo12(session::TimeFieldsOf(session_.EntryValue()).hour).second);
        else
            session_.SetTimeField(session::TimeField::Hour, hour);
    });
    OnInput(cbAmPm_, &QComboBox::currentIndexChanged, [this](int pm) {
        session_.SetHour12(session::HourTo12(session::TimeFieldsOf(session_.EntryValue()).hour).first,
                           pm == 1);
    });
    const std::pair<QSpinBox *, session::TimeField> fields[] = {{seMin_, session::TimeField::Minute},
                                                                {seSeg_, session::TimeField::Second},
                                                                {seMs_, session::TimeField::Millisecond}};
    for (const auto &[box, field] : fields)
        OnInput(box, &QSpinBox::valueChanged,
                [this, field = field](int v) { session_.SetTimeField(field, v); });
    OnInput(cbGmtChoice_, &QComboBox::currentIndexChanged, [this](int i) { session_.SetGmtEntry(i == 1); });
    OnInput(cbDeltaT_, &QComboBox::currentIndexChanged, [this](int i) { session_.SetDeltaT(i == 1); });
    OnInput(cbLugar_, &QComboBox::currentIndexChanged, [this](int) {
        session_.SetPlace(cbLugar_->currentData().isValid() ? cbLugar_->currentData().toInt() : -1);
    });
    OnInput(cbPais_, &QComboBox::currentIndexChanged,
            [this](int) { session_.ChooseCountry(cbPais_->currentData().toInt()); });
    connect(sbNuevoLugar_, &QToolButton::clicked, this, [this] { AddOrEditPlace(false); });
    connect(sbEditarLugar_, &QToolButton::clicked, this, [this] { AddOrEditPlace(true); });
    connect(sbImportarLugar_, &QToolButton::clicked, this, [this] { ImportPlaces(); });
    OnInput(cb12h_, &QComboBox::currentIndexChanged, [this](int i) { session_.SetTwelveHour(i == 0); });
    OnInput(cbUnidad_, &QComboBox::currentIndexChanged,
            [this](int i) { session_.SetStepUnit(static_cast<session::StepUnit>(i + 1)); });
    OnInput(seCada_, &QSpinBox::valueChanged, [this](int n) { session_.SetStepCount(n); });
    connect(sbPasoMenos_, &QToolButton::clicked, Action(Command::StepBack), &QAction::trigger);
    connect(sbPasoMas_, &QToolButton::clicked, Action(Command::StepForward), &QAction::trigger);
    connect(sbHoy_, &QPushButton::clicked, Action(Command::Today), &QAction::trigger);
    connect(sbAhora_, &QPushButton::clicked, Action(Command::Now), &QAction::trigger);
    connect(sbNacimiento_, &QPushButton::clicked, Action(Command::Birth), &QAction::trigger);
    connect(zoneOffer_, &manager::ZoneOfferPanel::accepted, this,
            [this](TDateTime universal) { session_.ApplyZoneOffer(universal); });
    OnInput(rbEvento_, &QRadioButton::toggled, [this](bool on) {
        session_.SetSide(on ? session::ChartSide::Event : session::ChartSide::Natal);
    });
    connect(sbDeshacer_, &QToolButton::clicked, this, [this] { session_.UndoNatal(); });
    connect(sbGuardar_, &QToolButton::clicked, this, [this] { session_.SaveNatal(); });
    connect(sbRetorno_, &QToolButton::toggled, this, [this](bool on) { ToggleSolarReturn(on); });
    connect(sbEventos_, &QToolButton::toggled, this,
            [this](bool on) { twEventos_->setVisible(on && session_.Side() == session::ChartSide::Event); });
    for (QRadioButton *a : rbA_)
        OnInput(a, &QRadioButton::toggled, [this](bool on) {
            session_.ChooseSlot(on ? session::PersonSlot::A : session::PersonSlot::B);
        });
    return page;
}

void TFormMain::ShowEntry() {
    const bool event = session_.Side() == session::ChartSide::Event;
    rbNacimiento_->setChecked(!event);
    rbEvento_->setChecked(event);
    sbNacimiento_->setVisible(event);
    eventPanel_->setVisible(event);
    if (session_.Started())
        twEventos_->setVisible(event && sbEventos_->isChecked());
    if (retorno_)
        retorno_->setVisible(sbRetorno_->isChecked() && datosTabs_->currentIndex() == 1);
    sbDeshacer_->setEnabled(!event && session_.NatalChanged());
    sbGuardar_->setEnabled(session_.NatalChanged() && session_.CurrentPerson() >= 0);
    placePage_->setEnabled(!session_.Synastry());
    sbSinastria_->setChecked(session_.Synastry());
    for (std::size_t page = 0; page < 2; ++page) {
        rbA_[page]->setChecked(session_.Slot() == session::PersonSlot::A);
        rbB_[page]->setChecked(session_.Slot() == session::PersonSlot::B);
    }
    ShowPlaces();

    const chart::TDato &record = session_.Entry();
    const TDateTime value = session_.EntryValue();
    cbGmtChoice_->setCurrentIndex(record.gmtFlag == 1 ? 1 : 0);
    deFecha_->setDate(QDateOf(session::DayNumberOf(value)));
    cbDeltaT_->setCurrentIndex(record.deltaTFlag == 1 ? 1 : 0);
    labelDeltaT_->setText(QString::fromStdString(session_.DeltaTText()));
    const bool twelve = session_.TwelveHour();
    cb12h_->setCurrentIndex(twelve ? 0 : 1);
    cbAmPm_->setVisible(twelve);
    seHora_->setRange(twelve ? 0 : -1, twelve ? 13 : 24);
    const session::TimeFields t = session::TimeFieldsOf(value);
    if (twelve) {
        const auto [h12, pm] = session::HourTo12(t.hour);
        seHora_->setValue(h12);
        cbAmPm_->setCurrentIndex(pm ? 1 : 0);
    } else {
        seHora_->setValue(t.hour);
    }
    seMin_->setValue(t.minute);
    seSeg_->setValue(t.second);
    seMs_->setValue(t.millisecond);
    cbUnidad_->setCurrentIndex(static_cast<int>(session_.StepUnitChosen()) - 1);
    seCada_->setMaximum(session::MaxStepCount(session_.StepUnitChosen()));
    seCada_->setValue(session_.StepCount());
    labelLugar_->setText(QString::fromStdString(session_.PlaceText()));
    labelGmtInfo_->setText(QString::fromStdString(session_.GmtText()));
    // A local time whose zone then differs from the place's stored one gets the offer beside it.
    zoneOffer_->Show(session_.EntryZoneOffer(zones::SharedAtlas(), &manager::ZoneChoices()));
}

void TFormMain::ShowPlaces() {
    const std::int32_t country = session_.EntryCountry();
    const int countryRow = std::max(0, cbPais_->findData(country));
    if (cbPais_->currentIndex() != countryRow || cbLugar_->count() == 0 ||
        cbLugar_->property("country").toInt() != country) {
        cbPais_->setCurrentIndex(countryRow);
        cbLugar_->clear();
        cbLugar_->addItem("[*]", -1);
        for (const session::NamedId &p : session_.Places(country))
            cbLugar_->addItem(QString::fromStdString(p.name), p.id);
        cbLugar_->setProperty("country", country);
    }
    const std::int32_t place = session_.Entry().placeId;
    cbLugar_->setCurrentIndex(std::max(0, cbLugar_->findData(place)));
    sbEditarLugar_->setEnabled(cbLugar_->currentIndex() > 0);
}

// ---- Places.

void TFormMain::AddOrEditPlace(bool edit) {
    if (!EnsureDataFile())
        return;
    const std::int32_t id = edit ? session_.Entry().placeId : -1;
    if (edit && id < 0)
        return;
    const std::optional<std::int32_t> stored =
        manager::TFormItem::Run(this, session_.Store(), database::Kind::Place, id);
    if (stored)
        session_.PlaceStored(*stored);
}

void TFormMain::ImportPlaces() {
    if (!EnsureDataFile())
        return;
    if (manager::ImportPlaceFile(this, session_.Store(), false))
        session_.PlacesImported();
}

// ---- Solar return window.

void TFormMain::ToggleSolarReturn(bool on) {
    if (!retorno_) {
        retorno_ = new TFormRetorno(Workspace(), deFecha_->date().year(), this);
        retorno_->onApplied = [this] { session_.SolarReturnApplied(); };
        retorno_->onClosed = [this] { sbRetorno_->setChecked(false); };
    }
    if (on) {
        retorno_->Reset(deFecha_->date().year());
        retorno_->show();
        retorno_->raise();
    } else {
        retorno_->Stop();
        retorno_->hide();
    }
}

} // namespace cel::workspace
