// Two real celestigrafo processes: the second start shows the first one's window and exits; another
// user's process neither hears nor is heard; another desktop session runs its own program.
#include <QCoreApplication>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/temp_folder.h"
#include "workspace/single_instance.h"

namespace cel::workspace::test {
namespace {

TEST(SingleInstance, ASecondStartRaisesTheFirstAndExits) {
    const testsupport::TempFolder homeFolder("celestigrafo_instance");
    const std::filesystem::path home = homeFolder.Dir();
    const QString key = QString("test%1").arg(::getpid());
    qputenv("CELESTIGRAFO_INSTANCE", key.toUtf8());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("HOME", QString::fromStdString(home.string()));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString((home / ".config").string()));
    env.insert("CELESTIGRAFO_INSTANCE", key);
    const QStringList args = {"--no-splash", "--ini", QString::fromStdString((home / "c.ini").string()),
                              QString(CEL_TEST_DATA_DIR) + "/ejemplo.age"};

    QProcess first;
    first.setProcessEnvironment(env);
    first.start(CEL_APP_PATH, args);
    ASSERT_TRUE(first.waitForStarted(10000));
    bool listening = false;
    for (int i = 0; i < 100 && !listening; ++i) {
        QLocalSocket probe;
        probe.connectToServer(SingleInstance::ServerName());
        listening = probe.waitForConnected(100);
        if (!listening)
            QThread::msleep(100);
    }
    ASSERT_TRUE(listening) << first.readAllStandardError().toStdString();

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(CEL_APP_PATH, args);
    ASSERT_TRUE(second.waitForFinished(15000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);

    QByteArray log;
    for (int i = 0; i < 50 && !log.contains("otra copia"); ++i) {
        first.waitForReadyRead(100);
        log += first.readAllStandardError();
    }
    EXPECT_TRUE(log.contains("otra copia pidió mostrar esta ventana")) << log.toStdString();
    EXPECT_EQ(first.state(), QProcess::Running);

    // A start with another data file (a double click in the file manager) has the first one open it.
    const std::filesystem::path other = home / "otro.age";
    std::filesystem::copy_file(std::string(CEL_TEST_DATA_DIR) + "/ejemplo.age", other);
    QProcess third;
    third.setProcessEnvironment(env);
    third.start(CEL_APP_PATH, {"--no-splash", QString::fromStdString(other.string())});
    ASSERT_TRUE(third.waitForFinished(15000));
    EXPECT_EQ(third.exitCode(), 0);
    for (int i = 0; i < 50 && !log.contains("otro.age"); ++i) {
        first.waitForReadyRead(100);
        log += first.readAllStandardError();
    }
    EXPECT_TRUE(log.contains(("otra copia pidió abrir " + other.string()).c_str())) << log.toStdString();
    EXPECT_EQ(first.state(), QProcess::Running);

    first.terminate();
    if (!first.waitForFinished(5000)) {
        first.kill();
        first.waitForFinished(5000);
    }
    qunsetenv("CELESTIGRAFO_INSTANCE");
}

// A folder of its own made the user's run-time folder for one test.
class RuntimeFolder {
public:
    RuntimeFolder() : old_(qgetenv("XDG_RUNTIME_DIR")) { qputenv("XDG_RUNTIME_DIR", Path().c_str()); }
    ~RuntimeFolder() {
        qputenv("XDG_RUNTIME_DIR", old_);
        if (old_.isEmpty())
            qunsetenv("XDG_RUNTIME_DIR");
    }
    const std::string &Path() const { return folder_.Path(); }

private:
    testsupport::TempFolder folder_{"celrun"};
    QByteArray old_;
};

sockaddr_un Address(const std::string &path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    return address;
}

// A process of the user nobody listening at each of paths (made by it in a folder of its own and
// then moved where asked); it writes what it receives within a few seconds to the pipe.
struct Squatter {
    pid_t pid = -1;
    int received = -1;
};

Squatter StartSquatter(const std::string &folder, const std::vector<std::string> &paths) {
    int ready[2], out[2];
    EXPECT_EQ(pipe(ready), 0);
    EXPECT_EQ(pipe(out), 0);
    const pid_t pid = fork();
    if (pid == 0) {
        close(ready[0]);
        close(out[0]);
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(90);
        std::vector<int> listeners;
        for (std::size_t i = 0; i < paths.size(); ++i) {
            const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
            const sockaddr_un address = Address(folder + "/s" + std::to_string(i));
            if (fd < 0 || bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0 ||
                listen(fd, 4) != 0)
                _exit(91);
            chmod(address.sun_path, 0777);
            listeners.push_back(fd);
        }
        if (write(ready[1], "r", 1) != 1)
            _exit(92);
        std::string heard;
        for (int round = 0; round < 30; ++round) {
            std::vector<pollfd> polls;
            for (int fd : listeners)
                polls.push_back({fd, POLLIN, 0});
            if (poll(polls.data(), polls.size(), 100) <= 0)
                continue;
            for (const pollfd &p : polls)
                if (p.revents & POLLIN) {
                    const int client = accept(p.fd, nullptr, nullptr);
                    char buf[512];
                    pollfd in{client, POLLIN, 0};
                    while (poll(&in, 1, 500) > 0) {
                        const ssize_t n = read(client, buf, sizeof buf);
                        if (n <= 0)
                            break;
                        heard.append(buf, static_cast<std::size_t>(n));
                    }
                    close(client);
                }
        }
        if (write(out[1], heard.data(), heard.size()) < 0)
            _exit(93);
        _exit(0);
    }
    close(ready[1]);
    close(out[1]);
    char c = 0;
    EXPECT_EQ(read(ready[0], &c, 1), 1);
    close(ready[0]);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        std::filesystem::create_directories(std::filesystem::path(paths[i]).parent_path());
        std::filesystem::rename(folder + "/s" + std::to_string(i), paths[i]);
    }
    return {pid, out[0]};
}

std::string Finish(const Squatter &s) {
    std::string heard;
    char buf[512];
    for (ssize_t n; (n = read(s.received, buf, sizeof buf)) > 0;)
        heard.append(buf, static_cast<std::size_t>(n));
    close(s.received);
    waitpid(s.pid, nullptr, 0);
    return heard;
}

TEST(SingleInstance, AnotherUsersSocketNeverHearsWhichFileIsOpened) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs a second user: run as root to use the user nobody";
    RuntimeFolder runtime;
    const QString key = QString("squat%1").arg(::getpid());
    qputenv("CELESTIGRAFO_INSTANCE", key.toUtf8());
    // The other user listens first: at the name a predictable socket in the shared temporary folder
    // would have, and (planted there by the administrator's mistake) in our own private folder.
    const testsupport::TempFolder ownFolder("celsquat");
    const std::string own = ownFolder.Path();
    ASSERT_EQ(chown(own.c_str(), 65534, 65534), 0);
    const std::string predictable = QDir::tempPath().toStdString() + "/Mi_programa_CEL2-" +
                                    qEnvironmentVariable("USER").toStdString() + "-" + key.toStdString();
    const Squatter squatter = StartSquatter(own, {predictable, SingleInstance::ServerName().toStdString()});

