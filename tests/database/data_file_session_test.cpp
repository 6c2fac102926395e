#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>

#include "common/windows1252.h"
#include "database/data_file.h"
#include "database/data_file_session.h"
#include "database/place_import.h"
#include "scripted_notifier.h"
#include "support/child_process.h"
#include "test_util.h"

namespace fs = std::filesystem;
using namespace cel;
using namespace cel::database;
using cel::dbtest::DataPath;
using cel::dbtest::ReadBytes;
using cel::dbtest::StrictNotifier;
using cel::dbtest::TempFolder;
using cel::testsupport::As;
using cel::testsupport::DeadPid;
using cel::testsupport::InChild;

namespace {

const TextFormat kComma{','};

std::string Bytes(std::string_view utf8) {
    return Utf8ToWindows1252(utf8);
}

// A shared-use table of its own for each test, removed afterwards.
class SessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        static std::atomic<int> counter{0};
        name_ = "/celestigrafo-session-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
        SharedUseGuard::Remove(name_);
        chmod(dir_.Path().c_str(), 0777);
        path_ = dir_.File("datos.age");
        fs::copy_file(DataPath("ejemplo.age"), path_);
    }
    void TearDown() override {
        programs_.clear();
        SharedUseGuard::Remove(name_);
        // The second user's table of the same name, when a test made one.
        if (geteuid() == 0)
            InChild(
                [&] {
                    SharedUseGuard::Remove(name_);
                    return 0;
                },
                As::Nobody);
    }

    // A second program: a child process that runs fn, tells the parent it is ready, and stays alive
    // until the parent stops it (or the test ends).
    template <class Fn> pid_t StartProgram(Fn fn) {
        auto &program = programs_.emplace_back(std::make_unique<testsupport::SecondProgram>());
        EXPECT_TRUE(program->Start(fn));
        return program->Pid();
    }

    // A second program that opens path through its own session and keeps it open, as the user nobody
    // when asked; it must get the file to change it when writable is asked for.
    pid_t StartHolder(const std::string &path, bool asNobody, bool writable) {
        return StartProgram([&] {
            if (asNobody && (setgid(65534) != 0 || setuid(65534) != 0))
                return false;
            static SharedUseGuard guard(name_);
            static DataFileSession session(&guard, GuardOwner::Current());
            Database db;
            SilentNotifier quiet;
            return session.Open(path, db, quiet, kComma) && (!writable || !session.ReadOnly());
        });
    }
    void KillProgram(pid_t pid) {
        std::erase_if(programs_, [&](auto &program) { return program->Pid() == pid; });
    }
    void StopProgram(pid_t pid) {
        std::erase_if(programs_, [&](auto &program) {
            if (program->Pid() != pid)
                return false;
            program->Stop();
            return true;
        });
    }

    TempFolder dir_;
    std::string name_;
    std::string path_;
    std::vector<std::unique_ptr<testsupport::SecondProgram>> programs_;
};

int Persons(const std::string &path) {
    Database db;
    SilentNotifier quiet;
    LoadDataFile(path, db, quiet, kComma);
    return static_cast<int>(db.Persons.size());
}

std::unique_ptr<TPersona> NewPerson(Database &db, const std::string &name) {
    auto p = std::make_unique<TPersona>();
    p->Id = db.TakeId(Kind::Person);
    p->Nombre = name;
    return p;
}

} // namespace

TEST_F(SessionTest, AFileHeldByAnotherProgramIsOpenedReadOnlyUnderAnyOfItsNames) {
    fs::create_hard_link(path_, dir_.File("enlace_duro.age"));
    fs::create_symlink(path_, dir_.File("enlace.age"));
    const pid_t other = StartHolder(path_, false, true);
    const std::string before = ReadBytes(path_);
    for (const std::string &name : {path_, dir_.File("enlace_duro.age"), dir_.File("enlace.age")}) {
        SCOPED_TRACE(name);
        SharedUseGuard guard(name_);
        DataFileSession session(&guard, GuardOwner::Current());
        Database db;
        SilentNotifier quiet;
        ASSERT_TRUE(session.Open(name, db, quiet, kComma));
        EXPECT_EQ(session.GetAccess(), DataFileSession::Access::UsedByAnother);
        db.Persons.push_back(NewPerson(db, "Nueva"));
        try {
            session.Save(db, kComma, quiet);
            ADD_FAILURE() << "saved";
        } catch (const FileError &e) {
            EXPECT_EQ(e.code(), EBUSY);
        }
    }
    EXPECT_EQ(ReadBytes(path_), before);
    // Once the other program has ended the file is free again.
    StopProgram(other);
    SharedUseGuard guard(name_);
    DataFileSession session(&guard, GuardOwner::Current());
    Database db;
    SilentNotifier quiet;
    ASSERT_TRUE(session.Open(dir_.File("enlace_duro.age"), db, quiet, kComma));
    EXPECT_FALSE(session.ReadOnly());
}

