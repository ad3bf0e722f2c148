#include "calendar/day_table.h"
#include "calendar/generation.h"
#include "calendar/holidays.h"
#include "calendar/overview_files.h"
#include "calendar/row_kind.h"
#include "largest_table.h"
#include "recording_messenger.h"
#include "records/data_file.h"
#include "search/row_lookup.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using Field = EventRecord::Field;

namespace {

// Monday first; written out here rather than taken from the program.
const QStringList kShortNames { u"Po"_s, u"Út"_s, u"St"_s, u"Čt"_s, u"Pá"_s, u"So"_s, u"Ne"_s };
const QStringList kFullNames { u"Pondělí"_s, u"Úterý"_s, u"Středa"_s, u"Čtvrtek"_s, u"Pátek"_s, u"Sobota"_s,
    u"Neděle"_s };

QByteArray readRaw(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

EventRecord extraRow(const QString& time, const QString& event)
{
    EventRecord record = EventRecord::blank();
    record.setText(Field::Time, time);
    record.setText(Field::Event, event);
    return record;
}

// Every day row follows the one before it by one day, starting on 1 January 2004.
bool dayRowsAreConsecutive(const DayTable& table, const QStringList& names, int* dayRows)
{
    QDate expected(2004, 1, 1);
    *dayRows = 0;
    for (const EventRecord& record : table.records()) {
        if (!record.isDayRow())
            continue;
        if (record.text(Field::Date) != expected.toString(u"dd.MM.yyyy"_s)
            || record.text(Field::DayName) != names.at(expected.dayOfWeek() - 1))
            return false;
        expected = expected.addDays(1);
        ++*dayRows;
    }
    return true;
}

} // namespace

class CalendarTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void firstYearTable();
    void leapYears_data();
    void leapYears();
    void rangeOfThreeYears();
    void largestRange();
    void addNextYearFillsMissingCounts_data();
    void addNextYearFillsMissingCounts();
    void appendYearRowsInFormat_data();
    void appendYearRowsInFormat();
    void appendYearRowsRejectsUnknownFormat();
    void rebuildWithFormat_data();
    void rebuildWithFormat();

    void holidays_data();
    void holidays();
    void everyHolidayOccursOnceAYear();
    void rowKinds_data();
    void rowKinds();
    void looks_data();
    void looks();

    void overviewFilesRoundTrip();
    void overviewFileMissing();
    void listsAreSound_data();
    void listsAreSound();
    void listsFromRows();

    void rowLookup_data();
    void rowLookup();
};

void CalendarTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void CalendarTest::firstYearTable()
{
    DayTable table;
    RecordingMessenger messenger;
    QVERIFY(generation::buildFirstYearTable(table, messenger));
    QVERIFY(messenger.messages().isEmpty());
    QCOMPARE(table.rowCount(), 366);

    const QList<std::pair<int, QString>> probes { { 0, u"Čt 01.01.2004"_s }, { 59, u"Ne 29.02.2004"_s },
        { 60, u"Po 01.03.2004"_s }, { 365, u"Pá 31.12.2004"_s } };
    for (const auto& [row, expected] : probes) {
        const EventRecord& record = table.record(row);
        QCOMPARE(record.text(Field::DayName) + u' ' + record.text(Field::Date), expected);
    }
    int dayRows = 0;
    QVERIFY(dayRowsAreConsecutive(table, kShortNames, &dayRows));
    QCOMPARE(dayRows, 366);
    for (const EventRecord& record : table.records()) {
        for (Field f : { Field::Time, Field::Event, Field::Value1, Field::Value2 })
            QVERIFY(record.isEmpty(f));
    }

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(data_file::SaveData(dir.path(), table, messenger));
    QCOMPARE(QFileInfo(dir.filePath(u"data.zrk"_s)).size(), 49410);
}

void CalendarTest::leapYears_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("days");
    QTest::newRow("2004") << 2004 << 366;
    QTest::newRow("2005") << 2005 << 365;
    QTest::newRow("2000, divisible by 400") << 2000 << 366;
    QTest::newRow("2100, divisible by 100") << 2100 << 365;
    QTest::newRow("2096") << 2096 << 366;
    QTest::newRow("1900") << 1900 << 365;
}

