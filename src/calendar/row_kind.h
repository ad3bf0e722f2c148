#pragma once

#include "calendar/holidays.h"
#include "records/event_record.h"

// The kinds of rows of the main day list, each with its own look (the settings
// items 1 to 6 in this order), and which item's look a row is drawn with.
namespace row_kind {

enum Item { Even = 0, Odd = 1, Saturday = 2, Sunday = 3, Holiday = 4, Event = 5 };

struct Kinds {
    bool odd = false;
    bool saturday = false;
    bool sunday = false;
    bool holiday = false;
    bool event = false;
};

// The kinds of row `row` holding `record`; `holidayYears` are the years in which holidays are marked.
Kinds classify(const EventRecord& record, int row, const holidays::Years& holidayYears);

// A row's colours and its font (face and style) may come from different items:
// an event row on a holiday has the event colours with the holiday face and style.
// -1 means the list's own look.
struct Look {
    int colourItem = -1;
    int fontItem = -1;
};

// `settingsReady` is false until start-up has finished; then only event rows have their colours.
Look lookOf(const Kinds& kinds, bool settingsReady);

} // namespace row_kind
