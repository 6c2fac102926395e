// The texts of the manager's grids: one cell of a listed record by its column (0 the Id, 1 its
// number in the list, 2 the tick, 3 the name, then the kind's own columns), and the row of a place
// of a place file as the import window lists it.
#pragma once

#include <array>
#include <string>

#include "database/database.h"

namespace cel::session {

// number: the record's position in the list, from 1.
std::string RecordCellText(const database::Database &db, database::Kind kind, const database::TData &record,
                           int column, int number);

// A place of a place file: Id, number, tick (empty), name, "sí"/"no" for daylight time, zone, longitude
// and latitude.
std::array<std::string, 8> ImportPlaceRow(const database::TLugar_Geo &place, int number);

} // namespace cel::session
