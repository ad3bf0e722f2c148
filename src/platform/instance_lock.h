#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class InstanceChannel;
class Messenger;

// One running copy per program directory: two copies would each save at close,
// and the last one would silently overwrite the other's changes. The copy that
// holds the lock also listens for a later start, which asks it to come to the front.
class InstanceLock final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InstanceLock)

public:
    static inline const QString kFileName = QStringLiteral("zorivka.lock");

    InstanceLock();
    ~InstanceLock() override;

    // True when this copy may use the directory's files. A lock left by a copy
    // that no longer runs is taken over.
    bool hold(const QString& dir);

    // hold(), and then listen for later starts.
    bool acquire(const QString& dir);

    // Asks the copy that runs on `dir` to show its window; false when none answered.
    static bool activateRunning(const QString& dir);

    // acquire(), or else hand over to the running copy: it is asked to come to the
    // front, and when it does not answer the user is told that it runs.
    bool acquireOrHandOver(const QString& dir, Messenger& messenger);

    // The channel's name for a directory: the same for every copy that works on it.
    static QString channelName(const QString& dir);

signals:
    void activationRequested();

private:
    std::unique_ptr<QLockFile> m_lock;
    InstanceChannel* m_channel = nullptr;
};
