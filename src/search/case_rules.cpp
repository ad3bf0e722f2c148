#include "search/case_rules.h"

#include <array>
#include <utility>

namespace case_rules {

namespace {
// Windows-1250 byte of each capital letter -> byte of its small letter.
constexpr std::array<unsigned char, 256> makeSmallLetters()
{
    std::array<unsigned char, 256> small {};
    for (int b = 0; b < 256; ++b)
        small[b] = static_cast<unsigned char>(b);
    for (int b = 'A'; b <= 'Z'; ++b)
        small[b] = static_cast<unsigned char>(b + 0x20);
    // Š Ś Ť Ž Ź, Ł, Ą, Ş, Ż, Ľ: capitals outside the block below.
    constexpr std::array<std::pair<int, int>, 10> scattered { { { 0x8A, 0x9A }, { 0x8C, 0x9C },
        { 0x8D, 0x9D }, { 0x8E, 0x9E }, { 0x8F, 0x9F }, { 0xA3, 0xB3 }, { 0xA5, 0xB9 }, { 0xAA, 0xBA },
        { 0xAF, 0xBF }, { 0xBC, 0xBE } } };
    for (const auto& [capital, letter] : scattered)
        small[capital] = static_cast<unsigned char>(letter);
    // Ŕ ... Ţ sit 0x20 below their small letters; 0xD7 is the multiplication sign.
    for (int b = 0xC0; b <= 0xDE; ++b) {
        if (b != 0xD7)
            small[b] = static_cast<unsigned char>(b + 0x20);
    }
    return small;
}

constexpr std::array<unsigned char, 256> kSmallLetters = makeSmallLetters();
} // namespace

QString foldAsciiOnly(QStringView text)
{
    QString out = text.toString();
    for (QChar& c : out) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return out;
}

bool containsAsciiOnly(QStringView haystack, QStringView needle)
{
    return foldAsciiOnly(haystack).contains(foldAsciiOnly(needle));
}

bool equalsAsciiOnly(QStringView a, QStringView b)
{
    return a.size() == b.size() && foldAsciiOnly(a) == foldAsciiOnly(b);
}

QString foldAllLetters(QStringView text)
{
    return text.toString().toLower();
}

bool containsAllLetters(QStringView haystack, QStringView needle)
{
    return haystack.contains(needle, Qt::CaseInsensitive);
}

bool equalsAllLetters(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

char foldAllLettersByte(char byte)
{
    return static_cast<char>(kSmallLetters[static_cast<unsigned char>(byte)]);
}

bool equalsAllLettersBytes(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (kSmallLetters[static_cast<unsigned char>(a[i])]
            != kSmallLetters[static_cast<unsigned char>(b[i])])
            return false;
    }
    return true;
}

} // namespace case_rules
