// The zone of a place in the place editor: the IANA zone derived from the atlas (the nearest city of
// the place's country) or the one the user chose, shown with where it comes from, and a list of every
// zone of the system's database to choose another. The choice is kept in the user's zone file, never
// in the data file.
#pragma once

#include <QWidget>

#include <optional>
#include <string>

#include "session/place_zone_entry.h"

class QComboBox;
class QLabel;

namespace cel::manager {

class PlaceZoneField : public QWidget {
    Q_OBJECT
public:
    explicit PlaceZoneField(QWidget *parent = nullptr);

    // Shows the zone of a place (its recorded choice, else the atlas's), as the place stands now.
    void ShowFor(const database::Database &db, const database::TLugar_Geo &place);
    // Derives the zone again for the place as its boxes now stand, unless the user chose one here.
    void Rederive(const database::Database &db, const database::TLugar_Geo &place);
    // The zone shown ("" for none).
    std::string Zone() const;
    // Records the shown zone for the stored place: a zone other than the atlas's is kept as the user's
    // choice, the atlas's own forgets any choice; a choice kept under the place's former key (name or
    // coordinates changed) moves with it. False and the reason when the zone file cannot be written.
    bool Store(const database::Database &db, const database::TLugar_Geo &stored,
               const std::optional<zones::PlaceKey> &formerKey, std::string *error);

private:
    void Describe();

    session::PlaceZoneEntry entry_;
    QComboBox *zone_ = nullptr;
    QLabel *source_ = nullptr;
};

} // namespace cel::manager
