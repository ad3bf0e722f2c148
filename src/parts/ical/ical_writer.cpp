#include "parts/ical/ical_writer.h"

#include <libical/ical.h>

namespace ical {

namespace {

icaltimetype dateValue(const QDate& date)
{
    icaltimetype value = icaltime_null_date();
    value.year = date.year();
    value.month = date.month();
    value.day = date.day();
    return value;
}

// No zone: a floating local time, as the day table means it.
icaltimetype localValue(const QDate& date, const QTime& time)
{
    icaltimetype value = icaltime_null_time();
    value.year = date.year();
    value.month = date.month();
    value.day = date.day();
    value.hour = time.hour();
    value.minute = time.minute();
    value.second = time.second();
    return value;
}

icaltimetype utcValue(const QDateTime& moment)
{
    return icaltime_from_timet_with_zone(
        static_cast<time_t>(moment.toSecsSinceEpoch()), 0, icaltimezone_get_utc_timezone());
}

// A value of blanks alone is left out: parsers read it as no value at all.
bool blank(const QString& text)
{
    return text.trimmed().isEmpty();
}

void addText(icalcomponent* event, icalproperty* (*make)(const char*), const QString& text)
{
    if (!blank(text))
        icalcomponent_add_property(event, make(text.toUtf8().constData()));
}

icalcomponent* eventOf(const OutEvent& in, const icaltimetype& stamp)
{
    icalcomponent* event = icalcomponent_new(ICAL_VEVENT_COMPONENT);
    addText(event, icalproperty_new_uid, in.uid);
    icalcomponent_add_property(event, icalproperty_new_dtstamp(stamp));
    const bool allDay = !in.startTime.isValid();
    icalcomponent_add_property(event,
        icalproperty_new_dtstart(allDay ? dateValue(in.startDate) : localValue(in.startDate, in.startTime)));
    if (in.endDate.isValid()) {
        icalcomponent_add_property(event,
            icalproperty_new_dtend(allDay ? dateValue(in.endDate) : localValue(in.endDate, in.endTime)));
    }
    addText(event, icalproperty_new_summary, in.summary);
    if (in.madeUpSummary) {
        // So that an import can tell a summary the user never wrote.
        icalproperty* mark = icalproperty_new_x("FALLBACK");
        icalproperty_set_x_name(mark, "X-ZORIVKA-SUMMARY");
        icalcomponent_add_property(event, mark);
    }
    addText(event, icalproperty_new_description, in.description);
    return event;
}

} // namespace

QByteArray writeCalendar(const OutCalendar& calendar)
{
    icalcomponent* root = icalcomponent_new(ICAL_VCALENDAR_COMPONENT);
    icalcomponent_add_property(root, icalproperty_new_version("2.0"));
    icalcomponent_add_property(root, icalproperty_new_prodid(calendar.productId.toUtf8().constData()));
    icalcomponent_add_property(root, icalproperty_new_calscale("GREGORIAN"));
    const icaltimetype stamp = utcValue(calendar.stamp);
    for (const OutEvent& event : calendar.events)
        icalcomponent_add_component(root, eventOf(event, stamp));
    char* text = icalcomponent_as_ical_string_r(root);
    QByteArray bytes(text);
    icalmemory_free_buffer(text);
    icalcomponent_free(root);
    return bytes;
}

} // namespace ical
