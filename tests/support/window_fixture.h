#pragma once

#include "records/event_record.h"
#include "recording_messenger.h"
#include "table_rows.h"

#include <QApplication>
#include <QString>
#include <QTemporaryDir>
#include <QStringList>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

class DayTable;
class Messenger;
class QWidget;
class RecordingMessenger;
class TForm1;

// What the tests that drive the program's windows share.
namespace fixture {

// The main window as users get it (built by the program's own assembling function) on
// the program directory `dir`; shown and exposed unless `show` is false. Null when it
// could not be shown.
std::unique_ptr<TForm1> openWindow(const QString& dir, Messenger& messenger, bool show = true);

// Runs `act` on the modal dialog of type T that `trigger` opens, closes the dialog if
// `act` left it open, and tells whether such a dialog came at all. `act` runs inside
// the dialog's own event loop, as the user's clicks and keys would.
template <typename T> bool onModal(const std::function<void(T&)>& act, const std::function<void()>& trigger)
{
    // Shared: when no dialog comes, the timer may fire after this has returned.
    const auto came = std::make_shared<bool>(false);
    QTimer::singleShot(0, [came, act] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        *came = true;
        act(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    trigger();
    return *came;
}

// Clicks the main window's toolbar button `name` (ToolButton1 ... ToolButton9) with the mouse.
void clickToolButton(TForm1& window, const char* name);

// Types any text, one key press per character (QTest's own typing takes Latin-1 only).
void typeText(QWidget* widget, const QString& text);

// The core support's record helpers, under the fixture's name too.
using table_rows::extraRow;
using table_rows::fieldsOf;

// A fresh program directory for the next test, the messenger emptied, and today a
// fixed day outside 2004 (6 December 2026) unless the test sets another. False when
// no directory could be made.
bool freshStart(std::unique_ptr<QTemporaryDir>& dir, RecordingMessenger& messenger);

// The row of a day of 2004 in the first run's table (which holds the days of 2004 only).
inline int rowOf2004(int day, int month)
{
    return QDate(2004, 1, 1).daysTo(QDate(2004, month, day));
}

// Every message shown so far as "icon|title|text" (icon: Information, Warning, Error,
// Question or NoIcon), to compare all three at once.
QStringList described(const RecordingMessenger& messenger);

// The child `name` of type T inside `parent`; stops the test run when there is none.
template <typename T> T* child(const QObject* parent, const QString& name)
{
    T* found = parent->findChild<T*>(name);
    if (!found)
        qFatal("no child %s", qPrintable(name));
    return found;
}

// Clicks the button `name` inside `parent` with the mouse.
void click(const QObject* parent, const QString& name);

} // namespace fixture
