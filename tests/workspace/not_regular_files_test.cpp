// The chart program started on a name that is a pipe, a device or a folder: refused at once with a
// clear notice, never waiting on the pipe or reading without end; the window opens without a file.
#include <sys/stat.h>

#include "workspace_fixture.h"

namespace cel::workspace::test {
namespace {

class NotRegularFiles : public WindowFixture {};

TEST_F(NotRegularFiles, AreRefusedWithTheirNoticeAtStart) {
    const struct {
        const char *name;
        const char *expected;
    } cases[] = {{"tubo.age", "no es un archivo común"},
                 {"cero.age", "no es un archivo común"},
                 {"carpeta.age", "carpeta"}};
    ASSERT_EQ(::mkfifo((dir_ / "tubo.age").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", dir_ / "cero.age");
    std::filesystem::create_directory(dir_ / "carpeta.age");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        notifier_.Clear();
        options_.dataFile = (dir_ / c.name).string();
        TFormMain &w = Open();
        ASSERT_FALSE(notifier_.shown.empty());
        EXPECT_EQ(notifier_.shown.front().kind, NoticeKind::Error);
        EXPECT_NE(notifier_.shown.front().text.find(c.name), std::string::npos)
            << notifier_.shown.front().text;
        EXPECT_NE(notifier_.shown.front().text.find(c.expected), std::string::npos)
            << notifier_.shown.front().text;
        EXPECT_FALSE(w.windowTitle().contains(c.name));
        window_.reset();
    }
}

} // namespace
} // namespace cel::workspace::test
