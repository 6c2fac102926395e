#include "manager/qt_spanish.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace cel::manager {

QTranslator *InstallQtSpanish(QCoreApplication &app) {
    auto *translator = new QTranslator(&app);
    const QLocale spanish(QLocale::Spanish, QLocale::Spain);
    for (const QString &folder : {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                  QStringLiteral("/usr/share/qt6/translations")}) {
        if (translator->load(spanish, QStringLiteral("qtbase"), QStringLiteral("_"), folder) &&
            QCoreApplication::installTranslator(translator))
            return translator;
    }
    delete translator;
    return nullptr;
}

} // namespace cel::manager