void CalendarTest::leapYears()
{
    QFETCH(int, year);
    QFETCH(int, days);
    QCOMPARE(generation::daysInYear(year), days);
    const std::vector<EventRecord> rows = generation::yearRows(year, 1);
    QCOMPARE(int(rows.size()), days);
    QCOMPARE(rows.back().text(Field::Date), u"31.12.%1"_s.arg(year));
    QCOMPARE(rows[59].text(Field::Date), (days == 366 ? u"29.02.%1"_s : u"01.03.%1"_s).arg(year));
}

void CalendarTest::rangeOfThreeYears()
{
    DayTable table;
    RecordingMessenger messenger;
    QVERIFY(generation::buildFirstYearTable(table, messenger));
    QStringList years { u"2004"_s };
    QStringList dayCounts { u"366"_s };
    for (int i = 0; i < 2; ++i) {
        generation::addNextYear(years, dayCounts);
        QVERIFY(generation::appendYearRows(table, years, u"1"_s, messenger));
    }
    QCOMPARE(years, (QStringList { u"2004"_s, u"2005"_s, u"2006"_s }));
    QCOMPARE(dayCounts, (QStringList { u"366"_s, u"365"_s, u"365"_s }));
    QCOMPARE(generation::totalDays(dayCounts), 1096);
    QCOMPARE(table.rowCount(), 1096);
    int dayRows = 0;
    QVERIFY(dayRowsAreConsecutive(table, kShortNames, &dayRows));
    QCOMPARE(table.record(1095).text(Field::Date), u"31.12.2006"_s);
    QVERIFY(messenger.messages().isEmpty());
}

void CalendarTest::largestRange()
{
    DayTable table;
    RecordingMessenger messenger;
    QVERIFY(generation::buildFirstYearTable(table, messenger));
    QStringList years { u"2004"_s };
    QStringList dayCounts { u"366"_s };
    while (years.last() != u"2100") {
        generation::addNextYear(years, dayCounts);
        QVERIFY(generation::appendYearRows(table, years, u"1"_s, messenger));
    }
    QCOMPARE(years.size(), 97);
    QCOMPARE(dayCounts.size(), 97);
    QCOMPARE(dayCounts.count(u"366"_s), 24);
    QCOMPARE(dayCounts.last(), u"365"_s);
    QCOMPARE(generation::totalDays(dayCounts), 35429);
    QCOMPARE(table.rowCount(), 35429);
    QCOMPARE(table.record(35428).text(Field::DayName) + u' ' + table.record(35428).text(Field::Date),
        u"Pá 31.12.2100"_s);
    int dayRows = 0;
    QVERIFY(dayRowsAreConsecutive(table, kShortNames, &dayRows));
}

void CalendarTest::addNextYearFillsMissingCounts_data()
{
    QTest::addColumn<QStringList>("years");
    QTest::addColumn<QStringList>("dayCounts");
    QTest::addColumn<QStringList>("expectedYears");
    QTest::addColumn<QStringList>("expectedCounts");
    QTest::newRow("in step") << QStringList { u"2004"_s } << QStringList { u"366"_s }
                             << QStringList { u"2004"_s, u"2005"_s } << QStringList { u"366"_s, u"365"_s };
    QTest::newRow("two counts missing")
        << QStringList { u"2006"_s, u"2007"_s, u"2008"_s } << QStringList { u"365"_s }
        << QStringList { u"2006"_s, u"2007"_s, u"2008"_s, u"2009"_s }
        << QStringList { u"365"_s, u"365"_s, u"366"_s, u"365"_s };
    QTest::newRow("no counts yet") << QStringList { u"2099"_s } << QStringList {}
                                   << QStringList { u"2099"_s, u"2100"_s }
                                   << QStringList { u"365"_s, u"365"_s };
}

void CalendarTest::addNextYearFillsMissingCounts()
{
    QFETCH(QStringList, years);
    QFETCH(QStringList, dayCounts);
    QFETCH(QStringList, expectedYears);
    QFETCH(QStringList, expectedCounts);
    generation::addNextYear(years, dayCounts);
    QCOMPARE(years, expectedYears);
    QCOMPARE(dayCounts, expectedCounts);
}

