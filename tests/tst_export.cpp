#include "calendar/generation.h"
#include "export/command_line.h"
#include "export/csv_export.h"
#include "export/export_events.h"
#include "export/export_file.h"
#include "export/icalendar.h"
#include "largest_table.h"
#include "records/event_record.h"
#include "settings/settings.h"
#include "test_files.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <libical/ical.h>

#include <memory>

using F = EventRecord::Field;

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

EventRecord day(const QString& date)
{
    return EventRecord::dayRow(QStringLiteral("Po"), date);
}

// 1 to 10 March 2024; the tests export 2 to 9 March, so the events on the 1st
// and the 10th lie just outside and those of the 2nd and the 9th just inside.
std::vector<EventRecord> sampleTable()
{
    std::vector<EventRecord> records;
    for (int d = 1; d <= 10; ++d) {
        const QString date = QStringLiteral("%1.03.2024").arg(d, 2, 10, QLatin1Char('0'));
        if (d == 1 || d == 10) {
            records.push_back(row(QStringLiteral("10:00"), QStringLiteral("Mimo rozsah"), {}, {}, day(date)));
        } else if (d == 2) {
            records.push_back(
                row(QStringLiteral("18:00"), QStringLiteral("Koncert: Dvořák, Smetana; sál \\ B"),
                    QStringLiteral("250 Kč"), QStringLiteral("Řízek; čaj, \"káva\""), day(date)));
            records.push_back(row(QStringLiteral("9.30-11,00"), QStringLiteral("Přednáška")));
            records.push_back(row(QStringLiteral("23,00-01,30"), QStringLiteral("Noční jízda")));
            records.push_back(row(QStringLiteral("celý den"), QStringLiteral("Výstava ěščřžýáíé ĚŠČŘŽÝÁÍÉ")));
            records.push_back(row({}, {}, QStringLiteral("jen hodnota")));
            records.push_back(row(QStringLiteral("9.30-11,00"), QStringLiteral("Přednáška")));
        } else if (d == 9) {
            records.push_back(row(QStringLiteral("18.00 sál"), QStringLiteral("Ples"), {}, {}, day(date)));
        } else {
            records.push_back(day(date));
        }
    }
    return records;
}

Settings sixColumns()
{
    Settings settings;
    settings.pocets = QStringLiteral("6");
    settings.items[2].title = QStringLiteral("Čas");
    settings.items[3].title = QStringLiteral("Akce");
    settings.items[4].title = QStringLiteral("Vstupné");
    settings.items[5].title = QStringLiteral("Poznámka");
    return settings;
}

const QDate kFrom(2024, 3, 2);
const QDate kTo(2024, 3, 9);
const QDateTime kStamp(QDate(2024, 5, 1), QTime(12, 30), Qt::UTC);

QByteArray exportIcs(const std::vector<EventRecord>& records, const Settings& settings = sixColumns(),
    const QDateTime& stamp = kStamp)
{
    return icalendar::write(
        export_events::collect(records, kFrom, kTo), export_events::Columns::from(settings), stamp);
}

struct Parsed {
    QString uid;
    icaltimetype start;
    icaltimetype end;
    icaltimetype stamp;
    QString summary;
    QString description;
};

struct CalendarDeleter {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};

// The events as an independent parser reads them.
QList<Parsed> parseWithLibical(const QByteArray& ics)
{
    std::unique_ptr<icalcomponent, CalendarDeleter> calendar(icalparser_parse_string(ics.constData()));
    if (!calendar || icalcomponent_isa(calendar.get()) != ICAL_VCALENDAR_COMPONENT)
        return {};
    if (icalcomponent_count_errors(calendar.get()) != 0) {
        char* text = icalcomponent_as_ical_string_r(calendar.get());
        const QByteArray all(text);
        free(text);
        const qsizetype at = all.indexOf("X-LIC-ERROR");
        qWarning("libical: %s", all.mid(std::max<qsizetype>(0, at - 300), 500).constData());
        return {};
    }
    QList<Parsed> events;
    for (icalcomponent* e = icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT); e;
         e = icalcomponent_get_next_component(calendar.get(), ICAL_VEVENT_COMPONENT)) {
        const char* description = icalcomponent_get_description(e);
        events.append({ QString::fromUtf8(icalcomponent_get_uid(e)), icalcomponent_get_dtstart(e),
            icalcomponent_get_dtend(e), icalcomponent_get_dtstamp(e),
            QString::fromUtf8(icalcomponent_get_summary(e)),
            description ? QString::fromUtf8(description) : QString() });
    }
    return events;
}

