#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// One running copy per program directory: two copies would each save at close,
// and the last one would silently overwrite the other's changes.
class InstanceLock final {
public:
    static inline const QString kFileName = QStringLiteral("zorivka.lock");

    // True when this copy may use the directory's files. A lock left by a copy
    // that no longer runs is taken over.
    bool acquire(const QString& dir);

private:
    std::unique_ptr<QLockFile> m_lock;
};
