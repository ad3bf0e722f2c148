// The core operations on the largest table (2004 to 2100 plus 10,000 event rows),
// each beside the floor it cannot beat, measured in the same run:
//   build/bench_core [--benchmark_repetitions=N ...]   (or bench/core.sh)
// After Google Benchmark's own lines it prints each operation's ratio to its floor.
#include "app/day_list_model.h"
#include "calendar/day_table.h"
#include "calendar/generation.h"
#include "export/export_file.h"
#include "export/ical_import.h"
#include "export/icalendar.h"
#include "largest_table.h"
#include "parts/ical_part.h"
#include "platform/cp1250.h"
#include "platform/parts.h"
#include "recording_messenger.h"
#include "records/data_file.h"
#include "search/row_lookup.h"
#include "search/search_match.h"
#include "settings/settings.h"
#include "widgets/row_looks.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// The files live on the disk the program's files would: a flush to a memory
// file system would cost nothing.
struct Fixture {
    QTemporaryDir dir { QDir::current().filePath(QStringLiteral("bench-core-XXXXXX")) };
    DayTable table;
    RecordingMessenger messenger;
    QString dataPath;
    QString lastDate;
    int lastDayRow = -1;

    Fixture()
    {
        largest_table::fill(table);
        data_file::SaveData(dir.path(), table, messenger);
        dataPath = QDir(dir.path()).filePath(data_file::kFileName);
        // The date of the last day row (31.12.2100), which no row above it has.
        for (lastDayRow = table.rowCount() - 1; !table.record(lastDayRow).isDayRow(); --lastDayRow) { }
        lastDate = table.record(lastDayRow).text(EventRecord::Field::Date);
    }
};

Fixture* fixture = nullptr;

// ---- loading and saving -----------------------------------------------------

void LoadData(benchmark::State& state)
{
    DayTable table;
    for (auto _ : state)
        data_file::LoadData(fixture->dir.path(), table, fixture->messenger);
    state.SetBytesProcessed(state.iterations() * QFileInfo(fixture->dataPath).size());
}
BENCHMARK(LoadData)->Unit(benchmark::kMillisecond);

void LoadData_floor_one_read(benchmark::State& state)
{
    const QByteArray path = QFile::encodeName(fixture->dataPath);
    for (auto _ : state) {
        const int fd = ::open(path.constData(), O_RDONLY);
        struct stat info { };
        ::fstat(fd, &info);
        std::unique_ptr<char[]> bytes(new char[static_cast<size_t>(info.st_size)]);
        benchmark::DoNotOptimize(::read(fd, bytes.get(), static_cast<size_t>(info.st_size)));
        ::close(fd);
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(fixture->dataPath).size());
}
BENCHMARK(LoadData_floor_one_read)->Unit(benchmark::kMillisecond);

void SaveData(benchmark::State& state)
{
    for (auto _ : state)
        data_file::SaveData(fixture->dir.path(), fixture->table, fixture->messenger);
}
BENCHMARK(SaveData)->Unit(benchmark::kMillisecond);

void SaveData_floor_write_fdatasync_rename(benchmark::State& state)
{
    const QByteArray temporary = QFile::encodeName(fixture->dataPath + QStringLiteral(".new"));
    const QByteArray path = QFile::encodeName(fixture->dataPath);
    const auto& records = fixture->table.records();
    const size_t size = records.size() * sizeof(EventRecord);
    for (auto _ : state) {
        const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        benchmark::DoNotOptimize(::write(fd, records.data(), size));
        ::fdatasync(fd);
        ::close(fd);
        ::rename(temporary.constData(), path.constData());
    }
}
BENCHMARK(SaveData_floor_write_fdatasync_rename)->Unit(benchmark::kMillisecond);

// ---- generating and rebuilding ------------------------------------------------

