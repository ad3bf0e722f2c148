#include "export/ical_import.h"

#include "export/export_events.h"
#include "export/icalendar.h"
#include "parts/ical_part.h"
#include "platform/cp1250.h"
#include "platform/parts.h"
#include "settings/settings.h"

#include <QFile>
#include <QHash>
#include <QStringList>

#include <algorithm>
#include <climits>

namespace ical_import {

namespace {
using F = EventRecord::Field;

const QString kTimeFormat = QStringLiteral("HH:mm");

// The four texts of an event as the records would hold them.
struct Texts {
    QString time;
    QString event;
    QString value1;
    QString value2;
};

// Blanks around a text do not make another event: iCalendar readers drop those before a value.
QString keyOf(const QDate& day, const Texts& texts)
{
    return QStringList { export_events::dateText(day), texts.time.trimmed(), texts.event.trimmed(),
        texts.value1.trimmed(), texts.value2.trimmed() }
        .join(u'\x1f');
}

// The time text of a timed event: "HH:MM", or "HH:MM-HH:MM" when it ends the same day or
// overnight before its start time, as the export writes a range.
QString timeText(const ical::InEvent& in)
{
    QString text = in.start.time().toString(kTimeFormat);
    if (!in.end.isValid())
        return text;
    const QDate day = in.start.date();
    const QTime start = in.start.time();
    const QTime end = in.end.time();
    const bool sameDay = in.end.date() == day && end > start;
    const bool overnight = in.end.date() == day.addDays(1) && end <= start;
    if (sameDay || overnight)
        text += u'-' + end.toString(kTimeFormat);
    return text;
}

// Spreads one occurrence over the texts and tells what does not fit.
class Converter {
public:
    explicit Converter(const Settings& settings)
        : m_columns(export_events::Columns::from(settings))
    {
    }

    // The texts before fitting; `lost` when a place or a description line finds no column.
    Texts convert(const ical::InEvent& in, bool& lost) const
    {
        Texts texts;
        texts.time = in.allDay ? QString() : timeText(in);
        texts.event = in.madeUpSummary ? QString() : in.summary;
        bool timeLine = false;
        bool value1Line = false;
        bool value2Line = false;
        lost = false;
        for (const QString& line : in.description.split(u'\n')) {
            if (line.trimmed().isEmpty())
                continue;
            if (!timeLine && take(line, m_columns.time, texts.time))
                timeLine = true;
            else if (!value1Line && m_columns.count >= 5 && take(line, m_columns.value1, texts.value1))
                value1Line = true;
            else if (!value2Line && m_columns.count >= 6 && take(line, m_columns.value2, texts.value2))
                value2Line = true;
            else
                lost = true;
        }
        if (!in.location.trimmed().isEmpty()) {
            if (m_columns.count >= 5 && texts.value1.isEmpty())
                texts.value1 = in.location;
            else if (m_columns.count >= 6 && texts.value2.isEmpty())
                texts.value2 = in.location;
            else
                lost = true;
        }
        return texts;
    }

private:
    // A description line "Title: value" under a column's title.
    static bool take(const QString& line, const QString& title, QString& value)
    {
        if (title.trimmed().isEmpty())
            return false;
        const QString prefix = title + QStringLiteral(": ");
        if (!line.startsWith(prefix))
            return false;
        value = line.mid(prefix.size());
        return true;
    }

