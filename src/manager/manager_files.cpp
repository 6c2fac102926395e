// The manager window's file operations: open, copy, new file, backup, append another data file, place
// import and the CSV exports.
#include "manager/manager_window.h"

#include <QDate>
#include <QDialog>
#include <QFileInfo>

#include "common/safe_file.h"
#include "database/csv_export.h"
#include "database/data_file.h"
#include "database/place_import.h"
#include "manager/file_chooser.h"
#include "manager/place_import_window.h"
#include "manager/small_dialogs.h"

namespace cel::manager {

using namespace cel::database;

namespace {

QString Q(const std::string &s) {
    return QString::fromStdString(s);
}

constexpr const char *kAgeFilter = "Archivos Tarjaro (*.age)";
constexpr const char *kCsvFilter = "Archivo separado por comas (*.csv)";

} // namespace

// ---- files ----

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
    const std::string folder = QFileInfo(Q(store_.Db().Path)).absolutePath().toStdString();
    const std::string path = Files().OpenFile(this, "Abrir archivo de datos", folder, kAgeFilter);
    if (!path.empty())
        OpenFile(path);
}

void TFormMainTarjaro::CopyFile() {
    const std::string name = QString::fromStdString(FileNameOf(store_.Db().Path)).toUpper().toStdString();
    const std::string path =
        Files().SaveFile(this, "Crear copia del archivo " + name, store_.Db().Path, kAgeFilter, "age", true);
    if (path.empty() || store_.ReadOnly())
        return;
    if (!store_.SaveAs(path))
        return;
    settings_.file = path;
    DataChanged();
    UpdateCaption();
    Rebuild();
}

void TFormMainTarjaro::NewFile() {
    const std::string folder = QFileInfo(Q(store_.Db().Path)).absolutePath().toStdString();
    const std::string path =
        Files().SaveFile(this, "Crear nuevo archivo de datos", folder + "/", kAgeFilter, "age", true);
    if (path.empty() || store_.ReadOnly())
        return;
    Database empty;
    if (store_.WriteCopy(path, empty))
        OpenFile(path);
}

void TFormMainTarjaro::BackupFile() {
    if (backupFolder_.empty())
        backupFolder_ = QFileInfo(Q(store_.Db().Path)).absolutePath().toStdString();
    const QString today = QDate::currentDate().toString("MM-d-yyyy");
    const std::string proposed =
        backupFolder_ + "/Backup_" + today.toStdString() + "_" + FileNameOf(store_.Db().Path);
    const std::string path = Files().SaveFile(this, "Crear copia de respaldo del archivo actual", proposed,
                                              kAgeFilter, "age", true);
    if (path.empty() || store_.ReadOnly())
        return;
    backupFolder_ = QFileInfo(Q(path)).absolutePath().toStdString();
    store_.WriteCopy(path, store_.Db());
    DataChanged();
    Rebuild();
}

