#include "calendar/day_table.h"
#include "largest_table.h"
#include "recording_messenger.h"
#include "records/data_file.h"
#include "records/event_record.h"

#include "test_files.h"

#include <QtTest>

#include <csignal>
#include <cstring>
#include <sys/resource.h>

using namespace Qt::StringLiterals;
using Field = EventRecord::Field;

namespace {

using test_files::readRaw;
using test_files::writeRaw;

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

EventRecord sampleRow(const QString& time, const QString& event)
{
    EventRecord record = EventRecord::dayRow(u"Po"_s, u"05.03.2004"_s);
    record.setText(Field::Time, time);
    record.setText(Field::Event, event);
    return record;
}

// Every message as "title|text", the error icon marked with a leading "!".
QStringList shown(const RecordingMessenger& messenger)
{
    QStringList all;
    for (const auto& m : messenger.messages())
        all << (m.icon == Messenger::Icon::Error ? u"!"_s : QString()) + m.title + u'|' + m.text;
    return all;
}

} // namespace

class RecordsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void fields();
    void load();
    void saving();
    void tableAnnouncesChanges();
};

void RecordsTest::fields()
{
    const std::tuple<Field, int, int> layout[] = { { Field::DayName, 0, 7 }, { Field::Date, 8, 10 },
        { Field::Time, 19, 12 }, { Field::Event, 32, 40 }, { Field::Value1, 73, 30 }, { Field::Value2, 104, 30 } };
    const QString full = u"Žčřabcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJ"_s; // longer than any field
    const QByteArray fullBytes = "\x8E\xE8\xF8" + QByteArray("abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJ");
    for (const auto& [field, offset, capacity] : layout) {
        // Cut to the capacity in characters, one Windows-1250 byte each, touching only its own field.
        EventRecord record = EventRecord::blank();
        record.setText(field, full);
        QByteArray expected(135, '\0');
        QCOMPARE(rawOf(record), expected.replace(offset, capacity + 1, fieldBytes(fullBytes.left(capacity), capacity)));
        QCOMPARE(record.text(field), full.left(capacity));
        // The bytes after a shorter text are zeros, also over garbage from a damaged file.
        EventRecord dirty = recordFromRaw(QByteArray(135, '\xAA'));
        dirty.setText(field, u"c"_s);
        QCOMPARE(rawOf(dirty).mid(offset, capacity + 1), fieldBytes("c", capacity));
        // A length byte above the capacity, from a damaged file, is clamped.
        for (int length : { capacity + 1, 255 }) {
            QByteArray raw(135, 'q');
            raw[offset] = char(length);
            QCOMPARE(recordFromRaw(raw).text(field), QString(capacity, u'q'));
        }
    }
}

void RecordsTest::load()
{
    // Whole records in the file, then bytes of one more (-1: no file, -2: a directory); the message.
    const QString memory = u"!Chyba|Není dostatek paměti pro vytvoření seznamu"_s,
                  open = u"!Chyba|Při otevírání souboru nastala chyba"_s;
    const std::tuple<int, int, QString> cases[]
        = { { 0, 0, QString() }, { 0, 1, memory }, { 2, 134, memory }, { -1, 0, open }, { -2, 0, open } };
    for (const auto& [records, extraBytes, message] : cases) {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QByteArray bytes;
        for (int i = 0; i < records; ++i) {
            QByteArray raw = rawOf(sampleRow(QString::number(i), u"Akce %1"_s.arg(i)));
            for (int b = 0; b < 135; ++b) // garbage after the texts, which must not matter
                raw[b] = raw[b] || b == 73 || b == 104 ? raw[b] : char('A' + b % 26);
            bytes += raw;
        }
        bytes += rawOf(sampleRow(u"x"_s, u"neúplný"_s)).left(extraBytes);
        QVERIFY(records < 0 || writeRaw(dir.filePath(u"data.zrk"_s), bytes));
        QVERIFY(records != -2 || QDir(dir.path()).mkdir(u"data.zrk"_s));

        DayTable table;
        table.appendRecords({ sampleRow({}, {}), sampleRow({}, {}), sampleRow({}, {}) }); // replaced
        RecordingMessenger messenger;
        data_file::LoadData(dir.path(), table, messenger);
        QCOMPARE(shown(messenger), message.isEmpty() ? QStringList() : QStringList { message });
        QCOMPARE(table.rowCount(), qMax(records, 0));
        for (int i = 0; i < records; ++i)
            QVERIFY(table.record(i) == sampleRow(QString::number(i), u"Akce %1"_s.arg(i)));
    }
}