    export_events::Columns m_columns;
};

// The day rows of the table by date, and where each day's rows end.
class Days {
public:
    explicit Days(const std::vector<EventRecord>& records)
    {
        const int count = static_cast<int>(records.size());
        int last = -1;
        for (int row = 0; row < count; ++row) {
            if (!records[static_cast<size_t>(row)].isDayRow())
                continue;
            const QDate date = export_events::parseDate(records[static_cast<size_t>(row)].text(F::Date));
            if (!date.isValid())
                continue;
            m_rows.insert(date.toJulianDay(), row);
            if (!m_first.isValid() || date < m_first)
                m_first = date;
            if (!m_last.isValid() || date > m_last)
                m_last = date;
            if (last >= 0)
                m_ends.insert(last, row);
            last = row;
        }
        if (last >= 0)
            m_ends.insert(last, count);
    }
    // The day row of `date`, or -1.
    int row(const QDate& date) const { return m_rows.value(date.toJulianDay(), -1); }
    // One past the last row of the day whose day row is `row`.
    int end(int row) const { return m_ends.value(row); }
    const QDate& first() const { return m_first; }
    const QDate& last() const { return m_last; }

private:
    QHash<qint64, int> m_rows;
    QHash<int, int> m_ends;
    QDate m_first;
    QDate m_last;
};

struct Addition {
    int dayRow;
    Texts texts;
};

// The table with the additions: each fills its day row while that holds no event,
// else it follows the day's last row, in the order the file gives them.
std::vector<EventRecord> merge(const std::vector<EventRecord>& records, std::vector<Addition> additions,
    const Days& days, int& firstAdded)
{
    std::stable_sort(additions.begin(), additions.end(),
        [](const Addition& a, const Addition& b) { return a.dayRow < b.dayRow; });
    std::vector<EventRecord> out;
    out.reserve(records.size() + additions.size());
    const auto fill = [](EventRecord& record, const Texts& texts) {
        record.setText(F::Time, texts.time);
        record.setText(F::Event, texts.event);
        record.setText(F::Value1, texts.value1);
        record.setText(F::Value2, texts.value2);
    };
    firstAdded = -1;
    size_t next = 0;
    auto copyUpTo = [&](int row) {
        out.insert(out.end(), records.begin() + static_cast<qsizetype>(next), records.begin() + row);
        next = static_cast<size_t>(row);
    };
    for (size_t i = 0; i < additions.size();) {
        const int dayRow = additions[i].dayRow;
        const int end = days.end(dayRow);
        copyUpTo(end);
        // Where the day row stands now: the rows added before it moved it down.
        const int dayIndex = dayRow + static_cast<int>(out.size()) - end;
        EventRecord& day = out[static_cast<size_t>(dayIndex)];
        if (day.holdsNoEvent()) {
            fill(day, additions[i].texts);
            if (firstAdded < 0)
                firstAdded = dayIndex;
            ++i;
        }
        for (; i < additions.size() && additions[i].dayRow == dayRow; ++i) {
            EventRecord extra = EventRecord::blank();
            fill(extra, additions[i].texts);
            if (firstAdded < 0)
                firstAdded = static_cast<int>(out.size());
            out.push_back(extra);
        }
    }
    copyUpTo(static_cast<int>(records.size()));
    return out;
}

// How many events of each day's texts the table holds already.
QHash<QString, int> existing(const std::vector<EventRecord>& records)
{
    QHash<QString, int> index;
    for (const export_events::Event& event : export_events::collect(records, {}, {}))
        ++index[keyOf(event.date, { event.time, event.text, event.value1, event.value2 })];
    return index;
}

Texts fitted(const Texts& texts, bool& cut, bool& replaced)
{
    cut = replaced = false;
    return { fit(texts.time, EventRecord::capacity(F::Time), cut, replaced),
        fit(texts.event, EventRecord::capacity(F::Event), cut, replaced),
        fit(texts.value1, EventRecord::capacity(F::Value1), cut, replaced),
        fit(texts.value2, EventRecord::capacity(F::Value2), cut, replaced) };
}

bool blank(const Texts& texts)
{
    return texts.time.trimmed().isEmpty() && texts.event.trimmed().isEmpty()
        && texts.value1.trimmed().isEmpty() && texts.value2.trimmed().isEmpty();
}

// The days an occurrence covers: its start day, or each day of an all-day event.
std::pair<QDate, QDate> daysOf(const ical::InEvent& in)
{
    if (!in.allDay)
        return { in.start.date(), in.start.date() };
    const QDate last
        = in.endDate.isValid() && in.endDate > in.startDate ? in.endDate.addDays(-1) : in.startDate;
    return { in.startDate, last };
}

// The character a field can hold in place of `c`: its letter without the accent, or "?".
QChar plainLetter(char32_t c)
{
    const QString decomposed = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_D);
    for (const QChar base : decomposed) {
        if (!base.isMark() && cp1250::byteFor(base) >= 0 && base.unicode() >= 0x20)
            return base;
    }
    return u'?';
}
} // namespace

QString fit(const QString& text, int capacity, bool& cut, bool& replaced)
{
    QString out;
    out.reserve(std::min<qsizetype>(text.size(), capacity));
    const QString clean = export_events::withoutControls(text);
    for (const char32_t c : clean.toUcs4()) {
        if (c == u'\n') {
            out += u' ';
        } else if (c < 0x10000 && cp1250::byteFor(QChar(static_cast<char16_t>(c))) >= 0) {
            out += QChar(static_cast<char16_t>(c));
        } else {
            out += plainLetter(c);
            replaced = true;
        }
    }
    if (out.size() > capacity) {
        out.truncate(capacity);
        cut = true;
    }
    return out;
}

