#include "records/data_file.h"

#include "platform/messenger.h"
#include "calendar/day_table.h"

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
}

bool exists(const QString& dir)
{
    return QFileInfo::exists(pathIn(dir));
}

void LoadData(const QString& dir, DayTable& table, Messenger& messenger)
{
    table.clearRecords();
    QFile file(pathIn(dir));
    if (!file.open(QIODevice::ReadOnly)) {
        messenger.show(Messenger::Icon::Error, kTitle, QStringLiteral("Při otevírání souboru nastala chyba"));
        return;
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
    if (!complete)
        messenger.show(Messenger::Icon::Error, kTitle, QStringLiteral("Není dostatek paměti pro vytvoření seznamu"));
}

bool SaveData(const QString& dir, const DayTable& table, Messenger& messenger)
{
    if (table.rowCount() == 0) {
        messenger.show(Messenger::Icon::Error, kTitle, QStringLiteral("Seznam je prázdný"));
        return false;
    }
    QSaveFile file(pathIn(dir));
    bool written = file.open(QIODevice::WriteOnly);
    if (written) {
        const qint64 size = static_cast<qint64>(table.records().size() * sizeof(EventRecord));
        written = file.write(reinterpret_cast<const char*>(table.records().data()), size) == size
            && file.flush() && file.commit();
        if (!written)
            file.cancelWriting();
    }
    if (!written)
        messenger.show(Messenger::Icon::Error, kTitle, QStringLiteral("Chyba při vytváření souboru"));
    return written;
}

} // namespace data_file
