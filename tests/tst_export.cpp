#include "export/command_line.h"
#include "export/csv_export.h"
#include "export/export_events.h"
#include "export/export_file.h"
#include "export/icalendar.h"
#include "largest_table.h"
#include "platform/clock.h"
#include "platform/program_dir.h"
#include "records/event_record.h"
#include "settings/settings.h"
#include "test_files.h"

#include <QDir>
#include <QProcess>
#include <QSet>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <libical/ical.h>

#include <memory>

using namespace Qt::StringLiterals;
using F = EventRecord::Field;
using test_files::readRaw;

namespace {

EventRecord row(const QString& time, const QString& event, const QString& v1 = {}, const QString& v2 = {},
    EventRecord record = EventRecord::blank())
{
    record.setText(F::Time, time);
    record.setText(F::Event, event);
    record.setText(F::Value1, v1);
    record.setText(F::Value2, v2);
    return record;
}

// 1 to 10 March 2024; the tests export 2 to 9 March, so the events on the 1st
// and the 10th lie just outside and those of the 2nd and the 9th just inside.
std::vector<EventRecord> sampleTable()
{
    std::vector<EventRecord> records;
    for (int d = 1; d <= 10; ++d) {
        const EventRecord day = EventRecord::dayRow(u"Po"_s, u"%1.03.2024"_s.arg(d, 2, 10, QLatin1Char('0')));
        if (d == 1 || d == 10) {
            records.push_back(row(u"10:00"_s, u"Mimo rozsah"_s, {}, {}, day));
        } else if (d == 2) {
            records.push_back(row(u"18:00"_s, u"Koncert: Dvořák, Smetana; sál \\ B"_s, u"250 Kč"_s,
                u"Řízek; čaj, \"káva\""_s, day));
            records.push_back(row(u"9.30-11,00"_s, u"Přednáška"_s));
            records.push_back(row(u"23,00-01,30"_s, u"Noční jízda"_s));
            records.push_back(row(u"celý den"_s, u"Výstava ěščřžýáíé ĚŠČŘŽÝÁÍÉ"_s));
            records.push_back(row({}, {}, u"jen hodnota"_s));
            records.push_back(row(u"9.30-11,00"_s, u"Přednáška"_s));
        } else {
            records.push_back(d == 9 ? row(u"18.00 sál"_s, u"Ples \"Na zdraví\""_s, {}, {}, day) : day);
        }
    }
    return records;
}

Settings sixColumns()
{
    Settings settings;
    settings.pocets = u"6"_s;
    settings.items[2].title = u"Čas"_s;
    settings.items[3].title = u"Akce"_s;
    settings.items[4].title = u"Vstupné"_s;
    settings.items[5].title = u"Poznámka"_s;
    return settings;
}

const QDate kFrom(2024, 3, 2);
const QDate kTo(2024, 3, 9);
// 12:30 UTC, given in another zone.
const QDateTime kStamp(QDate(2024, 5, 1), QTime(14, 30), Qt::OffsetFromUTC, 2 * 3600);

QByteArray exportIcs(const std::vector<EventRecord>& records, const Settings& settings = sixColumns(),
    const QDateTime& stamp = kStamp)
{
    return icalendar::write(
        export_events::collect(records, kFrom, kTo), export_events::Columns::from(settings), stamp);
}

// A time as "2024-03-02" (a date) or "2024-03-02 18:00"; "Z" marks UTC, "@" another zone.
QString timeText(const icaltimetype& t)
{
    QString text = QString::asprintf("%04d-%02d-%02d", t.year, t.month, t.day);
    if (!t.is_date)
        text += QString::asprintf(" %02d:%02d", t.hour, t.minute);
    return text + (icaltime_is_utc(t) ? "Z" : t.zone ? "@" : "");
}

// The events as an independent parser reads them, "start – end | summary | description",
// or their UIDs.
QStringList parse(const QByteArray& ics, bool uids = false)
{
    QStringList parsed;
    const std::unique_ptr<icalcomponent, decltype(&icalcomponent_free)> calendar(
        icalparser_parse_string(ics.constData()), &icalcomponent_free);
    if (!calendar || icalcomponent_isa(calendar.get()) != ICAL_VCALENDAR_COMPONENT
        || icalcomponent_count_errors(calendar.get()) != 0)
        return parsed;
    for (icalcomponent* e = icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT); e;
         e = icalcomponent_get_next_component(calendar.get(), ICAL_VEVENT_COMPONENT)) {
        parsed << (uids
                ? QString::fromUtf8(icalcomponent_get_uid(e))
                : timeText(icalcomponent_get_dtstart(e)) + u" – "_s + timeText(icalcomponent_get_dtend(e))
                    + u" | "_s + QString::fromUtf8(icalcomponent_get_summary(e)) + u" | "_s
                    + QString::fromUtf8(icalcomponent_get_description(e)));
    }
    return parsed;
}

