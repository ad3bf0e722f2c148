#pragma once

#include <QColor>

#include <cstdint>

// Turns a stored colour into one that can be drawn. Plain colours are
// red + 256 * green + 65536 * blue; a value with the top bit set names a colour
// of the desktop's scheme by index, taken from the desktop where it has such a
// scheme and from the classic scheme's values elsewhere.
namespace system_colors {

QColor resolve(std::int32_t colour);
// The desktop scheme's colour for an index (0 ... 30); black for an unknown index.
QColor schemeColour(int index);
// The classic scheme's colour for an index; black for an unknown index.
QColor classicColour(int index);

// The contrast ratio of two colours, from 1 (the same) to 21 (black and white).
double contrast(const QColor& a, const QColor& b);
constexpr double kMinimumContrast = 3.0;

// A stored row colour as it is drawn under `text`. A scheme colour that the desktop
// gives too close to the text (a modern scheme's black "inactive caption text",
// say) is drawn in the classic scheme's colour instead; the stored number stays.
QColor readableBackground(std::int32_t background, const QColor& text);

} // namespace system_colors
