#include "calendar/day_table.h"
#include "largest_table.h"
#include "recording_messenger.h"
#include "records/data_file.h"
#include "records/event_record.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace Qt::StringLiterals;
using Field = EventRecord::Field;

Q_DECLARE_METATYPE(EventRecord::Field)

namespace {

QByteArray rawOf(const EventRecord& record)
{
    return QByteArray(reinterpret_cast<const char*>(&record), sizeof record);
}

EventRecord recordFromRaw(const QByteArray& raw)
{
    EventRecord record;
    std::memcpy(&record, raw.constData(), sizeof record);
    return record;
}

// A field as it should lie on disk: length byte, text, zeros up to the capacity.
QByteArray fieldBytes(const QByteArray& text, int capacity)
{
    return char(text.size()) + text + QByteArray(capacity - text.size(), '\0');
}

QByteArray readRaw(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

bool writeRaw(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

EventRecord sampleRow(const QString& time, const QString& event)
{
    EventRecord record = EventRecord::dayRow(u"Po"_s, u"05.03.2004"_s);
    record.setText(Field::Time, time);
    record.setText(Field::Event, event);
    return record;
}

void expectOnlyMessage(const RecordingMessenger& messenger, const QString& text)
{
    QCOMPARE(messenger.messages().size(), 1);
    const RecordingMessenger::Message& message = messenger.messages().first();
    QCOMPARE(message.text, text);
    QCOMPARE(message.title, u"Chyba"_s);
    QCOMPARE(message.icon, Messenger::Icon::Error);
}

} // namespace

class RecordsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    // The record
    void fieldLayout_data();
    void fieldLayout();
    void storeTruncates_data();
    void storeTruncates();
    void czechLettersAreSingleBytes();
    void bytesAfterTextAreZero_data();
    void bytesAfterTextAreZero();
    void damagedLengthIsClamped();

    // The data file
    void oneRowIsExactly135Bytes();
    void bytesAfterTextDoNotMatterOnLoad();
    void zeroLengthFileLoadsEmpty();
    void incompleteLastRecord_data();
    void incompleteLastRecord();
    void unopenableFileLoadsEmpty_data();
    void unopenableFileLoadsEmpty();
    void emptyListIsNeverSaved();
    void failedSave_data();
    void failedSave();
    void failedWriteKeepsPreviousFile();
    void largestTableRoundTrip();

    // The table's notifications
    void tableAnnouncesChanges();
};

void RecordsTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void RecordsTest::fieldLayout_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("capacity");
    QTest::newRow("dayName") << Field::DayName << 0 << 7;
    QTest::newRow("date") << Field::Date << 8 << 10;
    QTest::newRow("time") << Field::Time << 19 << 12;
    QTest::newRow("event") << Field::Event << 32 << 40;
    QTest::newRow("value1") << Field::Value1 << 73 << 30;
    QTest::newRow("value2") << Field::Value2 << 104 << 30;
}

void RecordsTest::fieldLayout()
{
    QFETCH(Field, field);
    QFETCH(int, offset);
    QFETCH(int, capacity);
    QCOMPARE(sizeof(EventRecord), size_t(135));
    QCOMPARE(EventRecord::capacity(field), capacity);

    // A full field touches exactly its own bytes: the length byte at the offset, then the text.
    EventRecord record = EventRecord::blank();
    const QByteArray text = QByteArray("abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJ").left(capacity);
    record.setText(field, QString::fromLatin1(text));
    QByteArray expected(135, '\0');
    expected.replace(offset, capacity + 1, fieldBytes(text, capacity));
    QCOMPARE(rawOf(record), expected);
}

void RecordsTest::storeTruncates_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    QTest::newRow("45-char event") << Field::Event << u"Koncert komorního orchestru v Rudolfinu, sál!"_s
                                   << u"Koncert komorního orchestru v Rudolfinu,"_s;
    QTest::newRow("12-char day name") << Field::DayName << u"Čtvrtekabcde"_s << u"Čtvrtek"_s;
    QTest::newRow("date at capacity") << Field::Date << u"01.11.2004"_s << u"01.11.2004"_s;
    QTest::newRow("date too long") << Field::Date << u"01.11.20045"_s << u"01.11.2004"_s;
    QTest::newRow("time 13 chars") << Field::Time << u"19:00 – 22:30"_s << u"19:00 – 22:3"_s;
    QTest::newRow("value1 31 chars") << Field::Value1 << QString(31, u'ž') << QString(30, u'ž');
    QTest::newRow("value2 empty") << Field::Value2 << QString() << QString();
}

void RecordsTest::storeTruncates()
{
    QFETCH(Field, field);
    QFETCH(QString, text);
    QFETCH(QString, stored);
    EventRecord record = EventRecord::blank();
    record.setText(field, text);
    QCOMPARE(record.text(field), stored);
    QCOMPARE(record.bytes(field).size(), stored.size());
}