void CalendarTest::appendYearRowsInFormat_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QStringList>("firstWeek"); // 1 to 7 January 2005, Saturday first
    QTest::newRow("0") << u"0"_s
                       << QStringList { u"Sobota"_s, u"Neděle"_s, u"Pondělí"_s, u"Úterý"_s, u"Středa"_s,
                              u"Čtvrtek"_s, u"Pátek"_s };
    QTest::newRow("1") << u"1"_s
                       << QStringList { u"So"_s, u"Ne"_s, u"Po"_s, u"Út"_s, u"St"_s, u"Čt"_s, u"Pá"_s };
    QTest::newRow("2") << u"2"_s
                       << QStringList { u"sobota"_s, u"neděle"_s, u"pondělí"_s, u"úterý"_s, u"středa"_s,
                              u"čtvrtek"_s, u"pátek"_s };
    QTest::newRow("3") << u"3"_s
                       << QStringList { u"so"_s, u"ne"_s, u"po"_s, u"út"_s, u"st"_s, u"čt"_s, u"pá"_s };
}

void CalendarTest::appendYearRowsInFormat()
{
    QFETCH(QString, format);
    QFETCH(QStringList, firstWeek);
    // Extra rows in 2004 must not shift the names of the new year.
    DayTable table;
    RecordingMessenger messenger;
    QVERIFY(generation::buildFirstYearTable(table, messenger));
    table.insertRecord(1, extraRow(u"10:00"_s, u"Novoroční koncert"_s));
    table.insertRecord(367, extraRow({}, u"Silvestr"_s));
    QStringList years { u"2004"_s };
    QStringList dayCounts { u"366"_s };
    generation::addNextYear(years, dayCounts);
    QVERIFY(generation::appendYearRows(table, years, format, messenger));

    QCOMPARE(table.rowCount(), 368 + 365);
    for (int day = 0; day < 7; ++day) {
        const EventRecord& record = table.record(368 + day);
        QCOMPARE(record.text(Field::Date), u"%1.01.2005"_s.arg(day + 1, 2, 10, QLatin1Char('0')));
        QCOMPARE(record.text(Field::DayName), firstWeek[day]);
    }
    QCOMPARE(table.records().back().text(Field::Date), u"31.12.2005"_s);
    QCOMPARE(table.records().back().text(Field::DayName), firstWeek[0]); // 2005 ends on a Saturday
}

void CalendarTest::appendYearRowsRejectsUnknownFormat()
{
    DayTable table;
    RecordingMessenger messenger;
    QVERIFY(generation::buildFirstYearTable(table, messenger));
    QSignalSpy inserted(&table, &DayTable::rowsInserted);
    const QStringList years { u"2004"_s, u"2005"_s };
    for (const QString& format : { u"4"_s, u"-1"_s, u""_s, u"x"_s, u"01"_s, u"1 "_s }) {
        QVERIFY2(!generation::appendYearRows(table, years, format, messenger), qPrintable(format));
        QCOMPARE(table.rowCount(), 366);
    }
    // A last year that is not a year at all appends nothing rather than running forever.
    QVERIFY(generation::appendYearRows(table, { u"2004"_s, u"abc"_s }, u"1"_s, messenger));
    QCOMPARE(table.rowCount(), 366);
    QVERIFY(inserted.isEmpty());
    QVERIFY(messenger.messages().isEmpty());
}

void CalendarTest::rebuildWithFormat_data()
{
    QTest::addColumn<QString>("pocets");
    QTest::addColumn<bool>("keepsValue1");
    QTest::addColumn<bool>("keepsValue2");
    QTest::newRow("4 columns") << u"4"_s << false << false;
    QTest::newRow("5 columns") << u"5"_s << true << false;
    QTest::newRow("6 columns") << u"6"_s << true << true;
}

