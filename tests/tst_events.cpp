#include "app/main_window.h"
#include "calendar/day_table.h"
#include "platform/clock.h"
#include "recording_messenger.h"
#include "records/edit_record_dialog.h"
#include "records/new_record_dialog.h"
#include "records/placing.h"
#include "test_files.h"
#include "widgets/date_field.h"
#include "window_fixture.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

using Field = EventRecord::Field;
using fixture::extraRow;
using fixture::fieldsOf;
using fixture::rowOf2004;

void fill(RecordDialog& dialog, int row, const QStringList& texts)
{
    for (int c = 0; c < texts.size(); ++c)
        dialog.edit(row, c + 1)->setText(texts[c]);
}

void confirm(RecordDialog& dialog)
{
    dialog.findChild<QPushButton*>("Button1")->click();
}

// Every message as "icon|title|text", to compare all three at once.
QStringList shown(const RecordingMessenger& messenger)
{
    const char* icons[] = { "Information", "Warning", "Error", "Question", "NoIcon" };
    QStringList all;
    for (const auto& m : messenger.messages())
        all << QStringLiteral("%1|%2|%3").arg(QLatin1String(icons[int(m.icon)]), m.title, m.text);
    return all;
}

void addItems(Tzaznam& dialog, int more)
{
    for (int i = 0; i < more; ++i)
        QTest::keyClick(dialog.itemCountBox(), Qt::Key_Up);
}

} // namespace

// Creating, editing and deleting events through the shipped main window.
class TestEvents : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();

    void itemsGoUnderTheDayRow();
    void anExtraRowIsFilledOrFollowed();
    void noTargetKeepsTheDialogOpen();
    void columnsDecideTheGridAndTheValues_data();
    void columnsDecideTheGridAndTheValues();
    void editsAreNamedAndHoldCp1250();
    void cancellingChangesNothing();
    void editingTakesTheRowsOfOneDay();
    void deletingRowsAndEvents();
    void theFileHoldsTheRecordsAndSurvivesDeletingAll();
    void lookupJumpsToTheDayRow_data();
    void lookupJumpsToTheDayRow();
    void placingReportsRowsThatAreGone();
    void keyboardAloneCreatesThreeEvents();
    void halfTypedDateAndAMouseClickCreateNothing();
    void aDateFromTheCalendarMovesOnToTheItems();

private:
    bool create(int row, const std::function<void(Tzaznam&)>& act);
    bool edit(int row, const std::function<void(Teditovat&)>& act);
    void setTexts(int row, const QStringList& fromTime);
    void reopen();

    std::unique_ptr<QTemporaryDir> m_dir;
    RecordingMessenger m_messenger;
    std::unique_ptr<TForm1> m_window;
};

void TestEvents::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_messenger.clear();
    clock_source::setNow(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
    reopen();
}

void TestEvents::cleanup()
{
    m_window.reset();
    clock_source::setNow({});
}

void TestEvents::reopen()
{
    m_window.reset();
    m_window = fixture::openWindow(m_dir->path(), m_messenger);
    QVERIFY(m_window);
}

bool TestEvents::create(int row, const std::function<void(Tzaznam&)>& act)
{
    m_window->selectRow(row);
    return fixture::onModal<Tzaznam>(act, [this] { fixture::clickToolButton(*m_window, "ToolButton1"); });
}

bool TestEvents::edit(int row, const std::function<void(Teditovat&)>& act)
{
    m_window->selectRow(row);
    return fixture::onModal<Teditovat>(act, [this] { fixture::clickToolButton(*m_window, "ToolButton2"); });
}

void TestEvents::setTexts(int row, const QStringList& fromTime)
{
    EventRecord record = m_window->table().record(row);
    for (int i = 0; i < fromTime.size(); ++i)
        record.setText(Field(int(Field::Time) + i), fromTime[i]);
    m_window->table().setRecord(row, record);
}

