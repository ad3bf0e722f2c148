#pragma once

#include <QString>
#include <QStringList>

class QTextStream;

// The program's command line: exporting without a window.
//   zorivka --export-ics FILE | --export-csv FILE [--from dd.mm.yyyy] [--to dd.mm.yyyy]
//   zorivka --publish (see export/publish_command.h)
// Exit status 0 when written, 1 for bad arguments or files that cannot be read or
// written, 2 when the range holds no event (no file is written then).
namespace command_line {

enum Status { Ok = 0, Failure = 1, NothingToExport = 2 };

// Started with arguments, the program works on the command line instead of opening its window.
bool wanted(int argc);

// Runs the command line in a QCoreApplication of its own: no window, no lock, no
// message box; data.zrk is read from where the window would find it and never written.
int run(int argc, char* argv[]);

// Where data.zrk is read: the directory the window works in, or, while that one has
// no data.zrk yet, the program's own directory from which the window would copy it.
QString dataDir(const QString& workingDir, const QString& programDir);

// The work itself, on the given program directory (`arguments` start with the program's name).
int exec(const QStringList& arguments, const QString& programDir, QTextStream& out, QTextStream& err);

} // namespace command_line
