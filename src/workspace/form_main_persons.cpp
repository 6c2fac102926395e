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
#include "workspace/events_panel.h"
#include "workspace/form_main.h"
#include "workspace/form_retorno.h"
#include "workspace/person_filter_panel.h"
#include "workspace/persons_panel.h"
#include "workspace/place_panel.h"
#include "workspace/side_scroll.h"

namespace cel::workspace {

void TFormMain::BuildDatosDock() {
    twDatos_ = new QDockWidget("Datos", this);
    twDatos_->setObjectName("TWDatos");
    datosTabs_ = new QTabWidget;
    datosTabs_->setObjectName("PCDatos");
    persons_ = new PersonsPanel(session_, Action(Command::NewPerson), Action(Command::EditPerson),
                                Action(Command::DeletePerson));
    datosTabs_->addTab(persons_, " Personas ");
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

void TFormMain::BuildFilterDock() {
    twFiltrar_ = new QDockWidget("Filtar lista personas", this);
    twFiltrar_->setObjectName("TWFiltrarLista");
    filter_ = new PersonFilterPanel(session_);
    twFiltrar_->setWidget(new SideScroll(filter_, false));
    addDockWidget(Qt::LeftDockWidgetArea, twFiltrar_);
}

void TFormMain::ShowLists() {
    filter_->ShowGroups();
    place_->ShowLists();
}

void TFormMain::ShowPersons() {
    filter_->Show();
    persons_->ShowList();
}

void TFormMain::AddOrEditPerson(bool add) {
    if (!EnsureDataFile())
        return;
    const std::int32_t selected = persons_->SelectedPerson();
    if (!add && selected < 0)
        return;
    // The item editor checks the shared use, stores the person and saves the data file.
    const std::optional<std::int32_t> stored =
        add ? manager::TFormItem::AddPerson(this, session_.Store())
            : manager::TFormItem::EditPerson(this, session_.Store(), selected);
    if (!stored)
        return;
    session_.PersonsEdited();
    persons_->SelectPersonRow(*stored); // the new or edited person is highlighted, not loaded
}

void TFormMain::DeleteSelectedPerson() {
    if (persons_->SelectedPerson() >= 0)
        session_.DeletePerson(persons_->SelectedPerson());
}

// ---- Events.

void TFormMain::BuildEventsDock() {
    twEventos_ = new QDockWidget("Eventos: ", this);
    twEventos_->setObjectName("TWListEvents");
    events_ = new EventsPanel(session_);
    twEventos_->setWidget(events_);
    addDockWidget(Qt::RightDockWidgetArea, twEventos_);
}

} // namespace cel::workspace
