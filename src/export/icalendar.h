#pragma once

#include "export/export_events.h"

#include <QByteArray>
#include <QDateTime>
#include <QTime>

#include <vector>

// iCalendar (RFC 5545) for the desktop and phone calendars.
namespace icalendar {

// A time field that begins with a clock time: "18:00", "18,00", "18.00", "9.30",
// or a range such as "18,00-20,00". `rest` is whatever follows the clock part.
struct ClockTime {
    QTime start;
    QTime end; // invalid without a range
    QString rest;
};
// False when the text does not begin with a clock time.
bool parseClockTime(const QString& text, ClockTime& clock);

// Text escaped as a TEXT value: backslash, semicolon, comma and line breaks.
QString escapeText(const QString& text);

// One content line folded at 75 octets, never inside a UTF-8 character, ended by CR LF.
QByteArray foldLine(const QByteArray& line);

// The same event always gets the same UID, so importing twice updates instead of doubling.
QString uidOf(const export_events::Event& event);
// True for a UID that uidOf() could have made: one in the program's own domain.
bool isOwnUid(const QString& uid);

// The whole calendar, one VEVENT per event; `stamp` becomes every DTSTAMP (in UTC).
QByteArray write(const std::vector<export_events::Event>& events, const export_events::Columns& columns,
    const QDateTime& stamp);

} // namespace icalendar