int runCli(const QStringList& arguments, const QString& dir, QString* errors = nullptr)
{
    QString text;
    QTextStream stream(&text);
    const int status = command_line::exec(QStringList { u"zorivka"_s } + arguments, dir, stream, stream);
    if (errors)
        *errors = text;
    return status;
}

bool writeTable(const QString& dir, const std::vector<EventRecord>& records)
{
    return test_files::writeRaw(QDir(dir).filePath(u"data.zrk"_s),
        QByteArray(reinterpret_cast<const char*>(records.data()),
            static_cast<qsizetype>(records.size() * sizeof(EventRecord))));
}

} // namespace

class TestExport final : public QObject {
    Q_OBJECT

private slots:
    void clockTimes_data();
    void clockTimes();
    void eventsAreDatedByTheirDayRow();
    void libicalReadsEveryEvent();
    void linesAreFoldedAndEnded();
    void controlCharactersAreDropped();
    void uidsAreStableAndUnique();
    void csvBytes();
    void commandLine();
    void commandLineOnLargestTable();
    void commandLineReadsWhereTheWindowWould();
    void edgeRowsInBothFormats();
};

void TestExport::clockTimes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("clock"); // "start-end|rest", empty when not a clock time
    const auto clock = [](const char* name, const char* text, const char* clock) {
        QTest::newRow(name) << QString::fromUtf8(text) << QString::fromUtf8(clock);
    };
    clock("colon", "18:00", "18:00-|");
    clock("point, one digit", "9.30", "09:30-|");
    clock("comma range", "18,00-20,00", "18:00-20:00|");
    clock("spaced range", " 19:30 - 22.15 sál", "19:30-22:15| sál");
    clock("with words", "20:00 vstup", "20:00-| vstup");
    clock("midnight", "0.00", "00:00-|");
    clock("last minute", "23:59", "23:59-|");
    // Not clock times: the text goes into the description and the event lasts the day.
    clock("hour only", "18", "");
    clock("hour 24", "24:00", "");
    clock("minute 60", "18:60", "");
    clock("three digits", "18:000", "");
    clock("words first", "od 18:00", "");
    clock("date", "12.03.2024", "");
    clock("empty", "", "");
}

void TestExport::clockTimes()
{
    QFETCH(QString, text);
    icalendar::ClockTime c;
    const bool timed = icalendar::parseClockTime(text, c);
    QTEST(
        timed ? c.start.toString(u"HH:mm"_s) + u'-' + c.end.toString(u"HH:mm"_s) + u'|' + c.rest : QString(),
        "clock");
}

