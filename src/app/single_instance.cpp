#include "app/single_instance.h"

#include "platform/messenger.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace {
const QByteArray kActivate = QByteArrayLiteral("activate\n");
constexpr int kWaitMs = 1000;
} // namespace

InstanceLock::InstanceLock() = default;

InstanceLock::~InstanceLock() = default;

QString InstanceLock::serverName(const QString& dir)
{
    const QByteArray path = QDir(dir).absolutePath().toUtf8();
    return QStringLiteral("zorivka-")
        + QString::fromLatin1(QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex().left(20));
}

bool InstanceLock::acquire(const QString& dir)
{
    m_lock = std::make_unique<QLockFile>(QDir(dir).filePath(kFileName));
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0))
        return false;
    // A socket left by a copy that crashed would block listening.
    const QString name = serverName(dir);
    QLocalServer::removeServer(name);
    m_server = new QLocalServer(this);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains(kActivate))
                    emit activationRequested();
                socket->disconnectFromServer();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    // Without the server the lock still protects the files; only the raising is lost.
    m_server->listen(name);
    return true;
}

bool InstanceLock::activateRunning(const QString& dir)
{
    QLocalSocket socket;
    socket.connectToServer(serverName(dir));
    if (!socket.waitForConnected(kWaitMs))
        return false;
    socket.write(kActivate);
    return socket.waitForBytesWritten(kWaitMs);
}

bool InstanceLock::acquireOrHandOver(const QString& dir, Messenger& messenger)
{
    if (acquire(dir))
        return true;
    if (!activateRunning(dir)) {
        messenger.show(Messenger::Icon::Warning, QStringLiteral("Upozornění"),
            QStringLiteral("Program Zorivka je již spuštěn."));
    }
    return false;
}
