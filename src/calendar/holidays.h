#pragma once

#include <QByteArrayView>
#include <QStringList>

#include <bitset>

// The fixed holiday dates ("01.01." ... "26.12."), the same in every year.
namespace holidays {

const QStringList& list();

// The years in which holidays are marked, kept as a bit per year so that the
// test costs nothing while rows are painted.
class Years final {
public:
    Years() = default;
    explicit Years(const QStringList& years);
    bool contains(int year) const { return year >= 0 && year < 10000 && m_years.test(static_cast<size_t>(year)); }
    bool isEmpty() const { return m_years.none(); }

private:
    std::bitset<10000> m_years;
};

// Whether a date text (dd.mm.yyyy, Windows-1250 bytes) is a holiday entry followed by one of the years.
bool isHoliday(QByteArrayView date, const Years& years);

} // namespace holidays
