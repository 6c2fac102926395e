#include <gtest/gtest.h>

#include <functional>

#include "manager_fixture.h"
#include "session/list_builder.h"

namespace cel::session {
namespace {

using database::Kind;

CivilDateTime Day(int y, int m, int d) {
    CivilDateTime t;
    t.year = y;
    t.month = m;
    t.day = d;
    return t;
}

std::vector<std::string> Names(const std::vector<database::TData *> &rows) {
    std::vector<std::string> names;
    for (const auto *r : rows)
        names.push_back(r->Nombre);
    return names;
}

void TickGroups(database::Database &db, std::initializer_list<int> ids) {
    for (auto &g : db.PersonGroups)
        g->Marca = std::find(ids.begin(), ids.end(), g->Id) != ids.end() ? 1 : 0;
}

// Each person filter on the sample data: how many of its twelve persons pass.
TEST(ListBuilder, PersonFiltersOnTheSample) {
    struct Case {
        const char *what;
        std::function<void(ListFilters &, database::Database &)> set;
        int count;
    };
    const Case cases[] = {
        {"no filter", [](ListFilters &, database::Database &) {}, 12},
        {"name AN (ASCII letters folded only)", [](ListFilters &f, database::Database &) { f.name = "an"; },
         3},
        {"surname ferr", [](ListFilters &f, database::Database &) { f.surname = "ferr"; }, 2},
        {"sex female", [](ListFilters &f, database::Database &) { f.sex = SexChoice::Female; }, 5},
        {"sex not given", [](ListFilters &f, database::Database &) { f.sex = SexChoice::NotGiven; }, 1},
        {"group O Familia or Amigos",
         [](ListFilters &f, database::Database &db) {
             f.groupFilter = true;
             TickGroups(db, {1, 2});
         },
         8},
        {"group Y Amigos and Clientes",
         [](ListFilters &f, database::Database &db) {
             f.groupFilter = true;
             f.search = GroupSearch::And;
             TickGroups(db, {2, 3});
         },
         2},
        {"group Y Diferentes Familia",
         [](ListFilters &f, database::Database &db) {
             f.groupFilter = true;
             f.search = GroupSearch::And;
             f.different = true;
             TickGroups(db, {1});
         },
         8},
        {"group with none ticked",
         [](ListFilters &f, database::Database &db) {
             f.groupFilter = true;
             TickGroups(db, {});
         },
         0},
        {"without group",
         [](ListFilters &f, database::Database &) {
             f.groupFilter = true;
             f.withoutGroup = true;
         },
         0},
        {"a place in Spain", [](ListFilters &f, database::Database &) { f.personCountry = 2; }, 2},
        {"a place not in Spain",
         [](ListFilters &f, database::Database &) {
             f.personCountry = 2;
             f.negate = true;
         },
         11},
        {"born in Medellín",
         [](ListFilters &f, database::Database &) {
             f.personCountry = 1;
             f.personPlace = 2;
             f.which = PlaceWhich::Nacimiento;
         },
         1},
        {"no work place",
         [](ListFilters &f, database::Database &) {
             f.withoutPlace = true;
             f.which = PlaceWhich::Trabajo;
         },
         4},
        {"without birth date", [](ListFilters &f, database::Database &) { f.age = AgeChoice::WithoutDate; },
         1},
        {"date without time",
         [](ListFilters &f, database::Database &) { f.age = AgeChoice::DateWithoutTime; }, 1},
        {"birthday in October",
         [](ListFilters &f, database::Database &) {
             f.age = AgeChoice::WithDate;
             f.birthdayOn = true;
             f.birthdayMonth = 10;
         },
         1},
        {"e-mail yes", [](ListFilters &f, database::Database &) { f.mail = MailChoice::Yes; }, 9},
        {"e-mail no", [](ListFilters &f, database::Database &) { f.mail = MailChoice::No; }, 3},
        {"e-mail yes at home only",
         [](ListFilters &f, database::Database &) {
             f.mail = MailChoice::Yes;
             f.mailWork = false;
         },
         6},
        {"only ticked",
         [](ListFilters &f, database::Database &db) {
             f.onlyTicked = true;
             db.Persons[0]->Marca = 1;
         },
         1},
    };
    for (const Case &c : cases) {
        mgrtest::SampleData data;
        ListBuilder builder(data.db);
        ListFilters f;
        c.set(f, data.db);
        EXPECT_EQ(builder.Build(Kind::Person, f, Day(2026, 3, 14)).size(), static_cast<std::size_t>(c.count))
            << c.what;
    }
}

// Ana Lucía was born on 1978-03-14: she is 48 on her birthday and 47 the day before.
TEST(ListBuilder, AgeCountsWholeYearsOnToday) {
    mgrtest::SampleData data;
    ListBuilder builder(data.db);
    ListFilters f;
    f.age = AgeChoice::WithDate;
    f.ageOn = true;
    f.ageFrom = 48;
    f.ageTo = 48;
    EXPECT_EQ(Names(builder.Build(Kind::Person, f, Day(2026, 3, 14))), std::vector<std::string>{"Ana Lucía"});
    EXPECT_TRUE(builder.Build(Kind::Person, f, Day(2026, 3, 13)).empty());
    EXPECT_EQ(AgeOn(Day(2006, 2, 28), Day(2026, 2, 28)), 20);
    EXPECT_EQ(AgeOn(Day(2006, 3, 1), Day(2026, 2, 28)), 19);
}

TEST(ListBuilder, PlaceAndCountryFiltersAndUsage) {
    mgrtest::SampleData data;
    ListBuilder builder(data.db);
    ListFilters f;
    EXPECT_EQ(builder.Build(Kind::Place, f, Day(2026, 1, 1)).size(), 40u);
    f.placeCountry = 1;
    EXPECT_EQ(builder.Build(Kind::Place, f, Day(2026, 1, 1)).size(), 7u);
    f = {};
    f.dst = 1;
    EXPECT_EQ(builder.Build(Kind::Place, f, Day(2026, 1, 1)).size(), 13u);
    f = {};
    f.tzOn = true;
    f.tzFrom = -6;
    f.tzTo = -5;
    EXPECT_EQ(builder.Build(Kind::Place, f, Day(2026, 1, 1)).size(), 20u);
    f = {};
    f.used = UsedChoice::No;
    const auto unused = builder.Build(Kind::Country, f, Day(2026, 1, 1));
    EXPECT_TRUE(unused.empty()); // every country of the sample has places
    f.used = UsedChoice::Yes;
    const auto used = builder.Build(Kind::Country, f, Day(2026, 1, 1));
    ASSERT_EQ(used.size(), 12u);
    EXPECT_EQ(used.front()->Nombre, "Argentina"); // name order
    EXPECT_EQ(used.front()->Usos, 3);
    EXPECT_EQ(used.back()->Nombre, "Venezuela");
}

TEST(ListBuilder, SeesChangesAfterDataChanged) {
    mgrtest::SampleData data;
    ListBuilder builder(data.db);
    ListFilters f;
    EXPECT_EQ(builder.Build(Kind::PersonGroup, f, Day(2026, 1, 1)).size(), 3u);
    auto group = std::make_unique<database::TData>();
    group->Id = 4;
    group->Nombre = "Alumnos";
    data.db.PersonGroups.push_back(std::move(group));
    builder.DataChanged();
    const auto rows = builder.Build(Kind::PersonGroup, f, Day(2026, 1, 1));
    EXPECT_EQ(Names(rows), (std::vector<std::string>{"Alumnos", "Amigos", "Clientes", "Familia"}));
}

TEST(ListBuilder, PagingAndCounters) {
    struct Case {
        int records, rowsPerPage;
        bool all;
        int page;
        int pageCount, first, count;
        const char *items;
    };
    const Case cases[] = {
        {25, 10, false, 1, 3, 0, 9, "1 a 9"},    {25, 10, false, 2, 3, 9, 9, "10 a 18"},
        {25, 10, false, 3, 3, 18, 7, "19 a 25"}, {29, 10, false, 3, 3, 18, 11, "19 a 29"},
        {25, 10, true, 2, 1, 0, 25, "1 a 25"},   {9, 10, false, 1, 1, 0, 9, "1 a 9"},
        {0, 10, false, 1, 1, 0, 0, "1 a 0"},
    };
    for (const Case &c : cases) {
        const Paging p = ComputePaging(c.records, c.rowsPerPage, c.all, c.page);
        EXPECT_EQ(p.pageCount, c.pageCount) << c.records << " page " << c.page;
        EXPECT_EQ(p.first, c.first) << c.records << " page " << c.page;
        EXPECT_EQ(p.count, c.count) << c.records << " page " << c.page;
        EXPECT_EQ(ItemsText(p, c.records, c.all), c.items);
    }
    EXPECT_EQ(RowsPerPage(18 * 10 + 9 + 18, 18), 10);
    EXPECT_EQ(FoundText(12, 12), "12 de 12, 100%");
    EXPECT_EQ(FoundText(1, 3), "1 de 3, 33%");
    EXPECT_EQ(FoundText(1, 200), "1 de 200,  0%"); // "%2.0f" keeps its width
    EXPECT_EQ(FoundText(0, 0), "0 de 0, 0%");
}

TEST(ListBuilder, ResetsKeepWhatTheyShould) {
    ListFilters f;
    f.name = "x";
    f.surname = "y";
    f.groupFilter = true;
    f.onlyTicked = true;
    f.birthdayMonth = 10;
    f.ResetForKind();
    EXPECT_TRUE(f.name.empty());
    EXPECT_TRUE(f.surname.empty());
    EXPECT_TRUE(f.groupFilter);
    EXPECT_TRUE(f.onlyTicked);
    f.ResetAll();
    EXPECT_FALSE(f.groupFilter);
    EXPECT_FALSE(f.onlyTicked);
    EXPECT_EQ(f.birthdayMonth, 10);
}

} // namespace
} // namespace cel::session
