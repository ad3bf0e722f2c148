#include "export/command_line.h"
#include "export/csv_export.h"
#include "export/export_events.h"
#include "export/icalendar.h"
#include "largest_table.h"
#include "platform/clock.h"
#include "platform/parts.h"
#include "platform/program_dir.h"
#include "settings/settings.h"
#include "table_rows.h"
#include "test_files.h"

#include <QDir>
#include <QProcess>
#include <QSet>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <libical/ical.h>

using namespace Qt::StringLiterals;
using F = EventRecord::Field;
using test_files::readRaw;

namespace {

EventRecord row(const QString& time, const QString& event, const QString& v1 = {}, const QString& v2 = {},
    EventRecord record = EventRecord::blank())
{
    for (const auto& [field, text] :
        { std::pair { F::Time, time }, { F::Event, event }, { F::Value1, v1 }, { F::Value2, v2 } })
        record.setText(field, text);
    return record;
}

// 1 to 10 March 2024, after an extra row with no day row above it and before a day row
// whose date does not exist; the tests export 2 to 9 March, so the events on the 1st and
// the 10th lie just outside and those of the 2nd and the 9th just inside. On the 3rd:
// every field full. On the 4th: a day row of blanks, cells a spreadsheet would run (one
// with control characters), events without text.
std::vector<EventRecord> sampleTable()
{
    std::vector<EventRecord> records { row(u"8:00"_s, u"Sirotek"_s) };
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
        } else if (d == 3) {
            records.push_back(row(u"18:00"_s, QString(40, u'ř'), QString(30, u'Ž'), QString(30, u';'), day));
        } else if (d == 4) {
            records.push_back(row(u"  "_s, u" "_s, u"\u00a0"_s, {}, day));
            for (const QString& text : { u"=HYPERLINK(\"x\")"_s, u"+1"_s, u"-2"_s, u"@SUM(A1)"_s,
                     u"\tTa\u0001\u007f\u001b\u0081b"_s, u"\rCR"_s })
                records.push_back(row({}, text));
            records.push_back(row(u"19:00"_s, u"   "_s, u" "_s, u"sál B"_s));
            records.push_back(row(u"celý den"_s, {}));
        } else {
            records.push_back(d == 9 ? row(u"18.00 sál"_s, u"Ples \"Na zdraví\""_s, {}, {}, day) : day);
        }
    }
    records.push_back(
        row(u"8:00"_s, u"Rozbité datum"_s, {}, {}, EventRecord::dayRow(u"Po"_s, u"31.02.2024"_s)));
    records.push_back(row(u"9:00"_s, u"Pod rozbitým"_s));
    return records;
}

const QDate kFrom(2024, 3, 2);
const QDate kTo(2024, 3, 9);
// 12:30 UTC, given in another zone.
const QDateTime kStamp(QDate(2024, 5, 1), QTime(14, 30), Qt::OffsetFromUTC, 2 * 3600);

QByteArray exportIcs(const std::vector<EventRecord>& records,
    const Settings& settings = table_rows::sixColumns(), const QDateTime& stamp = kStamp)
{
    return icalendar::write(
        export_events::collect(records, kFrom, kTo), export_events::Columns::from(settings), stamp)
        .value();
}

// The events as an independent parser reads them, "start – end | summary | description",
// or their UIDs.
QStringList parse(const QByteArray& ics, bool uids = false)
{
    // A time as libical writes it: "20240302" a date, "20240302T180000" a floating time, a
    // final "Z" UTC; "@" marks another zone.
    const auto time = [](const icaltimetype& t) {
        return QString::fromLatin1(icaltime_as_ical_string(t)) + (t.zone && !icaltime_is_utc(t) ? "@" : "");
    };
    QStringList parsed;
    icalcomponent* calendar = icalparser_parse_string(ics.constData());
    if (calendar && icalcomponent_isa(calendar) == ICAL_VCALENDAR_COMPONENT
        && icalcomponent_count_errors(calendar) == 0) {
        for (icalcomponent* e = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); e;
             e = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT))
            parsed << (uids ? QString::fromUtf8(icalcomponent_get_uid(e))
                            : time(icalcomponent_get_dtstart(e)) + u" – "_s + time(icalcomponent_get_dtend(e))
                        + u" | "_s + QString::fromUtf8(icalcomponent_get_summary(e)) + u" | "_s
                        + QString::fromUtf8(icalcomponent_get_description(e)));
    }
    icalcomponent_free(calendar);
    return parsed;
}

