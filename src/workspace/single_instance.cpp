#include "workspace/single_instance.h"

#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <cstdlib>

namespace cel::workspace {

QString SingleInstance::ServerName() {
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("LOGNAME");
    QString name = "Mi programa CEL2-" + user;
    const QString extra = qEnvironmentVariable("CELESTIGRAFO_INSTANCE");
    if (!extra.isEmpty())
        name += "-" + extra;
    name.replace(' ', '_');
    return name;
}

SingleInstance::SingleInstance() = default;
SingleInstance::~SingleInstance() = default;

bool SingleInstance::Acquire(const QString &fileToOpen) {
    const QString name = ServerName();
    {
        QLocalSocket socket;
        socket.connectToServer(name);
        if (socket.waitForConnected(500)) {
            socket.write("show\n");
            if (!fileToOpen.isEmpty())
                socket.write("open\t" + QFileInfo(fileToOpen).absoluteFilePath().toUtf8() + "\n");
            socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            return false;
        }
    }
    // Nobody answers: a socket left by a program that ended without cleaning up is removed.
    QLocalServer::removeServer(name);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name))
        return true; // run without the guard rather than not at all
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] {
        while (QLocalSocket *client = server_->nextPendingConnection()) {
            QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
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
