#include "records/record_dialog.h"

#include "calendar/day_table.h"
#include "records/event_record.h"
#include "search/row_lookup.h"
#include "settings/settings.h"
#include "widgets/cp1250_validator.h"
#include "widgets/main_form.h"
#include "widgets/main_state.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace {
using Field = EventRecord::Field;

constexpr int kMargin = 8;
constexpr int kGap = 8;
constexpr int kHeaderHeight = 18;
constexpr int kEditHeight = 20;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;

const char* const kHeaders[RecordDialog::kColumns] = { "Hod.", "Akce", "1", "2" };
constexpr Field kFields[RecordDialog::kColumns] = { Field::Time, Field::Event, Field::Value1, Field::Value2 };

// Widths of the grid columns for 4, 5 and 6 list columns; the dialog is then
// 287, 367 or 487 pixels wide.
constexpr int kWidths[3][RecordDialog::kColumns] = {
    { 64, 199, 0, 0 },
    { 64, 199, 72, 0 },
    { 64, 199, 92, 92 },
};

int dialogWidth(int columns)
{
    int width = kMargin;
    for (int c = 0; c < columns - 2; ++c)
        width += kWidths[columns - 4][c] + kGap;
    return width;
}
} // namespace

RecordDialog::RecordDialog(MainForm& form, const QString& caption, const QString& confirmText,
    bool limitLengths, int gridTop, int clientHeight)
    : QDialog(form.mainWidget())
    , m_form(form)
    , m_gridTop(gridTop)
{
    setWindowTitle(caption);
    setModal(true);
    const int columns = form.settings().pocets.toInt();
    m_sloupce = columns >= 4 && columns <= 6 ? columns : 4;

    auto* validator = new Cp1250Validator(this);
    for (int c = 0; c < kColumns; ++c) {
        m_headers[c] = new QLabel(QString::fromUtf8(kHeaders[c]), this);
        m_headers[c]->setStyleSheet(QStringLiteral("font-weight: bold; color: navy;"));
    }
    for (int row = 1; row <= kRows; ++row) {
        for (int c = 1; c <= kColumns; ++c) {
            const int number = kColumns * (row - 1) + c;
            auto* edit = new QLineEdit(this);
            edit->setObjectName(QStringLiteral("Edit%1").arg(number));
            edit->setAccessibleName(m_headers[c - 1]->text() + QLatin1Char(' ') + QString::number(row));
            edit->setValidator(validator);
            if (limitLengths)
                edit->setMaxLength(EventRecord::capacity(kFields[c - 1]));
            // The whole text can be read by pointing at an edit too narrow for it.
            connect(edit, &QLineEdit::textChanged, edit, &QLineEdit::setToolTip);
            m_edits[static_cast<size_t>(number - 1)] = edit;
        }
    }
    for (QFrame*& separator : m_separators) {
        separator = new QFrame(this);
        separator->setStyleSheet(QStringLiteral("background: red;"));
    }

    m_confirm = new QPushButton(confirmText, this);
    m_confirm->setObjectName(QStringLiteral("Button1"));
    m_confirm->setDefault(true);
    m_confirm->setAutoDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Zrušit"), this);
    m_cancel->setObjectName(QStringLiteral("Button2"));
    m_cancel->setAutoDefault(false);
    connect(m_confirm, &QPushButton::clicked, this, &RecordDialog::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(dialogWidth(m_sloupce), clientHeight);
    m_cancel->setGeometry(0, clientHeight - kButtonHeight - kMargin, kButtonWidth, kButtonHeight);
    layOut();
}

QLineEdit* RecordDialog::edit(int row, int column) const
{
    return m_edits[static_cast<size_t>(kColumns * (row - 1) + column - 1)];
}

void RecordDialog::setItemCount(int n)
{
    m_items = qBound(1, n, kRows);
    layOut();
}

void RecordDialog::layOut()
{
    const int shownColumns = m_sloupce - 2;
    const int rowsTop = m_gridTop + kHeaderHeight;
    int x = kMargin;
    for (int c = 0; c < kColumns; ++c) {
        const bool shown = c < shownColumns;
        const int width = kWidths[m_sloupce - 4][c];
        m_headers[c]->setVisible(shown);
        m_headers[c]->setGeometry(x, m_gridTop, width, kHeaderHeight);
        for (int row = 1; row <= kRows; ++row) {
            QLineEdit* item = edit(row, c + 1);
            item->setGeometry(x, rowsTop + (row - 1) * kRowStep, width, kEditHeight);
            // Rows beyond the count keep their texts but are not shown or created.
            item->setVisible(shown && row <= m_items);
        }
        if (c < kColumns - 1) {
            QFrame* separator = m_separators[c];
            separator->setVisible(shown && c + 1 < shownColumns);
            separator->setGeometry(x + width + kGap / 2 - 1, rowsTop - 4, 2, 7 + kRowStep * m_items);
        }
        x += width + kGap;
    }
    const int buttonsLeft = (width() - 2 * kButtonWidth - kGap) / 2;
    const int buttonsTop = height() - kButtonHeight - kMargin;
    m_confirm->setGeometry(buttonsLeft, buttonsTop, kButtonWidth, kButtonHeight);
    m_cancel->move(buttonsLeft + kButtonWidth + kGap, buttonsTop);
}

bool RecordDialog::takeTargetDay()
{
    EntryFields entry = fields();
    const int target = placing::rowFrom(entry.pocet, m_form.table());
    if (target < 0)
        return false;
    const EventRecord& record = m_form.table().record(target);
    entry.u1 = record.text(Field::DayName);
    entry.u2 = record.text(Field::Date);
    if (!entry.u2.isEmpty())
        m_form.selectRow(row_lookup::dayRowWithDate(m_form.table(), entry.u2));
    return true;
}

void RecordDialog::copyItem(int k)
{
    const auto text
        = [this, k](int column) { return column <= m_sloupce - 2 ? edit(k, column)->text() : QString(); };
    placing::setPending(fields(), k, text(1), text(2), text(3), text(4));
}

EntryFields RecordDialog::fields()
{
    return m_form.state().entryFields();
}

void RecordDialog::done(int result)
{
    placing::clearFields(fields());
    QDialog::done(result);
    m_form.repaintList();
    m_form.focusList();
}