Plan prepare(const QByteArray& bytes, ICalendarPart& part, const std::vector<EventRecord>& records,
    const Settings& settings)
{
    Plan plan;
    if (bytes.trimmed().isEmpty()) {
        plan.outcome = Outcome::EmptyFile;
        return plan;
    }
    const Days days(records);
    ical::InCalendar calendar;
    switch (part.read(bytes, days.first(), days.last(), calendar, plan.error)) {
    case ical::ReadResult::NotICalendar:
        plan.outcome = Outcome::NotICalendar;
        return plan;
    case ical::ReadResult::Empty:
        plan.outcome = Outcome::NoEvents;
        return plan;
    case ical::ReadResult::Ok:
        break;
    }
    Counts& counts = plan.counts;
    counts.sameDay = calendar.sameDay;
    counts.cancelled = calendar.cancelled;
    counts.undated = calendar.undated;
    counts.repeatsCut = calendar.repeatsCut;
    const Converter converter(settings);
    QHash<QString, int> present = existing(records);
    std::vector<Addition> additions;
    for (const ical::InEvent& in : calendar.events) {
        bool lost = false;
        bool cut = false;
        bool replaced = false;
        const Texts texts = fitted(converter.convert(in, lost), cut, replaced);
        if (blank(texts)) {
            ++counts.empty;
            continue;
        }
        const auto [firstDay, lastDay] = daysOf(in);
        // Days outside the calendar are counted without walking them: a repeat may span centuries.
        const QDate from = days.first().isValid() ? std::max(firstDay, days.first()) : lastDay.addDays(1);
        const QDate to = days.last().isValid() ? std::min(lastDay, days.last()) : firstDay.addDays(-1);
        const qint64 inside = from <= to ? from.daysTo(to) + 1 : 0;
        counts.outside += static_cast<int>(std::min<qint64>(firstDay.daysTo(lastDay) + 1 - inside, INT_MAX));
        for (QDate day = from; day <= to; day = day.addDays(1)) {
            const int row = days.row(day);
            if (row < 0) {
                ++counts.outside;
                continue;
            }
            int& there = present[keyOf(day, texts)];
            if (there > 0) {
                --there;
                ++counts.present;
                continue;
            }
            additions.push_back({ row, texts });
            ++counts.added;
            counts.cut += cut;
            counts.replaced += replaced;
            counts.lostText += lost;
        }
    }
    if (!additions.empty())
        plan.records = merge(records, std::move(additions), days, plan.firstAdded);
    return plan;
}

Plan prepare(const QString& path, const std::vector<EventRecord>& records, const Settings& settings)
{
    Plan plan;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        plan.outcome = Outcome::Unreadable;
        plan.error = file.errorString();
        return plan;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        plan.outcome = Outcome::Unreadable;
        plan.error = file.errorString();
        return plan;
    }
    auto* part = parts::load<ICalendarPart>(icalendar::kPart, &plan.error);
    if (!part) {
        plan.outcome = Outcome::NoPart;
        return plan;
    }
    return prepare(bytes, *part, records, settings);
}

QString describe(const Counts& counts)
{
    QStringList lines { QStringLiteral("Přidá se: %1").arg(counts.added),
        QStringLiteral("Už v kalendáři jsou: %1").arg(counts.present),
        QStringLiteral("Mimo roky kalendáře: %1").arg(counts.outside),
        QStringLiteral("Zkrátí se, protože jsou delší než sloupec: %1").arg(counts.cut),
        QStringLiteral("S písmeny nahrazenými bez diakritiky nebo „?“: %1").arg(counts.replaced),
        QStringLiteral("Přijdou o místo nebo popis, pro které není sloupec: %1").arg(counts.lostText) };
    if (counts.empty > 0)
        lines << QStringLiteral("Bez času a bez textu, vynechají se: %1").arg(counts.empty);
    if (counts.sameDay > 0)
        lines
            << QStringLiteral("Další opakování téže akce v jednom dni, vynechají se: %1").arg(counts.sameDay);
    if (counts.cancelled > 0)
        lines << QStringLiteral("Zrušené, vynechají se: %1").arg(counts.cancelled);
    if (counts.undated > 0)
        lines << QStringLiteral("Bez platného data začátku, vynechají se: %1").arg(counts.undated);
    if (counts.repeatsCut)
        lines << QStringLiteral("Akce opakované častěji než jednou denně se nepodařilo projít až do konce "
                                "kalendáře: jejich pozdější výskyty se vynechají.");
    return lines.join(u'\n');
}

QString failure(const Plan& plan, const QString& path)
{
    switch (plan.outcome) {
    case Outcome::Unreadable:
        return QStringLiteral("Soubor %1 nelze přečíst: %2").arg(path, plan.error);
    case Outcome::EmptyFile:
        return QStringLiteral("Soubor %1 je prázdný.").arg(path);
    case Outcome::NotICalendar:
        return QStringLiteral("Soubor %1 není kalendář ve formátu iCalendar.").arg(path);
    case Outcome::NoEvents:
        return QStringLiteral("V souboru %1 nejsou žádné akce.").arg(path);
    case Outcome::NoPart:
        return QStringLiteral("Import není k dispozici. %1").arg(plan.error);
    case Outcome::Ready:
        break;
    }
    return {};
}

} // namespace ical_import
