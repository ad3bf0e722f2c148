// The main window in a process of its own, for tests that kill it. It starts as
// the program does (the lock, then the window on the given directory) and then:
//   crash_child DIR edit ROW TEXT  writes TEXT as the event of row ROW and turns
//                                  on "Automatické spuštění", then waits to be killed;
//   crash_child DIR show ROW       prints the row's event and the autostart flag.
// Messages go to standard output, one a line, so the test sees every one.
#include "app/main_window.h"
#include "app/program.h"
#include "app/single_instance.h"
#include "calendar/day_table.h"
#include "platform/messenger.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

void say(const QString& line)
{
    std::fputs(qPrintable(line + u'\n'), stdout);
    std::fflush(stdout);
}

class PrintingMessenger final : public Messenger {
public:
    void show(Icon, const QString& title, const QString& text) override
    {
        say(u"message: "_s + title + u": "_s + text);
    }
    bool ask(const QString& title, const QString& text) override
    {
        say(u"question: "_s + title + u": "_s + text);
        return false;
    }
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 4)
        return 2;
    const int row = args[3].toInt();
    PrintingMessenger messenger;
    InstanceLock lock;
    if (!lock.acquireOrHandOver(args[1], messenger)) {
        say(u"refused"_s);
        return 3;
    }
    const auto window = program::assembleMainWindow(args[1], messenger);
    window->show();
    if (args[2] == u"show") {
        say(u"event: "_s + window->table().record(row).text(EventRecord::Field::Event));
        say(u"start: "_s + QString::number(window->settings().start));
        return 0;
    }
    if (args[2] != u"edit" || args.size() < 5)
        return 2;
    QTimer::singleShot(0, window.get(), [&] {
        window->findChild<QAction*>(u"spusteni"_s)->trigger();
        EventRecord record = window->table().record(row);
        record.setText(EventRecord::Field::Event, args[4]);
        window->table().setRecord(row, record);
        say(u"changed"_s);
    });
    return QApplication::exec();
}
