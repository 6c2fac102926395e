// What the manager's filter panel and group chooser offer: the countries, the person groups and the
// places of a country in Spanish name order, the business groups in file order, and the ticks of the
// person groups that the group filter reads.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "database/database.h"

namespace cel::session {

struct NamedChoice {
    std::int32_t id = -1;
    std::string name;
    bool ticked = false;
    std::string country; // a place's country ("-" when it has none), for the place entries
};

std::vector<NamedChoice> CountryChoices(const database::Database &db);
std::vector<NamedChoice> PersonGroupChoices(const database::Database &db);
std::vector<NamedChoice> BusinessGroupChoices(const database::Database &db);
// The places of a country; none for "[*]" (a negative id).
std::vector<NamedChoice> PlaceChoices(const database::Database &db, std::int32_t country);
// The places a birth or an event may be at: those of a country, every place for a negative id; each
// with its country's name.
std::vector<NamedChoice> PlaceEntryChoices(const database::Database &db, std::int32_t country);

// The tick of one person group turned over (an unknown id changes nothing), or every group's set.
void ToggleGroupTick(database::Database &db, std::int32_t id);
void TickAllGroups(database::Database &db, bool on);

} // namespace cel::session
