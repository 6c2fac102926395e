#include "session/person_details.h"

namespace cel::session {

using namespace cel::database;

namespace {

const TPersona *PersonOf(const Database &db, std::int32_t id) {
    const int i = IndexOfId(db.Persons, id);
    return i >= 0 ? db.Persons[static_cast<std::size_t>(i)].get() : nullptr;
}

} // namespace

std::vector<SummaryLine> SummaryOfPerson(const Database &db, std::int32_t id, const SummaryOptions &options,
                                         const TextFormat &format) {
    const TPersona *p = PersonOf(db, id);
    return p ? PersonSummary(db, p, options, format) : std::vector<SummaryLine>{};
}

std::string PersonLink(const TPersona &p, const std::string &entry) {
    const auto web = [](const std::string &address) {
        // A text that already names its scheme is opened as it is.
        return address.find("://") != std::string::npos ? address : "http://" + address;
    };
    if (entry == "WebHome")
        return web(p.Residencia.Web);
    if (entry == "WebWork")
        return web(p.Trabajo.Web);
    const std::string &mail = entry == "MailHome" ? p.Residencia.Email : p.Trabajo.Email;
    return "mailto:\"" + p.Nombre + " " + p.Apellidos + "\"<" + mail + ">";
}

std::array<std::string, 4> LinkCaptions(const Database &db, std::int32_t id) {
    std::array<std::string, 4> captions;
    const TPersona *p = PersonOf(db, id);
    if (!p)
        return captions;
    const std::string *fields[4] = {&p->Residencia.Web, &p->Trabajo.Web, &p->Residencia.Email,
                                    &p->Trabajo.Email};
    for (std::size_t k = 0; k < 4; ++k)
        if (!fields[k]->empty())
            captions[k] = (k < 2 ? "Ir al sitio Web : " : "Enviar mail a: ") + *fields[k];
    return captions;
}

std::string LinkOfPerson(const Database &db, std::int32_t id, const std::string &entry) {
    const TPersona *p = PersonOf(db, id);
    return p ? PersonLink(*p, entry) : std::string();
}

} // namespace cel::session
