#include "app/autosave.h"
#include "app/main_window.h"
#include "calendar/day_table.h"
#include "export/command_line.h"
#include "export/export_file.h"
#include "export/ical_import.h"
#include "export/icalendar.h"
#include "largest_table.h"
#include "platform/clock.h"
#include "platform/instance_lock.h"
#include "recording_messenger.h"
#include "settings/settings.h"
#include "table_rows.h"
#include "test_files.h"
#include "window_fixture.h"

#include <QAction>
#include <QTemporaryDir>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

QByteArray calendar(const QString& events)
{
    return (
        u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//test//EN\r\n"_s + events + u"END:VCALENDAR\r\n"_s)
        .toUtf8();
}

// One VEVENT of the given properties (one a line, "\n" between them).
QString vevent(const QString& uid, const QString& properties)
{
    return u"BEGIN:VEVENT\r\nUID:"_s + uid + u"\r\nDTSTAMP:20240101T000000Z\r\n"_s
        + QString(properties).replace(u"\n"_s, u"\r\n"_s) + u"\r\nEND:VEVENT\r\n"_s;
}

// Day rows of March 2004, from the 1st to `lastDay`.
std::vector<EventRecord> marchDays(int lastDay)
{
    std::vector<EventRecord> records;
    for (int day = 1; day <= lastDay; ++day)
        records.push_back(EventRecord::dayRow(u"Po"_s, QDate(2004, 3, day).toString(u"dd.MM.yyyy"_s)));
    return records;
}

// Each row as "date|time|event|value1|value2", the texts trimmed when asked.
QStringList rowsOf(const std::vector<EventRecord>& records, bool trimmed = false)
{
    QStringList rows;
    for (const EventRecord& record : records) {
        QStringList fields = fixture::fieldsOf(record).mid(1);
        if (trimmed)
            std::transform(
                fields.begin(), fields.end(), fields.begin(), [](const QString& f) { return f.trimmed(); });
        rows << fields.join(u'|');
    }
    return rows;
}

ical_import::Plan importInto(const std::vector<EventRecord>& records, const QByteArray& ics,
    const Settings& settings = table_rows::sixColumns())
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"import.ics"_s);
    test_files::writeRaw(path, ics);
    return ical_import::prepare(path, records, settings);
}

int runCli(const QStringList& arguments, const QString& dir, QString& output)
{
    output.clear();
    QTextStream stream(&output);
    return command_line::exec(QStringList { u"zorivka"_s } + arguments, dir, stream, stream);
}

} // namespace

class TestImport final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void convertsAnEvent_data();
    void convertsAnEvent();
    void placesEventsOnceInTheirDays();
    void roundTripOfTheLargestTable();
    void importsFromTheRecordMenu();
    void importsOnTheCommandLine();
};

void TestImport::convertsAnEvent_data()
{
    QTest::addColumn<QString>("properties");
    QTest::addColumn<QString>("row"); // time|event|value1|value2 of 2 March 2004

    QTest::newRow("range") << u"DTSTART:20040302T180000\nDTEND:20040302T200000\nSUMMARY:Koncert"_s
                           << u"18:00-20:00|Koncert||"_s;
    QTest::newRow("overnight") << u"DTSTART:20040302T230000\nDTEND:20040303T010000\nSUMMARY:Noc"_s
                               << u"23:00-01:00|Noc||"_s;
    QTest::newRow("24 hours") << u"DTSTART:20040302T180000\nDURATION:PT24H\nSUMMARY:Maraton"_s
                              << u"18:00-18:00|Maraton||"_s;
    QTest::newRow("utc")
        << u"DTSTART:20040302T120000Z\nSUMMARY:Poledne"_s
        << QDateTime(QDate(2004, 3, 2), QTime(12, 0), Qt::UTC).toLocalTime().toString(u"HH:mm"_s)
            + u"|Poledne||"_s;
    QTest::newRow("time line and values") << u"DTSTART;VALUE=DATE:20040302\nSUMMARY:Výstava\nDESCRIPTION:Čas:"
                                             u" celý den\\nVstupné: 100 Kč\\nPoznámka: "
                                             u"sraz u vchodu"_s
                                          << u"celý den|Výstava|100 Kč|sraz u vchodu"_s;
    QTest::newRow("place") << u"DTSTART;VALUE=DATE:20040302\nSUMMARY:Hra\nLOCATION:Stavovské divadlo"_s
                           << u"|Hra|Stavovské divadlo|"_s;
    QTest::newRow("summary made up")
        << u"DTSTART:20040302T100000\nSUMMARY:100 Kč\nX-ZORIVKA-SUMMARY:FALLBACK\nDESCRIPTION:Vstupné: 100 Kč"_s
        << u"10:00||100 Kč|"_s;
    QTest::newRow("line breaks, letters, length")
        << u"DTSTART;VALUE=DATE:20040302\nSUMMARY:Mañana\\nŁódź ☃ Straße a velmi dlouhý název akce"_s
        << u"|Manana Łódź ? Straße a velmi dlouhý náze||"_s;
}

