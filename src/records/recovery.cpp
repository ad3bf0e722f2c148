#include "records/recovery.h"

#include "calendar/day_names.h"
#include "calendar/day_table.h"
#include "calendar/generation.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

namespace recovery {

bool fillEmptyTable(DayTable& table, Settings& settings)
{
    if (table.rowCount() > 0)
        return false;
    QStringList years = table.years();
    QStringList dayCounts = table.dayCounts();
    // The lists were checked when they were loaded; anything else starts from 2004.
    if (!generation::listsAreSound(years, dayCounts)) {
        years = QStringList { QString::number(generation::kFirstYear) };
        dayCounts = QStringList { QString::number(generation::daysInYear(generation::kFirstYear)) };
        table.setLists(years, dayCounts);
    }
    const int format = std::max(day_names::formatIndex(settings.format), 0);
    std::vector<EventRecord> rows;
    rows.reserve(static_cast<size_t>(generation::totalDays(dayCounts)));
    for (const QString& year : years) {
        const std::vector<EventRecord> yearRows = generation::yearRows(year.toInt(), format);
        rows.insert(rows.end(), yearRows.begin(), yearRows.end());
    }
    table.appendRecords(rows);
    settings_file::agreeWithLists(settings, years, dayCounts);
    return true;
}

} // namespace recovery
