// CSV exports of the lists: semicolon-separated, no quoting, Windows-1252 with CR LF, header first,
// records in the order given and numbered from 1.
#pragma once

#include <string>
#include <vector>

#include "common/text_format.h"
#include "database/database.h"

namespace cel::database {

// The optional column blocks of the persons export.
struct PersonCsvOptions {
    bool residencia = false;
    bool trabajo = false;
    bool grupos = false;
    bool nacimiento = false;
    bool observaciones = false;
};

// The texts (UTF-8, CR LF line ends) of each layout.
std::string CountriesCsv(const std::vector<const TPais *> &rows);
std::string PersonGroupsCsv(const std::vector<const TData *> &rows);
std::string PlacesCsv(const Database &db, const std::vector<const TLugar_Geo *> &rows);
std::string PersonsCsv(const Database &db, const std::vector<const TPersona *> &rows,
                       const PersonCsvOptions &options, const TextFormat &format);
// One line per e-mail (home, then work), numbered by line; "x" marks a person with both.
std::string MailListCsv(const std::vector<const TPersona *> &rows);

// Writes a CSV text as Windows-1252, replacing the file safely; throws FileError.
void WriteCsvFile(const std::string &path, const std::string &text);
// "Archivo \"name\"\r\rcreado correctamente".
std::string CsvCreatedText(const std::string &path);

// The records of a list, sorted by name order.
template <class T> std::vector<const T *> InNameOrder(const RecordList<T> &list) {
    std::vector<const T *> rows;
    rows.reserve(list.size());
    for (const auto &r : list)
        rows.push_back(r.get());
    std::stable_sort(rows.begin(), rows.end(),
                     [](const T *a, const T *b) { return CompareNames(a->Nombre, b->Nombre) < 0; });
    return rows;
}

} // namespace cel::database
