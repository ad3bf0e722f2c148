#include "parts/ical_part.h"
#include "platform/parts.h"

#include <QCoreApplication>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

ICalendarPart* part()
{
    return parts::load<ICalendarPart>(u"ical"_s);
}

QByteArray calendar(const QString& body)
{
    QString text = u"BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//test//EN\n"_s + body + u"END:VCALENDAR\n"_s;
    return text.replace(u"\n"_s, u"\r\n"_s).toUtf8();
}

// "uid start..end summary": days for all-day events, local times (of Europe/Prague) otherwise.
QString line(const ical::InEvent& e)
{
    const QString span = e.allDay
        ? e.startDate.toString(Qt::ISODate) + u".."_s + e.endDate.toString(Qt::ISODate)
        : e.start.toString(u"yyyy-MM-dd HH:mm"_s) + u".."_s + e.end.toString(u"HH:mm"_s);
    return e.uid + u' ' + span + u' ' + e.summary + (e.madeUpSummary ? u"*"_s : QString());
}

QString vevent(const QString& uid, const QString& lines)
{
    return u"BEGIN:VEVENT\nUID:"_s + uid + u"\nSUMMARY:"_s + uid + u'\n' + lines + u"\nEND:VEVENT\n"_s;
}

// A zone five hours east of UTC, only in this file.
const QString kZone = u"BEGIN:VTIMEZONE\nTZID:Plus5\nBEGIN:STANDARD\nDTSTART:19700101T000000\n"
                      "TZOFFSETFROM:+0500\nTZOFFSETTO:+0500\nEND:STANDARD\nEND:VTIMEZONE\n"_s;

} // namespace

class TestICal final : public QObject {
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void notCalendars();
    void writtenReadsBack();
};

