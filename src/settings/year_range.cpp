#include "settings/year_range.h"

#include "calendar/generation.h"

#include <algorithm>

namespace {
QString raised(const QString& value, int low, int high)
{
    return QString::number(std::clamp(value.toInt() + 1, low, high));
}
} // namespace

void YearRange::start(const QStringList& years, const QStringList& dayCounts)
{
    prepocet1 = years;
    prepocet2 = dayCounts;
    m_yearsAtStart = static_cast<int>(prepocet1.size());
}

bool YearRange::atLastYear() const
{
    const int last = prepocet1.isEmpty() ? generation::kFirstYear : prepocet1.last().toInt();
    return doroku.toInt() >= generation::kLastYear || last >= generation::kLastYear;
}

bool YearRange::addYear()
{
    if (atLastYear())
        return false;
    doroku = raised(doroku, generation::kFirstYear, generation::kLastYear);
    pocetnroku = raised(pocetnroku, 1, 996);
    hodnota = QString::number(hodnota.toInt() + 1);
    generation::addNextYear(prepocet1, prepocet2);
    pocetdnilabel = QString::number(pocetdnilabel.toInt() + prepocet2.last().toInt());
    pocetdni = pocetdnilabel;
    zmena = QStringLiteral("ano");
    return true;
}
