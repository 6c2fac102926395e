#include "session/list_builder.h"
#include "database/spanish_order.h"

#include <algorithm>
#include <cstdio>

namespace cel::session {

using namespace cel::database;

void ListFilters::ResetForKind() {
    name.clear();
    surname.clear();
    sex = SexChoice::All;
    used = UsedChoice::Both;
    placeCountry = -1;
    businessGroup = -1;
    age = AgeChoice::All;
    personCountry = -1;
}

void ListFilters::ResetAll() {
    ResetForKind();
    groupFilter = false;
    withoutPlace = false;
    withoutGroup = false;
    onlyTicked = false;
    search = GroupSearch::Or;
    different = false;
    mail = MailChoice::Any;
    personPlace = -1;
}

int AgeOn(const CivilDateTime &birth, const CivilDateTime &today) {
    int years = today.year - birth.year;
    if (today.month < birth.month || (today.month == birth.month && today.day < birth.day))
        --years;
    return years;
}

namespace {

bool HasGroup(const TDataItem &item, std::int32_t id) {
    return std::any_of(item.Grupos.begin(), item.Grupos.end(), [id](const TId &g) { return g.Id == id; });
}

bool GroupTest(const Database &db, const TPersona &p, const ListFilters &f) {
    if (f.withoutGroup)
        return p.Grupos.empty();
    if (p.Grupos.empty())
        return false;
    bool anyTicked = false;
    bool orPass = false;
    bool andPass = true;
    for (const auto &g : db.PersonGroups) {
        if (g->Marca == 0)
            continue;
        anyTicked = true;
        bool member = HasGroup(p, g->Id);
        if (f.different && f.search == GroupSearch::And)
            member = !member;
        orPass = orPass || member;
        andPass = andPass && member;
    }
    if (!anyTicked)
        return false;
    return f.search == GroupSearch::Or ? orPass : andPass;
}

bool PlaceTest(const Database &db, std::int32_t placeId, const ListFilters &f) {
    bool pass;
    if (f.withoutPlace) {
        pass = placeId == -1;
    } else if (f.personPlace >= 0) {
        pass = placeId == f.personPlace;
    } else {
        const int i = IndexOfId(db.Places, placeId);
        pass = i >= 0 && db.Places[static_cast<std::size_t>(i)]->IdPais == f.personCountry;
    }
    return f.negate ? !pass : pass;
}

bool HasMail(const TLugar &a) {
    return a.Email.find('@') != std::string::npos;
}

} // namespace

bool PersonPasses(const Database &db, const TPersona &p, const ListFilters &f, const CivilDateTime &today) {
    if (!session::SexMatches(f.sex, p.Sexo))
        return false;
    if (f.groupFilter && !GroupTest(db, p, f))
        return false;
    if (f.personCountry >= 0 || f.withoutPlace) {
        bool pass = false;
        switch (f.which) {
        case PlaceWhich::All:
            pass = PlaceTest(db, p.Trabajo.IdLugarGeo, f) || PlaceTest(db, p.Residencia.IdLugarGeo, f) ||
                   PlaceTest(db, p.IdLugarNac, f);
            break;
        case PlaceWhich::Residencia:
            pass = PlaceTest(db, p.Residencia.IdLugarGeo, f);
            break;
        case PlaceWhich::Trabajo:
            pass = PlaceTest(db, p.Trabajo.IdLugarGeo, f);
            break;
        case PlaceWhich::Nacimiento:
            pass = PlaceTest(db, p.IdLugarNac, f);
            break;
        }
        if (!pass)
            return false;
    }
    switch (f.age) {
    case AgeChoice::All:
        break;
    case AgeChoice::WithoutDate:
        if (p.IsDate != 0)
            return false;
        break;
    case AgeChoice::DateWithoutTime:
        if (p.IsDate != 1 || p.IsHora != 0)
            return false;
        break;
    case AgeChoice::WithDate: {
        if (p.IsDate != 1)
            return false;
        if (f.ageOn || f.birthdayOn) {
            const CivilDateTime birth = DecodeDateTime(p.Fecha);
            if (f.ageOn) {
                const int age = AgeOn(birth, today);
                if (age < f.ageFrom || age > f.ageTo)
                    return false;
            }
            if (f.birthdayOn && birth.month != f.birthdayMonth)
                return false;
        }
        break;
    }
    }
    if (f.mail != MailChoice::Any) {
        const bool has = (f.mailHome && HasMail(p.Residencia)) || (f.mailWork && HasMail(p.Trabajo));
        if ((f.mail == MailChoice::Yes) != has)
            return false;
    }
    return true;
}

const ListBuilder::Order &ListBuilder::OrderOf(Kind kind) {
    Order &o = orders_[static_cast<int>(kind)];
    if (o.version == version_)
        return o;
    o.version = version_;
    o.rows.clear();
    const auto collect = [&o](auto &list) {
        o.rows.reserve(list.size());
        for (auto &r : list)
            o.rows.push_back(r.get());
    };
    db_.VisitList(kind, collect);
    std::vector<std::string> keys;
    keys.reserve(o.rows.size());
    for (const TData *r : o.rows)
        keys.push_back(SpanishSortKey(r->Nombre));
    std::vector<std::size_t> order(o.rows.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    std::vector<TData *> sorted;
    sorted.reserve(order.size());
    for (std::size_t i : order)
        sorted.push_back(o.rows[i]);
    o.rows = std::move(sorted);
    o.upper.clear();
    o.upperSurname.clear();
    o.upper.reserve(o.rows.size());
    for (const TData *r : o.rows) {
        o.upper.push_back(AsciiUpper(r->Nombre));
        if (kind == Kind::Person)
            o.upperSurname.push_back(AsciiUpper(static_cast<const TPersona *>(r)->Apellidos));
    }
    return o;
}

std::vector<TData *> ListBuilder::Build(Kind kind, const ListFilters &f, const CivilDateTime &today) {
    const bool counted = kind == Kind::Country || kind == Kind::Place || kind == Kind::PersonGroup ||
                         kind == Kind::BusinessGroup;
    if (counted)
        db_.ComputeUsage(kind);
    const Order &o = OrderOf(kind);
    const std::string name = AsciiUpper(f.name);
    const std::string surname = AsciiUpper(f.surname);
    std::vector<TData *> rows;
    rows.reserve(o.rows.size());
    for (std::size_t i = 0; i < o.rows.size(); ++i) {
        TData *r = o.rows[i];
        if (f.onlyTicked && r->Marca == 0)
            continue;
        if (!name.empty() && o.upper[i].find(name) == std::string::npos)
            continue;
        if (counted &&
            ((f.used == UsedChoice::Yes && r->Usos <= 0) || (f.used == UsedChoice::No && r->Usos != 0)))
            continue;
        if (kind == Kind::Place) {
            const auto *p = static_cast<const TLugar_Geo *>(r);
            if (f.placeCountry >= 0 && p->IdPais != f.placeCountry)
                continue;
            if (f.dst >= 0 && p->DST != f.dst)
                continue;
            if (f.tzOn && (p->TZ < f.tzFrom || p->TZ > f.tzTo))
                continue;
        } else if (kind == Kind::Person) {
            if (!surname.empty() && o.upperSurname[i].find(surname) == std::string::npos)
                continue;
            if (!PersonPasses(db_, *static_cast<const TPersona *>(r), f, today))
                continue;
        } else if (kind == Kind::Business) {
            if (f.businessGroup >= 0 && !HasGroup(*static_cast<const TNegocio *>(r), f.businessGroup))
                continue;
        }
        rows.push_back(r);
    }
    return rows;
}

int ListBuilder::KindCount(Kind kind) const {
    switch (kind) {
    case Kind::Country:
        return static_cast<int>(db_.Countries.size());
    case Kind::Place:
        return static_cast<int>(db_.Places.size());
    case Kind::PersonGroup:
        return static_cast<int>(db_.PersonGroups.size());
    case Kind::Person:
        return static_cast<int>(db_.Persons.size());
    case Kind::BusinessGroup:
        return static_cast<int>(db_.BusinessGroups.size());
    case Kind::Business:
        break;
    }
    return static_cast<int>(db_.Businesses.size());
}

int RowsPerPage(int gridHeight, int rowHeight) {
    return std::max(2, (gridHeight - rowHeight + 1) / (rowHeight + 1));
}

Paging ComputePaging(int records, int rowsPerPage, bool all, int page) {
    Paging p;
    if (all || rowsPerPage < 2) {
        p.count = records;
        return p;
    }
    const int perPage = rowsPerPage - 1;
    p.pageCount = records / rowsPerPage + 1;
    p.page = std::clamp(page, 1, p.pageCount);
    p.first = std::min(records, (p.page - 1) * perPage);
    p.count = p.page == p.pageCount ? records - p.first : std::min(perPage, records - p.first);
    return p;
}

std::string ItemsText(const Paging &paging, int records, bool all) {
    if (all || paging.pageCount == 1)
        return "1 a " + std::to_string(records);
    return std::to_string(paging.first + 1) + " a " + std::to_string(paging.first + paging.count);
}

std::string FoundText(int shown, int kindTotal) {
    char buf[64];
    if (kindTotal == 0)
        std::snprintf(buf, sizeof buf, "%d de %d, %d%%", shown, 0, 0);
    else
        std::snprintf(buf, sizeof buf, "%d de %d, %2.0f%%", shown, kindTotal, 100.0 * shown / kindTotal);
    return buf;
}

} // namespace cel::session
