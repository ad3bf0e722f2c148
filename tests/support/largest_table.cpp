#include "largest_table.h"

#include "calendar/day_table.h"
#include "calendar/generation.h"
#include "records/data_file.h"
#include "settings/settings_file.h"

#include <cstdint>

namespace largest_table {

namespace {
// A small fixed-seed generator, so every run builds the same table.
class Sequence {
public:
    std::uint32_t next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    int below(int bound) { return static_cast<int>(next() % static_cast<std::uint32_t>(bound)); }

private:
    std::uint32_t m_state = 20040101u;
};

const QString kAlphabet = QStringLiteral("aábcčdďeéěfghiíjklmnňoópqrřsštťuúůvwxyýzž"
                                         "AÁBCČDĎEÉĚFGHIÍJKLMNŇOÓPQRŘSŠTŤUÚŮVWXYÝZŽ 0123456789.,:-");

QString textOfLength(Sequence& sequence, int length)
{
    QString text;
    text.reserve(length);
    for (int i = 0; i < length; ++i)
        text += kAlphabet.at(sequence.below(static_cast<int>(kAlphabet.size())));
    return text;
}

EventRecord eventRecord(Sequence& sequence, EventRecord record, int serial)
{
    // The serial walks through every length of every field.
    const auto fill = [&](EventRecord::Field field) {
        const int capacity = EventRecord::capacity(field);
        record.setText(field, textOfLength(sequence, serial % (capacity + 1)));
    };
    fill(EventRecord::Field::Time);
    fill(EventRecord::Field::Event);
    fill(EventRecord::Field::Value1);
    fill(EventRecord::Field::Value2);
    if (record.isEmpty(EventRecord::Field::Time) && record.isEmpty(EventRecord::Field::Event))
        record.setText(EventRecord::Field::Event, QStringLiteral("Koncert"));
    return record;
}
} // namespace

Table make(int eventRows)
{
    Table table;
    Sequence sequence;
    std::vector<EventRecord> days;
    for (int year = generation::kFirstYear; year <= generation::kLastYear; ++year) {
        const std::vector<EventRecord> rows = generation::yearRows(year, 1);
        days.insert(days.end(), rows.begin(), rows.end());
        table.years << QString::number(year);
        table.dayCounts << QString::number(generation::daysInYear(year));
    }
    // Decide how many extra rows follow each day row, then lay the rows out in order.
    std::vector<int> extras(days.size(), 0);
    for (int i = 0; i < eventRows; ++i)
        ++extras[static_cast<size_t>(sequence.below(static_cast<int>(days.size())))];
    table.records.reserve(days.size() + static_cast<size_t>(eventRows));
    int serial = 0;
    for (size_t d = 0; d < days.size(); ++d) {
        EventRecord day = days[d];
        if (extras[d] > 0 || sequence.below(20) == 0)
            day = eventRecord(sequence, day, serial++);
        table.records.push_back(day);
        for (int e = 0; e < extras[d]; ++e)
            table.records.push_back(eventRecord(sequence, EventRecord::blank(), serial++));
    }
    return table;
}

void fill(DayTable& table, int eventRows)
{
    Table sample = make(eventRows);
    table.replaceRecords(std::move(sample.records));
    table.setLists(sample.years, sample.dayCounts);
}

bool writeFiles(const QString& dir, const DayTable& table, Settings settings, Messenger& messenger)
{
    settings_file::agreeWithLists(settings, table.years(), table.dayCounts());
    return data_file::SaveData(dir, table, messenger) && settings_file::save(dir, settings, table);
}

} // namespace largest_table
