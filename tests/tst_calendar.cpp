#include "calendar/day_table.h"
#include "calendar/generation.h"
#include "calendar/holidays.h"
#include "calendar/overview_files.h"
#include "calendar/row_kind.h"
#include "recording_messenger.h"
#include "search/row_lookup.h"

#include "test_files.h"

#include <QtTest>

using namespace Qt::StringLiterals;
using Field = EventRecord::Field;

namespace {

using test_files::readRaw;
using test_files::writeRaw;

// Monday first; written out here rather than taken from the program.
const QStringList kShortNames = u"Po Út St Čt Pá So Ne"_s.split(u' ');
const QStringList kFullNames = u"Pondělí Úterý Středa Čtvrtek Pátek Sobota Neděle"_s.split(u' ');

EventRecord extraRow(const QString& time, const QString& event)
{
    EventRecord record = EventRecord::blank();
    record.setText(Field::Time, time);
    record.setText(Field::Event, event);
    return record;
}

QString nameAndDate(const EventRecord& record)
{
    return record.text(Field::DayName) + u' ' + record.text(Field::Date);
}

// The number of day rows from row `first` on, each one day after the one before from
// `day`, named from `names`; -1 at the first that is not.
int consecutiveDayRows(
    const DayTable& table, const QStringList& names, int first = 0, QDate day = { 2004, 1, 1 })
{
    const QDate start = day;
    for (int row = first; row < table.rowCount(); ++row) {
        const EventRecord& record = table.record(row);
        if (record.isDayRow()
            && nameAndDate(record) != names[day.dayOfWeek() - 1] + day.toString(u" dd.MM.yyyy"_s))
            return -1;
        day = day.addDays(record.isDayRow() ? 1 : 0);
    }
    return int(start.daysTo(day));
}

struct FirstRun {
    DayTable table;
    RecordingMessenger messenger;
    FirstRun() { QVERIFY(generation::buildFirstYearTable(table, messenger)); }
};

} // namespace

class CalendarTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void yearRange();
    void appendYearRows_data();
    void appendYearRows();
    void rebuildWithFormat();
    void rowKinds();
    void lists();
    void rowLookup();
};

void CalendarTest::yearRange()
{
    FirstRun run;
    QCOMPARE(run.table.rowCount(), 366);
    QCOMPARE(consecutiveDayRows(run.table, kShortNames), 366);
    for (const EventRecord& record : run.table.records())
        QVERIFY(!record.hasEvent() && record.isEmpty(Field::Value1) && record.isEmpty(Field::Value2));
    QStringList years { u"2004"_s }, dayCounts { u"366"_s };
    while (years.last() != u"2100") {
        generation::addNextYear(years, dayCounts);
        QVERIFY(generation::appendYearRows(run.table, years, u"1"_s, run.messenger));
    }
    QCOMPARE(generation::totalDays(dayCounts), 35429);
    QCOMPARE(run.table.rowCount(), 35429);
    QCOMPARE(consecutiveDayRows(run.table, kShortNames), 35429);
    QVERIFY(run.messenger.messages().isEmpty());

    // Adding a year also fills in the day counts missing before it; 2000 is a leap year.
    QStringList gapYears { u"1998"_s, u"1999"_s, u"2000"_s }, gapCounts { u"365"_s };
    generation::addNextYear(gapYears, gapCounts);
    QCOMPARE(gapYears + gapCounts, u"1998 1999 2000 2001 365 365 366 365"_s.split(u' '));

    // Unknown formats append nothing; so does a last year that is no year at all
    // (read as year 0) rather than running forever.
    QSignalSpy inserted(&run.table, &DayTable::rowsInserted);
    for (const QString& format : { u"4"_s, u"-1"_s, u""_s, u"x"_s, u"01"_s, u"1 "_s })
        QVERIFY2(!generation::appendYearRows(run.table, years, format, run.messenger), qPrintable(format));
    QVERIFY(generation::appendYearRows(run.table, { u"2004"_s, u"abc"_s }, u"1"_s, run.messenger));
    QVERIFY(inserted.isEmpty());
}

void CalendarTest::appendYearRows_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("full") << u"0"_s << kFullNames;
    QTest::newRow("short") << u"1"_s << kShortNames;
    QTest::newRow("full, small") << u"2"_s << kFullNames.join(u' ').toLower().split(u' ');
    QTest::newRow("short, small") << u"3"_s << kShortNames.join(u' ').toLower().split(u' ');
}

void CalendarTest::appendYearRows()
{
    QFETCH(QString, format);
    QFETCH(QStringList, names);
    FirstRun run;
    // Extra rows in 2004 must not shift the names of 2005.
    run.table.insertRecord(1, extraRow(u"10:00"_s, u"Novoroční koncert"_s));
    run.table.insertRecord(367, extraRow({}, u"Silvestr"_s));
    QVERIFY(generation::appendYearRows(run.table, { u"2004"_s, u"2005"_s }, format, run.messenger));
    QCOMPARE(run.table.rowCount(), 368 + 365);
    QCOMPARE(consecutiveDayRows(run.table, names, 368, { 2005, 1, 1 }), 365);
    QVERIFY(run.messenger.messages().isEmpty());
}

