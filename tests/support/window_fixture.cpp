#include "window_fixture.h"

#include "app/main_window.h"
#include "app/program.h"
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

EventRecord extraRow(const QString& time, const QString& event, const QString& value1, const QString& value2)
{
    using Field = EventRecord::Field;
    EventRecord record = EventRecord::blank();
    record.setText(Field::Time, time);
    record.setText(Field::Event, event);
    record.setText(Field::Value1, value1);
    record.setText(Field::Value2, value2);
    return record;
}

QStringList fieldsOf(const EventRecord& record)
{
    QStringList all;
    for (int f = 0; f < EventRecord::fieldCount; ++f)
        all << record.text(EventRecord::Field(f));
    return all;
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
