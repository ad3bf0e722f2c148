#pragma once

#include "records/event_record.h"

#include <QString>
#include <QStringList>

#include <vector>

class DayTable;
class Messenger;

// Building the day rows of the calendar and keeping the year list and the
// day-count list in step with them.
namespace generation {

constexpr int kFirstYear = 2004;
constexpr int kLastYear = 2100;

bool isLeapYear(int year);
int daysInYear(int year);

// The day rows of one year, named in the given format (0 ... 3).
std::vector<EventRecord> yearRows(int year, int format);

// The first run's table: the 366 day rows of 2004 named in format 1, appended to
// the record list. Running out of memory is reported and the rows made so far stay.
bool buildFirstYearTable(DayTable& table, Messenger& messenger);

// Appends the last year plus 1 to the year list, then a day count for every year
// that has none yet.
void addNextYear(QStringList& years, QStringList& dayCounts);

// Appends the day rows of the last year of `years` in `format`; nothing for a format
// other than "0" to "3".
bool appendYearRows(DayTable& table, const QStringList& years, const QString& format, Messenger& messenger);

// Replaces every row by a copy named in `format`, keeping every text of every row
// (also the values that the current column count does not show). A format other
// than "0" to "3" changes nothing.
void rebuildWithFormat(DayTable& table, const QString& format, Messenger& messenger);

// Whether the lists can be used: the years from 2004 on, one a line, at most to 2100,
// each with its number of days.
bool listsAreSound(const QStringList& years, const QStringList& dayCounts);

// The year list and the day-count list of a table, from 2004 to the year of its
// last day row ("2004" and "366" when it has none).
void listsFromRows(const DayTable& table, QStringList& years, QStringList& dayCounts);

// The number of days the day-count list announces.
int totalDays(const QStringList& dayCounts);

} // namespace generation
