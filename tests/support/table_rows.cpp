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

EventRecord extraRow(const QString& time, const QString& event, const QString& value1, const QString& value2)
{
    using Field = EventRecord::Field;
    EventRecord record = EventRecord::blank();
    record.setText(Field::Time, time);
    record.setText(Field::Event, event);
    record.setText(Field::Value1, value1);
    record.setText(Field::Value2, value2);
    return record;
}

QStringList fieldsOf(const EventRecord& record)
{
    QStringList all;
    for (int f = 0; f < EventRecord::fieldCount; ++f)
        all << record.text(EventRecord::Field(f));
    return all;
}

} // namespace table_rows