void CalendarTest::rebuildWithFormat()
{
    QFETCH(QString, pocets);
    QFETCH(bool, keepsValue1);
    QFETCH(bool, keepsValue2);
    DayTable table;
    RecordingMessenger messenger;
    QVERIFY(generation::buildFirstYearTable(table, messenger));
    EventRecord firstEvent = table.record(4); // Monday 05.01.2004
    firstEvent.setText(Field::Time, u"19:00"_s);
    firstEvent.setText(Field::Event, u"Koncert"_s);
    firstEvent.setText(Field::Value1, u"Rudolfinum"_s);
    firstEvent.setText(Field::Value2, u"350 Kč"_s);
    table.setRecord(4, firstEvent);
    EventRecord extra = extraRow(u"21:00"_s, u"Jazz"_s);
    extra.setText(Field::Value1, u"Reduta"_s);
    extra.setText(Field::Value2, u"200 Kč"_s);
    table.insertRecord(5, extra);
    const std::vector<EventRecord> before = table.records();
    QSignalSpy reset(&table, &DayTable::resetDone);

    generation::rebuildWithFormat(table, u"0"_s, pocets, messenger);
    QVERIFY(messenger.messages().isEmpty());
    QCOMPARE(reset.size(), 1);
    QCOMPARE(table.rowCount(), 367);
    int dayRows = 0;
    QVERIFY(dayRowsAreConsecutive(table, kFullNames, &dayRows));
    QCOMPARE(dayRows, 366);
    QCOMPARE(table.record(0).text(Field::DayName), u"Čtvrtek"_s);
    QCOMPARE(table.record(4).text(Field::DayName), u"Pondělí"_s);
    QVERIFY(table.record(5).isEmpty(Field::DayName));
    QVERIFY(table.record(5).isEmpty(Field::Date));
    for (int row = 0; row < table.rowCount(); ++row) {
        const EventRecord& now = table.record(row);
        const EventRecord& old = before[size_t(row)];
        QCOMPARE(now.text(Field::Date), old.text(Field::Date));
        QCOMPARE(now.text(Field::Time), old.text(Field::Time));
        QCOMPARE(now.text(Field::Event), old.text(Field::Event));
        QCOMPARE(now.text(Field::Value1), keepsValue1 ? old.text(Field::Value1) : QString());
        QCOMPARE(now.text(Field::Value2), keepsValue2 ? old.text(Field::Value2) : QString());
    }

    // Back to the format the table was built in: the same rows as before, less the values not kept.
    generation::rebuildWithFormat(table, u"1"_s, pocets, messenger);
    QCOMPARE(table.record(0).text(Field::DayName), u"Čt"_s);
    QCOMPARE(table.record(4).text(Field::DayName), u"Po"_s);
    QCOMPARE(table.record(5).text(Field::Value1), keepsValue1 ? u"Reduta"_s : QString());
    QVERIFY(dayRowsAreConsecutive(table, kShortNames, &dayRows));
}

void CalendarTest::holidays_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QStringList>("years");
    QTest::addColumn<bool>("holiday");
    const QStringList first { u"2004"_s };
    const QStringList two { u"2004"_s, u"2005"_s };
    QTest::newRow("Christmas 2004, first run") << u"25.12.2004"_s << first << true;
    QTest::newRow("Christmas 2005 outside the list") << u"25.12.2005"_s << first << false;
    QTest::newRow("Christmas 2005 in the list") << u"25.12.2005"_s << two << true;
    QTest::newRow("11.04.2005") << u"11.04.2005"_s << two << true;
    QTest::newRow("12.04.2005") << u"12.04.2005"_s << two << true;
    QTest::newRow("13.04.2005") << u"13.04.2005"_s << two << false;
    QTest::newRow("28.10.2007") << u"28.10.2007"_s << QStringList { u"2004"_s, u"2007"_s } << true;
    QTest::newRow("new year, no years") << u"01.01.2004"_s << QStringList {} << false;
    QTest::newRow("day and month swapped") << u"12.25.2004"_s << first << false;
    QTest::newRow("two-digit year") << u"25.12.04"_s << QStringList { u"04"_s } << false;
    QTest::newRow("extra row") << QString() << first << false;
}

