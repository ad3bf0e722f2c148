#include "parts/ical/ical_reader.h"

#include <QHash>
#include <QSet>

#include <libical/ical.h>

#include <map>
#include <vector>

namespace ical {

namespace {

constexpr qint64 kDay = 24 * 3600;

// The zone of a time property: the file's VTIMEZONE of its TZID, else libical's own
// zone of that name ("Europe/Prague"); nullptr for UTC, floating times and dates.
icaltimezone* zoneOf(icalproperty* property, icalcomponent* calendar)
{
    icalparameter* parameter = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
    const char* tzid = parameter ? icalparameter_get_tzid(parameter) : nullptr;
    if (!tzid || !*tzid)
        return nullptr;
    if (icaltimezone* zone = icalcomponent_get_timezone(calendar, tzid))
        return zone;
    if (icaltimezone* zone = icaltimezone_get_builtin_timezone_from_tzid(tzid))
        return zone;
    return icaltimezone_get_builtin_timezone(tzid);
}

// A DATE or DATE-TIME property's value with its zone attached; a null time without one.
icaltimetype timeOf(icalcomponent* component, icalproperty_kind kind, icalcomponent* calendar)
{
    icalproperty* property = icalcomponent_get_first_property(component, kind);
    if (!property)
        return icaltime_null_time();
    icalvalue* value = icalproperty_get_value(property);
    if (!value)
        return icaltime_null_time();
    const icalvalue_kind valueKind = icalvalue_isa(value);
    if (valueKind != ICAL_DATETIME_VALUE && valueKind != ICAL_DATE_VALUE)
        return icaltime_null_time();
    icaltimetype time = icalvalue_get_datetime(value);
    if (!time.is_date && !icaltime_is_utc(time))
        time.zone = zoneOf(property, calendar);
    return time;
}

// Seconds since the epoch; floating times and dates counted as if in UTC, which keeps
// differences and comparisons between times of one kind right.
qint64 secondsOf(const icaltimetype& time)
{
    return icaltime_as_timet_with_zone(time, time.zone ? time.zone : icaltimezone_get_utc_timezone());
}

// The moment `seconds` as a time of `zone`; floating (read as UTC) without a zone.
icaltimetype timeAt(qint64 seconds, const icaltimezone* zone, bool isDate = false)
{
    icaltimetype time = icaltime_from_timet_with_zone(static_cast<time_t>(seconds), isDate, zone);
    // libical leaves its own UTC zone in the result.
    time.zone = isDate ? nullptr : zone;
    return time;
}

QDate dateOf(const icaltimetype& time)
{
    return QDate(time.year, time.month, time.day);
}

// A day of years 1 to 9999 (as the format writes them) and a time of day that exists.
bool isValid(const icaltimetype& time)
{
    return !icaltime_is_null_time(time) && time.year >= 1 && dateOf(time).isValid()
        && (time.is_date || QTime::isValid(time.hour, time.minute, time.second));
}

// A time as a local time of this computer; a floating one as it stands.
QDateTime localOf(const icaltimetype& time)
{
    if (!time.zone)
        return QDateTime(dateOf(time), QTime(time.hour, time.minute, time.second));
    return QDateTime::fromSecsSinceEpoch(secondsOf(time)).toLocalTime();
}

QString textOf(const char* text)
{
    return QString::fromUtf8(text);
}

bool madeUpSummary(icalcomponent* event)
{
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_X_PROPERTY)) {
        const char* name = icalproperty_get_x_name(p);
        const char* value = icalproperty_get_x(p);
        if (name && value && qstricmp(name, "X-ZORIVKA-SUMMARY") == 0 && qstricmp(value, "FALLBACK") == 0)
            return true;
    }
    return false;
}

// What every occurrence of a component shares: its texts and its length.
struct Shape {
    InEvent texts;
    bool allDay = false;
    int days = 1; // all-day
    bool hasEnd = false; // timed
    qint64 seconds = 0; // timed, with an end
};