    SingleInstance instance;
    EXPECT_TRUE(instance.Acquire("/home/ana/secreto.age")); // this start runs its own window
    EXPECT_EQ(Finish(squatter), "");
    // Our own instance listens now, in our private folder.
    QLocalSocket probe;
    probe.connectToServer(SingleInstance::ServerName());
    EXPECT_TRUE(probe.waitForConnected(1000));
    EXPECT_EQ(SingleInstance::ServerName().toStdString().rfind(runtime.Path() + "/", 0), 0u);
    probe.abort();
    std::filesystem::remove(predictable);
    qunsetenv("CELESTIGRAFO_INSTANCE");
}

TEST(SingleInstance, OnlyProgramsOfTheSameUserAreHeard) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs a second user: run as root to use the user nobody";
    RuntimeFolder runtime;
    qputenv("CELESTIGRAFO_INSTANCE", QByteArray::number(::getpid()) + "heard");
    SingleInstance instance;
    ASSERT_TRUE(instance.Acquire());
    QStringList heard;
    instance.onActivate = [&heard] { heard << "show"; };
    instance.onOpenFile = [&heard](const QString &path) { heard << path; };
    // Opened up for the test so that another user can reach the socket at all.
    const std::string socketPath = SingleInstance::ServerName().toStdString();
    chmod(runtime.Path().c_str(), 0711);
    chmod(socketPath.c_str(), 0777);
    const struct {
        uid_t user;
        QStringList expected;
    } cases[] = {{65534, {}}, {0, {"show", "/home/ana/otro.age"}}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.user);
        heard.clear();
        const pid_t client = fork();
        if (client == 0) {
            if (c.user != 0 && (setgid(c.user) != 0 || setuid(c.user) != 0))
                _exit(90);
            const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
            const sockaddr_un address = Address(socketPath);
            if (connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0)
                _exit(91);
            const char message[] = "show\nopen\t/home/ana/otro.age\n";
            _exit(write(fd, message, sizeof message - 1) == sizeof message - 1 ? 0 : 92);
        }
        int status = 0;
        waitpid(client, &status, 0);
        ASSERT_EQ(WEXITSTATUS(status), 0);
        for (int i = 0; i < 30 && heard.size() < c.expected.size() + (c.expected.isEmpty() ? 1 : 0); ++i) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            QThread::msleep(20);
        }
        EXPECT_EQ(heard, c.expected);
    }
    qunsetenv("CELESTIGRAFO_INSTANCE");
}

