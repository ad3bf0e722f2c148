// Times writing the largest table (2004 to 2100 plus 10,000 event rows, six columns)
// as PDF pages: one year (about 470 rows), the median of several runs against its
// floor of one second of CPU, and the whole table once. Run by hand, offscreen.
#include "calendar/day_table.h"
#include "export/print_pages.h"
#include "largest_table.h"
#include "settings/settings.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

constexpr int kRuns = 11;
constexpr double kYearFloorSeconds = 1.0;

double cpuSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// CPU seconds of one PDF of from ... to; negative when it was not written.
double timedPdf(const print_pages::Source& source, const QDate& from, const QDate& to, const QString& path)
{
    const double start = cpuSeconds();
    const bool written = print_pages::writePdf(source, from, to, false, path) == print_pages::Result::Written;
    return written ? cpuSeconds() - start : -1;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    DayTable table;
    largest_table::fill(table);
    Settings settings;
    settings.pocets = QStringLiteral("6");
    const print_pages::Source source = print_pages::Source::fromSettings(table.records(), settings);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pages.pdf"));

    const QDate from(2050, 1, 1);
    const QDate to(2050, 12, 31);
    const print_pages::Rows rows = print_pages::rowsOf(table.records(), from, to);
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i)
        times.push_back(timedPdf(source, from, to, path));
    std::sort(times.begin(), times.end());
    const double year = times[times.size() / 2];
    std::printf("year 2050: %d rows, %lld bytes, median CPU %.3f s of %d runs (floor %.1f s)\n",
        rows.last - rows.first + 1, static_cast<long long>(QFileInfo(path).size()), year, kRuns,
        kYearFloorSeconds);

    const double whole = timedPdf(source, {}, {}, path);
    std::printf("whole table: %d rows, %lld bytes, CPU %.3f s\n", table.rowCount(),
        static_cast<long long>(QFileInfo(path).size()), whole);
    return year >= 0 && whole >= 0 && year < kYearFloorSeconds ? 0 : 1;
}