TEST_F(SessionTest, ASaveNeverReplacesAFileAnotherProgramChangedSinceItWasRead) {
    // No guard (as when the table cannot be opened): the identity check alone keeps both versions.
    DataFileSession mine(nullptr, GuardOwner::Current());
    Database db;
    SilentNotifier quiet;
    ASSERT_TRUE(mine.Open(path_, db, quiet, kComma));
    const int before = static_cast<int>(db.Persons.size());
    const pid_t other = StartProgram([&] {
        DataFileSession theirs(nullptr, GuardOwner::Current());
        Database d;
        SilentNotifier q;
        theirs.Open(path_, d, q, kComma);
        d.Persons.push_back(NewPerson(d, "De otro"));
        d.Persons.push_back(NewPerson(d, "De otro 2"));
        theirs.Save(d, kComma, q);
        return true;
    });
    StopProgram(other);
    db.Persons.push_back(NewPerson(db, "Mía"));
    try {
        mine.Save(db, kComma, quiet);
        ADD_FAILURE() << "overwritten";
    } catch (const FileChangedError &e) {
        EXPECT_EQ(Persons(path_), before + 2);
        EXPECT_EQ(Persons(e.keptPath()), before + 1);
    }
    // Reopened, the session saves over the new file.
    ASSERT_TRUE(mine.Open(path_, db, quiet, kComma));
    db.Persons.push_back(NewPerson(db, "Mía"));
    mine.Save(db, kComma, quiet);
    mine.Save(db, kComma, quiet); // its own save does not count as a change by another
    EXPECT_EQ(Persons(path_), before + 3);
}

TEST_F(SessionTest, UnreadableLinesAreKeptInADatedCopyBeforeTheFirstSave) {
    const std::string original = Bytes("Pâ1âColombiaâ\r\nIâxâRotaâ\r\nGâ1âAmigosâ\r\n");
    WriteFileSafely(path_, original);
    SharedUseGuard guard(name_);
    DataFileSession session(&guard, GuardOwner::Current());
    Database db;
    StrictNotifier n;
    ASSERT_TRUE(session.Open(path_, db, n, kComma));
    EXPECT_EQ(session.UnreadableLines(), std::vector<int>{2});
    n.shown.clear();
    session.Save(db, kComma, n);
    ASSERT_FALSE(session.BackupPath().empty());
    EXPECT_EQ(ReadBytes(session.BackupPath()), original);
    ASSERT_EQ(n.shown.size(), 1u);
    EXPECT_EQ(n.shown[0].kind, NoticeKind::Information);
    EXPECT_NE(n.shown[0].text.find(session.BackupPath()), std::string::npos);
    // One copy only: the next save has nothing more to keep.
    session.Save(db, kComma, n);
    EXPECT_EQ(n.shown.size(), 1u);
    int files = 0;
    for ([[maybe_unused]] const auto &e : fs::directory_iterator(dir_.Path()))
        ++files;
    EXPECT_EQ(files, 2);
}

TEST_F(SessionTest, AReadOnlyFileOpensReadOnlyAndIsNotReplaced) {
    chmod(path_.c_str(), 0444);
    const std::string before = ReadBytes(path_);
    SharedUseGuard guard(name_);
    DataFileSession session(&guard, GuardOwner::Current());
    Database db;
    SilentNotifier quiet;
    ASSERT_TRUE(session.Open(path_, db, quiet, kComma));
    EXPECT_EQ(session.GetAccess(), DataFileSession::Access::NotWritable);
    try {
        session.Save(db, kComma, quiet);
        ADD_FAILURE() << "saved";
    } catch (const FileError &e) {
        EXPECT_EQ(e.code(), EACCES);
        EXPECT_NE(std::string(e.what()).find(std::strerror(EACCES)), std::string::npos);
    }
    EXPECT_EQ(ReadBytes(path_), before);
}

