#pragma once

#include "export/export_events.h"
#include "parts/ical_part.h"

#include <QByteArray>
#include <QDateTime>
#include <QTime>

#include <optional>
#include <vector>

// iCalendar (RFC 5545) for the desktop and phone calendars. The program chooses what goes
// into each event; the iCalendar part (libical) writes the file.
namespace icalendar {

// The part's name (parts::load).
inline const QString kPart = QStringLiteral("ical");

// A time field that begins with a clock time: "18:00", "18,00", "18.00", "9.30",
// or a range such as "18,00-20,00". `rest` is whatever follows the clock part.
struct ClockTime {
    QTime start;
    QTime end; // invalid without a range
    QString rest;
};
// False when the text does not begin with a clock time.
bool parseClockTime(const QString& text, ClockTime& clock);

// The same event always gets the same UID, so importing twice updates instead of doubling.
QString uidOf(const export_events::Event& event);
// True for a UID that uidOf() could have made: one in the program's own domain.
bool isOwnUid(const QString& uid);

// The event's VEVENT: a clock time at the start of its time text makes it a timed event
// (floating local time), else it lasts the day; a summary always, the rest described.
ical::OutEvent eventOf(const export_events::Event& event, const export_events::Columns& columns);

// The whole calendar, one VEVENT per event; `stamp` becomes every DTSTAMP (in UTC).
// Nothing when the iCalendar part cannot be loaded, with the reason (Czech) in `error`.
std::optional<QByteArray> write(const std::vector<export_events::Event>& events,
    const export_events::Columns& columns, const QDateTime& stamp, QString* error = nullptr);

} // namespace icalendar
