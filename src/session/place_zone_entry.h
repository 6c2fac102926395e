// The zone of a place as the place editor offers it: derived from the atlas (the nearest city of the
// place's country) unless the user chose one, the words that say where the shown zone comes from, and
// what is kept in the user's zone choices when the place is stored (a zone other than the atlas's as
// a choice, the atlas's own forgetting any choice, a choice moving with a place renamed or moved).
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "database/database.h"
#include "zones/atlas.h"
#include "zones/place_zones.h"

namespace cel::session {

class PlaceZoneEntry {
public:
    // choices: the users' zone choices, read when asked (the file they come from may change).
    explicit PlaceZoneEntry(std::function<zones::PlaceZoneChoices &()> choices,
                            const zones::Atlas &atlas = zones::SharedAtlas())
        : choices_(std::move(choices)), atlas_(atlas) {}

    // The zone to show for a place as it stands now: its recorded choice, else the atlas's.
    std::string ShowFor(const database::Database &db, const database::TLugar_Geo &place);
    // The zone derived again for the place as its boxes now stand; nullopt when the user chose one
    // (here or before), which then stays.
    std::optional<std::string> Rederive(const database::Database &db, const database::TLugar_Geo &place);
    // The user chose another zone in the window.
    void Edited() { edited_ = true; }

    // Where the shown zone comes from, or why it is not a zone.
    std::string Description(const std::string &zone) const;

    // Records zone for the stored place; true when the choices changed (to be written to their file).
    bool Record(const database::Database &db, const database::TLugar_Geo &stored,
                const std::optional<zones::PlaceKey> &formerKey, const std::string &zone);

private:
    std::function<zones::PlaceZoneChoices &()> choices_;
    const zones::Atlas &atlas_;
    zones::PlaceZone derived_; // the atlas's zone for the place as last shown
    bool chosen_ = false;      // the place had a recorded choice
    bool edited_ = false;      // the user chose a zone in this window
};

} // namespace cel::session
