// The main window's place and date page: the chart side being edited (natal or event, persons A and
// B), the place panel and the date and time panel, shown from the session; every edit calls one
// session operation.
#include <QAction>
#include <QButtonGroup>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "workspace/date_time_panel.h"
#include "workspace/form_main.h"
#include "workspace/form_retorno.h"
#include "workspace/persons_panel.h"
#include "workspace/place_panel.h"

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
    place_ = new PlacePanel(session_);
    place_->ensureDataFile = [this] { return EnsureDataFile(); };
    column->addWidget(place_);

    // Date and time, the stepping panel and the information lines.
    dateTime_ = new DateTimePanel(session_);
    dateTime_->ConnectCommands(Action(Command::StepBack), Action(Command::StepForward),
                               Action(Command::Today), Action(Command::Now), Action(Command::Birth));
    column->addWidget(dateTime_);
    column->addStretch();

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
    place_->Show();
    dateTime_->Show();
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
