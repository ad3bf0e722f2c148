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

} // namespace system_colors
