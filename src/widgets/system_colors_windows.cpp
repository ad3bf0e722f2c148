#include "widgets/system_colors.h"

#include <windows.h>

namespace system_colors {

QColor schemeColour(int index)
{
    if (index < 0 || index > COLOR_MENUBAR)
        return QColor(Qt::black);
    const DWORD rgb = GetSysColor(index);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

} // namespace system_colors
