#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

// The local channel on which a later start asks the running copy to come to the front:
// a Unix-domain socket, or a named pipe on Windows. Only the copy that holds the
// directory's lock listens, so an endpoint found on listening was left by a copy that
// no longer runs and is taken over. No network library is involved.
class InstanceChannel final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InstanceChannel)

public:
    explicit InstanceChannel(QObject* parent = nullptr);
    ~InstanceChannel() override;

    // Starts listening on the endpoint of that name; false when it cannot be made.
    bool listen(const QString& name);

    // Sends one short message to whoever listens on the name; false when nobody took it
    // within the time.
    static bool send(const QString& name, const QByteArray& message, int timeoutMs);

signals:
    // One client's whole message.
    void received(const QByteArray& message);

private:
    struct Private;
    std::unique_ptr<Private> d;
};
