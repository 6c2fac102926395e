#include "database/person_summary.h"

#include "common/date_text.h"
#include "database/coordinate_text.h"
#include "database/text_cleanup.h"

namespace cel::database {

namespace {

class Lines {
public:
    std::vector<SummaryLine> lines;

    void Name(const std::string &text) { lines.push_back({text, 0, true, false, kSummaryBlue}); }
    void Heading(const std::string &text) { lines.push_back({text, 0, false, true, kSummaryBlue}); }
    void Value(const std::string &text) { lines.push_back({text, 1, false, false, kSummaryBlack}); }
    void Group(const std::string &text) { lines.push_back({text, 2, false, false, kSummaryBlack}); }
};

void Address(Lines &out, const Database &db, const char *heading, const TLugar &a) {
    out.Heading(heading);
    if (a.IdLugarGeo >= 0)
        out.Value(db.PlaceCaption(a.IdLugarGeo));
    const std::pair<const char *, const std::string *> fields[] = {{"Dir: ", &a.Dir}, {"Tel: ", &a.Tel},
                                                                   {"Cel: ", &a.Cel}, {"Fax: ", &a.Fax},
                                                                   {"Web: ", &a.Web}, {"Mail: ", &a.Email}};
    for (const auto &[label, value] : fields)
        if (!value->empty())
            out.Value(label + *value);
    out.Value("");
}

} // namespace

std::vector<SummaryLine> PersonSummary(const Database &db, const TPersona *person,
                                       const SummaryOptions &options, const TextFormat &format) {
    Lines out;
    if (!person)
        return out.lines;
    const TPersona &p = *person;
    out.Name(p.Nombre + " " + p.Apellidos);
    out.Value("");
    if (options.genero && p.Sexo >= 0 && p.Sexo <= 2) {
        static const char *const kGender[] = {"Femenino", "Masculino", "Otro"};
        out.Heading("Genero: ");
        out.Value(kGender[p.Sexo]);
        out.Value("");
    }
    if (options.nacimiento) {
        out.Heading("Nacimiento: ");
        if (p.IsDate == 1) {
            if (p.IdLugarNac >= 0)
                out.Value(db.PlaceCaption(p.IdLugarNac));
            const int place = IndexOfId(db.Places, p.IdLugarNac);
            const long double tz = place < 0 ? 0 : db.Places[place]->TZ;
            TDateTime ut = p.Fecha;
            TDateTime local = p.Fecha;
            if (p.HoraUT == 1)
                local = ShiftDateTime(p.Fecha, tz / 24);
            else
                ut = ShiftDateTime(p.Fecha, -tz / 24);
            const auto when = [&format](TDateTime v) {
                return FormatDateTimeText(v, "mmm-d-yyyy, h:nn:ss am/pm, ", format) +
                       FormatDateTimeText(v, "h:nn:ss", format);
            };
            out.Value(TimeZoneText(tz) + ": " + when(local));
            out.Value("GMT: " + when(ut));
        }
        out.Value("");
    }
    if (options.residencia)
        Address(out, db, "Residencia", p.Residencia);
    if (options.trabajo)
        Address(out, db, "Trabajo", p.Trabajo);
    if (options.grupos) {
        out.Heading("Otros:");
        out.Value("Eventos: " + std::to_string(p.Eventos.size()));
        out.Value("Grupos asignados: " + std::to_string(p.Grupos.size()));
        for (const TId &g : p.Grupos)
            out.Group(".- " + NameOfId(db.PersonGroups, g.Id));
        out.Value("");
    }
    if (options.observaciones) {
        out.Heading("Observaciones:");
        if (!p.Observaciones.empty()) {
            const std::string text = DecodeObservations(p.Observaciones, "\n");
            std::size_t start = 0;
            for (;;) {
                const std::size_t end = text.find('\n', start);
                out.Value(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
                if (end == std::string::npos)
                    break;
                start = end + 1;
            }
        }
    }
    return out.lines;
}

std::string SummaryPlainText(const std::vector<SummaryLine> &lines) {
    std::string out;
    for (const SummaryLine &l : lines)
        out += std::string(static_cast<std::size_t>(l.tabs), '\t') + l.text + "\n";
    return out;
}

} // namespace cel::database
