#include "database/csv_export.h"

#include "common/date_text.h"
#include "common/safe_file.h"
#include "common/windows1252.h"
#include "database/coordinate_text.h"
#include "database/data_file.h"

namespace cel::database {

namespace {

constexpr const char *kEnd = "\r\n";

template <class T> std::string NamesCsv(const char *header, const std::vector<const T *> &rows) {
    std::string out = std::string(header) + kEnd;
    int n = 0;
    for (const T *r : rows)
        out += std::to_string(++n) + ";" + r->Nombre + kEnd;
    return out;
}

// Country and place names of a place reference; both empty for -1.
void PlaceFields(std::string &out, const Database &db, std::int32_t placeId) {
    if (placeId == -1) {
        out += ";;";
        return;
    }
    const int i = IndexOfId(db.Places, placeId);
    out += NameOfId(db.Countries, i < 0 ? -1 : db.Places[i]->IdPais) + ";";
    out += NameOfId(db.Places, placeId) + ";";
}

void AddressFields(std::string &out, const Database &db, const TLugar &a) {
    PlaceFields(out, db, a.IdLugarGeo);
    for (const std::string *s : {&a.Dir, &a.Tel, &a.Cel, &a.Fax, &a.Web, &a.Email})
        out += *s + ";";
}

void AddressHeader(std::string &out, const char *suffix) {
    for (const char *f : {"País", "Lugar", "Dir.", "Tel.", "Cel.", "Fax", "Web", "Email"})
        out += std::string(f) + " " + suffix + ";";
}

} // namespace

std::string CountriesCsv(const std::vector<const TPais *> &rows) {
    return NamesCsv("No;País", rows);
}

std::string PersonGroupsCsv(const std::vector<const TData *> &rows) {
    return NamesCsv("No;Grupo", rows);
}

std::string PlacesCsv(const Database &db, const std::vector<const TLugar_Geo *> &rows) {
    std::string out = std::string("No;Nombre;País;TZ;Lon;Lat;Descripción") + kEnd;
    int n = 0;
    for (const TLugar_Geo *p : rows) {
        out += std::to_string(++n) + ";" + p->Nombre + ";" + NameOfId(db.Countries, p->IdPais) + ";" +
               TimeZoneText(p->TZ) + ";" + AngleText(p->Lon, AngleKind::Longitude) + ";" +
               AngleText(p->Lat, AngleKind::Latitude) + ";" + p->Descripcion + ";" + kEnd;
    }
    return out;
}

std::string PersonsCsv(const Database &db, const std::vector<const TPersona *> &rows,
                       const PersonCsvOptions &options, const TextFormat &format) {
    std::string out = "No;Nombre;Apellido;Sexo;";
    if (options.residencia)
        AddressHeader(out, "Res.");
    if (options.trabajo)
        AddressHeader(out, "Trab.");
    if (options.grupos)
        out += "Grupos;";
    if (options.nacimiento)
        out += "País Nac.;Lugar Nac.;Fecha;Hora;GMT;";
    if (options.observaciones)
        out += "Observaciones;";
    out += kEnd;
    int n = 0;
    for (const TPersona *p : rows) {
        static const char *const kSex[] = {"f", "m", "o"};
        out += std::to_string(++n) + ";" + p->Nombre + ";" + p->Apellidos + ";" +
               (p->Sexo >= 0 && p->Sexo <= 2 ? kSex[p->Sexo] : "-") + ";";
        if (options.residencia)
            AddressFields(out, db, p->Residencia);
        if (options.trabajo)
            AddressFields(out, db, p->Trabajo);
        if (options.grupos) {
            // The person's groups by name, in the order the person holds them.
            std::string names;
            for (const TId &g : p->Grupos) {
                const int i = IndexOfId(db.PersonGroups, g.Id);
                if (i < 0)
                    continue;
                names += (names.empty() ? "" : ", ") + db.PersonGroups[static_cast<std::size_t>(i)]->Nombre;
            }
            out += names + ";";
        }
        if (options.nacimiento) {
            PlaceFields(out, db, p->IdLugarNac);
            const bool date = p->IsDate == 1;
            const bool time = date && p->IsHora == 1;
            out += (date ? FormatDateTimeText(p->Fecha, "mmm-dd-yyyy", format) : std::string()) + ";";
            out += (time ? FormatDateTimeText(p->Fecha, "hh:nn am/pm", format) : std::string()) + ";";
            out += std::string(time && p->HoraUT == 1 ? "sí" : time && p->HoraUT == 0 ? "no" : "") + ";";
        }
        if (options.observaciones)
            out += p->Observaciones + ";";
        out += kEnd;
    }
    return out;
}

std::string MailListCsv(const std::vector<const TPersona *> &rows) {
    std::string out = std::string("No;Nombre;Apellidos;mail;dupli;") + kEnd;
    int n = 0;
    for (const TPersona *p : rows) {
        const bool both = !p->Residencia.Email.empty() && !p->Trabajo.Email.empty();
        for (const std::string *mail : {&p->Residencia.Email, &p->Trabajo.Email})
            if (!mail->empty())
                out += std::to_string(++n) + ";" + p->Nombre + ";" + p->Apellidos + ";" + *mail + ";" +
                       (both ? "x" : "") + kEnd;
    }
    return out;
}

void WriteCsvFile(const std::string &path, const std::string &text) {
    WriteFileSafely(path, Utf8ToWindows1252(text));
}

std::string CsvCreatedText(const std::string &path) {
    return std::string("Archivo") + " \"" + FileNameOf(path) + "\"" + "\r\r" + "creado correctamente";
}

} // namespace cel::database