Shape shapeOf(icalcomponent* event, const icaltimetype& start, icalcomponent* calendar)
{
    Shape shape;
    shape.texts.uid = textOf(icalcomponent_get_uid(event));
    shape.texts.summary = textOf(icalcomponent_get_summary(event));
    shape.texts.location = textOf(icalcomponent_get_location(event));
    shape.texts.description = textOf(icalcomponent_get_description(event));
    shape.texts.madeUpSummary = madeUpSummary(event);
    shape.allDay = start.is_date;
    qint64 seconds = -1;
    const icaltimetype end = timeOf(event, ICAL_DTEND_PROPERTY, calendar);
    if (!icaltime_is_null_time(end)) {
        seconds = secondsOf(end) - secondsOf(start);
    } else if (icalproperty* duration = icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY)) {
        seconds = icaldurationtype_as_int(icalproperty_get_duration(duration));
    }
    if (shape.allDay)
        shape.days
            = seconds > 0 ? static_cast<int>(std::min<qint64>((seconds + kDay - 1) / kDay, 366 * 400)) : 1;
    shape.hasEnd = !shape.allDay && seconds >= 0;
    shape.seconds = std::max<qint64>(seconds, 0);
    return shape;
}

// One occurrence at `start` (a date, a floating or a zoned time).
InEvent occurrence(const Shape& shape, const icaltimetype& start)
{
    InEvent event = shape.texts;
    event.allDay = shape.allDay;
    if (shape.allDay) {
        event.startDate = dateOf(start);
        event.endDate = event.startDate.addDays(shape.days);
    } else {
        event.start = localOf(start);
        if (shape.hasEnd) {
            // A floating end is a wall-clock time too: add to the fields, not to the moment.
            icaltimetype end = start;
            if (start.zone)
                end = timeAt(secondsOf(start) + shape.seconds, start.zone);
            else
                icaltime_adjust(&end, 0, 0, 0, static_cast<int>(std::min<qint64>(shape.seconds, INT_MAX)));
            event.end = localOf(end);
        }
    }
    return event;
}

QDate dayOf(const InEvent& event)
{
    return event.allDay ? event.startDate : event.start.date();
}

bool isRepeat(icalcomponent* event)
{
    for (icalproperty_kind kind : { ICAL_RRULE_PROPERTY, ICAL_RDATE_PROPERTY, ICAL_EXDATE_PROPERTY }) {
        if (icalcomponent_get_first_property(event, kind))
            return true;
    }
    return false;
}

icaltimetype midnight(const QDate& date)
{
    icaltimetype time = icaltime_null_time();
    time.year = date.year();
    time.month = date.month();
    time.day = date.day();
    return time;
}

struct Candidates {
    qint64 step = kDay; // seconds between the times libical tries, at least
    bool restartable = false; // a later start on the same steps gives the same times
};

Candidates candidatesOf(icalcomponent* event)
{
    Candidates candidates;
    int rules = 0;
    bool counted = false;
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) {
        const icalrecurrencetype rule = icalproperty_get_rrule(p);
        static const qint64 units[] = { 1, 60, 3600, kDay, 7 * kDay, 28 * kDay, 365 * kDay, 365 * kDay };
        const qint64 step = units[std::clamp<int>(rule.freq, 0, 7)] * std::max<short>(rule.interval, 1);
        qint64 finest = step;
        if (rule.by_hour[0] != ICAL_RECURRENCE_ARRAY_MAX)
            finest = std::min<qint64>(finest, 3600);
        if (rule.by_minute[0] != ICAL_RECURRENCE_ARRAY_MAX)
            finest = std::min<qint64>(finest, 60);
        if (rule.by_second[0] != ICAL_RECURRENCE_ARRAY_MAX)
            finest = std::min<qint64>(finest, 1);
        candidates.step = std::min(candidates.step, finest);
        candidates.restartable = finest == step;
        counted = counted || rule.count > 0;
        ++rules;
    }
    candidates.restartable = candidates.restartable && rules == 1 && !counted;
    return candidates;
}

class Reader {
public:
    Reader(const QDate& from, const QDate& to, InCalendar& out)
        : m_from(from)
        , m_to(to)
        , m_out(out)
    {
    }

