#include "manager/manager_settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <charconv>

#include "settings/ini_file.h"

namespace cel::manager {

namespace {

int ToInt(const std::optional<std::string> &text, int fallback) {
    if (!text)
        return fallback;
    int v = 0;
    const auto res = std::from_chars(text->data(), text->data() + text->size(), v);
    return res.ec == std::errc() && res.ptr == text->data() + text->size() ? v : fallback;
}

} // namespace

ManagerSettings ManagerSettings::Load(const std::string &path, const std::string &defaultFile) {
    const settings::IniFile ini = settings::IniFile::Load(path);
    ManagerSettings s;
    s.file = ini.Get("Data", "File").value_or(defaultFile);
    s.hint = ToInt(ini.Get("Main", "Hint"), 1) != 0;
    s.color = ToInt(ini.Get("Main", "Color"), 7);
    if (s.color < 1 || s.color > 8)
        s.color = 7;
    s.summary.genero = ToInt(ini.Get("Opcion", "Gen"), 1) != 0;
    s.summary.nacimiento = ToInt(ini.Get("Opcion", "Birth"), 1) != 0;
    s.summary.residencia = ToInt(ini.Get("Opcion", "Home"), 1) != 0;
    s.summary.trabajo = ToInt(ini.Get("Opcion", "Work"), 1) != 0;
    s.summary.grupos = ToInt(ini.Get("Opcion", "Others"), 1) != 0;
    s.summary.observaciones = ToInt(ini.Get("Opcion", "Observ"), 1) != 0;
    return s;
}

bool ManagerSettings::Save(const std::string &path, std::string *error) const {
    settings::IniFile ini = settings::IniFile::Load(path);
    const auto b = [](bool v) { return v ? "1" : "0"; };
    ini.Set("Data", "File", file);
    ini.Set("Main", "Hint", b(hint));
    ini.Set("Main", "Color", std::to_string(color));
    ini.Set("Opcion", "Gen", b(summary.genero));
    ini.Set("Opcion", "Birth", b(summary.nacimiento));
    ini.Set("Opcion", "Home", b(summary.residencia));
    ini.Set("Opcion", "Work", b(summary.trabajo));
    ini.Set("Opcion", "Others", b(summary.grupos));
    ini.Set("Opcion", "Observ", b(summary.observaciones));
    QDir().mkpath(QFileInfo(QString::fromStdString(path)).absolutePath());
    return ini.Save(path, error);
}

std::string ManagerSettingsPath(const std::string &iniOption) {
    if (!iniOption.empty())
        return iniOption;
    const QString beside = QCoreApplication::applicationDirPath() + "/tarjaro.ini";
    if (QFileInfo::exists(beside))
        return beside.toStdString();
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return (folder + "/Celestigrafo/tarjaro.ini").toStdString();
}

std::string DefaultDataFolder() {
    return (QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + "/Norvelta/").toStdString();
}

std::string ChartProgramSettingsPath() {
    const QString beside = QCoreApplication::applicationDirPath() + "/celestigrafo.ini";
    if (QFileInfo(beside).isFile())
        return beside.toStdString();
    return (QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            "/Celestigrafo/celestigrafo.ini")
        .toStdString();
}

std::string StartDataFile(const std::string &lastFile, const std::string &chartSettingsPath,
                          const std::string &dataFolder) {
    const auto isFile = [](const std::string &path) {
        return !path.empty() && QFileInfo(QString::fromStdString(path)).isFile();
    };
    if (isFile(lastFile))
        return lastFile;
    if (isFile(chartSettingsPath)) {
        const std::string chartFile =
            settings::IniFile::Load(chartSettingsPath).Get("Data", "File").value_or(std::string());
        if (isFile(chartFile))
            return chartFile;
    }
    const std::string sample = QDir(QString::fromStdString(dataFolder)).filePath("ejemplo.age").toStdString();
    return isFile(sample) ? sample : std::string();
}

} // namespace cel::manager