int runCli(const QStringList& arguments, const QString& dir, QString* errors = nullptr)
{
    QString ignored;
    QTextStream stream(errors ? errors : &ignored);
    stream.string()->clear();
    return command_line::exec(QStringList { u"zorivka"_s } + arguments, dir, stream, stream);
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
    void clockTimes();
    void edgeRowsInBothFormats();
    void commandLine();
    void commandLineOnLargestTable();
};

void TestExport::clockTimes()
{
    // "text=start-end|rest"; nothing after "=" when the text is no clock time: then the text
    // goes into the description and the event lasts the day.
    for (const char* clock : { "18:00=18:00-|", "9.30=09:30-|", "18,00-20,00=18:00-20:00|",
             " 19:30 - 22.15 sál=19:30-22:15| sál", "20:00 vstup=20:00-| vstup", "0.00=00:00-|",
             "23:59=23:59-|", "18=", "24:00=", "18:60=", "18:000=", "od 18:00=", "12.03.2024=", "=" }) {
        const QString text = QString::fromUtf8(clock).section(u'=', 0, 0);
        icalendar::ClockTime c;
        const bool timed = icalendar::parseClockTime(text, c);
        QCOMPARE(text + u'='
                + (timed ? c.start.toString(u"HH:mm"_s) + u'-' + c.end.toString(u"HH:mm"_s) + u'|' + c.rest
                         : QString()),
            QString::fromUtf8(clock));
    }
}

