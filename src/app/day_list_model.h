#pragma once

#include "calendar/holidays.h"
#include "calendar/row_kind.h"
#include "widgets/row_looks.h"

#include <QAbstractTableModel>
#include <QStringList>

class DayTable;

// Presents the day table to the main day list: row i is record i, column k shows
// field k, and every row is drawn in the look of its kind.
class DayListModel final : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DayListModel)

public:
    explicit DayListModel(const DayTable& table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // The view asks for all roles of a cell at once; the row's kind is worked out once for them.
    void multiData(const QModelIndex& index, QModelRoleDataSpan roleDataSpan) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // All columns at once (one change for the view to lay out), or one removed.
    void setColumns(const QStringList& titles);
    void removeColumnAt(int column);
    void setColumnTitle(int column, const QString& title);

    // What drawing reads: the looks, the years in which holidays are marked and
    // whether start-up has finished. Each call repaints every row.
    void setAppearance(const RowLooks& looks, const holidays::Years& holidayYears, bool settingsReady);

private:
    void repaintAll();
    QVariant roleData(const EventRecord& record, int column, const row_kind::Look& look, int role) const;
    row_kind::Look lookOf(const EventRecord& record, int row) const;
    void forgetLook() const { m_lookRow = -1; }

    const DayTable& m_table;
    QStringList m_titles;
    RowLooks m_looks;
    holidays::Years m_holidayYears;
    bool m_settingsReady = false;
    // The view asks for a cell's roles one after another, and for a row's cells in
    // turn: the last row's look is kept until anything changes.
    mutable int m_lookRow = -1;
    mutable row_kind::Look m_look;
};
