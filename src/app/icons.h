#pragma once

#include <QIcon>

namespace icons {

// The program's own icon (window and tray): a calendar sheet, drawn so that no
// image file has to travel with the executable.
QIcon program();

} // namespace icons