QString timeText(const icaltimetype& t)
{
    if (icaltime_is_null_time(t))
        return QStringLiteral("-");
    QString text = QStringLiteral("%1-%2-%3")
                       .arg(t.year)
                       .arg(t.month, 2, 10, QLatin1Char('0'))
                       .arg(t.day, 2, 10, QLatin1Char('0'));
    if (!t.is_date)
        text += QStringLiteral(" %1:%2")
                    .arg(t.hour, 2, 10, QLatin1Char('0'))
                    .arg(t.minute, 2, 10, QLatin1Char('0'));
    return text;
}

// A small RFC 4180 reader with a semicolon separator.
QList<QStringList> readCsv(const QString& text)
{
    QList<QStringList> records;
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text.at(i + 1) == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u';') {
            fields << field;
            field.clear();
        } else if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
            fields << field;
            records << fields;
            fields.clear();
            field.clear();
            ++i;
        } else {
            field += c;
        }
    }
    if (!field.isEmpty() || !fields.isEmpty())
        records << (fields << field);
    return records;
}

int runCli(const QStringList& arguments, const QString& dir, QString* errors = nullptr)
{
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const int status = command_line::exec(
        QStringList { QStringLiteral("zorivka") } + arguments, dir, outStream, errStream);
    if (errors)
        *errors = err + out;
    return status;
}

bool writeTable(const QString& dir, const std::vector<EventRecord>& records)
{
    return test_files::writeRaw(QDir(dir).filePath(QStringLiteral("data.zrk")),
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
    void foldNeverSplitsACharacter();
    void controlCharactersAreDropped();
    void uidsAreStableAndUnique();
    void csvReadsBack();
    void csvFollowsTheColumnCount();
    void fileIsReplacedAtomically();
    void emptyRangeWritesNoFile();
    void commandLineStatuses();
    void commandLineOnLargestTable();
    void commandLineReadsWhereTheWindowWould();
};

void TestExport::clockTimes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QTime>("start");
    QTest::addColumn<QTime>("end");
    QTest::addColumn<QString>("rest");
    QTest::newRow("colon") << "18:00" << QTime(18, 0) << QTime() << "";
    QTest::newRow("comma") << "18,00" << QTime(18, 0) << QTime() << "";
    QTest::newRow("point") << "18.00" << QTime(18, 0) << QTime() << "";
    QTest::newRow("one digit") << "9.30" << QTime(9, 30) << QTime() << "";
    QTest::newRow("range") << "18,00-20,00" << QTime(18, 0) << QTime(20, 0) << "";
    QTest::newRow("spaced range") << " 19:30 - 22.15 sál" << QTime(19, 30) << QTime(22, 15) << " sál";
    QTest::newRow("with words") << "20:00 vstup" << QTime(20, 0) << QTime() << " vstup";
    QTest::newRow("midnight") << "0.00" << QTime(0, 0) << QTime() << "";
    QTest::newRow("last minute") << "23:59" << QTime(23, 59) << QTime() << "";
    // Not clock times: the text goes into the description and the event lasts the day.
    QTest::newRow("hour only") << "18" << QTime() << QTime() << "";
    QTest::newRow("hour 24") << "24:00" << QTime() << QTime() << "";
    QTest::newRow("minute 60") << "18:60" << QTime() << QTime() << "";
    QTest::newRow("three digits") << "18:000" << QTime() << QTime() << "";
    QTest::newRow("words first") << "od 18:00" << QTime() << QTime() << "";
    QTest::newRow("date") << "12.03.2024" << QTime() << QTime() << "";
    QTest::newRow("empty") << "" << QTime() << QTime() << "";
}

