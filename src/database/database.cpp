#include "database/database.h"

#include <unordered_map>

#include "common/windows1252.h"

namespace cel::database {

namespace {

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The code a character sorts by: its Windows-1252 byte, after every byte for the others.
std::uint32_t SortCode(std::string_view s, std::size_t &i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
        ++i;
        return static_cast<unsigned char>(AsciiUpper(static_cast<char>(b)));
    }
    const char32_t c = NextUtf8Char(s, i);
    const int byte = Windows1252Byte(c);
    return byte >= 0 ? static_cast<std::uint32_t>(byte) : 0x100u + c;
}

// Old Id → new Id of a renumbering, for the records whose Id changes (old Ids ascending).
class IdMap {
public:
    void Add(std::int32_t from, std::int32_t to) {
        from_.push_back(from);
        to_.push_back(to);
    }
    bool Empty() const { return from_.empty(); }
    // Rewrites ref when it is mapped and its mark is clear; sets the mark then.
    void Rewrite(std::int32_t &ref, std::uint8_t &mark) const {
        if (mark != 0)
            return;
        const auto it = std::lower_bound(from_.begin(), from_.end(), ref);
        if (it != from_.end() && *it == ref) {
            ref = to_[static_cast<std::size_t>(it - from_.begin())];
            mark = 1;
        }
    }

private:
    std::vector<std::int32_t> from_;
    std::vector<std::int32_t> to_;
};

// Steps 1 and 3 of a renumbering: sort by Id, give the records 1..n and note the changes.
template <class T> IdMap RenumberList(RecordList<T> &list) {
    SortById(list);
    IdMap map;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::int32_t b = static_cast<std::int32_t>(i + 1);
        if (list[i]->Id != b) {
            map.Add(list[i]->Id, b);
            list[i]->Id = b;
        }
    }
    return map;
}

} // namespace

std::string AsciiUpper(std::string_view text) {
    std::string s(text);
    for (char &c : s)
        c = AsciiUpper(c);
    return s;
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
            return false;
    return true;
}

