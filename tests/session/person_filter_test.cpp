#include <gtest/gtest.h>

#include "session/person_filter.h"

namespace cel::session {
namespace {

database::Database Sample() {
    database::Database db;
    auto add = [&db](int id, const char *name, const char *surname, int isDate, int isHora, int sex,
                     int group, int mark) {
        auto p = std::make_unique<database::TPersona>();
        p->Id = id;
        p->Nombre = name;
        p->Apellidos = surname;
        p->IsDate = static_cast<std::uint8_t>(isDate);
        p->IsHora = static_cast<std::uint8_t>(isHora);
        p->Sexo = sex;
        p->Marca = static_cast<std::uint8_t>(mark);
        if (group >= 0)
            p->Grupos.push_back(database::TId{group, 0, 0});
        db.Persons.push_back(std::move(p));
    };
    add(1, "Zoe", "Núñez", 1, 1, 0, 2, 0);
    add(2, "Ángel", "Pérez", 1, 0, 1, -1, 1);
    add(3, "Bruno", "ÑANDÚ", 0, 0, 1, 2, 0);
    add(4, "ana", "Gómez", 1, 1, 2, -1, 1);
    return db;
}

std::vector<int> Ids(const PersonList &list) {
    std::vector<int> ids;
    for (const database::TPersona *p : list.persons)
        ids.push_back(p->Id);
    return ids;
}

TEST(PersonFilter, EveryFilterAndTheNameOrder) {
    const database::Database db = Sample();
    struct Case {
        PersonFilter filter;
        std::vector<int> ids;
    };
    PersonFilter all;
    all.with = BirthDataFilter::All;
    auto with = [&](auto change) {
        PersonFilter f = all;
        change(f);
        return f;
    };
    const Case cases[] = {
        {PersonFilter{}, {4, 1}}, // default "Fecha y hora", sorted by name
        {all, {4, 2, 3, 1}},      // Spanish order: "Ángel" among the A, not after "Zoe"
        {with([](PersonFilter &f) { f.with = BirthDataFilter::DateOnly; }), {4, 2, 1}},
        {with([](PersonFilter &f) { f.with = BirthDataFilter::NoDate; }), {3}},
        {with([](PersonFilter &f) { f.selectedOnly = true; }), {4, 2}},
        {with([](PersonFilter &f) { f.name = "ÁN"; }), {2}}, // case of accented letters
        {with([](PersonFilter &f) { f.surname = "ñandú"; }), {3}},
        {with([](PersonFilter &f) { f.name = "AN"; }), {4}}, // an accent is another letter
        {with([](PersonFilter &f) { f.groupId = 2; }), {3, 1}},
        {with([](PersonFilter &f) { f.sex = SexChoice::Male; }), {2, 3}},
        {with([](PersonFilter &f) { f.sex = SexChoice::Other; }), {4}},
    };
    for (const Case &c : cases) {
        const PersonList list = FilterPersons(db, c.filter);
        EXPECT_EQ(Ids(list), c.ids) << c.filter.name << c.filter.surname;
        EXPECT_EQ(list.total, 4u);
    }
    EXPECT_EQ(PersonCounterText(FilterPersons(db, PersonFilter{})), "2 de 4 ");
}

} // namespace
} // namespace cel::session
