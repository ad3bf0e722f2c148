#include "window_fixture.h"

#include "app/main_window.h"
#include "app/program.h"
#include "platform/clock.h"
#include "recording_messenger.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QToolButton>

namespace fixture {

std::unique_ptr<TForm1> openWindow(const QString& dir, Messenger& messenger, bool show)
{
    auto window = program::assembleMainWindow(dir, messenger);
    if (!show)
        return window;
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return nullptr;
    QCoreApplication::processEvents();
    return window;
}

void clickToolButton(TForm1& window, const char* name)
{
    auto* button = window.findChild<QToolButton*>(QString::fromLatin1(name));
    QVERIFY2(button, name);
    QTest::mouseClick(button, Qt::LeftButton);
}

void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

bool freshStart(std::unique_ptr<QTemporaryDir>& dir, RecordingMessenger& messenger)
{
    dir = std::make_unique<QTemporaryDir>();
    messenger.clear();
    clock_source::setNow(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
    return dir->isValid();
}

QStringList described(const RecordingMessenger& messenger)
{
    const char* icons[] = { "Information", "Warning", "Error", "Question", "NoIcon" };
    QStringList all;
    for (const auto& m : messenger.messages())
        all << QStringLiteral("%1|%2|%3").arg(QLatin1String(icons[int(m.icon)]), m.title, m.text);
    return all;
}

void click(const QObject* parent, const QString& name)
{
    QTest::mouseClick(child<QAbstractButton>(parent, name), Qt::LeftButton);
}

} // namespace fixture
