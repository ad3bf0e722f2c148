#include "calendar/day_table.h"
#include "calendar/generation.h"
#include "calendar/holidays.h"
#include "calendar/overview_files.h"
#include "calendar/row_kind.h"
#include "recording_messenger.h"
#include "search/row_lookup.h"
#include "table_rows.h"

#include "test_files.h"

#include <QtTest>

using namespace Qt::StringLiterals;
using Field = EventRecord::Field;

namespace {

// Monday first in each of the four formats; written out here rather than taken from the program.
const QStringList kNames[] = { u"Pondělí Úterý Středa Čtvrtek Pátek Sobota Neděle"_s.split(u' '),
    u"Po Út St Čt Pá So Ne"_s.split(u' '), u"pondělí úterý středa čtvrtek pátek sobota neděle"_s.split(u' '),
    u"po út st čt pá so ne"_s.split(u' ') };

// The number of day rows from row `first` on, each one day after the one before from
// `day`, named from `names`; -1 at the first that is not.
int consecutiveDayRows(
    const DayTable& table, const QStringList& names, int first = 0, QDate day = { 2004, 1, 1 })
{
    int days = 0;
    for (int row = first; row < table.rowCount(); ++row) {
        const EventRecord& r = table.record(row);
        const QDate date = day.addDays(days);
        if (r.isDayRow()
            && r.text(Field::DayName) + u' ' + r.text(Field::Date)
                != names[date.dayOfWeek() - 1] + date.toString(u" dd.MM.yyyy"_s))
            return -1;
        days += r.isDayRow() ? 1 : 0;
    }
    return days;
}

} // namespace

class CalendarTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void yearRange();
    void rowKinds();
};