void TestEvents::itemsGoUnderTheDayRow()
{
    DayTable& table = m_window->table();
    const int day = rowOf2004(11, 1);
    setTexts(day, { "", "Staré" });
    table.insertRecord(day + 1, extraRow("18:00", "Dřívější"));
    const int rows = table.rowCount();
    QAbstractItemModelTester tester(&m_window->model());
    QSignalSpy resets(&m_window->model(), &QAbstractItemModel::modelReset);

    QVERIFY(create(day, [&](Tzaznam& dialog) {
        QCOMPARE(dialog.dateField()->text(), QStringLiteral("11.01.2004"));
        QCOMPARE(m_window->state().pocet, QStringList { QString::number(day) });
        addItems(dialog, 4);
        fill(dialog, 1, { "10:00", "Koncert" });
        fill(dialog, 2, { " ", "  " }); // a blank item makes no row
        fill(dialog, 3, { "11:00", "Výstava" });
        fill(dialog, 4, { "12:00", "Divadlo" });
        fill(dialog, 5, { "13:00", "Navíc" });
        // Fewer items drop the rows beyond; typing into the count does nothing.
        QTest::keyClick(dialog.itemCountBox(), Qt::Key_Down);
        QTest::keyClicks(dialog.itemCountBox(), "9");
        QCOMPARE(dialog.itemCount(), 4);
        QVERIFY(!dialog.edit(5, 2)->isVisible());
        QVERIFY(dialog.edit(4, 2)->isVisible());
        confirm(dialog);
    }));
    // The day's own event stays; the items go directly under it, in order.
    QCOMPARE(table.rowCount(), rows + 3);
    QCOMPARE(fieldsOf(table.record(day)).mid(1), QStringList({ "11.01.2004", "", "Staré", "", "" }));
    QCOMPARE(fieldsOf(table.record(day + 1)), QStringList({ "", "", "10:00", "Koncert", "", "" }));
    QCOMPARE(table.record(day + 2).text(Field::Event), QStringLiteral("Výstava"));
    QCOMPARE(table.record(day + 3).text(Field::Event), QStringLiteral("Divadlo"));
    QCOMPARE(table.record(day + 4).text(Field::Event), QStringLiteral("Dřívější"));
    QCOMPARE(m_window->selectedRow(), day + 3);
    QCOMPARE(resets.count(), 0);
    // The dialog leaves the entry fields as it found them.
    const MainState& state = m_window->state();
    QVERIFY(state.pocet.isEmpty() && state.u1.isEmpty() && state.u2.isEmpty() && state.ze[4].isEmpty());
}

void TestEvents::anExtraRowIsFilledOrFollowed()
{
    DayTable& table = m_window->table();
    const int day = rowOf2004(2, 2);
    // Blanks only: the row holds no event, so item 1 fills it.
    table.insertRecord(day + 1, extraRow("  ", " "));
    const int rows = table.rowCount();
    QVERIFY(create(day + 1, [](Tzaznam& dialog) {
        QVERIFY(dialog.dateField()->isEmpty());
        addItems(dialog, 1);
        fill(dialog, 1, { "9:00", "Nové" });
        fill(dialog, 2, { "9:30", "Druhé" });
        confirm(dialog);
    }));
    QCOMPARE(table.rowCount(), rows + 1);
    QCOMPARE(fieldsOf(table.record(day + 1)), QStringList({ "", "", "9:00", "Nové", "", "" }));
    QCOMPARE(fieldsOf(table.record(day + 2)), QStringList({ "", "", "9:30", "Druhé", "", "" }));
    QCOMPARE(fieldsOf(table.record(day)).mid(1), QStringList({ "02.02.2004", "", "", "", "" }));
    QCOMPARE(m_window->selectedRow(), day + 2);

    // An extra row with an event, the date untouched: item 1 goes under it.
    QVERIFY(create(day + 2, [](Tzaznam& dialog) {
        fill(dialog, 1, { "", "Třetí" });
        confirm(dialog);
    }));
    QCOMPARE(table.record(day + 2).text(Field::Event), QStringLiteral("Druhé"));
    QCOMPARE(fieldsOf(table.record(day + 3)), QStringList({ "", "", "", "Třetí", "", "" }));
    QCOMPARE(m_window->selectedRow(), day + 3);
    QVERIFY(m_messenger.messages().isEmpty());
}

