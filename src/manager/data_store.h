// What the manager's windows need from the program that owns the database: the records, the notices,
// the locale's text choices, saving the whole file at once after every change, and the read-only
// check of the shared-use guard. The chart program passes its own store; tarjaro owns one.
#pragma once

#include <memory>
#include <string>

#include "common/notifier.h"
#include "common/text_format.h"
#include "database/database.h"

namespace cel::manager {

class DataStore {
public:
    DataStore(database::Database &db, Notifier &notifier, TextFormat format = {})
        : db_(db), notifier_(notifier), format_(format) {}
    virtual ~DataStore() = default;
    DataStore(const DataStore &) = delete;
    DataStore &operator=(const DataStore &) = delete;

    database::Database &Db() const { return db_; }
    Notifier &Notices() const { return notifier_; }
    const TextFormat &Format() const { return format_; }

    // True when the current path names an existing file.
    bool HasFile() const;

    // Writes the whole database to the current file. A failure is shown with the platform's error
    // text (the file on disk is then unchanged) and answered false.
    virtual bool Save();
    // True, after the read-only notice, when another program has the current file open; the caller
    // then abandons the change it was about to make. A store without a guard answers false.
    virtual bool ReadOnly() { return false; }

    // Makes path the current file and loads it; a path that names no file yet gives an empty
    // database. A file that is not a data file, or cannot be read, is refused with its notice and
    // the database stays as it was (false).
    virtual bool Open(const std::string &path);
    // Makes path the current file without reading it (a copy just written there).
    virtual void Adopt(const std::string &path) { db_.Path = path; }
    // Gives up the current file (the window closes or another file is opened).
    virtual void Release() {}

protected:
    database::Database &db_;
    Notifier &notifier_;
    TextFormat format_;
};

// The store of the manager running as a program of its own: the current file is registered in the
// shared-use table while it is open, and another program's registration makes it read-only.
class GuardedDataStore : public DataStore {
public:
    // Throws database::EMappingException when the shared table cannot be opened.
    GuardedDataStore(database::Database &db, Notifier &notifier, TextFormat format,
                     std::string applicationTitle, const std::string &tableName = "/Norvelta_FilePath");
    ~GuardedDataStore() override;

    bool ReadOnly() override;
    bool Open(const std::string &path) override;
    void Adopt(const std::string &path) override;
    void Release() override;
    // Whether another running program has the current file registered (no notice).
    bool UsedByAnother();

private:
    struct Guard;
    std::unique_ptr<Guard> guard_;
    std::string title_;
};

// The locale's decimal separator and the interface's Spanish month names.
TextFormat LocaleTextFormat();

} // namespace cel::manager
