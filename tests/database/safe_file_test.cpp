// Saving replaces a file safely: a new file beside the old one, renamed over it, and the old one
// untouched whenever a step fails. First the replacement itself, then the data file saved through it.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/safe_file.h"
#include "database/data_file.h"
#include "scripted_notifier.h"
#include "support/child_process.h"
#include "test_util.h"

namespace fs = std::filesystem;
using namespace cel;
using namespace cel::database;
using cel::dbtest::DataPath;
using cel::dbtest::ReadBytes;
using cel::testsupport::As;
using cel::testsupport::DeadPid;
using cel::testsupport::InChild;
using cel::testsupport::TempFolder;

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

} // namespace

TEST(CommonSafeFile, AReadOnlyFileIsNotReplaced) {
    TempFolder dir;
    dir.OpenToAll(); // the other user must reach the file: the refusal is the file's own
    const std::string path = dir.File("datos.age");
    WriteFileSafely(path, "viejo");
    chmod(path.c_str(), 0444);
    // The owner (root as well) and another user are both refused with the platform's message.
    for (bool asNobody : {false, true}) {
        SCOPED_TRACE(asNobody);
        const int code = InChild(
            [&] {
                try {
                    WriteFileSafely(path, "nuevo");
                } catch (const FileError &e) {
                    return e.code() == EACCES &&
                                   std::string(e.what()).find(std::strerror(EACCES)) != std::string::npos
                               ? 0
                               : 91;
                }
                return 92;
            },
            asNobody ? As::Nobody : As::Me);
        EXPECT_EQ(code, 0);
    }
    EXPECT_FALSE(MayReplace(path));
    EXPECT_EQ(ReadWholeFile(path), "viejo");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"datos.age"});
}

TEST(CommonSafeFile, ASizeLimitIsAWriteErrorNotADeath) {
    TempFolder dir;
    const std::string path = dir.File("datos.age");
    WriteFileSafely(path, "viejo");
    // The child keeps SIGXFSZ's default action: the save must still report EFBIG and return.
    const int code = InChild([&] {
        const rlimit limit{1000, 1000};
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            WriteFileSafely(path, std::string(5000, 'x'));
        } catch (const FileError &e) {
            return e.code() == EFBIG ? 0 : 91;
        }
        return 92;
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(ReadWholeFile(path), "viejo");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"datos.age"});
}

