// The manager's list building: which records of a kind pass the filter panel's choices, in name
// order (the display list the grid, the counters, the CSV exports and group assignment use), the
// pages of the grid and the counter texts. Plain C++ over the database, so it is tested without
// windows and stays fast on large files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/date_time.h"
#include "database/database.h"
#include "session/person_filter.h"

namespace cel::session {

enum class UsedChoice { Yes, No, Both };                              // "items usados:" sí, no, ambos
enum class GroupSearch { Or, And };                                   // "Búsqueda tipo:" O, Y
enum class PlaceWhich { All, Residencia, Trabajo, Nacimiento };       // which place the test looks at
enum class AgeChoice { All, WithoutDate, WithDate, DateWithoutTime }; // the " Edad " tab
enum class MailChoice { Any, Yes, No };                               // "indiferente", "sí", "no"

// The filter panel's choices, with their defaults.
struct ListFilters {
    // Every kind.
    std::string name;
    bool onlyTicked = false;
    UsedChoice used = UsedChoice::Both;
    // Places.
    std::int32_t placeCountry = -1; // -1: "[*]"
    int dst = -1;                   // -1 both, 0 "no", 1 "sí"
    bool tzOn = false;
    int tzFrom = -12, tzTo = 12;
    // Persons.
    std::string surname;
    SexChoice sex = SexChoice::All;
    bool groupFilter = false;
    bool withoutGroup = false;
    GroupSearch search = GroupSearch::Or;
    bool different = false; // "Diferentes" (only with "Y"): the membership test inverted
    std::int32_t personCountry = -1;
    std::int32_t personPlace = -1;
    bool withoutPlace = false;
    PlaceWhich which = PlaceWhich::All;
    bool negate = false; // "<>"
    AgeChoice age = AgeChoice::All;
    bool ageOn = false;
    int ageFrom = 20, ageTo = 80;
    bool birthdayOn = false;
    int birthdayMonth = 1; // 1..12
    MailChoice mail = MailChoice::Any;
    bool mailHome = true, mailWork = true;
    // Businesses.
    std::int32_t businessGroup = -1;

    // The filters a change of kind resets (the rest stays as the user left it).
    void ResetForKind();
    // The "[*]" button: as ResetForKind, and the group, place, e-mail and ticked-only choices too.
    void ResetAll();
};

// Builds display lists. The name order of each kind is kept between builds and refreshed by
// DataChanged(), so a keystroke in a filter costs one pass over the records.
class ListBuilder {
public:
    explicit ListBuilder(database::Database &db) : db_(db) {}

    // Call after any change of the records (added, edited, deleted, loaded, renumbered).
    void DataChanged() { ++version_; }

    // The records of the kind that pass the filters, in name order; usage counts are recomputed for
    // countries, places and groups first. today is the local date for the age filters.
    std::vector<database::TData *> Build(database::Kind kind, const ListFilters &filters,
                                         const CivilDateTime &today);

    // The number of records of a kind.
    int KindCount(database::Kind kind) const;

private:
    struct Order {
        std::uint64_t version = ~0ull;
        std::vector<database::TData *> rows; // name order
        std::vector<std::string> upper;      // the names with ASCII letters upper-cased
        std::vector<std::string> upperSurname;
    };
    const Order &OrderOf(database::Kind kind);

    database::Database &db_;
    std::uint64_t version_ = 0;
    Order orders_[database::kKindCount];
};

// The person filter alone (for one person).
bool PersonPasses(const database::Database &db, const database::TPersona &p, const ListFilters &f,
                  const CivilDateTime &today);
// Whole years between a birth date and today.
int AgeOn(const CivilDateTime &birth, const CivilDateTime &today);

// The pages of the grid: rows per page from the grid's height, each page one row fewer, and the
// last page holding whatever is left.
struct Paging {
    int page = 1;      // from 1
    int pageCount = 1; //
    int first = 0;     // index of the first record shown
    int count = 0;     // records shown on the page
};
// rowsPerPage R as the grid fits; all: "Todos" (everything on one page).
Paging ComputePaging(int records, int rowsPerPage, bool all, int page);
// R = (grid height - row height + 1) / (row height + 1), at least 2.
int RowsPerPage(int gridHeight, int rowHeight);

// The text after "Items: " and after "items encontrados:  ".
std::string ItemsText(const Paging &paging, int records, bool all);
std::string FoundText(int shown, int kindTotal);

using database::AsciiUpper;

} // namespace cel::session
