#include "records/placing.h"

#include "calendar/day_table.h"
#include "platform/messenger.h"
#include "records/event_record.h"

namespace placing {

namespace {
using Field = EventRecord::Field;

const QString kNewTitle = QStringLiteral("Nový záznam");
const QString kEditTitle = QStringLiteral("Editovat záznam");

const QString& pending(const EntryFields& fields, int k, int part)
{
    return fields.ze[static_cast<size_t>(4 * (k - 1) + part)];
}
} // namespace

int rowFrom(const QStringList& list, const DayTable& table)
{
    if (list.isEmpty())
        return -1;
    bool ok = false;
    const int row = list.first().toInt(&ok);
    return ok && row >= 0 && row < table.rowCount() ? row : -1;
}

void clearFields(EntryFields fields)
{
    fields.u1.clear();
    fields.u2.clear();
    for (QString& text : fields.ze)
        text.clear();
    fields.pocet.clear();
    fields.ListBox1.clear();
}

void setPending(EntryFields fields, int k, const QString& time, const QString& event, const QString& value1,
    const QString& value2)
{
    const size_t first = static_cast<size_t>(4 * (k - 1));
    fields.ze[first] = time;
    fields.ze[first + 1] = event;
    fields.ze[first + 2] = value1;
    fields.ze[first + 3] = value2;
}

EventRecord itemRecord(
    const EntryFields& fields, int k, int columns, const QString& dayName, const QString& date)
{
    EventRecord record = EventRecord::blank();
    record.setText(Field::DayName, dayName);
    record.setText(Field::Date, date);
    record.setText(Field::Time, pending(fields, k, 0));
    record.setText(Field::Event, pending(fields, k, 1));
    if (columns >= 5)
        record.setText(Field::Value1, pending(fields, k, 2));
    if (columns >= 6)
        record.setText(Field::Value2, pending(fields, k, 3));
    return record;
}

bool z1b(DayTable& table, Messenger& messenger, EntryFields fields, int columns)
{
    const int row = rowFrom(fields.pocet, table);
    // Rewritten in place: the row keeps its position and the view its selection.
    if (row < 0 || !table.setRecord(row, itemRecord(fields, 1, columns, fields.u1, fields.u2))) {
        messenger.show(
            Messenger::Icon::Error, kNewTitle, QStringLiteral("Chyba při vytváření nového záznamů"));
        return false;
    }
    return true;
}

int zkb(DayTable& table, EntryFields fields, int k, int columns, int after)
{
    fields.u1.clear();
    fields.u2.clear();
    if (after < 0 || after >= table.rowCount())
        return -1;
    const int row = after + 1;
    return table.insertRecord(row, itemRecord(fields, k, columns, QString(), QString())) ? row : -1;
}

bool itemIsBlank(const EntryFields& fields, int k, int columns)
{
    return itemRecord(fields, k, columns, QString(), QString()).holdsNoEvent();
}

int placeNewEntry(DayTable& table, Messenger& messenger, EntryFields fields, int n, int columns,
    const std::function<void(int)>& copyItem)
{
    const int target = rowFrom(fields.pocet, table);
    if (target < 0) {
        z1b(table, messenger, fields, columns); // reports the missing row
        return -1;
    }
    const bool fillTarget = table.record(target).holdsNoEvent();
    int last = target;
    for (int k = 1; k <= n; ++k) {
        copyItem(k);
        if (k == 1 && fillTarget) {
            if (!z1b(table, messenger, fields, columns))
                return -1;
            continue;
        }
        if (itemIsBlank(fields, k, columns))
            continue;
        const int row = zkb(table, fields, k, columns, last);
        if (row < 0)
            break;
        last = row;
    }
    return last;
}

bool writeBack(
    DayTable& table, Messenger& messenger, EntryFields fields, int k, int columns, HiddenTexts hidden)
{
    if (k >= 2) {
        fields.u1.clear();
        fields.u2.clear();
    }
    int row = -1;
    if (k - 1 < fields.ListBox1.size()) {
        bool ok = false;
        row = fields.ListBox1.at(k - 1).toInt(&ok);
        if (!ok || row >= table.rowCount())
            row = -1;
    }
    if (row < 0) {
        messenger.show(Messenger::Icon::Error, kEditTitle,
            k >= 9 ? QStringLiteral("Chyba při úpravě nového záznamů")
                   : QStringLiteral("Chyba při úpravě záznamů"));
        return false;
    }
    EventRecord record = itemRecord(fields, k, columns, fields.u1, fields.u2);
    if (hidden == HiddenTexts::Keep) {
        // Texts of columns the grid does not show were never offered for editing.
        const EventRecord& before = table.record(row);
        if (columns < 5)
            record.setBytes(Field::Value1, before.view(Field::Value1));
        if (columns < 6)
            record.setBytes(Field::Value2, before.view(Field::Value2));
    }
    table.setRecord(row, record);
    return true;
}

void editovatakce1(const DayTable& table, EntryFields fields, int selected)
{
    clearFields(fields);
    if (selected < 0 || selected >= table.rowCount())
        return;
    fields.ListBox1.append(QString::number(selected));
    if (!table.record(selected).isDayRow())
        return;
    for (int row = selected + 1; row < table.rowCount() && fields.ListBox1.size() < kMaxItems; ++row) {
        // The next day row ends the selected day's entry.
        if (table.record(row).isDayRow())
            break;
        fields.ListBox1.append(QString::number(row));
    }
}

} // namespace placing
