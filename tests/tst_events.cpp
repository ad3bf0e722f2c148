#include "app/main_window.h"
#include "app/program.h"
#include "calendar/day_table.h"
#include "platform/clock.h"
#include "recording_messenger.h"
#include "records/data_file.h"
#include "records/edit_record_dialog.h"
#include "records/new_record_dialog.h"
#include "records/placing.h"
#include "test_files.h"
#include "widgets/date_field.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <cstring>
#include <functional>
#include <memory>

namespace {

using Field = EventRecord::Field;

// Row of dd.mm.2004 in a first-run table (the rows are the days of 2004).
int rowOf(int day, int month)
{
    return QDate(2004, 1, 1).daysTo(QDate(2004, month, day));
}

EventRecord extraRow(
    const QString& time, const QString& event, const QString& value1 = {}, const QString& value2 = {})
{
    EventRecord record = EventRecord::blank();
    record.setText(Field::Time, time);
    record.setText(Field::Event, event);
    record.setText(Field::Value1, value1);
    record.setText(Field::Value2, value2);
    return record;
}

// Types any text, one key press per character (QTest's own only types Latin-1).
void type(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

QStringList texts(const EventRecord& record)
{
    QStringList all;
    for (int f = 0; f < EventRecord::fieldCount; ++f)
        all << record.text(Field(f));
    return all;
}

// Runs `act` on the modal dialog of type T that the next command opens.
template <typename T> void onDialog(std::function<void(T&)> act)
{
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        QVERIFY2(dialog, "no dialog of the expected kind opened");
        act(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

} // namespace

class TestEvents : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void threeItemsGoUnderTheDayRow();
    void anExtraRowStaysTheTarget();
    void anEarlierEventNamingTheDateIsLeftAlone();
    void noTargetKeepsTheDialogOpen();
    void hiddenColumnsGiveEmptyValues();
    void fewerItemsDropTheRowsBeyond();
    void escAndCancelCreateNothing();
    void theGridFollowsTheColumnCount();
    void textsAreCp1250AndCutToCapacity();
    void editingKeepsHiddenValues();
    void editingShowsAtMostTenRowsOfOneDay();
    void editingNearTheEndStopsAtTheLastRow();
    void cancelledEditingChangesNothing();
    void doubleClickEditsAndWritesBack();
    void deletingAnExtraRowOrADayRowsEvent();
    void emptyRowsAndNoChangeNothing();
    void deletingAllKeepsThePreviousFile();
    void changesSurviveARestart();
    void lookupFindsTheDayRowOfADate();
    void placingReportsRowsThatAreGone();
    void keyboardAloneCreatesThreeEvents();
    void halfTypedDateAndAMouseClickCreateNothing();
    void aDateFromTheCalendarMovesOnToTheItems();

private:
    std::unique_ptr<TForm1> open();
    QString file(const QString& name) const { return m_dir->filePath(name); }
    void fillRow(RecordDialog& dialog, int row, const QStringList& texts);
    void createOn(int row, const std::function<void(Tzaznam&)>& act);

    std::unique_ptr<QTemporaryDir> m_dir;
    RecordingMessenger m_messenger;
    std::unique_ptr<TForm1> m_window;
};

void TestEvents::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestEvents::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_messenger.clear();
    clock_source::setNow(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
    m_window = open();
    QVERIFY(m_window);
}

void TestEvents::cleanup()
{
    m_window.reset();
    clock_source::setNow({});
}

std::unique_ptr<TForm1> TestEvents::open()
{
    auto window = program::assembleMainWindow(m_dir->path(), m_messenger);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return nullptr;
    QCoreApplication::processEvents();
    return window;
}

void TestEvents::fillRow(RecordDialog& dialog, int row, const QStringList& texts)
{
    for (int c = 0; c < texts.size(); ++c)
        dialog.edit(row, c + 1)->setText(texts[c]);
}

void TestEvents::createOn(int row, const std::function<void(Tzaznam&)>& act)
{
    m_window->selectRow(row);
    onDialog<Tzaznam>(act);
    m_window->findChild<QToolButton*>("ToolButton1")->click();
}

void TestEvents::threeItemsGoUnderTheDayRow()
{
    DayTable& table = m_window->table();
    const int day = rowOf(11, 1);
    EventRecord withEvent = table.record(day);
    withEvent.setText(Field::Event, "Staré");
    table.setRecord(day, withEvent);
    table.insertRecord(day + 1, extraRow("18:00", "Dřívější 1"));
    table.insertRecord(day + 2, extraRow("19:00", "Dřívější 2"));
    const int rows = table.rowCount();
    QAbstractItemModelTester tester(&m_window->model());
    QSignalSpy resets(&m_window->model(), &QAbstractItemModel::modelReset);

    createOn(day, [this](Tzaznam& dialog) {
        QCOMPARE(dialog.dateField()->text(), QStringLiteral("11.01.2004"));
        QCOMPARE(m_window->state().pocet, QStringList { QString::number(rowOf(11, 1)) });
        QTest::keyClick(dialog.itemCountBox(), Qt::Key_Up);
        QTest::keyClick(dialog.itemCountBox(), Qt::Key_Up);
        QCOMPARE(dialog.itemCount(), 3);
        fillRow(dialog, 1, { "10:00", "Koncert" });
        fillRow(dialog, 2, { "11:00", "Výstava" });
        fillRow(dialog, 3, { "12:00", "Divadlo" });
        dialog.findChild<QPushButton*>("Button1")->click();
    });

    // The day's own event stays; all three items go directly under it, in order.
    QCOMPARE(table.rowCount(), rows + 3);
    QCOMPARE(texts(table.record(day)).mid(1), QStringList({ "11.01.2004", "", "Staré", "", "" }));
    QVERIFY(table.record(day).isDayRow());
    QCOMPARE(texts(table.record(day + 1)), QStringList({ "", "", "10:00", "Koncert", "", "" }));
    QCOMPARE(table.record(day + 2).text(Field::Event), QStringLiteral("Výstava"));
    QCOMPARE(table.record(day + 3).text(Field::Event), QStringLiteral("Divadlo"));
    QCOMPARE(table.record(day + 4).text(Field::Event), QStringLiteral("Dřívější 1"));
    QCOMPARE(table.record(day + 5).text(Field::Event), QStringLiteral("Dřívější 2"));
    QCOMPARE(table.record(day + 6).text(Field::Date), QStringLiteral("12.01.2004"));
    QCOMPARE(m_window->selectedRow(), day + 3);
    QCOMPARE(resets.count(), 0);
    // The dialog leaves the record fields as it found them.
    QVERIFY(m_window->state().pocet.isEmpty());
    QVERIFY(m_window->state().u1.isEmpty() && m_window->state().u2.isEmpty());
    QVERIFY(m_window->state().ze[4].isEmpty());
}

void TestEvents::anExtraRowStaysTheTarget()
{
    DayTable& table = m_window->table();
    const int day = rowOf(2, 2);
    // Blanks only: the row holds no event, so item 1 fills it.
    table.insertRecord(day + 1, extraRow("  ", " "));
    const int rows = table.rowCount();
    createOn(day + 1, [this](Tzaznam& dialog) {
        QVERIFY(dialog.dateField()->isEmpty());
        QTest::keyClick(dialog.itemCountBox(), Qt::Key_Up);
        QTest::keyClick(dialog.itemCountBox(), Qt::Key_Up);
        fillRow(dialog, 1, { "9:00", "Nové" });
        fillRow(dialog, 2, { " ", "  " }); // a blank item makes no row
        fillRow(dialog, 3, { "9:30", "Druhé" });
        dialog.findChild<QPushButton*>("Button1")->click();
    });
    QCOMPARE(table.rowCount(), rows + 1);
    QCOMPARE(texts(table.record(day + 1)), QStringList({ "", "", "9:00", "Nové", "", "" }));
    QCOMPARE(texts(table.record(day + 2)), QStringList({ "", "", "9:30", "Druhé", "", "" }));
    QCOMPARE(texts(table.record(day)).mid(1), QStringList({ "02.02.2004", "", "", "", "" }));
    QCOMPARE(m_window->selectedRow(), day + 2);
    QVERIFY(m_messenger.messages().isEmpty());

    // Opened on an extra row with an event, the date untouched: item 1 goes under it.
    createOn(day + 2, [this](Tzaznam& dialog) {
        fillRow(dialog, 1, { "", "Třetí" });
        dialog.findChild<QPushButton*>("Button1")->click();
    });
    QCOMPARE(table.record(day + 2).text(Field::Event), QStringLiteral("Druhé"));
    QCOMPARE(texts(table.record(day + 3)), QStringList({ "", "", "", "Třetí", "", "" }));
    QCOMPARE(m_window->selectedRow(), day + 3);
}

void TestEvents::anEarlierEventNamingTheDateIsLeftAlone()
{
    DayTable& table = m_window->table();
    const EventRecord early = extraRow("", "předprodej do 15.03.2004");
    table.insertRecord(rowOf(5, 1) + 1, early);
    const int target = rowOf(15, 3) + 1;
    createOn(rowOf(1, 3), [&](Tzaznam& dialog) {
        dialog.dateField()->setDate(QDate(2004, 3, 15));
        // The list follows the date field.
        QCOMPARE(m_window->selectedRow(), target);
        QCOMPARE(m_window->state().pocet, QStringList { QString::number(target) });
        fillRow(dialog, 1, { "20:00", "Premiéra" });
        dialog.findChild<QPushButton*>("Button1")->click();
    });
    QCOMPARE(table.record(rowOf(5, 1) + 1), early);
    QCOMPARE(texts(table.record(target)).mid(1), QStringList({ "15.03.2004", "20:00", "Premiéra", "", "" }));
    QCOMPARE(table.record(rowOf(1, 3) + 1).text(Field::Event), QString());
}

void TestEvents::noTargetKeepsTheDialogOpen()
{
    DayTable& table = m_window->table();
    const auto before = table.records();
    int failures = 0;
    createOn(rowOf(10, 6), [&](Tzaznam& dialog) {
        auto* create = dialog.findChild<QPushButton*>("Button1");
        fillRow(dialog, 1, { "1", "Nikde" });
        // A date outside the calendar, a field the user emptied, an unfinished date.
        const auto attempt = [&] {
            m_messenger.clear();
            create->click();
            QVERIFY(dialog.isVisible());
            QCOMPARE(m_messenger.messages().size(), 1);
            QCOMPARE(m_messenger.messages()[0].text, QStringLiteral("Hledaný datum nebyl nalezen"));
            QCOMPARE(m_messenger.messages()[0].title, QStringLiteral("Nový záznam"));
            QCOMPARE(m_messenger.messages()[0].icon, Messenger::Icon::Error);
            ++failures;
        };
        dialog.dateField()->setDate(QDate(2005, 1, 3));
        attempt();
        dialog.dateField()->clear();
        attempt();
        dialog.dateField()->setDate(QDate(2004, 6, 10));
        dialog.dateField()->lineEdit()->setFocus();
        dialog.dateField()->lineEdit()->selectAll();
        QTest::keyClicks(dialog.dateField()->lineEdit(), "1206");
        attempt();
        // Another date then works.
        dialog.dateField()->setDate(QDate(2004, 6, 11));
        create->click();
        QVERIFY(!dialog.isVisible());
    });
    QCOMPARE(failures, 3);
    QCOMPARE(table.rowCount(), int(before.size()));
    QCOMPARE(table.record(rowOf(11, 6)).text(Field::Event), QStringLiteral("Nikde"));
    QCOMPARE(table.record(rowOf(10, 6)), before[size_t(rowOf(10, 6))]);
}

void TestEvents::hiddenColumnsGiveEmptyValues()
{
    DayTable& table = m_window->table();
    // From the last day back, so that added rows move none of the days still to come.
    for (const QString columns : { "6", "5", "4" }) {
        m_window->settings().pocets = columns;
        const int day = rowOf(columns.toInt(), 4);
        createOn(day, [&](Tzaznam& dialog) {
            QTest::keyClick(dialog.itemCountBox(), Qt::Key_Up);
            // The hidden edits may hold texts; they are not taken.
            fillRow(dialog, 1, { "1", "A", "v1", "v2" });
            fillRow(dialog, 2, { "2", "B", "w1", "w2" });
            dialog.findChild<QPushButton*>("Button1")->click();
        });
        const bool one = columns != "4";
        const bool two = columns == "6";
        QCOMPARE(table.record(day).text(Field::Value1), one ? QStringLiteral("v1") : QString());
        QCOMPARE(table.record(day).text(Field::Value2), two ? QStringLiteral("v2") : QString());
        QCOMPARE(table.record(day + 1).text(Field::Value1), one ? QStringLiteral("w1") : QString());
        QCOMPARE(table.record(day + 1).text(Field::Value2), two ? QStringLiteral("w2") : QString());
    }
}

void TestEvents::fewerItemsDropTheRowsBeyond()
{
    DayTable& table = m_window->table();
    const int rows = table.rowCount();
    createOn(rowOf(1, 7), [&](Tzaznam& dialog) {
        QSpinBox* count = dialog.itemCountBox();
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(count, Qt::Key_Up);
        for (int k = 1; k <= 5; ++k)
            fillRow(dialog, k, { QString::number(k), QStringLiteral("Položka %1").arg(k) });
        QTest::keyClick(count, Qt::Key_Down);
        QTest::keyClick(count, Qt::Key_Down);
        // Typing into the count does nothing.
        QTest::keyClicks(count, "9");
        QCOMPARE(count->value(), 3);
        QVERIFY(!dialog.edit(4, 2)->isVisible());
        QVERIFY(dialog.edit(3, 2)->isVisible());
        dialog.findChild<QPushButton*>("Button1")->click();
    });
    QCOMPARE(table.rowCount(), rows + 2);
    QCOMPARE(table.record(rowOf(1, 7) + 2).text(Field::Event), QStringLiteral("Položka 3"));
    QCOMPARE(table.record(rowOf(1, 7) + 3).text(Field::Date), QStringLiteral("02.07.2004"));
}

void TestEvents::escAndCancelCreateNothing()
{
    DayTable& table = m_window->table();
    const auto before = table.records();
    createOn(rowOf(3, 3), [&](Tzaznam& dialog) {
        QTest::keyClick(dialog.itemCountBox(), Qt::Key_Up);
        fillRow(dialog, 1, { "1", "Nic" });
        dialog.edit(2, 2)->setFocus();
        QTest::keyClick(dialog.edit(2, 2), Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    });
    createOn(rowOf(3, 3), [&](Tzaznam& dialog) {
        dialog.dateField()->lineEdit()->setFocus();
        QTest::keyClick(dialog.dateField()->lineEdit(), Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    });
    createOn(rowOf(3, 3), [&](Tzaznam& dialog) {
        fillRow(dialog, 1, { "1", "Nic" });
        dialog.dateField()->setDate(QDate(2004, 3, 4));
        dialog.findChild<QPushButton*>("Button2")->click();
    });
    QVERIFY(table.records() == before);
    QVERIFY(m_window->state().pocet.isEmpty());
    QVERIFY(m_window->state().ListBox1.isEmpty());
    QCOMPARE(m_window->focusWidget(), m_window->listView());
}

void TestEvents::theGridFollowsTheColumnCount()
{
    const QList<QPair<QString, int>> widths = { { "4", 287 }, { "5", 367 }, { "6", 487 } };
    for (const auto& [columns, width] : widths) {
        m_window->settings().pocets = columns;
        createOn(rowOf(9, 9), [&, width = width, columns = columns](Tzaznam& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Nový záznam"));
            QCOMPARE(dialog.width(), width);
            QCOMPARE(dialog.height(), 327);
            QCOMPARE(dialog.edit(1, 3)->isVisible(), columns != "4");
            QCOMPARE(dialog.edit(1, 4)->isVisible(), columns == "6");
            QCOMPARE(dialog.edit(2, 1)->y() - dialog.edit(1, 1)->y(), 21);
            QVERIFY(!dialog.edit(2, 1)->isVisible());
            QStringList headers;
            for (auto* label : dialog.findChildren<QLabel*>())
                if (label->isVisible() && label->buddy() == nullptr)
                    headers << label->text();
            QCOMPARE(headers, QStringList({ "Hod.", "Akce", "1", "2" }).mid(0, columns.toInt() - 2));
        });
    }
    m_window->settings().pocets = "6";
    createOn(rowOf(9, 9), [](Tzaznam& dialog) {
        QCOMPARE(dialog.edit(3, 2)->objectName(), QStringLiteral("Edit10"));
        QCOMPARE(dialog.edit(3, 2)->accessibleName(), QStringLiteral("Akce 3"));
        QCOMPARE(dialog.edit(10, 1)->accessibleName(), QStringLiteral("Hod. 10"));
        QCOMPARE(dialog.edit(10, 4)->objectName(), QStringLiteral("Edit40"));
        QCOMPARE(dialog.itemCountBox()->accessibleName(), QStringLiteral("Počet položek pro vytvoření:"));
        QCOMPARE(dialog.dateField()->lineEdit()->accessibleName(), QStringLiteral("Vytvořit k datu:"));
        dialog.edit(1, 2)->setText("Dlouhý text akce");
        QCOMPARE(dialog.edit(1, 2)->toolTip(), QStringLiteral("Dlouhý text akce"));
        QTest::keyClick(dialog.edit(1, 2), Qt::Key_Backspace);
        QCOMPARE(dialog.edit(1, 2)->toolTip(), QStringLiteral("Dlouhý text akc"));
    });
}

void TestEvents::textsAreCp1250AndCutToCapacity()
{
    DayTable& table = m_window->table();
    const int day = rowOf(20, 5);
    createOn(day, [](Tzaznam& dialog) {
        QLineEdit* event = dialog.edit(1, 2);
        QCOMPARE(event->maxLength(), 40);
        QCOMPARE(dialog.edit(1, 1)->maxLength(), 12);
        event->setFocus();
        type(event, QStringLiteral("Žluťoučký kůň €"));
        type(event, QStringLiteral("日"));
        QCOMPARE(event->text(), QStringLiteral("Žluťoučký kůň €"));
        dialog.findChild<QPushButton*>("Button1")->click();
    });
    QCOMPARE(table.record(day).text(Field::Event), QStringLiteral("Žluťoučký kůň €"));

    // The edit dialog takes any length and stores what fits.
    m_window->selectRow(day);
    onDialog<Teditovat>([](Teditovat& dialog) {
        QCOMPARE(dialog.edit(1, 2)->text(), QStringLiteral("Žluťoučký kůň €"));
        dialog.edit(1, 2)->setText(QString(50, QLatin1Char('x')));
        dialog.findChild<QPushButton*>("Button1")->click();
    });
    m_window->findChild<QToolButton*>("ToolButton2")->click();
    QCOMPARE(table.record(day).text(Field::Event), QString(40, QLatin1Char('x')));
}

void TestEvents::editingKeepsHiddenValues()
{
    DayTable& table = m_window->table();
    // From the last day back, so that added rows move none of the days still to come.
    for (const QString columns : { "6", "5", "4" }) {
        m_window->settings().pocets = columns;
        const int day = rowOf(columns.toInt() + 10, 8);
        EventRecord first = table.record(day);
        first.setText(Field::Time, "10:00");
        first.setText(Field::Event, "Akce");
        first.setText(Field::Value1, "jedna");
        first.setText(Field::Value2, "dvě");
        table.setRecord(day, first);
        table.insertRecord(day + 1, extraRow("11:00", "Další", "tři", "čtyři"));
        m_window->selectRow(day);
        onDialog<Teditovat>([&](Teditovat& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Editovat záznam"));
            QCOMPARE(dialog.height(), 271);
            QCOMPARE(dialog.itemCount(), 2);
            QCOMPARE(dialog.edit(2, 2)->text(), QStringLiteral("Další"));
            QCOMPARE(dialog.edit(1, 3)->text(), columns == "4" ? QString() : QStringLiteral("jedna"));
            dialog.edit(1, 2)->setText("Změněno");
            dialog.edit(2, 1)->setText("12:00");
            dialog.edit(2, 3)->setText(columns == "4" ? QString() : QStringLiteral("pět"));
            dialog.findChild<QPushButton*>("Button1")->click();
        });
        m_window->findChild<QToolButton*>("ToolButton2")->click();
        const QString date = QDate(2004, 8, columns.toInt() + 10).toString("dd.MM.yyyy");
        QCOMPARE(texts(table.record(day)).mid(1), QStringList({ date, "10:00", "Změněno", "jedna", "dvě" }));
        QCOMPARE(texts(table.record(day + 1)),
            QStringList({ "", "", "12:00", "Další", columns == "4" ? "tři" : "pět", "čtyři" }));
        QCOMPARE(m_window->selectedRow(), day);
    }
}

void TestEvents::editingShowsAtMostTenRowsOfOneDay()
{
    DayTable& table = m_window->table();
    const int day = rowOf(1, 10);
    for (int i = 12; i >= 1; --i)
        table.insertRecord(day + 1, extraRow(QString::number(i), QStringLiteral("Akce %1").arg(i)));
    onDialog<Teditovat>([](Teditovat& dialog) {
        QCOMPARE(dialog.itemCount(), 10);
        QVERIFY(dialog.edit(10, 2)->isVisible());
        QCOMPARE(dialog.edit(10, 2)->text(), QStringLiteral("Akce 9"));
    });
    m_window->selectRow(day);
    m_window->findChild<QToolButton*>("ToolButton2")->click();

    // A day with one extra row shows two items, not the next day's rows.
    table.insertRecord(rowOf(3, 10) + 12 + 1, extraRow("1", "Jiný den"));
    onDialog<Teditovat>([](Teditovat& dialog) {
        QCOMPARE(dialog.itemCount(), 2);
        QCOMPARE(dialog.edit(2, 2)->text(), QStringLiteral("Akce 1"));
        QVERIFY(!dialog.edit(3, 2)->isVisible());
    });
    table.removeRecords(day + 2, 11);
    m_window->selectRow(day);
    m_window->findChild<QToolButton*>("ToolButton2")->click();
}

void TestEvents::editingNearTheEndStopsAtTheLastRow()
{
    DayTable& table = m_window->table();
    const int last = table.rowCount() - 1;
    table.insertRecord(last + 1, extraRow("1", "Silvestr"));
    table.insertRecord(last + 2, extraRow("2", "Půlnoc"));
    m_window->selectRow(last);
    onDialog<Teditovat>([&](Teditovat& dialog) {
        QCOMPARE(dialog.itemCount(), 3);
        QCOMPARE(m_window->state().ListBox1,
            QStringList({ QString::number(last), QString::number(last + 1), QString::number(last + 2) }));
        dialog.edit(3, 2)->setText("Ohňostroj");
        dialog.findChild<QPushButton*>("Button1")->click();
    });
    m_window->findChild<QToolButton*>("ToolButton2")->click();
    QCOMPARE(table.rowCount(), last + 3);
    QCOMPARE(table.record(last + 2).text(Field::Event), QStringLiteral("Ohňostroj"));

    // An extra row alone is its own entry.
    m_window->selectRow(last + 1);
    onDialog<Teditovat>([](Teditovat& dialog) {
        QCOMPARE(dialog.itemCount(), 1);
        QCOMPARE(dialog.edit(1, 2)->text(), QStringLiteral("Silvestr"));
        dialog.findChild<QPushButton*>("Button1")->click();
    });
    m_window->findChild<QToolButton*>("ToolButton2")->click();
    QCOMPARE(texts(table.record(last + 1)), QStringList({ "", "", "1", "Silvestr", "", "" }));
}

void TestEvents::cancelledEditingChangesNothing()
{
    DayTable& table = m_window->table();
    table.insertRecord(rowOf(4, 4) + 1, extraRow("1", "Beze změny"));
    const auto before = table.records();
    for (bool escape : { false, true }) {
        m_window->selectRow(rowOf(4, 4));
        onDialog<Teditovat>([escape](Teditovat& dialog) {
            dialog.edit(1, 2)->setText("Změna");
            dialog.edit(2, 2)->setText("Změna");
            if (escape)
                QTest::keyClick(dialog.edit(2, 2), Qt::Key_Escape);
            else
                dialog.findChild<QPushButton*>("Button2")->click();
        });
        m_window->findChild<QToolButton*>("ToolButton2")->click();
    }
    QVERIFY(table.records() == before);
    QVERIFY(m_window->state().ListBox1.isEmpty());
    QVERIFY(m_window->state().ze[1].isEmpty());
}

void TestEvents::doubleClickEditsAndWritesBack()
{
    DayTable& table = m_window->table();
    const int day = rowOf(8, 8);
    m_window->selectRow(day);
    QTableView* list = m_window->listView();
    const QRect cell = list->visualRect(m_window->model().index(day, 1));
    onDialog<Teditovat>([](Teditovat& dialog) {
        QCOMPARE(dialog.itemCount(), 1);
        dialog.edit(1, 1)->setText("17:00");
        dialog.edit(1, 2)->setText("Dvojklik");
        dialog.findChild<QPushButton*>("Button1")->click();
    });
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(texts(table.record(day)).mid(1), QStringList({ "08.08.2004", "17:00", "Dvojklik", "", "" }));
    QCOMPARE(table.rowCount(), 366);
}

void TestEvents::deletingAnExtraRowOrADayRowsEvent()
{
    DayTable& table = m_window->table();
    m_window->settings().pocets = "4";
    const int day = rowOf(6, 6);
    EventRecord first = table.record(day);
    first.setText(Field::Time, "10:00");
    first.setText(Field::Event, "Pryč");
    first.setText(Field::Value1, "skryté");
    table.setRecord(day, first);
    table.insertRecord(day + 1, extraRow("11:00", "Zůstane"));
    table.insertRecord(day + 2, extraRow("12:00", "Smazat"));
    const int rows = table.rowCount();
    auto* remove = m_window->findChild<QToolButton*>("ToolButton3");

    m_messenger.scriptAnswers({ true });
    m_window->selectRow(day + 2);
    remove->click();
    QCOMPARE(m_messenger.messages().size(), 1);
    QCOMPARE(m_messenger.messages()[0].title, QStringLiteral("Smazat záznam"));
    QCOMPARE(m_messenger.messages()[0].text, QStringLiteral("Opravdu chcete smazat označený záznam ???"));
    QCOMPARE(m_messenger.messages()[0].icon, Messenger::Icon::Question);
    QCOMPARE(table.rowCount(), rows - 1);
    QCOMPARE(table.record(day + 2).text(Field::Date), QStringLiteral("07.06.2004"));

    m_messenger.scriptAnswers({ true });
    m_window->selectRow(day);
    remove->click();
    QCOMPARE(table.rowCount(), rows - 1);
    QCOMPARE(texts(table.record(day)).mid(1), QStringList({ "06.06.2004", "", "", "", "" }));
    QVERIFY(table.record(day).isDayRow());
    QCOMPARE(table.record(day + 1).text(Field::Event), QStringLiteral("Zůstane"));
    QCOMPARE(m_messenger.messages().size(), 2);
    QVERIFY(m_window->state().pocet.isEmpty() && m_window->state().ListBox1.isEmpty());

    // A row with an event but no time is deleted like any other.
    table.insertRecord(day + 2, extraRow("", "Celodenní výstava"));
    m_messenger.scriptAnswers({ true });
    m_window->selectRow(day + 2);
    m_window->findChild<QAction*>("Smazatzaznam1")->trigger();
    QCOMPARE(table.rowCount(), rows - 1);
    QCOMPARE(m_messenger.messages().size(), 3);
}

void TestEvents::emptyRowsAndNoChangeNothing()
{
    DayTable& table = m_window->table();
    const int day = rowOf(14, 2);
    EventRecord blanks = table.record(day);
    blanks.setText(Field::Time, "  ");
    table.setRecord(day, blanks);
    table.insertRecord(day + 1, extraRow(" ", ""));
    table.insertRecord(day + 2, extraRow("20:00", "Zůstává"));
    auto before = table.records();
    auto* remove = m_window->findChild<QToolButton*>("ToolButton3");

    // A day row of blanks has nothing to delete.
    m_messenger.scriptAnswers({ true });
    m_window->selectRow(day);
    remove->click();
    QCOMPARE(m_messenger.messages().size(), 2);
    QCOMPARE(m_messenger.messages()[0].icon, Messenger::Icon::Question);
    QCOMPARE(m_messenger.messages()[1].text, QStringLiteral("Záznam je prázdný"));
    QCOMPARE(m_messenger.messages()[1].title, QStringLiteral("Chyba"));
    QCOMPARE(m_messenger.messages()[1].icon, Messenger::Icon::Error);
    QVERIFY(table.records() == before);

    // Answering No changes nothing, for one row or all.
    m_messenger.clear();
    m_messenger.scriptAnswers({ false });
    m_window->selectRow(day + 1);
    remove->click();
    m_messenger.scriptAnswers({ false });
    m_window->findChild<QToolButton*>("ToolButton4")->click();
    QCOMPARE(m_messenger.messages().size(), 2);
    QCOMPARE(m_messenger.messages()[1].title, QStringLiteral("Smazat vše"));
    QCOMPARE(m_messenger.messages()[1].text, QStringLiteral("Opravdu chcete smazat všechny záznamy ???"));
    QVERIFY(table.records() == before);

    // A blank extra row goes after the question: nothing else could remove it.
    m_messenger.clear();
    m_messenger.scriptAnswers({ true });
    remove->click();
    QCOMPARE(m_messenger.messages().size(), 1);
    before.erase(before.begin() + day + 1);
    QVERIFY(table.records() == before);
}

void TestEvents::deletingAllKeepsThePreviousFile()
{
    m_window->close();
    m_window.reset();
    const QByteArray saved = test_files::readRaw(file("data.zrk"));
    QCOMPARE(saved.size(), 366 * 135);

    m_window = open();
    m_messenger.clear();
    m_messenger.scriptAnswers({ true });
    QSignalSpy resets(&m_window->model(), &QAbstractItemModel::modelReset);
    m_window->findChild<QAction*>("Smazatvse1")->trigger();
    QCOMPARE(m_window->table().rowCount(), 0);
    QCOMPARE(m_window->model().rowCount(), 0);
    QCOMPARE(resets.count(), 1);
    m_window->close();
    QVERIFY(m_messenger.texts().contains(QStringLiteral("Seznam je prázdný")));
    m_window.reset();
    QCOMPARE(test_files::readRaw(file("data.zrk")), saved);

    m_window = open();
    QCOMPARE(m_window->table().rowCount(), 366);
}

void TestEvents::changesSurviveARestart()
{
    m_window->settings().pocets = "6";
    createOn(rowOf(24, 12), [this](Tzaznam& dialog) {
        QTest::keyClick(dialog.itemCountBox(), Qt::Key_Up);
        fillRow(dialog, 1, { "16:00", "Půlnoční mše", "kostel", "zdarma" });
        fillRow(dialog, 2, { "22:00", "Koledy" });
        dialog.findChild<QPushButton*>("Button1")->click();
    });
    m_messenger.scriptAnswers({ true });
    m_window->selectRow(rowOf(24, 12) + 1);
    m_window->findChild<QToolButton*>("ToolButton3")->click();
    createOn(rowOf(1, 1), [this](Tzaznam& dialog) {
        fillRow(dialog, 1, { "0:00", "Nový rok" });
        dialog.findChild<QPushButton*>("Button1")->click();
    });
    const std::vector<EventRecord> expected = m_window->table().records();
    m_window->close();
    m_window.reset();

    // The significant bytes on disk are the records as they were.
    const QByteArray bytes = test_files::readRaw(file("data.zrk"));
    QCOMPARE(bytes.size(), qsizetype(expected.size() * sizeof(EventRecord)));
    for (size_t i = 0; i < expected.size(); ++i) {
        EventRecord stored;
        std::memcpy(&stored, bytes.constData() + i * sizeof(EventRecord), sizeof(EventRecord));
        for (int f = 0; f < EventRecord::fieldCount; ++f)
            QCOMPARE(stored.bytes(Field(f)), expected[i].bytes(Field(f)));
    }
    m_window = open();
    QVERIFY(m_window->table().records() == expected);
    QCOMPARE(texts(m_window->table().record(rowOf(24, 12))).mid(2),
        QStringList({ "16:00", "Půlnoční mše", "kostel", "zdarma" }));
}

void TestEvents::lookupFindsTheDayRowOfADate()
{
    MainState& state = m_window->state();
    m_window->selectRow(3);
    state.pocet = QStringList { "29.02.2004" };
    m_window->prohledatClick();
    QCOMPARE(state.pocet, QStringList { "59" });
    QCOMPARE(m_window->selectedRow(), 59);
    QVERIFY(m_window->listView()->hasFocus());
    for (const QString key : { "29.02.2005", "  .  .    ", "" }) {
        state.pocet = QStringList { key };
        m_window->prohledatClick();
        QCOMPARE(state.pocet, QStringList { key });
        QCOMPARE(m_window->selectedRow(), 59);
    }
    state.pocet.clear();
}

void TestEvents::placingReportsRowsThatAreGone()
{
    DayTable& table = m_window->table();
    const auto before = table.records();
    EntryFields fields = m_window->state().entryFields();
    placing::setPending(fields, 1, "1", "Nikam", "", "");
    fields.pocet = QStringList { "  .  .    " };
    QVERIFY(!placing::z1b(table, m_messenger, fields, 4));
    QCOMPARE(placing::zkb(table, fields, 2, 4, table.rowCount()), -1);
    fields.ListBox1 = QStringList { "0", QString::number(table.rowCount()) };
    QVERIFY(!placing::writeBack(table, m_messenger, fields, 2, 4, placing::HiddenTexts::Keep));
    QVERIFY(!placing::writeBack(table, m_messenger, fields, 9, 4, placing::HiddenTexts::Keep));
    QCOMPARE(m_messenger.texts(),
        QStringList({ "Chyba při vytváření nového záznamů", "Chyba při úpravě záznamů",
            "Chyba při úpravě nového záznamů" }));
    QCOMPARE(m_messenger.messages()[0].title, QStringLiteral("Nový záznam"));
    QCOMPARE(m_messenger.messages()[2].title, QStringLiteral("Editovat záznam"));
    QCOMPARE(m_messenger.messages()[2].icon, Messenger::Icon::Error);
    QVERIFY(table.records() == before);
    placing::clearFields(fields);
}

void TestEvents::keyboardAloneCreatesThreeEvents()
{
    DayTable& table = m_window->table();
    QTableView* list = m_window->listView();
    // The keyboard starts in the list (today lies outside the calendar, so nothing is selected).
    QCOMPARE(m_window->focusWidget(), list);
    QCOMPARE(m_window->selectedRow(), -1);
    QWindow* window = m_window->windowHandle();
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(window, Qt::Key_Down);
    QVERIFY(m_window->selectedRow() > 0);

    // The record menu from the keyboard, its first entry "Nový záznam".
    QTimer::singleShot(0, [] {
        QWidget* menu = QApplication::activePopupWidget();
        QVERIFY(menu);
        if (!static_cast<QMenu*>(menu)->activeAction())
            QTest::keyClick(menu, Qt::Key_Down);
        QCOMPARE(static_cast<QMenu*>(menu)->activeAction()->text(), QStringLiteral("Nový záznam"));
        QTest::keyClick(menu, Qt::Key_Return);
    });
    onDialog<Tzaznam>([](Tzaznam& dialog) {
        QTRY_VERIFY(dialog.focusWidget());
        QWidget* focus = dialog.focusWidget();
        QCOMPARE(focus, dialog.itemCountBox());
        QTest::keyClick(focus, Qt::Key_Up);
        QTest::keyClick(focus, Qt::Key_Up);
        QTest::keyClick(focus, Qt::Key_Tab); // the date field: a new date by typing
        focus = dialog.focusWidget();
        QTest::keyClick(focus, Qt::Key_Home);
        QTest::keyClicks(focus, "07012004");
        for (int k = 1; k <= 3; ++k) {
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
            QTest::keyClicks(dialog.focusWidget(), QStringLiteral("%1:00").arg(k + 17));
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
            type(dialog.focusWidget(), QStringLiteral("Událost %1").arg(k));
        }
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
    });
    // What the windowing system makes of the menu key (the offscreen platform has no keyboard map).
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(20, 20), list->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(list, &menuKey);
    QTest::qWait(50);
    const int day = rowOf(7, 1);
    QCOMPARE(texts(table.record(day)).mid(1), QStringList({ "07.01.2004", "18:00", "Událost 1", "", "" }));
    QCOMPARE(table.record(day + 1).text(Field::Event), QStringLiteral("Událost 2"));
    QCOMPARE(table.record(day + 2).text(Field::Event), QStringLiteral("Událost 3"));
    QCOMPARE(texts(table.record(rowOf(5, 1))).mid(2), QStringList({ "", "", "", "" }));
}

void TestEvents::halfTypedDateAndAMouseClickCreateNothing()
{
    DayTable& table = m_window->table();
    const auto before = table.records();
    m_window->selectRow(rowOf(10, 6));
    bool ran = false;
    onDialog<Tzaznam>([&](Tzaznam& dialog) {
        // Active, as for the user: the focus then really leaves the date field.
        QApplication::setActiveWindow(&dialog);
        QCOMPARE(QApplication::activeWindow(), &dialog);
        fillRow(dialog, 1, { "19:00", "Koncert" });
        // "20.07." typed over the whole date, then "Vytvořit" clicked with the mouse:
        // the click takes the focus from the unfinished date first.
        QLineEdit* date = dialog.dateField()->lineEdit();
        QTest::mouseClick(date, Qt::LeftButton);
        date->selectAll();
        QTest::keyClicks(date, "2007");
        QCOMPARE(date->displayText(), QStringLiteral("20.07.    "));
        auto* create = dialog.findChild<QPushButton*>("Button1");
        QTest::mouseClick(create, Qt::LeftButton);
        QVERIFY(dialog.isVisible());
        QCOMPARE(m_messenger.texts(), QStringList { "Hledaný datum nebyl nalezen" });
        // Finished, the same date is taken.
        date->setFocus();
        date->setCursorPosition(6);
        QTest::keyClicks(date, "2004");
        QTest::mouseClick(create, Qt::LeftButton);
        ran = !dialog.isVisible();
    });
    QTest::mouseClick(m_window->findChild<QToolButton*>("ToolButton1"), Qt::LeftButton);
    QVERIFY(ran);
    const int day = rowOf(20, 7);
    QCOMPARE(texts(table.record(day)).mid(1), QStringList({ "20.07.2004", "19:00", "Koncert", "", "" }));
    auto after = table.records();
    after[size_t(day)] = before[size_t(day)];
    QVERIFY(after == before);
}

void TestEvents::aDateFromTheCalendarMovesOnToTheItems()
{
    createOn(rowOf(3, 3), [](Tzaznam& dialog) {
        dialog.dateField()->lineEdit()->setFocus();
        QTest::mouseClick(dialog.dateField()->calendarButton(), Qt::LeftButton);
        auto* calendar = dialog.dateField()->calendarPopup()->findChild<QCalendarWidget*>();
        calendar->setSelectedDate(QDate(2004, 3, 9));
        QTest::keyClick(calendar->findChild<QTableView*>(), Qt::Key_Return);
        QCOMPARE(dialog.dateField()->date(), QDate(2004, 3, 9));
        QCOMPARE(dialog.focusWidget(), dialog.edit(1, 1));
    });
    QCOMPARE(m_window->selectedRow(), rowOf(9, 3));
}

QTEST_MAIN(TestEvents)
#include "tst_events.moc"
