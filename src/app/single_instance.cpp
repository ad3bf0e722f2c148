#include "app/single_instance.h"

#include <QDir>

bool InstanceLock::acquire(const QString& dir)
{
    m_lock = std::make_unique<QLockFile>(QDir(dir).filePath(kFileName));
    m_lock->setStaleLockTime(0);
    return m_lock->tryLock(0);
}
