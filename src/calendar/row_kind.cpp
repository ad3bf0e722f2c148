#include "calendar/row_kind.h"

#include "search/case_rules.h"

namespace row_kind {

Kinds classify(const EventRecord& record, int row, const holidays::Years& holidayYears)
{
    Kinds kinds;
    kinds.odd = row % 2 != 0;
    if (record.isDayRow()) {
        const QString day = record.text(EventRecord::Field::DayName);
        kinds.saturday = case_rules::equalsAllLetters(day, u"So") || case_rules::equalsAllLetters(day, u"Sobota");
        kinds.sunday = case_rules::equalsAllLetters(day, u"Ne") || case_rules::equalsAllLetters(day, u"Neděle");
    }
    kinds.event = record.hasEvent();
    kinds.holiday = holidays::isHoliday(record.view(EventRecord::Field::Date), holidayYears);
    return kinds;
}

Look lookOf(const Kinds& kinds, bool settingsReady)
{
    Look look;
    if (settingsReady) {
        int item = kinds.odd ? Odd : Even;
        if (kinds.saturday)
            item = Saturday;
        if (kinds.sunday)
            item = Sunday;
        look.colourItem = item;
        if (kinds.event)
            item = Event;
        if (kinds.holiday)
            item = Holiday;
        look.fontItem = item;
        if (kinds.holiday)
            look.colourItem = Holiday;
    }
    if (kinds.event)
        look.colourItem = Event;
    return look;
}

} // namespace row_kind
