#include "app/program.h"

#include "app/main_window.h"
#include "platform/desktop_integration.h"

#include <QCoreApplication>

namespace program {

std::unique_ptr<TForm1> assembleMainWindow(const QString& programDir, Messenger& messenger)
{
    auto window = std::make_unique<TForm1>(programDir, messenger);
    window->setDesktopIntegration(makeDesktopIntegration(QCoreApplication::applicationFilePath()));
    return window;
}

} // namespace program
