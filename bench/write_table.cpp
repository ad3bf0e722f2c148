// Writes the four files of the largest table (2004 to 2100 plus 10,000 event rows,
// six columns) into a directory: write_table <directory> [--tray]
// With --tray the settings show the tray icon and the status bar.
#include "calendar/day_table.h"
#include "largest_table.h"
#include "recording_messenger.h"
#include "settings/settings.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: write_table <directory> [--tray]\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    DayTable table;
    largest_table::fill(table);
    Settings settings;
    settings.pocets = QStringLiteral("6");
    if (argc > 2 && std::strcmp(argv[2], "--tray") == 0) {
        settings.ikona = true;
        settings.statusbar = true;
    }
    RecordingMessenger messenger;
    if (!largest_table::writeFiles(dir, table, settings, messenger))
        return 1;
    std::printf("%d rows\n", table.rowCount());
    return 0;
}
