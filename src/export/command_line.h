#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>

class DayTable;
class QCoreApplication;
class QTextStream;
struct Settings;

// The program's command line: exporting without a window.
//   zorivka --export-ics FILE | --export-csv FILE | --export-pdf FILE [--bw]
//           [--from dd.mm.yyyy] [--to dd.mm.yyyy]
//   zorivka --publish (see export/publish_command.h)
//   zorivka --import-ics FILE (see export/import_command.h; 3 while the window runs)
// Exit status 0 when written, 1 for bad arguments or files that cannot be read or
// written, 2 when the range holds no event (no day of the calendar for a PDF; no
// file is written then).
namespace command_line {

enum Status { Ok = 0, Failure = 1, NothingToExport = 2 };

// Started with arguments, the program works on the command line instead of opening its window.
bool wanted(int argc);

// The pages of a PDF need a GUI application to draw text, which this library has not:
// the window's side writes them.
struct PdfRequest {
    QString path;
    QDate from; // invalid: from the first day
    QDate to; // invalid: to the last day
    bool blackAndWhite = false;
};
enum class PdfResult { Written, Empty, Failed };
using PdfWriter = std::function<PdfResult(
    const PdfRequest& request, const DayTable& table, const Settings& settings, QString* error)>;

// Whether the arguments ask for a PDF (and so for a GUI application).
bool wantsPdf(int argc, char* argv[]);

// Runs the command line in a QCoreApplication of its own: no window, no lock, no
// message box; data.zrk is read from where the window would find it and never written.
int run(int argc, char* argv[]);
// The same in the application given; `pdf` writes the PDF files asked for.
int runIn(QCoreApplication& app, const PdfWriter& pdf);

// Where data.zrk is read: the directory the window works in, or, while that one has
// no data.zrk yet, the program's own directory from which the window would copy it.
QString dataDir(const QString& workingDir, const QString& programDir);

// The work itself, on the given program directory (`arguments` start with the program's name).
int exec(const QStringList& arguments, const QString& programDir, QTextStream& out, QTextStream& err,
    const PdfWriter& pdf = {});

} // namespace command_line