void TestEvents::noTargetKeepsTheDialogOpen()
{
    DayTable& table = m_window->table();
    const EventRecord early = extraRow("", "předprodej do 11.06.2004");
    table.insertRecord(rowOf2004(5, 1) + 1, early);
    const auto before = table.records();
    const int target = rowOf2004(11, 6) + 1;
    int failures = 0;
    QVERIFY(create(target - 1, [&](Tzaznam& dialog) {
        fill(dialog, 1, { "1", "Nikde" });
        DateField* date = dialog.dateField();
        const auto attempt = [&] {
            m_messenger.clear();
            confirm(dialog);
            QVERIFY(dialog.isVisible());
            QCOMPARE(shown(m_messenger), QStringList { "Error|Nový záznam|Hledaný datum nebyl nalezen" });
            ++failures;
        };
        // A date outside the calendar, a field the user emptied, an unfinished date.
        date->setDate(QDate(2005, 1, 3));
        attempt();
        date->clear();
        attempt();
        date->setDate(QDate(2004, 6, 10));
        date->lineEdit()->setFocus();
        date->lineEdit()->selectAll();
        QTest::keyClicks(date->lineEdit(), "1206");
        attempt();
        // Another date works; the list follows it to its day row, not to a row naming it.
        date->setDate(QDate(2004, 6, 11));
        QCOMPARE(m_window->selectedRow(), target);
        QCOMPARE(m_window->state().pocet, QStringList { QString::number(target) });
        confirm(dialog);
        QVERIFY(!dialog.isVisible());
    }));
    QCOMPARE(failures, 3);
    QCOMPARE(table.rowCount(), int(before.size()));
    QCOMPARE(table.record(rowOf2004(5, 1) + 1), early);
    QCOMPARE(fieldsOf(table.record(target)).mid(1), QStringList({ "11.06.2004", "1", "Nikde", "", "" }));
    QCOMPARE(table.record(target - 1), before[size_t(target - 1)]);
}

void TestEvents::columnsDecideTheGridAndTheValues_data()
{
    QTest::addColumn<QString>("columns");
    QTest::addColumn<int>("width");
    QTest::newRow("4") << "4" << 287;
    QTest::newRow("5") << "5" << 367;
    QTest::newRow("6") << "6" << 487;
}

void TestEvents::columnsDecideTheGridAndTheValues()
{
    QFETCH(QString, columns);
    QFETCH(int, width);
    const int shown = columns.toInt() - 2;
    DayTable& table = m_window->table();
    m_window->settings().pocets = columns;
    const int day = rowOf2004(9, 9);
    QVERIFY(create(day, [&](Tzaznam& dialog) {
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Nový záznam"));
        QCOMPARE(dialog.size(), QSize(width, 327));
        QCOMPARE(dialog.edit(1, 3)->isVisible(), shown >= 3);
        QCOMPARE(dialog.edit(1, 4)->isVisible(), shown >= 4);
        QCOMPARE(dialog.edit(2, 1)->y() - dialog.edit(1, 1)->y(), 21);
        QVERIFY(!dialog.edit(2, 1)->isVisible());
        QStringList headers;
        for (auto* label : dialog.findChildren<QLabel*>())
            if (label->isVisible() && label->buddy() == nullptr)
                headers << label->text();
        QCOMPARE(headers, QStringList({ "Hod.", "Akce", "1", "2" }).mid(0, shown));
        addItems(dialog, 1);
        // The hidden edits may hold texts; they are not taken.
        fill(dialog, 1, { "1", "A", "v1", "v2" });
        fill(dialog, 2, { "2", "B", "w1", "w2" });
        confirm(dialog);
    }));
    const auto value
        = [&](const char* text, int column) { return shown >= column ? QString(text) : QString(); };
    QCOMPARE(fieldsOf(table.record(day)).mid(4), QStringList({ value("v1", 3), value("v2", 4) }));
    QCOMPARE(fieldsOf(table.record(day + 1)).mid(4), QStringList({ value("w1", 3), value("w2", 4) }));

    // Editing keeps the values of hidden columns as they were.
    const int other = rowOf2004(20, 8);
    setTexts(other, { "10:00", "Akce", "jedna", "dvě" });
    table.insertRecord(other + 1, extraRow("11:00", "Další", "tři", "čtyři"));
    QVERIFY(edit(other, [&](Teditovat& dialog) {
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Editovat záznam"));
        QCOMPARE(dialog.height(), 271);
        QCOMPARE(dialog.itemCount(), 2);
        QCOMPARE(dialog.edit(2, 2)->text(), QStringLiteral("Další"));
        QCOMPARE(dialog.edit(1, 3)->text(), value("jedna", 3));
        dialog.edit(1, 2)->setText("Změněno");
        dialog.edit(2, 1)->setText("12:00");
        dialog.edit(2, 3)->setText(value("pět", 3));
        confirm(dialog);
    }));
    QCOMPARE(fieldsOf(table.record(other)).mid(1),
        QStringList({ "20.08.2004", "10:00", "Změněno", "jedna", "dvě" }));
    QCOMPARE(fieldsOf(table.record(other + 1)),
        QStringList({ "", "", "12:00", "Další", shown >= 3 ? "pět" : "tři", "čtyři" }));
    QCOMPARE(m_window->selectedRow(), other);
}