void RecordsTest::czechLettersAreSingleBytes()
{
    EventRecord record = EventRecord::blank();
    record.setText(Field::Event, u"Žluťoučký kůň úpěl ďábelské ódy"_s);
    const QByteArray expected("\x8Elu\x9Dou\xE8k\xFD k\xF9\xF2 \xFAp\xECl \xEF\xE1\x62\x65lsk\xE9 \xF3\x64y");
    QCOMPARE(record.bytes(Field::Event), expected);
    QCOMPARE(rawOf(record).mid(32, 41), fieldBytes(expected, 40));
    QCOMPARE(record.text(Field::Event), u"Žluťoučký kůň úpěl ďábelské ódy"_s);

    // Capacity counts characters, so seven Czech letters fill the day name.
    record.setText(Field::DayName, u"Čtvrtek"_s);
    QCOMPARE(rawOf(record).left(8), QByteArray("\x07\xC8tvrtek"));
}

void RecordsTest::bytesAfterTextAreZero_data()
{
    fieldLayout_data();
}

void RecordsTest::bytesAfterTextAreZero()
{
    QFETCH(Field, field);
    QFETCH(int, offset);
    QFETCH(int, capacity);
    EventRecord record = EventRecord::blank();
    record.setText(field, QString(capacity, u'ř'));
    record.setText(field, u"ab"_s);
    QCOMPARE(rawOf(record).mid(offset, capacity + 1), fieldBytes("ab", capacity));

    // Also over storage that held garbage, as a record read from a damaged file does.
    EventRecord dirty = recordFromRaw(QByteArray(135, '\xAA'));
    dirty.setText(field, u"c"_s);
    QCOMPARE(rawOf(dirty).mid(offset, capacity + 1), fieldBytes("c", capacity));
}

void RecordsTest::damagedLengthIsClamped()
{
    QByteArray raw = rawOf(sampleRow(u"19:00"_s, u"Koncert"_s));
    raw[0] = char(200); // day name, capacity 7
    raw[32] = char(41); // event, capacity 40
    raw[104] = char(255); // value 2, capacity 30
    const EventRecord record = recordFromRaw(raw);
    QCOMPARE(record.bytes(Field::DayName), raw.mid(1, 7));
    QCOMPARE(record.text(Field::Event).size(), 40);
    QVERIFY(record.text(Field::Event).startsWith(u"Koncert"_s));
    QCOMPARE(record.bytes(Field::Value2).size(), 30);
    QCOMPARE(record.text(Field::Date), u"05.03.2004"_s);
    QCOMPARE(record.text(Field::Time), u"19:00"_s);
}

void RecordsTest::oneRowIsExactly135Bytes()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    DayTable table;
    EventRecord row = sampleRow(u"19:30"_s, u"Koncert – Dvořák"_s);
    row.setText(Field::Value1, u"Rudolfinum"_s);
    table.appendRecords({ row });
    RecordingMessenger messenger;
    QVERIFY(data_file::SaveData(dir.path(), table, messenger));
    QVERIFY(messenger.messages().isEmpty());

    const QByteArray expected = fieldBytes("Po", 7) + fieldBytes("05.03.2004", 10) + fieldBytes("19:30", 12)
        + fieldBytes("Koncert \x96 Dvo\xF8\xE1k", 40) + fieldBytes("Rudolfinum", 30) + fieldBytes("", 30);
    QCOMPARE(expected.size(), 135);
    QCOMPARE(readRaw(dir.filePath(u"data.zrk"_s)), expected);

    DayTable loaded;
    data_file::LoadData(dir.path(), loaded, messenger);
    QVERIFY(messenger.messages().isEmpty());
    QCOMPARE(loaded.rowCount(), 1);
    QCOMPARE(loaded.record(0).text(Field::Event), u"Koncert – Dvořák"_s);
    QCOMPARE(loaded.record(0).text(Field::Value1), u"Rudolfinum"_s);
    QVERIFY(loaded.record(0) == row);
}

