#pragma once

#include "records/placing.h"

class DayTable;
class Messenger;

namespace deleting {

// DeleteRecord: after the user agrees, removes an extra row outright, or empties
// a day row's event in place (its extra rows stay). A row whose time, event and
// values are all empty answers "Záznam je prázdný".
void DeleteRecord(DayTable& table, Messenger& messenger, EntryFields fields, int selected);

// DeleteAllRecords: after the user agrees, empties the whole list, day rows included.
void DeleteAllRecords(DayTable& table, Messenger& messenger);

} // namespace deleting