void TestEvents::editsAreNamedAndHoldCp1250()
{
    DayTable& table = m_window->table();
    const int day = rowOf2004(20, 5);
    QVERIFY(create(day, [](Tzaznam& dialog) {
        QCOMPARE(dialog.edit(3, 2)->objectName(), QStringLiteral("Edit10"));
        QCOMPARE(dialog.edit(10, 4)->objectName(), QStringLiteral("Edit40"));
        QCOMPARE(dialog.edit(3, 2)->accessibleName(), QStringLiteral("Akce 3"));
        QCOMPARE(dialog.edit(10, 1)->accessibleName(), QStringLiteral("Hod. 10"));
        QCOMPARE(dialog.itemCountBox()->accessibleName(), QStringLiteral("Počet položek pro vytvoření:"));
        QCOMPARE(dialog.dateField()->lineEdit()->accessibleName(), QStringLiteral("Vytvořit k datu:"));
        QCOMPARE(dialog.edit(1, 1)->maxLength(), 12);
        QLineEdit* event = dialog.edit(1, 2);
        QCOMPARE(event->maxLength(), 40);
        event->setFocus();
        fixture::typeText(event, QStringLiteral("Žluťoučký kůň €日"));
        QCOMPARE(event->text(), QStringLiteral("Žluťoučký kůň €"));
        // The hint shows the whole text as it changes.
        QCOMPARE(event->toolTip(), QStringLiteral("Žluťoučký kůň €"));
        QTest::keyClick(event, Qt::Key_Backspace);
        QCOMPARE(event->toolTip(), QStringLiteral("Žluťoučký kůň "));
        confirm(dialog);
    }));
    QCOMPARE(table.record(day).text(Field::Event), QStringLiteral("Žluťoučký kůň "));

    // The edit dialog takes any length and stores what fits.
    QVERIFY(edit(day, [](Teditovat& dialog) {
        dialog.edit(1, 2)->setText(QString(50, QLatin1Char('x')));
        confirm(dialog);
    }));
    QCOMPARE(table.record(day).text(Field::Event), QString(40, QLatin1Char('x')));
}

void TestEvents::cancellingChangesNothing()
{
    DayTable& table = m_window->table();
    const int day = rowOf2004(3, 3);
    table.insertRecord(day + 1, extraRow("1", "Beze změny"));
    const auto before = table.records();
    const auto escape = [](QWidget* from) {
        from->setFocus();
        QTest::keyClick(from, Qt::Key_Escape);
    };
    QVERIFY(create(day, [&](Tzaznam& dialog) {
        addItems(dialog, 1);
        fill(dialog, 1, { "1", "Nic" });
        escape(dialog.edit(2, 2));
        QVERIFY(!dialog.isVisible());
    }));
    QVERIFY(create(day, [&](Tzaznam& dialog) {
        escape(dialog.dateField()->lineEdit());
        QVERIFY(!dialog.isVisible());
    }));
    QVERIFY(create(day, [](Tzaznam& dialog) {
        fill(dialog, 1, { "1", "Nic" });
        dialog.dateField()->setDate(QDate(2004, 3, 4));
        dialog.findChild<QPushButton*>("Button2")->click();
    }));
    for (bool byKey : { false, true }) {
        QVERIFY(edit(day, [&](Teditovat& dialog) {
            fill(dialog, 2, { "2", "Změna" });
            if (byKey)
                escape(dialog.edit(2, 2));
            else
                dialog.findChild<QPushButton*>("Button2")->click();
            QVERIFY(!dialog.isVisible());
        }));
    }
    QVERIFY(table.records() == before);
    QVERIFY(m_window->state().pocet.isEmpty());
    QVERIFY(m_window->state().ListBox1.isEmpty());
    QVERIFY(m_window->state().ze[5].isEmpty());
    QCOMPARE(m_window->focusWidget(), m_window->listView());
}

