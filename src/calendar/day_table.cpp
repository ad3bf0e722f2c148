#include "calendar/day_table.h"

DayTable::DayTable(QObject* parent)
    : QObject(parent)
{
}

bool DayTable::setRecord(int row, const EventRecord& record)
{
    if (row < 0 || row >= rowCount())
        return false;
    m_records[static_cast<size_t>(row)] = record;
    emit rowChanged(row);
    return true;
}

bool DayTable::insertRecord(int row, const EventRecord& record)
{
    if (row < 0 || row > rowCount())
        return false;
    emit rowsAboutToBeInserted(row, row);
    m_records.insert(m_records.begin() + row, record);
    emit rowsInserted(row, row);
    return true;
}

bool DayTable::removeRecords(int first, int count)
{
    if (count <= 0 || first < 0 || first > rowCount() - count)
        return false;
    emit rowsAboutToBeRemoved(first, first + count - 1);
    m_records.erase(m_records.begin() + first, m_records.begin() + first + count);
    emit rowsRemoved(first, first + count - 1);
    return true;
}

void DayTable::appendRecords(const std::vector<EventRecord>& records)
{
    if (records.empty())
        return;
    const int first = rowCount();
    const int last = first + static_cast<int>(records.size()) - 1;
    // Reserve first so that running out of memory leaves the table as it was.
    m_records.reserve(m_records.size() + records.size());
    emit rowsAboutToBeInserted(first, last);
    m_records.insert(m_records.end(), records.begin(), records.end());
    emit rowsInserted(first, last);
}

void DayTable::replaceRecords(std::vector<EventRecord> records)
{
    emit aboutToReset();
    m_records = std::move(records);
    emit resetDone();
}

void DayTable::clearRecords()
{
    replaceRecords({});
}

void DayTable::setLists(const QStringList& years, const QStringList& dayCounts)
{
    m_years = years;
    m_dayCounts = dayCounts;
    emit listsChanged();
}
