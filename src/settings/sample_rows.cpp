#include "settings/sample_rows.h"

#include "calendar/day_names.h"
#include "calendar/row_kind.h"
#include "search/case_rules.h"

#include <QDate>

namespace sample_rows {

namespace {
const QString kHolidayDate = QStringLiteral("06.07.2004");
const QString kEventTime = QStringLiteral("18,00");
} // namespace

Row row(int row, const QString& format)
{
    // The rows run from Thursday 1 July 2004; only the last one holds an event.
    const QDate date(2004, 7, 1 + row);
    const int index = day_names::formatIndex(format);
    Row sample { day_names::name(date, index < 0 ? 1 : index), day_names::dateText(date), {}, {} };
    if (row == kCount - 1) {
        sample.time = kEventTime;
        sample.event = QStringLiteral("Klímkovice, festival");
    }
    return sample;
}

int itemOf(int row, const Row& sample)
{
    int item = row % 2 == 0 ? row_kind::Even : row_kind::Odd;
    if (case_rules::equalsAllLetters(sample.dayName, u"So")
        || case_rules::equalsAllLetters(sample.dayName, u"Sobota"))
        item = row_kind::Saturday;
    if (case_rules::equalsAllLetters(sample.dayName, u"Ne")
        || case_rules::equalsAllLetters(sample.dayName, u"Neděle"))
        item = row_kind::Sunday;
    if (sample.date == kHolidayDate)
        item = row_kind::Holiday;
    if (sample.time == kEventTime)
        item = row_kind::Event;
    return item;
}

const QString& caption(int item)
{
    static const std::array<QString, Settings::kItemCount> captions { QStringLiteral("Datum 1:"),
        QStringLiteral("Datum 2:"), QStringLiteral("Sobota:"), QStringLiteral("Neděle:"),
        QStringLiteral("Svátek:"), QStringLiteral("Akce:") };
    return captions.at(static_cast<size_t>(item));
}

std::int32_t defaultRowColour(int item)
{
    if (item == row_kind::Saturday)
        return colour_code::rgb(0, 128, 128);
    return Settings::defaultItems().at(static_cast<size_t>(item)).rowColour;
}

std::int32_t defaultFontColour(int item)
{
    return Settings::defaultItems().at(static_cast<size_t>(item)).fontColour;
}

const QString& defaultFont()
{
    static const QString font = Settings::defaultItems().front().font;
    return font;
}

} // namespace sample_rows