void TestExport::eventsAreDatedByTheirDayRow()
{
    std::vector<EventRecord> records = sampleTable();
    // An extra row above every day row and a damaged day row with its extra row.
    records.insert(records.begin(), row(u"8:00"_s, u"Sirotek"_s));
    records.push_back(
        row(u"8:00"_s, u"Rozbité datum"_s, {}, {}, EventRecord::dayRow(u"Po"_s, u"31.02.2024"_s)));
    records.push_back(row(u"9:00"_s, u"Pod rozbitým"_s));
    QStringList seen;
    for (const auto& e : export_events::collect(records, {}, {}))
        seen << e.date.toString(u"d.M "_s) + e.text + u'#' + QString::number(e.repeat);
    QCOMPARE(seen,
        QStringList({ "1.3 Mimo rozsah#0", "2.3 Koncert: Dvořák, Smetana; sál \\ B#0", "2.3 Přednáška#0",
            "2.3 Noční jízda#0", "2.3 Výstava ěščřžýáíé ĚŠČŘŽÝÁÍÉ#0", "2.3 #0", "2.3 Přednáška#1",
            "9.3 Ples \"Na zdraví\"#0", "10.3 Mimo rozsah#0" }));
}

void TestExport::libicalReadsEveryEvent()
{
    const QByteArray ics = exportIcs(sampleTable());
    const QStringList parsed = parse(ics);
    // Clock times are floating local times; without an end the event ends where it starts.
    const QStringList expected {
        "2024-03-02 18:00 – 2024-03-02 18:00 | Koncert: Dvořák, Smetana; sál \\ B | Vstupné: 250 Kč\n"
        "Poznámka: Řízek; čaj, \"káva\"",
        "2024-03-02 09:30 – 2024-03-02 11:00 | Přednáška | ",
        "2024-03-02 23:00 – 2024-03-03 01:30 | Noční jízda | ",
        "2024-03-02 – 2024-03-03 | Výstava ěščřžýáíé ĚŠČŘŽÝÁÍÉ | Čas: celý den",
        "2024-03-02 – 2024-03-03 | jen hodnota | Vstupné: jen hodnota",
        "2024-03-02 09:30 – 2024-03-02 11:00 | Přednáška | ",
        "2024-03-09 18:00 – 2024-03-09 18:00 | Ples \"Na zdraví\" | Čas: 18.00 sál",
    };
    QCOMPARE(parsed, expected);
    QCOMPARE(ics.count("\r\nDTSTAMP:20240501T123000Z\r\n"), 7);
    for (const QString& uid : parse(ics, true))
        QVERIFY2(uid.endsWith(u"@zorivka.cz"_s), qPrintable(uid));
    // With four columns the values still reach the description, under their titles.
    Settings four = sixColumns();
    four.pocets = u"4"_s;
    QCOMPARE(parse(exportIcs(sampleTable(), four)).first(), expected.first());
}

void TestExport::linesAreFoldedAndEnded()
{
    std::vector<EventRecord> records = sampleTable();
    records[1] = row(u"18:00"_s, QString(40, u'ř'), QString(30, u'Ž'), QString(30, u';'), records[1]);
    const QByteArray ics = exportIcs(records);
    QVERIFY(ics.startsWith("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:"));
    QVERIFY(ics.endsWith("END:VEVENT\r\nEND:VCALENDAR\r\n"));
    QVERIFY(!ics.contains("\r\n\r\n"));
    QCOMPARE(ics.count('\n'), ics.count("\r\n"));
    // At most 75 octets and the CR a line; a fold never cuts a two-octet letter.
    for (const QByteArray& line : ics.split('\n')) {
        QStringDecoder decoder(QStringDecoder::Utf8);
        [[maybe_unused]] const QString text = decoder(line);
        QVERIFY2(line.size() <= 76 && !decoder.hasError(), line.constData());
    }
    QCOMPARE(parse(ics).first().section(u" | "_s, 1, 1), QString(40, u'ř'));
    // The leading blank of a continuation line counts.
    QCOMPARE(icalendar::foldLine(QByteArray(75, 'x')), QByteArray(75, 'x') + "\r\n");
    QCOMPARE(icalendar::foldLine(QByteArray(150, 'x')),
        QByteArray(75, 'x') + "\r\n " + QByteArray(74, 'x') + "\r\n x\r\n");
}

