#include "platform/cp1250.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace cp1250 {

namespace {

// Characters for bytes 0x80..0xFF. The undefined bytes keep their own value
// (C1 controls) so nothing read from a file is lost on the way back.
constexpr std::array<char16_t, 128> highChars = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179, // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, // 0x98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, // 0xA0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, // 0xA8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, // 0xB0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, // 0xB8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, // 0xC0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, // 0xC8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, // 0xD0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, // 0xD8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, // 0xE0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, // 0xE8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, // 0xF0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9, // 0xF8
};

struct ReverseEntry {
    char16_t ch;
    std::uint8_t byte;
};

// The high half sorted by character, built at compile time for a binary search.
constexpr std::array<ReverseEntry, 128> buildReverse()
{
    std::array<ReverseEntry, 128> entries {};
    for (std::size_t i = 0; i < highChars.size(); ++i)
        entries[i] = { highChars[i], static_cast<std::uint8_t>(0x80 + i) };
    std::sort(entries.begin(), entries.end(),
        [](const ReverseEntry& a, const ReverseEntry& b) { return a.ch < b.ch; });
    return entries;
}

constexpr std::array<ReverseEntry, 128> reverse = buildReverse();

inline int lookup(char16_t c)
{
    if (c < 0x80)
        return c;
    const auto* it = std::lower_bound(reverse.begin(), reverse.end(), c,
        [](const ReverseEntry& entry, char16_t value) { return entry.ch < value; });
    if (it != reverse.end() && it->ch == c)
        return it->byte;
    return -1;
}

} // namespace

int byteFor(QChar c)
{
    return lookup(c.unicode());
}

bool canEncode(QStringView text)
{
    for (QChar c : text) {
        if (lookup(c.unicode()) < 0)
            return false;
    }
    return true;
}

QByteArray encode(QStringView text)
{
    QByteArray result(text.size(), Qt::Uninitialized);
    char* out = result.data();
    const QChar* in = text.data();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const int byte = lookup(in[i].unicode());
        if (byte >= 0) {
            *out++ = static_cast<char>(byte);
            continue;
        }
        // A surrogate pair is one character, so it becomes one '?'.
        if (in[i].isHighSurrogate() && i + 1 < size && in[i + 1].isLowSurrogate())
            ++i;
        *out++ = '?';
    }
    result.truncate(out - result.constData());
    return result;
}

QString decode(QByteArrayView bytes)
{
    QString result(bytes.size(), Qt::Uninitialized);
    QChar* out = result.data();
    for (const char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        *out++ = QChar(byte < 0x80 ? char16_t(byte) : highChars[byte - 0x80]);
    }
    return result;
}

} // namespace cp1250
