#include "widgets/system_colors.h"

#include <array>
#include <cmath>

namespace system_colors {

namespace {
double luminance(const QColor& colour)
{
    const auto channel = [](double value) {
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF())
        + 0.0722 * channel(colour.blueF());
}
} // namespace

QColor resolve(std::int32_t colour)
{
    if (colour < 0)
        return schemeColour(colour & 0xFF);
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

QColor classicColour(int index)
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

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableBackground(std::int32_t background, const QColor& text)
{
    const QColor resolved = resolve(background);
    if (background >= 0 || contrast(resolved, text) >= kMinimumContrast)
        return resolved;
    return classicColour(background & 0xFF);
}

} // namespace system_colors
