// Opens the settings dialog on the largest table (2004 to 2100 plus 10,000 event
// rows) and reports how long opening and "Ok" take, the latter with the format
// rebuild of every row that a format other than 1 brings.
#include "app/main_window.h"
#include "app/program.h"
#include "calendar/generation.h"
#include "largest_table.h"
#include "recording_messenger.h"
#include "records/data_file.h"
#include "settings/settings_dialog.h"
#include "settings/settings_file.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <cstdio>

namespace {

// Clicks the toolbar's settings button; `button` of the dialog is pressed as soon as
// it is shown. Returns the milliseconds from the click until the dialog has closed
// and the main window has followed.
double openAndPress(TForm1& window, const char* button)
{
    QTimer::singleShot(0, &window, [button] {
        if (auto* dialog = qobject_cast<Tnastav*>(QApplication::activeModalWidget()))
            dialog->findChild<QAbstractButton*>(QString::fromLatin1(button))->click();
    });
    QElapsedTimer timer;
    timer.start();
    window.findChild<QToolButton*>(QStringLiteral("ToolButton7"))->click();
    return timer.nsecsElapsed() / 1e6;
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
        settings.format = QStringLiteral("2");
        largest_table::writeFiles(dir.path(), table, settings, messenger);
        std::printf("rows: %d\n", table.rowCount());
        QElapsedTimer timer;
        timer.start();
        generation::rebuildWithFormat(table, QStringLiteral("2"), messenger);
        std::printf("%-58s %9.2f ms\n", "rebuildWithFormat of every row alone", timer.nsecsElapsed() / 1e6);
    }
    const auto windowBuilt = program::assembleMainWindow(dir.path(), messenger);
    TForm1& window = *windowBuilt;
    window.show();
    QApplication::processEvents();
    window.selectRow(20000);
    const int rounds = 5;
    double cancel = 0;
    double ok = 0;
    for (int i = 0; i < rounds; ++i) {
        cancel += openAndPress(window, "Button41");
        ok += openAndPress(window, "Button53");
    }
    std::printf("%-58s %9.2f ms\n", "open, then Zrušit (mean)", cancel / rounds);
    std::printf("%-58s %9.2f ms\n", "open, then Ok with the rebuild of every row (mean)", ok / rounds);
    return messenger.messages().isEmpty() && window.selectedRow() == 20000 ? 0 : 1;
}
