#include "app/main_window.h"
#include "app/program.h"
#include "export/command_line.h"
#include "export/pdf_command.h"
#include "platform/instance_lock.h"
#include "platform/program_dir.h"
#include "platform/translations.h"
#include "widgets/icons.h"
#include "widgets/message_box_messenger.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    if (command_line::wanted(argc))
        return pdf_command::run(argc, argv);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zorivka"));
    // The installed desktop entry's name: the Wayland app id that finds the launcher.
    QGuiApplication::setDesktopFileName(QStringLiteral("cz.zorivka.Zorivka"));
    QApplication::setWindowIcon(icons::program());

    translations::installQtCzech(app);

    MessageBoxMessenger messenger;
    const QString dir = program_dir::resolve();
    InstanceLock lock;
    if (!lock.acquireOrHandOver(dir, messenger))
        return 0;
    program_dir::adoptFiles(dir, messenger);

    const auto window = program::assembleMainWindow(dir, messenger);
    messenger.setParentWindow(window.get());
    QObject::connect(&lock, &InstanceLock::activationRequested, window.get(), &TForm1::bringToFront);
    window->show();
    return QApplication::exec();
}
