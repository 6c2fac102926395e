// The manager's list as the window shows it: the kind listed, the filter choices, the records that
// pass them in name order, the page shown, the record selected, and the operations on them (ticks,
// deleting with its refusals and questions, assigning a group to the listed persons). Plain C++ over
// the database: the window writes its controls from this state and passes each input on as one call.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "common/date_time.h"
#include "common/notifier.h"
#include "database/database.h"
#include "session/list_builder.h"

namespace cel::session {

class ManagerList {
public:
    explicit ManagerList(database::Database &db) : db_(db), builder_(db) {}

    database::Kind Kind() const { return kind_; }
    const ListFilters &Filters() const { return filters_; }
    // The choices, for a change followed by Rebuild().
    ListFilters &Filters() { return filters_; }
    // The records that pass the filters, in name order.
    const std::vector<database::TData *> &Rows() const { return rows_; }

    // Lists another kind: its filters reset, the selection cleared when the kind changes.
    void SetKind(database::Kind kind, const CivilDateTime &today);
    // The list built again from the records and the choices, from its first page; today is the local
    // date for the age filters.
    void Rebuild(const CivilDateTime &today);
    // Call after any change of the records (added, edited, deleted, loaded, renumbered).
    void DataChanged() { builder_.DataChanged(); }
    // The "[*]" button (all) or a change of kind (not all): the filters back to their defaults.
    void ResetFilters(bool all);

    // Pages: the rows the grid fits, "Todos" (everything on one page), the page asked for.
    void SetRowsPerPage(int rows) { rowsPerPage_ = rows; }
    bool AllOnOnePage() const { return allOnOnePage_; }
    void SetAllOnOnePage(bool all) { allOnOnePage_ = all; }
    void GoToPage(int page);
    const Paging &Page() const { return paging_; }
    // The texts after "Items: " and "items encontrados:  ".
    std::string ItemsText() const;
    std::string FoundText() const;

    std::int32_t SelectedId() const { return selectedId_; }
    void Select(std::int32_t id) { selectedId_ = id; }
    // The Id of the listed record step places after the one with this Id, or -1.
    std::int32_t Neighbour(std::int32_t id, int step) const;

    // Ticks.
    static void ToggleTick(database::TData &record) { record.Marca = record.Marca ? 0 : 1; }

    // Deleting one record: the refusal for a record still in use ("" when it may go), and the
    // question that asks for it ("No" the default answer).
    std::string InUseRefusal(const database::TData &record) const;
    std::string DeleteQuestion(const database::TData &record) const;
    // The ticked records that may go; the ticks of the ones in use are taken off (untickedAny says so).
    std::unordered_set<const database::TData *> TickedToDelete(bool &untickedAny);
    // Asks about record and removes it; false when refused or not confirmed.
    bool DeleteOne(database::TData &record, Notifier &notices);
    // Asks twice about the ticked records that may go and removes them; false when none went.
    bool DeleteTicked(Notifier &notices, const CivilDateTime &today);
    // Removes the records from the database's list of this kind and renumbers where a kind's ids are
    // positions; the selection is cleared.
    void Remove(const std::unordered_set<const database::TData *> &gone);

    // Adds the group to, or removes it from, every listed person.
    void AssignGroup(std::int32_t group, bool add);

private:
    database::Database &db_;
    ListBuilder builder_;
    ListFilters filters_;
    database::Kind kind_ = database::Kind::Person;
    std::vector<database::TData *> rows_;
    int rowsPerPage_ = 2;
    bool allOnOnePage_ = true;
    Paging paging_;
    std::int32_t selectedId_ = -1;
};

} // namespace cel::session
