#include "export/icalendar.h"

#include "platform/parts.h"

#include <QRegularExpression>
#include <QStringList>
#include <QUuid>

namespace icalendar {

namespace {
// The domain that makes the UIDs globally unique.
const QString kUidDomain = QStringLiteral("zorivka.cz");

QTime clockAt(const QString& hours, const QString& minutes)
{
    return QTime(hours.toInt(), minutes.toInt());
}

// The lines of the description: the time text when it is more than a clock
// time, then the values, each under its column's title.
QString descriptionOf(
    const export_events::Event& event, const export_events::Columns& columns, bool clockOnly)
{
    QStringList lines;
    const auto add = [&lines](const QString& title, const QString& value) {
        if (!value.trimmed().isEmpty())
            lines << (title.isEmpty() ? value : title + QStringLiteral(": ") + value);
    };
    if (!clockOnly)
        add(columns.time, event.time);
    add(columns.value1, event.value1);
    add(columns.value2, event.value2);
    return lines.join(u'\n');
}

// Every client needs a summary: the event's text, else its first value, else its
// time; a row with none of them has no event, but a summary is given all the same.
QString summaryOf(const export_events::Event& event, bool& madeUp)
{
    for (const QString* text : { &event.text, &event.value1, &event.value2, &event.time }) {
        if (!export_events::withoutControls(*text).trimmed().isEmpty()) {
            madeUp = text != &event.text;
            return *text;
        }
    }
    madeUp = true;
    return QStringLiteral("(bez názvu)");
}

} // namespace

bool parseClockTime(const QString& text, ClockTime& clock)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*([01]?\\d|2[0-3])[:.,]([0-5]\\d)(?:\\s*[-\u2013]\\s*([01]?\\d|2[0-3])[:.,]([0-5]"
                       "\\d))?(?![\\d.,:]?\\d)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    clock.start = clockAt(match.captured(1), match.captured(2));
    clock.end = match.hasCaptured(3) ? clockAt(match.captured(3), match.captured(4)) : QTime();
    clock.rest = text.mid(match.capturedEnd());
    return true;
}

QString uidOf(const export_events::Event& event)
{
    static const QUuid space = QUuid::createUuidV5(QUuid(), kUidDomain);
    const QString name = QStringList { export_events::dateText(event.date), event.time, event.text,
        event.value1, event.value2, QString::number(event.repeat) }
                             .join(u'\x1f');
    return QUuid::createUuidV5(space, name).toString(QUuid::WithoutBraces) + u'@' + kUidDomain;
}

bool isOwnUid(const QString& uid)
{
    return uid.endsWith(u'@' + kUidDomain);
}

ical::OutEvent eventOf(const export_events::Event& event, const export_events::Columns& columns)
{
    ical::OutEvent out;
    out.uid = uidOf(event);
    out.startDate = event.date;
    ClockTime clock;
    const bool timed = parseClockTime(event.time, clock);
    if (timed) {
        out.startTime = clock.start;
        if (clock.end.isValid()) {
            // An end at or before the start is after midnight.
            out.endDate = clock.end <= clock.start ? event.date.addDays(1) : event.date;
            out.endTime = clock.end;
        }
    } else {
        out.endDate = event.date.addDays(1);
    }
    out.summary = export_events::withoutControls(summaryOf(event, out.madeUpSummary));
    out.description = export_events::withoutControls(
        descriptionOf(event, columns, timed && clock.rest.trimmed().isEmpty()));
    return out;
}

std::optional<QByteArray> write(const std::vector<export_events::Event>& events,
    const export_events::Columns& columns, const QDateTime& stamp, QString* error)
{
    auto* part = parts::load<ICalendarPart>(kPart, error);
    if (!part)
        return std::nullopt;
    ical::OutCalendar calendar { QStringLiteral("-//Zorivka//Zorivka " ZORIVKA_VERSION "//CS"), stamp, {} };
    calendar.events.reserve(events.size());
    for (const export_events::Event& event : events)
        calendar.events.push_back(eventOf(event, columns));
    return part->write(calendar);
}

} // namespace icalendar
