// The manager's list without its window: kinds and resets, pages and counters, deleting with its
// refusals and questions, and group assignment, on the sample data.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/scripted_notifier.h"
#include "database/data_file.h"
#include "session/manager_list.h"
#include "support/data_paths.h"

namespace cel::session {
namespace {

using database::Kind;

const CivilDateTime kToday{2026, 10, 1};

struct SampleList : ::testing::Test {
    database::Database db;
    ScriptedNotifier notices;
    ManagerList list{db};

    void SetUp() override {
        TextFormat comma;
        comma.decimalSeparator = ',';
        ScriptedNotifier quiet;
        database::LoadDataFile(testsupport::DataPath("ejemplo.age"), db, quiet, comma);
        list.DataChanged();
        list.SetKind(Kind::Person, kToday);
    }
    database::TData &Listed(const std::string &name) {
        const auto &rows = list.Rows();
        const auto it =
            std::find_if(rows.begin(), rows.end(), [&](const auto *r) { return r->Nombre == name; });
        EXPECT_NE(it, rows.end()) << name;
        return **it;
    }
};

TEST_F(SampleList, AChangeOfKindResetsItsFiltersAndTheSelectionAndTheResetButtonTheRest) {
    EXPECT_EQ(list.FoundText(), "12 de 12, 100%");
    list.Select(Listed("Ariel").Id);
    list.Filters().surname = "ferr";
    list.Filters().groupFilter = true;
    list.Filters().withoutGroup = true;
    list.Rebuild(kToday);
    EXPECT_NE(list.SelectedId(), -1); // a rebuild keeps the selection
    list.SetKind(Kind::Place, kToday);
    EXPECT_EQ(list.SelectedId(), -1);
    EXPECT_EQ(list.FoundText(), "40 de 40, 100%");
    list.SetKind(Kind::Person, kToday);
    EXPECT_TRUE(list.Filters().surname.empty());
    EXPECT_TRUE(list.Filters().groupFilter); // a change of kind leaves the group choice
    list.SetAllOnOnePage(false);
    list.ResetFilters(true);
    EXPECT_FALSE(list.Filters().groupFilter);
    EXPECT_TRUE(list.AllOnOnePage());
}

TEST_F(SampleList, PagesCountersAndNeighbours) {
    list.SetKind(Kind::Place, kToday);
    list.SetAllOnOnePage(false);
    list.SetRowsPerPage(10);
    list.GoToPage(2);
    EXPECT_EQ(list.Page().page, 2);
    EXPECT_GT(list.Page().pageCount, 2);
    EXPECT_EQ(list.ItemsText().rfind("10 a ", 0), 0u) << list.ItemsText();
    const auto &rows = list.Rows();
    EXPECT_EQ(list.Neighbour(rows[1]->Id, -1), rows[0]->Id);
    EXPECT_EQ(list.Neighbour(rows[0]->Id, -1), -1);
    EXPECT_EQ(list.Neighbour(rows.back()->Id, 1), -1);
    EXPECT_EQ(list.Neighbour(-5, 1), -1);
}

// A record in use is refused without a question; a person is asked about by full name with "No" as
// the default, and goes only on "Sí", the others renumbered.
TEST_F(SampleList, DeletingOneRecord) {
    list.SetKind(Kind::Country, kToday);
    EXPECT_FALSE(list.DeleteOne(Listed("Chile"), notices));
    ASSERT_EQ(notices.shown.size(), 1u);
    EXPECT_EQ(notices.shown[0].kind, NoticeKind::Warning);
    EXPECT_EQ(notices.shown[0].text,
              "NO se puede eliminar el item \"Chile\" de la lista de Países, ya que esta "
              "siendo usado en \"Lugares con este País\"");

    list.SetKind(Kind::Person, kToday);
    const std::size_t persons = db.Persons.size();
    notices.answers = {false, true};
    EXPECT_FALSE(list.DeleteOne(Listed("Ariel"), notices));
    EXPECT_EQ(db.Persons.size(), persons);
    EXPECT_EQ(notices.LastText(),
              "Desea eliminar el item \"Ariel Ferreyra Núñez\" de la lista de Lista Personas");
    EXPECT_TRUE(notices.shown.back().style.noByDefault);
    list.Select(Listed("Ariel").Id);
    EXPECT_TRUE(list.DeleteOne(Listed("Ariel"), notices));
    EXPECT_EQ(db.Persons.size(), persons - 1);
    EXPECT_LT(database::IndexOfName(db.Persons, "Ariel"), 0);
    EXPECT_EQ(list.SelectedId(), -1);
    int largest = 0;
    for (const auto &p : db.Persons)
        largest = std::max(largest, p->Id);
    EXPECT_EQ(largest, static_cast<int>(persons - 1));
    list.Rebuild(kToday);
    EXPECT_EQ(list.FoundText(), "11 de 11, 100%");
}

// Ticked records in use lose their tick; the others go after two confirmations, and none without them.
TEST_F(SampleList, DeletingTheTickedRecords) {
    list.SetKind(Kind::PersonGroup, kToday);
    auto group = std::make_unique<database::TData>();
    group->Nombre = "Vecinos";
    group->Id = db.TakeId(Kind::PersonGroup);
    db.PersonGroups.push_back(std::move(group));
    list.DataChanged();
    list.Rebuild(kToday);
    Listed("Vecinos").Marca = 1;
    Listed("Amigos").Marca = 1; // in use
    notices.answers = {true, false};
    EXPECT_FALSE(list.DeleteTicked(notices, kToday));
    EXPECT_EQ(Listed("Amigos").Marca, 0);
    EXPECT_EQ(db.PersonGroups.size(), 4u);
    notices.answers = {true, true};
    EXPECT_TRUE(list.DeleteTicked(notices, kToday));
    ASSERT_EQ(notices.shown.size(), 4u);
    EXPECT_EQ(notices.shown[2].text, "Desea eliminar 1 items(s) seleccionado(s)");
    EXPECT_EQ(notices.shown[3].text, "Confirme su deseo de eliminar 1 registro(s) seleccionado(s)");
    EXPECT_EQ(db.PersonGroups.size(), 3u);
    EXPECT_LT(database::IndexOfName(db.PersonGroups, "Vecinos"), 0);
}

TEST_F(SampleList, AGroupIsAddedOnceToEveryListedPersonAndRemovedFromThem) {
    list.Filters().surname = "ferr";
    list.Rebuild(kToday);
    ASSERT_EQ(list.Rows().size(), 2u);
    const auto timesIn = [](const database::TData *r, std::int32_t group) {
        const auto &groups = static_cast<const database::TPersona *>(r)->Grupos;
        return std::count_if(groups.begin(), groups.end(),
                             [group](const database::TId &g) { return g.Id == group; });
    };
    const std::size_t unlisted = db.Persons.size() - list.Rows().size();
    int othersWithIt = 0;
    for (const auto &p : db.Persons)
        othersWithIt += std::find(list.Rows().begin(), list.Rows().end(), p.get()) == list.Rows().end() &&
                        timesIn(p.get(), 1) > 0;
    list.AssignGroup(1, true);
    list.AssignGroup(1, true);
    for (const auto *r : list.Rows())
        EXPECT_EQ(timesIn(r, 1), 1) << r->Nombre;
    int othersAfter = 0;
    for (const auto &p : db.Persons)
        othersAfter += std::find(list.Rows().begin(), list.Rows().end(), p.get()) == list.Rows().end() &&
                       timesIn(p.get(), 1) > 0;
    EXPECT_EQ(othersAfter, othersWithIt); // the persons not listed keep what they had
    EXPECT_EQ(unlisted, 10u);
    list.AssignGroup(1, false);
    for (const auto *r : list.Rows())
        EXPECT_EQ(timesIn(r, 1), 0) << r->Nombre;
}

} // namespace
} // namespace cel::session
