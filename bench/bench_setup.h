// What the benchmark programs share: an application object on the offscreen platform, and the example
// charts of a person born in Cali with an event chart, every point, angle and family chosen.
#pragma once

#include <QByteArray>
#include <QCoreApplication>

namespace cel::bench {

// Creates the application of type App (QGuiApplication or QApplication) once, offscreen unless a
// platform is set; it lives until the program ends.
template <class App> void EnsureApplication(const char *name) {
    if (QCoreApplication::instance() != nullptr)
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static QByteArray programName(name);
    static char *argv[] = {programName.data(), nullptr};
    static App *app = new App(argc, argv);
    (void)app;
}

} // namespace cel::bench
