// The main window's person list: which persons its filters list, in name order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "database/database.h"

namespace cel::session {

// "Sexo:" of the person filters: any person, or those whose record says "Fem." (0), "Mas." (1),
// "Otro" (2) or gives none (-1).
enum class SexChoice { All, Female, Male, Other, NotGiven }; // "Todos", "Fem.", "Mas.", "Otro", "< >"
// Whether a person's stored sex passes the choice.
bool SexMatches(SexChoice choice, int storedSex);

// "con:": the birth data a listed person must have.
enum class BirthDataFilter { DateAndTime, DateOnly, NoDate, All };

struct PersonFilter {
    bool selectedOnly = false;                           // "Seleccionados": only ticked persons
    std::string name;                                    // "nombre:": part of the name, any case
    std::string surname;                                 // "apellido:": part of the surname, any case
    std::int32_t groupId = -1;                           // "grupo:": -1 for the first entry (all groups)
    BirthDataFilter with = BirthDataFilter::DateAndTime; // "con:"
    SexChoice sex = SexChoice::All;                      // "Sexo:"
    bool operator==(const PersonFilter &) const = default;
};

// Whether text contains part, ignoring the case of ASCII and Latin-1 letters ("Ñ" matches "ñ").
bool ContainsIgnoringCase(std::string_view text, std::string_view part);

bool PersonListed(const database::TPersona &person, const PersonFilter &filter);

// The listed persons sorted by name (then surname), and how many persons there are in all.
struct PersonList {
    std::vector<const database::TPersona *> persons;
    std::size_t total = 0;
};
PersonList FilterPersons(const database::Database &db, const PersonFilter &filter);

// The counter text "%d de %d ".
std::string PersonCounterText(const PersonList &list);

} // namespace cel::session