void TestExport::clockTimes()
{
    QFETCH(QString, text);
    QFETCH(QTime, start);
    QFETCH(QTime, end);
    QFETCH(QString, rest);
    icalendar::ClockTime clock;
    QCOMPARE(icalendar::parseClockTime(text, clock), start.isValid());
    if (start.isValid()) {
        QCOMPARE(clock.start, start);
        QCOMPARE(clock.end, end);
        QCOMPARE(clock.rest, rest);
    }
}

void TestExport::eventsAreDatedByTheirDayRow()
{
    std::vector<EventRecord> records = sampleTable();
    // An extra row above every day row and a damaged day row with its extra row.
    records.insert(records.begin(), row(QStringLiteral("8:00"), QStringLiteral("Sirotek")));
    records.push_back(row(QStringLiteral("8:00"), QStringLiteral("Rozbité datum"), {}, {},
        EventRecord::dayRow(QStringLiteral("Po"), QStringLiteral("31.02.2024"))));
    records.push_back(row(QStringLiteral("9:00"), QStringLiteral("Pod rozbitým")));

    const auto all = export_events::collect(records, QDate(), QDate());
    QStringList seen;
    for (const auto& e : all)
        seen << e.date.toString(QStringLiteral("d.M")) + u' ' + e.text + u'#' + QString::number(e.repeat);
    QCOMPARE(seen,
        QStringList({ "1.3 Mimo rozsah#0", "2.3 Koncert: Dvořák, Smetana; sál \\ B#0", "2.3 Přednáška#0",
            "2.3 Noční jízda#0", "2.3 Výstava ěščřžýáíé ĚŠČŘŽÝÁÍÉ#0", "2.3 #0", "2.3 Přednáška#1",
            "9.3 Ples#0", "10.3 Mimo rozsah#0" }));

    const auto inside = export_events::collect(records, kFrom, kTo);
    QCOMPARE(inside.size(), size_t(7));
    QCOMPARE(inside.front().date, kFrom);
    QCOMPARE(inside.back().date, kTo);
    QCOMPARE(export_events::collect(records, QDate(2024, 3, 3), QDate(2024, 3, 8)).size(), size_t(0));
}

void TestExport::libicalReadsEveryEvent()
{
    const QList<Parsed> events = parseWithLibical(exportIcs(sampleTable()));
    QCOMPARE(events.size(), 7);
    struct Expected {
        QString start, end, summary, description;
    };
    const QList<Expected> expected {
        // Without an end the event ends where it starts.
        { "2024-03-02 18:00", "2024-03-02 18:00", "Koncert: Dvořák, Smetana; sál \\ B",
            "Vstupné: 250 Kč\nPoznámka: Řízek; čaj, \"káva\"" },
        { "2024-03-02 09:30", "2024-03-02 11:00", "Přednáška", "" },
        { "2024-03-02 23:00", "2024-03-03 01:30", "Noční jízda", "" },
        { "2024-03-02", "2024-03-03", "Výstava ěščřžýáíé ĚŠČŘŽÝÁÍÉ", "Čas: celý den" },
        { "2024-03-02", "2024-03-03", "", "Vstupné: jen hodnota" },
        { "2024-03-02 09:30", "2024-03-02 11:00", "Přednáška", "" },
        { "2024-03-09 18:00", "2024-03-09 18:00", "Ples", "Čas: 18.00 sál" },
    };
    for (int i = 0; i < events.size(); ++i) {
        const Parsed& e = events[i];
        QCOMPARE(timeText(e.start), expected[i].start);
        QCOMPARE(timeText(e.end), expected[i].end);
        QCOMPARE(e.summary, expected[i].summary);
        QCOMPARE(e.description, expected[i].description);
        // Clock times are floating local times; the stamp is UTC.
        QVERIFY(e.start.zone == nullptr && !icaltime_is_utc(e.start));
        QVERIFY(icaltime_is_utc(e.stamp));
        QCOMPARE(timeText(e.stamp), QStringLiteral("2024-05-01 12:30"));
        QVERIFY(e.uid.endsWith(QStringLiteral("@zorivka.cz")));
    }

    // With four columns the values still reach the description, under their titles.
    Settings four = sixColumns();
    four.pocets = QStringLiteral("4");
    QCOMPARE(
        parseWithLibical(exportIcs(sampleTable(), four)).first().description, expected.first().description);
}