void TestEvents::editingTakesTheRowsOfOneDay()
{
    DayTable& table = m_window->table();
    const int day = rowOf2004(1, 10);
    for (int i = 12; i >= 1; --i)
        table.insertRecord(day + 1, extraRow(QString::number(i), QStringLiteral("Akce %1").arg(i)));
    // At most ten rows; a double click on the row opens the editor too.
    QTableView* list = m_window->listView();
    QVERIFY(fixture::onModal<Teditovat>(
        [](Teditovat& dialog) {
            QCOMPARE(dialog.itemCount(), 10);
            QVERIFY(dialog.edit(10, 2)->isVisible());
            QCOMPARE(dialog.edit(10, 2)->text(), QStringLiteral("Akce 9"));
        },
        [&] {
            m_window->selectRow(day);
            const QPoint cell = list->visualRect(m_window->model().index(day, 1)).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell);
        }));
    // The next day row ends a day, even when a later day has rows of its own.
    const int second = day + 13;
    table.insertRecord(second + 2, extraRow("1", "Jiný den"));
    QVERIFY(edit(second, [](Teditovat& dialog) { QCOMPARE(dialog.itemCount(), 1); }));

    // The last day stops at the table's end; an extra row alone is its own entry.
    const int last = table.rowCount() - 1;
    table.insertRecord(last + 1, extraRow("1", "Silvestr"));
    table.insertRecord(last + 2, extraRow("2", "Půlnoc"));
    QVERIFY(edit(last, [&](Teditovat& dialog) {
        QCOMPARE(m_window->state().ListBox1,
            QStringList({ QString::number(last), QString::number(last + 1), QString::number(last + 2) }));
        dialog.edit(3, 2)->setText("Ohňostroj");
        confirm(dialog);
    }));
    QCOMPARE(table.rowCount(), last + 3);
    QCOMPARE(table.record(last + 2).text(Field::Event), QStringLiteral("Ohňostroj"));
    QVERIFY(edit(last + 1, [](Teditovat& dialog) {
        QCOMPARE(dialog.itemCount(), 1);
        QCOMPARE(dialog.edit(1, 2)->text(), QStringLiteral("Silvestr"));
        confirm(dialog);
    }));
    QCOMPARE(fieldsOf(table.record(last + 1)), QStringList({ "", "", "1", "Silvestr", "", "" }));
}

