#include "manager/place_zone_field.h"

#include <QComboBox>
#include <QCompleter>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <cstdio>

#include "manager/zone_choices.h"
#include "zones/atlas.h"
#include "zones/zone_history.h"

namespace cel::manager {

PlaceZoneField::PlaceZoneField(QWidget *parent) : QWidget(parent) {
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
        edited_ = true;
        Describe();
    });
}

void PlaceZoneField::ShowFor(const database::Database &db, const database::TLugar_Geo &place) {
    const zones::PlaceZone zone = zones::ZoneOfPlace(db, place, zones::SharedAtlas(), &ZoneChoices());
    derived_ = zones::ZoneOfPlace(db, place, zones::SharedAtlas(), nullptr);
    chosen_ = zone.source == zones::PlaceZoneSource::Chosen;
    const QSignalBlocker quiet(zone_);
    zone_->setCurrentText(QString::fromStdString(zone.zoneId));
    edited_ = false;
    Describe();
}

void PlaceZoneField::Rederive(const database::Database &db, const database::TLugar_Geo &place) {
    if (!edited_ && !chosen_)
        ShowFor(db, place);
}

std::string PlaceZoneField::Zone() const {
    return zone_->currentText().trimmed().toStdString();
}

void PlaceZoneField::Describe() {
    const std::string zone = Zone();
    std::string text;
    if (zone.empty()) {
        text = "Sin zona: el atlas no tiene ciudades de ese país; elija una de la lista.";
    } else if (!zones::IsZoneId(zone)) {
        text = "\"" + zone + "\" no es una zona de la base de datos de zonas horarias.";
    } else if (zone != derived_.zoneId || chosen_) {
        text = zone == derived_.zoneId ? "La del atlas" : "Elegida por usted";
        if (!derived_.zoneId.empty() && zone != derived_.zoneId)
            text += " (el atlas da " + derived_.zoneId + ")";
        text += ".";
    } else if (derived_.city) {
        char km[32];
        std::snprintf(km, sizeof km, "%.0f", derived_.distanceKm);
        text = "Del atlas: la ciudad más cercana es " + derived_.city->name +
               (derived_.city->region.empty() ? "" : ", " + derived_.city->region) + " (" + km + " km)" +
               (derived_.source == zones::PlaceZoneSource::AtlasNearby ? ", de otro país." : ".");
    }
    source_->setText(QString::fromStdString(text));
}

bool PlaceZoneField::Store(const database::Database &db, const database::TLugar_Geo &stored,
                           const std::optional<zones::PlaceKey> &formerKey, std::string *error) {
    const std::string zone = Zone();
    const zones::PlaceKey key = zones::KeyOf(db, stored);
    zones::PlaceZoneChoices &choices = ZoneChoices();
    const std::optional<std::string> before = choices.Get(key);
    const std::optional<std::string> formerChoice = formerKey ? choices.Get(*formerKey) : std::nullopt;
    const zones::PlaceZone derived = zones::ZoneOfPlace(db, stored, zones::SharedAtlas(), nullptr);
    const std::string wanted = zone == derived.zoneId ? std::string() : zone;
    if (before.value_or("") == wanted && !formerChoice)
        return true;
    if (formerKey)
        choices.Set(*formerKey, "");
    choices.Set(key, wanted);
    return SaveZoneChoices(error);
}

} // namespace cel::manager