void TestImport::convertsAnEvent()
{
    QFETCH(QString, properties);
    QFETCH(QString, row);
    const ical_import::Plan plan = importInto(marchDays(3), calendar(vevent(u"a@test"_s, properties)));
    QCOMPARE(plan.outcome, ical_import::Outcome::Ready);
    QCOMPARE(plan.counts.added, 1);
    QCOMPARE(plan.firstAdded, 1);
    QCOMPARE(rowsOf(plan.records).at(1), u"02.03.2004|"_s + row);
}

void TestImport::placesEventsOnceInTheirDays()
{
    std::vector<EventRecord> records = marchDays(3);
    records.insert(records.begin() + 2, fixture::extraRow(u"19:00"_s, u"Opera"_s));
    const QString opera = u"DTSTART:20040302T190000\nSUMMARY:Opera"_s;
    const QByteArray ics = calendar(vevent(u"o1"_s, opera) + vevent(u"o2"_s, opera)
        + vevent(u"a"_s, u"DTSTART:20040302T100000\nSUMMARY:A\nDESCRIPTION:jen pro nás"_s)
        + vevent(u"b"_s, u"DTSTART:20040302T090000\nSUMMARY:B"_s)
        + vevent(u"c"_s, u"DTSTART:20040301T090000\nSUMMARY:C"_s)
        + vevent(u"old"_s, u"DTSTART:20031231T090000\nSUMMARY:Loni"_s)
        + vevent(u"fest"_s, u"DTSTART;VALUE=DATE:20040302\nDTEND;VALUE=DATE:20040305\nSUMMARY:Festival"_s)
        + vevent(u"gone"_s, u"DTSTART:20040303T090000\nSUMMARY:Zrušeno\nSTATUS:CANCELLED"_s)
        + vevent(u"undated"_s, u"SUMMARY:Někdy"_s));
    const ical_import::Plan plan = importInto(records, ics);
    // The empty day row takes its event; a day with events gets extra rows after its last, in
    // the file's order; one of the two operas is there already.
    QCOMPARE(rowsOf(plan.records),
        QStringList({ u"01.03.2004|09:00|C||"_s, u"02.03.2004|19:00|Opera||"_s, u"|19:00|Opera||"_s,
            u"|10:00|A||"_s, u"|09:00|B||"_s, u"||Festival||"_s, u"03.03.2004||Festival||"_s }));
    QCOMPARE(plan.firstAdded, 0);
    const ical_import::Counts& c = plan.counts;
    QCOMPARE(QList<int>({ c.added, c.present, c.outside, c.lostText, c.cancelled, c.undated }),
        QList<int>({ 6, 1, 2, 1, 1, 1 }));
    // A second import of the same file adds nothing.
    const ical_import::Plan again = importInto(plan.records, ics);
    QCOMPARE(again.counts.added, 0);
    QCOMPARE(again.counts.present, 7);
    QVERIFY(again.records.empty());
}

void TestImport::roundTripOfTheLargestTable()
{
    const largest_table::Table table = largest_table::make();
    const Settings settings = table_rows::sixColumns();
    QByteArray ics;
    QCOMPARE(export_file::render({}, table.records, settings, QDateTime::currentDateTimeUtc(), ics),
        export_file::Result::Written);
    std::vector<EventRecord> days;
    for (const EventRecord& record : table.records) {
        if (record.isDayRow())
            days.push_back(EventRecord::dayRow(
                record.text(EventRecord::Field::DayName), record.text(EventRecord::Field::Date)));
    }
    const ical_import::Plan plan = importInto(days, ics, settings);
    QCOMPARE(plan.outcome, ical_import::Outcome::Ready);
    QCOMPARE(plan.counts.cut + plan.counts.replaced + plan.counts.lostText + plan.counts.outside, 0);

    // Every event comes back in its day and place; clock times in the export's "HH:MM" form.
    // libical's parser drops blanks at either end of a value (a summary, a description's last line).
    std::vector<EventRecord> expected = table.records;
    for (EventRecord& record : expected) {
        icalendar::ClockTime clock;
        const QString time = record.text(EventRecord::Field::Time);
        if (icalendar::parseClockTime(time, clock) && clock.rest.trimmed().isEmpty())
            record.setText(EventRecord::Field::Time,
                clock.start.toString(u"HH:mm"_s)
                    + (clock.end.isValid() ? u'-' + clock.end.toString(u"HH:mm"_s) : QString()));
    }
    QCOMPARE(rowsOf(plan.records, true), rowsOf(expected, true));
    // Into the table it came from, the export adds nothing.
    const ical_import::Plan again = importInto(table.records, ics, settings);
    QCOMPARE(again.counts.added, 0);
    QCOMPARE(again.counts.present, plan.counts.added);
}

