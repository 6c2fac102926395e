#include "picture_output.h"

#include <QGuiApplication>

#include "chart_cli.h"
#include "command_registry.h"

namespace cel::cli {

namespace {

QtMessageHandler previousHandler = nullptr;

// Qt's note that XDG_RUNTIME_DIR is not set (usual under scripts, cron and containers) says nothing
// about the command's work: it is left out; every other message goes on as before.
void QuietHandler(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    if (message.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

void EnsureGuiApplication() {
    if (QCoreApplication::instance() != nullptr)
        return;
    previousHandler = qInstallMessageHandler(QuietHandler);
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