void TestExport::linesAreFoldedAndEnded()
{
    std::vector<EventRecord> records = sampleTable();
    records[1]
        = row(QStringLiteral("18:00"), QString(40, u'ř'), QString(30, u'Ž'), QString(30, u';'), records[1]);
    const QByteArray ics = exportIcs(records);
    QVERIFY(ics.startsWith("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:"));
    QVERIFY(ics.endsWith("END:VEVENT\r\nEND:VCALENDAR\r\n"));
    QVERIFY(!ics.contains("\r\n\r\n"));
    QCOMPARE(ics.count('\n'), ics.count("\r\n"));
    int folds = 0;
    for (const QByteArray& line : ics.split('\n')) {
        QVERIFY2(line.size() <= 76, line.constData()); // 75 octets and the CR
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString text = decoder(line);
        QVERIFY2(!decoder.hasError(), line.constData());
        QVERIFY(!text.contains(QChar::ReplacementCharacter));
        folds += line.startsWith(' ');
    }
    QVERIFY(folds >= 3);
    const QString summary = parseWithLibical(ics).at(0).summary;
    QCOMPARE(summary, QString(40, u'ř'));
}

void TestExport::foldNeverSplitsACharacter()
{
    // "ř" is two octets; placed at octets 75 and 76 it must move whole to the next line.
    const QByteArray line = QByteArray("SUMMARY:") + QByteArray(66, 'a') + QString(60, u'ř').toUtf8();
    const QByteArray folded = icalendar::foldLine(line);
    const QList<QByteArray> parts = folded.chopped(2).split('\n');
    QCOMPARE(parts.first(), QByteArray("SUMMARY:") + QByteArray(66, 'a') + '\r');
    for (qsizetype i = 1; i < parts.size(); ++i) {
        QVERIFY(parts[i].startsWith(" \xC5\x99"));
        QVERIFY(parts[i].chopped(i + 1 < parts.size() ? 1 : 0).size() <= 75);
    }
    QByteArray unfolded = folded;
    unfolded.replace("\r\n ", "");
    QCOMPARE(unfolded, line + "\r\n");
    // A line of exactly 75 octets stays whole.
    QCOMPARE(icalendar::foldLine(QByteArray(75, 'x')), QByteArray(75, 'x') + "\r\n");
    QCOMPARE(icalendar::foldLine(QByteArray(76, 'x')).count("\r\n"), 2);
}

void TestExport::controlCharactersAreDropped()
{
    std::vector<EventRecord> records = sampleTable();
    records[1].setBytes(F::Event,
        QByteArray("Zvon\x01\x7f\x1b\x81"
                   "ek\r\nkonec\ntady"));
    const QByteArray ics = exportIcs(records);
    QVERIFY(ics.contains("SUMMARY:Zvonek\\nkonec\\ntady\r\n"));
    QCOMPARE(parseWithLibical(ics).at(0).summary, QStringLiteral("Zvonek\nkonec\ntady"));
    QCOMPARE(icalendar::escapeText(QStringLiteral("a,b;c\\d\ne")), QStringLiteral("a\\,b\\;c\\\\d\\ne"));
}

void TestExport::uidsAreStableAndUnique()
{
    const auto uids = [](const std::vector<EventRecord>& records, const QDateTime& stamp) {
        QStringList list;
        for (const Parsed& e : parseWithLibical(exportIcs(records, sixColumns(), stamp)))
            list << e.uid;
        return list;
    };
    const QStringList first = uids(sampleTable(), kStamp);
    QCOMPARE(first.size(), 7);
    QCOMPARE(QSet<QString>(first.begin(), first.end()).size(), 7); // the two equal lectures differ
    QCOMPARE(uids(sampleTable(), kStamp.addDays(3)), first);

    // Another event added before an event leaves the other UIDs as they were.
    std::vector<EventRecord> added = sampleTable();
    added.insert(added.begin() + 2, row(QStringLiteral("7:00"), QStringLiteral("Snídaně")));
    QStringList later = uids(added, kStamp);
    QVERIFY(!first.contains(later.takeAt(1)));
    QCOMPARE(later, first);

    // An edited event is a new event.
    std::vector<EventRecord> edited = sampleTable();
    edited[1].setText(F::Event, QStringLiteral("Koncert II"));
    const QStringList changed = uids(edited, kStamp);
    QVERIFY(changed[0] != first[0]);
    QCOMPARE(changed.mid(1), first.mid(1));
}

