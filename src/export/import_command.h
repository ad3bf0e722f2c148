#pragma once

#include <QString>

class QTextStream;

// zorivka --import-ics FILE: imports an iCalendar file into the files the window works on,
// without a window, and prints what it did.
namespace import_command {

enum Status { Imported = 0, Failed = 1, WindowRuns = 3 };

// Imports `path` into data.zrk of `dir`, holding the window's lock while it reads and
// writes; files the window would copy there from the executable's directory are copied
// first. WindowRuns, and nothing changes, while a window of the program works on `dir`.
int run(const QString& path, const QString& dir, QTextStream& out, QTextStream& err);

} // namespace import_command
