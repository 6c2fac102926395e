#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <map>
#include <memory>
#include <optional>

#include "database/shared_use_guard.h"
#include "scripted_notifier.h"
#include "support/child_process.h"

using namespace cel;
using namespace cel::database;
using cel::dbtest::StrictNotifier;

namespace {

// A table of its own for each test, removed afterwards.
class GuardTest : public ::testing::Test {
protected:
    void SetUp() override {
        static std::atomic<int> counter{0};
        name_ = "/celestigrafo-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
        SharedUseGuard::Remove(name_);
    }
    void TearDown() override {
        programs_.clear();
        SharedUseGuard::Remove(name_);
    }

    // A child process that registers path in its own mapping of the table, tells the parent, and
    // then waits (for a command byte: 'r' releases and exits, anything else just exits).
    pid_t StartHolder(const std::string &path) {
        std::optional<SharedUseGuard> guard;
        auto program = std::make_unique<testsupport::SecondProgram>();
        EXPECT_TRUE(program->Start(
            [&] {
                try {
                    guard.emplace(name_);
                    return guard->Register(GuardOwner::Current(), path);
                } catch (...) {
                    return false;
                }
            },
            [&](char command) {
                if (command == 'r' && guard)
                    guard->Release(GuardOwner::Current(), path);
            }));
        const pid_t pid = program->Pid();
        programs_[pid] = std::move(program);
        return pid;
    }

    void Finish(pid_t pid, char command) {
        programs_[pid]->Stop(command);
        programs_.erase(pid);
    }

    void KillHard(pid_t pid) { programs_.erase(pid); }

    std::string name_;
    std::map<pid_t, std::unique_ptr<testsupport::SecondProgram>> programs_;
};

int UsedSlots(SharedUseGuard &g) {
    int n = 0;
    for (const auto &s : g.Slots())
        n += !s.free;
    return n;
}

} // namespace

TEST_F(GuardTest, AnotherProcessHoldingTheFileMakesItReadOnlyUntilItReleases) {
    const std::string path = "/home/ana/Documentos/Norvelta/datos.age";
    const pid_t holder = StartHolder(path);
    SharedUseGuard guard(name_);
    const GuardOwner me = GuardOwner::Current();
    EXPECT_TRUE(guard.UsedByAnother(me, path));
    EXPECT_FALSE(guard.UsedByAnother(me, "/home/ana/Documentos/Norvelta/DATOS.age")); // case counts
    EXPECT_FALSE(guard.UsedByAnother(me, "/home/ana/otro.age"));
    StrictNotifier n;
    EXPECT_TRUE(guard.ReadOnlyCheck(me, path, n, "Celestigrafo"));
    ASSERT_EQ(n.shown.size(), 1u);
    EXPECT_EQ(n.shown[0].kind, NoticeKind::Information);
    EXPECT_FALSE(n.shown[0].yesNo);
    EXPECT_EQ(n.shown[0].text, ReadOnlyText(path, "Celestigrafo"));
    EXPECT_EQ(
        n.shown[0].text,
        "El archivo de datos [datos.age] esta siendo usado por otro(s) programa(s) y solo se abrirá en modo "
        "de LECTURA.\r\r Lo cual significa que no puede agregar, modificar o eliminar datos de este "
        "archivo.\r\r Si desea modificar este archivo, desde el programa - Celestigrafo -, debe cerrar "
        "el/los otro(s) programa(s) que este(n) usando este archivo.");
    // Our own registration of the same file is not "another".
    EXPECT_TRUE(guard.Register(me, path));
    const auto slots = guard.Slots();
    EXPECT_EQ(slots[0].owner.pid, holder);
    EXPECT_EQ(slots[1].owner.pid, getpid());
    Finish(holder, 'r');
    EXPECT_FALSE(guard.UsedByAnother(me, path));
    StrictNotifier quiet;
    EXPECT_FALSE(guard.ReadOnlyCheck(me, path, quiet, "Celestigrafo"));
    EXPECT_TRUE(quiet.shown.empty());
}

