#pragma once

#include "records/event_record.h"

#include <QString>

#include <vector>

class DayTable;

// What the search window finds: rows whose field equals the entered value.
namespace search_match {

// The separator of the result lines and the legend: two blanks, a bar, two blanks.
inline constexpr QLatin1String kSeparator("  |  ");

// The rows whose `field` equals `value` as a whole text, every letter (the Czech ones
// too) compared without regard to case, in row order. Works on the stored bytes, so
// the whole table is scanned without decoding a row.
std::vector<int> rowsEqualTo(const DayTable& table, EventRecord::Field field, const QString& value);

// A result line: the 1-based row number, the separator, the shown text, the separator.
QString resultLine(int row, const QString& shown);

} // namespace search_match
