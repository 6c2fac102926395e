#include "picture_output.h"

#include <QGuiApplication>

#include "chart_cli.h"
#include "command_registry.h"

namespace cel::cli {

void EnsureGuiApplication() {
    if (QCoreApplication::instance() != nullptr)
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "celestigrafo-cli";
    static char *argv[] = {name, nullptr};
    // Kept for the whole run: Qt objects may be painted with until the program ends.
    new QGuiApplication(argc, argv);
}

graphics::PictureFormat PictureFormatOption(const std::string &out) {
    const auto format = graphics::PictureFormatOf(QString::fromStdString(out));
    if (!format)
        UsageError("--out: '" + out +
                   "' has no picture extension: expected a name ending in .png, .svg or .pdf");
    return *format;
}

void WritePictureFile(const std::string &out, graphics::PictureFormat format, int size,
                      const std::function<void(graphics::Canvas &)> &draw) {
    EnsureGuiApplication();
    QString error;
    if (!graphics::WritePicture(QString::fromStdString(out), format, QSize(size, size), draw, &error))
        throw CommandError(out + ": " + error.toStdString());
}

} // namespace cel::cli
