#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QtPlugin>

#include <vector>

// iCalendar (RFC 5545) through libical, both ways: writing the export's events and
// reading a file's events. libical brings ICU, so it lives in a part.
namespace ical {

// One VEVENT to write, its values already chosen by the program.
struct OutEvent {
    QString uid;
    QDate startDate;
    QTime startTime; // invalid: an all-day event (DTSTART;VALUE=DATE)
    QDate endDate; // invalid: no DTEND
    QTime endTime; // for a timed event with an end
    QString summary;
    bool madeUpSummary = false; // the summary is no text of the user's: X-ZORIVKA-SUMMARY:FALLBACK
    QString description; // lines separated by LF; empty: no DESCRIPTION
};

struct OutCalendar {
    QString productId; // PRODID
    QDateTime stamp; // every DTSTAMP, written in UTC
    std::vector<OutEvent> events;
};

// One occurrence of an event read from a file, after repeats and their exceptions.
struct InEvent {
    QString uid;
    // Timed: the start (and end) as local times of this computer; floating times are
    // taken as they stand. All-day: startDate, and endDate as the day after the last
    // day (exclusive, as DTEND;VALUE=DATE), never before startDate + 1.
    bool allDay = false;
    QDateTime start;
    QDateTime end; // invalid without DTEND or DURATION
    QDate startDate;
    QDate endDate;
    QString summary;
    QString location;
    QString description;
    bool madeUpSummary = false; // X-ZORIVKA-SUMMARY:FALLBACK
};

struct InCalendar {
    std::vector<InEvent> events; // in the file's order; a repeat's occurrences in date order
    int cancelled = 0; // STATUS:CANCELLED events and cancelled occurrences left out
    int otherComponents = 0; // VTODO, VJOURNAL left out
    // Further occurrences of one event (one UID) on a day that already has one, left out,
    // so that a rule repeating every minute cannot make millions of rows.
    int sameDay = 0;
    int undated = 0; // events without a start that is a real day and time, left out
    // A rule repeating more often than daily ran out of the tries a file may take: its
    // later occurrences were not read.
    bool repeatsCut = false;
};

enum class ReadResult { Ok, NotICalendar, Empty };

} // namespace ical

class ICalendarPart {
public:
    virtual ~ICalendarPart() = default;
    // The whole VCALENDAR, folded and escaped by libical, lines ended by CR LF.
    virtual QByteArray write(const ical::OutCalendar& calendar) = 0;
    // Reads `bytes` (UTF-8). Repeats (RRULE, RDATE, EXDATE, and the components that replace
    // or cancel one occurrence by RECURRENCE-ID) are expanded from `from` to `to`, both days
    // included; single events are returned wherever they lie. Empty: no VEVENT at all.
    virtual ical::ReadResult read(
        const QByteArray& bytes, const QDate& from, const QDate& to, ical::InCalendar& out, QString& error)
        = 0;
};

#define ZorivkaICalendarPart_iid "cz.zorivka.ICalendarPart/1.1"
Q_DECLARE_INTERFACE(ICalendarPart, ZorivkaICalendarPart_iid)