void TestExport::controlCharactersAreDropped()
{
    std::vector<EventRecord> records = sampleTable();
    records[1].setBytes(F::Event,
        QByteArray("Zvon\x01\x7f\x1b\x81"
                   "ek\r\nkonec\ntady"));
    const QByteArray ics = exportIcs(records);
    QVERIFY(ics.contains("SUMMARY:Zvonek\\nkonec\\ntady\r\n"));
    QCOMPARE(parse(ics).first().section(u" | "_s, 1, 1), u"Zvonek\nkonec\ntady"_s);
    QCOMPARE(icalendar::escapeText(u"a,b;c\\d\ne"_s), u"a\\,b\\;c\\\\d\\ne"_s);
}

void TestExport::uidsAreStableAndUnique()
{
    const auto uids = [](const std::vector<EventRecord>& records, const QDateTime& stamp = kStamp) {
        return parse(exportIcs(records, sixColumns(), stamp), true);
    };
    const QStringList first = uids(sampleTable());
    QCOMPARE(QSet<QString>(first.begin(), first.end()).size(), 7); // the two equal lectures differ
    QCOMPARE(uids(sampleTable(), kStamp.addDays(3)), first);
    // An edited event is a new event; one added before others leaves their UIDs as they were.
    std::vector<EventRecord> changed = sampleTable();
    changed[1].setText(F::Event, u"Koncert II"_s);
    changed.insert(changed.begin() + 2, row(u"7:00"_s, u"Snídaně"_s));
    QStringList later = uids(changed);
    QVERIFY(!first.contains(later.takeAt(1)) && !first.contains(later.takeAt(0)));
    QCOMPARE(later, first.mid(1));
}

void TestExport::csvBytes()
{
    Settings settings = sixColumns();
    const auto csv = [&settings] {
        return csv_export::write(
            export_events::collect(sampleTable(), kFrom, kTo), export_events::Columns::from(settings));
    };
    // UTF-8 with its mark; a field with a separator or a quote is quoted, its quotes doubled.
    QCOMPARE(csv(),
        QByteArray("\xEF\xBB\xBF"
                   "Datum;Čas;Akce;Vstupné;Poznámka\r\n"
                   "02.03.2024;18:00;\"Koncert: Dvořák, Smetana; sál \\ B\";250 Kč;\"Řízek; čaj, "
                   "\"\"káva\"\"\"\r\n"
                   "02.03.2024;9.30-11,00;Přednáška;;\r\n"
                   "02.03.2024;23,00-01,30;Noční jízda;;\r\n"
                   "02.03.2024;celý den;Výstava ěščřžýáíé ĚŠČŘŽÝÁÍÉ;;\r\n"
                   "02.03.2024;;;jen hodnota;\r\n"
                   "02.03.2024;9.30-11,00;Přednáška;;\r\n"
                   "09.03.2024;18.00 sál;\"Ples \"\"Na zdraví\"\"\";;\r\n"));
    // Only the columns shown.
    settings.pocets = u"4"_s;
    QVERIFY(
        csv().startsWith("\xEF\xBB\xBF"
                         "Datum;Čas;Akce\r\n02.03.2024;18:00;\"Koncert: Dvořák, Smetana; sál \\ B\"\r\n"));
    QCOMPARE(csv_export::field(u"a\nb"_s), u"\"a\r\nb\""_s);
}