void TFormMainTarjaro::AppendFile() {
    const std::string folder = QFileInfo(Q(store_.Db().Path)).absolutePath().toStdString();
    const std::string path =
        Files().OpenFile(this, "Anexar datos de otro archivo al archivo actual", folder, kAgeFilter);
    if (path.empty() || store_.ReadOnly())
        return;
    const std::string full = QFileInfo(Q(path)).absoluteFilePath().toStdString();
    Notifier &n = store_.Notices();
    MergeResult result;
    try {
        result = MergeDataFile(store_.Db(), full, n, store_.Format());
    } catch (const FileError &e) {
        n.Notice(NoticeKind::Error, false, true, e.what());
        return;
    } catch (const IdLimitError &e) {
        n.Notice(NoticeKind::Error, false, true, e.what());
        return;
    }
    if (!result.merged)
        return;
    store_.Save();
    DataChanged();
    FillCombos();
    Rebuild();
    int added = 0, declined = 0;
    std::string declinedNames;
    for (const PlaceResolution &r : result.places) {
        if (r.outcome == PlaceOutcome::Added || r.outcome == PlaceOutcome::AddedRenamed)
            ++added;
        if (r.outcome == PlaceOutcome::NameDeclined || r.outcome == PlaceOutcome::DataKept) {
            ++declined;
            declinedNames += "\r" + r.name;
        }
    }
    std::string text = "Datos anexados de " + FileNameOf(full) +
                       "\r\rPersonas agregadas: " + std::to_string(result.personsAdded) + " (grupo \"" +
                       result.groupName + "\")" +
                       "\rPaíses agregados: " + std::to_string(result.countriesAdded) +
                       "\rGrupos agregados: " + std::to_string(result.groupsAdded) +
                       "\rLugares geográficos agregados: " + std::to_string(added) +
                       "\rLugares geográficos no agregados: " + std::to_string(declined) + declinedNames;
    if (!result.personsWithoutPlace.empty()) {
        text += "\r\rPersonas que quedaron sin lugar:";
        for (const std::string &p : result.personsWithoutPlace)
            text += "\r" + p;
    }
    if (!result.failedLines.empty())
        text +=
            "\r\rLíneas del archivo que no se pudieron leer: " + std::to_string(result.failedLines.size());
    n.Notice(NoticeKind::Information, false, false, text);
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
    if (list_.Kind() == Kind::BusinessGroup || list_.Kind() == Kind::Business)
        return;
    const std::string folder = QFileInfo(Q(store_.Db().Path)).absolutePath().toStdString();
    const std::string path =
        Files().SaveFile(this, "Exportar a formato CSV", folder + "/", kCsvFilter, "csv", true);
    if (path.empty())
        return;
    PersonCsvOptions options;
    if (list_.Kind() == Kind::Person) {
        TFormExportPersona dialog(this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        options = dialog.Options();
    }
    if (store_.ReadOnly())
        return;
    const Database &db = store_.Db();
    std::string text;
    switch (list_.Kind()) {
    case Kind::Country: {
        std::vector<const TPais *> rows;
        for (TData *r : list_.Rows())
            rows.push_back(static_cast<const TPais *>(r));
        text = CountriesCsv(rows);
        break;
    }
    case Kind::Place: {
        std::vector<const TLugar_Geo *> rows;
        for (TData *r : list_.Rows())
            rows.push_back(static_cast<const TLugar_Geo *>(r));
        text = PlacesCsv(db, rows);
        break;
    }
    case Kind::PersonGroup: {
        std::vector<const TData *> rows(list_.Rows().begin(), list_.Rows().end());
        text = PersonGroupsCsv(rows);
        break;
    }
    default: {
        std::vector<const TPersona *> rows;
        for (TData *r : list_.Rows())
            rows.push_back(static_cast<const TPersona *>(r));
        text = PersonsCsv(db, rows, options, store_.Format());
        break;
    }
    }
    try {
        WriteCsvFile(path, text);
    } catch (const FileError &e) {
        store_.Notices().Notice(NoticeKind::Error, false, true, e.what());
        return;
    }
    store_.Notices().Notice(NoticeKind::Information, false, true, CsvCreatedText(path));
}

void TFormMainTarjaro::ExportMailList() {
    if (list_.Kind() != Kind::Person)
        return;
    const std::string folder = QFileInfo(Q(store_.Db().Path)).absolutePath().toStdString();
    const std::string path =
        Files().SaveFile(this, "Exportar lista a CSV", folder + "/", kCsvFilter, "csv", true);
    if (path.empty() || store_.ReadOnly())
        return;
    std::vector<const TPersona *> rows;
    for (TData *r : list_.Rows())
        rows.push_back(static_cast<const TPersona *>(r));
    try {
        WriteCsvFile(path, MailListCsv(rows));
    } catch (const FileError &e) {
        store_.Notices().Notice(NoticeKind::Error, false, true, e.what());
        return;
    }
    store_.Notices().Notice(NoticeKind::Information, false, true, CsvCreatedText(path));
}

} // namespace cel::manager
