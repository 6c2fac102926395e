// Values read from files are checked as strictly as typed ones: dates in the years 1..9999, latitudes
// inside ±90°, longitudes within ±180°, time zones within ±14 h, every number finite. A record with an
// impossible value is reported by name and kept as it is in the file; no chart is computed from it.
#pragma once

#include <string>
#include <vector>

#include "common/date_time.h"
#include "database/database.h"

namespace cel::database {

// The limits of typed input, shared with the files.
bool ValidLatitude(long double degrees);  // finite, |value| < 90
bool ValidLongitude(long double degrees); // finite, |value| <= 180
bool ValidZone(long double hours);        // finite, |value| <= 14
bool ValidDate(TDateTime value);          // finite, in the years 1..9999

// One record with impossible values: its kind, Id and name, and what is wrong ("latitud 90", ...).
struct RecordProblem {
    Kind kind;
    std::int32_t id = -1;
    std::string name;
    std::vector<std::string> what;
};

// What is impossible in a place, or in a person's dates (birth when known, events).
std::vector<std::string> PlaceProblems(const TLugar_Geo &place);
std::vector<std::string> PersonProblems(const TPersona &person);
// Every record of the database with an impossible value.
std::vector<RecordProblem> CheckRecords(const Database &db);

// What keeps a chart from being computed from a person's birth: impossible values of the person's
// birth date or of the birth place. Empty when a chart may be computed.
std::vector<std::string> BirthProblems(const Database &db, const TPersona &person);
// The same for an event: its date when known and its place.
std::vector<std::string> EventProblems(const Database &db, const TEvento &event);

// "Lugar 3 "Cali": latitud 1E+300, longitud inf" (Spanish, one line).
std::string ProblemText(const RecordProblem &problem);

// The notice that refuses a chart from a record with impossible values: who (a person's or a place's
// name), what is wrong, and where to mend it.
std::string RefusedChartText(const std::string &who, const std::vector<std::string> &problems);
// The notice shown when an opened data file holds records with impossible values: the first ten of them
// and how many more.
std::string InvalidRecordsText(const std::string &path, const std::vector<RecordProblem> &problems);

} // namespace cel::database
