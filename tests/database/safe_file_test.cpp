#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "database/data_file.h"
#include "database/safe_file.h"
#include "scripted_notifier.h"
#include "test_util.h"

using namespace cel;
using namespace cel::database;
using cel::dbtest::DataPath;
using cel::dbtest::ReadBytes;
using cel::dbtest::TempFolder;

namespace {

Database Sample() {
    Database db;
    SilentNotifier quiet;
    LoadDataFile(DataPath("ejemplo.age"), db, quiet, TextFormat{','});
    return db;
}

int FilesIn(const std::string &folder) {
    int n = 0;
    for ([[maybe_unused]] const auto &e : std::filesystem::directory_iterator(folder))
        ++n;
    return n;
}

// Runs fn in a child process; returns its exit code (fn's result), or -1 when it died.
template <class Fn> int InChild(Fn fn) {
    const pid_t pid = fork();
    if (pid == 0)
        _exit(fn());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(SafeFile, SaveFailuresReportThePlatformErrorAndKeepTheOldFile) {
    TempFolder dir;
    std::filesystem::create_directory(dir.File("carpeta.age"));
    struct Case {
        std::string path;
        int code;
    };
    const Case cases[] = {
        {dir.File("carpeta.age"), EISDIR},         // the path is a folder
        {dir.File("no/existe/datos.age"), ENOENT}, // a folder that does not exist
    };
    Database db = Sample();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        try {
            SaveDataFile(c.path, db, TextFormat{','});
            ADD_FAILURE() << "saved";
        } catch (const FileError &e) {
            EXPECT_EQ(e.code(), c.code);
            EXPECT_NE(std::string(e.what()).find(std::strerror(c.code)), std::string::npos);
        }
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("carpeta.age")));
    EXPECT_EQ(FilesIn(dir.Path()), 1);
    // A file of the system that nobody may replace.
    const std::string before = ReadBytes("/proc/version");
    EXPECT_THROW(SaveDataFile("/proc/version", db, TextFormat{','}), FileError);
    EXPECT_EQ(ReadBytes("/proc/version"), before);
    // The lists are in name order after a failure too.
    for (std::size_t i = 1; i < db.Persons.size(); ++i)
        EXPECT_FALSE(NameLess(db.Persons[i]->Nombre, db.Persons[i - 1]->Nombre));
}

TEST(SafeFile, ReadOnlyFolderKeepsTheOldFile) {
    TempFolder dir;
    const std::string path = dir.File("datos.age");
    WriteFileSafely(path, "Pâviejoâ\r\n");
    chmod(dir.Path().c_str(), 0555);
    chmod(path.c_str(), 0666);
    // Root ignores folder permissions: the child saves as an ordinary user.
    const int code = InChild([&] {
        if (geteuid() == 0 && setuid(65534) != 0)
            return 90;
        Database db = Sample();
        try {
            SaveDataFile(path, db, TextFormat{','});
        } catch (const FileError &e) {
            return e.code() == EACCES ? 0 : 91;
        }
        return 92;
    });
    chmod(dir.Path().c_str(), 0755);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(ReadBytes(path), "Pâviejoâ\r\n");
    EXPECT_EQ(FilesIn(dir.Path()), 1);
}

TEST(SafeFile, FullDiskKeepsTheOldFile) {
    TempFolder dir;
    const std::string path = dir.File("datos.age");
    WriteFileSafely(path, "viejo");
    // A file-size limit makes the write fail part-way, as a full disk does; root cannot bypass it.
    const int code = InChild([&] {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1000, 1000};
        setrlimit(RLIMIT_FSIZE, &limit);
        Database db = Sample();
        try {
            SaveDataFile(path, db, TextFormat{','});
        } catch (const FileError &e) {
            return e.code() == EFBIG ? 0 : 91;
        }
        return 92;
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(ReadBytes(path), "viejo");
    EXPECT_EQ(FilesIn(dir.Path()), 1);
}

TEST(SafeFile, ReplacingKeepsPermissionsAndFollowsLinks) {
    TempFolder dir;
    const std::string path = dir.File("datos.age");
    WriteFileSafely(path, "uno");
    chmod(path.c_str(), 0640);
    WriteFileSafely(path, "dos");
    EXPECT_EQ(ReadBytes(path), "dos");
    struct stat st {};
    stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    const std::string link = dir.File("enlace.age");
    std::filesystem::create_symlink(path, link);
    WriteFileSafely(link, "tres");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(path), "tres");
}

TEST(SafeFile, ReadingAMissingFileOrAFolderFails) {
    TempFolder dir;
    EXPECT_THROW(ReadWholeFile(dir.File("nada.age")), FileError);
    EXPECT_THROW(ReadWholeFile(dir.Path()), FileError);
    Database db;
    SilentNotifier quiet;
    EXPECT_THROW(LoadDataFile(dir.File("nada.age"), db, quiet, TextFormat{','}), FileError);
}
