// The chart's place look-up over the geographic places of the database, and the birth data of a person.
#pragma once

#include <optional>
#include <string>

#include "chart/pipeline.h"
#include "chart/records.h"
#include "database/database.h"

namespace cel::chart {

// Looks place ids up among db.Places; db must outlive the returned function.
PlaceLookup PlacesOf(const database::Database &db);

// A person's birth as birth data: owner, place, date-time and its GMT flag. Nothing when the person has
// no birth date.
struct PersonBirth {
    TDato record;
    TDateTime value = 0; // local or Greenwich time as record.gmtFlag says
};
std::optional<PersonBirth> BirthOf(const database::TPersona &person);

} // namespace cel::chart
