#include "platform/program_dir.h"

#include "platform/messenger.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
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

// The data file comes last: without it the next start is a first run, so a
// copy cut short never mixes the user's settings with a fresh calendar.
const QStringList& userFiles()
{
    static const QStringList names { QStringLiteral("nastaveni.ini"), QStringLiteral("prehled roku.zrk"),
        QStringLiteral("prehled dnu.zrk"), QStringLiteral("data.zrk") };
    return names;
}

bool copyFile(const QString& from, const QString& to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError)
        return false;
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly))
        return false;
    if (target.write(bytes) != bytes.size() || !target.flush()) {
        target.cancelWriting();
        return false;
    }
    return target.commit();
}
} // namespace

QString choose(const QString& preferred, const QString& fallback, bool create)
{
    if (canCreateFilesIn(preferred))
        return QDir(preferred).absolutePath();
    if (create)
        QDir().mkpath(fallback);
    return QDir(fallback).absolutePath();
}

QString resolve()
{
    return choose(QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QString locate()
{
    return choose(QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), false);
}

bool adoptFiles(const QString& programDir, const QString& dir, Messenger& messenger)
{
    const QDir from(programDir);
    const QDir to(dir);
    if (from.absolutePath() == to.absolutePath() || to.exists(userFiles().last())
        || !QFileInfo(from.filePath(userFiles().last())).isFile())
        return false;
    for (const QString& name : userFiles()) {
        if (!QFileInfo(from.filePath(name)).isFile())
            continue;
        if (!copyFile(from.filePath(name), to.filePath(name))) {
            messenger.show(Messenger::Icon::Error, QStringLiteral("Chyba"),
                QStringLiteral("Soubory kalendáře ze složky programu „%1“ se nepodařilo zkopírovat do "
                               "složky „%2“. Program začne s prázdným kalendářem.")
                    .arg(QDir::toNativeSeparators(from.absolutePath()),
                        QDir::toNativeSeparators(to.absolutePath())));
            return false;
        }
    }
    messenger.show(Messenger::Icon::Information, QStringLiteral("Informace"),
        QStringLiteral(
            "Do složky programu „%1“ nelze zapisovat. Kalendář a nastavení z ní byly zkopírovány do "
            "složky „%2“ a program je bude ukládat tam. Soubory ve složce programu zůstaly beze změny.")
            .arg(QDir::toNativeSeparators(from.absolutePath()), QDir::toNativeSeparators(to.absolutePath())));
    return true;
}

bool adoptFiles(const QString& dir, Messenger& messenger)
{
    return adoptFiles(QCoreApplication::applicationDirPath(), dir, messenger);
}

} // namespace program_dir