void TestEvents::deletingRowsAndEvents()
{
    DayTable& table = m_window->table();
    m_window->settings().pocets = "4";
    const int day = rowOf2004(6, 6);
    setTexts(day, { "10:00", "Pryč", "skryté" });
    table.insertRecord(day + 1, extraRow("11:00", "Zůstane"));
    table.insertRecord(day + 2, extraRow("12:00", "Smazat"));
    table.insertRecord(day + 3, extraRow(" ", ""));
    auto before = table.records();
    const auto remove = [&](int row, bool yes) {
        m_messenger.clear();
        m_messenger.scriptAnswers({ yes });
        m_window->selectRow(row);
        fixture::clickToolButton(*m_window, "ToolButton3");
    };
    const QString askOne = QStringLiteral("Question|Smazat záznam|Opravdu chcete smazat označený záznam ???");

    // Answering No changes nothing, for one row or all.
    remove(day + 2, false);
    m_messenger.scriptAnswers({ false });
    fixture::clickToolButton(*m_window, "ToolButton4");
    QCOMPARE(shown(m_messenger),
        QStringList({ askOne, "Question|Smazat vše|Opravdu chcete smazat všechny záznamy ???" }));
    QVERIFY(table.records() == before);

    // Extra rows go, a blank one too: nothing else could remove it.
    remove(day + 2, true);
    remove(day + 2, true);
    QCOMPARE(shown(m_messenger), QStringList { askOne });
    before.erase(before.begin() + day + 2, before.begin() + day + 4);
    QVERIFY(table.records() == before);

    // A day row loses its event, hidden values included, and stays.
    remove(day, true);
    QCOMPARE(fieldsOf(table.record(day)).mid(1), QStringList({ "06.06.2004", "", "", "", "" }));
    QVERIFY(table.record(day).isDayRow());
    QCOMPARE(table.record(day + 1).text(Field::Event), QStringLiteral("Zůstane"));
    QVERIFY(m_window->state().pocet.isEmpty() && m_window->state().ListBox1.isEmpty());

    // A day row of blanks has nothing to delete.
    setTexts(day, { "  " });
    before = table.records();
    remove(day, true);
    QCOMPARE(shown(m_messenger), QStringList({ askOne, "Error|Chyba|Záznam je prázdný" }));
    QVERIFY(table.records() == before);

    // An event without a time, from the menu.
    table.insertRecord(day + 2, extraRow("", "Celodenní výstava"));
    m_messenger.scriptAnswers({ true });
    m_window->selectRow(day + 2);
    m_window->findChild<QAction*>("Smazatzaznam1")->trigger();
    QVERIFY(table.records() == before);
}

void TestEvents::theFileHoldsTheRecordsAndSurvivesDeletingAll()
{
    m_window->settings().pocets = "6";
    QVERIFY(create(rowOf2004(24, 12), [](Tzaznam& dialog) {
        addItems(dialog, 1);
        fill(dialog, 1, { "16:00", "Půlnoční mše", "kostel", "zdarma" });
        fill(dialog, 2, { "22:00", "Koledy" });
        confirm(dialog);
    }));
    QVERIFY(create(0, [](Tzaznam& dialog) {
        fill(dialog, 1, { "0:00", "Nový rok" });
        confirm(dialog);
    }));
    const std::vector<EventRecord> expected = m_window->table().records();
    QCOMPARE(expected.size(), size_t(367));
    m_window->close();
    const QString path = m_dir->filePath("data.zrk");
    const QByteArray saved = test_files::readRaw(path);
    QCOMPARE(saved, QByteArray(reinterpret_cast<const char*>(expected.data()), 367 * 135));

    // Deleting all is one reset, and the empty list is never saved.
    reopen();
    QVERIFY(m_window->table().records() == expected);
    m_messenger.clear();
    m_messenger.scriptAnswers({ true });
    QSignalSpy resets(&m_window->model(), &QAbstractItemModel::modelReset);
    m_window->findChild<QAction*>("Smazatvse1")->trigger();
    QCOMPARE(m_window->model().rowCount(), 0);
    QCOMPARE(resets.count(), 1);
    m_window->close();
    QVERIFY(m_messenger.texts().contains(QStringLiteral("Seznam je prázdný")));
    QCOMPARE(test_files::readRaw(path), saved);
    reopen();
    QVERIFY(m_window->table().records() == expected);
}

void TestEvents::lookupJumpsToTheDayRow_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("row");
    QTest::newRow("first day") << "01.01.2004" << 0;
    QTest::newRow("leap day") << "29.02.2004" << 59;
    QTest::newRow("another year") << "29.02.2005" << -1;
    QTest::newRow("empty date") << "  .  .    " << -1;
    QTest::newRow("nothing") << "" << -1;
}