void TestExport::edgeRowsInBothFormats()
{
    // Events are dated by their day row: none above the first, none under a date that does
    // not exist. Rows of blanks are no events; an event without text is named after its
    // first value or its time, and marked; a cell a spreadsheet would run gets an apostrophe.
    const auto events = export_events::collect(sampleTable(), {}, {});
    // UTF-8 with its mark; a field with a separator or a quote is quoted, its quotes doubled.
    QCOMPARE(csv_export::write(events, export_events::Columns::from(table_rows::sixColumns())),
        QByteArray("\xEF\xBB\xBF"
                   "Datum;Čas;Akce;Vstupné;Poznámka\r\n01.03.2024;10:00;Mimo rozsah;;\r\n"
                   "02.03.2024;18:00;\"Koncert: Dvořák, Smetana; sál \\ B\";250 Kč;\"Řízek; čaj, "
                   "\"\"káva\"\"\"\r\n"
                   "02.03.2024;9.30-11,00;Přednáška;;\r\n02.03.2024;23,00-01,30;Noční jízda;;\r\n"
                   "02.03.2024;celý den;Výstava ěščřžýáíé ĚŠČŘŽÝÁÍÉ;;\r\n02.03.2024;;;jen hodnota;\r\n"
                   "02.03.2024;9.30-11,00;Přednáška;;\r\n03.03.2024;18:00;"
            + QString(40, u'ř').toUtf8() + ';' + QString(30, u'Ž').toUtf8() + ";\"" + QByteArray(30, ';')
            + "\"\r\n"
              "04.03.2024;;\"'=HYPERLINK(\"\"x\"\")\";;\r\n"
              "04.03.2024;;'+1;;\r\n04.03.2024;;'-2;;\r\n04.03.2024;;'@SUM(A1);;\r\n"
              "04.03.2024;;'Tab;;\r\n04.03.2024;;\"'\r\nCR\";;\r\n"
              "04.03.2024;19:00;   ; ;sál B\r\n04.03.2024;celý den;;;\r\n"
              "09.03.2024;18.00 sál;\"Ples \"\"Na zdraví\"\"\";;\r\n10.03.2024;10:00;Mimo rozsah;;\r\n"));
    // The events as an independent parser reads them: clock times are floating local times;
    // without an end the event ends where it starts; all-day events end the next day.
    const QByteArray ics
        = icalendar::write(events, export_events::Columns::from(table_rows::sixColumns()), kStamp).value();
    const QStringList expected { "20240301T100000 – 20240301T100000 | Mimo rozsah | ",
        "20240302T180000 – 20240302T180000 | Koncert: Dvořák, Smetana; sál \\ B | Vstupné: 250 Kč\n"
        "Poznámka: Řízek; čaj, \"káva\"",
        "20240302T093000 – 20240302T110000 | Přednáška | ",
        "20240302T230000 – 20240303T013000 | Noční jízda | ",
        "20240302 – 20240303 | Výstava ěščřžýáíé ĚŠČŘŽÝÁÍÉ | Čas: celý den",
        "20240302 – 20240303 | jen hodnota | Vstupné: jen hodnota",
        "20240302T093000 – 20240302T110000 | Přednáška | ",
        u"20240303T180000 – 20240303T180000 | "_s + QString(40, u'ř') + u" | Vstupné: "_s + QString(30, u'Ž')
            + u"\nPoznámka: "_s + QString(30, u';'),
        "20240304 – 20240305 | =HYPERLINK(\"x\") | ", "20240304 – 20240305 | +1 | ",
        "20240304 – 20240305 | -2 | ", "20240304 – 20240305 | @SUM(A1) | ", "20240304 – 20240305 | Tab | ",
        "20240304 – 20240305 | \nCR | ", "20240304T190000 – 20240304T190000 | sál B | Poznámka: sál B",
        "20240304 – 20240305 | celý den | Čas: celý den",
        "20240309T180000 – 20240309T180000 | Ples \"Na zdraví\" | Čas: 18.00 sál",
        "20240310T100000 – 20240310T100000 | Mimo rozsah | " };
    QCOMPARE(parse(ics), expected);
    QCOMPARE(ics.count("\r\nDTSTAMP:20240501T123000Z\r\n"), 18);
    QCOMPARE(ics.count("\r\nX-ZORIVKA-SUMMARY:FALLBACK\r\n"), 3);
    // UIDs: unique (also of the two equal lectures), the same at another time; an edited
    // event is a new event, one added before others leaves their UIDs as they were.
    const QStringList uids = parse(exportIcs(sampleTable()), true);
    QCOMPARE((uids.join(u'\n') + u'\n').count(u"@zorivka.cz\n"_s), 16);
    QCOMPARE(QSet<QString>(uids.begin(), uids.end()).size(), 16);
    QCOMPARE(parse(exportIcs(sampleTable(), table_rows::sixColumns(), kStamp.addDays(3)), true), uids);
    std::vector<EventRecord> changed = sampleTable();
    changed[2].setText(F::Event, u"Koncert II"_s);
    changed.insert(changed.begin() + 3, row(u"7:00"_s, u"Snídaně"_s));
    QStringList later = parse(exportIcs(changed), true);
    QVERIFY(!uids.contains(later.takeAt(1)) && !uids.contains(later.takeAt(0)));
    QCOMPARE(later, uids.mid(1));

    // Lines end with CR LF, none blank; at most 75 octets and the CR a line; a fold never
    // cuts a two-octet letter, and the leading blank of a continuation line counts.
    QVERIFY(ics.startsWith("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:")
        && ics.endsWith("END:VEVENT\r\nEND:VCALENDAR\r\n"));
    QVERIFY(!ics.contains("\r\n\r\n") && ics.count('\n') == ics.count("\r\n"));
    for (const QByteArray& line : ics.split('\n')) {
        QStringDecoder decoder(QStringDecoder::Utf8);
        [[maybe_unused]] const QString text = decoder(line);
        QVERIFY2(line.size() <= 76 && !decoder.hasError(), line.constData());
    }

    // With four columns the CSV (after its byte order mark) has only the columns shown; the
    // values still reach the description, under their titles.
    Settings four = table_rows::sixColumns();
    four.pocets = u"4"_s;
    QCOMPARE(parse(exportIcs(sampleTable(), four)).first(), expected[1]);
    const QByteArray fourColumns = csv_export::write(events, export_events::Columns::from(four));
    QVERIFY(fourColumns.mid(3).startsWith("Datum;Čas;Akce\r\n01.03.2024;10:00;Mimo rozsah\r\n"));
}