void CalendarTest::yearRange()
{
    DayTable table;
    RecordingMessenger messenger;
    QVERIFY(generation::buildFirstYearTable(table, messenger));
    QCOMPARE(consecutiveDayRows(table, kNames[1]), 366);
    QStringList years { u"2004"_s }, dayCounts { u"366"_s };
    while (years.last() != u"2100") {
        generation::addNextYear(years, dayCounts);
        QVERIFY(generation::appendYearRows(table, years, u"1"_s, messenger));
    }
    QVERIFY(generation::listsAreSound(years, dayCounts));
    QCOMPARE(generation::totalDays(dayCounts), 35429);
    // Each format renames every day and keeps every text, also the values the columns may not show.
    table.insertRecord(1, table_rows::extraRow(u"10:00"_s, u"Novoroční koncert"_s, u"Reduta"_s, u"350 Kč"_s));
    for (int format : { 1, 0, 2, 3, 1 }) {
        generation::rebuildWithFormat(table, QString::number(format), messenger);
        QCOMPARE(consecutiveDayRows(table, kNames[format]), 35429);
    }
    const EventRecord& extra = table.record(1);
    QCOMPARE(QStringList({ extra.text(Field::DayName), extra.text(Field::Time), extra.text(Field::Event),
                 extra.text(Field::Value1), extra.text(Field::Value2) }),
        QStringList({ "", "10:00", "Novoroční koncert", "Reduta", "350 Kč" }));

    // Adding a year also fills in the day counts missing before it; 2000 is a leap year.
    QStringList gapYears { u"1998"_s, u"1999"_s, u"2000"_s }, gapCounts { u"365"_s };
    generation::addNextYear(gapYears, gapCounts);
    QCOMPARE(gapYears + gapCounts, u"1998 1999 2000 2001 365 365 366 365"_s.split(u' '));

    // The lists read back from the rows, past an extra row after the last day row;
    // from no rows at all, the first year.
    QVERIFY(table.insertRecord(table.rowCount(), table_rows::extraRow(u"23:00"_s, u"Silvestr"_s)));
    QStringList rowYears { u"x"_s }, rowCounts;
    generation::listsFromRows(table, rowYears, rowCounts);
    QCOMPARE(rowYears + rowCounts, years + dayCounts);
    generation::listsFromRows(DayTable(), rowYears, rowCounts);
    QCOMPARE(rowYears + rowCounts, (QStringList { u"2004"_s, u"366"_s }));

    // Jumps go to the day row of a date; rows that only mention it are no targets,
    // before the day row or after it.
    table.insertRecord(3, table_rows::extraRow(u"19:30"_s, u"přesunuto na 29.02.2004"_s));
    table.insertRecord(62, table_rows::extraRow(u""_s, u"Varhanní koncert"_s, u"29.02.2004"_s));
    QVERIFY(table.removeRecords(table.rowCount() - 1, 1)); // the last row can go
    QStringList found;
    for (const QString& date :
        { u"29.02.2004"_s, u"01.01.2004"_s, u"31.12.2100"_s, u"29.02.200"_s, u"01.01.2101"_s })
        found << QString::number(row_lookup::dayRowWithDate(table, date));
    QCOMPARE(found, u"61 0 35431 -1 -1"_s.split(u' '));

    // Unknown formats neither append nor rename; nor does a last year that is no year at
    // all (read as year 0) append anything rather than running forever.
    QSignalSpy inserted(&table, &DayTable::rowsInserted), reset(&table, &DayTable::resetDone);
    for (const QString& format : { u"4"_s, u"-1"_s, u""_s, u"x"_s, u"01"_s, u"1 "_s }) {
        QVERIFY2(!generation::appendYearRows(table, years, format, messenger), qPrintable(format));
        generation::rebuildWithFormat(table, format, messenger);
    }
    QVERIFY(generation::appendYearRows(table, { u"2004"_s, u"abc"_s }, u"1"_s, messenger));
    QVERIFY(inserted.isEmpty() && reset.isEmpty());

    // A date that cannot be read keeps its row a day row; bytes a damaged file left after
    // a text are not carried over.
    EventRecord odd = table.record(0);
    odd.setText(Field::Date, u"32.13.2004"_s);
    odd.event.length = 2;
    odd.event.bytes[2] = 'x';
    odd.time.length = 200;
    table.setRecord(0, odd);
    generation::rebuildWithFormat(table, u"2"_s, messenger);
    const EventRecord& rebuilt = table.record(0);
    QCOMPARE(rebuilt.text(Field::DayName) + table.record(2).text(Field::DayName), u"Čtpátek"_s);
    QVERIFY(rebuilt.event.bytes[2] == '\0' && rebuilt.time.length == 12);

    const QStringList two { u"2004"_s, u"2005"_s }, counts { u"366"_s, u"365"_s };
    QVERIFY(!generation::listsAreSound({}, {}));
    // "years/day counts"; years must run on from 2004 one by one, each with its own number of days.
    for (const QString& unsound : { u"2004 2005/366"_s, u"2004/366 365"_s, u"2004 20o5/366 365"_s, u"2004/"_s,
             u"2004/-366"_s, u"2004 2050/366 365"_s, u"2005/365"_s, u"2004/7"_s, u"2004 2005/366 366"_s })
        QVERIFY2(!generation::listsAreSound(
                     unsound.section(u'/', 0, 0).split(u' '), unsound.section(u'/', 1).split(u' ')),
            qPrintable(unsound));

    // The overview files.
    QTemporaryDir dir;
    const QString yearsFile = dir.filePath(u"prehled roku.zrk"_s),
                  daysFile = dir.filePath(u"prehled dnu.zrk"_s);
    QVERIFY(dir.isValid() && overview_files::save(dir.path(), two, counts));
    QCOMPARE(test_files::readRaw(yearsFile) + test_files::readRaw(daysFile),
        QByteArray("2004\r\n2005\r\n366\r\n365\r\n"));
    // Lines are read as they stand, whatever ends them; checking them is the caller's job.
    QVERIFY(test_files::writeRaw(daysFile, "366\n36x\r\n365"));
    QStringList loadedYears { u"1999"_s }, loadedCounts;
    QCOMPARE(overview_files::load(dir.path(), loadedYears, loadedCounts), overview_files::LoadResult::Loaded);
    QCOMPARE(loadedYears + loadedCounts, u"2004 2005 366 36x 365"_s.split(u' '));
    // With either file missing, neither list changes.
    for (const QString& missing : { daysFile, yearsFile }) {
        QVERIFY(overview_files::save(dir.path(), two, counts) && QFile::remove(missing));
        QCOMPARE(
            overview_files::load(dir.path(), loadedYears, loadedCounts), overview_files::LoadResult::Missing);
        QCOMPARE(loadedYears + loadedCounts, u"2004 2005 366 36x 365"_s.split(u' '));
    }
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
    QVERIFY(!holidays::isHoliday("25.12.04", holidays::Years(QStringList { u"04"_s })));

    using namespace row_kind;
    // Letters for Odd, Saturday, suNday, Holiday, Event; then "=", the colour item, the font item,
    // the colour and font items before start-up has finished: 0 Even, 1 Odd, 2 Saturday,
    // 3 Sunday, 4 Holiday, 5 Event, - the list's own.
    const auto item = [](int i) { return i < 0 ? u"-"_s : QString::number(i); };
    const auto kinds = [&item](const Kinds& k) {
        const Look ready = lookOf(k, true), early = lookOf(k, false);
        return QString(k.odd ? "O" : "") + (k.saturday ? "S" : "") + (k.sunday ? "N" : "")
            + (k.holiday ? "H" : "") + (k.event ? "E" : "") + u'=' + item(ready.colourItem)
            + item(ready.fontItem) + item(early.colourItem) + item(early.fontItem);
    };
    // Day name, date, time, event | an even row | an odd row.
    const QString rows[] = { u"Po 05.01.2004|=00--|O=11--"_s, u"sobota 03.01.2004|S=22--|OS=22--"_s,
        u"SO 03.01.2004|S=22--|OS=22--"_s, u"NEDĚLE 04.01.2004|N=33--|ON=33--"_s,
        u"Ne 04.01.2004|N=33--|ON=33--"_s, u"Sob 03.01.2004|=00--|O=11--"_s,
        u"Čt 01.01.2004|H=44--|OH=44--"_s, u"Ne 28.09.2008|NH=44--|ONH=44--"_s,
        u"Čt 01.01.2015|=00--|O=11--"_s, u"  20:00|E=555-|OE=555-"_s, u"   Výstava|E=555-|OE=555-"_s,
        u"St 28.10.2009 10:00 Průvod|HE=545-|OHE=545-"_s, u"so 03.01.2004  Trh|SE=555-|OSE=555-"_s };
    const holidays::Years marked(QStringList { u"2004"_s, u"2008"_s, u"2009"_s });
    for (const QString& row : rows) {
        const QStringList texts = row.section(u'|', 0, 0).split(u' ');
        EventRecord record = EventRecord::dayRow(texts[0], texts.value(1));
        record.setText(Field::Time, texts.value(2));
        record.setText(Field::Event, texts.value(3));
        QCOMPARE(kinds(classify(record, 6, marked)) + u'|' + kinds(classify(record, 7, marked)),
            row.section(u'|', 1));
    }
}

QTEST_GUILESS_MAIN(CalendarTest)
#include "tst_calendar.moc"