void CalendarTest::rebuildWithFormat()
{
    for (const QString& format : { u"0"_s, u"1"_s }) {
        FirstRun run;
        EventRecord day = run.table.record(4), extra = extraRow(u"21:00"_s, u"Jazz"_s); // Monday 05.01.2004
        day.setText(Field::Event, u"Koncert"_s);
        day.setText(Field::Value2, u"350 Kč"_s);
        extra.setText(Field::Value1, u"Reduta"_s);
        run.table.setRecord(4, day);
        run.table.insertRecord(5, extra);
        const std::vector<EventRecord> before = run.table.records();
        QSignalSpy reset(&run.table, &DayTable::resetDone);
        generation::rebuildWithFormat(run.table, format, run.messenger);
        QCOMPARE(reset.size(), 1);
        QCOMPARE(run.table.rowCount(), 367);
        QCOMPARE(consecutiveDayRows(run.table, format == u"0" ? kFullNames : kShortNames), 366);
        QVERIFY(run.table.record(5).isEmpty(Field::DayName));
        // Every text stays, also the values the columns may not show.
        for (int row = 0; row < run.table.rowCount(); ++row) {
            const EventRecord &now = run.table.record(row), &old = before[size_t(row)];
            for (Field field : { Field::Date, Field::Time, Field::Event, Field::Value1, Field::Value2 })
                QCOMPARE(now.text(field), old.text(field));
        }
        QVERIFY(run.messenger.messages().isEmpty());
    }
    // A format the program does not know changes nothing; a date that cannot be read keeps
    // its row a day row; bytes a damaged file left after a text are not carried over.
    FirstRun run;
    EventRecord odd = run.table.record(0);
    odd.setText(Field::Date, u"32.13.2004"_s);
    odd.event.length = 2;
    odd.event.bytes[2] = 'x';
    odd.time.length = 200;
    run.table.setRecord(0, odd);
    const std::vector<EventRecord> before = run.table.records();
    generation::rebuildWithFormat(run.table, u"7"_s, run.messenger);
    QVERIFY(run.table.records() == before);
    generation::rebuildWithFormat(run.table, u"2"_s, run.messenger);
    const EventRecord& rebuilt = run.table.record(0);
    QCOMPARE(rebuilt.text(Field::DayName), u"Čt"_s);
    QCOMPARE(rebuilt.event.bytes[2], '\0');
    QCOMPARE(int(rebuilt.time.length), 12);
    QCOMPARE(run.table.record(1).text(Field::DayName), u"pátek"_s);
}

void CalendarTest::rowKinds()
{
    // Every fixed date once in each listed year, none in other years.
    const holidays::Years years(QStringList { u"2004"_s, u"2005"_s });
    for (int year : { 2004, 2005, 2006 }) {
        int count = 0;
        for (const EventRecord& row : generation::yearRows(year, 1))
            count += holidays::isHoliday(row.view(Field::Date), years) ? 1 : 0;
        QCOMPARE(count, year == 2006 ? 0 : 14);
    }
    QVERIFY(holidays::isHoliday("28.10.2007", holidays::Years(QStringList { u"2004"_s, u"2007"_s })));
    QVERIFY(!holidays::isHoliday("25.12.04", holidays::Years(QStringList { u"04"_s })));
    QVERIFY(!holidays::isHoliday("01.01.2004", holidays::Years()));

    using namespace row_kind;
    // Day name, date, time, event | letters for Odd, Saturday, suNday, Holiday, Event.
    const QString rows[] = { u"Po 05.01.2004|"_s, u"sobota 03.01.2004|S"_s, u"SO 03.01.2004|S"_s,
        u"NEDĚLE 04.01.2004|N"_s, u"Ne 04.01.2004|N"_s, u"Sob 03.01.2004|"_s, u"Čt 01.01.2004|H"_s,
        u"Ne 28.09.2008|NH"_s, u"Čt 01.01.2015|"_s, u"  20:00|E"_s, u"   Výstava|E"_s,
        u"St 28.10.2009 10:00 Průvod|HE"_s, u"so 03.01.2004  Trh|SE"_s };
    const holidays::Years marked(QStringList { u"2004"_s, u"2008"_s, u"2009"_s });
    for (const QString& row : rows) {
        const QStringList texts = row.section(u'|', 0, 0).split(u' ');
        EventRecord record = EventRecord::dayRow(texts[0], texts.value(1));
        record.setText(Field::Time, texts.value(2));
        record.setText(Field::Event, texts.value(3));
        for (int index : { 6, 7 }) {
            const Kinds k = classify(record, index, marked);
            const bool got[] = { k.odd, k.saturday, k.sunday, k.holiday, k.event };
            const QString expected = (index == 7 ? u"O"_s : u""_s) + row.section(u'|', -1);
            for (int i = 0; i < 5; ++i)
                QCOMPARE(got[i], expected.contains(u"OSNHE"[i]));
        }
    }

    // Kinds; then the colour item, the font item and the colour before start-up has finished.
    const std::tuple<QString, int, int, int> looks[] = { { u""_s, Even, Even, -1 }, { u"O"_s, Odd, Odd, -1 },
        { u"OS"_s, Saturday, Saturday, -1 }, { u"N"_s, Sunday, Sunday, -1 },
        { u"OH"_s, Holiday, Holiday, -1 }, { u"SH"_s, Holiday, Holiday, -1 },
        { u"OE"_s, Event, Event, Event }, { u"HE"_s, Event, Holiday, Event },
        { u"SE"_s, Event, Event, Event }, { u"ONHE"_s, Event, Holiday, Event } };
    for (const auto& [kinds, colour, font, colourBeforeReady] : looks) {
        const Kinds k { kinds.contains(u'O'), kinds.contains(u'S'), kinds.contains(u'N'),
            kinds.contains(u'H'), kinds.contains(u'E') };
        QCOMPARE(lookOf(k, true).colourItem, colour);
        QCOMPARE(lookOf(k, true).fontItem, font);
        QCOMPARE(lookOf(k, false).colourItem, colourBeforeReady);
        QCOMPARE(lookOf(k, false).fontItem, -1);
    }
}

