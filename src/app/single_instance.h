#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class Messenger;
class QLocalServer;

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
    bool acquire(const QString& dir);

    // Asks the copy that runs on `dir` to show its window; false when none answered.
    static bool activateRunning(const QString& dir);

    // acquire(), or else hand over to the running copy: it is asked to come to the
    // front, and when it does not answer the user is told that it runs.
    bool acquireOrHandOver(const QString& dir, Messenger& messenger);

signals:
    void activationRequested();

private:
    static QString serverName(const QString& dir);

    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};