void GenerateDayRows_2004_2100(benchmark::State& state)
{
    int64_t rows = 0;
    for (auto _ : state) {
        for (int year = generation::kFirstYear; year <= generation::kLastYear; ++year)
            rows += static_cast<int64_t>(generation::yearRows(year, 1).size());
    }
    state.SetItemsProcessed(rows);
}
BENCHMARK(GenerateDayRows_2004_2100)->Unit(benchmark::kMillisecond);

void RebuildWithFormat(benchmark::State& state)
{
    DayTable table;
    table.replaceRecords(fixture->table.records());
    int format = 0;
    for (auto _ : state) {
        // Every pass renames every row: formats 0 to 3 in turn.
        generation::rebuildWithFormat(table, QString::number(format), fixture->messenger);
        format = (format + 1) % 4;
    }
    state.SetItemsProcessed(state.iterations() * table.rowCount());
}
BENCHMARK(RebuildWithFormat)->Unit(benchmark::kMillisecond);

void RebuildWithFormat_floor_generating_as_many_rows(benchmark::State& state)
{
    const size_t wanted = fixture->table.records().size();
    for (auto _ : state) {
        std::vector<EventRecord> rows;
        rows.reserve(wanted);
        for (int year = generation::kFirstYear; rows.size() < wanted;
             year = year == generation::kLastYear ? generation::kFirstYear : year + 1) {
            const std::vector<EventRecord> more = generation::yearRows(year, 1);
            rows.insert(rows.end(), more.begin(), more.begin() + std::min(more.size(), wanted - rows.size()));
        }
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(wanted));
}
BENCHMARK(RebuildWithFormat_floor_generating_as_many_rows)->Unit(benchmark::kMillisecond);

// ---- the lookup of the new-record dialog ----------------------------------------
// prohledatClick's search is row_lookup::dayRowWithDate: the day row of a date.

void lookup(benchmark::State& state, const QString& key, int expected)
{
    int row = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(row = row_lookup::dayRowWithDate(fixture->table, key));
    if (row != expected)
        state.SkipWithError("the lookup found another row");
}

void memmemFloor(benchmark::State& state, const QString& key)
{
    const QByteArray needle = cp1250::encode(key);
    using Field = EventRecord::Field;
    for (auto _ : state) {
        int found = -1;
        const auto& records = fixture->table.records();
        for (size_t row = 0; row < records.size() && found < 0; ++row) {
            const QByteArrayView text = records[row].view(Field::Date);
            if (::memmem(text.data(), static_cast<size_t>(text.size()), needle.constData(),
                    static_cast<size_t>(needle.size())))
                found = static_cast<int>(row);
        }
        benchmark::DoNotOptimize(found);
    }
}

const QString kNowhere = QStringLiteral("31.12.2101");

void prohledatClick_last_row(benchmark::State& state)
{
    lookup(state, fixture->lastDate, fixture->lastDayRow);
}
BENCHMARK(prohledatClick_last_row)->Unit(benchmark::kMillisecond);

void prohledatClick_last_row_floor_memmem(benchmark::State& state)
{
    memmemFloor(state, fixture->lastDate);
}
BENCHMARK(prohledatClick_last_row_floor_memmem)->Unit(benchmark::kMillisecond);

void prohledatClick_nowhere(benchmark::State& state)
{
    lookup(state, kNowhere, -1);
}
BENCHMARK(prohledatClick_nowhere)->Unit(benchmark::kMillisecond);

void prohledatClick_nowhere_floor_memmem(benchmark::State& state)
{
    memmemFloor(state, kNowhere);
}
BENCHMARK(prohledatClick_nowhere_floor_memmem)->Unit(benchmark::kMillisecond);

// ---- the search window's scan ------------------------------------------------------
// Every row's event text compared as a whole with "koncert", all letters without
// regard to case; the floor compares the stored bytes exactly.

void SearchWindow_scan_event(benchmark::State& state)
{
    size_t hits = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(hits
            = search_match::rowsEqualTo(fixture->table, EventRecord::Field::Event, QStringLiteral("koncert"))
                  .size());
    if (hits == 0)
        state.SkipWithError("the scan found no row");
}
BENCHMARK(SearchWindow_scan_event)->Unit(benchmark::kMillisecond);

