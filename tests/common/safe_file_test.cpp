#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/safe_file.h"

namespace fs = std::filesystem;
using namespace cel;

namespace {

class Folder {
public:
    Folder() {
        std::string pattern = (fs::temp_directory_path() / "celsafe-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
        chmod(path_.c_str(), 0777); // the tests that run as another user write here too
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    std::string File(const std::string &name) const { return path_ + "/" + name; }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto &e : fs::directory_iterator(path_))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string path_;
};

// Runs fn in a child process (optionally as the user "nobody"); its result, or -1 when it died.
template <class Fn> int InChild(Fn fn, bool asNobody = false) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (asNobody && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(90);
        _exit(fn());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A process id that no process has any more.
pid_t DeadPid() {
    const pid_t pid = fork();
    if (pid == 0)
        _exit(0);
    waitpid(pid, nullptr, 0);
    return pid;
}

} // namespace

TEST(CommonSafeFile, AReadOnlyFileIsNotReplaced) {
    Folder dir;
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
            asNobody);
        EXPECT_EQ(code, 0);
    }
    EXPECT_FALSE(MayReplace(path));
    EXPECT_EQ(ReadWholeFile(path), "viejo");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"datos.age"});
}

TEST(CommonSafeFile, ASizeLimitIsAWriteErrorNotADeath) {
    Folder dir;
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
    Folder dir;
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
    Folder dir;
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
    Folder dir;
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
    Folder dir;
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
    Folder dir;
    const std::string a = SiblingPath(dir.File("datos.age"), "copia");
    EXPECT_EQ(fs::path(a).extension(), ".age");
    EXPECT_EQ(fs::path(a).filename().string().rfind("datos-copia-", 0), 0u);
    WriteFileSafely(a, "x");
    EXPECT_NE(SiblingPath(dir.File("datos.age"), "copia"), a);
}
