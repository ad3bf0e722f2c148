#pragma once

#include "calendar/overview_files.h"
#include "settings/settings.h"

#include <QString>
#include <QStringList>

class DayTable;

// nastaveni.ini, and the year list and day-count list that travel with it.
namespace settings_file {

inline const QString kFileName = QStringLiteral("nastaveni.ini");

// Reads the settings file into the record: a missing flag reads as set, a missing
// colour as black, a missing text leaves the field as it was. Values the program
// cannot use are mended. A missing or unreadable file reads as empty.
void read(const QString& dir, Settings& settings);
// Writes every key in its fixed order, keeping the file's other lines; atomic.
bool write(const QString& dir, const Settings& settings);

// Replaces values the rest of the program cannot use: a column count outside 4 to 6,
// a format outside 0 to 3, a width that is not a number.
void mend(Settings& settings);
// The last year, the number of years and the number of days as the lists say.
void agreeWithLists(Settings& settings, const QStringList& years, const QStringList& dayCounts);

// Loading the settings: the file, then both overview lists into the table. Lists
// that are missing, unreadable or damaged are rebuilt from the table's day rows.
struct LoadReport {
    overview_files::LoadResult lists = overview_files::LoadResult::Loaded;
    bool listsRebuilt = false;
};
LoadReport load(const QString& dir, Settings& settings, DayTable& table);
// The lists alone, as loading the settings reads them; the last year, the number
// of years and the number of days are then taken from them.
LoadReport loadLists(const QString& dir, Settings& settings, DayTable& table);

// Saving the settings: the file, then both overview lists. Each file that cannot
// be written keeps its previous contents; false when any of them failed.
bool save(const QString& dir, const Settings& settings, const DayTable& table);

} // namespace settings_file
