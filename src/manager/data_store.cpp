#include "data_store.h"

#include <QLocale>
#include <sys/stat.h>

#include "database/data_file.h"
#include "database/safe_file.h"

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

TextFormat LocaleTextFormat() {
    TextFormat format;
    const QString point = QLocale::system().decimalPoint();
    format.decimalSeparator = point == QLatin1String(".") ? '.' : ',';
    return format;
}

} // namespace cel::manager
