#include "platform/instance_lock.h"

#include "platform/instance_channel.h"
#include "platform/messenger.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QThread>

namespace {
const QByteArray kActivate = QByteArrayLiteral("activate\n");
constexpr int kWaitMs = 1000;
constexpr int kRetryMs = 20;
} // namespace

InstanceLock::InstanceLock() = default;

InstanceLock::~InstanceLock() = default;

QString InstanceLock::channelName(const QString& dir)
{
    const QByteArray path = QDir(dir).absolutePath().toUtf8();
    return QStringLiteral("zorivka-")
        + QString::fromLatin1(QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex().left(20));
}

bool InstanceLock::hold(const QString& dir)
{
    m_lock = std::make_unique<QLockFile>(QDir(dir).filePath(kFileName));
    m_lock->setStaleLockTime(0);
    return m_lock->tryLock(0);
}

bool InstanceLock::acquire(const QString& dir)
{
    if (!hold(dir))
        return false;
    m_channel = new InstanceChannel(this);
    connect(m_channel, &InstanceChannel::received, this, [this](const QByteArray& message) {
        if (message == kActivate)
            emit activationRequested();
    });
    // Without the channel the lock still protects the files; only the raising is lost.
    m_channel->listen(channelName(dir));
    return true;
}

bool InstanceLock::activateRunning(const QString& dir)
{
    return InstanceChannel::send(channelName(dir), kActivate, kWaitMs);
}

bool InstanceLock::acquireOrHandOver(const QString& dir, Messenger& messenger)
{
    if (acquire(dir))
        return true;
    // A copy started at the same moment may hold the lock but not listen yet.
    const QDeadlineTimer deadline(kWaitMs);
    bool answered;
    while (!(answered = activateRunning(dir)) && !deadline.hasExpired())
        QThread::msleep(kRetryMs);
    if (!answered) {
        messenger.show(Messenger::Icon::Warning, QStringLiteral("Upozornění"),
            QStringLiteral("Program Zorivka je již spuštěn."));
    }
    return false;
}
