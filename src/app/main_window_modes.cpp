#include "app/main_window.h"

#include "app/day_list_model.h"
#include "search/row_lookup.h"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QTimer>

// The main window's modes and column layout, the day list's selection and the
// status panels.

namespace {
const QString kRecordNumber = QStringLiteral("Č. záznamu: ");
} // namespace

// ---- window modes ---------------------------------------------------------

void TForm1::layoutColumns()
{
    if (m_state.stavtimeru7 != u"ON" || isMinimized())
        return;
    QHeaderView* header = m_list->horizontalHeader();
    const int count = m_model->columnCount();
    const bool ready = m_state.nastaveni == u"ok";
    const bool maximised = isMaximized() || isFullScreen();
    for (int k = 0; k < count; ++k) {
        // Columns 1 to 3 are locked; maximised with five columns, column 4 is held too.
        const bool locked = ready && (k < 3 || (maximised && count == 5 && k == 3));
        const bool stretches = maximised && k == count - 1 && k >= 3;
        header->setSectionResizeMode(
            k, stretches ? QHeaderView::Stretch : (locked ? QHeaderView::Fixed : QHeaderView::Interactive));
        if (!stretches)
            header->resizeSection(k, m_settings.width(k));
    }
    m_state.okno = maximised ? QStringLiteral("max") : QStringLiteral("normal");
    Button1Click();
}

void TForm1::Button1Click()
{
    if (isMaximized() || isMinimized() || isFullScreen() || m_inWidthCheck)
        return;
    // The border is fixed: in the normal mode the height stays the design height too.
    if (width() != kNormalClientWidth || height() != kDesignClientHeight) {
        m_inWidthCheck = true;
        resize(kNormalClientWidth, kDesignClientHeight);
        m_inWidthCheck = false;
    }
}

void TForm1::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        QTimer::singleShot(0, this, &TForm1::layoutColumns);
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // The border is fixed: in the normal mode the window snaps back to its width.
    if (!m_inWidthCheck)
        QTimer::singleShot(0, this, &TForm1::layoutColumns);
}

// ---- selection and clicks -------------------------------------------------

void TForm1::selectRow(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    QItemSelectionModel* selection = m_list->selectionModel();
    selection->clearSelection();
    const QModelIndex index = m_model->index(row, 0);
    selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_list->scrollTo(index);
    m_list->setFocus();
}

void TForm1::focusList()
{
    m_list->setFocus();
}

void TForm1::repaintList()
{
    m_list->viewport()->update();
}

int TForm1::selectedRow() const
{
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TForm1::prohledatClick()
{
    if (m_state.pocet.isEmpty())
        return;
    const int row = row_lookup::dayRowWithDate(m_table, m_state.pocet.first());
    if (row < 0)
        return;
    selectRow(row);
    m_state.pocet = QStringList { QString::number(row) };
}

void TForm1::ListView1Click()
{
    const int row = selectedRow();
    if (row >= 0 && row != m_table.rowCount() - 1)
        showRecordNumber(row);
}

void TForm1::ListView1DblClick()
{
    const int row = selectedRow();
    if (row >= 0 && row != m_table.rowCount() - 1)
        openDialog(Dialog::EditRecord);
}

void TForm1::setStatusText(int panel, const QString& text)
{
    m_panels[panel]->setText(text);
    m_panels[panel]->setAccessibleName(text);
}

void TForm1::clearRecordNumber()
{
    setStatusText(0, kRecordNumber);
}

void TForm1::showRecordNumber(int row)
{
    setStatusText(0, kRecordNumber + QString::number(row + 1));
}

QString TForm1::statusText(int panel) const
{
    return m_panels[panel]->text();
}
