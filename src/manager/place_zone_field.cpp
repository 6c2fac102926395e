#include "manager/place_zone_field.h"

#include <QComboBox>
#include <QCompleter>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "manager/zone_choices.h"
#include "zones/zone_history.h"

namespace cel::manager {

PlaceZoneField::PlaceZoneField(QWidget *parent)
    : QWidget(parent), entry_([]() -> zones::PlaceZoneChoices & { return ZoneChoices(); }) {
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    zone_ = new QComboBox(this);
    zone_->setObjectName("CMBZona");
    zone_->setEditable(true);
    zone_->setInsertPolicy(QComboBox::NoInsert);
    zone_->addItem("");
    for (const std::string &id : zones::ZoneIds())
        zone_->addItem(QString::fromStdString(id));
    zone_->completer()->setCompletionMode(QCompleter::PopupCompletion);
    zone_->completer()->setFilterMode(Qt::MatchContains);
    zone_->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    zone_->setToolTip("Zona horaria de la base de datos IANA con la historia de sus horarios");
    source_ = new QLabel(this);
    source_->setObjectName("LAZonaOrigen");
    source_->setWordWrap(true);
    column->addWidget(zone_);
    column->addWidget(source_);
    connect(zone_, &QComboBox::currentTextChanged, this, [this] {
        entry_.Edited();
        Describe();
    });
}

void PlaceZoneField::ShowFor(const database::Database &db, const database::TLugar_Geo &place) {
    const std::string zone = entry_.ShowFor(db, place);
    const QSignalBlocker quiet(zone_);
    zone_->setCurrentText(QString::fromStdString(zone));
    Describe();
}

void PlaceZoneField::Rederive(const database::Database &db, const database::TLugar_Geo &place) {
    if (const std::optional<std::string> zone = entry_.Rederive(db, place)) {
        const QSignalBlocker quiet(zone_);
        zone_->setCurrentText(QString::fromStdString(*zone));
        Describe();
    }
}

std::string PlaceZoneField::Zone() const {
    return zone_->currentText().trimmed().toStdString();
}

void PlaceZoneField::Describe() {
    source_->setText(QString::fromStdString(entry_.Description(Zone())));
}

bool PlaceZoneField::Store(const database::Database &db, const database::TLugar_Geo &stored,
                           const std::optional<zones::PlaceKey> &formerKey, std::string *error) {
    if (!entry_.Record(db, stored, formerKey, Zone()))
        return true;
    return SaveZoneChoices(error);
}

} // namespace cel::manager
