#pragma once

#include <QString>

class DayTable;

namespace row_lookup {

// The first row from the top whose date, time, event, value 1 or value 2 text
// (and, with `withDayName`, its day name) contains `key`, the letters a to z
// compared without regard to case; -1 when no row does.
int firstRowContaining(const DayTable& table, const QString& key, bool withDayName);
// The same, searched from the bottom: the last row that contains `key`.
int lastRowContaining(const DayTable& table, const QString& key, bool withDayName);

// The first day row whose date equals `date` (the letters a to z compared without
// regard to case); -1 when none does. An empty or unfinished date matches nothing.
int dayRowWithDate(const DayTable& table, const QString& date);

} // namespace row_lookup
