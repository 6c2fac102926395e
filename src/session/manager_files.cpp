#include "session/manager_files.h"

#include <cstdio>

#include "common/safe_file.h"
#include "database/aaf_file.h"
#include "database/data_file.h"
#include "database/place_import.h"

namespace cel::session {

using namespace cel::database;

namespace {

// Up to twelve lines of a list of problems, then how many more.
std::string ProblemLines(const std::vector<AafProblem> &problems) {
    std::string text;
    for (std::size_t i = 0; i < problems.size() && i < 12; ++i)
        text += "\r   línea " + std::to_string(problems[i].line) + ": " + problems[i].reason;
    if (problems.size() > 12)
        text += "\r   ... y " + std::to_string(problems.size() - 12) + " más";
    return text;
}

template <class T> std::vector<const T *> RowsAs(const ManagerList &list) {
    std::vector<const T *> rows;
    rows.reserve(list.Rows().size());
    for (const TData *r : list.Rows())
        rows.push_back(static_cast<const T *>(r));
    return rows;
}

} // namespace

std::string BackupFileName(const std::string &folder, const std::string &dataPath,
                           const CivilDateTime &today) {
    char date[32];
    std::snprintf(date, sizeof date, "%02d-%d-%04d", today.month, today.day, today.year);
    return folder + "/Backup_" + date + "_" + FileNameOf(dataPath);
}

bool ManagerFiles::CreateEmpty(const std::string &path) {
    Database empty;
    return store_.WriteCopy(path, empty);
}

bool ManagerFiles::CopyTo(const std::string &path) {
    return store_.SaveAs(path);
}

bool ManagerFiles::BackUpTo(const std::string &path) {
    return store_.WriteCopy(path, store_.Db());
}

bool ManagerFiles::Append(const std::string &path) {
    Notifier &n = store_.Notices();
    MergeResult result;
    try {
        result = MergeDataFile(store_.Db(), path, n, store_.Format());
    } catch (const FileError &e) {
        n.Notice(NoticeKind::Error, false, true, e.what());
        return false;
    } catch (const IdLimitError &e) {
        n.Notice(NoticeKind::Error, false, true, e.what());
        return false;
    }
    if (!result.merged)
        return false;
    store_.Save();
    Changed();
    int added = 0, declined = 0;
    std::string declinedNames;
    for (const PlaceResolution &r : result.places) {
        if (r.outcome == PlaceOutcome::Added || r.outcome == PlaceOutcome::AddedRenamed)
            ++added;
        if (r.outcome == PlaceOutcome::NameDeclined || r.outcome == PlaceOutcome::DataKept) {
            ++declined;
            declinedNames += "\r" + r.name;
        }
    }
    std::string text = "Datos anexados de " + FileNameOf(path) +
                       "\r\rPersonas agregadas: " + std::to_string(result.personsAdded) + " (grupo \"" +
                       result.groupName + "\")" +
                       "\rPaíses agregados: " + std::to_string(result.countriesAdded) +
                       "\rGrupos agregados: " + std::to_string(result.groupsAdded) +
                       "\rLugares geográficos agregados: " + std::to_string(added) +
                       "\rLugares geográficos no agregados: " + std::to_string(declined) + declinedNames;
    if (!result.personsWithoutPlace.empty()) {
        text += "\r\rPersonas que quedaron sin lugar:";
        for (const std::string &p : result.personsWithoutPlace)
            text += "\r" + p;
    }
    if (!result.failedLines.empty())
        text +=
            "\r\rLíneas del archivo que no se pudieron leer: " + std::to_string(result.failedLines.size());
    n.Notice(NoticeKind::Information, false, false, text);
    return true;
}

bool ManagerFiles::ImportAaf(const std::string &path) {
    Notifier &n = store_.Notices();
    AafFile file;
    try {
        file = ReadAafFile(path);
    } catch (const FileError &e) {
        n.Notice(NoticeKind::Error, false, true, e.what());
        return false;
    }
    if (file.records.empty()) {
        n.Notice(NoticeKind::Warning, false, false,
                 "El archivo [" + FileNameOf(path) + "] no tiene registros AAF legibles." +
                     ProblemLines(file.problems));
        return false;
    }
    const Answer replace =
        n.Ask("Se importarán " + std::to_string(file.records.size()) + " personas de [" + FileNameOf(path) +
                  "].\r\rSi una persona ya existe en el archivo de datos (mismo nombre y nacimiento), ¿desea "
                  "reemplazar sus datos de nacimiento?\r\r(No: se deja como está y se omite)",
              QuestionStyle{true, true});
    if (replace == Answer::Cancel)
        return false;
    AafImportResult result;
    try {
        result = database::ImportAaf(store_.Db(), file, replace == Answer::Yes);
    } catch (const IdLimitError &e) {
        n.Notice(NoticeKind::Error, false, true, e.what());
        return false;
    }
    if (!store_.Save()) {
        store_.Open(store_.Db().Path); // the file refused the import: show what it holds
        Changed();
        return true;
    }
    Changed();
    std::string text =
        "Importación de [" + FileNameOf(path) + "]:\r\rPersonas añadidas: " + std::to_string(result.added) +
        "\rPersonas reemplazadas: " + std::to_string(result.replaced) +
        "\rPersonas omitidas (ya existían): " + std::to_string(result.skipped.size()) +
        ProblemLines(result.skipped) + "\rLugares añadidos: " + std::to_string(result.placesAdded) +
        "\rPaíses añadidos: " + std::to_string(result.countriesAdded);
    if (!file.problems.empty())
        text += "\r\rRegistros que no se pudieron leer: " + std::to_string(file.problems.size()) +
                ProblemLines(file.problems);
    if (!result.notes.empty())
        text += "\r\rAvisos:" + ProblemLines(result.notes);
    // Left-aligned, so the indented record lines read as a list under their heading.
    n.Notice(file.problems.empty() ? NoticeKind::Information : NoticeKind::Warning, false, false, text);
    return true;
}

std::vector<const TPersona *> ManagerFiles::AafPersons(const ManagerList &list) const {
    std::vector<const TPersona *> persons;
    if (list.Kind() == Kind::Person) {
        for (const TData *r : list.Rows())
            if (r->Marca)
                persons.push_back(static_cast<const TPersona *>(r));
        if (persons.empty())
            persons = RowsAs<TPersona>(list);
    } else {
        for (const auto &p : store_.Db().Persons)
            persons.push_back(p.get());
    }
    if (persons.empty())
        store_.Notices().Notice(NoticeKind::Information, false, true, "No hay personas para exportar.");
    return persons;
}

bool ManagerFiles::ExportAaf(const std::vector<const TPersona *> &persons, const std::string &path) {
    Notifier &n = store_.Notices();
    const Answer encoding =
        n.Ask("¿Escribir el archivo en UTF-8?\r\r(No: Windows-1252, para programas antiguos)",
              QuestionStyle{false, true});
    if (encoding == Answer::Cancel)
        return false;
    try {
        WriteFileSafely(path,
                        WriteAafText(store_.Db(), persons,
                                     encoding == Answer::Yes ? AafEncoding::Utf8 : AafEncoding::Windows1252));
    } catch (const FileError &e) {
        n.Notice(NoticeKind::Error, false, true, e.what());
        return false;
    }
    n.Notice(NoticeKind::Information, false, true,
             "Se exportaron " + std::to_string(persons.size()) + " personas a:\r\r" + path);
    return true;
}

bool ManagerFiles::HasCsvExport(Kind kind) {
    return kind != Kind::BusinessGroup && kind != Kind::Business;
}

bool ManagerFiles::ExportCsv(const ManagerList &list, const std::string &path,
                             const PersonCsvOptions &options) {
    std::string text;
    switch (list.Kind()) {
    case Kind::Country:
        text = CountriesCsv(RowsAs<TPais>(list));
        break;
    case Kind::Place:
        text = PlacesCsv(store_.Db(), RowsAs<TLugar_Geo>(list));
        break;
    case Kind::PersonGroup:
        text = PersonGroupsCsv(RowsAs<TData>(list));
        break;
    case Kind::Person:
        text = PersonsCsv(store_.Db(), RowsAs<TPersona>(list), options, store_.Format());
        break;
    case Kind::BusinessGroup:
    case Kind::Business:
        return false;
    }
    return WriteCsv(path, text);
}

bool ManagerFiles::ExportMailList(const ManagerList &list, const std::string &path) {
    if (list.Kind() != Kind::Person)
        return false;
    return WriteCsv(path, MailListCsv(RowsAs<TPersona>(list)));
}

bool ManagerFiles::WriteCsv(const std::string &path, const std::string &text) {
    try {
        WriteCsvFile(path, text);
    } catch (const FileError &e) {
        store_.Notices().Notice(NoticeKind::Error, false, true, e.what());
        return false;
    }
    store_.Notices().Notice(NoticeKind::Information, false, true, CsvCreatedText(path));
    return true;
}

} // namespace cel::session
