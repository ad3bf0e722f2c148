#pragma once

#include <QString>

class DayTable;

namespace row_lookup {

// The first day row whose date equals `date` (the letters a to z compared without
// regard to case); -1 when none does. An empty or unfinished date matches nothing.
int dayRowWithDate(const DayTable& table, const QString& date);

} // namespace row_lookup
