#pragma once

#include <QIcon>
#include <QPixmap>

namespace icons {

// The program's own icon (window and tray): a calendar sheet, drawn so that no
// image file has to travel with the executable.
QIcon program();
// The same picture at any size in pixels (the installed icons are made from it).
QPixmap programPicture(int size);

} // namespace icons
