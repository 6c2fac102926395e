// The main window's place and date page: the chart side being edited (natal or event, persons A and
// B), its place, and the date and time panel, shown from the session; every edit calls one session
// operation.
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
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "manager/item_editor.h"
#include "manager/place_import_window.h"
#include "workspace/date_time_panel.h"
#include "workspace/form_main.h"
#include "workspace/form_retorno.h"
#include "workspace/persons_panel.h"

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

} // namespace

QWidget *TFormMain::BuildPlacePage() {
    auto *page = new QWidget;
    placePage_ = page;
    auto *column = new QVBoxLayout(page);

    auto *modeRow = new QHBoxLayout;
    rbA_ = new QRadioButton("A");
    rbA_->setObjectName("RBPersonaA2");
    rbB_ = new QRadioButton("B");
    rbB_->setObjectName("RBPersonaB2");
    rbA_->setChecked(true);
    rbNacimiento_ = new QRadioButton("Nacimiento");
    rbNacimiento_->setObjectName("RBNacimiento");
    rbEvento_ = new QRadioButton("Evento");
    rbEvento_->setObjectName("RBEvento");
    rbNacimiento_->setChecked(true);
    auto *modeGroup = new QButtonGroup(page);
    modeGroup->addButton(rbNacimiento_);
    modeGroup->addButton(rbEvento_);
    auto *abGroup = new QButtonGroup(page);
    abGroup->addButton(rbA_);
    abGroup->addButton(rbB_);
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
    for (QWidget *w :
         std::initializer_list<QWidget *>{rbA_, rbB_, rbNacimiento_, rbEvento_, sbDeshacer_, sbGuardar_})
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

    // Date and time, the stepping panel and the information lines.
    dateTime_ = new DateTimePanel(session_);
    dateTime_->ConnectCommands(Action(Command::StepBack), Action(Command::StepForward),
                               Action(Command::Today), Action(Command::Now), Action(Command::Birth));
    column->addWidget(dateTime_);
    column->addStretch();

    OnInput(cbLugar_, &QComboBox::currentIndexChanged, [this](int) {
        session_.SetPlace(cbLugar_->currentData().isValid() ? cbLugar_->currentData().toInt() : -1);
    });
    OnInput(cbPais_, &QComboBox::currentIndexChanged,
            [this](int) { session_.ChooseCountry(cbPais_->currentData().toInt()); });
    connect(sbNuevoLugar_, &QToolButton::clicked, this, [this] { AddOrEditPlace(false); });
    connect(sbEditarLugar_, &QToolButton::clicked, this, [this] { AddOrEditPlace(true); });
    connect(sbImportarLugar_, &QToolButton::clicked, this, [this] { ImportPlaces(); });
    OnInput(rbEvento_, &QRadioButton::toggled, [this](bool on) {
        session_.SetSide(on ? session::ChartSide::Event : session::ChartSide::Natal);
    });
    connect(sbDeshacer_, &QToolButton::clicked, this, [this] { session_.UndoNatal(); });
    connect(sbGuardar_, &QToolButton::clicked, this, [this] { session_.SaveNatal(); });
    connect(sbRetorno_, &QToolButton::toggled, this, [this](bool on) { ToggleSolarReturn(on); });
    connect(sbEventos_, &QToolButton::toggled, this,
            [this](bool on) { twEventos_->setVisible(on && session_.Side() == session::ChartSide::Event); });
    OnInput(rbA_, &QRadioButton::toggled,
            [this](bool on) { session_.ChooseSlot(on ? session::PersonSlot::A : session::PersonSlot::B); });
    return page;
}

void TFormMain::ShowEntry() {
    const bool event = session_.Side() == session::ChartSide::Event;
    rbNacimiento_->setChecked(!event);
    rbEvento_->setChecked(event);
    eventPanel_->setVisible(event);
    if (session_.Started())
        twEventos_->setVisible(event && sbEventos_->isChecked());
    if (retorno_)
        retorno_->setVisible(sbRetorno_->isChecked() && datosTabs_->currentIndex() == 1);
    sbDeshacer_->setEnabled(!event && session_.NatalChanged());
    sbGuardar_->setEnabled(session_.NatalChanged() && session_.CurrentPerson() >= 0);
    placePage_->setEnabled(!session_.Synastry());
    rbA_->setChecked(session_.Slot() == session::PersonSlot::A);
    rbB_->setChecked(session_.Slot() == session::PersonSlot::B);
    persons_->ShowPair();
    ShowPlaces();

    dateTime_->Show();
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
    const int year = DecodeDateTime(session_.EntryValue()).year; // the year the date field shows
    if (!retorno_) {
        retorno_ = new TFormRetorno(Workspace(), year, this);
        retorno_->onApplied = [this] { session_.SolarReturnApplied(); };
        retorno_->onClosed = [this] { sbRetorno_->setChecked(false); };
    }
    if (on) {
        retorno_->Reset(year);
        retorno_->show();
        retorno_->raise();
    } else {
        retorno_->Stop();
        retorno_->hide();
    }
}

} // namespace cel::workspace