void CalendarTest::lists()
{
    const QStringList two { u"2004"_s, u"2005"_s }, counts { u"366"_s, u"365"_s };
    QVERIFY(generation::listsAreSound(two, counts));
    const std::pair<QStringList, QStringList> unsound[]
        = { { two, { u"366"_s } }, { { u"2004"_s }, counts }, { { u"2004"_s, u"20o5"_s }, counts },
              { { u"2004"_s }, { u""_s } }, { { u"2004"_s }, { u"-366"_s } }, { {}, {} },
              // Years must run on from 2004 one by one, each with its own number of days.
              { { u"2004"_s, u"2050"_s }, counts }, { { u"2005"_s }, { u"365"_s } },
              { { u"2004"_s }, { u"7"_s } }, { { u"2004"_s, u"2005"_s }, { u"366"_s, u"366"_s } } };
    for (const auto& [years, dayCounts] : unsound)
        QVERIFY2(!generation::listsAreSound(years, dayCounts),
            qPrintable(years.join(u' ') + u'/' + dayCounts.join(u' ')));

    DayTable table;
    QStringList years { u"x"_s }, dayCounts;
    generation::listsFromRows(table, years, dayCounts);
    QCOMPARE(years + dayCounts, (QStringList { u"2004"_s, u"366"_s }));
    // Extra rows after the last day row do not end the range early.
    table.replaceRecords(generation::yearRows(2004, 1));
    table.appendRecords(generation::yearRows(2005, 3));
    table.appendRecords({ extraRow(u"23:00"_s, u"Silvestr"_s) });
    generation::listsFromRows(table, years, dayCounts);
    QCOMPARE(years + dayCounts, two + counts);

    // The overview files.
    using overview_files::LoadResult;
    QTemporaryDir dir;
    const QString yearsFile = dir.filePath(u"prehled roku.zrk"_s),
                  daysFile = dir.filePath(u"prehled dnu.zrk"_s);
    QVERIFY(dir.isValid() && overview_files::save(dir.path(), two, counts));
    QCOMPARE(readRaw(yearsFile) + readRaw(daysFile), QByteArray("2004\r\n2005\r\n366\r\n365\r\n"));
    // Lines are read as they stand, whatever ends them; checking them is the caller's job.
    QVERIFY(writeRaw(daysFile, "366\n36x\r\n365"));
    QStringList loadedYears { u"1999"_s }, loadedCounts;
    QCOMPARE(overview_files::load(dir.path(), loadedYears, loadedCounts), LoadResult::Loaded);
    QCOMPARE(loadedYears + loadedCounts, u"2004 2005 366 36x 365"_s.split(u' '));
    // With either file missing, neither list changes.
    for (const QString& missing : { daysFile, yearsFile }) {
        QVERIFY(overview_files::save(dir.path(), two, counts) && QFile::remove(missing));
        QCOMPARE(overview_files::load(dir.path(), loadedYears, loadedCounts), LoadResult::Missing);
        QCOMPARE(loadedYears + loadedCounts, u"2004 2005 366 36x 365"_s.split(u' '));
    }
}

void CalendarTest::rowLookup()
{
    // Jumps go to the day row of a date; rows that only mention it are no targets,
    // before the day row or after it.
    FirstRun run;
    run.table.insertRecord(3, extraRow(u"19:30"_s, u"přesunuto na 29.02.2004"_s));
    EventRecord later = extraRow(u""_s, u"Varhanní koncert"_s);
    later.setText(Field::Value1, u"29.02.2004"_s);
    run.table.insertRecord(62, later);
    const std::pair<QString, int> rows[] = { { u"29.02.2004"_s, 60 }, { u"01.01.2004"_s, 0 },
        { u"31.12.2004"_s, 367 }, { u"29.02.200"_s, -1 }, { u"31.12.2005"_s, -1 } };
    for (const auto& [date, row] : rows)
        QCOMPARE(row_lookup::dayRowWithDate(run.table, date), row);
}

QTEST_GUILESS_MAIN(CalendarTest)
#include "tst_calendar.moc"
