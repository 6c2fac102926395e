#include "data_store.h"

#include <QLocale>
#include <sys/stat.h>

#include "database/data_file.h"
#include "database/safe_file.h"
#include "database/shared_use_guard.h"

namespace cel::manager {

bool DataStore::HasFile() const {
    struct stat st {};
    return !db_.Path.empty() && stat(db_.Path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DataStore::Save() {
    try {
        database::SaveDataFile(db_.Path, db_, format_);
        return true;
    } catch (const database::FileError &e) {
        notifier_.Notice(NoticeKind::Error, false, true, e.what());
        return false;
    }
}

namespace {

bool IsRegularFile(const std::string &path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

bool DataStore::Open(const std::string &path) {
    if (IsRegularFile(path) && !database::HasDataFileExtension(path)) {
        notifier_.Notice(NoticeKind::Error, false, true, database::InvalidFileText(path));
        return false;
    }
    database::Database fresh;
    if (IsRegularFile(path)) {
        try {
            database::LoadDataFile(path, fresh, notifier_, format_);
        } catch (const database::FileError &e) {
            notifier_.Notice(NoticeKind::Error, false, true, e.what());
            return false;
        }
    }
    fresh.Path = path;
    db_ = std::move(fresh);
    return true;
}

struct GuardedDataStore::Guard {
    database::SharedUseGuard table;
    database::GuardOwner owner = database::GuardOwner::Current();
    std::string registered;
    explicit Guard(const std::string &name) : table(name) {}
};

GuardedDataStore::GuardedDataStore(database::Database &db, Notifier &notifier, TextFormat format,
                                   std::string applicationTitle, const std::string &tableName)
    : DataStore(db, notifier, format), guard_(std::make_unique<Guard>(tableName)),
      title_(std::move(applicationTitle)) {}

GuardedDataStore::~GuardedDataStore() {
    Release();
}

bool GuardedDataStore::ReadOnly() {
    return !db_.Path.empty() && guard_->table.ReadOnlyCheck(guard_->owner, db_.Path, notifier_, title_);
}

bool GuardedDataStore::UsedByAnother() {
    return !db_.Path.empty() && guard_->table.UsedByAnother(guard_->owner, db_.Path);
}

bool GuardedDataStore::Open(const std::string &path) {
    if (IsRegularFile(path) && !database::HasDataFileExtension(path))
        return DataStore::Open(path); // refused with its notice; nothing registered
    Release();
    guard_->table.Register(guard_->owner, path);
    guard_->registered = path;
    return DataStore::Open(path);
}

void GuardedDataStore::Adopt(const std::string &path) {
    Release();
    guard_->table.Register(guard_->owner, path);
    guard_->registered = path;
    DataStore::Adopt(path);
}

void GuardedDataStore::Release() {
    if (guard_->registered.empty())
        return;
    guard_->table.Release(guard_->owner, guard_->registered);
    guard_->registered.clear();
}

TextFormat LocaleTextFormat() {
    TextFormat format;
    const QString point = QLocale::system().decimalPoint();
    format.decimalSeparator = point == QLatin1String(".") ? '.' : ',';
    return format;
}

} // namespace cel::manager
