#include "search/row_lookup.h"

#include "calendar/day_table.h"
#include "platform/cp1250.h"

#include <QByteArray>

namespace row_lookup {

namespace {
char foldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

} // namespace

int dayRowWithDate(const DayTable& table, const QString& date)
{
    if (date.trimmed().isEmpty())
        return -1;
    // Compared as stored bytes, folding only a to z as the rule does; a text that the
    // code page cannot hold equals no stored date.
    QByteArray wanted = cp1250::encode(date);
    if (cp1250::decode(wanted) != date)
        return -1;
    for (char& c : wanted)
        c = foldAscii(c);
    for (int row = 0; row < table.rowCount(); ++row) {
        const EventRecord& record = table.record(row);
        const QByteArrayView stored = record.view(EventRecord::Field::Date);
        if (stored.size() != wanted.size() || !record.isDayRow())
            continue;
        qsizetype i = 0;
        while (i < stored.size() && foldAscii(stored[i]) == wanted[i])
            ++i;
        if (i == stored.size())
            return row;
    }
    return -1;
}

} // namespace row_lookup
