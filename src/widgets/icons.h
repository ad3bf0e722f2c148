#pragma once

#include <QIcon>

// The program's own pictures, from its resource file: they look the same on every
// desktop and cost no lookup in the desktop's icon theme. tools/draw_icons draws them.
namespace icons {

// The pictures of the toolbar, the menus and the dialogs.
enum class Picture {
    NewRecord,
    EditRecord,
    DeleteRecord,
    DeleteAll,
    GoTo,
    Search,
    Settings,
    About,
    Exit,
    Export
};

// The program's icon (window and tray): a calendar sheet.
QIcon program();

// A picture at 16 and 24 pixels (and twice that on high-density screens).
QIcon picture(Picture picture);

} // namespace icons
