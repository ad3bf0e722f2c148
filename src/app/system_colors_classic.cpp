#include "app/system_colors.h"

#include <array>

namespace system_colors {

// The classic desktop scheme, for platforms that have no scheme of their own.
QColor schemeColour(int index)
{
    static constexpr std::array<QRgb, 31> kClassic { qRgb(212, 208, 200), qRgb(58, 110, 165),
        qRgb(10, 36, 106), qRgb(128, 128, 128), qRgb(212, 208, 200), qRgb(255, 255, 255), qRgb(0, 0, 0),
        qRgb(0, 0, 0), qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(212, 208, 200), qRgb(212, 208, 200),
        qRgb(128, 128, 128), qRgb(10, 36, 106), qRgb(255, 255, 255), qRgb(212, 208, 200), qRgb(128, 128, 128),
        qRgb(128, 128, 128), qRgb(0, 0, 0), qRgb(212, 208, 200), qRgb(255, 255, 255), qRgb(64, 64, 64),
        qRgb(212, 208, 200), qRgb(0, 0, 0), qRgb(255, 255, 225), qRgb(181, 181, 181), qRgb(0, 0, 128),
        qRgb(166, 202, 240), qRgb(192, 192, 192), qRgb(49, 106, 197), qRgb(236, 233, 216) };
    if (index < 0 || index >= int(kClassic.size()))
        return QColor(Qt::black);
    return QColor::fromRgb(kClassic[static_cast<size_t>(index)]);
}

} // namespace system_colors
