#include "clock.h"

#include <QDateTime>

namespace cel::manager {

TDateTime UniversalNow() {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QDate d = now.date();
    const QTime t = now.time();
    return EncodeDateTime({d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec()});
}

} // namespace cel::manager
