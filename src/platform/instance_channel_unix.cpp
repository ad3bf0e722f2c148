#include "platform/instance_channel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <sys/time.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
// A message is a short line; a client that sends more, or nothing for a while, is dropped.
constexpr qsizetype kMaxMessage = 64;
constexpr int kClientMs = 1000;

// The socket lives in the user's runtime folder, else in the temporary folder: a Unix
// socket's path is limited to sizeof(sun_path) bytes, so the program directory will not do.
QByteArray socketPath(const QString& name)
{
    constexpr qsizetype kRoom = sizeof(sockaddr_un::sun_path);
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) {
        const QByteArray path = QFile::encodeName(QDir(runtime).filePath(name));
        if (path.size() < kRoom)
            return path;
    }
    return QFile::encodeName(QDir(QDir::tempPath()).filePath(name)).left(kRoom - 1);
}

sockaddr_un addressOf(const QByteArray& path)
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    return address;
}

// One connected client: its bytes are gathered until it closes or ends its line.
class Client final : public QObject {
public:
    Client(int fd, InstanceChannel* channel)
        : QObject(channel)
        , m_fd(fd)
        , m_notifier(fd, QSocketNotifier::Read, this)
    {
        connect(&m_notifier, &QSocketNotifier::activated, this, [this, channel] { readFrom(*channel); });
        QTimer::singleShot(kClientMs, this, [this] { deleteLater(); });
    }
    ~Client() override { ::close(m_fd); }

private:
    void readFrom(InstanceChannel& channel)
    {
        char buffer[kMaxMessage];
        const ssize_t got = ::recv(m_fd, buffer, sizeof buffer, 0);
        if (got < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        if (got > 0)
            m_message.append(buffer, got);
        if (got <= 0 || m_message.endsWith('\n') || m_message.size() >= kMaxMessage) {
            m_notifier.setEnabled(false);
            if (got >= 0 && m_message.size() <= kMaxMessage)
                emit channel.received(m_message);
            deleteLater();
        }
    }

    int m_fd;
    QSocketNotifier m_notifier;
    QByteArray m_message;
};
} // namespace

struct InstanceChannel::Private {
    int fd = -1;
    QByteArray path;
    QSocketNotifier* notifier = nullptr;
};

InstanceChannel::InstanceChannel(QObject* parent)
    : QObject(parent)
    , d(std::make_unique<Private>())
{
}

InstanceChannel::~InstanceChannel()
{
    if (d->fd < 0)
        return;
    ::close(d->fd);
    ::unlink(d->path.constData());
}

bool InstanceChannel::listen(const QString& name)
{
    const QByteArray path = socketPath(name);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    // Only the lock's holder listens, so a socket already there is a dead copy's.
    ::unlink(path.constData());
    const sockaddr_un address = addressOf(path);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 8) != 0) {
        ::close(fd);
        return false;
    }
    d->fd = fd;
    d->path = path;
    d->notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(d->notifier, &QSocketNotifier::activated, this, [this] {
        int client;
        while ((client = ::accept4(d->fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0)
            new Client(client, this);
    });
    return true;
}

bool InstanceChannel::send(const QString& name, const QByteArray& message, int timeoutMs)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // Connecting and sending give up after the time: a copy that hangs must not hang this one.
    const timeval limit { timeoutMs / 1000, (timeoutMs % 1000) * 1000 };
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    const sockaddr_un address = addressOf(socketPath(name));
    bool sent = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    for (qsizetype done = 0; sent && done < message.size();) {
        const ssize_t wrote = ::send(fd, message.constData() + done, size_t(message.size() - done), MSG_NOSIGNAL);
        if (wrote > 0)
            done += wrote;
        else
            sent = wrote < 0 && errno == EINTR;
    }
    ::close(fd);
    return sent;
}
