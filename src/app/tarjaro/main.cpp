// tarjaro: the database manager as a program of its own, with its own settings file, the splash and
// the shared-use guard (a data file another program has open is read-only here).
#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>

#include "common/version.h"
#include "database/shared_use_guard.h"
#include "manager/manager_settings.h"
#include "manager/manager_window.h"
#include "manager/notice_window.h"
#include "manager/qt_spanish.h"
#include "manager/small_dialogs.h"

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tarjaro");
    QApplication::setOrganizationName("Celestigrafo");
    QApplication::setApplicationVersion(cel::kPackageVersion);
    cel::manager::InstallQtSpanish(app); // standard buttons and dialogs in Spanish

    QCommandLineParser parser;
    parser.setApplicationDescription("Administrador de la base de datos de Celestigrafo");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({"no-splash", "No muestra la ventana de presentación."});
    parser.addOption({"ini", "Archivo de configuración.", "ARCHIVO"});
    parser.addPositionalArgument("archivo", "Archivo de datos (.age) que se abre.", "[ARCHIVO.age]");
    parser.process(app);

    using namespace cel::manager;
    cel::database::Database db;
    NoticeWindow notices;
    std::unique_ptr<GuardedDataStore> store;
    try {
        store = std::make_unique<GuardedDataStore>(db, notices, LocaleTextFormat(), "Tarjaro");
    } catch (const cel::database::EMappingException &e) {
        notices.Notice(cel::NoticeKind::Error, false, true, e.what());
        std::fprintf(stderr, "tarjaro: %s\n", e.what());
        return 1;
    }

    const std::string settingsPath = ManagerSettingsPath(parser.value("ini").toStdString());
    const ManagerSettings settings = ManagerSettings::Load(settingsPath, DefaultDataFolder());
    TFormMainTarjaro window(*store, ManagerModeFor(QApplication::applicationFilePath().toStdString()));
    notices.SetParent(&window);
    window.UseSettings(settings, settingsPath);
    const QStringList files = parser.positionalArguments();
    window.show();
    if (!files.isEmpty())
        window.OpenFile(files.first().toStdString());
    else
        window.OpenAtStart(StartDataFile(settings.file, ChartProgramSettingsPath(), DefaultDataFolder()));
    if (!parser.isSet("no-splash")) {
        auto *splash = new TFormSplashTarjaro(5000);
        splash->show();
        splash->raise();
    }
    return app.exec();
}
