#include "workspace/program_setup.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <filesystem>

#include "common/install_paths.h"

namespace cel::workspace {

std::string SettingsPath(const std::string &iniOption) {
    if (!iniOption.empty())
        return iniOption;
    const std::filesystem::path beside = ExecutableDirectory() / "celestigrafo.ini";
    std::error_code ec;
    if (std::filesystem::is_regular_file(beside, ec))
        return beside.string();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(folder);
    return (folder + "/celestigrafo.ini").toStdString();
}

std::string DocumentsDataFolder() {
    return (QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + "/Norvelta/").toStdString();
}

std::string StartDataFile(const std::string &settingsPath, const std::string &fileArgument) {
    if (!fileArgument.empty())
        return fileArgument;
    std::error_code ec;
    if (std::filesystem::exists(settingsPath, ec))
        return {};
    const std::filesystem::path sample = DataDirectory() / "ejemplo.age";
    const std::filesystem::path folder = DocumentsDataFolder();
    const std::filesystem::path target = folder / "ejemplo.age";
    if (std::filesystem::is_regular_file(target, ec))
        return target.string();
    if (!std::filesystem::is_regular_file(sample, ec))
        return {};
    std::filesystem::create_directories(folder, ec);
    if (!QFile::copy(QString::fromStdString(sample.string()), QString::fromStdString(target.string())))
        return {};
    // The shipped file may be read-only; the user's copy is the user's to change.
    QFile::setPermissions(QString::fromStdString(target.string()),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return target.string();
}

} // namespace cel::workspace
