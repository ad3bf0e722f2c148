#pragma once

#include "parts/ical_part.h"

namespace ical {

// ICalendarPart::read(): the file's events with their repeats expanded over [from, to].
ReadResult readCalendar(
    const QByteArray& bytes, const QDate& from, const QDate& to, InCalendar& out, QString& error);

} // namespace ical
