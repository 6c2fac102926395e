#include "workspace/data_file_commands.h"

#include <QFileDialog>

#include <filesystem>

#include "session/manager_files.h"

namespace cel::workspace {

namespace {

// A chosen name without an extension gets the data files' one.
std::string WithExtension(const QString &chosen) {
    std::string path = chosen.toStdString();
    if (std::filesystem::path(path).extension().empty())
        path += ".age";
    return path;
}

} // namespace

void ChooseAndOpenDataFile(QWidget *parent, session::Session &session) {
    if (!session.MayLeaveFile())
        return;
    const QString start =
        QString::fromStdString(std::filesystem::path(session.ws.settings.data.file).parent_path().string());
    const QString chosen =
        QFileDialog::getOpenFileName(parent, "Abrir archivo de datos", start, "Archivos Tarjaro (*.age)");
    if (!chosen.isEmpty())
        session.OpenFile(WithExtension(chosen));
}

bool EnsureDataFile(QWidget *parent, session::Session &session, Notifier &notifier) {
    if (session.HasDataFile())
        return true;
    if (notifier.Notice(NoticeKind::Question, true, true,
                        "No hay un archivo de datos cargado. Desea crear un nuevo archivo?")) {
        const QString chosen = QFileDialog::getSaveFileName(parent, "Crear archivo de datos", QString(),
                                                            "Archivos Tarjaro (*.age)");
        if (!chosen.isEmpty() && !session.CreateFile(WithExtension(chosen)))
            return false;
    } else if (notifier.Notice(NoticeKind::Question, true, true,
                               "No hay un archivo de datos cargado. Desea abrir un archivo existente?")) {
        ChooseAndOpenDataFile(parent, session);
    }
    return session.HasDataFile();
}

void OpenFromAnotherStart(session::Session &session, Notifier &notifier, const std::string &path) {
    std::error_code ec;
    if (session.HasOpenFile() && std::filesystem::equivalent(path, session.FilePath(), ec))
        return;
    if (!session.MayLeaveFile())
        return;
    const std::string current = session.HasOpenFile()
                                    ? "\r\ren lugar de [" + session::FileNameOf(session.FilePath()) + "]"
                                    : std::string();
    if (notifier.Ask("Otra ejecución de Celestigrafo pide abrir el archivo de datos:\r\r" + path + current +
                         "\r\r¿Desea abrirlo?",
                     QuestionStyle{true, false}) != Answer::Yes)
        return;
    session.OpenFile(path);
}

} // namespace cel::workspace
