#include "records/deleting.h"

#include "calendar/day_table.h"
#include "platform/messenger.h"
#include "records/event_record.h"

namespace deleting {

namespace {
using Field = EventRecord::Field;

const QString kDeleteTitle = QStringLiteral("Smazat záznam");

bool clearDayRow(DayTable& table, Messenger& messenger, EntryFields fields, int row)
{
    const QString index = QString::number(row);
    fields.pocet = QStringList { index };
    fields.ListBox1 = QStringList { index };
    const EventRecord& record = table.record(row);
    fields.u1 = record.text(Field::DayName);
    fields.u2 = record.text(Field::Date);
    placing::setPending(fields, 1, QString(), QString(), QString(), QString());
    // Every column goes, shown or not: the event is deleted, not edited.
    const bool done = placing::writeBack(table, messenger, fields, 1, 6, placing::HiddenTexts::Clear);
    fields.pocet.clear();
    fields.ListBox1.clear();
    fields.u1.clear();
    fields.u2.clear();
    return done;
}
} // namespace

void DeleteRecord(DayTable& table, Messenger& messenger, EntryFields fields, int selected)
{
    if (!messenger.ask(kDeleteTitle, QStringLiteral("Opravdu chcete smazat označený záznam ???")))
        return;
    if (selected < 0 || selected >= table.rowCount())
        return;
    const EventRecord& record = table.record(selected);
    // An extra row goes even when it is blank: nothing else could remove it. An empty
    // day row has nothing to delete.
    if (record.isDayRow() && record.holdsNoEvent()) {
        messenger.show(Messenger::Icon::Error, QStringLiteral("Chyba"), QStringLiteral("Záznam je prázdný"));
        return;
    }
    const bool done = record.isDayRow() ? clearDayRow(table, messenger, fields, selected)
                                        : table.removeRecords(selected, 1);
    if (!done)
        messenger.show(Messenger::Icon::Error, kDeleteTitle, QStringLiteral("Chyba při smazání záznamů"));
}

void DeleteAllRecords(DayTable& table, Messenger& messenger)
{
    if (!messenger.ask(
            QStringLiteral("Smazat vše"), QStringLiteral("Opravdu chcete smazat všechny záznamy ???")))
        return;
    table.clearRecords();
}

} // namespace deleting