void TestImport::importsFromTheRecordMenu()
{
    QTemporaryDir dir;
    RecordingMessenger messenger;
    clock_source::setNow(QDateTime(QDate(2004, 3, 1), QTime(10, 0)));
    const auto window = fixture::openWindow(dir.path(), messenger, false);
    QVERIFY(window);
    window->autoSave().setDelay(0);
    QString answer;
    window->setOpenFileChooser([&](QWidget*, const QString&, const QString&, const QString& filter) {
        return filter.contains(u"*.ics"_s) ? answer : QString();
    });
    auto* action = window->findChild<QAction*>(u"Importovat1"_s);
    QVERIFY(action);

    answer = dir.filePath(u"programme.ics"_s);
    QVERIFY(test_files::writeRaw(answer,
        calendar(vevent(u"k"_s, u"DTSTART:20040302T180000\nSUMMARY:Koncert"_s)
            + vevent(u"v"_s, u"DTSTART;VALUE=DATE:20040310\nDTEND;VALUE=DATE:20040312\nSUMMARY:Výstava"_s))));
    const std::vector<EventRecord> before = window->table().records();
    messenger.scriptAnswers({ false });
    action->trigger();
    QCOMPARE(messenger.messages().size(), 1);
    QCOMPARE(messenger.messages().first().icon, Messenger::Icon::Question);
    QVERIFY(messenger.messages().first().text.contains(u"Přidá se: 3\n"_s));
    QCOMPARE(window->table().records(), before);

    messenger.scriptAnswers({ true });
    action->trigger();
    const int koncert = fixture::rowOf2004(2, 3);
    QCOMPARE(window->selectedRow(), koncert);
    QCOMPARE(fixture::fieldsOf(window->table().record(koncert)).mid(2, 2),
        QStringList({ u"18:00"_s, u"Koncert"_s }));
    QCOMPARE(window->table().record(fixture::rowOf2004(11, 3)).text(EventRecord::Field::Event), u"Výstava"_s);
    const QString data = dir.filePath(u"data.zrk"_s);
    QTRY_VERIFY(test_files::readRaw(data).contains("Koncert"));

    // Twice is once; files that are no calendar change nothing.
    messenger.clear();
    action->trigger();
    QCOMPARE(messenger.messages().first().icon, Messenger::Icon::Information);
    QVERIFY(messenger.messages().first().text.contains(u"Už v kalendáři jsou: 3\n"_s));
    for (const auto& [bytes, text] :
        { std::pair { QByteArray("Datum;Akce\r\n"), u"není kalendář ve formátu iCalendar."_s },
            std::pair { QByteArray(), u"je prázdný."_s } }) {
        QVERIFY(test_files::writeRaw(answer, bytes));
        messenger.clear();
        action->trigger();
        QCOMPARE(fixture::described(messenger),
            QStringList(u"Error|Importovat|Soubor "_s + QDir::toNativeSeparators(answer) + u' ' + text));
    }
    QCOMPARE(window->table().record(koncert).text(EventRecord::Field::Event), u"Koncert"_s);
}

void TestImport::importsOnTheCommandLine()
{
    QTemporaryDir dir;
    const QString data = dir.filePath(u"data.zrk"_s);
    const std::vector<EventRecord> days = marchDays(31);
    QVERIFY(test_files::writeRaw(data,
        QByteArray(
            reinterpret_cast<const char*>(days.data()), qsizetype(days.size() * sizeof(EventRecord)))));
    const QString ics = dir.filePath(u"a.ics"_s);
    QVERIFY(
        test_files::writeRaw(ics, calendar(vevent(u"k"_s, u"DTSTART:20040302T180000\nSUMMARY:Koncert"_s))));
    QString output;

    // Not while the window works on the files.
    {
        InstanceLock window;
        QVERIFY(window.hold(dir.path()));
        QCOMPARE(runCli({ u"--import-ics"_s, ics }, dir.path(), output), 3);
        QCOMPARE(test_files::readRaw(data).size(), qsizetype(31 * sizeof(EventRecord)));
    }
    QCOMPARE(runCli({ u"--import-ics"_s, dir.filePath(u"chybi.ics"_s) }, dir.path(), output), 1);
    QCOMPARE(runCli({ u"--import-ics"_s, ics }, dir.path(), output), 0);
    QVERIFY2(output.startsWith(u"Přidá se: 1\nUž v kalendáři jsou: 0\n"_s), qPrintable(output));
    QVERIFY(test_files::readRaw(data).contains("Koncert"));
    const QByteArray once = test_files::readRaw(data);
    QCOMPARE(runCli({ u"--import-ics"_s, ics }, dir.path(), output), 0);
    QVERIFY(output.startsWith(u"Přidá se: 0\nUž v kalendáři jsou: 1\n"_s));
    QCOMPARE(test_files::readRaw(data), once);
}

QTEST_MAIN(TestImport)
#include "tst_import.moc"
