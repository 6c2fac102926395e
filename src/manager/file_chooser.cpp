#include "manager/file_chooser.h"

#include <QFileDialog>
#include <QFileInfo>

namespace cel::manager {

namespace {
FileChooser *chosen = nullptr;
}

std::string FileChooser::OpenFile(QWidget *parent, const std::string &title, const std::string &folder,
                                  const std::string &filter) {
    return QFileDialog::getOpenFileName(parent, QString::fromStdString(title), QString::fromStdString(folder),
                                        QString::fromStdString(filter))
        .toStdString();
}

std::string FileChooser::SaveFile(QWidget *parent, const std::string &title, const std::string &proposed,
                                  const std::string &filter, const std::string &suffix,
                                  bool confirmOverwrite) {
    QFileDialog dialog(parent, QString::fromStdString(title), QString::fromStdString(proposed),
                       QString::fromStdString(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString::fromStdString(suffix));
    if (!confirmOverwrite)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QFileInfo proposedInfo(QString::fromStdString(proposed));
    if (!proposed.empty() && !proposedInfo.isDir())
        dialog.selectFile(proposedInfo.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first().toStdString();
}

std::string ScriptedFileChooser::OpenFile(QWidget *, const std::string &title, const std::string &,
                                          const std::string &) {
    titles.push_back(title);
    if (paths.empty())
        return {};
    std::string p = paths.front();
    paths.pop_front();
    return p;
}

std::string ScriptedFileChooser::SaveFile(QWidget *, const std::string &title, const std::string &,
                                          const std::string &, const std::string &, bool) {
    return OpenFile(nullptr, title, {}, {});
}

FileChooser &Files() {
    static FileChooser real;
    return chosen ? *chosen : real;
}

void SetFileChooser(FileChooser *chooser) {
    chosen = chooser;
}

} // namespace cel::manager
