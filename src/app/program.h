#pragma once

#include <QString>

#include <memory>

class Messenger;
class TForm1;

namespace program {

// The main window as users get it, with its real services (the desktop's log-on
// entry and launchers for the running executable). The program and every test that
// drives the main window build it here, so nothing the program needs can be left out.
std::unique_ptr<TForm1> assembleMainWindow(const QString& programDir, Messenger& messenger);

} // namespace program