void CalendarTest::holidays()
{
    QFETCH(QString, date);
    QFETCH(QStringList, years);
    QFETCH(bool, holiday);
    QCOMPARE(holidays::isHoliday(date.toLatin1(), holidays::Years(years)), holiday);
}

void CalendarTest::everyHolidayOccursOnceAYear()
{
    const holidays::Years years(QStringList { u"2004"_s, u"2005"_s });
    QCOMPARE(holidays::list().size(), 14);
    for (int year : { 2004, 2005, 2006 }) {
        int count = 0;
        for (const EventRecord& row : generation::yearRows(year, 1))
            count += holidays::isHoliday(row.view(Field::Date), years) ? 1 : 0;
        QCOMPARE(count, year == 2006 ? 0 : 14);
    }
}

void CalendarTest::rowKinds_data()
{
    QTest::addColumn<QString>("dayName");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("event");
    QTest::addColumn<QString>("kinds"); // letters for odd, Saturday, suNday, Holiday, Event
    QTest::newRow("plain weekday") << u"Po"_s << u"05.01.2004"_s << QString() << QString() << u""_s;
    QTest::newRow("sobota") << u"sobota"_s << u"03.01.2004"_s << QString() << QString() << u"S"_s;
    QTest::newRow("SO") << u"SO"_s << u"03.01.2004"_s << QString() << QString() << u"S"_s;
    QTest::newRow("Sobota") << u"Sobota"_s << u"03.01.2004"_s << QString() << QString() << u"S"_s;
    QTest::newRow("neděle") << u"neděle"_s << u"04.01.2004"_s << QString() << QString() << u"N"_s;
    QTest::newRow("NEDĚLE") << u"NEDĚLE"_s << u"04.01.2004"_s << QString() << QString() << u"N"_s;
    QTest::newRow("Ne") << u"Ne"_s << u"04.01.2004"_s << QString() << QString() << u"N"_s;
    QTest::newRow("Sob is no Saturday") << u"Sob"_s << u"03.01.2004"_s << QString() << QString() << u""_s;
    QTest::newRow("holiday") << u"Čt"_s << u"01.01.2004"_s << QString() << QString() << u"H"_s;
    QTest::newRow("holiday on Sunday") << u"Ne"_s << u"28.09.2008"_s << QString() << QString() << u"NH"_s;
    QTest::newRow("only a time") << QString() << QString() << u"20:00"_s << QString() << u"E"_s;
    QTest::newRow("only an event") << QString() << QString() << QString() << u"Výstava"_s << u"E"_s;
    QTest::newRow("event on a holiday") << u"St"_s << u"28.10.2009"_s << u"10:00"_s << u"Průvod"_s << u"HE"_s;
    QTest::newRow("event on Saturday") << u"so"_s << u"03.01.2004"_s << QString() << u"Trh"_s << u"SE"_s;
    QTest::newRow("holiday outside range") << u"Čt"_s << u"01.01.2015"_s << QString() << QString() << u""_s;
}

void CalendarTest::rowKinds()
{
    QFETCH(QString, dayName);
    QFETCH(QString, date);
    QFETCH(QString, time);
    QFETCH(QString, event);
    QFETCH(QString, kinds);
    EventRecord record = EventRecord::dayRow(dayName, date);
    record.setText(Field::Time, time);
    record.setText(Field::Event, event);
    const holidays::Years years(QStringList { u"2004"_s, u"2008"_s, u"2009"_s });
    for (int row : { 6, 7 }) {
        const row_kind::Kinds got = row_kind::classify(record, row, years);
        QCOMPARE(got.odd, row == 7);
        QCOMPARE(got.saturday, kinds.contains(u'S'));
        QCOMPARE(got.sunday, kinds.contains(u'N'));
        QCOMPARE(got.holiday, kinds.contains(u'H'));
        QCOMPARE(got.event, kinds.contains(u'E'));
    }
}

