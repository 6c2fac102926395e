// Where a start finds its settings and which data file it opens.
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "support/temp_folder.h"
#include "workspace/program_setup.h"

namespace cel::workspace::test {
namespace {

namespace fs = std::filesystem;

struct ScopedEnv {
    QByteArray name, old;
    bool had;
    ScopedEnv(const char *n, const std::string &value)
        : name(n), old(qgetenv(n)), had(qEnvironmentVariableIsSet(n)) {
        qputenv(n, QByteArray::fromStdString(value));
    }
    ~ScopedEnv() {
        if (had)
            qputenv(name.constData(), old);
        else
            qunsetenv(name.constData());
    }
};

TEST(ProgramSetup, AFirstRunCopiesTheSampleDataIntoTheDocumentsFolder) {
    const testsupport::TempFolder homeFolder("celestigrafo_setup");
    const fs::path home = homeFolder.Dir();
    ScopedEnv h("HOME", home.string());
    ScopedEnv c("XDG_CONFIG_HOME", (home / ".config").string());
    ScopedEnv d("CELESTIGRAFO_DATA_DIR", CEL_TEST_DATA_DIR);
    const std::string ini = (home / "celestigrafo.ini").string();

    EXPECT_EQ(SettingsPath("/x/y.ini"), "/x/y.ini");
    EXPECT_EQ(StartDataFile(ini, "/some/file.age"), "/some/file.age");

    const std::string copied = StartDataFile(ini, "");
    const fs::path expected = fs::path(DocumentsDataFolder()) / "ejemplo.age";
    EXPECT_EQ(copied, expected.string());
    EXPECT_EQ(fs::file_size(copied), fs::file_size(fs::path(CEL_TEST_DATA_DIR) / "ejemplo.age"));
    EXPECT_EQ(expected.parent_path().parent_path(), home / "Documents");

    { // the user's copy is never replaced
        std::ofstream changed(copied, std::ios::app);
        changed << "x";
    }
    const auto size = fs::file_size(copied);
    EXPECT_EQ(StartDataFile(ini, ""), copied);
    EXPECT_EQ(fs::file_size(copied), size);

    std::ofstream(ini) << "[Data]\n"; // not a first run: the settings name the file
    EXPECT_EQ(StartDataFile(ini, ""), "");
}

} // namespace
} // namespace cel::workspace::test
