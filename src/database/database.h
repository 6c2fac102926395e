// The person and place database: the records and the in-memory Database with its six owned lists,
// next-Id counters and current path; look-ups, duplicate tests, usage counts and renumbering. The
// rest of the module (data file, place files and merge, CSV, coordinate texts, person summary and
// the shared-use guard) has its own headers beside this one.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "database/records.h"

namespace cel::database {

// The kinds of record, numbered as the manager window numbers its lists.
enum class Kind : int {
    Country = 0,
    Place = 1,
    PersonGroup = 2,
    Person = 3,
    BusinessGroup = 4,
    Business = 5
};
constexpr int kKindCount = 6;
constexpr std::int64_t kMaxId = 2147483647;

// An addition refused because it would pass the largest Id.
class IdLimitError : public std::runtime_error {
public:
    explicit IdLimitError(Kind kind);
};

class Database {
public:
    RecordList<TPais> Countries;
    RecordList<TData> PersonGroups;
    RecordList<TData> BusinessGroups;
    RecordList<TLugar_Geo> Places;
    RecordList<TPersona> Persons;
    RecordList<TNegocio> Businesses;
    // Indexed by Kind; wider than an Id so that a file holding the largest Id is seen to be full.
    std::array<std::int64_t, kKindCount> NextId{};
    std::string Path; // full path of the current data file

    // Empties every list and sets every counter to 0 (the path is kept).
    void Clear();

    // Calls visit with the list of the kind's records, whatever its record type.
    template <class F> decltype(auto) VisitList(Kind kind, F &&visit) {
        switch (kind) {
        case Kind::Country:
            return visit(Countries);
        case Kind::Place:
            return visit(Places);
        case Kind::PersonGroup:
            return visit(PersonGroups);
        case Kind::Person:
            return visit(Persons);
        case Kind::BusinessGroup:
            return visit(BusinessGroups);
        case Kind::Business:
            break;
        }
        return visit(Businesses);
    }

    std::int64_t &Counter(Kind kind) { return NextId[static_cast<int>(kind)]; }
    std::int64_t Counter(Kind kind) const { return NextId[static_cast<int>(kind)]; }
    // True when count new records of the kind still get Ids no larger than the largest (2147483647).
    bool HasRoomFor(Kind kind, std::int64_t count = 1) const { return Counter(kind) + count - 1 <= kMaxId; }
    // Throws IdLimitError unless count new records of the kind fit; call before changing anything.
    void RequireRoomFor(Kind kind, std::int64_t count = 1) const;
    // The counter's value for a new record; the counter moves on. Throws IdLimitError when the
    // counter has passed the largest Id (nothing changes then).
    std::int32_t TakeId(Kind kind);

    // "-" for a negative Id, otherwise the place's name, ", " and its country's name.
    std::string PlaceCaption(std::int32_t placeId) const;
    // Index of the first place other than excludeId with the same coordinates (within 1e-7°), the same
    // time zone and the same daylight-saving flag; -1 when none.
    int SameDataPlace(const TLugar_Geo &candidate, std::int32_t excludeId) const;
    // Index of the first place other than excludeId with the name (ASCII case folded) in the country.
    int PlaceWithName(std::int32_t excludeId, std::string_view name, std::int32_t countryId) const;
    // False when a place other than excludeId has the name (ASCII case folded) in the country.
    bool PlaceNameFree(std::int32_t excludeId, std::string_view name, std::int32_t countryId) const {
        return PlaceWithName(excludeId, name, countryId) < 0;
    }

    // Stores into Usos of every record of the kind how many records use it.
    void ComputeUsage(Kind kind);

    // Gives the records of the kind the Ids 1..n in Id order and rewrites every reference to them;
    // countries, places, person groups and persons only. An empty list is left as it is.
    void Renumber(Kind kind);

    // Sorts all six lists by Id (stable) or by name order (stable).
    void SortAllById();
    void SortAllByName();
};

// Look-ups over a list; linear, the first match wins.
template <class T> int IndexOfId(const RecordList<T> &list, std::int32_t id) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i]->Id == id)
            return static_cast<int>(i);
    return -1;
}

template <class T> int IndexOfName(const RecordList<T> &list, std::string_view name) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i]->Nombre == name)
            return static_cast<int>(i);
    return -1;
}

template <class T> std::string NameOfId(const RecordList<T> &list, std::int32_t id) {
    const int i = IndexOfId(list, id);
    return i < 0 ? std::string("-") : list[i]->Nombre;
}

// Equal when only ASCII letter case differs ("Bogotá" = "BOGOTá", "Bogotá" ≠ "BOGOTÁ").
bool SameIgnoringAsciiCase(std::string_view a, std::string_view b);
// The text with its ASCII letters upper-cased (other bytes as they are), as names are compared.
std::string AsciiUpper(std::string_view text);
// Name order: ASCII letters upper-cased, then Windows-1252 byte by byte (accented letters after "Z").
int CompareNames(std::string_view a, std::string_view b);
inline bool NameLess(std::string_view a, std::string_view b) {
    return CompareNames(a, b) < 0;
}

template <class T> void SortById(RecordList<T> &list) {
    std::stable_sort(list.begin(), list.end(), [](const auto &a, const auto &b) { return a->Id < b->Id; });
}

// Bytes that compare (as unsigned bytes) in name order.
std::string NameSortKey(std::string_view name);

template <class T> void SortByName(RecordList<T> &list) {
    std::vector<std::string> keys;
    keys.reserve(list.size());
    for (const auto &r : list)
        keys.push_back(NameSortKey(r->Nombre));
    std::vector<std::size_t> order(list.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    RecordList<T> sorted;
    sorted.reserve(list.size());
    for (std::size_t i : order)
        sorted.push_back(std::move(list[i]));
    list = std::move(sorted);
}

} // namespace cel::database
