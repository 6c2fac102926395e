// Two real celestigrafo processes: the second start shows the first one's window and exits.
#include <QLocalSocket>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "workspace/single_instance.h"

namespace cel::workspace::test {
namespace {

TEST(SingleInstance, ASecondStartRaisesTheFirstAndExits) {
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("celestigrafo_instance_" + std::to_string(::getpid()));
    std::filesystem::create_directories(home);
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
    std::filesystem::remove_all(home);
}

} // namespace
} // namespace cel::workspace::test
