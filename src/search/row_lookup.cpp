#include "search/row_lookup.h"

#include "calendar/day_table.h"
#include "platform/cp1250.h"
#include "search/case_rules.h"

#include <QByteArray>

namespace row_lookup {

namespace {
char foldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// Works on the stored bytes: folding only a to z never changes a Czech letter,
// so there is nothing to decode.
bool containsFolded(QByteArrayView haystack, const QByteArray& foldedNeedle)
{
    const qsizetype n = foldedNeedle.size();
    if (n == 0)
        return true;
    for (qsizetype start = 0; start + n <= haystack.size(); ++start) {
        qsizetype i = 0;
        while (i < n && foldAscii(haystack[start + i]) == foldedNeedle[i])
            ++i;
        if (i == n)
            return true;
    }
    return false;
}

QByteArray foldedKey(const QString& key)
{
    QByteArray needle = cp1250::encode(key);
    for (char& c : needle)
        c = foldAscii(c);
    return needle;
}

bool rowContains(const EventRecord& record, const QByteArray& needle, bool withDayName)
{
    using Field = EventRecord::Field;
    const Field firstField = withDayName ? Field::DayName : Field::Date;
    for (int f = int(firstField); f < EventRecord::fieldCount; ++f) {
        if (containsFolded(record.view(Field(f)), needle))
            return true;
    }
    return false;
}
} // namespace

int firstRowContaining(const DayTable& table, const QString& key, bool withDayName)
{
    const QByteArray needle = foldedKey(key);
    for (int row = 0; row < table.rowCount(); ++row) {
        if (rowContains(table.record(row), needle, withDayName))
            return row;
    }
    return -1;
}

int lastRowContaining(const DayTable& table, const QString& key, bool withDayName)
{
    const QByteArray needle = foldedKey(key);
    for (int row = table.rowCount() - 1; row >= 0; --row) {
        if (rowContains(table.record(row), needle, withDayName))
            return row;
    }
    return -1;
}

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
