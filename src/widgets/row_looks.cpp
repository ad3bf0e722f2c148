#include "widgets/row_looks.h"

#include "widgets/system_colors.h"

RowLook RowLooks::lookOf(const RowItem& item, const QFont& listFont)
{
    RowLook look;
    look.foreground = system_colors::resolve(item.fontColour);
    look.background = system_colors::readableBackground(item.rowColour, look.foreground);
    look.font = listFont;
    look.font.setFamily(item.font);
    look.font.setBold(item.bold);
    look.font.setItalic(item.italic);
    look.font.setUnderline(item.underline);
    return look;
}

void RowLooks::rebuild(const Settings& settings, const QFont& listFont)
{
    for (int k = 0; k < Settings::kItemCount; ++k)
        m_looks[static_cast<size_t>(k)] = lookOf(settings.items[static_cast<size_t>(k)], listFont);
}
