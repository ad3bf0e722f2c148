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

using namespace test_files;

class RecordsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void fields();
    void load();
    void saving();
    void tableAnnouncesChanges();

private:
    static QByteArray rawOf(const EventRecord& record)
    {
        return QByteArray(reinterpret_cast<const char*>(&record), 135);
    }
    static EventRecord recordFromRaw(const QByteArray& raw)
    {
        EventRecord record;
        std::memcpy(&record, raw.constData(), sizeof record);
        return record;
    }
    // A field as it should lie on disk: length byte, text, zeros up to the capacity.
    static QByteArray fieldBytes(const QByteArray& text, int capacity)
    {
        return char(text.size()) + text + QByteArray(capacity - text.size(), '\0');
    }
    static EventRecord sampleRow(const QString& time, const QString& event)
    {
        EventRecord record = EventRecord::dayRow(u"Po"_s, u"05.03.2004"_s);
        record.setText(Field::Time, time);
        record.setText(Field::Event, event);
        return record;
    }
};

void RecordsTest::fields()
{
    const std::tuple<Field, int, int> layout[]
        = { { Field::DayName, 0, 7 }, { Field::Date, 8, 10 }, { Field::Time, 19, 12 },
              { Field::Event, 32, 40 }, { Field::Value1, 73, 30 }, { Field::Value2, 104, 30 } };
    const QString full = u"Žčřabcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJ"_s; // longer than any field
    const QByteArray fullBytes
        = "\x8E\xE8\xF8" + QByteArray("abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJ");
    for (const auto& [field, offset, capacity] : layout) {
        // Cut to the capacity in characters, one Windows-1250 byte each, zeros after a shorter
        // text, touching only its own field, also over garbage from a damaged file.
        for (const auto& [text, bytes] : { std::pair { full, fullBytes }, { u"c"_s, QByteArray("c") } }) {
            EventRecord record = recordFromRaw(QByteArray(135, '\xAA'));
            record.setText(field, text);
            QCOMPARE(rawOf(record),
                QByteArray(135, '\xAA')
                    .replace(offset, capacity + 1, fieldBytes(bytes.left(capacity), capacity)));
            QCOMPARE(record.text(field), text.left(capacity));
        }
        // A length byte above the capacity, from a damaged file, is clamped.
        for (int length : { capacity + 1, 255 })
            QCOMPARE(recordFromRaw(QByteArray(135, 'q').replace(offset, 1, QByteArray(1, char(length))))
                         .text(field),
                QString(capacity, u'q'));
    }
}

void RecordsTest::load()
{
    // Two whole records with garbage after their texts, which must not matter.
    const std::vector<EventRecord> rows { sampleRow(u"1"_s, u"Akce"_s), sampleRow(u"2"_s, u"Další"_s) };
    QByteArray whole;
    for (const EventRecord& row : rows) {
        QByteArray raw = rawOf(row);
        for (int b = 0; b < 135; ++b)
            raw[b] = raw[b] || b == 73 || b == 104 ? raw[b] : char('A' + b % 26);
        whole += raw;
    }
    // The file ("-": none), the message (title and icon: tst_robust), the rows read.
    for (const auto& [bytes, message] : { std::pair { QByteArray(), QString() },
             { whole + whole.left(134), u"Není dostatek paměti pro vytvoření seznamu"_s },
             { QByteArray("-"), u"Při otevírání souboru nastala chyba"_s } }) {
        QTemporaryDir dir;
        QVERIFY(dir.isValid() && (bytes == "-" || writeRaw(dir.filePath(u"data.zrk"_s), bytes)));
        DayTable table;
        table.appendRecords({ sampleRow({}, {}), sampleRow({}, {}), sampleRow({}, {}) }); // replaced
        RecordingMessenger messenger;
        data_file::LoadData(dir.path(), table, messenger);
        QCOMPARE(messenger.texts(), message.isEmpty() ? QStringList() : QStringList { message });
        QVERIFY(table.records() == (bytes.startsWith(whole) ? rows : std::vector<EventRecord>()));
    }
}

void RecordsTest::saving()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"data.zrk"_s);
    RecordingMessenger messenger;
    // An empty list is never saved: the existing file is left alone.
    const QByteArray previous = rawOf(sampleRow(u"18:00"_s, u"Předchozí"_s)).repeated(3);
    QVERIFY(dir.isValid() && writeRaw(path, previous));
    QVERIFY(!data_file::SaveData(dir.path(), DayTable(), messenger));
    const largest_table::Table sample = largest_table::make();
    DayTable table;
    table.replaceRecords(sample.records);
    QVERIFY(!data_file::SaveData(dir.filePath(u"nowhere"_s), table, messenger));
    // The table is far larger than the file size limit, so the write fails midway
    // (permissions would not stop root) and the previous file stays whole, nothing beside it.
    rlimit saved {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const rlimit limited { 256 * 1024, saved.rlim_max };
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    const bool written
        = setrlimit(RLIMIT_FSIZE, &limited) != 0 || data_file::SaveData(dir.path(), table, messenger);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY(!written && readRaw(path) == previous);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        { u"data.zrk"_s });
    QCOMPARE(messenger.texts(),
        QStringList({ "Seznam je prázdný", "Chyba při vytváření souboru", "Chyba při vytváření souboru" }));

    // The largest table saves byte for byte and loads back the same.
    messenger.clear();
    QVERIFY(data_file::SaveData(dir.path(), table, messenger));
    QCOMPARE(readRaw(path),
        QByteArray(
            reinterpret_cast<const char*>(sample.records.data()), qsizetype(sample.records.size()) * 135));
    DayTable loaded;
    data_file::LoadData(dir.path(), loaded, messenger);
    QVERIFY(messenger.messages().isEmpty() && loaded.records() == sample.records);
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
    table.clearRecords();
    using Calls = QList<QVariantList>;
    QCOMPARE(Calls(inserted) + Calls(changed) + Calls(removed) + Calls(reset),
        (Calls { { 0, 2 }, { 1, 1 }, { 3 }, { 1, 2 }, {} }));
}

QTEST_GUILESS_MAIN(RecordsTest)
#include "tst_records.moc"
