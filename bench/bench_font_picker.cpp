// How long the font picker takes to open and to drop its list down, and how long the
// style pages take to build, with every font of this machine.
#include "recording_messenger.h"
#include "settings/column_page.h"
#include "settings/font_picker.h"
#include "settings/style_pages.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QTest>

#include <cstdio>

namespace {
void report(const char* what, double ms)
{
    std::printf("%-58s %9.2f ms\n", what, ms);
}
} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QElapsedTimer timer;
    timer.start();
    const int families = static_cast<int>(QFontDatabase::families().size());
    report("listing the installed fonts (first time)", timer.nsecsElapsed() / 1e6);
    std::printf("%d font families\n", families);

    Settings settings;
    RowItem& item = settings.items[0];
    for (int round = 0; round < 3; ++round) {
        timer.restart();
        Tpismo picker(item);
        picker.show();
        if (!QTest::qWaitForWindowExposed(&picker))
            return 1;
        report("Tpismo created and shown", timer.nsecsElapsed() / 1e6);
        timer.restart();
        picker.fonts()->showPopup();
        picker.fonts()->view()->repaint();
        QCoreApplication::processEvents();
        report("its list dropped down and painted", timer.nsecsElapsed() / 1e6);
        picker.fonts()->hidePopup();
    }

    RecordingMessenger messenger;
    timer.restart();
    ColourPage colours(settings);
    DisplayPage display(settings);
    ColumnPage columns(settings, messenger);
    report("the three style pages built", timer.nsecsElapsed() / 1e6);
    return 0;
}
