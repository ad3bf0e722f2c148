#include "app/system_colors.h"

namespace system_colors {

QColor resolve(std::int32_t colour)
{
    if (colour < 0)
        return schemeColour(colour & 0xFF);
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

} // namespace system_colors
