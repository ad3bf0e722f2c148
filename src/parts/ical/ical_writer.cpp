#include "parts/ical/ical_writer.h"

#include <QtGlobal>

#include <libical/ical.h>

#include <algorithm>

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

// Control characters other than tab and line feed would break the line they stand on.
bool isControl(QChar c)
{
    return (c.unicode() < 0x20 && c != u'\t' && c != u'\n') || c.unicode() == 0x7f;
}

QString withoutControls(const QString& text)
{
    if (std::none_of(text.begin(), text.end(), isControl))
        return text;
    QString clean = text;
    clean.removeIf(isControl);
    return clean;
}

// One VEVENT whose properties are made once and given each event's values in turn:
// making and freeing a component per event cost as much as writing it.
class EventWriter {
public:
    explicit EventWriter(const icaltimetype& stamp)
        : m_event(icalcomponent_new(ICAL_VEVENT_COMPONENT))
        , m_uid(icalproperty_new(ICAL_UID_PROPERTY))
        , m_stamp(icalproperty_new_dtstamp(stamp))
        , m_start(icalproperty_new(ICAL_DTSTART_PROPERTY))
        , m_end(icalproperty_new(ICAL_DTEND_PROPERTY))
        , m_summary(icalproperty_new(ICAL_SUMMARY_PROPERTY))
        , m_mark(icalproperty_new_x("FALLBACK"))
        , m_description(icalproperty_new(ICAL_DESCRIPTION_PROPERTY))
    {
        // So that an import can tell a summary the user never wrote.
        icalproperty_set_x_name(m_mark, "X-ZORIVKA-SUMMARY");
    }
    ~EventWriter()
    {
        detach();
        for (icalproperty* p : { m_uid, m_stamp, m_start, m_end, m_summary, m_mark, m_description })
            icalproperty_free(p);
        icalcomponent_free(m_event);
    }
    Q_DISABLE_COPY_MOVE(EventWriter)

    // The event's VEVENT as libical writes it.
    void append(QByteArray& bytes, const OutEvent& in)
    {
        detach();
        text(m_uid, icalproperty_set_uid, in.uid);
        attach(m_stamp);
        const bool allDay = !in.startTime.isValid();
        icalproperty_set_dtstart(
            m_start, allDay ? dateValue(in.startDate) : localValue(in.startDate, in.startTime));
        attach(m_start);
        if (in.endDate.isValid()) {
            icalproperty_set_dtend(
                m_end, allDay ? dateValue(in.endDate) : localValue(in.endDate, in.endTime));
            attach(m_end);
        }
        text(m_summary, icalproperty_set_summary, in.summary);
        if (in.madeUpSummary)
            attach(m_mark);
        text(m_description, icalproperty_set_description, in.description);
        char* written = icalcomponent_as_ical_string_r(m_event);
        bytes += written;
        icalmemory_free_buffer(written);
    }

private:
    void attach(icalproperty* property)
    {
        icalcomponent_add_property(m_event, property);
        m_attached[m_count++] = property;
    }
    void detach()
    {
        for (int i = 0; i < m_count; ++i)
            icalcomponent_remove_property(m_event, m_attached[i]);
        m_count = 0;
    }
    void text(icalproperty* property, void (*set)(icalproperty*, const char*), const QString& value)
    {
        const QString clean = withoutControls(value);
        if (blank(clean))
            return;
        set(property, clean.toUtf8().constData());
        attach(property);
    }

    icalcomponent* m_event;
    icalproperty* m_uid;
    icalproperty* m_stamp;
    icalproperty* m_start;
    icalproperty* m_end;
    icalproperty* m_summary;
    icalproperty* m_mark;
    icalproperty* m_description;
    icalproperty* m_attached[7] = {};
    int m_count = 0;
};

} // namespace

QByteArray writeCalendar(const OutCalendar& calendar)
{
    icalcomponent* root = icalcomponent_new(ICAL_VCALENDAR_COMPONENT);
    icalcomponent_add_property(root, icalproperty_new_version("2.0"));
    icalcomponent_add_property(root, icalproperty_new_prodid(calendar.productId.toUtf8().constData()));
    icalcomponent_add_property(root, icalproperty_new_calscale("GREGORIAN"));
    char* head = icalcomponent_as_ical_string_r(root);
    QByteArray bytes(head);
    icalmemory_free_buffer(head);
    icalcomponent_free(root);
    // The events go between the calendar's first lines and its end, as libical writes
    // them inside it, without a tree of them all.
    const QByteArray end = "END:VCALENDAR\r\n";
    if (bytes.endsWith(end))
        bytes.chop(end.size());
    bytes.reserve(bytes.size() + static_cast<qsizetype>(calendar.events.size()) * 300 + end.size());
    EventWriter writer(utcValue(calendar.stamp));
    for (const OutEvent& event : calendar.events)
        writer.append(bytes, event);
    return bytes + end;
}

} // namespace ical