TEST_F(GuardTest, TwoProcessesRegisterAndAKilledOneLeavesItsFileFree) {
    const pid_t first = StartHolder("/datos/uno.age");
    const pid_t second = StartHolder("/datos/dos.age");
    SharedUseGuard guard(name_);
    const GuardOwner me = GuardOwner::Current();
    const auto slots = guard.Slots();
    EXPECT_EQ(slots[0].path, "/datos/uno.age");
    EXPECT_EQ(slots[0].owner.pid, first);
    EXPECT_EQ(slots[1].path, "/datos/dos.age");
    EXPECT_EQ(slots[1].owner.pid, second);
    EXPECT_TRUE(slots[2].free);
    EXPECT_EQ(slots[2].path, "-");
    EXPECT_TRUE(guard.UsedByAnother(me, "/datos/uno.age"));
    EXPECT_TRUE(guard.UsedByAnother(me, "/datos/dos.age"));

    // A program that crashes never leaves its file read-only for the others.
    KillHard(first);
    EXPECT_FALSE(guard.UsedByAnother(me, "/datos/uno.age"));
    EXPECT_TRUE(guard.UsedByAnother(me, "/datos/dos.age"));
    // Its slot counts as free for the next registration.
    EXPECT_TRUE(guard.Register(me, "/datos/tres.age"));
    EXPECT_EQ(guard.Slots()[0].path, "/datos/tres.age");
    Finish(second, 'x'); // ends without releasing
    EXPECT_FALSE(guard.UsedByAnother(me, "/datos/dos.age"));
}

TEST_F(GuardTest, ReleaseMovesTheLaterSlotsDown) {
    SharedUseGuard guard(name_);
    for (int w = 1; w <= 5; ++w)
        ASSERT_TRUE(guard.Register(GuardOwner::Current(w), "/d/" + std::to_string(w) + ".age"));
    guard.Release(GuardOwner::Current(9), "/d/3.age"); // not the owner: nothing happens
    EXPECT_EQ(UsedSlots(guard), 5);
    guard.Release(GuardOwner::Current(3), "/d/3.age");
    const auto slots = guard.Slots();
    const char *expected[] = {"/d/1.age", "/d/2.age", "/d/4.age", "/d/5.age"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(slots[i].path, expected[i]);
    EXPECT_TRUE(slots[4].free);
    EXPECT_EQ(UsedSlots(guard), 4);
    // Opening another file from the same window overwrites the window's slot.
    ASSERT_TRUE(guard.Register(GuardOwner::Current(1), "/d/otro.age"));
    EXPECT_EQ(guard.Slots()[0].path, "/d/otro.age");
    EXPECT_FALSE(guard.UsedByAnother(GuardOwner::Current(7), "/d/1.age"));
}

TEST_F(GuardTest, AFullTableRegistersNothing) {
    SharedUseGuard guard(name_);
    for (int w = 1; w <= SharedUseGuard::kSlots; ++w)
        ASSERT_TRUE(guard.Register(GuardOwner::Current(w), "/d/" + std::to_string(w) + ".age"));
    EXPECT_FALSE(guard.Register(GuardOwner::Current(99), "/d/nuevo.age"));
    EXPECT_FALSE(guard.UsedByAnother(GuardOwner::Current(1), "/d/nuevo.age"));
    // Releasing slot 1 frees slot 20 for the next one.
    guard.Release(GuardOwner::Current(1), "/d/1.age");
    EXPECT_TRUE(guard.Slots()[19].free);
    EXPECT_TRUE(guard.Register(GuardOwner::Current(99), "/d/nuevo.age"));
    EXPECT_EQ(guard.Slots()[19].path, "/d/nuevo.age");
}

TEST_F(GuardTest, LongPathsAreStoredWhole) {
    SharedUseGuard guard(name_);
    const std::string a = "/" + std::string(300, 'a') + "/uno.age";
    const std::string b = "/" + std::string(300, 'a') + "/dos.age";
    ASSERT_TRUE(guard.Register(GuardOwner::Current(1), a));
    EXPECT_TRUE(guard.UsedByAnother(GuardOwner::Current(2), a));
    EXPECT_FALSE(guard.UsedByAnother(GuardOwner::Current(2), b));
}

TEST_F(GuardTest, AnOwnerWhoseProcessIdWasReusedIsNotAlive) {
    GuardOwner me = GuardOwner::Current();
    EXPECT_TRUE(OwnerAlive(me));
    me.startTime += 1;
    EXPECT_FALSE(OwnerAlive(me));
    EXPECT_FALSE(OwnerAlive(GuardOwner{}));
}

TEST(SharedUseGuard, MappingFailureRaisesItsException) {
    try {
        SharedUseGuard guard("/no/valido");
        ADD_FAILURE() << "opened";
    } catch (const EMappingException &e) {
        EXPECT_EQ(std::string(e.what()).rfind("Memory Mapping Error #", 0), 0u);
    }
}
