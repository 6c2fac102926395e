#include "manager/data_store.h"

#include <QLocale>

namespace cel::manager {

TextFormat LocaleTextFormat() {
    TextFormat format;
    const QString point = QLocale::system().decimalPoint();
    format.decimalSeparator = point == QLatin1String(".") ? '.' : ',';
    return format;
}

} // namespace cel::manager