void RecordsTest::bytesAfterTextDoNotMatterOnLoad()
{
    QTemporaryDir clean;
    QTemporaryDir dirty;
    QVERIFY(clean.isValid() && dirty.isValid());
    const QList<EventRecord> rows { sampleRow(u"10:00"_s, u"Výstava"_s), sampleRow({}, {}),
        sampleRow(u"20:00"_s, {}) };
    QByteArray cleanBytes;
    QByteArray dirtyBytes;
    for (const EventRecord& row : rows) {
        QByteArray raw = rawOf(row);
        cleanBytes += raw;
        const int offsets[] = { 0, 8, 19, 32, 73, 104, 135 };
        for (int f = 0; f < 6; ++f) {
            for (int i = offsets[f] + 1 + quint8(raw[offsets[f]]); i < offsets[f + 1]; ++i)
                raw[i] = char(0x41 + (i % 26));
        }
        dirtyBytes += raw;
    }
    QVERIFY(cleanBytes != dirtyBytes);
    QVERIFY(writeRaw(clean.filePath(u"data.zrk"_s), cleanBytes));
    QVERIFY(writeRaw(dirty.filePath(u"data.zrk"_s), dirtyBytes));

    RecordingMessenger messenger;
    DayTable fromClean;
    DayTable fromDirty;
    data_file::LoadData(clean.path(), fromClean, messenger);
    data_file::LoadData(dirty.path(), fromDirty, messenger);
    QVERIFY(messenger.messages().isEmpty());
    QCOMPARE(fromDirty.rowCount(), 3);
    for (int row = 0; row < 3; ++row) {
        QVERIFY(fromClean.record(row) == fromDirty.record(row));
        for (int f = 0; f < EventRecord::fieldCount; ++f)
            QCOMPARE(fromDirty.record(row).text(Field(f)), rows[row].text(Field(f)));
    }
}

void RecordsTest::zeroLengthFileLoadsEmpty()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeRaw(dir.filePath(u"data.zrk"_s), {}));
    DayTable table;
    table.appendRecords({ sampleRow({}, {}) });
    RecordingMessenger messenger;
    data_file::LoadData(dir.path(), table, messenger);
    QCOMPARE(table.rowCount(), 0);
    QVERIFY(messenger.messages().isEmpty());
}

void RecordsTest::incompleteLastRecord_data()
{
    QTest::addColumn<int>("wholeRecords");
    QTest::addColumn<int>("extraBytes");
    QTest::newRow("one byte alone") << 0 << 1;
    QTest::newRow("one byte short of a record") << 0 << 134;
    QTest::newRow("two records and a half") << 2 << 67;
    QTest::newRow("three records and one byte") << 3 << 1;
}

void RecordsTest::incompleteLastRecord()
{
    QFETCH(int, wholeRecords);
    QFETCH(int, extraBytes);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QByteArray bytes;
    for (int i = 0; i < wholeRecords; ++i)
        bytes += rawOf(sampleRow(QString::number(i), u"Akce %1"_s.arg(i)));
    bytes += rawOf(sampleRow(u"x"_s, u"neúplný"_s)).left(extraBytes);
    QVERIFY(writeRaw(dir.filePath(u"data.zrk"_s), bytes));

    DayTable table;
    RecordingMessenger messenger;
    data_file::LoadData(dir.path(), table, messenger);
    expectOnlyMessage(messenger, u"Není dostatek paměti pro vytvoření seznamu"_s);
    QCOMPARE(table.rowCount(), wholeRecords);
    for (int i = 0; i < wholeRecords; ++i)
        QCOMPARE(table.record(i).text(Field::Event), u"Akce %1"_s.arg(i));
}

void RecordsTest::unopenableFileLoadsEmpty_data()
{
    QTest::addColumn<bool>("isDirectory");
    QTest::newRow("missing") << false;
    QTest::newRow("a directory") << true;
}

void RecordsTest::unopenableFileLoadsEmpty()
{
    QFETCH(bool, isDirectory);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    if (isDirectory)
        QVERIFY(QDir(dir.path()).mkdir(u"data.zrk"_s));
    DayTable table;
    table.appendRecords({ sampleRow({}, {}), sampleRow({}, {}) });
    RecordingMessenger messenger;
    data_file::LoadData(dir.path(), table, messenger);
    expectOnlyMessage(messenger, u"Při otevírání souboru nastala chyba"_s);
    QCOMPARE(table.rowCount(), 0);
}

void RecordsTest::emptyListIsNeverSaved()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"data.zrk"_s);
    DayTable empty;
    RecordingMessenger messenger;

    // No file is created...
    QVERIFY(!data_file::SaveData(dir.path(), empty, messenger));
    expectOnlyMessage(messenger, u"Seznam je prázdný"_s);
    QVERIFY(!QFileInfo::exists(path));

    // ...and an existing one is neither emptied nor deleted.
    const QByteArray previous = rawOf(sampleRow(u"8:00"_s, u"Trh"_s));
    QVERIFY(writeRaw(path, previous));
    messenger.clear();
    QVERIFY(!data_file::SaveData(dir.path(), empty, messenger));
    expectOnlyMessage(messenger, u"Seznam je prázdný"_s);
    QCOMPARE(readRaw(path), previous);
}

void RecordsTest::failedSave_data()
{
    QTest::addColumn<bool>("dataFileIsDirectory");
    QTest::newRow("directory missing") << false;
    QTest::newRow("data.zrk is a directory") << true;
}

