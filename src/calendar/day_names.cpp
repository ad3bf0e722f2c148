#include "calendar/day_names.h"

namespace day_names {

namespace {
    // Monday first, as QDate::dayOfWeek() counts (1 = Monday).
    const QStringList& namesOf(int format)
    {
        static const QStringList full { QStringLiteral("Pondělí"), QStringLiteral("Úterý"),
            QStringLiteral("Středa"), QStringLiteral("Čtvrtek"), QStringLiteral("Pátek"),
            QStringLiteral("Sobota"), QStringLiteral("Neděle") };
        static const QStringList shortNames { QStringLiteral("Po"), QStringLiteral("Út"), QStringLiteral("St"),
            QStringLiteral("Čt"), QStringLiteral("Pá"), QStringLiteral("So"), QStringLiteral("Ne") };
        static const QStringList fullLower = [] {
            QStringList names;
            for (const QString& n : full)
                names << n.toLower();
            return names;
        }();
        static const QStringList shortLower = [] {
            QStringList names;
            for (const QString& n : shortNames)
                names << n.toLower();
            return names;
        }();
        switch (format) {
        case 0:
            return full;
        case 1:
            return shortNames;
        case 2:
            return fullLower;
        default:
            return shortLower;
        }
    }
}

const QStringList& pickerItems()
{
    static const QStringList items { QStringLiteral("Pondělí"), QStringLiteral("Po"),
        QStringLiteral("pondělí"), QStringLiteral("po") };
    return items;
}

int formatIndex(const QString& format)
{
    if (format.size() == 1 && format[0] >= u'0' && format[0] <= u'3')
        return format[0].unicode() - u'0';
    return -1;
}

QString name(const QDate& date, int format)
{
    if (format < 0 || format > 3 || !date.isValid())
        return {};
    return namesOf(format).at(date.dayOfWeek() - 1);
}

QString dateText(const QDate& date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

} // namespace day_names
