#include "export/export_events.h"

#include "records/event_record.h"

#include <map>
#include <tuple>

namespace export_events {

namespace {
const QString kDateFormat = QStringLiteral("dd.MM.yyyy");

bool inRange(const QDate& date, const QDate& from, const QDate& to)
{
    return (!from.isValid() || date >= from) && (!to.isValid() || date <= to);
}

} // namespace

QDate parseDate(const QString& text)
{
    return QDate::fromString(text, kDateFormat);
}

QString dateText(const QDate& date)
{
    return date.toString(kDateFormat);
}

std::vector<Event> collect(const std::vector<EventRecord>& records, const QDate& from, const QDate& to)
{
    using F = EventRecord::Field;
    std::vector<Event> events;
    QDate day;
    // Texts already seen on the current day, to number identical events.
    std::map<std::tuple<QString, QString, QString, QString>, int> seen;
    for (const EventRecord& record : records) {
        if (record.isDayRow()) {
            day = parseDate(record.text(F::Date));
            seen.clear();
        }
        if (!day.isValid() || record.holdsNoEvent() || !inRange(day, from, to))
            continue;
        Event event { day, 0, record.text(F::Time), record.text(F::Event), record.text(F::Value1),
            record.text(F::Value2) };
        event.repeat = seen[{ event.time, event.text, event.value1, event.value2 }]++;
        events.push_back(std::move(event));
    }
    return events;
}

Columns Columns::from(const Settings& settings)
{
    return { settings.items[2].title, settings.items[3].title, settings.items[4].title,
        settings.items[5].title, settings.columnCount() == 0 ? 4 : settings.columnCount() };
}

QString withoutControls(const QString& text)
{
    QString clean;
    clean.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'\r' || c == u'\n') {
            clean += u'\n';
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
        } else if (c >= 0x20 && (c < 0x7f || c > 0x9f)) {
            clean += QChar(c);
        }
    }
    return clean;
}

} // namespace export_events
