#include "workspace/single_instance.h"

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

bool SingleInstance::Acquire() {
    const QString name = ServerName();
    {
        QLocalSocket socket;
        socket.connectToServer(name);
        if (socket.waitForConnected(500)) {
            socket.write("show\n");
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
            QObject::connect(client, &QLocalSocket::readyRead, client, [this, client] {
                if (client->readAll().startsWith("show") && onActivate)
                    onActivate();
            });
        }
    });
    return true;
}

} // namespace cel::workspace
