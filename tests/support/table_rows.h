#pragma once

#include "records/event_record.h"

#include <QString>
#include <QStringList>

class DayTable;
struct Settings;

// Finding rows of a day table in tests.
namespace table_rows {

// The first row whose date field is `date` (dd.mm.yyyy), or -1.
int ofDate(const DayTable& table, const QString& date);

// An extra row: no day name or date, the given texts.
EventRecord extraRow(
    const QString& time, const QString& event, const QString& value1 = {}, const QString& value2 = {});

// Settings that show all six columns, titled "Čas", "Akce", "Vstupné" and "Poznámka".
Settings sixColumns();

// The six texts of a record, day name first.
QStringList fieldsOf(const EventRecord& record);

} // namespace table_rows
