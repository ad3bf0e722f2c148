// Opens the main window on the largest table (2004 to 2100 plus 10,000 event rows)
// and reports how long opening, painting and scrolling take.
#include "app/main_window.h"
#include "app/program.h"
#include "calendar/day_table.h"
#include "largest_table.h"
#include "platform/clock.h"
#include "recording_messenger.h"
#include "records/data_file.h"
#include "search/row_lookup.h"
#include "settings/settings_file.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double millisecondsOf(QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e6;
}

void report(const char* what, double ms)
{
    std::printf("%-58s %9.2f ms\n", what, ms);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    RecordingMessenger messenger;

    {
        DayTable table;
        largest_table::fill(table);
        Settings settings;
        settings.pocets = QStringLiteral("6");
        largest_table::writeFiles(dir.path(), table, settings, messenger);
        std::printf("rows: %d\n", table.rowCount());

        // Today outside the range: the go-to-today step walks every row and finds none.
        QElapsedTimer timer;
        timer.start();
        const int row = row_lookup::dayRowWithDate(table, QStringLiteral("06.12.2150"));
        report("full walk of the go-to-today step (no match)", millisecondsOf(timer));
        if (row != -1)
            return 1;
    }

    clock_source::setNow(QDateTime(QDate(2099, 12, 6), QTime(12, 0)));
    QElapsedTimer timer;
    timer.start();
    const auto windowBuilt = program::assembleMainWindow(dir.path(), messenger);
    TForm1& window = *windowBuilt;
    report("window creation with load of 45,429 rows", millisecondsOf(timer));
    timer.restart();
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    while (window.state().data != u"data")
        QCoreApplication::processEvents();
    report("show, first paint and jump to today (06.12.2099)", millisecondsOf(timer));

    QTableView* list = window.listView();
    QScrollBar* bar = list->verticalScrollBar();
    std::vector<double> frames;
    const int pages = 400;
    for (int i = 0; i < pages; ++i) {
        // Page steps from the top, then jumps across the whole list.
        const int value = i < pages / 2 ? i * bar->pageStep() : (i * 7919) % (bar->maximum() + 1);
        timer.restart();
        bar->setValue(value);
        list->viewport()->repaint();
        frames.push_back(millisecondsOf(timer));
    }
    std::sort(frames.begin(), frames.end());
    report("scroll and repaint one screen, median", frames[frames.size() / 2]);
    report("scroll and repaint one screen, 99th percentile", frames[frames.size() * 99 / 100]);
    report("scroll and repaint one screen, worst", frames.back());

    timer.restart();
    window.close();
    report("close (save of data.zrk, settings and lists)", millisecondsOf(timer));
    return messenger.messages().isEmpty() ? 0 : 1;
}