void SearchWindow_scan_event_floor_memcmp(benchmark::State& state)
{
    const QByteArray needle = cp1250::encode(QStringLiteral("Koncert"));
    for (auto _ : state) {
        std::vector<int> rows;
        const auto& records = fixture->table.records();
        for (size_t row = 0; row < records.size(); ++row) {
            const QByteArrayView text = records[row].view(EventRecord::Field::Event);
            if (text.size() == needle.size()
                && std::memcmp(text.data(), needle.constData(), static_cast<size_t>(needle.size())) == 0)
                rows.push_back(static_cast<int>(row));
        }
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(SearchWindow_scan_event_floor_memcmp)->Unit(benchmark::kMillisecond);

// ---- drawing one screen -----------------------------------------------------------

void ModelData_one_screen_every_role(benchmark::State& state)
{
    DayListModel model(fixture->table);
    model.setColumns({ QStringLiteral("Den"), QStringLiteral("Datum"), QStringLiteral("Hod."),
        QStringLiteral("Akce"), QStringLiteral("Hodnota 1"), QStringLiteral("Hodnota 2") });
    Settings settings;
    RowLooks looks;
    looks.rebuild(settings, QApplication::font());
    model.setAppearance(looks, holidays::Years(fixture->table.years()), true);
    // A screen in the middle of the table, where day rows and event rows mix.
    const int top = fixture->table.rowCount() / 2;
    for (auto _ : state) {
        for (int row = top; row < top + 40; ++row) {
            for (int column = 0; column < 6; ++column) {
                const QModelIndex index = model.index(row, column);
                for (int role = Qt::DisplayRole; role <= Qt::SizeHintRole; ++role)
                    benchmark::DoNotOptimize(model.data(index, role));
            }
        }
    }
}
BENCHMARK(ModelData_one_screen_every_role)->Unit(benchmark::kMicrosecond);

// ---- exporting -------------------------------------------------------------------
// Every event of the largest table as an iCalendar file; CSV of the same events beside it.

void exportAll(benchmark::State& state, export_file::Format format)
{
    const Settings settings;
    const QDateTime stamp(QDate(2026, 1, 1), QTime(12, 0), Qt::UTC);
    QByteArray bytes;
    for (auto _ : state) {
        if (export_file::render({ format, {}, {}, {} }, fixture->table.records(), settings, stamp, bytes)
            != export_file::Result::Written)
            state.SkipWithError("nothing was exported");
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void Export_icalendar(benchmark::State& state)
{
    exportAll(state, export_file::Format::ICalendar);
}
BENCHMARK(Export_icalendar)->Unit(benchmark::kMillisecond);

void Export_csv(benchmark::State& state)
{
    exportAll(state, export_file::Format::Csv);
}
BENCHMARK(Export_csv)->Unit(benchmark::kMillisecond);

// The iCalendar export of the largest table read back into its day rows without events:
// every event is added, each checked against the day's events first.
void Import_icalendar(benchmark::State& state)
{
    QString error;
    auto* part = parts::load<ICalendarPart>(icalendar::kPart, &error);
    if (!part) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    const Settings settings;
    QByteArray ics;
    export_file::render({ export_file::Format::ICalendar, {}, {}, {} }, fixture->table.records(), settings,
        QDateTime(QDate(2026, 1, 1), QTime(12, 0), Qt::UTC), ics);
    std::vector<EventRecord> days;
    for (const EventRecord& record : fixture->table.records()) {
        if (record.isDayRow())
            days.push_back(EventRecord::dayRow(
                record.text(EventRecord::Field::DayName), record.text(EventRecord::Field::Date)));
    }
    int added = 0;
    for (auto _ : state) {
        const ical_import::Plan plan = ical_import::prepare(ics, *part, days, settings);
        added = plan.counts.added;
        benchmark::DoNotOptimize(plan.records.data());
    }
    state.counters["events"] = added;
    state.SetBytesProcessed(state.iterations() * ics.size());
}
BENCHMARK(Import_icalendar)->Unit(benchmark::kMillisecond);

// Collects the real time of each benchmark so that the ratios can follow the table.
class RatioReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            // With repetitions the median stands for the benchmark.
            if (run.run_type == Run::RT_Iteration && m_times.count(run.run_name.function_name))
                continue;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median")
                continue;
            m_times[run.run_name.function_name] = { run.GetAdjustedRealTime() * unitInNs(run.time_unit),
                run.GetAdjustedCPUTime() * unitInNs(run.time_unit) };
        }
    }

    void printRatios() const
    {
        std::printf("\n%-36s %12s %12s %8s %12s %12s %8s %7s\n", "operation", "wall", "floor", "ratio", "CPU",
            "floor", "ratio", "target");
        ratio("LoadData", "LoadData_floor_one_read", "<= 2x");
        ratio("SaveData (atomic)", "SaveData", "SaveData_floor_write_fdatasync_rename", "<= 2x");
        ratio("rebuildWithFormat", "RebuildWithFormat", "RebuildWithFormat_floor_generating_as_many_rows",
            "<= 2x");
        ratio("prohledatClick, the last day's date", "prohledatClick_last_row",
            "prohledatClick_last_row_floor_memmem", "<= 3x");
        ratio("prohledatClick, a date found nowhere", "prohledatClick_nowhere",
            "prohledatClick_nowhere_floor_memmem", "<= 3x");
        ratio("search window, event column scan", "SearchWindow_scan_event",
            "SearchWindow_scan_event_floor_memcmp", "<= 3x");
        ratio("iCalendar export beside CSV", "Export_icalendar", "Export_csv", "");
        ratio("iCalendar import beside its export", "Import_icalendar", "Export_icalendar", "<= 3x");
        if (m_times.count("GenerateDayRows_2004_2100")) {
            const Times t = m_times.at("GenerateDayRows_2004_2100");
            std::printf("%-36s %9.2f ms %25.2f ms  = %.2f million rows/s of CPU time\n",
                "generating 2004-2100, 35,429 rows", t.real / 1e6, t.cpu / 1e6, 35429 / t.cpu * 1e3);
        }
        if (m_times.count("ModelData_one_screen_every_role")) {
            const Times t = m_times.at("ModelData_one_screen_every_role");
            std::printf("%-36s %9.1f us %25.1f us  (target < 50 us)\n", "data(), 40 x 6 cells, every role",
                t.real / 1e3, t.cpu / 1e3);
        }
    }

private:
    static double unitInNs(benchmark::TimeUnit unit)
    {
        switch (unit) {
        case benchmark::kSecond:
            return 1e9;
        case benchmark::kMillisecond:
            return 1e6;
        case benchmark::kMicrosecond:
            return 1e3;
        default:
            return 1;
        }
    }

    void ratio(const char* label, const std::string& name, const std::string& floor, const char* target) const
    {
        if (!m_times.count(name) || !m_times.count(floor))
            return;
        const Times t = m_times.at(name), f = m_times.at(floor);
        std::printf("%-36s %9.3f ms %9.3f ms %7.2fx %9.3f ms %9.3f ms %7.2fx %7s\n", label, t.real / 1e6,
            f.real / 1e6, t.real / f.real, t.cpu / 1e6, f.cpu / 1e6, t.cpu / f.cpu, target);
    }
    void ratio(const char* name, const char* floor, const char* target) const
    {
        ratio(name, name, floor, target);
    }

    // Wall-clock and CPU time of one iteration, in nanoseconds. On a busy machine the
    // CPU time is the steadier of the two, except where the disk is waited for.
    struct Times {
        double real = 0;
        double cpu = 0;
    };
    std::map<std::string, Times> m_times;
};

} // namespace

int main(int argc, char* argv[])
{
    // Fonts and colours for the model's looks; no window is shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Fixture data;
    fixture = &data;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
