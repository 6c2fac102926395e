// The manager's AAF exchange: persons of another astrology program's file in, and the listed or
// ticked persons out. The session's file operations do the work; the window chooses the files.
#include "manager/file_chooser.h"
#include "manager/manager_window.h"
#include "session/manager_files.h"

namespace cel::manager {

namespace {

constexpr const char *kAafFilter = "Archivos AAF (*.aaf *.AAF *.txt)";

} // namespace

void TFormMainTarjaro::ImportAafFile() {
    if (!FileIsOpen() || store_.ReadOnly())
        return;
    const std::string path =
        Files().OpenFile(this, "Importar personas de un archivo AAF", DataFolder(), kAafFilter);
    if (path.empty())
        return;
    session::ManagerFiles(store_, [this] {
        DataChanged();
        FillCombos();
        Rebuild();
    }).ImportAaf(path);
}

void TFormMainTarjaro::ExportAafFile() {
    if (!FileIsOpen())
        return;
    session::ManagerFiles files(store_);
    const auto persons = files.AafPersons(list_);
    if (persons.empty())
        return;
    const std::string path =
        Files().SaveFile(this, "Exportar personas a AAF", DataFolder() + "/", kAafFilter, "aaf", true);
    if (path.empty())
        return;
    files.ExportAaf(persons, path);
}

} // namespace cel::manager
