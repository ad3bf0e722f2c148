#pragma once

#include "records/event_record.h"

#include <QObject>
#include <QStringList>

#include <vector>

// The day table: the record list (row i of the main day list is record i), the
// year list and the day-count list. It is the only way to change them, and it
// announces every change so that views can follow: single edits row by row,
// whole-table operations as a reset.
class DayTable final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DayTable)

public:
    explicit DayTable(QObject* parent = nullptr);

    int rowCount() const { return static_cast<int>(m_records.size()); }
    const EventRecord& record(int row) const { return m_records[static_cast<size_t>(row)]; }
    const std::vector<EventRecord>& records() const { return m_records; }

    // Each returns false and changes nothing for rows outside the table.
    bool setRecord(int row, const EventRecord& record);
    bool insertRecord(int row, const EventRecord& record);
    bool removeRecords(int first, int count);
    void appendRecords(const std::vector<EventRecord>& records);
    // Whole-table operations.
    void replaceRecords(std::vector<EventRecord> records);
    void clearRecords();

    const QStringList& years() const { return m_years; }
    const QStringList& dayCounts() const { return m_dayCounts; }
    void setLists(const QStringList& years, const QStringList& dayCounts);

signals:
    void rowsAboutToBeInserted(int first, int last);
    void rowsInserted(int first, int last);
    void rowsAboutToBeRemoved(int first, int last);
    void rowsRemoved(int first, int last);
    void rowChanged(int row);
    void aboutToReset();
    void resetDone();
    void listsChanged();

private:
    std::vector<EventRecord> m_records;
    QStringList m_years;
    QStringList m_dayCounts;
};
