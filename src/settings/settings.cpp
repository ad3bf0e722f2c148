#include "settings/settings.h"

#include <algorithm>

namespace {
const std::array<QString, Settings::kItemCount> kWidths { QStringLiteral("60"), QStringLiteral("90"),
    QStringLiteral("60"), QStringLiteral("210"), QStringLiteral("29"), QStringLiteral("29") };
const std::array<QString, Settings::kItemCount> kTitles { QStringLiteral("Den"), QStringLiteral("Datum"),
    QStringLiteral("Hod."), QStringLiteral("Akce"), QStringLiteral("1"), QStringLiteral("2") };
constexpr std::array<std::int32_t, Settings::kItemCount> kRowColours { colour_code::rgb(192, 192, 192),
    colour_code::kInactiveCaptionText, colour_code::rgb(0, 255, 108), colour_code::kInactiveCaption,
    colour_code::rgb(255, 249, 117), colour_code::rgb(236, 172, 108) };
} // namespace

std::array<RowItem, Settings::kItemCount> Settings::defaultItems()
{
    std::array<RowItem, kItemCount> items;
    for (int k = 0; k < kItemCount; ++k) {
        RowItem& item = items[static_cast<size_t>(k)];
        item.font = QStringLiteral("MS Sans Serif");
        item.rowColour = kRowColours[static_cast<size_t>(k)];
        item.fontColour = 0;
        item.width = kWidths[static_cast<size_t>(k)];
        item.title = kTitles[static_cast<size_t>(k)];
    }
    return items;
}

const QString& Settings::defaultWidth(int item)
{
    return kWidths.at(static_cast<size_t>(item));
}

int Settings::columnCount() const
{
    const int count = pocets.toInt();
    return count >= 4 && count <= 6 ? count : 0;
}

int Settings::width(int item) const
{
    // The file may hold any number; the list is drawn with the widths the dialog allows.
    return std::clamp(items.at(static_cast<size_t>(item)).width.toInt(), kMinWidth, kMaxWidth);
}
