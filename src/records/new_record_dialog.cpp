#include "records/new_record_dialog.h"

#include "calendar/day_table.h"
#include "platform/messenger.h"
#include "records/event_record.h"
#include "widgets/date_field.h"
#include "widgets/main_form.h"
#include "widgets/main_state.h"

#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

namespace {
constexpr int kClientHeight = 327;
constexpr int kGridTop = 66;
const QString kDateFormat = QStringLiteral("dd.MM.yyyy");

// A spin box changed by its arrows (and the arrow keys) only.
QSpinBox* arrowsOnlySpinBox(QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setRange(1, RecordDialog::kRows);
    box->setValue(1);
    if (auto* text = box->findChild<QLineEdit*>()) {
        text->setReadOnly(true);
        text->setMaxLength(2);
    }
    return box;
}
} // namespace

Tzaznam::Tzaznam(MainForm& form)
    : RecordDialog(
        form, QStringLiteral("Nový záznam"), QStringLiteral("Vytvořit"), true, kGridTop, kClientHeight)
{
    setObjectName(QStringLiteral("zaznam"));
    auto* countLabel = new QLabel(QStringLiteral("Počet položek pro vytvoření:"), this);
    m_count = arrowsOnlySpinBox(this);
    m_count->setObjectName(QStringLiteral("SpinEdit1"));
    m_count->setAccessibleName(countLabel->text());
    countLabel->setBuddy(m_count);
    auto* dateLabel = new QLabel(QStringLiteral("Vytvořit k datu:"), this);
    m_date = new DateField(this);
    m_date->setObjectName(QStringLiteral("DateEdit1"));
    m_date->lineEdit()->setAccessibleName(dateLabel->text());
    dateLabel->setBuddy(m_date);

    const int labelWidth = 170;
    countLabel->setGeometry(8, 10, labelWidth, 20);
    m_count->setGeometry(8 + labelWidth, 8, 50, 22);
    dateLabel->setGeometry(8, 38, labelWidth, 20);
    m_date->setGeometry(8 + labelWidth, 36, 100, 22);
    setTabOrder(m_count, m_date->lineEdit());
    setTabOrder(m_date->lineEdit(), edit(1, 1));
    m_count->setFocus();

    connect(m_count, &QSpinBox::valueChanged, this, &Tzaznam::setItemCount);
    connect(m_date, &DateField::dateChanged, this, &Tzaznam::DateEdit1Change);
    // A date taken from the calendar is done with: the user goes on to the items.
    connect(m_date, &DateField::calendarPicked, this, [this] { focusNextChild(); });

    const int selected = form.selectedRow();
    if (selected >= 0)
        form.state().pocet.append(QString::number(selected));
    const int target = placing::rowFrom(form.state().pocet, form.table());
    if (target >= 0) {
        const QString date = form.table().record(target).text(EventRecord::Field::Date);
        m_date->setDate(QDate::fromString(date, kDateFormat));
    }
    setItemCount(1);
}

void Tzaznam::DateEdit1Change()
{
    m_form.state().pocet = QStringList { m_date->text() };
    m_form.prohledatClick();
}

void Tzaznam::confirm()
{
    // An unfinished date, or one that names no day row, leaves no target: nothing is created.
    const bool unfinished = !m_date->isEmpty() && !m_date->date().isValid();
    if (unfinished || !takeTargetDay()) {
        m_form.messenger().show(Messenger::Icon::Error, QStringLiteral("Nový záznam"),
            QStringLiteral("Hledaný datum nebyl nalezen"));
        return;
    }
    const int last = placing::placeNewEntry(
        m_form.table(), m_form.messenger(), fields(), itemCount(), sloupce(), [this](int k) { copyItem(k); });
    // The last row placed is selected: the target itself when nothing went under it.
    if (last >= 0)
        m_form.selectRow(last);
    accept();
}
