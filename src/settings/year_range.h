#pragma once

#include <QString>
#include <QStringList>

// The year section of the settings dialog: the range as it will be after "Ok",
// counted on copies of the year list and the day-count list while the user adds
// years. Nothing of it reaches the day table before "Ok".
struct YearRange {
    QString doroku = QStringLiteral("2004");
    QString pocetnroku = QStringLiteral("1");
    QString pocetdni = QStringLiteral("366");
    QString pocetdnilabel = QStringLiteral("366");
    QString hodnota = QStringLiteral("0");
    QString pochodnota = QStringLiteral("0");
    QString zmena = QStringLiteral("ne");
    QStringList prepocet1;
    QStringList prepocet2;

    // Takes the lists read as the dialog opens; the years added are counted from them.
    void start(const QStringList& years, const QStringList& dayCounts);

    // "Přidat rok": one more year, never past 2100. False, and nothing changes, when
    // the range already ends there.
    bool addYear();
    bool atLastYear() const;
    // How many years the dialog gained since it opened; "Ok" appends exactly these.
    int yearsGained() const { return static_cast<int>(prepocet1.size()) - m_yearsAtStart; }

private:
    int m_yearsAtStart = 0;
};
