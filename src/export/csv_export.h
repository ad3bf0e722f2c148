#pragma once

#include "export/export_events.h"

#include <QByteArray>

#include <vector>

// CSV for spreadsheets: UTF-8 with a byte-order mark, semicolons as Czech-locale
// spreadsheets expect, quoted as RFC 4180 says, CR LF line ends.
namespace csv_export {

// A header of "Datum" and the titles of columns 3 to the column count, then one line per event.
QByteArray write(const std::vector<export_events::Event>& events, const export_events::Columns& columns);

// One field, quoted when it holds a semicolon, a quote or a line break; one that a
// spreadsheet would take for a formula (=, +, -, @, a tab or a carriage return first)
// gets an apostrophe in front.
QString field(const QString& text);

} // namespace csv_export