void TestExport::csvReadsBack()
{
    const QByteArray csv = csv_export::write(
        export_events::collect(sampleTable(), kFrom, kTo), export_events::Columns::from(sixColumns()));
    QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
    QVERIFY(csv.endsWith("\r\n"));
    const QList<QStringList> records = readCsv(QString::fromUtf8(csv.mid(3)));
    QCOMPARE(records.size(), 8);
    QCOMPARE(records[0], QStringList({ "Datum", "Čas", "Akce", "Vstupné", "Poznámka" }));
    QCOMPARE(records[1],
        QStringList({ "02.03.2024", "18:00", "Koncert: Dvořák, Smetana; sál \\ B", "250 Kč",
            "Řízek; čaj, \"káva\"" }));
    QCOMPARE(records[3], QStringList({ "02.03.2024", "23,00-01,30", "Noční jízda", "", "" }));
    QCOMPARE(records[5], QStringList({ "02.03.2024", "", "", "jen hodnota", "" }));
    QCOMPARE(records[7], QStringList({ "09.03.2024", "18.00 sál", "Ples", "", "" }));
    QCOMPARE(csv_export::field(QStringLiteral("a\nb")), QStringLiteral("\"a\r\nb\""));
    QCOMPARE(readCsv(csv_export::field(QStringLiteral("x\"y;\nz")) + QStringLiteral("\r\n")).first(),
        QStringList { QStringLiteral("x\"y;\r\nz") });
}

void TestExport::csvFollowsTheColumnCount()
{
    for (int count : { 4, 5, 6 }) {
        Settings settings = sixColumns();
        settings.pocets = QString::number(count);
        const QByteArray csv = csv_export::write(
            export_events::collect(sampleTable(), kFrom, kTo), export_events::Columns::from(settings));
        const QList<QStringList> records = readCsv(QString::fromUtf8(csv.mid(3)));
        for (const QStringList& fields : records)
            QCOMPARE(fields.size(), count - 1);
        QCOMPARE(records[0].last(), (QStringList { "Akce", "Vstupné", "Poznámka" }).at(count - 4));
    }
}

void TestExport::fileIsReplacedAtomically()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("akce.ics"));
    QVERIFY(test_files::writeRaw(path, "old"));
    export_file::Request request { export_file::Format::ICalendar, path, kFrom, kTo };
    QCOMPARE(export_file::write(request, sampleTable(), sixColumns(), kStamp), export_file::Result::Written);
    QCOMPARE(test_files::readRaw(path), exportIcs(sampleTable()));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList { QStringLiteral("akce.ics") });

    QString error;
    request.path = dir.filePath(QStringLiteral("chybi/akce.ics"));
    QCOMPARE(export_file::write(request, sampleTable(), sixColumns(), kStamp, &error),
        export_file::Result::Failed);
    QVERIFY(!error.isEmpty());
}

void TestExport::emptyRangeWritesNoFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("akce.csv"));
    export_file::Request request { export_file::Format::Csv, path, QDate(2024, 3, 3), QDate(2024, 3, 8) };
    QCOMPARE(export_file::write(request, sampleTable(), sixColumns(), kStamp), export_file::Result::NoEvents);
    QVERIFY(!QFileInfo::exists(path));
    QVERIFY(test_files::writeRaw(path, "old"));
    QCOMPARE(export_file::write(request, sampleTable(), sixColumns(), kStamp), export_file::Result::NoEvents);
    QCOMPARE(test_files::readRaw(path), QByteArray("old"));
}

