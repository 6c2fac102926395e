// The manager's operations on whole files, over the program's data-file store: a new empty data
// file, a copy or a backup of the current one, appending another data file, persons in from and out to
// an AAF file, and the CSV exports of the listed records. The window chooses the paths; each operation
// asks its questions and shows its result through the store's notifier.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/date_time.h"
#include "database/csv_export.h"
#include "database/data_file.h"
#include "database/database.h"
#include "session/data_store.h"
#include "session/manager_list.h"

namespace cel::session {

using database::FileNameOf;
using database::PersonCsvOptions;

// The name a backup of the data file at dataPath is proposed under, in folder: the date as
// "MM-d-yyyy" (month with two digits) in front of the file's own name.
std::string BackupFileName(const std::string &folder, const std::string &dataPath,
                           const CivilDateTime &today);

class ManagerFiles {
public:
    // changed: called when an operation changed the records, before its report is shown, so that the
    // window shows the new records under the report.
    explicit ManagerFiles(DataStore &store, std::function<void()> changed = {})
        : store_(store), changed_(std::move(changed)) {}

    // Writes an empty data file at path (another program must not hold it); true when written.
    bool CreateEmpty(const std::string &path);
    // Writes the records to path and makes it the current file.
    bool CopyTo(const std::string &path);
    // Writes the records to path and keeps the current file.
    bool BackUpTo(const std::string &path);
    // Adds the persons, places, countries and groups of another data file, saves and reports what was
    // added; true when the records changed.
    bool Append(const std::string &path);

    // Reads an AAF file, asks whether persons already stored are replaced, adds them, saves and
    // reports; true when the records shown may have changed (imported, or read again after the save
    // was refused).
    bool ImportAaf(const std::string &path);
    // The persons an AAF export writes: the ticked persons of the list, else every person listed;
    // every person when another kind is listed. When there is none, says so.
    std::vector<const database::TPersona *> AafPersons(const ManagerList &list) const;
    // Asks for the encoding and writes the persons to path; true when written.
    bool ExportAaf(const std::vector<const database::TPersona *> &persons, const std::string &path);

    // Whether the list of a kind has a CSV export (the business kinds have none).
    static bool HasCsvExport(database::Kind kind);
    // Writes the listed records of the list's kind as CSV (options: the persons' column blocks).
    bool ExportCsv(const ManagerList &list, const std::string &path, const PersonCsvOptions &options);
    // Writes the listed persons' names and e-mail addresses as CSV.
    bool ExportMailList(const ManagerList &list, const std::string &path);

private:
    bool WriteCsv(const std::string &path, const std::string &text);
    void Changed() const {
        if (changed_)
            changed_();
    }

    DataStore &store_;
    std::function<void()> changed_;
};

} // namespace cel::session
