#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <functional>

class DayTable;
class Messenger;
struct EventRecord;

// The record dialogs' share of the main-window state: `pocet` (its first entry the
// target row), `ListBox1` (the rows under edit), `u1`/`u2` (day name and date that
// item 1 is written with) and the pending items `ze1`..`ze40` (ze[0] is `ze1`).
struct EntryFields {
    QStringList& pocet;
    QStringList& ListBox1;
    QString& u1;
    QString& u2;
    std::array<QString, 40>& ze;
};

namespace placing {

constexpr int kMaxItems = 10;

// The row number held by the list's first entry, or -1 when it holds none of the table's rows.
int rowFrom(const QStringList& list, const DayTable& table);

// Empties u1, u2, ze1..ze40, pocet and ListBox1.
void clearFields(EntryFields fields);

// Copies item k's (1..10) four texts into ze(4k-3)..ze(4k).
void setPending(EntryFields fields, int k, const QString& time, const QString& event, const QString& value1,
    const QString& value2);

// A record of item k's pending texts with the given day name and date. With 4
// columns value 1 and value 2 stay empty, with 5 value 2 does.
EventRecord itemRecord(
    const EntryFields& fields, int k, int columns, const QString& dayName, const QString& date);

// z1b: item 1 of a new entry replaces the texts of row `pocet`[1], which keeps u1/u2
// as day name and date. Returns false (after "Chyba při vytváření nového záznamů")
// when that is no row.
bool z1b(DayTable& table, Messenger& messenger, EntryFields fields, int columns);

// z2b..z10b: item k (1..10) of a new entry becomes an extra row directly under row
// `after`. Returns the inserted row (to be selected), or -1.
int zkb(DayTable& table, EntryFields fields, int k, int columns, int after);

// Whether item k's pending texts, as the column count stores them, are all blank.
bool itemIsBlank(const EntryFields& fields, int k, int columns);

// Places items 1..n of a new entry at the target row `pocet`[1]. Item 1 fills the
// target when the target carries no event; every other item (all of them when the
// target carries one, so the user's event is never overwritten) becomes an extra row
// under it, in order; blank items make no extra rows. Returns the last row placed, or
// -1 after the message of z1b when the target is no row. `copyItem(k)` fills the
// pending texts of item k just before it is placed.
int placeNewEntry(DayTable& table, Messenger& messenger, EntryFields fields, int n, int columns,
    const std::function<void(int)>& copyItem);

// What writing back does with the value columns the grid does not show.
enum class HiddenTexts { Keep, Clear };

// e1..e10: item k (1..10) of an edited entry rewrites row ListBox1[k] in place;
// item 1 with u1/u2, the others as extra rows. Reports "Chyba při úpravě záznamů"
// ("Chyba při úpravě nového záznamů" for items 9 and 10) when that is no row.
bool writeBack(
    DayTable& table, Messenger& messenger, EntryFields fields, int k, int columns, HiddenTexts hidden);

// editovatakce1: gathers the selected row's entry into ListBox1: a day row with the
// extra rows under it (at most ten rows, up to the next day row), or an extra row alone.
void editovatakce1(const DayTable& table, EntryFields fields, int selected);

} // namespace placing
