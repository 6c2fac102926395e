#include "session/person_filter.h"
#include "database/spanish_order.h"

#include <algorithm>

namespace cel::session {

namespace {

// Lower case of ASCII and of the UTF-8 Latin-1 capitals (C3 80..C3 9E except the multiplication sign).
std::string Folded(std::string_view text) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (c >= 'A' && c <= 'Z') {
            out[i] = static_cast<char>(c + 32);
        } else if (c == 0xC3 && i + 1 < out.size()) {
            const auto d = static_cast<unsigned char>(out[i + 1]);
            if (d >= 0x80 && d <= 0x9E && d != 0x97)
                out[i + 1] = static_cast<char>(d + 0x20);
            ++i;
        }
    }
    return out;
}

} // namespace

bool ContainsIgnoringCase(std::string_view text, std::string_view part) {
    return part.empty() || Folded(text).find(Folded(part)) != std::string::npos;
}

bool SexMatches(SexChoice choice, int storedSex) {
    switch (choice) {
    case SexChoice::All:
        return true;
    case SexChoice::Female:
        return storedSex == 0;
    case SexChoice::Male:
        return storedSex == 1;
    case SexChoice::Other:
        return storedSex == 2;
    case SexChoice::NotGiven:
        return storedSex == -1;
    }
    return true;
}

bool PersonListed(const database::TPersona &p, const PersonFilter &f) {
    if (f.selectedOnly && p.Marca == 0)
        return false;
    if (!ContainsIgnoringCase(p.Nombre, f.name) || !ContainsIgnoringCase(p.Apellidos, f.surname))
        return false;
    if (f.groupId >= 0 && std::none_of(p.Grupos.begin(), p.Grupos.end(),
                                       [&](const database::TId &g) { return g.Id == f.groupId; }))
        return false;
    const bool hasDate = p.IsDate != 0;
    switch (f.with) {
    case BirthDataFilter::DateAndTime:
        if (!hasDate || p.IsHora == 0)
            return false;
        break;
    case BirthDataFilter::DateOnly:
        if (!hasDate)
            return false;
        break;
    case BirthDataFilter::NoDate:
        if (hasDate)
            return false;
        break;
    case BirthDataFilter::All:
        break;
    }
    return SexMatches(f.sex, p.Sexo);
}

PersonList FilterPersons(const database::Database &db, const PersonFilter &filter) {
    PersonList list;
    list.total = db.Persons.size();
    for (const auto &p : db.Persons)
        if (PersonListed(*p, filter))
            list.persons.push_back(p.get());
    std::stable_sort(list.persons.begin(), list.persons.end(),
                     [](const database::TPersona *a, const database::TPersona *b) {
                         // As the list shows them: name, blank, surname, in Spanish order.
                         return database::SpanishLess(a->Nombre + " " + a->Apellidos,
                                                      b->Nombre + " " + b->Apellidos);
                     });
    return list;
}

std::string PersonCounterText(const PersonList &list) {
    return std::to_string(list.persons.size()) + " de " + std::to_string(list.total) + " ";
}

} // namespace cel::session
