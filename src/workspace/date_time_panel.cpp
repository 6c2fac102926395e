#include "workspace/date_time_panel.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "manager/date_field.h"
#include "manager/zone_offer_panel.h"
#include "workspace/view_input.h"

namespace cel::workspace {

namespace {

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

DateTimePanel::DateTimePanel(session::Session &session, QWidget *parent) : SessionPanel(session, parent) {
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
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
    // The date takes the whole row: its notes (both calendars' readings, a refusal) need the width.
    timeGrid->addWidget(deFecha_, row++, 1, 1, 4);
    timeGrid->addWidget(new QLabel("GMT:"), row, 0);
    timeGrid->addWidget(cbGmtChoice_, row++, 1);
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
    OnInput(cb12h_, &QComboBox::currentIndexChanged, [this](int i) { session_.SetTwelveHour(i == 0); });
    OnInput(cbUnidad_, &QComboBox::currentIndexChanged,
            [this](int i) { session_.SetStepUnit(static_cast<session::StepUnit>(i + 1)); });
    OnInput(seCada_, &QSpinBox::valueChanged, [this](int n) { session_.SetStepCount(n); });
    connect(zoneOffer_, &manager::ZoneOfferPanel::accepted, this,
            [this](TDateTime universal) { session_.ApplyZoneOffer(universal); });
}

void DateTimePanel::ConnectCommands(QAction *back, QAction *forward, QAction *today, QAction *now,
                                    QAction *birth) {
    connect(sbPasoMenos_, &QToolButton::clicked, back, &QAction::trigger);
    connect(sbPasoMas_, &QToolButton::clicked, forward, &QAction::trigger);
    connect(sbHoy_, &QPushButton::clicked, today, &QAction::trigger);
    connect(sbAhora_, &QPushButton::clicked, now, &QAction::trigger);
    connect(sbNacimiento_, &QPushButton::clicked, birth, &QAction::trigger);
}

void DateTimePanel::Show() {
    const ShowingScope showing(showing_);
    sbNacimiento_->setVisible(session_.Side() == session::ChartSide::Event);
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
    zoneOffer_->Show(session_.EntryZoneOffer());
}

} // namespace cel::workspace
