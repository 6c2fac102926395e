#include "workspace/single_instance.h"

#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <sys/socket.h>
#include <unistd.h>

#include "common/private_folder.h"

namespace cel::workspace {

namespace {

// The display a session's programs share, as a piece of a file name: Wayland's socket name and the
// X display without its screen number; "sin-pantalla" when there is neither.
QString SessionName() {
    QStringList parts;
    if (const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY"); !wayland.isEmpty())
        parts << "w" + wayland;
    QString x = qEnvironmentVariable("DISPLAY");
    if (const int colon = x.lastIndexOf(':'), dot = x.lastIndexOf('.'); colon >= 0 && dot > colon)
        x.truncate(dot);
    if (!x.isEmpty())
        parts << "x" + x;
    QString name = parts.isEmpty() ? QStringLiteral("sin-pantalla") : parts.join('-');
    for (QChar &c : name)
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != '-' && c != '.')
            c = '_';
    return name;
}

// True when the process at the other end of a connected socket runs as this user.
bool SameUser(qintptr socket) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return socket >= 0 && getsockopt(static_cast<int>(socket), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           size == sizeof peer && peer.uid == geteuid();
}

} // namespace

QString SingleInstance::ServerName() {
    const std::string folder = PrivateRuntimeFolder();
    if (folder.empty())
        return {};
    QString name = "Mi_programa_CEL2-" + QString::number(geteuid()) + "-" + SessionName();
    const QString extra = qEnvironmentVariable("CELESTIGRAFO_INSTANCE");
    if (!extra.isEmpty())
        name += "-" + extra;
    name.replace(' ', '_');
    name.replace('/', '_');
    return QString::fromStdString(folder) + "/" + name;
}

SingleInstance::SingleInstance() = default;
SingleInstance::~SingleInstance() = default;

bool SingleInstance::Acquire(const QString &fileToOpen) {
    const QString name = ServerName();
    if (name.isEmpty())
        return true; // no private folder: run without the single-instance check rather than not at all
    {
        QLocalSocket socket;
        socket.connectToServer(name);
        if (socket.waitForConnected(500)) {
            // Only a program of this user hears which file is opened; anything else is not ours.
            if (SameUser(socket.socketDescriptor())) {
                socket.write("show\n");
                if (!fileToOpen.isEmpty())
                    socket.write("open\t" + QFileInfo(fileToOpen).absoluteFilePath().toUtf8() + "\n");
                socket.waitForBytesWritten(1000);
                socket.disconnectFromServer();
                return false;
            }
            socket.abort();
        }
    }
    // Nobody of ours answers: a socket left by a program that ended without cleaning up is removed.
    QLocalServer::removeServer(name);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name))
        return true; // run without the guard rather than not at all
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] {
        while (QLocalSocket *client = server_->nextPendingConnection()) {
            QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            if (!SameUser(client->socketDescriptor())) {
                client->abort(); // another user's process: nothing it sends is read
                continue;
            }
            // The message is read whole when the other start hangs up: "show", then perhaps "open\tPATH".
            QObject::connect(client, &QLocalSocket::readyRead, client, [client] {
                client->setProperty("received",
                                    client->property("received").toByteArray() + client->readAll());
            });
            QObject::connect(client, &QLocalSocket::disconnected, client, [this, client] {
                const QByteArray message = client->property("received").toByteArray() + client->readAll();
                for (const QByteArray &line : message.split('\n')) {
                    if (line == "show" && onActivate)
                        onActivate();
                    else if (line.startsWith("open\t") && onOpenFile)
                        onOpenFile(QString::fromUtf8(line.mid(5)));
                }
            });
        }
    });
    return true;
}

} // namespace cel::workspace
