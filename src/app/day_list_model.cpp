#include "app/day_list_model.h"

#include "calendar/day_table.h"

DayListModel::DayListModel(const DayTable& table, QObject* parent)
    : QAbstractTableModel(parent)
    , m_table(table)
{
    connect(&table, &DayTable::rowsAboutToBeInserted, this, [this](int first, int last) {
        forgetLook();
        beginInsertRows({}, first, last);
    });
    connect(&table, &DayTable::rowsInserted, this, [this] {
        forgetLook();
        endInsertRows();
    });
    connect(&table, &DayTable::rowsAboutToBeRemoved, this, [this](int first, int last) {
        forgetLook();
        beginRemoveRows({}, first, last);
    });
    connect(&table, &DayTable::rowsRemoved, this, [this] {
        forgetLook();
        endRemoveRows();
    });
    connect(&table, &DayTable::aboutToReset, this, [this] {
        forgetLook();
        beginResetModel();
    });
    connect(&table, &DayTable::resetDone, this, [this] {
        forgetLook();
        endResetModel();
    });
    // A row's kind depends on its neighbours only through its index, so one row repaints.
    connect(&table, &DayTable::rowChanged, this, [this](int row) {
        forgetLook();
        if (!m_titles.isEmpty())
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
}

int DayListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_table.rowCount();
}

int DayListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_titles.size());
}

row_kind::Look DayListModel::lookOf(const EventRecord& record, int row) const
{
    if (row != m_lookRow) {
        m_look = row_kind::lookOf(row_kind::classify(record, row, m_holidayYears), m_settingsReady);
        m_lookRow = row;
    }
    return m_look;
}

QVariant DayListModel::roleData(
    const EventRecord& record, int column, const row_kind::Look& look, int role) const
{
    switch (role) {
    case Qt::DisplayRole:
        return record.text(EventRecord::Field(column));
    case Qt::FontRole:
        return look.fontItem < 0 ? QVariant() : QVariant(m_looks.look(look.fontItem).font);
    case Qt::BackgroundRole:
        return look.colourItem < 0 ? QVariant() : QVariant(m_looks.look(look.colourItem).background);
    case Qt::ForegroundRole:
        return look.colourItem < 0 ? QVariant() : QVariant(m_looks.look(look.colourItem).foreground);
    default:
        return {};
    }
}

QVariant DayListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_table.rowCount())
        return {};
    const EventRecord& record = m_table.record(index.row());
    const bool needsLook = role == Qt::FontRole || role == Qt::BackgroundRole || role == Qt::ForegroundRole;
    return roleData(
        record, index.column(), needsLook ? lookOf(record, index.row()) : row_kind::Look {}, role);
}

void DayListModel::multiData(const QModelIndex& index, QModelRoleDataSpan roleDataSpan) const
{
    if (!index.isValid() || index.row() >= m_table.rowCount()) {
        for (QModelRoleData& roleData : roleDataSpan)
            roleData.clearData();
        return;
    }
    const EventRecord& record = m_table.record(index.row());
    const row_kind::Look look = lookOf(record, index.row());
    for (QModelRoleData& data : roleDataSpan)
        data.setData(roleData(record, index.column(), look, data.role()));
}

QVariant DayListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_titles.size())
        return m_titles.at(section);
    return {};
}

Qt::ItemFlags DayListModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void DayListModel::setColumns(const QStringList& titles)
{
    if (!m_titles.isEmpty()) {
        beginRemoveColumns({}, 0, int(m_titles.size()) - 1);
        m_titles.clear();
        endRemoveColumns();
    }
    if (titles.isEmpty())
        return;
    beginInsertColumns({}, 0, int(titles.size()) - 1);
    m_titles = titles;
    endInsertColumns();
}

void DayListModel::removeColumnAt(int column)
{
    if (column < 0 || column >= columnCount())
        return;
    beginRemoveColumns({}, column, column);
    m_titles.removeAt(column);
    endRemoveColumns();
}

void DayListModel::setColumnTitle(int column, const QString& title)
{
    if (column < 0 || column >= columnCount() || m_titles.at(column) == title)
        return;
    m_titles[column] = title;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void DayListModel::setAppearance(
    const RowLooks& looks, const holidays::Years& holidayYears, bool settingsReady)
{
    m_looks = looks;
    m_holidayYears = holidayYears;
    m_settingsReady = settingsReady;
    forgetLook();
    repaintAll();
}

void DayListModel::repaintAll()
{
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
            { Qt::BackgroundRole, Qt::ForegroundRole, Qt::FontRole });
}
