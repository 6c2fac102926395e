#include "session/manager_choices.h"

#include <algorithm>

#include "database/spanish_order.h"

namespace cel::session {

using namespace cel::database;

namespace {

template <class T> std::vector<NamedChoice> ChoicesOf(std::vector<const T *> rows, bool spanishOrder) {
    if (spanishOrder)
        std::stable_sort(rows.begin(), rows.end(),
                         [](const T *a, const T *b) { return SpanishLess(a->Nombre, b->Nombre); });
    std::vector<NamedChoice> choices;
    choices.reserve(rows.size());
    for (const T *r : rows)
        choices.push_back({r->Id, r->Nombre, r->Marca != 0, {}});
    return choices;
}

template <class T> std::vector<NamedChoice> Choices(const RecordList<T> &list, bool spanishOrder) {
    std::vector<const T *> rows;
    rows.reserve(list.size());
    for (const auto &r : list)
        rows.push_back(r.get());
    return ChoicesOf(std::move(rows), spanishOrder);
}

} // namespace

std::vector<NamedChoice> CountryChoices(const Database &db) {
    return Choices(db.Countries, true);
}

std::vector<NamedChoice> PersonGroupChoices(const Database &db) {
    return Choices(db.PersonGroups, true);
}

std::vector<NamedChoice> BusinessGroupChoices(const Database &db) {
    return Choices(db.BusinessGroups, false);
}

std::vector<NamedChoice> PlaceChoices(const Database &db, std::int32_t country) {
    std::vector<const TLugar_Geo *> rows;
    if (country >= 0)
        for (const auto &p : db.Places)
            if (p->IdPais == country)
                rows.push_back(p.get());
    return ChoicesOf(std::move(rows), true);
}

std::vector<NamedChoice> PlaceEntryChoices(const Database &db, std::int32_t country) {
    std::vector<const TLugar_Geo *> rows;
    for (const auto &p : db.Places)
        if (country < 0 || p->IdPais == country)
            rows.push_back(p.get());
    std::stable_sort(rows.begin(), rows.end(), [](const TLugar_Geo *a, const TLugar_Geo *b) {
        return SpanishLess(a->Nombre, b->Nombre);
    });
    std::vector<NamedChoice> choices;
    choices.reserve(rows.size());
    for (const TLugar_Geo *p : rows)
        choices.push_back({p->Id, p->Nombre, p->Marca != 0, NameOfId(db.Countries, p->IdPais)});
    return choices;
}

void ToggleGroupTick(Database &db, std::int32_t id) {
    if (const int i = IndexOfId(db.PersonGroups, id); i >= 0) {
        auto &group = *db.PersonGroups[static_cast<std::size_t>(i)];
        group.Marca = group.Marca ? 0 : 1;
    }
}

void TickAllGroups(Database &db, bool on) {
    for (auto &group : db.PersonGroups)
        group->Marca = on ? 1 : 0;
}

} // namespace cel::session