TEST(SingleInstance, AnotherDesktopSessionRunsItsOwnProgram) {
    const testsupport::TempFolder homeFolder("celestigrafo_session");
    const std::filesystem::path home = homeFolder.Dir();
    const QString key = QString("session%1").arg(::getpid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("HOME", QString::fromStdString(home.string()));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString((home / ".config").string()));
    env.insert("CELESTIGRAFO_INSTANCE", key);
    env.remove("WAYLAND_DISPLAY");
    const QStringList args = {"--no-splash", "--ini", QString::fromStdString((home / "c.ini").string()),
                              QString(CEL_TEST_DATA_DIR) + "/ejemplo.age"};
    const QByteArray oldDisplay = qgetenv("DISPLAY");
    qputenv("CELESTIGRAFO_INSTANCE", key.toUtf8());
    std::vector<std::unique_ptr<QProcess>> programs;
    for (const char *display : {":91", ":92", ":92.0"}) {
        env.insert("DISPLAY", display);
        auto &p = programs.emplace_back(std::make_unique<QProcess>());
        p->setProcessEnvironment(env);
        p->start(CEL_APP_PATH, args);
        ASSERT_TRUE(p->waitForStarted(10000));
        if (programs.size() == 3)
            break;
        // The first start in each session listens: a program of its own.
        qputenv("DISPLAY", display);
        const QString name = SingleInstance::ServerName();
        bool listening = false;
        for (int i = 0; i < 100 && !listening && p->state() == QProcess::Running; ++i) {
            QLocalSocket probe;
            probe.connectToServer(name);
            listening = probe.waitForConnected(100);
            if (!listening)
                QThread::msleep(100);
        }
        EXPECT_TRUE(listening) << display;
    }
    qputenv("DISPLAY", oldDisplay);
    if (oldDisplay.isEmpty())
        qunsetenv("DISPLAY");
    // ":92.0" is the same display as ":92" (screen 0): handed over to the program there.
    ASSERT_TRUE(programs[2]->waitForFinished(15000));
    EXPECT_EQ(programs[2]->exitCode(), 0);
    // The programs of the two sessions keep running.
    EXPECT_FALSE(programs[0]->waitForFinished(1000));
    EXPECT_FALSE(programs[1]->waitForFinished(1000));
    for (auto &p : programs) {
        p->terminate();
        if (!p->waitForFinished(5000)) {
            p->kill();
            p->waitForFinished(5000);
        }
    }
    for (const char *display : {":91", ":92"}) {
        qputenv("DISPLAY", display);
        QLocalServer::removeServer(SingleInstance::ServerName());
    }
    qputenv("DISPLAY", oldDisplay);
    if (oldDisplay.isEmpty())
        qunsetenv("DISPLAY");
    qunsetenv("CELESTIGRAFO_INSTANCE");
}

} // namespace
} // namespace cel::workspace::test
