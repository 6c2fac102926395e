// Importing the places of a place file: the file read with its refusals shown, the list the import
// window shows (a name filter, the ticked ones only, in Spanish name order, with the counters), and the
// ticked places added to the data file with the duplicate questions, saved and reported.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "database/place_import.h"
#include "session/data_store.h"

namespace cel::session {

using database::PlaceFile;

class PlaceImportList {
public:
    explicit PlaceImportList(PlaceFile &file) : file_(file) { Refilter(); }

    // The places whose name holds text (ignoring the case of ASCII letters), the ticked ones only
    // when onlyTicked.
    void SetFilter(const std::string &text, bool onlyTicked);
    const std::vector<database::TLugar_Geo *> &Shown() const { return shown_; }
    // The texts of a shown row (see ImportPlaceRow).
    std::array<std::string, 8> RowTexts(int row) const;
    bool RowTicked(int row) const;

    // Ticks or unticks one shown place (a row out of range changes nothing), or every shown one.
    void Toggle(int row);
    void TickShown(bool on);
    // The ticked places of the whole file, and the counter texts "3 de 120".
    int Ticked() const;
    std::string TickedText() const;
    std::string ShownText() const;
    // False, after its warning, when no place is ticked.
    bool MayAdd(Notifier &notices) const;

private:
    void Refilter();

    PlaceFile &file_;
    std::string filter_;
    bool onlyTicked_ = false;
    std::vector<database::TLugar_Geo *> shown_;
};

// Reads a place file for import; its refusals and read errors are shown (nullopt then).
std::optional<PlaceFile> ReadPlaceFile(DataStore &store, const std::string &path);
// Adds the ticked places of the file (the data file's place ticks cleared first when clearMarks),
// saves and reports. True when the places shown may have changed: places or the country added, a
// place renamed, or the file read again after its save was refused.
bool AddTickedPlaces(DataStore &store, PlaceFile &file, bool clearMarks);

// The report of an import: the counts of added, renamed and declined places and their names.
std::string ImportReportText(const database::AddPlacesResult &result, const std::string &countryName);

} // namespace cel::session
