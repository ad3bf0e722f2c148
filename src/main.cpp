#include "app/icons.h"
#include "app/main_window.h"
#include "app/message_box_messenger.h"
#include "app/single_instance.h"
#include "app/translations.h"
#include "platform/program_dir.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zorivka"));
    QApplication::setApplicationDisplayName(QStringLiteral("Zorivka"));
    QApplication::setWindowIcon(icons::program());

    translations::installQtCzech(app);

    MessageBoxMessenger messenger;
    const QString dir = program_dir::resolve();
    InstanceLock lock;
    if (!lock.acquire(dir)) {
        if (InstanceLock::activateRunning(dir))
            return 0;
        messenger.show(Messenger::Icon::Warning, QStringLiteral("Upozornění"),
            QStringLiteral("Program Zorivka je již spuštěn."));
        return 0;
    }

    TForm1 window(dir, messenger);
    messenger.setParentWindow(&window);
    QObject::connect(&lock, &InstanceLock::activationRequested, &window, [&window] {
        if (window.isMinimized())
            window.showNormal();
        window.show();
        window.raise();
        window.activateWindow();
    });
    window.show();
    return QApplication::exec();
}
