// The standalone manager's first start: it opens the file the chart program uses, or says what to do.
#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

#include "manager/manager_settings.h"
#include "manager/manager_window.h"
#include "manager_fixture.h"

namespace cel::manager {
namespace {

TEST(ManagerStart, OpensTheLastFileElseTheChartProgramsElseTheSample) {
    mgrtest::TempFolder dir;
    const std::string last = dir.Copy("ejemplo.age");
    const std::string chartFile = dir.File("carta.age");
    std::filesystem::copy_file(last, chartFile);
    const std::string chartIni = dir.File("celestigrafo.ini");
    std::ofstream(chartIni) << "[Data]\nFile=" << chartFile << "\n";
    const std::string folder = dir.Path() + "/";
    const std::string missing = dir.File("borrado.age");
    struct Case {
        std::string last, chartIni, expected;
    };
    const Case cases[] = {
        {last, chartIni, last},              // the last file, when it still exists
        {missing, chartIni, chartFile},      // else the chart program's file
        {folder, chartIni, chartFile},       // a first start names only the folder
        {missing, dir.File("no.ini"), last}, // else the sample copy in the data folder
        {missing, chartIni + ".x", last},    //
        {"", "", dir.File("ejemplo.age")},   //
    };
    for (const Case &c : cases)
        EXPECT_EQ(StartDataFile(c.last, c.chartIni, folder), c.expected) << c.last << " " << c.chartIni;
    std::filesystem::remove(last);
    EXPECT_EQ(StartDataFile(missing, dir.File("no.ini"), folder), ""); // nothing to open
}

TEST(ManagerStart, WithoutAFileItSaysWhatToDo) {
    database::Database db;
    ScriptedNotifier notices;
    DataStore store{db, notices, mgrtest::CommaFormat(), nullptr};
    TFormMainTarjaro window(store, ManagerMode::Standalone);
    EXPECT_FALSE(window.OpenAtStart(""));
    EXPECT_EQ(notices.LastText(),
              "No hay un archivo de datos abierto.\r\rUse \"Abrir\" para abrir un archivo de "
              "datos (.age) o \"Nuevo archivo\" para crear uno.");
    mgrtest::TempFolder dir;
    EXPECT_TRUE(window.OpenAtStart(dir.Copy("ejemplo.age")));
    EXPECT_EQ(window.windowTitle(), "Tarjaro  [ejemplo.age]");
}

// "Abrir" on a name that is a pipe or a device: refused with its notice, the file open before stays.
TEST(ManagerStart, PipesAndDevicesAreRefused) {
    mgrtest::SampleData data;
    ASSERT_EQ(::mkfifo(data.folder.File("tubo.age").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/null", data.folder.File("nulo.age"));
    TFormMainTarjaro window(data.store, ManagerMode::Standalone);
    for (const char *name : {"tubo.age", "nulo.age"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(window.OpenFile(data.folder.File(name)));
        EXPECT_EQ(data.notices.shown.back().kind, NoticeKind::Error);
        EXPECT_NE(data.notices.LastText().find("no es un archivo común"), std::string::npos);
        EXPECT_EQ(data.db.Path, data.path);
        EXPECT_EQ(data.db.Persons.size(), 12u);
    }
}

} // namespace
} // namespace cel::manager
