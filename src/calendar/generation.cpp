#include "calendar/generation.h"

#include "calendar/day_names.h"
#include "calendar/day_table.h"
#include "platform/cp1250.h"
#include "platform/messenger.h"

#include <algorithm>
#include <array>
#include <limits>
#include <new>

namespace generation {

namespace {
    const QString kOutOfMemory = QStringLiteral("Není dostatek paměti pro vytvoření nové dynamické proměnné!");

    bool isNumber(const QString& text)
    {
        if (text.isEmpty())
            return false;
        for (QChar c : text) {
            if (c < u'0' || c > u'9')
                return false;
        }
        return text.size() <= 9;
    }

    // The date that dd.mm.yyyy bytes name; invalid for anything else.
    QDate dateOf(QByteArrayView text)
    {
        if (text.size() != 10 || text[2] != '.' || text[5] != '.')
            return {};
        int numbers[3] = {};
        const int starts[3] = { 0, 3, 6 };
        const int lengths[3] = { 2, 2, 4 };
        for (int part = 0; part < 3; ++part) {
            for (char c : text.sliced(starts[part], lengths[part])) {
                if (c < '0' || c > '9')
                    return {};
                numbers[part] = numbers[part] * 10 + (c - '0');
            }
        }
        return QDate(numbers[2], numbers[1], numbers[0]);
    }

    // The year of a day row's date, or 0 when it is not a dd.mm.yyyy date.
    int yearOf(const EventRecord& record)
    {
        const QByteArrayView date = record.view(EventRecord::Field::Date);
        if (date.size() != 10)
            return 0;
        int year = 0;
        for (char c : date.sliced(6)) {
            if (c < '0' || c > '9')
                return 0;
            year = year * 10 + (c - '0');
        }
        return year;
    }
}

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInYear(int year)
{
    return isLeapYear(year) ? 366 : 365;
}

std::vector<EventRecord> yearRows(int year, int format)
{
    std::vector<EventRecord> rows;
    rows.reserve(static_cast<size_t>(daysInYear(year)));
    // An invalid date reports year 0, so without the validity test year 0 (a
    // year list entry that is not a number) would never end.
    for (QDate date(year, 1, 1); date.isValid() && date.year() == year; date = date.addDays(1))
        rows.push_back(EventRecord::dayRow(day_names::name(date, format), day_names::dateText(date)));
    return rows;
}

bool buildFirstYearTable(DayTable& table, Messenger& messenger)
{
    try {
        table.appendRecords(yearRows(kFirstYear, 1));
        return true;
    } catch (const std::bad_alloc&) {
        messenger.show(Messenger::Icon::Error, QStringLiteral("Chyba"), kOutOfMemory);
        return false;
    }
}

void addNextYear(QStringList& years, QStringList& dayCounts)
{
    const int last = years.isEmpty() ? kFirstYear - 1 : years.last().toInt();
    years << QString::number(last + 1);
    while (dayCounts.size() < years.size())
        dayCounts << QString::number(daysInYear(years.at(dayCounts.size()).toInt()));
}

bool appendYearRows(DayTable& table, const QStringList& years, const QString& format, Messenger& messenger)
{
    const int formatIndex = day_names::formatIndex(format);
    if (formatIndex < 0 || years.isEmpty())
        return false;
    try {
        table.appendRecords(yearRows(years.last().toInt(), formatIndex));
        return true;
    } catch (const std::bad_alloc&) {
        messenger.show(Messenger::Icon::Error, QStringLiteral("Chyba"), kOutOfMemory);
        return false;
    }
}

void rebuildWithFormat(DayTable& table, const QString& format, Messenger& messenger)
{
    using Field = EventRecord::Field;
    const int formatIndex = day_names::formatIndex(format);
    if (formatIndex < 0)
        return;
    // The seven names as stored, Monday first, made once rather than once a row.
    std::array<QByteArray, 7> names;
    for (int day = 0; day < 7; ++day)
        names[size_t(day)] = cp1250::encode(day_names::name(QDate(2004, 1, 5).addDays(day), formatIndex));
    try {
        std::vector<EventRecord> rows;
        rows.reserve(table.records().size());
        for (const EventRecord& old : table.records()) {
            // Field by field, so the new rows hold nothing but their texts. Every text is
            // kept: a value the current columns do not show is still the user's.
            EventRecord row = EventRecord::blank();
            for (Field field : { Field::Date, Field::Time, Field::Event, Field::Value1, Field::Value2 })
                row.setBytes(field, old.view(field));
            if (!row.isEmpty(Field::Date)) {
                const QDate date = dateOf(row.view(Field::Date));
                // A date that cannot be read keeps the name it had, so the row stays a day row.
                if (date.isValid())
                    row.setBytes(Field::DayName, names[size_t(date.dayOfWeek() - 1)]);
                else
                    row.setBytes(Field::DayName, old.view(Field::DayName));
            }
            rows.push_back(row);
        }
        table.replaceRecords(std::move(rows));
    } catch (const std::bad_alloc&) {
        // Nothing was replaced yet: the table stays as it was.
        messenger.show(Messenger::Icon::Error, QStringLiteral("Chyba"), kOutOfMemory);
    }
}

bool listsAreSound(const QStringList& years, const QStringList& dayCounts)
{
    // The lists describe the range from 2004 on, a year a line, as they were written.
    if (years.isEmpty() || years.size() != dayCounts.size() || years.size() > kLastYear - kFirstYear + 1)
        return false;
    for (int i = 0; i < years.size(); ++i) {
        const int year = kFirstYear + i;
        if (!isNumber(years[i]) || years[i].toInt() != year || !isNumber(dayCounts[i])
            || dayCounts[i].toInt() != daysInYear(year))
            return false;
    }
    return true;
}

void listsFromRows(const DayTable& table, QStringList& years, QStringList& dayCounts)
{
    int lastYear = kFirstYear;
    for (auto it = table.records().rbegin(); it != table.records().rend(); ++it) {
        if (it->isDayRow()) {
            const int year = yearOf(*it);
            if (year >= kFirstYear && year <= kLastYear)
                lastYear = year;
            break;
        }
    }
    years.clear();
    dayCounts.clear();
    for (int year = kFirstYear; year <= lastYear; ++year) {
        years << QString::number(year);
        dayCounts << QString::number(daysInYear(year));
    }
}

int totalDays(const QStringList& dayCounts)
{
    // Lines of a damaged file can hold any number; the sum must not overflow.
    constexpr qint64 low = std::numeric_limits<int>::min();
    constexpr qint64 high = std::numeric_limits<int>::max();
    qint64 total = 0;
    for (const QString& count : dayCounts)
        total = std::clamp(total + count.toInt(), low, high);
    return static_cast<int>(total);
}

} // namespace generation
