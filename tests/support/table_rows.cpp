#include "table_rows.h"

#include "calendar/day_table.h"

namespace table_rows {

int ofDate(const DayTable& table, const QString& date)
{
    for (int row = 0; row < table.rowCount(); ++row) {
        if (table.record(row).text(EventRecord::Field::Date) == date)
            return row;
    }
    return -1;
}

} // namespace table_rows
