// Where and when an event stands before the user says otherwise: a new event takes the person's birth
// place (or, without one, the place of the latest event), and "now" is read at the record's place, not
// in the computer's own zone.
#pragma once

#include <cstdint>

#include "session/workspace.h"
#include "zones/atlas.h"
#include "zones/place_zones.h"
#include "zones/zone_history.h"

namespace cel::session {

// The place a new event of the person takes: the birth place when the data file holds it, else the
// place of the person's latest event that has one; -1 when there is neither.
std::int32_t NewEventPlace(const database::Database &db, const database::TPersona &person);

// The civil time at a place of a universal date-time (with the place's zone; Greenwich time for no
// place).
TDateTime CivilTimeAt(const database::Database &db, std::int32_t placeId, TDateTime universal);

// The wall-clock time at a place of a universal date-time, from the place's zone history (the zone
// chosen for it, else the atlas's): what a clock there showed or shows, daylight saving included. The
// place's stored zone when it has no zone or no atlas is given.
TDateTime WallClockAt(const database::Database &db, std::int32_t placeId, TDateTime universal,
                      const zones::Atlas *atlas, const zones::PlaceZoneChoices *choices);

// A universal date-time as a record of that side enters it: Greenwich time under its GMT flag, else
// the civil time at its place.
TDateTime EnteredTimeOf(const Workspace &w, ChartSide side, TDateTime universal);

// Gives the event record a place, keeping its instant: the same universal time, read as the civil
// time there, and computes the event chart.
void MoveEventTo(Workspace &w, std::int32_t placeId);

} // namespace cel::session
