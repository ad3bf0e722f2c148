// Times the search window's scan of the whole largest table (2004 to 2100 plus
// 10,000 event rows) for each kind of criterion, next to a scan that decodes every
// row into a QString, for comparison.
#include "calendar/day_table.h"
#include "largest_table.h"
#include "search/case_rules.h"
#include "search/search_match.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kRuns = 101;

// The median of kRuns runs, in milliseconds; `hits` gets the last run's count.
double medianMs(const std::function<size_t()>& scan, size_t& hits)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        hits = scan();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

size_t decodingScan(const DayTable& table, EventRecord::Field field, const QString& value)
{
    size_t hits = 0;
    for (const EventRecord& record : table.records())
        hits += case_rules::equalsAllLetters(record.text(field), value) ? 1 : 0;
    return hits;
}

} // namespace

int main()
{
    DayTable table;
    largest_table::fill(table);
    std::printf("rows: %d, median of %d scans\n", table.rowCount(), kRuns);

    using Field = EventRecord::Field;
    struct Case {
        const char* what;
        Field field;
        QString value;
    };
    const Case cases[] = {
        { "day name \"čt\"", Field::DayName, QStringLiteral("čt") },
        { "date 29.02.2004", Field::Date, QStringLiteral("29.02.2004") },
        { "event \"koncert\"", Field::Event, QStringLiteral("koncert") },
        { "value 2 \"žižkov\" (no hit)", Field::Value2, QStringLiteral("žižkov") },
    };
    for (const Case& c : cases) {
        size_t hits = 0;
        const double bytes
            = medianMs([&] { return search_match::rowsEqualTo(table, c.field, c.value).size(); }, hits);
        size_t decodedHits = 0;
        const double decoded = medianMs([&] { return decodingScan(table, c.field, c.value); }, decodedHits);
        std::printf("%-30s %6zu hits  stored bytes %7.3f ms  decoding each row %7.3f ms\n", c.what, hits,
            bytes, decoded);
        if (hits != decodedHits)
            return 1;
    }
    return 0;
}
