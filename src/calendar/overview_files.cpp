#include "calendar/overview_files.h"

#include "platform/cp1250.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace overview_files {

namespace {
    LoadResult readLines(const QString& path, QStringList& lines)
    {
        QFile file(path);
        if (!file.exists())
            return LoadResult::Missing;
        if (!file.open(QIODevice::ReadOnly))
            return LoadResult::Unreadable;
        lines = parseLines(file.readAll());
        return file.error() == QFileDevice::NoError ? LoadResult::Loaded : LoadResult::Unreadable;
    }

    bool writeFile(const QString& path, const QByteArray& bytes)
    {
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        if (file.write(bytes) != bytes.size() || !file.flush()) {
            file.cancelWriting();
            return false;
        }
        return file.commit();
    }
}

QStringList parseLines(const QByteArray& bytes)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    while (start < size) {
        qsizetype end = start;
        while (end < size && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        lines << cp1250::decode(QByteArrayView(bytes).sliced(start, end - start));
        if (end < size && bytes[end] == '\r' && end + 1 < size && bytes[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

QByteArray joinLines(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += cp1250::encode(line);
        bytes += "\r\n";
    }
    return bytes;
}

LoadResult load(const QString& dir, QStringList& years, QStringList& dayCounts)
{
    QStringList newYears;
    QStringList newDayCounts;
    const LoadResult yearsResult = readLines(QDir(dir).filePath(kYearsFile), newYears);
    if (yearsResult != LoadResult::Loaded)
        return yearsResult;
    const LoadResult daysResult = readLines(QDir(dir).filePath(kDaysFile), newDayCounts);
    if (daysResult != LoadResult::Loaded)
        return daysResult;
    years = newYears;
    dayCounts = newDayCounts;
    return LoadResult::Loaded;
}

bool save(const QString& dir, const QStringList& years, const QStringList& dayCounts)
{
    const bool yearsSaved = writeFile(QDir(dir).filePath(kYearsFile), joinLines(years));
    const bool daysSaved = writeFile(QDir(dir).filePath(kDaysFile), joinLines(dayCounts));
    return yearsSaved && daysSaved;
}

} // namespace overview_files
