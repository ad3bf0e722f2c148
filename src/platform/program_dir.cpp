#include "platform/program_dir.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace program_dir {

namespace {
    bool canCreateFilesIn(const QString& dir)
    {
        if (!QFileInfo(dir).isDir())
            return false;
        QTemporaryFile probe(QDir(dir).filePath(QStringLiteral("zorivka-probe-XXXXXX")));
        return probe.open();
    }
}

QString choose(const QString& preferred, const QString& fallback)
{
    if (canCreateFilesIn(preferred))
        return QDir(preferred).absolutePath();
    QDir().mkpath(fallback);
    return QDir(fallback).absolutePath();
}

QString resolve()
{
    return choose(QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

} // namespace program_dir
