#pragma once

#include <QString>

class DayTable;

// Finding rows of a day table in tests.
namespace table_rows {

// The first row whose date field is `date` (dd.mm.yyyy), or -1.
int ofDate(const DayTable& table, const QString& date);

} // namespace table_rows