void TestExport::commandLine()
{
    QTemporaryDir dir;
    const QString out = dir.filePath(u"out.ics"_s);
    QString errors;
    QCOMPARE(runCli({ "--export-ics", out }, dir.path(), &errors), 1); // no data.zrk
    QVERIFY(errors.contains(u"data.zrk"_s));
    QVERIFY(writeTable(dir.path(), sampleTable()));
    const QByteArray table = readRaw(dir.filePath(u"data.zrk"_s));

    clock_source::setNow(kStamp);
    QCOMPARE(runCli({ "--export-ics", out, "--from", "02.03.2024", "--to", "09.03.2024" }, dir.path()), 0);
    clock_source::setNow({});
    QCOMPARE(readRaw(out), exportIcs(sampleTable(), Settings()));
    // Nothing in the range: status 2 and the file as it was.
    const QByteArray written = readRaw(out);
    QCOMPARE(
        runCli({ "--export-ics", out, "--from", "03.03.2024", "--to", "08.03.2024" }, dir.path(), &errors),
        2);
    QVERIFY(!errors.isEmpty());
    QCOMPARE(readRaw(out), written);
    // A range of one day.
    QCOMPARE(runCli({ "--export-ics", out, "--from", "09.03.2024", "--to", "09.03.2024" }, dir.path()), 0);
    QCOMPARE(parse(readRaw(out)),
        QStringList { u"2024-03-09 18:00 – 2024-03-09 18:00 | Ples \"Na zdraví\" | Hod.: 18.00 sál"_s });
    // The whole calendar.
    QCOMPARE(runCli({ "--export-csv", dir.filePath(u"out.csv"_s) }, dir.path()), 0);
    const QByteArray csv = readRaw(dir.filePath(u"out.csv"_s));
    QVERIFY(csv.startsWith("\xEF\xBB\xBF"
                           "Datum;Hod.;Akce\r\n01.03.2024;10:00;Mimo rozsah\r\n"));
    QVERIFY(csv.endsWith("\r\n10.03.2024;10:00;Mimo rozsah\r\n"));
    QCOMPARE(csv.count("\r\n"), 10);

    const QList<QStringList> bad { {}, { "--export-ics" }, { "--bogus" }, { "--export-ics", out, "navic" },
        { "--export-ics", out, "--from", "31.02.2024" }, { "--export-ics", out, "--to", "2024-03-09" },
        { "--export-ics", out, "--from", "09.03.2024", "--to", "02.03.2024" },
        { "--export-ics", dir.filePath(u"chybi/out.ics"_s) } };
    for (const QStringList& arguments : bad) {
        QCOMPARE(runCli(arguments, dir.path(), &errors), 1);
        QVERIFY2(!errors.isEmpty(), qPrintable(arguments.join(u' ')));
    }
    QCOMPARE(runCli({ "--help" }, dir.path(), &errors), 0);
    QVERIFY(errors.contains(u"--export-csv"_s));
    QCOMPARE(runCli({ "--version" }, dir.path()), 0);

    // The data file is only read; nothing but the outputs appears beside it.
    QCOMPARE(readRaw(dir.filePath(u"data.zrk"_s)), table);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({ "data.zrk", "out.csv", "out.ics" }));
}

void TestExport::commandLineOnLargestTable()
{
    // The real program, copied beside its data, as an installed user would run it.
    QTemporaryDir dir;
    const QString program = dir.filePath(u"zorivka"_s);
    QVERIFY(QFile::copy(QStringLiteral(ZORIVKA_EXECUTABLE), program));
    const largest_table::Table table = largest_table::make();
    QVERIFY(writeTable(dir.path(), table.records));
    const auto run = [&program](const QStringList& arguments, QString* errors = nullptr) {
        QProcess process;
        process.start(program, arguments);
        process.waitForFinished(120000);
        if (errors)
            *errors = QString::fromUtf8(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    };
    QCOMPARE(
        run({ "--export-ics", dir.filePath(u"all.ics"_s), "--export-csv", dir.filePath(u"all.csv"_s) }), 0);

    qsizetype expected = 0;
    for (const EventRecord& r : table.records)
        expected += !r.holdsNoEvent();
    const QStringList events = parse(readRaw(dir.filePath(u"all.ics"_s)));
    QCOMPARE(events.size(), expected);
    QVERIFY(events.first().startsWith(u"2004-01-01"_s) && events.last().startsWith(u"2100-12-"_s));
    // The generated texts hold no line break, so each event is one line.
    QCOMPARE(readRaw(dir.filePath(u"all.csv"_s)).count("\r\n"), expected + 1);

    QString errors;
    QCOMPARE(run({ "--export-ics", dir.filePath(u"x.ics"_s), "--from", "1.1.2004" }, &errors), 1);
    QVERIFY(errors.contains(u"--from"_s));
    QCOMPARE(run({ "--version" }), 0);
    // "-" is standard output, for a pipe; once per command line.
    QProcess pipe;
    pipe.start(program, { "--export-ics", "-", "--from", "01.01.2004", "--to", "31.01.2004" });
    QVERIFY(pipe.waitForFinished(120000));
    QCOMPARE(pipe.exitCode(), 0);
    const QStringList january = parse(pipe.readAllStandardOutput());
    QVERIFY(!january.isEmpty() && january.first().startsWith(u"2004-01-01"_s));
    QVERIFY(january.last().startsWith(u"2004-01-31"_s) || january.last().startsWith(u"2004-01-3"_s));
    QCOMPARE(run({ "--export-ics", "-", "--export-csv", "-" }, &errors), 1);
    QVERIFY(errors.contains(u"„-“"_s));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
        QStringList({ "all.csv", "all.ics", "data.zrk", "zorivka" }));
}

