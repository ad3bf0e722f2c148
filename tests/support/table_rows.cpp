#include "table_rows.h"

#include "calendar/day_table.h"
#include "settings/settings.h"

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

Settings sixColumns()
{
    Settings settings;
    settings.pocets = QStringLiteral("6");
    const QStringList titles { QStringLiteral("Čas"), QStringLiteral("Akce"), QStringLiteral("Vstupné"),
        QStringLiteral("Poznámka") };
    for (int i = 0; i < 4; ++i)
        settings.items[static_cast<size_t>(i + 2)].title = titles[i];
    return settings;
}

} // namespace table_rows
