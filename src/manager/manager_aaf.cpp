// The manager's AAF exchange: persons of another astrology program's file in, and the listed or
// ticked persons out.
#include <QFileInfo>

#include "common/safe_file.h"
#include "database/aaf_file.h"
#include "database/data_file.h"
#include "manager/file_chooser.h"
#include "manager/manager_window.h"

namespace cel::manager {

using namespace cel::database;

namespace {

constexpr const char *kAafFilter = "Archivos AAF (*.aaf *.AAF *.txt)";

// Up to twelve lines of a list of problems, then how many more.
std::string ProblemLines(const std::vector<AafProblem> &problems) {
    std::string text;
    for (std::size_t i = 0; i < problems.size() && i < 12; ++i)
        text += "\r   línea " + std::to_string(problems[i].line) + ": " + problems[i].reason;
    if (problems.size() > 12)
        text += "\r   ... y " + std::to_string(problems.size() - 12) + " más";
    return text;
}

} // namespace

void TFormMainTarjaro::ImportAafFile() {
    if (!FileIsOpen() || store_.ReadOnly())
        return;
    const std::string folder =
        QFileInfo(QString::fromStdString(store_.Db().Path)).absolutePath().toStdString();
    const std::string path =
        Files().OpenFile(this, "Importar personas de un archivo AAF", folder, kAafFilter);
    if (path.empty())
        return;
    AafFile file;
    try {
        file = ReadAafFile(path);
    } catch (const FileError &e) {
        store_.Notices().Notice(NoticeKind::Error, false, true, e.what());
        return;
    }
    if (file.records.empty()) {
        store_.Notices().Notice(NoticeKind::Warning, false, false,
                                "El archivo [" + FileNameOf(path) + "] no tiene registros AAF legibles." +
                                    ProblemLines(file.problems));
        return;
    }
    const Answer replace = store_.Notices().Ask(
        "Se importarán " + std::to_string(file.records.size()) + " personas de [" + FileNameOf(path) +
            "].\r\rSi una persona ya existe en el archivo de datos (mismo nombre y nacimiento), ¿desea "
            "reemplazar sus datos de nacimiento?\r\r(No: se deja como está y se omite)",
        QuestionStyle{true, true});
    if (replace == Answer::Cancel)
        return;
    AafImportResult result;
    try {
        result = ImportAaf(store_.Db(), file, replace == Answer::Yes);
    } catch (const IdLimitError &e) {
        store_.Notices().Notice(NoticeKind::Error, false, true, e.what());
        return;
    }
    if (!store_.Save()) {
        store_.Open(store_.Db().Path); // the file refused the import: show what it holds
        DataChanged();
        FillCombos();
        Rebuild();
        return;
    }
    DataChanged();
    FillCombos();
    Rebuild();
    std::string text =
        "Importación de [" + FileNameOf(path) + "]:\r\rPersonas añadidas: " + std::to_string(result.added) +
        "\rPersonas reemplazadas: " + std::to_string(result.replaced) +
        "\rPersonas omitidas (ya existían): " + std::to_string(result.skipped.size()) +
        ProblemLines(result.skipped) + "\rLugares añadidos: " + std::to_string(result.placesAdded) +
        "\rPaíses añadidos: " + std::to_string(result.countriesAdded);
    if (!file.problems.empty())
        text += "\r\rRegistros que no se pudieron leer: " + std::to_string(file.problems.size()) +
                ProblemLines(file.problems);
    if (!result.notes.empty())
        text += "\r\rAvisos:" + ProblemLines(result.notes);
    // Left-aligned, so the indented record lines read as a list under their heading.
    store_.Notices().Notice(file.problems.empty() ? NoticeKind::Information : NoticeKind::Warning, false,
                            false, text);
}

void TFormMainTarjaro::ExportAafFile() {
    if (!FileIsOpen())
        return;
    // The ticked persons of the list, else every person listed (every person when another kind shows).
    std::vector<const TPersona *> persons;
    if (list_.Kind() == Kind::Person) {
        for (TData *r : list_.Rows())
            if (r->Marca)
                persons.push_back(static_cast<const TPersona *>(r));
        if (persons.empty())
            for (TData *r : list_.Rows())
                persons.push_back(static_cast<const TPersona *>(r));
    } else {
        for (const auto &p : store_.Db().Persons)
            persons.push_back(p.get());
    }
    if (persons.empty()) {
        store_.Notices().Notice(NoticeKind::Information, false, true, "No hay personas para exportar.");
        return;
    }
    const std::string folder =
        QFileInfo(QString::fromStdString(store_.Db().Path)).absolutePath().toStdString();
    const std::string path =
        Files().SaveFile(this, "Exportar personas a AAF", folder + "/", kAafFilter, "aaf", true);
    if (path.empty())
        return;
    const Answer encoding =
        store_.Notices().Ask("¿Escribir el archivo en UTF-8?\r\r(No: Windows-1252, para programas antiguos)",
                             QuestionStyle{false, true});
    if (encoding == Answer::Cancel)
        return;
    try {
        WriteFileSafely(path,
                        WriteAafText(store_.Db(), persons,
                                     encoding == Answer::Yes ? AafEncoding::Utf8 : AafEncoding::Windows1252));
    } catch (const FileError &e) {
        store_.Notices().Notice(NoticeKind::Error, false, true, e.what());
        return;
    }
    store_.Notices().Notice(NoticeKind::Information, false, true,
                            "Se exportaron " + std::to_string(persons.size()) + " personas a:\r\r" + path);
}

} // namespace cel::manager