void RecordsTest::failedSave()
{
    QFETCH(bool, dataFileIsDirectory);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString target = dir.filePath(u"nowhere"_s);
    if (dataFileIsDirectory) {
        target = dir.path();
        QVERIFY(QDir(target).mkpath(u"data.zrk/inside"_s));
    }
    DayTable table;
    table.appendRecords({ sampleRow(u"9:00"_s, u"Divadlo"_s) });
    RecordingMessenger messenger;
    QVERIFY(!data_file::SaveData(target, table, messenger));
    expectOnlyMessage(messenger, u"Chyba při vytváření souboru"_s);
    QCOMPARE(table.rowCount(), 1);

    // Nothing was created or replaced, and no temporary file is left behind.
    const QStringList expected = dataFileIsDirectory ? QStringList { u"data.zrk"_s } : QStringList {};
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), expected);
    if (dataFileIsDirectory)
        QVERIFY(QFileInfo(dir.filePath(u"data.zrk/inside"_s)).isDir());
}

void RecordsTest::failedWriteKeepsPreviousFile()
{
#ifdef Q_OS_UNIX
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"data.zrk"_s);
    const QByteArray previous = rawOf(sampleRow(u"18:00"_s, u"Předchozí"_s)).repeated(3);
    QVERIFY(writeRaw(path, previous));

    DayTable table;
    largest_table::fill(table, 0);
    RecordingMessenger messenger;

    // The table is far larger than the limit, so the write fails midway; a
    // permission trick would not stop root.
    rlimit saved {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = 256 * 1024;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool written = data_file::SaveData(dir.path(), table, messenger);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!written);
    expectOnlyMessage(messenger, u"Chyba při vytváření souboru"_s);
    QCOMPARE(readRaw(path), previous);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList { u"data.zrk"_s });
#else
    QSKIP("Needs a file size limit to make the write fail.");
#endif
}

void RecordsTest::largestTableRoundTrip()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const largest_table::Table sample = largest_table::make();
    DayTable table;
    table.replaceRecords(sample.records);
    RecordingMessenger messenger;
    QVERIFY(data_file::SaveData(dir.path(), table, messenger));

    const QByteArray bytes = readRaw(dir.filePath(u"data.zrk"_s));
    QCOMPARE(bytes.size(), qsizetype(135) * qsizetype(sample.records.size()));
    QCOMPARE(bytes.size(), qsizetype(135) * (largest_table::kDayRows + largest_table::kEventRows));
    QCOMPARE(bytes, QByteArray(reinterpret_cast<const char*>(sample.records.data()), bytes.size()));

    DayTable loaded;
    loaded.appendRecords({ sampleRow({}, {}) }); // replaced, not appended to
    data_file::LoadData(dir.path(), loaded, messenger);
    QVERIFY(messenger.messages().isEmpty());
    QCOMPARE(loaded.rowCount(), int(sample.records.size()));
    QVERIFY(loaded.records() == sample.records);
}

void RecordsTest::tableAnnouncesChanges()
{
    DayTable table;
    QSignalSpy inserted(&table, &DayTable::rowsInserted);
    QSignalSpy removed(&table, &DayTable::rowsRemoved);
    QSignalSpy changed(&table, &DayTable::rowChanged);
    QSignalSpy reset(&table, &DayTable::resetDone);

    table.appendRecords({ sampleRow({}, {}), sampleRow({}, {}), sampleRow({}, {}) });
    QCOMPARE(inserted.takeFirst(), (QVariantList { 0, 2 }));
    table.appendRecords({});
    table.insertRecord(1, sampleRow(u"1"_s, u"vložený"_s));
    QCOMPARE(inserted.takeFirst(), (QVariantList { 1, 1 }));
    QCOMPARE(table.record(1).text(Field::Event), u"vložený"_s);
    table.setRecord(3, sampleRow(u"2"_s, u"změněný"_s));
    QCOMPARE(changed.takeFirst(), QVariantList { 3 });
    table.removeRecords(1, 2);
    QCOMPARE(removed.takeFirst(), (QVariantList { 1, 2 }));
    QCOMPARE(table.rowCount(), 2);
    QCOMPARE(table.record(1).text(Field::Event), u"změněný"_s);
    table.removeRecords(0, 0);
    QVERIFY(inserted.isEmpty() && removed.isEmpty() && changed.isEmpty() && reset.isEmpty());

    // Whole-table operations are a reset and nothing finer.
    table.clearRecords();
    QCOMPARE(reset.size(), 1);
    QVERIFY(removed.isEmpty());
}

QTEST_GUILESS_MAIN(RecordsTest)
#include "tst_records.moc"