    // Components that replace an occurrence, by UID and the occurrence's start: wherever
    // they stand in the file, the master's occurrence gives way to them.
    void collectOverrides(icalcomponent* calendar)
    {
        for (icalcomponent* e = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); e;
             e = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
            const icaltimetype id = timeOf(e, ICAL_RECURRENCEID_PROPERTY, calendar);
            if (!icaltime_is_null_time(id))
                m_overrides[textOf(icalcomponent_get_uid(e))].insert(secondsOf(id));
        }
    }

    void readEvents(icalcomponent* calendar)
    {
        for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT); c;
             c = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT)) {
            switch (icalcomponent_isa(c)) {
            case ICAL_VEVENT_COMPONENT:
                ++m_events;
                readEvent(c, calendar);
                break;
            case ICAL_VTODO_COMPONENT:
            case ICAL_VJOURNAL_COMPONENT:
                ++m_out.otherComponents;
                break;
            default:
                break;
            }
        }
    }

    int events() const { return m_events; }

private:
    void readEvent(icalcomponent* event, icalcomponent* calendar)
    {
        if (icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED) {
            ++m_out.cancelled;
            return;
        }
        const icaltimetype start = timeOf(event, ICAL_DTSTART_PROPERTY, calendar);
        if (!isValid(start)) {
            ++m_out.undated;
            return;
        }
        const Shape shape = shapeOf(event, start, calendar);
        // Events without a UID never share one.
        const QString key
            = shape.texts.uid.isEmpty() ? QStringLiteral("\x1f%1").arg(m_events) : shape.texts.uid;
        const bool isOverride = !icaltime_is_null_time(timeOf(event, ICAL_RECURRENCEID_PROPERTY, calendar));
        if (isOverride || !isRepeat(event)) {
            if (isOverride || !replaced(shape.texts.uid, start))
                add(key, occurrence(shape, start));
            return;
        }
        expand(event, shape, key);
    }

    bool replaced(const QString& uid, const icaltimetype& start) const
    {
        const auto found = m_overrides.constFind(uid);
        return found != m_overrides.cend() && found->contains(secondsOf(start));
    }

    // The repeats over [from, to], earliest first, at most one a day; libical compares
    // floating times as UTC, so the window is a day wider on each side.
    void expand(icalcomponent* event, const Shape& shape, const QString& key)
    {
        if (!m_from.isValid() || !m_to.isValid() || m_from > m_to)
            return;
        const icaltimetype first = midnight(m_from.addDays(-1));
        icaltimetype last = midnight(m_to.addDays(2));
        limitCandidates(event, first, last);
        const auto overrides = m_overrides.constFind(shape.texts.uid);
        Expansion expansion { this, shape, icalcomponent_get_dtstart(event),
            overrides == m_overrides.cend() ? nullptr : &*overrides, {}, 0 };
        icalcomponent_foreach_recurrence(event, first, last, &Reader::onOccurrence, &expansion);
        m_out.sameDay += expansion.sameDay;
        for (const auto& [day, time] : expansion.days)
            add(key, occurrence(shape, time));
    }

    // libical tries a rule's candidate times one by one, however few it keeps: a rule of
    // every second since 1970 would take hours. A rule finer than a day without COUNT
    // starts again at its last step before the window (the same times), and such rules
    // share a budget of candidates per file; their occurrences beyond it are left out.
    void limitCandidates(icalcomponent* event, const icaltimetype& first, icaltimetype& last)
    {
        const Candidates candidates = candidatesOf(event);
        if (candidates.step >= kDay)
            return;
        icalproperty* property = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
        icaltimetype start = icalproperty_get_dtstart(property);
        const qint64 steps = (secondsOf(first) - secondsOf(start)) / candidates.step;
        if (candidates.restartable && steps > 0 && !start.is_date) {
            const qint64 skipped = steps * candidates.step;
            icaltime_adjust(&start, static_cast<int>(skipped / kDay), 0, 0, static_cast<int>(skipped % kDay));
            icalproperty_set_dtstart(property, start);
        }
        const qint64 wanted = std::max<qint64>((secondsOf(last) - secondsOf(start)) / candidates.step, 0);
        const qint64 allowed = std::min(wanted, m_candidatesLeft);
        m_candidatesLeft -= allowed;
        if (allowed < wanted) {
            m_out.repeatsCut = true;
            last = timeAt(secondsOf(start) + allowed * candidates.step, nullptr);
        }
    }

    struct Expansion {
        Reader* reader;
        const Shape& shape;
        icaltimetype libraryStart; // with the zone libical found
        const QSet<qint64>* replaced; // the starts of the occurrences other components replace
        std::map<qint64, icaltimetype> days; // the earliest occurrence of each day
        int sameDay;
    };

    static void onOccurrence(icalcomponent*, icaltime_span* span, void* data)
    {
        auto& expansion = *static_cast<Expansion*>(data);
        expansion.reader->take(expansion, span->start);
    }

    void take(Expansion& expansion, time_t seconds)
    {
        // libical gives a zoned occurrence as a moment, any other as its fields read as UTC.
        const bool allDay = expansion.shape.allDay;
        const icaltimetype time = timeAt(seconds, allDay ? nullptr : expansion.libraryStart.zone, allDay);
        if (expansion.replaced && expansion.replaced->contains(secondsOf(time)))
            return;
        const QDate day = time.is_date || !time.zone ? dateOf(time) : localOf(time).date();
        if (day < m_from || day > m_to)
            return;
        const auto [at, added] = expansion.days.try_emplace(day.toJulianDay(), time);
        if (added)
            return;
        const qint64 kept = secondsOf(at->second);
        if (kept != secondsOf(time)) {
            ++expansion.sameDay;
            if (secondsOf(time) < kept)
                at->second = time;
        }
    }

    void add(const QString& key, InEvent&& event)
    {
        if (!dayOf(event).isValid()) {
            ++m_out.undated;
            return;
        }
        if (!m_days[key].contains(dayOf(event).toJulianDay())) {
            m_days[key].insert(dayOf(event).toJulianDay());
            m_out.events.push_back(std::move(event));
        } else {
            ++m_out.sameDay;
        }
    }

    QDate m_from;
    QDate m_to;
    InCalendar& m_out;
    QHash<QString, QSet<qint64>> m_overrides;
    QHash<QString, QSet<qint64>> m_days; // the days each UID has an occurrence on
    int m_events = 0;
    qint64 m_candidatesLeft = 2'000'000; // a few seconds of libical's work
};

