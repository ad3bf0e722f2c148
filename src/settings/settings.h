#pragma once

#include <QString>

#include <array>
#include <cstdint>

// The look of one kind of row together with the title and width of one column.
// Item k (1 ... 6) holds, under the names the settings dialog uses:
//   bold       t1t  t2t  sst  nt   svt  akcest
//   italic     k1t  k2t  ssk  nk   svk  akcesk
//   underline  p1t  p2t  ssp  np   svp  akcesp
//   font       sp1 ... sp6   (face name only; the size comes from the list)
//   rowColour  p1 ... p6     (background)
//   fontColour t1 ... t6
//   width      s1 ... s6     (pixels, decimal text)
//   title      Edit1 ... Edit6
struct RowItem {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QString font;
    std::int32_t rowColour = 0;
    std::int32_t fontColour = 0;
    QString width;
    QString title;

    bool operator==(const RowItem&) const = default;
};

// Colours are stored as red + 256 * green + 65536 * blue; a value with the top bit
// set names a colour of the desktop's scheme by its index.
namespace colour_code {
constexpr std::int32_t rgb(int red, int green, int blue)
{
    return red + 256 * green + 65536 * blue;
}
constexpr std::int32_t kSystemBit = std::int32_t(0x80000000u);
constexpr std::int32_t kInactiveCaptionText = std::int32_t(0x80000013u);
constexpr std::int32_t kInactiveCaption = std::int32_t(0x80000003u);
constexpr bool isSystem(std::int32_t colour)
{
    return colour < 0;
}
} // namespace colour_code

// The settings record: everything stored in nastaveni.ini. Values keep their
// stored text form; numbers are converted where arithmetic is done.
struct Settings {
    static constexpr int kItemCount = 6;
    static constexpr int kMinWidth = 20;
    static constexpr int kMaxWidth = 300;

    static std::array<RowItem, kItemCount> defaultItems();

    // Items in order: even rows, odd rows, Saturdays, Sundays, holidays, event rows.
    std::array<RowItem, kItemCount> items = defaultItems();

    QString format = QStringLiteral("1");
    QString pocets = QStringLiteral("4");
    QString pocetnroku = QStringLiteral("1");
    QString pocetdni = QStringLiteral("366");
    QString doroku = QStringLiteral("2004");
    QString h1 = QStringLiteral("0");
    QString h2 = QStringLiteral("0");
    bool start = false;
    bool mrizka = false;
    bool esc = true;
    bool ikona = false;
    bool statusbar = true;
    bool jdiokno = false;

    // A default-constructed record holds the built-in defaults in force on a first run.
    static const QString& defaultWidth(int item);

    int columnCount() const;
    // The width of column `item` in pixels, limited to kMinWidth ... kMaxWidth.
    int width(int item) const;

    bool operator==(const Settings&) const = default;
};
