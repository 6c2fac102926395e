// The review of births stored as local time against the zone history: the persons whose stored zone
// (the birth place's TZ, with which their local time is converted) agrees with none of the offsets in
// force at the place on that date, each with what correcting it would store. Correcting a person
// stores its birth as universal time (HoraUT = 1), as accepting the offer beside the time does; only
// the persons the user picks are corrected.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/date_time.h"
#include "common/text_format.h"
#include "database/database.h"
#include "session/data_store.h"
#include "session/zone_offer.h"
#include "zones/atlas.h"
#include "zones/place_zones.h"

namespace cel::session {

struct ZoneReviewRow {
    std::int32_t personId = -1;
    std::string person;     // "Nombre Apellidos"
    std::string place;      // "Madrid (España)"
    TDateTime local = 0;    // the stored birth, local time
    std::string localText;  // "10/07/1990 19:07"
    std::string storedText; // "UTC+1"
    // "UTC+2, horario de verano (Europe/Madrid)"; for a skipped or repeated hour both readings.
    std::string inForceText;
    std::string universalText; // "10/07/1990 17:07" (the first reading of a skipped or repeated hour)
    std::string note;          // local mean time, the hour skipped or repeated, before 1970; "" when none
    ZoneOffer offer;
};

struct ZoneReview {
    std::vector<ZoneReviewRow> rows; // in the order of the data file
    int checked = 0;                 // births stored as local time, with their time, at a place with a zone
    int withoutTime = 0;             // births stored as local time whose time is not known (left as they are)
    int withoutZone = 0;             // births stored as local time at no place, or at one without a zone
    int universal = 0;               // births already stored as universal time
};

// Reviews every person with a birth date.
ZoneReview ReviewZones(const database::Database &db, const zones::Atlas &atlas,
                       const zones::PlaceZoneChoices *choices, const TextFormat &format = {});

// Stores the rows' persons as universal time; a person changed since the review (no longer stored as
// local time, or with another date) is left alone. Answers the number corrected.
int CorrectZones(database::Database &db, const std::vector<const ZoneReviewRow *> &rows);

// Corrects the rows' persons as CorrectZones does and saves the file through the store; when the save
// fails the persons are put back as they were (unless the file was read again meanwhile: it then holds
// the other program's records). unsaved names the change in the notice of a failed save.
struct ZoneCorrection {
    int corrected = 0;      // persons stored as universal time and saved
    bool attempted = false; // some person still needed it (none had changed since the review)
    bool saved = false;
};
ZoneCorrection CorrectZonesAndSave(DataStore &store, const std::vector<const ZoneReviewRow *> &rows,
                                   const std::string &unsaved);

// "Revisadas 12 personas con hora local: 3 con un huso distinto del que regía. ..." for the window.
std::string ReviewSummary(const ZoneReview &review);

} // namespace cel::session
