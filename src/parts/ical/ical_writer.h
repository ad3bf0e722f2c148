#pragma once

#include "parts/ical_part.h"

#include <QByteArray>

namespace ical {

// The whole VCALENDAR of `calendar` as libical writes it: lines ended by CR LF, folded, escaped.
QByteArray writeCalendar(const OutCalendar& calendar);

} // namespace ical
