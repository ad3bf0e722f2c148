#include "export/icalendar.h"

#include <QRegularExpression>
#include <QStringList>
#include <QUuid>

namespace icalendar {

namespace {
// The domain that makes the UIDs globally unique.
const QString kUidDomain = QStringLiteral("zorivka.cz");
constexpr int kFoldOctets = 75;

QTime clockAt(const QString& hours, const QString& minutes)
{
    return QTime(hours.toInt(), minutes.toInt());
}

QString dateValue(const QDate& date)
{
    return date.toString(QStringLiteral("yyyyMMdd"));
}

QString localValue(const QDate& date, const QTime& time)
{
    return dateValue(date) + time.toString(QStringLiteral("'T'HHmmss"));
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

class Writer {
public:
    void line(const QString& text) { m_out += foldLine(text.toUtf8()); }
    // A value of blanks alone is left out: parsers read it as no value at all.
    void property(const QString& name, const QString& text)
    {
        const QString clean = export_events::withoutControls(text);
        if (!clean.trimmed().isEmpty())
            line(name + u':' + escapeText(clean));
    }
    QByteArray result() const { return m_out; }

private:
    QByteArray m_out;
};

void writeEvent(Writer& out, const export_events::Event& event, const export_events::Columns& columns,
    const QString& stamp)
{
    ClockTime clock;
    const bool timed = parseClockTime(event.time, clock);
    out.line(QStringLiteral("BEGIN:VEVENT"));
    out.line(QStringLiteral("UID:") + uidOf(event));
    out.line(QStringLiteral("DTSTAMP:") + stamp);
    if (timed) {
        out.line(QStringLiteral("DTSTART:") + localValue(event.date, clock.start));
        if (clock.end.isValid()) {
            // An end at or before the start is after midnight.
            const QDate endDate = clock.end <= clock.start ? event.date.addDays(1) : event.date;
            out.line(QStringLiteral("DTEND:") + localValue(endDate, clock.end));
        }
    } else {
        out.line(QStringLiteral("DTSTART;VALUE=DATE:") + dateValue(event.date));
        out.line(QStringLiteral("DTEND;VALUE=DATE:") + dateValue(event.date.addDays(1)));
    }
    bool madeUp = false;
    out.property(QStringLiteral("SUMMARY"), summaryOf(event, madeUp));
    // So that an import can tell a summary the user never wrote.
    if (madeUp)
        out.line(QStringLiteral("X-ZORIVKA-SUMMARY:FALLBACK"));
    out.property(QStringLiteral("DESCRIPTION"),
        descriptionOf(event, columns, timed && clock.rest.trimmed().isEmpty()));
    out.line(QStringLiteral("END:VEVENT"));
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

QString escapeText(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size() + 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\':
        case u';':
        case u',':
            escaped += u'\\';
            escaped += c;
            break;
        case u'\n':
            escaped += QStringLiteral("\\n");
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

QByteArray foldLine(const QByteArray& line)
{
    QByteArray folded;
    folded.reserve(line.size() + line.size() / kFoldOctets * 3 + 2);
    qsizetype start = 0;
    int room = kFoldOctets;
    while (line.size() - start > room) {
        qsizetype cut = start + room;
        // Never cut before a continuation byte of a UTF-8 character.
        while (cut > start && (static_cast<unsigned char>(line.at(cut)) & 0xC0) == 0x80)
            --cut;
        folded += line.mid(start, cut - start);
        folded += "\r\n ";
        start = cut;
        room = kFoldOctets - 1; // the leading blank counts
    }
    folded += line.mid(start);
    folded += "\r\n";
    return folded;
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

QByteArray write(const std::vector<export_events::Event>& events, const export_events::Columns& columns,
    const QDateTime& stamp)
{
    Writer out;
    const QString stampText = stamp.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    out.line(QStringLiteral("BEGIN:VCALENDAR"));
    out.line(QStringLiteral("VERSION:2.0"));
    out.line(QStringLiteral("PRODID:-//Zorivka//Zorivka " ZORIVKA_VERSION "//CS"));
    out.line(QStringLiteral("CALSCALE:GREGORIAN"));
    for (const export_events::Event& event : events)
        writeEvent(out, event, columns, stampText);
    out.line(QStringLiteral("END:VCALENDAR"));
    return out.result();
}

} // namespace icalendar
