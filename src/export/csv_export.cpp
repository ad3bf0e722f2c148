#include "export/csv_export.h"

#include <QStringList>

namespace csv_export {

namespace {
const QByteArray kByteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");

QByteArray record(const QStringList& fields)
{
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString& text : fields)
        quoted << field(text);
    return quoted.join(u';').toUtf8() + "\r\n";
}
} // namespace

QString field(const QString& text)
{
    QString clean = export_events::withoutControls(text);
    // A spreadsheet runs a cell that starts like a formula: the apostrophe makes it
    // text (also when a control character before it was dropped).
    const auto startsWith
        = [](const QString& s, QStringView any) { return !s.isEmpty() && any.contains(s.front()); };
    if (startsWith(clean, u"=+-@") || startsWith(text, u"\t\r"))
        clean.prepend(u'\'');
    if (!clean.contains(u';') && !clean.contains(u'"') && !clean.contains(u'\n'))
        return clean;
    clean.replace(u'"', QStringLiteral("\"\""));
    clean.replace(u'\n', QStringLiteral("\r\n"));
    return u'"' + clean + u'"';
}

QByteArray write(const std::vector<export_events::Event>& events, const export_events::Columns& columns)
{
    const auto pick = [&columns](QStringList all) { return all.mid(0, columns.count - 1); };
    QByteArray out = kByteOrderMark;
    out += record(
        pick({ QStringLiteral("Datum"), columns.time, columns.event, columns.value1, columns.value2 }));
    for (const export_events::Event& event : events)
        out += record(pick(
            { export_events::dateText(event.date), event.time, event.text, event.value1, event.value2 }));
    return out;
}

} // namespace csv_export