void TestExport::commandLineStatuses()
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.ics"));
    QString errors;
    QCOMPARE(runCli({ "--export-ics", out }, dir.path(), &errors), 1); // no data.zrk
    QVERIFY(errors.contains(QStringLiteral("data.zrk")));
    QVERIFY(writeTable(dir.path(), sampleTable()));
    const QByteArray table = test_files::readRaw(dir.filePath(QStringLiteral("data.zrk")));

    QCOMPARE(runCli({ "--export-ics", out, "--from", "02.03.2024", "--to", "09.03.2024" }, dir.path()), 0);
    QCOMPARE(parseWithLibical(test_files::readRaw(out)).size(), 7);
    QCOMPARE(runCli({ "--export-csv", dir.filePath("out.csv") }, dir.path()), 0);
    QCOMPARE(readCsv(QString::fromUtf8(test_files::readRaw(dir.filePath("out.csv")).mid(3))).size(), 10);

    QCOMPARE(
        runCli({ "--export-ics", dir.filePath("none.ics"), "--from", "03.03.2024", "--to", "08.03.2024" },
            dir.path(), &errors),
        2);
    QVERIFY(!errors.isEmpty());
    QVERIFY(!QFileInfo::exists(dir.filePath("none.ics")));

    const QList<QStringList> bad {
        {},
        { "--export-ics" },
        { "--bogus" },
        { "--export-ics", out, "navic" },
        { "--export-ics", out, "--from", "31.02.2024" },
        { "--export-ics", out, "--to", "2024-03-09" },
        { "--export-ics", out, "--from", "09.03.2024", "--to", "02.03.2024" },
        { "--export-ics", dir.filePath("chybi/out.ics") },
    };
    for (const QStringList& arguments : bad) {
        QCOMPARE(runCli(arguments, dir.path(), &errors), 1);
        QVERIFY2(!errors.isEmpty(), qPrintable(arguments.join(u' ')));
    }
    QCOMPARE(runCli({ "--help" }, dir.path(), &errors), 0);
    QVERIFY(errors.contains(QStringLiteral("--export-csv")));
    QCOMPARE(runCli({ "--version" }, dir.path()), 0);

    // The data file is only read; nothing but the outputs appears beside it.
    QCOMPARE(test_files::readRaw(dir.filePath(QStringLiteral("data.zrk"))), table);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({ "data.zrk", "out.csv", "out.ics" }));
}

void TestExport::commandLineOnLargestTable()
{
    // The real program, copied beside its data, as an installed user would run it.
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("zorivka"));
    QVERIFY(QFile::copy(QStringLiteral(ZORIVKA_EXECUTABLE), program));
    const largest_table::Table table = largest_table::make();
    QCOMPARE(table.records.size(), size_t(largest_table::kDayRows + largest_table::kEventRows));
    QVERIFY(writeTable(dir.path(), table.records));

    const auto run = [&](const QStringList& arguments, QString* errors = nullptr) {
        QProcess process;
        process.setProgram(program);
        process.setArguments(arguments);
        process.start();
        process.waitForFinished(120000);
        if (errors)
            *errors = QString::fromUtf8(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    };

    QElapsedTimer timer;
    timer.start();
    QCOMPARE(run({ "--export-ics", dir.filePath("all.ics") }), 0);
    const qint64 icsTime = timer.restart();
    QCOMPARE(run({ "--export-csv", dir.filePath("all.csv") }), 0);
    const qint64 csvTime = timer.elapsed();
    qInfo("command-line export of the largest table (%zu rows): iCalendar %lld ms, CSV %lld ms",
        table.records.size(), icsTime, csvTime);

    int expected = 0;
    for (const EventRecord& r : table.records)
        expected
            += !(r.isEmpty(F::Time) && r.isEmpty(F::Event) && r.isEmpty(F::Value1) && r.isEmpty(F::Value2));
    const QList<Parsed> events = parseWithLibical(test_files::readRaw(dir.filePath("all.ics")));
    QCOMPARE(events.size(), expected);
    QCOMPARE(timeText(events.first().start).left(4), QStringLiteral("2004"));
    QCOMPARE(timeText(events.last().start).left(4), QStringLiteral("2100"));
    QCOMPARE(
        readCsv(QString::fromUtf8(test_files::readRaw(dir.filePath("all.csv")).mid(3))).size(), expected + 1);

    QString errors;
    QCOMPARE(run({ "--export-ics", dir.filePath("x.ics"), "--from", "1.1.2004" }, &errors), 1);
    QVERIFY(errors.contains(QStringLiteral("--from")));
    QCOMPARE(run({ "--bogus" }), 1);
    QCOMPARE(run({ "--version" }), 0);
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
    QCOMPARE(command_line::dataDir(working.path(), working.path()), working.path());
}

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"