int CompareNames(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const std::uint32_t ca = SortCode(a, i);
        const std::uint32_t cb = SortCode(b, j);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

std::string NameSortKey(std::string_view name) {
    std::string key;
    key.reserve(name.size());
    for (std::size_t i = 0; i < name.size();) {
        const std::uint32_t code = SortCode(name, i);
        if (code < 0xFF) {
            key += static_cast<char>(code);
        } else if (code == 0xFF) {
            key += '\xFF';
            key += '\0';
        } else {
            // After every byte: an escape, then the character's number.
            const std::uint32_t c = code - 0x100;
            key += '\xFF';
            key += '\x01';
            key += static_cast<char>((c >> 16) & 0xFF);
            key += static_cast<char>((c >> 8) & 0xFF);
            key += static_cast<char>(c & 0xFF);
        }
    }
    return key;
}

IdLimitError::IdLimitError(Kind kind)
    : std::runtime_error([kind] {
          static const char *const names[kKindCount] = {"los países",
                                                        "los lugares",
                                                        "los grupos de personas",
                                                        "las personas",
                                                        "los grupos de negocios",
                                                        "los negocios"};
          return std::string("No se puede agregar: ") + names[static_cast<int>(kind)] +
                 " del archivo ya usan el Id más alto posible (2147483647). Nada se cambió; "
                 "renumere el archivo (por ejemplo anexándolo a un archivo nuevo) y vuelva a intentarlo.";
      }()) {}

void Database::RequireRoomFor(Kind kind, std::int64_t count) const {
    if (!HasRoomFor(kind, count))
        throw IdLimitError(kind);
}

std::int32_t Database::TakeId(Kind kind) {
    RequireRoomFor(kind);
    return static_cast<std::int32_t>(Counter(kind)++);
}

void Database::Clear() {
    Countries.clear();
    PersonGroups.clear();
    BusinessGroups.clear();
    Places.clear();
    Persons.clear();
    Businesses.clear();
    NextId.fill(0);
}

std::string Database::PlaceCaption(std::int32_t placeId) const {
    if (placeId < 0)
        return "-";
    const int i = IndexOfId(Places, placeId);
    const std::string name = i < 0 ? std::string("-") : Places[i]->Nombre;
    const std::int32_t country = i < 0 ? -1 : Places[i]->IdPais;
    return name + ", " + NameOfId(Countries, country);
}

int Database::SameDataPlace(const TLugar_Geo &c, std::int32_t excludeId) const {
    for (std::size_t i = 0; i < Places.size(); ++i) {
        const TLugar_Geo &p = *Places[i];
        if (p.Id == excludeId)
            continue;
        const long double dLon = p.Lon - c.Lon;
        const long double dLat = p.Lat - c.Lat;
        if (dLon < 1e-7L && dLon > -1e-7L && dLat < 1e-7L && dLat > -1e-7L && p.TZ == c.TZ && p.DST == c.DST)
            return static_cast<int>(i);
    }
    return -1;
}

int Database::PlaceWithName(std::int32_t excludeId, std::string_view name, std::int32_t countryId) const {
    for (std::size_t i = 0; i < Places.size(); ++i) {
        const TLugar_Geo &p = *Places[i];
        if (p.Id != excludeId && p.IdPais == countryId && SameIgnoringAsciiCase(p.Nombre, name))
            return static_cast<int>(i);
    }
    return -1;
}

void Database::ComputeUsage(Kind kind) {
    std::unordered_map<std::int32_t, std::int32_t> uses;
    auto store = [&uses](auto &list) {
        for (auto &r : list) {
            const auto it = uses.find(r->Id);
            r->Usos = it == uses.end() ? 0 : it->second;
        }
    };
    switch (kind) {
    case Kind::Country:
        for (const auto &p : Places)
            ++uses[p->IdPais];
        store(Countries);
        break;
    case Kind::Place:
        for (const auto &p : Persons) {
            // Birth, home and work count once for the person; otherwise each event at the place counts.
            const std::int32_t own[3] = {p->IdLugarNac, p->Residencia.IdLugarGeo, p->Trabajo.IdLugarGeo};
            for (int k = 0; k < 3; ++k) {
                bool repeated = false;
                for (int m = 0; m < k; ++m)
                    repeated = repeated || own[m] == own[k];
                if (!repeated)
                    ++uses[own[k]];
            }
            for (const auto &e : p->Eventos)
                if (e.IdLugarGeo != own[0] && e.IdLugarGeo != own[1] && e.IdLugarGeo != own[2])
                    ++uses[e.IdLugarGeo];
        }
        for (const auto &n : Businesses) {
            ++uses[n->Direccion.IdLugarGeo];
            for (const auto &e : n->Eventos)
                if (e.IdLugarGeo != n->Direccion.IdLugarGeo)
                    ++uses[e.IdLugarGeo];
        }
        store(Places);
        break;
    case Kind::PersonGroup:
        for (const auto &p : Persons)
            for (const auto &g : p->Grupos)
                ++uses[g.Id];
        store(PersonGroups);
        break;
    case Kind::BusinessGroup:
        for (const auto &n : Businesses)
            for (const auto &g : n->Grupos)
                ++uses[g.Id];
        store(BusinessGroups);
        break;
    case Kind::Person:
    case Kind::Business:
        break;
    }
}

void Database::Renumber(Kind kind) {
    switch (kind) {
    case Kind::Country: {
        if (Countries.empty())
            return;
        for (auto &p : Places)
            p->Marca = 0;
        const IdMap map = RenumberList(Countries);
        if (!map.Empty())
            for (auto &p : Places)
                map.Rewrite(p->IdPais, p->Marca);
        Counter(kind) = Countries.back()->Id + 1;
        break;
    }
    case Kind::Place: {
        if (Places.empty())
            return;
        for (auto &p : Persons) {
            p->Marca = 0;
            p->Residencia.Marca = 0;
            p->Trabajo.Marca = 0;
            for (auto &e : p->Eventos)
                e.Marca = 0;
        }
        for (auto &n : Businesses) {
            n->Direccion.Marca = 0;
            for (auto &e : n->Eventos)
                e.Marca = 0;
        }
        const IdMap map = RenumberList(Places);
        if (!map.Empty()) {
            for (auto &p : Persons) {
                map.Rewrite(p->IdLugarNac, p->Marca);
                map.Rewrite(p->Residencia.IdLugarGeo, p->Residencia.Marca);
                map.Rewrite(p->Trabajo.IdLugarGeo, p->Trabajo.Marca);
                for (auto &e : p->Eventos)
                    map.Rewrite(e.IdLugarGeo, e.Marca);
            }
            // Businesses follow too, so that none points at another place afterwards.
            for (auto &n : Businesses) {
                map.Rewrite(n->Direccion.IdLugarGeo, n->Direccion.Marca);
                for (auto &e : n->Eventos)
                    map.Rewrite(e.IdLugarGeo, e.Marca);
            }
        }
        Counter(kind) = Places.back()->Id + 1;
        break;
    }
    case Kind::PersonGroup: {
        if (PersonGroups.empty())
            return;
        for (auto &p : Persons)
            for (auto &g : p->Grupos)
                g.Marca = 0;
        const IdMap map = RenumberList(PersonGroups);
        if (!map.Empty())
            for (auto &p : Persons)
                for (auto &g : p->Grupos)
                    map.Rewrite(g.Id, g.Marca);
        Counter(kind) = PersonGroups.back()->Id + 1;
        break;
    }
    case Kind::Person: {
        if (Persons.empty())
            return;
        RenumberList(Persons);
        Counter(kind) = Persons.back()->Id + 1;
        break;
    }
    case Kind::BusinessGroup:
    case Kind::Business:
        break;
    }
}

void Database::SortAllById() {
    SortById(Countries);
    SortById(PersonGroups);
    SortById(BusinessGroups);
    SortById(Places);
    SortById(Persons);
    SortById(Businesses);
}

void Database::SortAllByName() {
    SortByName(Countries);
    SortByName(PersonGroups);
    SortByName(BusinessGroups);
    SortByName(Places);
    SortByName(Persons);
    SortByName(Businesses);
}

} // namespace cel::database
