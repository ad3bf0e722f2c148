#include "export/export_file.h"

#include "export/csv_export.h"
#include "export/export_events.h"
#include "export/icalendar.h"
#include "records/event_record.h"
#include "settings/settings.h"

#include <QSaveFile>

namespace export_file {

Result render(const Request& request, const std::vector<EventRecord>& records, const Settings& settings,
    const QDateTime& stamp, QByteArray& bytes, QString* error)
{
    const std::vector<export_events::Event> events
        = export_events::collect(records, request.from, request.to);
    if (events.empty())
        return Result::NoEvents;
    const export_events::Columns columns = export_events::Columns::from(settings);
    if (request.format == Format::Csv) {
        bytes = csv_export::write(events, columns);
        return Result::Written;
    }
    std::optional<QByteArray> calendar = icalendar::write(events, columns, stamp, error);
    if (!calendar)
        return Result::NoPart;
    bytes = std::move(*calendar);
    return Result::Written;
}

Result write(const Request& request, const std::vector<EventRecord>& records, const Settings& settings,
    const QDateTime& stamp, QString* error)
{
    QByteArray bytes;
    if (const Result result = render(request, records, settings, stamp, bytes, error);
        result != Result::Written)
        return result;
    QSaveFile file(request.path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return Result::Written;
    if (error)
        *error = file.errorString();
    file.cancelWriting();
    return Result::Failed;
}

} // namespace export_file
