#pragma once

#include "export/command_line.h"

// The command line with its PDF pages: a GUI application on the offscreen platform
// when a PDF is asked for (no display needed), the core's plain one otherwise.
namespace pdf_command {

int run(int argc, char* argv[]);

// Writes one PDF of the table as the settings show it.
command_line::PdfResult write(
    const command_line::PdfRequest& request, const DayTable& table, const Settings& settings, QString* error);

} // namespace pdf_command