void TestICal::read_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QList<int>>("counts"); // events, cancelled, other components, same day, undated, cut

    const QDate march(2024, 3, 31);
    QTest::newRow("rule, excluded date, extra date")
        << vevent(u"r"_s,
               u"DTSTART:20240304T100000\nDTEND:20240304T113000\nRRULE:FREQ=WEEKLY;COUNT=4\n"
               "EXDATE:20240311T100000\nRDATE:20240313T100000"_s)
        << march
        << QStringList { u"r 2024-03-04 10:00..11:30 r"_s, u"r 2024-03-13 10:00..11:30 r"_s,
               u"r 2024-03-18 10:00..11:30 r"_s, u"r 2024-03-25 10:00..11:30 r"_s }
        << QList<int> { 4, 0, 0, 0, 0, 0 };
    const QString master = vevent(u"m"_s, u"DTSTART:20240301T180000\nRRULE:FREQ=WEEKLY;COUNT=3"_s);
    const QString overrides
        = u"BEGIN:VEVENT\nUID:m\nRECURRENCE-ID:20240308T180000\nDTSTART:20240309T190000\nSUMMARY:moved\n"
          "END:VEVENT\nBEGIN:VEVENT\nUID:m\nRECURRENCE-ID:20240315T180000\nDTSTART:20240315T180000\n"
          "STATUS:CANCELLED\nEND:VEVENT\n"_s;
    const QString first = u"m 2024-03-01 18:00.. m"_s, moved = u"m 2024-03-09 19:00.. moved"_s;
    QTest::newRow("occurrences replaced after the master")
        << master + overrides << march << QStringList { first, moved } << QList<int> { 2, 1, 0, 0, 0, 0 };
    QTest::newRow("occurrences replaced before the master")
        << overrides + master << march << QStringList { moved, first } << QList<int> { 2, 1, 0, 0, 0, 0 };
    // Plus5 from the file, New York from libical (daylight saving from 10 March there,
    // from 31 March here).
    const QString zones = kZone
        + vevent(u"own"_s, u"DTSTART;TZID=Plus5:20240305T120000\nDTEND;TZID=Plus5:20240305T130000"_s)
        + vevent(u"utc"_s, u"DTSTART:20240305T120000Z"_s)
        + vevent(u"ny"_s, u"DTSTART;TZID=America/New_York:20240710T120000\nDURATION:PT2H"_s)
        + vevent(u"weekly"_s, u"DTSTART;TZID=Plus5:20240329T120000\nRRULE:FREQ=WEEKLY;COUNT=2"_s)
        + vevent(
            u"nyweekly"_s, u"DTSTART;TZID=America/New_York:20240307T120000\nRRULE:FREQ=WEEKLY;COUNT=2"_s);
    QTest::newRow("zones") << zones << QDate(2024, 4, 30)
                           << QStringList { u"own 2024-03-05 08:00..09:00 own"_s,
                                  u"utc 2024-03-05 13:00.. utc"_s, u"ny 2024-07-10 18:00..20:00 ny"_s,
                                  u"weekly 2024-03-29 08:00.. weekly"_s,
                                  u"weekly 2024-04-05 09:00.. weekly"_s,
                                  u"nyweekly 2024-03-07 18:00.. nyweekly"_s,
                                  u"nyweekly 2024-03-14 17:00.. nyweekly"_s }
                           << QList<int> { 7, 0, 0, 0, 0, 0 };
    QTest::newRow("days and lengths")
        << vevent(u"three"_s, u"DTSTART;VALUE=DATE:20240305\nDTEND;VALUE=DATE:20240308"_s)
            + vevent(u"one"_s, u"DTSTART;VALUE=DATE:20240305"_s)
            + vevent(u"two"_s, u"DTSTART;VALUE=DATE:20240305\nDURATION:P2D"_s)
            + vevent(u"late"_s, u"DTSTART:20240305T230000\nDURATION:PT1H30M"_s)
            + vevent(u"far"_s, u"DTSTART;VALUE=DATE:20300101\nX-ZORIVKA-SUMMARY:FALLBACK"_s)
        << march
        << QStringList { u"three 2024-03-05..2024-03-08 three"_s, u"one 2024-03-05..2024-03-06 one"_s,
               u"two 2024-03-05..2024-03-07 two"_s, u"late 2024-03-05 23:00..00:30 late"_s,
               u"far 2030-01-01..2030-01-02 far*"_s }
        << QList<int> { 5, 0, 0, 0, 0, 0 };
    QTest::newRow("every minute of a year, one a day")
        << vevent(u"often"_s, u"DTSTART:20230101T000000\nRRULE:FREQ=MINUTELY;UNTIL=20250101T000000"_s)
            + vevent(u"often"_s, u"DTSTART:20240101T120000"_s)
        << QDate(2024, 12, 31) << QStringList { u"often 2024-01-01 00:00.. often"_s }
        << QList<int> { 366, 0, 0, 366 * 24 * 60 - 366 + 1, 0, 0 };
    // Started again just before the days, and only as many tries as the budget of two
    // million allows (from 31 December on): the first 23 days.
    QTest::newRow("every second since 1970")
        << vevent(u"s"_s, u"DTSTART:19700101T000000\nRRULE:FREQ=SECONDLY"_s) << QDate(2024, 12, 31)
        << QStringList { u"s 2024-01-01 00:00.. s"_s }
        << QList<int> { 23, 0, 0, 2'000'000 - 24 * 3600 - 23, 0, 1 };
    QTest::newRow("left out") << vevent(u"c"_s, u"DTSTART:20240305T100000\nSTATUS:CANCELLED"_s)
            + u"BEGIN:VTODO\nUID:t\nEND:VTODO\nBEGIN:VJOURNAL\nUID:j\nEND:VJOURNAL\n"_s
            + vevent(u"d"_s, u"DTSTART:20240305T100000\nRRULE:FREQ=HOURLY;COUNT=3"_s)
            + vevent(u"nostart"_s, u"LOCATION:kdesi"_s)
                              << march << QStringList { u"d 2024-03-05 10:00.. d"_s }
                              << QList<int> { 1, 1, 2, 2, 1, 0 };
}

