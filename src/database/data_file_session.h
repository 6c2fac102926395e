// A data file as a program holds it open: registered with the shared-use guard before it is read and
// kept registered until closed; saved only over the very file that was read (same device, inode, size
// and modification time), never over a file the user cannot write, and never dropping unreadable
// lines unnoticed. The manager window, the main window and the command line all open and save the
// data file through this one object.
#pragma once

#include <string>

#include "common/notifier.h"
#include "common/safe_file.h"
#include "common/text_format.h"
#include "database/data_file.h"
#include "database/database.h"
#include "database/shared_use_guard.h"

namespace cel::database {

class DataFileSession {
public:
    // Whether this program may change the file it has open.
    enum class Access {
        ReadWrite,
        UsedByAnother, // another running program has it registered
        NotWritable,   // the user may not write it (read-only file or folder)
    };

    // guard may be null when no shared-use table could be opened; owner identifies this program.
    DataFileSession(SharedUseGuard *guard, GuardOwner owner);
    ~DataFileSession();
    DataFileSession(const DataFileSession &) = delete;
    DataFileSession &operator=(const DataFileSession &) = delete;

    // Opens path as db's current file: a name without ".age" is refused with its notice (false).
    // Otherwise registers the file, reads it into db (db.Path = path) and remembers which file was
    // read; the temporary files of dead saves beside it are removed. The previous file, if any, is
    // released first. Throws FileError when the file cannot be read (nothing is held then).
    bool Open(const std::string &path, Database &db, Notifier &notifier, const TextFormat &format,
              LoadReport *report = nullptr);

    // Writes db over the open file. Refuses (FileError) when the file is read-only for this program or
    // changed on disk since it was read (FileChangedError: both versions are kept). Before the first
    // save over a file that had unreadable lines, its original bytes are kept in a dated copy beside
    // it and an information notice names that copy. Names of the file in its own folder (hard links)
    // stay the same file; when it has names in other folders, which would keep the old content, the
    // user is asked first (once per open file) and a "no" refuses the save (ECANCELED).
    void Save(Database &db, const TextFormat &format, Notifier &notifier);

    // Releases the registration; the session holds no file afterwards.
    void Close();

    bool IsOpen() const { return open_; }
    Access GetAccess() const { return access_; }
    bool ReadOnly() const { return access_ != Access::ReadWrite; }
    const std::string &Path() const { return path_; }
    // The lines of the open file that could not be read (1-based), and the copy kept of it.
    const std::vector<int> &UnreadableLines() const { return unreadable_; }
    const std::string &BackupPath() const { return backup_; }

private:
    SharedUseGuard *guard_;
    GuardOwner owner_;
    bool open_ = false;
    bool registered_ = false;
    Access access_ = Access::ReadWrite;
    std::string path_;
    FileIdentity identity_;
    std::vector<int> unreadable_;
    std::string original_; // the bytes read, kept only while a copy of them is still owed
    std::string backup_;
    bool splitAgreed_ = false; // the user agreed that names in other folders keep the old content
};

// The question before a save that would leave names of the file in other folders with the old
// content, and the refusal when the answer is no.
std::string OtherNamesText(const std::string &path, int elsewhere);
std::string OtherNamesRefusedText(int elsewhere);

// The notice after a copy was kept of a file with unreadable lines.
std::string BackupKeptText(const std::string &path, const std::string &backupPath, std::size_t lines);

} // namespace cel::database
