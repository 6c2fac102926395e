// celestigrafo: the chart program. One instance per user; the window opens the data file given on the
// command line, else the one of the settings (the sample data on a first run).
#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>

#include <iostream>

#include "common/version.h"
#include "manager/notice_window.h"
#include "manager/qt_spanish.h"
#include "workspace/form_main.h"
#include "workspace/program_setup.h"
#include "workspace/single_instance.h"
#include "workspace/splash.h"

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Celestigrafo");
    QApplication::setApplicationVersion(cel::kPackageVersion);
    cel::manager::InstallQtSpanish(app); // standard buttons and dialogs in Spanish

    QCommandLineParser parser;
    parser.setApplicationDescription("Cartas astrales, aspectos, direcciones y revoluciones solares");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption noSplash("no-splash", "No muestra la ventana de presentación.");
    const QCommandLineOption ini("ini", "Usa ese archivo de configuración.", "ARCHIVO");
    parser.addOption(noSplash);
    parser.addOption(ini);
    parser.addPositionalArgument("ARCHIVO.age", "El archivo de datos que se abre.");
    parser.process(app);
    if (parser.positionalArguments().size() > 1) {
        std::cerr << "celestigrafo: se espera a lo sumo un archivo de datos (.age)\n";
        return 2;
    }

    const QString argumentFile =
        parser.positionalArguments().isEmpty() ? QString() : parser.positionalArguments().front();
    cel::workspace::SingleInstance instance;
    if (!instance.Acquire(argumentFile))
        return 0; // the running program shows its window (and opens the file given)

    cel::workspace::MainWindowOptions options;
    options.iniPath = cel::workspace::SettingsPath(parser.value(ini).toStdString());
    const std::string argument = parser.positionalArguments().isEmpty()
                                     ? std::string()
                                     : parser.positionalArguments().front().toStdString();
    options.dataFile = cel::workspace::StartDataFile(options.iniPath, argument);
    options.defaultFolder = cel::workspace::DocumentsDataFolder();
    options.splash = !parser.isSet(noSplash);

    cel::manager::NoticeWindow notifier;
    cel::workspace::TFormMain window(notifier, options);
    notifier.SetParent(&window);
    instance.onActivate = [&window] {
        qInfo("celestigrafo: otra copia pidió mostrar esta ventana");
        window.RaiseFromAnotherStart();
    };
    instance.onOpenFile = [&window](const QString &path) {
        if (window.OpenChosenDataFile(path.toStdString()))
            qInfo("celestigrafo: otra copia pidió abrir %s", qUtf8Printable(path));
    };
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window.setGeometry(screen->availableGeometry()); // where no window manager maximises
    window.showMaximized();
    if (!parser.isSet(noSplash))
        cel::workspace::ShowSplash();
    return app.exec();
}
