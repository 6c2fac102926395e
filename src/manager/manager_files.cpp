// The manager window's file operations: open, copy, new file, backup, append another data file, place
// import and the CSV exports. The window chooses the files; the session's file operations do the work.
#include "manager/manager_window.h"

#include <QDialog>
#include <QFileInfo>

#include "common/clock.h"
#include "manager/file_chooser.h"
#include "manager/place_import_window.h"
#include "manager/small_dialogs.h"
#include "session/manager_files.h"

namespace cel::manager {

namespace {

QString Q(const std::string &s) {
    return QString::fromStdString(s);
}

constexpr const char *kAgeFilter = "Archivos Tarjaro (*.age)";
constexpr const char *kCsvFilter = "Archivo separado por comas (*.csv)";

} // namespace

// ---- files ----

std::string TFormMainTarjaro::DataFolder() const {
    return QFileInfo(Q(store_.Db().Path)).absolutePath().toStdString();
}

bool TFormMainTarjaro::OpenFile(const std::string &path) {
    const std::string full =
        path.empty() ? path : QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString();
    if (!store_.Open(full))
        return false;
    settings_.file = full;
    DataChanged();
    FillCombos();
    UpdateCaption();
    ResetFilters(false);
    Rebuild();
    if (activated_)
        store_.ReadOnly();
    return true;
}

bool TFormMainTarjaro::OpenAtStart(const std::string &path) {
    if (!path.empty() && QFileInfo(QString::fromStdString(path)).isFile())
        return OpenFile(path);
    store_.Notices().Notice(NoticeKind::Information, false, true,
                            "No hay un archivo de datos abierto.\r\rUse \"Abrir\" para abrir un archivo de "
                            "datos (.age) o \"Nuevo archivo\" para crear uno.");
    return false;
}

void TFormMainTarjaro::ChooseAndOpen() {
    const std::string path = Files().OpenFile(this, "Abrir archivo de datos", DataFolder(), kAgeFilter);
    if (!path.empty())
        OpenFile(path);
}

void TFormMainTarjaro::CopyFile() {
    const std::string name = Q(session::FileNameOf(store_.Db().Path)).toUpper().toStdString();
    const std::string path =
        Files().SaveFile(this, "Crear copia del archivo " + name, store_.Db().Path, kAgeFilter, "age", true);
    if (path.empty() || store_.ReadOnly())
        return;
    if (!session::ManagerFiles(store_).CopyTo(path))
        return;
    settings_.file = path;
    DataChanged();
    UpdateCaption();
    Rebuild();
}

void TFormMainTarjaro::NewFile() {
    const std::string path =
        Files().SaveFile(this, "Crear nuevo archivo de datos", DataFolder() + "/", kAgeFilter, "age", true);
    if (path.empty() || store_.ReadOnly())
        return;
    if (session::ManagerFiles(store_).CreateEmpty(path))
        OpenFile(path);
}

void TFormMainTarjaro::BackupFile() {
    if (backupFolder_.empty())
        backupFolder_ = DataFolder();
    const std::string proposed = session::BackupFileName(backupFolder_, store_.Db().Path, LocalNow());
    const std::string path = Files().SaveFile(this, "Crear copia de respaldo del archivo actual", proposed,
                                              kAgeFilter, "age", true);
    if (path.empty() || store_.ReadOnly())
        return;
    backupFolder_ = QFileInfo(Q(path)).absolutePath().toStdString();
    session::ManagerFiles(store_).BackUpTo(path);
    DataChanged();
    Rebuild();
}

void TFormMainTarjaro::AppendFile() {
    const std::string path =
        Files().OpenFile(this, "Anexar datos de otro archivo al archivo actual", DataFolder(), kAgeFilter);
    if (path.empty() || store_.ReadOnly())
        return;
    session::ManagerFiles(store_, [this] {
        DataChanged();
        FillCombos();
        Rebuild();
    }).Append(QFileInfo(Q(path)).absoluteFilePath().toStdString());
}

void TFormMainTarjaro::ImportPlaces() {
    if (!FileIsOpen())
        return;
    if (ImportPlaceFile(this, store_, true)) {
        DataChanged();
        FillCombos();
    }
    Rebuild();
}

void TFormMainTarjaro::ExportCsv() {
    if (!session::ManagerFiles::HasCsvExport(list_.Kind()))
        return;
    const std::string path =
        Files().SaveFile(this, "Exportar a formato CSV", DataFolder() + "/", kCsvFilter, "csv", true);
    if (path.empty())
        return;
    session::PersonCsvOptions options;
    if (list_.Kind() == database::Kind::Person) {
        TFormExportPersona dialog(this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        options = dialog.Options();
    }
    if (store_.ReadOnly())
        return;
    session::ManagerFiles(store_).ExportCsv(list_, path, options);
}

void TFormMainTarjaro::ExportMailList() {
    if (list_.Kind() != database::Kind::Person)
        return;
    const std::string path =
        Files().SaveFile(this, "Exportar lista a CSV", DataFolder() + "/", kCsvFilter, "csv", true);
    if (path.empty() || store_.ReadOnly())
        return;
    session::ManagerFiles(store_).ExportMailList(list_, path);
}

} // namespace cel::manager
