// The zones module owns the history of time zones (the offset in force at a date, daylight and local
// mean time, gaps and folds) read from the system's IANA database, the world atlas of GeoNames cities,
// and the zone of each place of the data file (derived from the atlas or chosen by the user).
#pragma once

#include "zones/atlas.h"
#include "zones/place_zones.h"
#include "zones/text_fold.h"
#include "zones/zone_history.h"