void CalendarTest::looks_data()
{
    QTest::addColumn<QString>("kinds"); // as above, plus O for an odd row
    QTest::addColumn<int>("colour");
    QTest::addColumn<int>("font");
    QTest::addColumn<int>("colourBeforeReady");
    using namespace row_kind;
    QTest::newRow("even") << u""_s << int(Even) << int(Even) << -1;
    QTest::newRow("odd") << u"O"_s << int(Odd) << int(Odd) << -1;
    QTest::newRow("odd Saturday") << u"OS"_s << int(Saturday) << int(Saturday) << -1;
    QTest::newRow("Sunday") << u"N"_s << int(Sunday) << int(Sunday) << -1;
    QTest::newRow("holiday") << u"OH"_s << int(Holiday) << int(Holiday) << -1;
    QTest::newRow("holiday on Saturday") << u"SH"_s << int(Holiday) << int(Holiday) << -1;
    QTest::newRow("event") << u"OE"_s << int(Event) << int(Event) << int(Event);
    QTest::newRow("event on a holiday") << u"HE"_s << int(Event) << int(Holiday) << int(Event);
    QTest::newRow("event on Saturday") << u"SE"_s << int(Event) << int(Event) << int(Event);
    QTest::newRow("event on a Sunday holiday") << u"ONHE"_s << int(Event) << int(Holiday) << int(Event);
}

void CalendarTest::looks()
{
    QFETCH(QString, kinds);
    QFETCH(int, colour);
    QFETCH(int, font);
    QFETCH(int, colourBeforeReady);
    row_kind::Kinds k;
    k.odd = kinds.contains(u'O');
    k.saturday = kinds.contains(u'S');
    k.sunday = kinds.contains(u'N');
    k.holiday = kinds.contains(u'H');
    k.event = kinds.contains(u'E');
    const row_kind::Look ready = row_kind::lookOf(k, true);
    QCOMPARE(ready.colourItem, colour);
    QCOMPARE(ready.fontItem, font);
    const row_kind::Look early = row_kind::lookOf(k, false);
    QCOMPARE(early.colourItem, colourBeforeReady);
    QCOMPARE(early.fontItem, -1);
}

void CalendarTest::overviewFilesRoundTrip()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QStringList years { u"2004"_s, u"2005"_s, u"2006"_s };
    const QStringList dayCounts { u"366"_s, u"365"_s, u"365"_s };
    QVERIFY(overview_files::save(dir.path(), years, dayCounts));
    QCOMPARE(readRaw(dir.filePath(u"prehled roku.zrk"_s)), QByteArray("2004\r\n2005\r\n2006\r\n"));
    QCOMPARE(readRaw(dir.filePath(u"prehled dnu.zrk"_s)), QByteArray("366\r\n365\r\n365\r\n"));

    QStringList loadedYears { u"1999"_s };
    QStringList loadedCounts;
    QCOMPARE(overview_files::load(dir.path(), loadedYears, loadedCounts), overview_files::LoadResult::Loaded);
    QCOMPARE(loadedYears, years);
    QCOMPARE(loadedCounts, dayCounts);

    // Lines are taken as they stand, whatever ends them; checking them is the caller's job.
    QFile file(dir.filePath(u"prehled dnu.zrk"_s));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("366\n36x\r\n365");
    file.close();
    QCOMPARE(overview_files::load(dir.path(), loadedYears, loadedCounts), overview_files::LoadResult::Loaded);
    QCOMPARE(loadedCounts, (QStringList { u"366"_s, u"36x"_s, u"365"_s }));
}

void CalendarTest::overviewFileMissing()
{
    for (const QString& missing : { u"prehled roku.zrk"_s, u"prehled dnu.zrk"_s }) {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(overview_files::save(dir.path(), { u"2004"_s, u"2005"_s }, { u"366"_s, u"365"_s }));
        QVERIFY(QFile::remove(dir.filePath(missing)));
        QStringList years { u"2004"_s };
        QStringList dayCounts { u"366"_s };
        QCOMPARE(overview_files::load(dir.path(), years, dayCounts), overview_files::LoadResult::Missing);
        QCOMPARE(years, QStringList { u"2004"_s });
        QCOMPARE(dayCounts, QStringList { u"366"_s });
    }
}

