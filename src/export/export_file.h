#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <vector>

struct EventRecord;
struct Settings;

// Writes the day table's events of a date range to a file, in one of the formats.
namespace export_file {

enum class Format { ICalendar, Csv };

enum class Result {
    Written,
    NoEvents, // nothing in the range: no file is written (a calendar needs a component)
    Failed, // the file could not be written; a previous file is left whole
    NoPart, // the iCalendar part could not be loaded: no file is written
};

struct Request {
    Format format = Format::ICalendar;
    QString path;
    QDate from; // invalid: from the first day
    QDate to; // invalid: to the last day
};

// The bytes of the file `request` asks for (its path is not used), or NoEvents, or NoPart
// with the reason in `error`. `stamp` is the moment of the export (DTSTAMP).
Result render(const Request& request, const std::vector<EventRecord>& records, const Settings& settings,
    const QDateTime& stamp, QByteArray& bytes, QString* error = nullptr);

// render() into the request's file, which is replaced atomically.
Result write(const Request& request, const std::vector<EventRecord>& records, const Settings& settings,
    const QDateTime& stamp, QString* error = nullptr);

} // namespace export_file
