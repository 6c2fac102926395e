// Place files (".lug", read only), adding their places to the database with the duplicate questions,
// and appending another data file to the open one (merge).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/notifier.h"
#include "common/text_format.h"
#include "database/database.h"
#include "database/record_checks.h"

namespace cel::database {

// A place file: its country (the last "P" line) and its places, each unticked (Marca 0).
struct PlaceFile {
    bool hasCountry = false;
    TData country;
    RecordList<TLugar_Geo> places;
    std::vector<int> failedLines;
    // Places with impossible coordinates or zones: reported, and refused by AddPlaces as typed values
    // would be.
    std::vector<RecordProblem> invalidPlaces;
};

// Reads place-file bytes: "P!Id!Nombre!" and "L!Id!Nombre!IdPais!DST!TZ!Lat!Lon!Descripcion!" lines;
// other lines are ignored, a line that fails is skipped with "Error al leer un item el archivo".
// The separators of the data file are removed from the texts read.
PlaceFile ReadPlaceText(std::string_view bytes, Notifier &notifier, const TextFormat &format);

// Opens a place file for import: refuses a name without the ".lug" extension and a file without a
// country line, each with a notice (nullopt then). Throws FileError when it cannot be read.
std::optional<PlaceFile> OpenPlaceFile(const std::string &path, Notifier &notifier, const TextFormat &format);

// The notice for a place file without a country line.
std::string NoCountryText(const std::string &path);

// How one place of a file or of a merged data file was resolved against the database.
enum class PlaceOutcome {
    Added,        // new name and new data: added
    AddedRenamed, // the name was taken: added under a new name the user typed
    AlreadyThere, // same name and same data: nothing to do
    NameDeclined, // the name was taken and the user declined a new name: skipped
    DataRenamed,  // same data under another name: the stored place took this name and country
    DataKept,     // same data under another name: the stored place was left as it was
    Refused,      // an impossible latitude, longitude or zone: not added (problems says why)
};

struct PlaceResolution {
    std::string name; // the place's name in the file
    PlaceOutcome outcome;
    std::int32_t id = -1;              // the database place that now stands for it; -1 when declined
    std::vector<std::string> problems; // why a refused place is impossible
};

struct AddPlacesResult {
    std::int32_t countryId = -1;
    bool countryAdded = false;
    std::vector<PlaceResolution> places;
};

// Adds the ticked places (Marca 1) of a place file to the database in file order, asking the
// duplicate questions; the places added are moved out of filePlaces. A place with an impossible
// value is refused with its reasons; when every place chosen is refused, the country is not added
// either. The caller saves afterwards.
// Throws IdLimitError, before changing anything, when the new Ids would pass the largest Id.
AddPlacesResult AddPlaces(Database &db, const TData &fileCountry, RecordList<TLugar_Geo> &filePlaces,
                          Notifier &notifier);

struct MergeResult {
    bool merged = false; // false when refused
    int countriesAdded = 0;
    int groupsAdded = 0;
    int personsAdded = 0;
    std::string groupName; // the group given to every merged person
    std::vector<PlaceResolution> places;
    std::vector<std::string> personsWithoutPlace; // "Nombre Apellidos" of persons who lost a place
    std::vector<int> failedLines;
};

// "No se pueden anexar datos del mismo archivo".
inline constexpr const char *kSameFileText = "No se pueden anexar datos del mismo archivo";

// Appends the countries, places, person groups and persons of another data file; every merged person
// joins the new group " Archivo: " + file name, and all Ids are renumbered 1..n. A place whose
// question the user declined, or a reference that names no record of the other file, becomes -1 (no
// place). The caller runs the read-only check before and saves the database afterwards. Throws
// FileError when the other file cannot be read.
MergeResult MergeDataFile(Database &db, const std::string &otherPath, Notifier &notifier,
                          const TextFormat &format);

} // namespace cel::database