void RecordsTest::saving()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"data.zrk"_s);
    const auto entries
        = [&] { return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden); };
    RecordingMessenger messenger;
    // An empty list is never saved: no file is created, and an existing one is left alone.
    const DayTable empty;
    QVERIFY(!data_file::SaveData(dir.path(), empty, messenger));
    QVERIFY(entries().isEmpty());
    const QByteArray previous = rawOf(sampleRow(u"18:00"_s, u"Předchozí"_s)).repeated(3);
    QVERIFY(writeRaw(path, previous));
    QVERIFY(!data_file::SaveData(dir.path(), empty, messenger));
    QCOMPARE(readRaw(path), previous);

    const largest_table::Table sample = largest_table::make();
    DayTable table;
    table.replaceRecords(sample.records);
    QVERIFY(!data_file::SaveData(dir.filePath(u"nowhere"_s), table, messenger));
    // The table is far larger than the file size limit, so the write fails midway
    // (permissions would not stop root) and the previous file stays whole.
    rlimit saved {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const rlimit limited { 256 * 1024, saved.rlim_max };
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool written = data_file::SaveData(dir.path(), table, messenger);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY(!written);
    QCOMPARE(readRaw(path), previous);
    QCOMPARE(entries(), QStringList { u"data.zrk"_s });
    QCOMPARE(shown(messenger), QStringList({ "!Chyba|Seznam je prázdný", "!Chyba|Seznam je prázdný",
        "!Chyba|Chyba při vytváření souboru", "!Chyba|Chyba při vytváření souboru" }));

    // The largest table saves byte for byte and loads back the same.
    messenger.clear();
    QVERIFY(data_file::SaveData(dir.path(), table, messenger));
    const QByteArray bytes = readRaw(path);
    QCOMPARE(bytes.size(), qsizetype(135) * (largest_table::kDayRows + largest_table::kEventRows));
    QCOMPARE(bytes, QByteArray(reinterpret_cast<const char*>(sample.records.data()), bytes.size()));
    DayTable loaded;
    data_file::LoadData(dir.path(), loaded, messenger);
    QVERIFY(messenger.messages().isEmpty());
    QVERIFY(loaded.records() == sample.records);
}

void RecordsTest::tableAnnouncesChanges()
{
    // Single edits announce their own rows; whole-table operations a reset and nothing finer.
    DayTable table;
    QSignalSpy inserted(&table, &DayTable::rowsInserted), removed(&table, &DayTable::rowsRemoved);
    QSignalSpy changed(&table, &DayTable::rowChanged), reset(&table, &DayTable::resetDone);
    table.appendRecords({ sampleRow({}, {}), sampleRow({}, {}), sampleRow({}, {}) });
    table.insertRecord(1, sampleRow(u"1"_s, u"vložený"_s));
    table.setRecord(3, sampleRow(u"2"_s, u"změněný"_s));
    table.removeRecords(1, 2);
    QCOMPARE(table.record(1).text(Field::Event), u"změněný"_s);
    QVERIFY(reset.isEmpty());
    table.clearRecords();
    using Calls = QList<QVariantList>;
    QCOMPARE(Calls(inserted) + Calls(changed) + Calls(removed), (Calls { { 0, 2 }, { 1, 1 }, { 3 }, { 1, 2 } }));
    QCOMPARE(reset.size(), 1);
}

QTEST_GUILESS_MAIN(RecordsTest)
#include "tst_records.moc"
