#include "database/record_checks.h"

#include <cmath>

#include "common/number_text.h"

namespace cel::database {

namespace {

const TDateTime kFirstDay = EncodeDate(1, 1, 1);
const TDateTime kAfterLastDay = EncodeDate(9999, 12, 31) + 1;

std::string Value(long double v) {
    return FormatReal(v, '.', ScientificForm::From1E15);
}

const char *KindName(Kind kind) {
    switch (kind) {
    case Kind::Country:
        return "País";
    case Kind::Place:
        return "Lugar";
    case Kind::PersonGroup:
        return "Grupo";
    case Kind::Person:
        return "Persona";
    case Kind::BusinessGroup:
        return "Grupo de negocios";
    case Kind::Business:
        return "Negocio";
    }
    return "";
}

} // namespace

bool ValidLatitude(long double degrees) {
    return std::isfinite(degrees) && std::fabs(degrees) < 90;
}

bool ValidLongitude(long double degrees) {
    return std::isfinite(degrees) && std::fabs(degrees) <= 180;
}

bool ValidZone(long double hours) {
    return std::isfinite(hours) && std::fabs(hours) <= 14;
}

bool ValidDate(TDateTime value) {
    return std::isfinite(value) && value >= kFirstDay && value < kAfterLastDay;
}

std::vector<std::string> PlaceProblems(const TLugar_Geo &place) {
    std::vector<std::string> what;
    if (!ValidLatitude(place.Lat))
        what.push_back("latitud " + Value(place.Lat) + " (debe estar entre -90 y 90, sin incluirlos)");
    if (!ValidLongitude(place.Lon))
        what.push_back("longitud " + Value(place.Lon) + " (debe estar entre -180 y 180)");
    if (!ValidZone(place.TZ))
        what.push_back("zona horaria " + Value(place.TZ) + " (debe estar entre -14 y 14 horas)");
    return what;
}

std::vector<std::string> PersonProblems(const TPersona &person) {
    std::vector<std::string> what;
    if (person.IsDate != 0 && !ValidDate(person.Fecha))
        what.push_back("fecha de nacimiento " + Value(person.Fecha) + " (debe caer en los años 1 a 9999)");
    for (const TEvento &e : person.Eventos)
        if (e.IsDate != 0 && !ValidDate(e.Fecha))
            what.push_back("fecha del evento \"" + e.Nombre + "\" " + Value(e.Fecha) +
                           " (debe caer en los años 1 a 9999)");
    return what;
}

std::vector<RecordProblem> CheckRecords(const Database &db) {
    std::vector<RecordProblem> problems;
    for (const auto &p : db.Places)
        if (auto what = PlaceProblems(*p); !what.empty())
            problems.push_back({Kind::Place, p->Id, p->Nombre, std::move(what)});
    for (const auto &p : db.Persons)
        if (auto what = PersonProblems(*p); !what.empty())
            problems.push_back({Kind::Person, p->Id,
                                p->Nombre + (p->Apellidos.empty() ? "" : " " + p->Apellidos),
                                std::move(what)});
    return problems;
}

namespace {

// A known date outside the years 1..9999, and what is impossible in the place with that Id.
std::vector<std::string> DateAndPlaceProblems(const Database &db, bool hasDate, TDateTime date,
                                              const char *dateName, std::int32_t placeId,
                                              const char *placeName) {
    std::vector<std::string> what;
    if (hasDate && !ValidDate(date))
        what.push_back(std::string(dateName) + " " + Value(date) + " (debe caer en los años 1 a 9999)");
    const int place = placeId < 0 ? -1 : IndexOfId(db.Places, placeId);
    if (place >= 0)
        for (std::string &w : PlaceProblems(*db.Places[static_cast<std::size_t>(place)]))
            what.push_back(std::string(placeName) + " \"" +
                           db.Places[static_cast<std::size_t>(place)]->Nombre + "\": " + w);
    return what;
}

} // namespace

std::vector<std::string> BirthProblems(const Database &db, const TPersona &person) {
    return DateAndPlaceProblems(db, person.IsDate != 0, person.Fecha, "fecha de nacimiento",
                                person.IdLugarNac, "lugar de nacimiento");
}

std::vector<std::string> EventProblems(const Database &db, const TEvento &event) {
    return DateAndPlaceProblems(db, event.IsDate != 0, event.Fecha, "fecha del evento", event.IdLugarGeo,
                                "lugar del evento");
}

std::string ProblemText(const RecordProblem &problem) {
    std::string text = std::string(KindName(problem.kind)) + " " + std::to_string(problem.id) + " \"" +
                       problem.name + "\": ";
    for (std::size_t i = 0; i < problem.what.size(); ++i)
        text += (i ? ", " : "") + problem.what[i];
    return text;
}

std::string RefusedChartText(const std::string &who, const std::vector<std::string> &problems) {
    std::string text = who + "\r\rTiene valores imposibles: ";
    for (std::size_t i = 0; i < problems.size(); ++i) {
        if (i > 0)
            text += ", ";
        text += problems[i];
    }
    text += ".\rNo se calcula una carta con ellos; corrija el registro en Tarjaro.";
    return text;
}

std::string InvalidRecordsText(const std::string &path, const std::vector<RecordProblem> &problems) {
    constexpr std::size_t kShown = 10;
    std::string text = "El archivo\r\r" + path +
                       "\r\rtiene registros con valores imposibles. Se conservan como están, pero no se "
                       "calcula ninguna carta con ellos; corríjalos en Tarjaro:\r";
    for (std::size_t i = 0; i < problems.size() && i < kShown; ++i) {
        text += '\r';
        text += ProblemText(problems[i]);
    }
    if (problems.size() > kShown)
        text += "\r... y " + std::to_string(problems.size() - kShown) + " más.";
    return text;
}

} // namespace cel::database
