#pragma once

#include "settings/sample_rows.h"
#include "settings/settings.h"
#include "widgets/row_looks.h"

#include <QAbstractTableModel>
#include <QGroupBox>
#include <QStringList>

#include <array>

class QTableView;

// The seven sample rows in the looks of the working copy of the settings.
class SamplePreviewModel final : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SamplePreviewModel)

public:
    // Which parts of a kind's look the preview applies.
    enum class Looks { ColoursAndFaces, Full };

    SamplePreviewModel(const Settings& working, Looks looks, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void appendColumn(const QString& title);
    void removeLastColumn();
    void setColumnTitle(int column, const QString& title);

    // Day names in the working copy's format and the looks of its items, then a repaint.
    void refresh(const QFont& font);
    // The settings item whose look row `row` is drawn in.
    int itemOfRow(int row) const;

private:
    const Settings& m_working;
    Looks m_mode;
    QStringList m_titles;
    std::array<sample_rows::Row, sample_rows::kCount> m_rows;
    std::array<RowLook, Settings::kItemCount> m_looks;
};

// A preview framed and headed "Ukázka": a read-only list of the sample rows.
class SamplePreview final : public QGroupBox {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SamplePreview)

public:
    // `fixedTitles` gives the preview its own columns; without them the owner adds columns.
    SamplePreview(const Settings& working, SamplePreviewModel::Looks looks, const QStringList& fixedTitles,
        QWidget* parent = nullptr);

    // Relabels the rows in the current format, takes the current looks and grid lines, repaints.
    void refresh();

    SamplePreviewModel& model() { return *m_model; }
    QTableView* view() const { return m_view; }

private:
    void fitHeight();

    const Settings& m_working;
    SamplePreviewModel* m_model = nullptr;
    QTableView* m_view = nullptr;
};
