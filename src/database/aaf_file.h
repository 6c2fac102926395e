// The astrologers' exchange format (AAF): "#A93:" and "#B93:" lines per birth, read into persons of
// the database and written from them. Files come in UTF-8 or Windows-1252, with CR LF or LF.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "database/database.h"

namespace cel::database {

// One birth as an AAF file gives it; unknown ("*") fields are left empty.
struct AafRecord {
    int line = 0; // the line of its "#A93:"
    std::string lastName;
    std::string firstName;
    char type = '*'; // 'm', 'f', 'e', ... as written
    bool hasDate = false;
    int year = 0, month = 0, day = 0; // proleptic Gregorian (a Julian-calendar date is converted)
    bool julianCalendar = false;      // the date was written in the Julian calendar ("j")
    bool hasTime = false;
    int hour = 0, minute = 0, second = 0;
    std::string place;
    std::string countryCode;
    std::optional<long double> julianDay; // universal time
    bool hasCoordinates = false;
    long double latitude = 0;                  // degrees, north positive
    long double longitude = 0;                 // degrees, east positive
    std::optional<long double> standardOffset; // hours, east positive
    char timeType = '*';                       // '0', '1', '2', 'h', 'l', 'm' or '*'
    std::string zoneName;                      // from "#ZNAM:", when given

    // The birth instant in universal time as days from 1899-12-30 (continuous, also before it), or
    // nothing when the date, the time or the offset is unknown. The Julian day wins when given.
    std::optional<long double> UniversalDays() const;
};

struct AafProblem {
    int line = 0;
    std::string reason;
};

struct AafFile {
    std::vector<AafRecord> records;
    std::vector<AafProblem> problems; // records that could not be read, by line
};

// Reads AAF bytes (UTF-8 or Windows-1252, detected; CR LF or LF; a UTF-8 byte-order mark skipped).
// Comments ("#:") and tags it does not know are skipped; a broken record is listed and left out.
AafFile ReadAafText(std::string_view bytes);
// Reads an AAF file; throws FileError when it cannot be read (or is not a regular file).
AafFile ReadAafFile(const std::string &path);

struct AafImportResult {
    int added = 0;
    int replaced = 0;
    int placesAdded = 0;
    int countriesAdded = 0;
    std::vector<AafProblem> skipped; // duplicates left alone and records that could not be stored
    std::vector<AafProblem> notes;   // names whose characters the data file cannot hold were changed
};

// Adds the records as persons. The place is an existing place with the same coordinates (to the
// data file's precision) and zone, or a new place in the country of the record's code (a new country
// when none has it). A person with the same name and birth instant is reported and skipped, or
// replaced when replace is true. Throws IdLimitError, before changing anything, when the Ids run out.
AafImportResult ImportAaf(Database &db, const AafFile &file, bool replace);

enum class AafEncoding { Utf8, Windows1252 };

// The AAF text of the persons: both lines per person (the Julian day in universal time, the place's
// coordinates, standard offset and daylight flag) and, when known, a "#ZNAM:" line; commas in texts
// become semicolons. zoneOf gives a place's zone name (or "").
std::string WriteAafText(const Database &db, const std::vector<const TPersona *> &persons,
                         AafEncoding encoding = AafEncoding::Utf8,
                         const std::function<std::string(const TLugar_Geo &)> &zoneOf = {});

// The Spanish name of the country of an AAF country code (international vehicle codes, "D", "E",
// "USA", and the two-letter codes), or "" when unknown.
std::string AafCountryName(std::string_view code);
// The code written for a country name, or "" when none.
std::string AafCountryCode(std::string_view countryName);

} // namespace cel::database
