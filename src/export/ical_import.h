#pragma once

#include "records/event_record.h"

#include <QByteArray>
#include <QString>

#include <vector>

class ICalendarPart;
struct Settings;

// Importing an iCalendar file: its events go to their days' rows, nothing that the
// day table holds already is added twice, and every event that cannot come in whole
// is counted, so that the user sees it before anything changes.
namespace ical_import {

// What an import does, counted by day: an event of three days counts three times.
struct Counts {
    int added = 0;
    int present = 0; // the same four texts stand in the day already
    int outside = 0; // before the first or after the last day of the calendar
    int cut = 0; // a text longer than its field
    int replaced = 0; // letters Windows-1250 cannot hold
    int lostText = 0; // a place or description that fits no shown column
    int empty = 0; // nothing to store: no time, no text
    int sameDay = 0; // further occurrences of one repeat on one day
    int cancelled = 0; // cancelled events and occurrences
    int undated = 0; // events without a start that is a real day
    bool repeatsCut = false; // a rule repeating more often than daily was not read to its end
};

enum class Outcome { Ready, Unreadable, EmptyFile, NotICalendar, NoEvents, NoPart };

struct Plan {
    Outcome outcome = Outcome::Ready;
    QString error; // the reason, for Unreadable and NoPart
    Counts counts;
    std::vector<EventRecord> records; // the whole table after the import (when something is added)
    int firstAdded = -1; // the first added row of `records`
};

// Reads the file and works out what importing it into `records` would do; the
// iCalendar part is loaded for it.
Plan prepare(const QString& path, const std::vector<EventRecord>& records, const Settings& settings);
// The same on the file's bytes, through the given part.
Plan prepare(const QByteArray& bytes, ICalendarPart& part, const std::vector<EventRecord>& records,
    const Settings& settings);

// The counts, one line each, for the question and the command line.
QString describe(const Counts& counts);
// The message for a plan that is not Ready.
QString failure(const Plan& plan, const QString& path);

// A text as a field of `capacity` characters can hold it: line breaks become blanks, a
// letter Windows-1250 lacks becomes the nearest one without its accent or else "?", and
// the text is cut to the capacity. Sets the flags when that happened.
QString fit(const QString& text, int capacity, bool& cut, bool& replaced);

} // namespace ical_import
