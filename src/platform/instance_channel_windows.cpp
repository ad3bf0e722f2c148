#include "platform/instance_channel.h"

#include "platform/win32_pipe.h"

#include <QWinEventNotifier>

#include <string>

namespace {
constexpr unsigned kClientMs = 1000;
} // namespace

struct InstanceChannel::Private {
    win32_pipe::Server server;
    QWinEventNotifier* notifier = nullptr;
};

InstanceChannel::InstanceChannel(QObject* parent)
    : QObject(parent)
    , d(std::make_unique<Private>())
{
}

InstanceChannel::~InstanceChannel() = default;

bool InstanceChannel::listen(const QString& name)
{
    // A pipe disappears with the process that made it: nothing is ever left to take over.
    if (!d->server.listen(name.toStdWString()))
        return false;
    d->notifier = new QWinEventNotifier(d->server.event(), this);
    connect(d->notifier, &QWinEventNotifier::activated, this, [this] {
        std::string message;
        if (d->server.takeMessage(message, kClientMs))
            emit received(QByteArray::fromStdString(message));
    });
    return true;
}

bool InstanceChannel::send(const QString& name, const QByteArray& message, int timeoutMs)
{
    return win32_pipe::send(name.toStdWString(), message.toStdString(), unsigned(timeoutMs));
}
