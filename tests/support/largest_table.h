#pragma once

#include "records/event_record.h"

#include <QStringList>

#include <vector>

class DayTable;
class Messenger;
struct Settings;

// Deterministic sample data for tests and benchmarks: the largest range the
// program allows (2004 to 2100) with event rows spread over it.
namespace largest_table {

constexpr int kDayRows = 35429;
constexpr int kEventRows = 10000;

struct Table {
    std::vector<EventRecord> records;
    QStringList years;
    QStringList dayCounts;
};

// Day rows of 2004 to 2100 in format 1; `eventRows` extra rows placed after day
// rows, with texts of every length up to each field's capacity, Czech letters
// included; some day rows carry their day's first event too.
Table make(int eventRows = kEventRows);

// Fills the table with make()'s records and lists.
void fill(DayTable& table, int eventRows = kEventRows);

// Writes the table's data file and, with the settings brought in line with its
// year lists, the settings and overview files into `dir`: the files a program
// started there reads. False when a file could not be written.
bool writeFiles(const QString& dir, const DayTable& table, Settings settings, Messenger& messenger);

} // namespace largest_table
