#pragma once

#include <QStringList>

class DayTable;
struct Settings;

// Getting the user out of files the program could not use.
namespace recovery {

// An empty record list (a data file with no whole record) gets the day rows of
// every year of the year list, named in the settings' format, and the settings'
// last year, number of years and number of days agree with the lists again.
// Returns whether rows were built.
bool fillEmptyTable(DayTable& table, Settings& settings);

} // namespace recovery
