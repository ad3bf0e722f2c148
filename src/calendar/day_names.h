#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// The four forms of day names; the format number is kept as text ("0" ... "3").
namespace day_names {

// "Pondělí", "Po", "pondělí", "po": the settings picker's items, index = format.
const QStringList& pickerItems();

// The format number of the text, or -1 when it is none of "0" to "3".
int formatIndex(const QString& format);

// The weekday name of the date in the format (0 ... 3); empty for another format.
QString name(const QDate& date, int format);

// The date as the day table writes it: dd.mm.yyyy.
QString dateText(const QDate& date);

} // namespace day_names
