// Qt's own texts in Spanish: the standard buttons and the open, save, print, page set-up, colour and
// font dialogs of both programs.
#pragma once

class QCoreApplication;
class QTranslator;

namespace cel::manager {

// Loads Qt's Spanish translation ("qtbase_es") into the application and returns it (owned by the
// application). Null when it is not installed; the standard dialogs then stay in Qt's English.
QTranslator *InstallQtSpanish(QCoreApplication &app);

} // namespace cel::manager
