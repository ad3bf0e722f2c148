#include "search/search_match.h"

#include "calendar/day_table.h"
#include "platform/cp1250.h"
#include "search/case_rules.h"

namespace search_match {

std::vector<int> rowsEqualTo(const DayTable& table, EventRecord::Field field, const QString& value)
{
    std::vector<int> rows;
    // A value the code page cannot hold is in no row.
    if (!cp1250::canEncode(value))
        return rows;
    const QByteArray needle = cp1250::encode(value);
    const std::vector<EventRecord>& records = table.records();
    for (size_t row = 0; row < records.size(); ++row) {
        if (case_rules::equalsAllLettersBytes(records[row].view(field), needle))
            rows.push_back(static_cast<int>(row));
    }
    return rows;
}

QString resultLine(int row, const QString& shown)
{
    return QString::number(row + 1) + kSeparator + shown + kSeparator;
}

} // namespace search_match