void TestEvents::lookupJumpsToTheDayRow()
{
    QFETCH(QString, key);
    QFETCH(int, row);
    MainState& state = m_window->state();
    m_window->selectRow(3);
    state.pocet = QStringList { key };
    m_window->prohledatClick();
    // Found: the day row is selected and replaces the key; else nothing changes.
    QCOMPARE(state.pocet, QStringList { row < 0 ? key : QString::number(row) });
    QCOMPARE(m_window->selectedRow(), row < 0 ? 3 : row);
    QVERIFY(m_window->listView()->hasFocus());
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
    QCOMPARE(shown(m_messenger),
        QStringList({ "Error|Nový záznam|Chyba při vytváření nového záznamů",
            "Error|Editovat záznam|Chyba při úpravě záznamů",
            "Error|Editovat záznam|Chyba při úpravě nového záznamů" }));
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
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(m_window->windowHandle(), Qt::Key_Down);
    QVERIFY(m_window->selectedRow() > 0);

    // The record menu from the keyboard, its first entry "Nový záznam".
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        if (!menu->activeAction())
            QTest::keyClick(menu, Qt::Key_Down);
        QCOMPARE(menu->activeAction()->text(), QStringLiteral("Nový záznam"));
        QTest::keyClick(menu, Qt::Key_Return);
    });
    bool done = false;
    const auto act = [&done](Tzaznam& dialog) {
        QTRY_COMPARE(dialog.focusWidget(), dialog.itemCountBox());
        const auto key = [&](Qt::Key k) { QTest::keyClick(dialog.focusWidget(), k); };
        key(Qt::Key_Up);
        key(Qt::Key_Up);
        key(Qt::Key_Tab); // the date field: a new date by typing
        key(Qt::Key_Home);
        QTest::keyClicks(dialog.focusWidget(), "07012004");
        for (int k = 1; k <= 3; ++k) {
            key(Qt::Key_Tab);
            QTest::keyClicks(dialog.focusWidget(), QStringLiteral("%1:00").arg(k + 17));
            key(Qt::Key_Tab);
            fixture::typeText(dialog.focusWidget(), QStringLiteral("Událost %1").arg(k));
        }
        key(Qt::Key_Return);
        done = !dialog.isVisible();
    };
    // What the windowing system makes of the menu key (the offscreen platform has no keyboard map).
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(20, 20), list->mapToGlobal(QPoint(20, 20)));
    // The menu pops up without a loop of its own: the dialog comes once events run.
    QVERIFY(fixture::onModal<Tzaznam>(act, [&] {
        QApplication::sendEvent(list, &menuKey);
        QTRY_VERIFY(done);
    }));
    const int day = rowOf2004(7, 1);
    QCOMPARE(fieldsOf(table.record(day)).mid(1), QStringList({ "07.01.2004", "18:00", "Událost 1", "", "" }));
    QCOMPARE(table.record(day + 1).text(Field::Event), QStringLiteral("Událost 2"));
    QCOMPARE(table.record(day + 2).text(Field::Event), QStringLiteral("Událost 3"));
    QVERIFY(table.record(rowOf2004(5, 1)).holdsNoEvent());
}

void TestEvents::halfTypedDateAndAMouseClickCreateNothing()
{
    DayTable& table = m_window->table();
    const auto before = table.records();
    bool ran = false;
    QVERIFY(create(rowOf2004(10, 6), [&](Tzaznam& dialog) {
        // Active, as for the user: the focus then really leaves the date field.
        QApplication::setActiveWindow(&dialog);
        QCOMPARE(QApplication::activeWindow(), &dialog);
        fill(dialog, 1, { "19:00", "Koncert" });
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
    }));
    QVERIFY(ran);
    const int day = rowOf2004(20, 7);
    QCOMPARE(fieldsOf(table.record(day)).mid(1), QStringList({ "20.07.2004", "19:00", "Koncert", "", "" }));
    auto after = table.records();
    after[size_t(day)] = before[size_t(day)];
    QVERIFY(after == before);
}

void TestEvents::aDateFromTheCalendarMovesOnToTheItems()
{
    QVERIFY(create(rowOf2004(3, 3), [](Tzaznam& dialog) {
        dialog.dateField()->lineEdit()->setFocus();
        QTest::mouseClick(dialog.dateField()->calendarButton(), Qt::LeftButton);
        auto* calendar = dialog.dateField()->calendarPopup()->findChild<QCalendarWidget*>();
        calendar->setSelectedDate(QDate(2004, 3, 9));
        QTest::keyClick(calendar->findChild<QTableView*>(), Qt::Key_Return);
        QCOMPARE(dialog.dateField()->date(), QDate(2004, 3, 9));
        QCOMPARE(dialog.focusWidget(), dialog.edit(1, 1));
    }));
    QCOMPARE(m_window->selectedRow(), rowOf2004(9, 3));
}

QTEST_MAIN(TestEvents)
#include "tst_events.moc"