TEST(CommonSafeFile, TemporaryFilesOfEndedSavesAreRemoved) {
    TempFolder dir;
    const std::string path = dir.File("datos.age");
    WriteFileSafely(path, "uno");
    const std::string dead = ".datos.age.tmp" + std::to_string(DeadPid()) + "-0";
    const std::string alive = ".datos.age.tmp" + std::to_string(getppid()) + "-3";
    const std::string other = ".otro.age.tmp" + std::to_string(DeadPid()) + "-0";
    for (const std::string &name : {dead, alive, other})
        WriteFileSafely(dir.File(name), "resto");
    WriteFileSafely(path, "dos");
    std::vector<std::string> expected = {alive, other, "datos.age"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(dir.Names(), expected);
    EXPECT_EQ(RemoveStaleTempFiles(dir.File("otro.age")), 1);
}

TEST(CommonSafeFile, AFileChangedOnDiskSinceItWasReadIsNotOverwritten) {
    TempFolder dir;
    const std::string path = dir.File("datos.age");
    WriteFileSafely(path, "leído");
    FileIdentity read;
    EXPECT_EQ(ReadWholeFile(path, &read), "leído");
    EXPECT_TRUE(read == IdentityOf(path));
    // Unchanged: the save goes through and gives the new identity.
    FileIdentity now = WriteFileSafely(path, "mío", &read);
    EXPECT_TRUE(now == IdentityOf(path));
    // Another program saves in between: ours is refused and kept beside theirs.
    WriteFileSafely(path, "del otro");
    try {
        WriteFileSafely(path, "mío otra vez", &now);
        ADD_FAILURE() << "overwritten";
    } catch (const FileChangedError &e) {
        EXPECT_EQ(ReadWholeFile(path), "del otro");
        ASSERT_FALSE(e.keptPath().empty());
        EXPECT_EQ(ReadWholeFile(e.keptPath()), "mío otra vez");
        EXPECT_NE(std::string(e.what()).find(e.keptPath()), std::string::npos);
        EXPECT_EQ(fs::path(e.keptPath()).extension(), ".age");
    }
    EXPECT_EQ(dir.Names().size(), 2u);
}

TEST(CommonSafeFile, LinksAreWrittenThroughAndStayLinks) {
    TempFolder dir;
    const std::string path = dir.File("datos.age");
    WriteFileSafely(path, "uno");
    chmod(path.c_str(), 0640);
    struct Case {
        std::string link, target;
    };
    fs::create_symlink("datos.age", dir.File("relativo.age"));
    fs::create_symlink(dir.File("relativo.age"), dir.File("cadena.age"));
    fs::create_symlink("nuevo.age", dir.File("colgante.age"));
    const Case cases[] = {
        {dir.File("relativo.age"), path},
        {dir.File("cadena.age"), path},
        {dir.File("colgante.age"), dir.File("nuevo.age")}, // the link's target is created
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.link);
        WriteFileSafely(c.link, "por " + c.link);
        EXPECT_TRUE(fs::is_symlink(c.link));
        EXPECT_EQ(ReadWholeFile(c.target), "por " + c.link);
    }
    struct stat st {};
    stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

// Hard links: the names in the file's folder stay one file with the new content; a name in another
// folder is counted beforehand, so that the caller can say it keeps the old content.
TEST(CommonSafeFile, HardLinksInTheFolderStayOneFile) {
    TempFolder dir;
    const std::string a = dir.File("a.age");
    WriteFileSafely(a, "viejo");
    fs::create_hard_link(a, dir.File("b.age"));
    fs::create_hard_link(a, dir.File("c.age"));
    fs::create_directory(dir.File("otra"));
    fs::create_hard_link(a, dir.File("otra/d.age"));
    fs::create_symlink("b.age", dir.File("s.age"));
    EXPECT_EQ(NamesElsewhere(a), 1);
    EXPECT_EQ(NamesElsewhere(dir.File("s.age")), 1);
    EXPECT_EQ(NamesElsewhere(dir.File("otra/d.age")), 3);
    WriteFileSafely(dir.File("s.age"), "nuevo"); // through a symbolic link to one of the names
    struct stat sa {
    }, sb{}, sc{};
    ASSERT_EQ(stat(a.c_str(), &sa), 0);
    ASSERT_EQ(stat(dir.File("b.age").c_str(), &sb), 0);
    ASSERT_EQ(stat(dir.File("c.age").c_str(), &sc), 0);
    EXPECT_EQ(sa.st_ino, sb.st_ino);
    EXPECT_EQ(sa.st_ino, sc.st_ino);
    EXPECT_EQ(sa.st_nlink, 3u);
    for (const char *name : {"a.age", "b.age", "c.age"})
        EXPECT_EQ(ReadWholeFile(dir.File(name)), "nuevo") << name;
    EXPECT_EQ(ReadWholeFile(dir.File("otra/d.age")), "viejo");
    EXPECT_TRUE(fs::is_symlink(dir.File("s.age")));
    EXPECT_EQ(NamesElsewhere(a), 0);
    // No temporary file is left behind.
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a.age", "b.age", "c.age", "otra", "s.age"}));
}

TEST(CommonSafeFile, SiblingNamesKeepTheExtensionAndDoNotCollide) {
    TempFolder dir;
    const std::string a = SiblingPath(dir.File("datos.age"), "copia");
    EXPECT_EQ(fs::path(a).extension(), ".age");
    EXPECT_EQ(fs::path(a).filename().string().rfind("datos-copia-", 0), 0u);
    WriteFileSafely(a, "x");
    EXPECT_NE(SiblingPath(dir.File("datos.age"), "copia"), a);
}

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
    const int code = InChild(
        [&] {
            Database db = Sample();
            try {
                SaveDataFile(path, db, TextFormat{','});
            } catch (const FileError &e) {
                return e.code() == EACCES ? 0 : 91;
            }
            return 92;
        },
        As::Nobody);
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