void TestExport::commandLine()
{
    QTemporaryDir dir;
    const QString out = dir.filePath(u"out.ics"_s);
    QString errors;
    QCOMPARE(runCli({ "--export-ics", out }, dir.path(), &errors), 1); // no data.zrk
    QVERIFY(errors.contains(u"data.zrk"_s));
    // It reads where the window would: the working folder when nothing is anywhere; files
    // still beside a program the window would copy them from; the working folder's own
    // data.zrk once it has one. A reader never creates the per-user folder it would fall back to.
    QTemporaryDir program;
    QCOMPARE(command_line::dataDir(dir.path(), program.path()), dir.path());
    QVERIFY(writeTable(program.path(), sampleTable()));
    QCOMPARE(command_line::dataDir(dir.path(), program.path()), program.path());
    QVERIFY(writeTable(dir.path(), sampleTable()));
    QCOMPARE(command_line::dataDir(dir.path(), program.path()), dir.path());
    const QString missing = dir.filePath(u"Zorivka"_s);
    QCOMPARE(program_dir::choose(dir.filePath(u"data.zrk"_s), missing, false), missing);
    QVERIFY(!QFileInfo::exists(missing));

    clock_source::setNow(kStamp);
    QCOMPARE(runCli({ "--export-ics", out, "--from", "02.03.2024", "--to", "09.03.2024" }, dir.path()), 0);
    clock_source::setNow({});
    QCOMPARE(readRaw(out), exportIcs(sampleTable(), Settings()));
    // Nothing in the range: status 2 and the file as it was.
    const QByteArray written = readRaw(out);
    QCOMPARE(
        runCli({ "--export-ics", out, "--from", "05.03.2024", "--to", "08.03.2024" }, dir.path(), &errors),
        2);
    QVERIFY(!errors.isEmpty());
    QCOMPARE(readRaw(out), written);
    // A range of one day.
    QCOMPARE(runCli({ "--export-ics", out, "--from", "09.03.2024", "--to", "09.03.2024" }, dir.path()), 0);
    QCOMPARE(parse(readRaw(out)),
        QStringList { u"20240309T180000 – 20240309T180000 | Ples \"Na zdraví\" | Hod.: 18.00 sál"_s });
    // The whole calendar.
    QCOMPARE(runCli({ "--export-csv", dir.filePath(u"out.csv"_s) }, dir.path()), 0);
    QCOMPARE(readRaw(dir.filePath(u"out.csv"_s)),
        csv_export::write(export_events::collect(sampleTable(), {}, {}), export_events::Columns::from({})));

    const QList<QStringList> bad { {}, { "--export-ics" }, { "--bogus" }, { "--export-ics", out, "navic" },
        { "--export-ics", out, "--from", "31.02.2024" }, { "--export-ics", out, "--from", "1.3.2024" },
        { "--export-ics", out, "--to", "2024-03-09" },
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
    QCOMPARE(readRaw(dir.filePath(u"data.zrk"_s)), readRaw(QDir(program.path()).filePath(u"data.zrk"_s)));
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
    QProcess process;
    const auto run = [&](const QStringList& arguments) {
        process.start(program, arguments);
        process.waitForFinished(120000);
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    };
    QCOMPARE(
        run({ "--export-ics", dir.filePath(u"all.ics"_s), "--export-csv", dir.filePath(u"all.csv"_s) }), 0);
    const qsizetype expected = std::count_if(
        table.records.begin(), table.records.end(), [](const EventRecord& r) { return !r.holdsNoEvent(); });
    const QStringList events = parse(readRaw(dir.filePath(u"all.ics"_s)));
    QCOMPARE(events.size(), expected);
    QVERIFY(events.first().startsWith(u"20040101"_s) && events.last().startsWith(u"210012"_s));
    // The generated texts hold no line break, so each event is one line.
    QCOMPARE(readRaw(dir.filePath(u"all.csv"_s)).count("\r\n"), expected + 1);
    // "-" is standard output, for a pipe; once per command line.
    QCOMPARE(run({ "--export-ics", "-", "--from", "01.01.2004", "--to", "31.01.2004" }), 0);
    const QStringList january = parse(process.readAllStandardOutput());
    QVERIFY(!january.isEmpty() && january.first().startsWith(u"20040101"_s)
        && january.last().startsWith(u"2004013"_s));
    QCOMPARE(run({ "--export-ics", "-", "--export-csv", "-" }), 1);
    QVERIFY(QString::fromUtf8(process.readAllStandardError()).contains(u"„-“"_s));
    // Without the iCalendar part: status 1, the reason, and no file.
    QTemporaryDir noParts;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"ZORIVKA_PARTS_DIR"_s, noParts.path());
    process.setProcessEnvironment(environment);
    QCOMPARE(run({ "--export-ics", dir.filePath(u"none.ics"_s) }), 1);
    QVERIFY(QString::fromUtf8(process.readAllStandardError()).contains(parts::fileName(u"ical"_s)));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
        QStringList({ "all.csv", "all.ics", "data.zrk", "zorivka" }));
}

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"
