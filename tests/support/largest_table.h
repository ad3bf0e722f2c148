#pragma once

#include "records/event_record.h"

#include <QStringList>

#include <vector>

class DayTable;

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

} // namespace largest_table