TEST_F(SessionTest, OpeningRemovesTheTemporaryFilesOfEndedSaves) {
    const std::string leftover = dir_.File(".datos.age.tmp" + std::to_string(DeadPid()) + "-0");
    WriteFileSafely(leftover, "medio archivo");
    DataFileSession session(nullptr, GuardOwner::Current());
    Database db;
    SilentNotifier quiet;
    ASSERT_TRUE(session.Open(path_, db, quiet, kComma));
    EXPECT_FALSE(fs::exists(leftover));
}

TEST_F(SessionTest, TheTableIsUsableByEveryUserWhateverTheCreatorsUmask) {
    // Created by a program with a strict umask, then another user runs the programs too: each user's
    // table is the user's own, closed to everybody else.
    ASSERT_EQ(InChild([&] {
                  umask(077);
                  SharedUseGuard guard(name_);
                  return guard.Register(GuardOwner::Current(), path_) ? 0 : 1;
              }),
              0);
    struct stat st {};
    ASSERT_EQ(stat(SharedUseGuard::TablePath(name_).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(st.st_uid, geteuid());
    EXPECT_EQ(InChild(
                  [&] {
                      try {
                          SharedUseGuard guard(name_);
                          return guard.Register(GuardOwner::Current(), "/tmp/otro.age") ? 0 : 1;
                      } catch (const EMappingException &) {
                          return 2;
                      }
                  },
                  As::Nobody),
              0);
}

TEST_F(SessionTest, ATableThatCannotBeOpenedIsNamedWithTheReason) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs a second user: run as root to use the user nobody";
    // The user's private folder holds a table the user may not open (left there by the administrator).
    const std::string folder = dir_.File("run-nobody");
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    ASSERT_EQ(chown(folder.c_str(), 65534, 65534), 0);
    const std::string table = folder + name_;
    const int fd = open(table.c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    close(fd);
    int pipeFd[2];
    ASSERT_EQ(pipe(pipeFd), 0);
    const pid_t user = fork();
    if (user == 0) {
        close(pipeFd[0]);
        setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(90);
        std::string message = "opened";
        try {
            SharedUseGuard guard(name_);
        } catch (const EMappingException &e) {
            message = e.what();
        }
        if (write(pipeFd[1], message.data(), message.size()) < 0)
            _exit(3);
        _exit(0);
    }
    close(pipeFd[1]);
    std::string message;
    char buf[512];
    for (ssize_t n; (n = read(pipeFd[0], buf, sizeof buf)) > 0;)
        message.append(buf, static_cast<std::size_t>(n));
    close(pipeFd[0]);
    waitpid(user, nullptr, 0);
    EXPECT_EQ(message.rfind("Memory Mapping Error #13", 0), 0u) << message;
    EXPECT_NE(message.find(table), std::string::npos) << message;
    EXPECT_NE(message.find(std::strerror(EACCES)), std::string::npos) << message;
}

// Runs fn as the user nobody in a child process; its result, or -1 when it died (a signal).
template <class Fn> int AsNobody(Fn fn) {
    return InChild(fn, As::Nobody);
}

TEST_F(SessionTest, AnotherUserCanNeitherForgeNorShrinkTheTable) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs a second user: run as root to use the user nobody";
    chmod(path_.c_str(), 0644); // nobody may read the file, not write it
    SharedUseGuard guard(name_);
    const GuardOwner me = GuardOwner::Current();
    ASSERT_TRUE(guard.Register(GuardOwner::Current(2), dir_.File("mio.age")));
    const std::string table = SharedUseGuard::TablePath(name_);
    // Another user names our file in the table under a long-lived owner (process 1), tries to reach
    // our table directly, and keeps a read lock on the file itself while we open it.
    const pid_t other = StartProgram([&] {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            return false;
        try {
            SharedUseGuard theirs(name_);
            theirs.Register(GuardOwner{1, ProcessStartTime(1), 0}, path_);
        } catch (const EMappingException &) {
        }
        if (open(table.c_str(), O_RDWR) >= 0 || truncate(table.c_str(), 0) == 0)
            return false;
        static const int fd = open(path_.c_str(), O_RDONLY);
        struct flock fl {};
        fl.l_type = F_RDLCK;
        fl.l_whence = SEEK_SET;
        return fd >= 0 && fcntl(fd, F_OFD_SETLK, &fl) == 0;
    });
    DataFileSession session(&guard, me);
    Database db;
    SilentNotifier quiet;
    ASSERT_TRUE(session.Open(path_, db, quiet, kComma));
    EXPECT_EQ(session.GetAccess(), DataFileSession::Access::ReadWrite);
    EXPECT_FALSE(guard.UsedByAnother(GuardOwner::Current(5), dir_.File("otro.age")));
    db.Persons.push_back(NewPerson(db, "Nueva"));
    EXPECT_NO_THROW(session.Save(db, kComma, quiet));
    const auto slots = guard.Slots();
    EXPECT_EQ(slots[0].path, dir_.File("mio.age"));
    EXPECT_EQ(slots[1].path, path_);
    StopProgram(other);
}

TEST_F(SessionTest, AShrunkOrGarbledTableNeitherCrashesNorLocks) {
    const std::string table = SharedUseGuard::TablePath(name_);
    // In a child, so that a crash (SIGBUS) shows as a failure of this test only.
    const pid_t child = fork();
    if (child == 0) {
        SharedUseGuard guard(name_);
        const GuardOwner me = GuardOwner::Current();
        if (!guard.Register(me, path_))
            _exit(1);
        for (off_t size : {off_t{0}, off_t{100}, off_t{12}}) {
            if (truncate(table.c_str(), size) != 0)
                _exit(2);
            if (guard.UsedByAnother(GuardOwner::Current(7), dir_.File("otro.age")) ||
                !guard.Register(GuardOwner::Current(8), dir_.File("otro.age")))
                _exit(3);
        }
        std::string noise(200000, '\xff');
        const int fd = open(table.c_str(), O_WRONLY);
        if (fd < 0 || write(fd, noise.data(), noise.size()) != static_cast<ssize_t>(noise.size()))
            _exit(4);
        close(fd);
        for (const auto &slot : guard.Slots())
            if (!slot.free)
                _exit(5);
        guard.Release(me, path_);
        _exit(guard.TryRegister(me, path_) == SharedUseGuard::Claim::Registered ? 0 : 6);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

// Two users who share a data file: whichever opens it first holds it, through every save, until it
// closes it or ends; the other reads it only.
TEST_F(SessionTest, TwoUsersSharingAFileNeverOverwriteEachOther) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs a second user: run as root to use the user nobody";
    chmod(path_.c_str(), 0666);
    const auto nobodyOpens = [&] {
        return AsNobody([&] {
            try {
                SharedUseGuard guard(name_);
                DataFileSession session(&guard, GuardOwner::Current());
                Database db;
                SilentNotifier quiet;
                if (!session.Open(path_, db, quiet, kComma))
                    return 10;
                return static_cast<int>(session.GetAccess());
            } catch (const std::exception &) {
                return 11;
            }
        });
    };
    const int kReadWrite = static_cast<int>(DataFileSession::Access::ReadWrite);
    const int kUsed = static_cast<int>(DataFileSession::Access::UsedByAnother);
    {
        SharedUseGuard guard(name_);
        DataFileSession session(&guard, GuardOwner::Current());
        Database db;
        SilentNotifier quiet;
        ASSERT_TRUE(session.Open(path_, db, quiet, kComma));
        EXPECT_EQ(nobodyOpens(), kUsed);
        // A save writes a new file under the name: it is held as the old one was.
        db.Persons.push_back(NewPerson(db, "Nueva"));
        session.Save(db, kComma, quiet);
        EXPECT_EQ(nobodyOpens(), kUsed);
        session.Close();
        EXPECT_EQ(nobodyOpens(), kReadWrite);
    }
    // The other way round: the other user's program holds it, and a killed holder frees it.
    const std::string before = ReadBytes(path_);
    const pid_t theirs = StartHolder(path_, true, true);
    SharedUseGuard guard(name_);
    const GuardOwner me = GuardOwner::Current();
    DataFileSession session(&guard, me);
    Database db;
    SilentNotifier quiet;
    ASSERT_TRUE(session.Open(path_, db, quiet, kComma));
    EXPECT_EQ(session.GetAccess(), DataFileSession::Access::UsedByAnother);
    EXPECT_THROW(session.Save(db, kComma, quiet), FileError);
    EXPECT_EQ(ReadBytes(path_), before);
    KillProgram(theirs);
    EXPECT_FALSE(guard.UsedByAnother(me, path_));
    ASSERT_TRUE(session.Open(path_, db, quiet, kComma));
    EXPECT_EQ(session.GetAccess(), DataFileSession::Access::ReadWrite);
}

// Another user who may write the file but not its folder can never save it, and so holds nothing.
TEST_F(SessionTest, AUserWhoCannotSaveTheFileDoesNotHoldIt) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs a second user: run as root to use the user nobody";
    const std::string closed = dir_.File("cerrada");
    ASSERT_EQ(mkdir(closed.c_str(), 0755), 0);
    const std::string path = closed + "/datos.age";
    fs::copy_file(path_, path);
    chmod(path.c_str(), 0666);
    const pid_t theirs = StartHolder(path, true, false);
    SharedUseGuard guard(name_);
    DataFileSession session(&guard, GuardOwner::Current());
    Database db;
    SilentNotifier quiet;
    ASSERT_TRUE(session.Open(path, db, quiet, kComma));
    EXPECT_EQ(session.GetAccess(), DataFileSession::Access::ReadWrite);
    StopProgram(theirs);
}

// Whether a file may be saved is one question, asked the same way when it is opened and when it would
// be held: a user who may write the file but not its folder has it opened read-only, and saying so.
TEST_F(SessionTest, AFileInAFolderTheUserCannotWriteOpensNotWritable) {
    const std::string closed = dir_.File("cerrada");
    ASSERT_EQ(mkdir(closed.c_str(), 0755), 0);
    const std::string path = closed + "/datos.age";
    fs::copy_file(path_, path);
    chmod(path.c_str(), 0666);
    chmod(closed.c_str(), 0555);
    const std::string before = ReadBytes(path);
    const int code = InChild(
        [&] {
            DataFileSession session(nullptr, GuardOwner::Current());
            Database db;
            SilentNotifier quiet;
            if (!session.Open(path, db, quiet, kComma))
                return 1;
            if (session.GetAccess() != DataFileSession::Access::NotWritable)
                return 2;
            try {
                session.Save(db, kComma, quiet);
            } catch (const FileError &e) {
                return e.code() == EACCES ? 0 : 3;
            }
            return 4;
        },
        As::Nobody);
    chmod(closed.c_str(), 0755);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(ReadBytes(path), before);
}

TEST(IdLimit, AnAdditionPastTheLargestIdIsRefusedBeforeAnythingChanges) {
    StrictNotifier n;
    Database db;
    LoadDataText(Bytes("Pâ2147483647âColombiaâ\r\nLâ2147483647âCaliâ2147483647â0â-5â3,45â76,53ââ\r\n"), db, n,
                 kComma);
    EXPECT_EQ(db.Counter(Kind::Country), 2147483648LL);
    PlaceFile file = ReadPlaceText("P!1!Perú!\r\nL!1!Lima!1!0!-5!-12!77!!\r\n", n, kComma);
    for (auto &p : file.places)
        p->Marca = 1;
    EXPECT_THROW(AddPlaces(db, file.country, file.places, n), IdLimitError);
    EXPECT_EQ(db.Countries.size(), 1u);
    EXPECT_EQ(db.Places.size(), 1u);
    EXPECT_EQ(file.places.size(), 1u);
    EXPECT_THROW(db.TakeId(Kind::Place), IdLimitError);
    EXPECT_EQ(db.Counter(Kind::Place), 2147483648LL);
    // One below the limit: exactly one more fits.
    db.Counter(Kind::Person) = 2147483647;
    EXPECT_TRUE(db.HasRoomFor(Kind::Person, 1));
    EXPECT_FALSE(db.HasRoomFor(Kind::Person, 2));
    EXPECT_EQ(db.TakeId(Kind::Person), 2147483647);
}
