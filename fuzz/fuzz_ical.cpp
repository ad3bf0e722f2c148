// An .ics file as users download, export and damage it: any bytes. Reading never
// crashes and keeps its promises (one occurrence a day per event, all-day events at
// least a day long), and what it read is written and read back as the same events.
// The part's sources are built in: the part itself is a plugin.
#include "fuzz_support.h"

#include "parts/ical/ical_reader.h"
#include "parts/ical/ical_writer.h"

#include <QSet>

#include <algorithm>

using namespace fuzz_support;

namespace {

const QDate kFrom(2024, 1, 1);
const QDate kTo(2024, 12, 31);

ical::OutEvent outOf(const ical::InEvent& in)
{
    ical::OutEvent out { in.uid, in.allDay ? in.startDate : in.start.date(), {}, {}, {}, in.summary,
        in.madeUpSummary, in.description };
    if (in.allDay) {
        out.endDate = in.endDate;
    } else {
        out.startTime = in.start.time();
        out.endDate = in.end.date();
        out.endTime = in.end.time();
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ical::InCalendar in;
    QString error;
    const ical::ReadResult result = ical::readCalendar(bytesOf(data, size), kFrom, kTo, in, error);
    if (result == ical::ReadResult::NotICalendar && error.isEmpty())
        fail("not a calendar, and no reason given");
    if (result != ical::ReadResult::Ok && !in.events.empty())
        fail("events from a file without any");
    if (in.cancelled < 0 || in.otherComponents < 0 || in.sameDay < 0)
        fail("a negative count");
    QSet<QString> days;
    ical::OutCalendar out { QStringLiteral("-//fuzz//EN"), QDateTime(kFrom, QTime(12, 0), Qt::UTC), {} };
    for (const ical::InEvent& event : in.events) {
        if (event.allDay ? !event.startDate.isValid() || event.endDate <= event.startDate
                         : !event.start.isValid())
            fail("an occurrence without a start, or an all-day one shorter than a day");
        const QDate day = event.allDay ? event.startDate : event.start.date();
        const QString key = event.uid + u'|' + day.toString(Qt::ISODate);
        if (!event.uid.isEmpty() && days.contains(key))
            fail("two occurrences of one event on one day");
        days.insert(key);
        // libical writes no year after 3000 (the day table ends in 2100); control characters
        // are left out of what is written, which could make two UIDs one.
        const bool plainUid = std::none_of(event.uid.begin(), event.uid.end(),
            [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
        if (day.year() <= 3000 && plainUid)
            out.events.push_back(outOf(event));
    }
    const QByteArray written = ical::writeCalendar(out);
    ical::InCalendar again;
    const ical::ReadResult reread = ical::readCalendar(written, kFrom, kTo, again, error);
    if (!out.events.empty() && (reread != ical::ReadResult::Ok || again.events.size() != out.events.size()))
        fail("what was read does not read back");
    return 0;
}
