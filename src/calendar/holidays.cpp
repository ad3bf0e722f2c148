#include "calendar/holidays.h"

#include <array>
#include <cstring>

namespace holidays {

namespace {
    constexpr std::array<const char*, 14> kEntries { "01.01.", "11.04.", "12.04.", "01.05.", "08.05.", "09.05.",
        "05.07.", "06.07.", "28.09.", "28.10.", "17.11.", "24.12.", "25.12.", "26.12." };

    int fourDigits(QByteArrayView text)
    {
        int value = 0;
        for (char c : text) {
            if (c < '0' || c > '9')
                return -1;
            value = value * 10 + (c - '0');
        }
        return value;
    }
}

const QStringList& list()
{
    static const QStringList entries = [] {
        QStringList all;
        for (const char* entry : kEntries)
            all << QString::fromLatin1(entry);
        return all;
    }();
    return entries;
}

Years::Years(const QStringList& years)
{
    for (const QString& year : years) {
        // Only a four-digit year can follow a holiday entry in a ten-character date.
        if (year.size() != 4)
            continue;
        bool ok = false;
        const int value = year.toInt(&ok);
        if (ok && value >= 0 && year[0].isDigit())
            m_years.set(static_cast<size_t>(value));
    }
}

bool isHoliday(QByteArrayView date, const Years& years)
{
    if (date.size() != 10)
        return false;
    const int year = fourDigits(date.sliced(6));
    if (year < 0 || !years.contains(year))
        return false;
    for (const char* entry : kEntries) {
        if (std::memcmp(date.data(), entry, 6) == 0)
            return true;
    }
    return false;
}

} // namespace holidays