// The file's calendars: one, or several side by side.
std::vector<icalcomponent*> calendarsIn(icalcomponent* root)
{
    if (icalcomponent_isa(root) == ICAL_VCALENDAR_COMPONENT)
        return { root };
    std::vector<icalcomponent*> calendars;
    for (icalcomponent* c = icalcomponent_get_first_component(root, ICAL_VCALENDAR_COMPONENT); c;
         c = icalcomponent_get_next_component(root, ICAL_VCALENDAR_COMPONENT))
        calendars.push_back(c);
    return calendars;
}

} // namespace

ReadResult readCalendar(
    const QByteArray& bytes, const QDate& from, const QDate& to, InCalendar& out, QString& error)
{
    out = {};
    QByteArray text = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    if (!text.contains("BEGIN:VCALENDAR") && !text.toUpper().contains("BEGIN:VCALENDAR")) {
        error = QStringLiteral("no BEGIN:VCALENDAR line");
        return ReadResult::NotICalendar;
    }
    icalcomponent* root = icalparser_parse_string(text.constData());
    const std::vector<icalcomponent*> calendars = root ? calendarsIn(root) : std::vector<icalcomponent*>();
    if (calendars.empty()) {
        if (root)
            icalcomponent_free(root);
        error = QStringLiteral("no VCALENDAR that libical could parse");
        return ReadResult::NotICalendar;
    }
    Reader reader(from, to, out);
    for (icalcomponent* calendar : calendars)
        reader.collectOverrides(calendar);
    for (icalcomponent* calendar : calendars)
        reader.readEvents(calendar);
    icalcomponent_free(root);
    return reader.events() == 0 ? ReadResult::Empty : ReadResult::Ok;
}

} // namespace ical
