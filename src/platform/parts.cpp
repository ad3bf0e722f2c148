#include "platform/parts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QPluginLoader>

namespace parts {

QString fileName(const QString& name)
{
#if defined(Q_OS_WIN)
    return QStringLiteral("zorivka-%1.dll").arg(name);
#elif defined(Q_OS_MACOS)
    return QStringLiteral("libzorivka-%1.dylib").arg(name);
#else
    return QStringLiteral("libzorivka-%1.so").arg(name);
#endif
}

QStringList searchDirs()
{
    const QString chosen = qEnvironmentVariable("ZORIVKA_PARTS_DIR");
    if (!chosen.isEmpty())
        return { chosen };
    const QDir exeDir(QCoreApplication::applicationDirPath());
    return { exeDir.filePath(QStringLiteral("parts")),
        QDir::cleanPath(exeDir.filePath(QStringLiteral(ZORIVKA_PARTS_RELATIVE_DIR))) };
}

QObject* loadObject(const QString& name, QString* error)
{
    // Loaded parts stay for the life of the program: their objects may still be in use.
    static QHash<QString, QObject*> loaded;
    if (QObject* part = loaded.value(name))
        return part;
    QString reason = QStringLiteral("soubor %1 nebyl nalezen").arg(fileName(name));
    for (const QString& dir : searchDirs()) {
        const QString path = QDir(dir).filePath(fileName(name));
        if (!QFileInfo::exists(path))
            continue;
        QPluginLoader loader(path);
        if (QObject* part = loader.instance()) {
            loaded.insert(name, part);
            return part;
        }
        reason = loader.errorString();
        break;
    }
    if (error)
        *error = QStringLiteral("Část programu „%1“ nelze načíst: %2").arg(name, reason);
    return nullptr;
}

} // namespace parts