void TestICal::read()
{
    QFETCH(QString, body);
    QFETCH(QDate, to);
    QFETCH(QStringList, expected);
    QFETCH(QList<int>, counts);
    ical::InCalendar in;
    QString error;
    QCOMPARE(part()->read(calendar(body), QDate(to.year(), 1, 1), to, in, error), ical::ReadResult::Ok);
    QStringList lines;
    for (const ical::InEvent& e : in.events)
        lines << line(e);
    // Of a long repeat only the first few are shown.
    QCOMPARE(lines.mid(0, expected.size()), expected);
    QCOMPARE((QList<int> { int(in.events.size()), in.cancelled, in.otherComponents, in.sameDay, in.undated,
                 int(in.repeatsCut) }),
        counts);
}

void TestICal::notCalendars()
{
    ical::InCalendar in;
    QString error;
    for (const QByteArray& bytes : { QByteArray("Datum;Akce\r\n01.03.2024;Koncert\r\n"), QByteArray(),
             QByteArray("BEGIN:VCARD\r\nEND:VCARD\r\n") }) {
        QCOMPARE(part()->read(bytes, {}, {}, in, error), ical::ReadResult::NotICalendar);
        QVERIFY(!error.isEmpty());
    }
    QCOMPARE(
        part()->read(calendar(u"BEGIN:VTODO\nEND:VTODO\n"_s), {}, {}, in, error), ical::ReadResult::Empty);
    QCOMPARE(in.otherComponents, 1);
}

void TestICal::writtenReadsBack()
{
    ical::OutCalendar out { u"-//Zorivka//test//CS"_s, QDateTime(QDate(2024, 5, 1), QTime(12, 30), Qt::UTC),
        {} };
    const QString text = u"Koncert: Dvořák, Smetana; sál \\ B "_s + QString(60, u'ř');
    out.events.push_back({ u"a@x"_s, QDate(2024, 3, 2), QTime(23, 0), QDate(2024, 3, 3), QTime(1, 30), text,
        false, u"Vstupné: 250 Kč\nPoznámka: čaj, \"káva\""_s });
    out.events.push_back(
        { u"b@x"_s, QDate(2024, 3, 4), {}, QDate(2024, 3, 5), {}, u"jen hodnota"_s, true, {} });
    out.events.push_back({ u"c@x"_s, QDate(2024, 3, 4), QTime(19, 0), {}, {}, u"  "_s, true, u" "_s });
    // Control characters would break their line: left out.
    out.events.push_back({ u"d@x"_s, QDate(2024, 3, 5), QTime(8, 0), {}, {}, u"a\rb\u0001c"_s, false, {} });
    const QByteArray bytes = part()->write(out);
    QVERIFY(bytes.contains("\r\nDTSTAMP:20240501T123000Z\r\n") && bytes.contains("CALSCALE:GREGORIAN\r\n"));
    QVERIFY(!bytes.contains("SUMMARY: ") && !bytes.contains("DESCRIPTION: "));
    ical::InCalendar in;
    QString error;
    QCOMPARE(part()->read(bytes, {}, {}, in, error), ical::ReadResult::Ok);
    QCOMPARE(in.events.size(), out.events.size());
    for (std::size_t i = 0; i < in.events.size(); ++i) {
        const ical::OutEvent& o = out.events[i];
        const ical::InEvent& e = in.events[i];
        QCOMPARE(e.uid, o.uid);
        QCOMPARE(e.allDay, !o.startTime.isValid());
        QCOMPARE(e.allDay ? e.startDate : e.start.date(), o.startDate);
        QCOMPARE(e.allDay ? e.endDate : e.end.date(), o.endDate);
        QCOMPARE(e.start.time(), o.startTime);
        QCOMPARE(e.end.time(), o.endTime);
        QCOMPARE(e.summary,
            o.summary.trimmed().isEmpty() ? QString() : QString(o.summary).remove(u'\r').remove(u'\1'));
        QCOMPARE(e.description, o.description.trimmed().isEmpty() ? QString() : o.description);
        QCOMPARE(e.madeUpSummary, o.madeUpSummary);
    }
}

int main(int argc, char* argv[])
{
    // The expected local times are those of Prague.
    qputenv("TZ", "Europe/Prague");
    QCoreApplication app(argc, argv);
    TestICal test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ical.moc"
