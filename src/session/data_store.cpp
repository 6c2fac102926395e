#include "session/data_store.h"

#include <sys/stat.h>

#include "common/safe_file.h"
#include "database/data_file.h"
#include "database/record_checks.h"

namespace cel::session {

using namespace cel::database;

namespace {

bool IsRegularFile(const std::string &path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

DataStore::DataStore(Database &db, Notifier &notifier, TextFormat format, DataFileSession *session,
                     SharedUseGuard *guard, GuardOwner owner, std::string title)
    : db_(db), notifier_(notifier), format_(format), session_(session), guard_(guard), owner_(owner),
      title_(std::move(title)) {}

bool DataStore::HasFile() const {
    return IsRegularFile(db_.Path);
}

bool DataStore::Save(const std::string &unsaved) {
    try {
        if (session_ && session_->IsOpen())
            session_->Save(db_, format_, notifier_);
        else
            SaveDataFile(db_.Path, db_, format_);
        return true;
    } catch (const FileChangedError &e) {
        // Another program saved the file: what is shown here is no longer what the file holds. It is
        // read again, so that a repeated change is saved over the fresh file instead of making
        // another side file.
        const std::string path = db_.Path;
        ++reloads_;
        const bool again = Open(path);
        if (again && reloaded)
            reloaded();
        notifier_.Notice(
            NoticeKind::Error, false, true,
            std::string(e.what()) +
                (again ? "\r\rSe volvió a leer el archivo con los cambios del otro programa: " +
                             (unsaved.empty() ? std::string("el cambio que acaba de hacer") : unsaved) +
                             " no está en él.\r\rRepita la operación, por favor."
                       : std::string()));
        return false;
    } catch (const FileError &e) {
        notifier_.Notice(NoticeKind::Error, false, true, e.what());
        return false;
    }
}

bool DataStore::SaveInPlace() {
    try {
        if (session_ && session_->IsOpen())
            session_->Save(db_, format_, notifier_);
        else
            SaveDataFile(db_.Path, db_, format_);
        return true;
    } catch (const std::exception &e) {
        notifier_.Notice(NoticeKind::Error, false, true, e.what());
        return false;
    }
}

bool DataStore::ReadOnly() {
    if (!session_ || !session_->IsOpen())
        return false;
    switch (session_->GetAccess()) {
    case DataFileSession::Access::ReadWrite:
        return false;
    case DataFileSession::Access::NotWritable:
        notifier_.Notice(
            NoticeKind::Information, false, false,
            "El archivo de datos [" + FileNameOf(db_.Path) +
                "] no se puede modificar: no tiene permiso de escritura sobre él.\r\r"
                "Lo cual significa que no puede agregar, modificar o eliminar datos de este archivo.");
        return true;
    case DataFileSession::Access::UsedByAnother:
        break;
    }
    if (!guard_ || guard_->UsedByAnother(owner_, db_.Path)) {
        notifier_.Notice(NoticeKind::Information, false, false, ReadOnlyText(db_.Path, title_));
        return true;
    }
    // The other program has ended: it may have changed the file, so read it again before any change.
    const std::string path = db_.Path;
    if (Open(path)) {
        if (reloaded)
            reloaded();
        notifier_.Notice(NoticeKind::Information, false, false,
                         "El archivo de datos [" + FileNameOf(path) +
                             "] ya no está siendo usado por otro programa. Se volvió a leer con sus últimos "
                             "cambios; ahora puede modificarlo.\r\rRepita la operación, por favor.");
    }
    return true;
}

bool DataStore::Open(const std::string &path) {
    // A pipe or a device under the name is refused: never read, and never replaced by a save.
    if (struct stat st{};
        !path.empty() && stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
        notifier_.Notice(NoticeKind::Error, false, true, path + ": " + NotRegularFileText());
        return false;
    }
    if (!IsRegularFile(path)) {
        // No file there yet (a new name, or the default data folder): an empty database.
        if (session_)
            session_->Close();
        Database fresh;
        fresh.Path = path;
        db_ = std::move(fresh);
        return true;
    }
    if (!HasDataFileExtension(path)) {
        notifier_.Notice(NoticeKind::Error, false, true, InvalidFileText(path));
        return false;
    }
    Database fresh;
    try {
        if (session_) {
            if (!session_->Open(path, fresh, notifier_, format_))
                return false;
        } else {
            LoadDataFile(path, fresh, notifier_, format_);
        }
    } catch (const FileError &e) {
        notifier_.Notice(NoticeKind::Error, false, true, e.what());
        // The session holds nothing now: no file is current, so nothing can be saved over another.
        Database empty;
        db_ = std::move(empty);
        return false;
    }
    fresh.Path = path;
    db_ = std::move(fresh);
    if (const auto problems = CheckRecords(db_); !problems.empty())
        notifier_.Notice(NoticeKind::Warning, false, true, InvalidRecordsText(path, problems));
    return true;
}

bool DataStore::MayWriteOver(const std::string &path) {
    if (guard_ && guard_->UsedByAnother(owner_, path)) {
        notifier_.Notice(NoticeKind::Information, false, false, ReadOnlyText(path, title_));
        return false;
    }
    return true;
}

bool DataStore::WriteCopy(const std::string &path, Database &db) {
    if (path == db_.Path)
        return Save();
    if (!MayWriteOver(path))
        return false;
    try {
        SaveDataFile(path, db, format_);
        return true;
    } catch (const FileError &e) {
        notifier_.Notice(NoticeKind::Error, false, true, e.what());
        return false;
    }
}

bool DataStore::SaveAs(const std::string &path) {
    if (!WriteCopy(path, db_))
        return false;
    return Open(path);
}

void DataStore::Release() {
    if (session_)
        session_->Close();
}

struct GuardedDataStore::Parts {
    SharedUseGuard guard;
    GuardOwner owner = GuardOwner::Current();
    DataFileSession session;
    explicit Parts(const std::string &name) : guard(name), session(&guard, owner) {}
};

GuardedDataStore::GuardedDataStore(Database &db, Notifier &notifier, TextFormat format, std::string title,
                                   const std::string &tableName)
    : GuardedDataStore(db, notifier, format, std::move(title), std::make_unique<Parts>(tableName)) {}

GuardedDataStore::GuardedDataStore(Database &db, Notifier &notifier, TextFormat format, std::string title,
                                   std::unique_ptr<Parts> parts)
    : DataStore(db, notifier, format, &parts->session, &parts->guard, parts->owner, std::move(title)),
      parts_(std::move(parts)) {}

GuardedDataStore::~GuardedDataStore() {
    Release();
}

} // namespace cel::session