void TestExport::commandLineReadsWhereTheWindowWould()
{
    QTemporaryDir program;
    QTemporaryDir working;
    // Nothing anywhere: the working directory is named in the message.
    QCOMPARE(command_line::dataDir(working.path(), program.path()), working.path());
    // Files still beside a program the window would copy them from.
    QVERIFY(writeTable(program.path(), sampleTable()));
    QCOMPARE(command_line::dataDir(working.path(), program.path()), program.path());
    // Once the working directory has its own data.zrk, that one counts.
    QVERIFY(writeTable(working.path(), sampleTable()));
    QCOMPARE(command_line::dataDir(working.path(), program.path()), working.path());
    // A reader never creates the per-user folder it would fall back to.
    const QString missing = working.filePath(u"Zorivka"_s);
    QCOMPARE(program_dir::choose(working.filePath(u"data.zrk"_s), missing, false), missing);
    QVERIFY(!QFileInfo::exists(missing));
}

void TestExport::edgeRowsInBothFormats()
{
    // Rows of blanks are no events; an event without text is named after its first
    // value or its time, and marked; a cell a spreadsheet would run gets an apostrophe.
    std::vector<EventRecord> records { row(u"  "_s, u" "_s, u"\u00a0"_s, {},
        EventRecord::dayRow(u"Po"_s, u"04.03.2024"_s)) };
    for (const QString& text : { u"=HYPERLINK(\"x\")"_s, u"+1"_s, u"-2"_s, u"@SUM(A1)"_s, u"\tTab"_s, u"\rCR"_s })
        records.push_back(row({}, text));
    records.push_back(row(u"19:00"_s, u"   "_s, u" "_s, u"sál B"_s));
    records.push_back(row(u"celý den"_s, {}));
    const auto events = export_events::collect(records, kFrom, kTo);
    QCOMPARE(csv_export::write(events, export_events::Columns::from(sixColumns())),
        QByteArray("\xEF\xBB\xBF"
                   "Datum;Čas;Akce;Vstupné;Poznámka\r\n"
                   "04.03.2024;;\"'=HYPERLINK(\"\"x\"\")\";;\r\n"
                   "04.03.2024;;'+1;;\r\n04.03.2024;;'-2;;\r\n04.03.2024;;'@SUM(A1);;\r\n"
                   "04.03.2024;;'Tab;;\r\n04.03.2024;;\"'\r\nCR\";;\r\n"
                   "04.03.2024;19:00;   ; ;sál B\r\n04.03.2024;celý den;;;\r\n"));
    const QByteArray ics = icalendar::write(events, export_events::Columns::from(sixColumns()), kStamp);
    QCOMPARE(parse(ics).mid(6),
        QStringList({ "2024-03-04 19:00 – 2024-03-04 19:00 | sál B | Poznámka: sál B",
            "2024-03-04 – 2024-03-05 | celý den | Čas: celý den" }));
    QCOMPARE(ics.count("\r\nX-ZORIVKA-SUMMARY:FALLBACK\r\n"), 2);
    QCOMPARE(ics.count("\r\nSUMMARY:"), 8);
}

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"
