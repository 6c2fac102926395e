#include "workspace/events_panel.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "workspace/key_list.h"
#include "workspace/view_input.h"

namespace cel::workspace {

EventsPanel::EventsPanel(session::Session &session, QWidget *parent) : SessionPanel(session, parent) {
    auto *column = new QVBoxLayout(this);
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
    connect(sbNuevoEvento_, &QPushButton::clicked, this, [this] { session_.NewEvent(); });
    connect(sbGuardarEvento_, &QPushButton::clicked, this,
            [this] { session_.OverwriteEvent(lbEventos_->currentRow()); });
    connect(sbEliminarEvento_, &QPushButton::clicked, this,
            [this] { session_.DeleteEvent(lbEventos_->currentRow()); });
    connect(lbEventos_, &QListWidget::itemDoubleClicked, this,
            [this] { session_.ChooseEvent(lbEventos_->currentRow()); });
    OnInput(lbEventos_, &QListWidget::currentRowChanged, [this](int row) {
        session_.SelectEvent(row);
        sbEliminarEvento_->setEnabled(row >= 0);
    });
    list->onKey = [this](int key) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            session_.ChooseEvent(lbEventos_->currentRow());
            return true;
        }
        if (key == Qt::Key_Delete) {
            session_.DeleteEvent(lbEventos_->currentRow());
            return true;
        }
        return false;
    };
}

void EventsPanel::Show() {
    const ShowingScope showing(showing_);
    lbEventos_->clear();
    const std::vector<database::TEvento> *events = session_.Events();
    const std::size_t count = events ? events->size() : 0;
    if (events)
        for (const database::TEvento &e : *events)
            lbEventos_->addItem(QString::fromStdString(session_.EventListText(e)));
    const int selected = session_.SelectedEvent();
    lbEventos_->setCurrentRow(selected >= 0 && selected < lbEventos_->count() ? selected : -1);
    labelEventos_->setText(QString(count == 1 ? "%1 evento " : "%1 eventos ").arg(count));
    sbNuevoEvento_->setEnabled(events != nullptr);
    sbGuardarEvento_->setEnabled(events != nullptr);
    sbEliminarEvento_->setEnabled(lbEventos_->currentRow() >= 0);
}

} // namespace cel::workspace
