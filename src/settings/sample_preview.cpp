#include "settings/sample_preview.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

SamplePreviewModel::SamplePreviewModel(const Settings& working, Looks looks, QObject* parent)
    : QAbstractTableModel(parent)
    , m_working(working)
    , m_mode(looks)
{
}

int SamplePreviewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : sample_rows::kCount;
}

int SamplePreviewModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_titles.size());
}

int SamplePreviewModel::itemOfRow(int row) const
{
    return sample_rows::itemOf(row, m_rows.at(static_cast<size_t>(row)));
}

QVariant SamplePreviewModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= sample_rows::kCount)
        return {};
    const sample_rows::Row& row = m_rows[static_cast<size_t>(index.row())];
    const RowLook& look = m_looks[static_cast<size_t>(itemOfRow(index.row()))];
    switch (role) {
    case Qt::DisplayRole: {
        const QString* texts[] = { &row.dayName, &row.date, &row.time, &row.event };
        return index.column() < 4 ? *texts[index.column()] : QString();
    }
    case Qt::FontRole:
        return look.font;
    case Qt::BackgroundRole:
        return look.background;
    case Qt::ForegroundRole:
        return look.foreground;
    default:
        return {};
    }
}

QVariant SamplePreviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_titles.size())
        return m_titles.at(section);
    return {};
}

Qt::ItemFlags SamplePreviewModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

void SamplePreviewModel::appendColumn(const QString& title)
{
    const int column = columnCount();
    beginInsertColumns({}, column, column);
    m_titles << title;
    endInsertColumns();
}

void SamplePreviewModel::removeLastColumn()
{
    if (m_titles.isEmpty())
        return;
    const int column = columnCount() - 1;
    beginRemoveColumns({}, column, column);
    m_titles.removeLast();
    endRemoveColumns();
}

void SamplePreviewModel::setColumnTitle(int column, const QString& title)
{
    if (column < 0 || column >= columnCount())
        return;
    m_titles[column] = title;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void SamplePreviewModel::refresh(const QFont& font)
{
    for (int i = 0; i < sample_rows::kCount; ++i)
        m_rows[static_cast<size_t>(i)] = sample_rows::row(i, m_working.format);
    for (int k = 0; k < Settings::kItemCount; ++k) {
        RowItem item = m_working.items[static_cast<size_t>(k)];
        if (m_mode == Looks::ColoursAndFaces)
            item.bold = item.italic = item.underline = false;
        m_looks[static_cast<size_t>(k)] = RowLooks::lookOf(item, font);
    }
    if (columnCount() > 0)
        emit dataChanged(index(0, 0), index(sample_rows::kCount - 1, columnCount() - 1));
}

SamplePreview::SamplePreview(
    const Settings& working, SamplePreviewModel::Looks looks, const QStringList& fixedTitles, QWidget* parent)
    : QGroupBox(QStringLiteral("Ukázka"), parent)
    , m_working(working)
{
    m_model = new SamplePreviewModel(working, looks, this);
    for (const QString& title : fixedTitles)
        m_model->appendColumn(title);

    m_view = new QTableView(this);
    m_view->setAccessibleName(title());
    m_view->setModel(m_model);
    m_view->setSelectionMode(QAbstractItemView::NoSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setFocusPolicy(Qt::NoFocus);
    m_view->setWordWrap(false);
    m_view->setCornerButtonEnabled(false);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const int rowHeight = m_view->fontMetrics().height() + 1;
    m_view->verticalHeader()->setMinimumSectionSize(rowHeight);
    m_view->verticalHeader()->setDefaultSectionSize(rowHeight);
    m_view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QHeaderView* header = m_view->horizontalHeader();
    header->setSectionsClickable(false);
    header->setSectionsMovable(false);
    header->setHighlightSections(false);
    header->setMinimumSectionSize(1);
    header->setSectionResizeMode(QHeaderView::Fixed);
    if (fixedTitles.isEmpty()) {
        // The column preview's widths follow the sliders and may exceed the frame.
        m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    } else {
        m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        header->setStretchLastSection(true);
        const int widths[] = { 58, 76, 44 };
        for (int column = 0; column < 3 && column < fixedTitles.size(); ++column)
            header->resizeSection(column, widths[column]);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->addWidget(m_view);
    refresh();
}

void SamplePreview::refresh()
{
    m_view->setShowGrid(m_working.mrizka);
    m_model->refresh(m_view->font());
    fitHeight();
}

void SamplePreview::fitHeight()
{
    // Every sample row stays visible, with the scroll bar where there is one. The
    // header's height is known only once it has columns.
    QHeaderView* header = m_view->horizontalHeader();
    if (m_model->columnCount() == 0)
        return;
    int height = header->sizeHint().height()
        + sample_rows::kCount * m_view->verticalHeader()->defaultSectionSize() + 2 * m_view->frameWidth();
    if (m_view->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)
        height += m_view->horizontalScrollBar()->sizeHint().height();
    m_view->setFixedHeight(height);
}
