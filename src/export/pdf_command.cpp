#include "export/pdf_command.h"

#include "calendar/day_table.h"
#include "export/print_pages.h"

#include <QGuiApplication>

namespace pdf_command {

int run(int argc, char* argv[])
{
    if (!command_line::wantsPdf(argc, argv))
        return command_line::run(argc, argv);
    // Text is drawn with the fonts of a GUI application; offscreen, it needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return command_line::runIn(app, &write);
}

command_line::PdfResult write(
    const command_line::PdfRequest& request, const DayTable& table, const Settings& settings, QString* error)
{
    const print_pages::Source source = print_pages::Source::fromSettings(table.records(), settings);
    switch (
        print_pages::writePdf(source, request.from, request.to, request.blackAndWhite, request.path, error)) {
    case print_pages::Result::Written:
        return command_line::PdfResult::Written;
    case print_pages::Result::Empty:
        return command_line::PdfResult::Empty;
    case print_pages::Result::Failed:
        break;
    }
    return command_line::PdfResult::Failed;
}

} // namespace pdf_command
