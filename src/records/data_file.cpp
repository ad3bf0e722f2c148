#include "records/data_file.h"

#include "calendar/day_table.h"
#include "platform/messenger.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <cstring>
#include <new>

namespace data_file {

namespace {
    const QString kTitle = QStringLiteral("Chyba");

    QString pathIn(const QString& dir)
    {
        return QDir(dir).filePath(kFileName);
}

// The whole file or, after any failure, the previous one untouched.
bool writeWhole(const QString& path, QByteArrayView bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
} // namespace

bool exists(const QString& dir)
{
    return QFileInfo::exists(pathIn(dir));
}

LoadResult LoadData(const QString& dir, DayTable& table, Messenger& messenger)
{
    table.clearRecords();
    QFile file(pathIn(dir));
    if (!file.open(QIODevice::ReadOnly)) {
        messenger.show(Messenger::Icon::Error, kTitle, QStringLiteral("Při otevírání souboru nastala chyba"));
        return LoadResult::Unopened;
    }
    constexpr qint64 recordSize = sizeof(EventRecord);
    std::vector<EventRecord> records;
    bool complete = true;
    try {
        const qint64 size = file.size();
        records.resize(static_cast<size_t>(size / recordSize));
        const qint64 wanted = static_cast<qint64>(records.size()) * recordSize;
        const qint64 got = wanted > 0 ? file.read(reinterpret_cast<char*>(records.data()), wanted) : 0;
        if (got < wanted) {
            // Keep only the whole records that did arrive.
            records.resize(static_cast<size_t>(std::max<qint64>(got, 0) / recordSize));
            complete = false;
        }
        complete = complete && size % recordSize == 0;
    } catch (const std::bad_alloc&) {
        records.clear();
        complete = false;
    }
    table.replaceRecords(std::move(records));
    if (complete)
        return LoadResult::Whole;
    messenger.show(
        Messenger::Icon::Error, kTitle, QStringLiteral("Není dostatek paměti pro vytvoření seznamu"));
    return LoadResult::Partial;
}

SaveResult writeData(const QString& dir, const DayTable& table)
{
    if (table.rowCount() == 0)
        return SaveResult::Empty;
    const qint64 size = static_cast<qint64>(table.records().size() * sizeof(EventRecord));
    const bool written = writeWhole(
        pathIn(dir), QByteArrayView(reinterpret_cast<const char*>(table.records().data()), size));
    return written ? SaveResult::Saved : SaveResult::Failed;
}

void reportSave(SaveResult result, Messenger& messenger)
{
    if (result == SaveResult::Empty)
        messenger.show(Messenger::Icon::Error, kTitle, QStringLiteral("Seznam je prázdný"));
    else if (result == SaveResult::Failed)
        messenger.show(Messenger::Icon::Error, kTitle, QStringLiteral("Chyba při vytváření souboru"));
}

bool SaveData(const QString& dir, const DayTable& table, Messenger& messenger)
{
    const SaveResult result = writeData(dir, table);
    reportSave(result, messenger);
    return result == SaveResult::Saved;
}

bool backUp(const QString& dir)
{
    QFile damaged(pathIn(dir));
    if (!damaged.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = damaged.readAll();
    if (damaged.error() != QFileDevice::NoError)
        return false;
    return writeWhole(QDir(dir).filePath(kBackupName), bytes);
}

} // namespace data_file
