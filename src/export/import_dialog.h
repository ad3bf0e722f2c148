#pragma once

#include <QString>

#include <functional>

class DayTable;
class Messenger;
class QWidget;
struct Settings;

// Asks for the name of a file to read; an empty name when the user cancels. The program
// shows a file dialog; tests answer on their own.
using OpenFileChooser = std::function<QString(
    QWidget* parent, const QString& caption, const QString& dir, const QString& filter)>;

// The file dialog of the desktop.
OpenFileChooser openFileDialogChooser();

// "Importovat...": asks for an iCalendar file, says what importing it would do and, after
// "Ano", adds its events to the table. Returns the first added row, or -1 when nothing
// changed.
int importFromWindow(QWidget* parent, DayTable& table, const Settings& settings, Messenger& messenger,
    const OpenFileChooser& chooser);
