// The main window in a process of its own, for tests that kill it. It starts as
// the program does (the lock, then the window on the given directory) and then:
//   crash_child DIR edit TEXT  writes TEXT as the event of row 100 and turns on
//                              "Automatické spuštění", then waits to be killed;
//   crash_child DIR show       prints that row's event and the autostart flag;
//   crash_child DIR stay       waits until a later start raises it, then prints "raised".
// Messages and questions go to standard output, one a line, so the test sees every one.
#include "app/main_window.h"
#include "app/program.h"
#include "calendar/day_table.h"
#include "platform/instance_lock.h"
#include "platform/messenger.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr int kRow = 100;

void say(const QString& line)
{
    std::fputs(qPrintable(line + u'\n'), stdout), std::fflush(stdout);
}

class PrintingMessenger final : public Messenger {
public:
    void show(Icon, const QString& title, const QString& text) override
    {
        say(u"message: "_s + title + u": "_s + text);
    }
    bool ask(const QString& title, const QString& text) override
    {
        return show(Icon::Question, title, text), false;
    }
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    PrintingMessenger messenger;
    InstanceLock lock;
    if (!lock.acquireOrHandOver(args.value(1), messenger)) {
        say(u"refused"_s);
        return 3;
    }
    const auto window = program::assembleMainWindow(args.value(1), messenger);
    window->show();
    if (args.value(2) == u"stay") {
        QObject::connect(&lock, &InstanceLock::activationRequested, &app, [] {
            say(u"raised"_s);
            QApplication::quit();
        });
        return QApplication::exec();
    }
    if (args.value(2) == u"show") {
        say(u"event: "_s + window->table().record(kRow).text(EventRecord::Field::Event));
        say(u"start: "_s + QString::number(window->settings().start));
        return 0;
    }
    QTimer::singleShot(0, window.get(), [&] {
        window->findChild<QAction*>(u"spusteni"_s)->trigger();
        EventRecord record = window->table().record(kRow);
        record.setText(EventRecord::Field::Event, args.value(3));
        window->table().setRecord(kRow, record);
    });
    return QApplication::exec();
}
