#include "parts/ical/ical_reader.h"
#include "parts/ical/ical_writer.h"
#include "parts/ical_part.h"

#include <QObject>

#include <libical/ical.h>

// The part's root object: libical behind the program's interface.
class ICalendarPlugin final : public QObject, public ICalendarPart {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ZorivkaICalendarPart_iid)
    Q_INTERFACES(ICalendarPart)

public:
    ICalendarPlugin()
    {
        // A damaged file is an answer, never an abort.
        icalerror_set_errors_are_fatal(0);
    }

    QByteArray write(const ical::OutCalendar& calendar) override { return ical::writeCalendar(calendar); }

    ical::ReadResult read(const QByteArray& bytes, const QDate& from, const QDate& to, ical::InCalendar& out,
        QString& error) override
    {
        return ical::readCalendar(bytes, from, to, out, error);
    }
};

#include "ical_plugin.moc"
