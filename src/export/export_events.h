#pragma once

#include "settings/settings.h"

#include <QDate>
#include <QString>

#include <vector>

struct EventRecord;

// What the export formats write: the events of the day table, each dated by its
// day row, and the column titles they are written under.
namespace export_events {

struct Event {
    QDate date;
    // How many earlier events of the same day have exactly the same texts; keeps
    // identical events of one day apart without depending on their neighbours.
    int repeat = 0;
    QString time;
    QString text;
    QString value1;
    QString value2;
};

// Every row with text other than blanks in its time, event or value fields (the rule
// deleting uses too) whose day lies in
// [from, to]; an invalid bound leaves that side open. An extra row belongs to the
// nearest day row above it; rows under a day row whose date cannot be read are skipped.
std::vector<Event> collect(const std::vector<EventRecord>& records, const QDate& from, const QDate& to);

// Column titles and the number of columns shown, from the settings record.
struct Columns {
    QString time;
    QString event;
    QString value1;
    QString value2;
    int count = 4;

    static Columns from(const Settings& settings);
};

// The date text of the day table: dd.mm.yyyy.
QDate parseDate(const QString& text);
QString dateText(const QDate& date);

// Text without control characters; line breaks (CR LF, CR or LF) become LF.
QString withoutControls(const QString& text);

} // namespace export_events
