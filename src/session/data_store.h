// The one store of a program's data file: the records, the notices, the locale's text choices, opening
// and saving the data file through its session (registered with the shared-use guard, saved only over
// the file that was read) and the read-only check. The chart program's session owns one over its own
// file session, and the manager's windows work through it; tarjaro owns one (GuardedDataStore).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "common/notifier.h"
#include "common/text_format.h"
#include "database/data_file_session.h"
#include "database/database.h"
#include "database/shared_use_guard.h"

namespace cel::session {

class DataStore {
public:
    // Without a session the store reads and saves the file directly (tests, scratch databases);
    // with one, every open and save goes through it, and guard (when given) answers whether another
    // program holds the file now. title is the program's name in the read-only notice.
    DataStore(database::Database &db, Notifier &notifier, TextFormat format = {},
              database::DataFileSession *session = nullptr, database::SharedUseGuard *guard = nullptr,
              database::GuardOwner owner = {}, std::string title = "Tarjaro");
    virtual ~DataStore() = default;
    DataStore(const DataStore &) = delete;
    DataStore &operator=(const DataStore &) = delete;

    database::Database &Db() const { return db_; }
    Notifier &Notices() const { return notifier_; }
    const TextFormat &Format() const { return format_; }

    // True when the current path names an existing file.
    bool HasFile() const;

    // Writes the whole database over the current file. A refusal or failure is shown with its text
    // (the file on disk is then unchanged) and answered false. When another program saved the file
    // since it was read, this program's version is kept in one side file, the file is read again
    // (`reloaded` is called) and the notice says that the change is not in the file and is to be
    // repeated; unsaved names what was not saved ("la persona \"Ana\"") when the caller knows it.
    virtual bool Save(const std::string &unsaved = {});
    // Writes the whole database over the current file, and on any refusal or failure shows its text
    // and answers false, leaving the records as they are (the caller puts back what it changed).
    bool SaveInPlace();
    // Counts the times the file was read again after such a conflict, so that a window can tell
    // that the records it worked on were replaced.
    int Reloads() const { return reloads_; }
    // True, after its notice, when this program may not change the current file (another program
    // has it open, or the user cannot write it); the caller then abandons its change. When the other
    // program has ended meanwhile, the file is read again (it may have changed) and the user is told
    // to repeat the change on the fresh data; `reloaded` is called so that the windows refresh.
    virtual bool ReadOnly();
    std::function<void()> reloaded;

    // Makes path the current file and reads it; a path that names no file gives an empty database
    // with that path. A file that is not a data file, or cannot be read, is refused with its notice
    // (false); after a read error no file is current.
    virtual bool Open(const std::string &path);
    // Writes the database to another file, which then becomes the current one (a copy).
    virtual bool SaveAs(const std::string &path);
    // Writes the database to another file and keeps the current one (a backup).
    bool WriteCopy(const std::string &path, database::Database &db);
    // Gives up the current file (the window closes).
    virtual void Release();

protected:
    // False, after the read-only notice, when another running program holds path.
    bool MayWriteOver(const std::string &path);

    database::Database &db_;
    Notifier &notifier_;
    TextFormat format_;
    database::DataFileSession *session_;
    database::SharedUseGuard *guard_;
    database::GuardOwner owner_;
    std::string title_;
    int reloads_ = 0;
};

// The store of the manager running as a program of its own: it owns the shared-use table and the
// data-file session.
class GuardedDataStore : public DataStore {
public:
    // Throws database::EMappingException when the shared table cannot be opened.
    GuardedDataStore(database::Database &db, Notifier &notifier, TextFormat format,
                     std::string applicationTitle,
                     const std::string &tableName = database::SharedUseGuard::kDefaultName);
    ~GuardedDataStore() override;

private:
    struct Parts;
    GuardedDataStore(database::Database &db, Notifier &notifier, TextFormat format, std::string title,
                     std::unique_ptr<Parts> parts);
    std::unique_ptr<Parts> parts_;
};

} // namespace cel::session