void CalendarTest::listsAreSound_data()
{
    QTest::addColumn<QStringList>("years");
    QTest::addColumn<QStringList>("dayCounts");
    QTest::addColumn<bool>("sound");
    QTest::newRow("in step") << QStringList { u"2004"_s, u"2005"_s } << QStringList { u"366"_s, u"365"_s }
                             << true;
    QTest::newRow("a count missing") << QStringList { u"2004"_s, u"2005"_s } << QStringList { u"366"_s }
                                     << false;
    QTest::newRow("a count too many")
        << QStringList { u"2004"_s } << QStringList { u"366"_s, u"365"_s } << false;
    QTest::newRow("letter in a year")
        << QStringList { u"2004"_s, u"20o5"_s } << QStringList { u"366"_s, u"365"_s } << false;
    QTest::newRow("blank count") << QStringList { u"2004"_s } << QStringList { u""_s } << false;
    QTest::newRow("signed count") << QStringList { u"2004"_s } << QStringList { u"-366"_s } << false;
    QTest::newRow("both empty") << QStringList {} << QStringList {} << false;
}

void CalendarTest::listsAreSound()
{
    QFETCH(QStringList, years);
    QFETCH(QStringList, dayCounts);
    QFETCH(bool, sound);
    QCOMPARE(generation::listsAreSound(years, dayCounts), sound);
}

void CalendarTest::listsFromRows()
{
    DayTable table;
    QStringList years { u"x"_s };
    QStringList dayCounts;
    generation::listsFromRows(table, years, dayCounts);
    QCOMPARE(years, QStringList { u"2004"_s });
    QCOMPARE(dayCounts, QStringList { u"366"_s });

    largest_table::fill(table);
    generation::listsFromRows(table, years, dayCounts);
    QCOMPARE(years.size(), 97);
    QCOMPARE(years.first(), u"2004"_s);
    QCOMPARE(years.last(), u"2100"_s);
    QCOMPARE(generation::totalDays(dayCounts), largest_table::kDayRows);
    QCOMPARE(years, table.years());
    QCOMPARE(dayCounts, table.dayCounts());

    // Extra rows after the last day row do not end the range early.
    table.replaceRecords(generation::yearRows(2004, 1));
    table.appendRecords(generation::yearRows(2005, 3));
    table.appendRecords({ extraRow(u"23:00"_s, u"Silvestr"_s) });
    generation::listsFromRows(table, years, dayCounts);
    QCOMPARE(years, (QStringList { u"2004"_s, u"2005"_s }));
    QCOMPARE(dayCounts, (QStringList { u"366"_s, u"365"_s }));
}

void CalendarTest::rowLookup_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("withDayName");
    QTest::addColumn<int>("row");
    QTest::newRow("date of a day row") << u"29.02.2004"_s << false << 59;
    QTest::newRow("date before a later event") << u"01.03.2004"_s << false << 60;
    QTest::newRow("event of an extra row") << u"varhanní"_s << false << 61;
    QTest::newRow("a to z ignore case") << u"VARHANNí KONCERT"_s << false << 61;
    QTest::newRow("Czech letters do not fold") << u"VARHANNÍ"_s << false << -1;
    QTest::newRow("time") << u"19:30"_s << false << 61;
    QTest::newRow("absent") << u"31.12.2005"_s << false << -1;
    QTest::newRow("day name not searched") << u"Čt"_s << false << -1;
    QTest::newRow("day name searched") << u"Čt"_s << true << 0;
    QTest::newRow("day name, ASCII case") << u"ČT"_s << true << 0;
    QTest::newRow("day name, Czech case") << u"čt"_s << true << -1;
}

void CalendarTest::rowLookup()
{
    QFETCH(QString, key);
    QFETCH(bool, withDayName);
    QFETCH(int, row);
    DayTable table;
    RecordingMessenger messenger;
    QVERIFY(generation::buildFirstYearTable(table, messenger));
    EventRecord extra = extraRow(u"19:30"_s, u"Varhanní koncert"_s);
    extra.setText(Field::Value1, u"29.02.2004"_s); // a date in a later row's text
    table.insertRecord(61, extra);
    QCOMPARE(row_lookup::firstRowContaining(table, key, withDayName), row);
}

QTEST_GUILESS_MAIN(CalendarTest)
#include "tst_calendar.moc"
