#include "app/main_window.h"
#include "platform/clock.h"
#include "recording_messenger.h"
#include "records/edit_record_dialog.h"
#include "records/new_record_dialog.h"
#include "records/placing.h"
#include "table_rows.h"
#include "test_files.h"
#include "widgets/date_field.h"
#include "window_fixture.h"

#include <QAction>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

using Field = EventRecord::Field;
using namespace fixture;

void fill(RecordDialog& dialog, int row, const QStringList& texts)
{
    for (int c = 0; c < texts.size(); ++c)
        dialog.edit(row, c + 1)->setText(texts[c]);
}

// The event texts of `count` rows from `first`.
QStringList eventsOf(const DayTable& table, int first, int count)
{
    QStringList events;
    for (int row = first; row < first + count; ++row)
        events << table.record(row).text(Field::Event);
    return events;
}

} // namespace

// Creating, editing and deleting events through the shipped main window.
class TestEvents : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    RecordingMessenger m_messenger;
    std::unique_ptr<TForm1> m_window;

    // Runs `act` on the dialog that toolbar button `button` opens on `row`.
    template <typename T> bool open(int row, const char* button, const std::function<void(T&)>& act)
    {
        m_window->selectRow(row);
        return fixture::onModal<T>(act, [&] { fixture::clickToolButton(*m_window, button); });
    }
    bool create(int row, const std::function<void(Tzaznam&)>& act) { return open(row, "ToolButton1", act); }
    bool edit(int row, const std::function<void(Teditovat&)>& act) { return open(row, "ToolButton2", act); }
    void setTexts(int row, const QStringList& fromTime)
    {
        EventRecord record = m_window->table().record(row);
        for (int i = 0; i < fromTime.size(); ++i)
            record.setText(Field(int(Field::Time) + i), fromTime[i]);
        m_window->table().setRecord(row, record);
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        QVERIFY(fixture::freshStart(m_dir, m_messenger));
        m_window = fixture::openWindow(m_dir->path(), m_messenger);
        QVERIFY(m_window);
    }
    void cleanup() { m_window.reset(), clock_source::setNow({}); }

    void itemsGoUnderTheDayRowOrFillABlankOne()
    {
        DayTable& table = m_window->table();
        QTableView* list = m_window->listView();
        const int day = rowOf2004(11, 1);
        setTexts(day, { "", "Staré" });
        table.insertRecord(day + 1, extraRow("18:00", "Dřívější"));
        // The keyboard starts in the list; the record menu from the keyboard, its first entry "Nový záznam".
        QCOMPARE(m_window->focusWidget(), list);
        m_window->selectRow(day);
        // What the windowing system makes of the menu key (the offscreen platform has no keyboard map).
        QContextMenuEvent menuKey(
            QContextMenuEvent::Keyboard, QPoint(20, 20), list->mapToGlobal(QPoint(20, 20)));
        QApplication::sendEvent(list, &menuKey);
        QTRY_VERIFY(qobject_cast<QMenu*>(QApplication::activePopupWidget()));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QCOMPARE(menu->actions().first()->text(), QStringLiteral("Nový záznam"));
        menu->setActiveAction(menu->actions().first());
        QVERIFY(fixture::onModal<Tzaznam>(
            [&](Tzaznam& dialog) {
                QTRY_COMPARE(dialog.focusWidget(), dialog.itemCountBox());
                QCOMPARE(dialog.dateField()->text(), QStringLiteral("11.01.2004"));
                const auto key = [&](Qt::Key k) { QTest::keyClick(dialog.focusWidget(), k); };
                for (int i = 0; i < 4; ++i)
                    QTest::keyClick(dialog.itemCountBox(), Qt::Key_Up);
                fill(dialog, 5, { "13:00", "Navíc" });
                // Fewer items drop the rows beyond; typing into the count does nothing.
                key(Qt::Key_Down);
                QTest::keyClicks(dialog.itemCountBox(), "9");
                QVERIFY(dialog.itemCount() == 4 && !dialog.edit(5, 2)->isVisible()
                    && dialog.edit(4, 2)->isVisible());
                key(Qt::Key_Tab); // the date field, then the items
                // A blank item makes no row.
                for (const char* text :
                    { "10:00", "Koncert", " ", "  ", "11:00", "Výstava", "12:00", "Divadlo" }) {
                    key(Qt::Key_Tab);
                    fixture::typeText(dialog.focusWidget(), QString::fromUtf8(text));
                }
                key(Qt::Key_Return);
            },
            [&] { QTest::keyClick(menu, Qt::Key_Return); }));
        // The day's own event stays; the items go directly under it, in order.
        QCOMPARE(
            eventsOf(table, day, 5), QStringList({ "Staré", "Koncert", "Výstava", "Divadlo", "Dřívější" }));
        QCOMPARE(m_window->selectedRow(), day + 3);
        const MainState& state = m_window->state();
        QVERIFY(state.pocet.isEmpty() && state.u1.isEmpty() && state.u2.isEmpty() && state.ze[4].isEmpty());

        // An extra row of blanks (a no-break space among them) holds no event: item 1 fills it, item 2
        // goes under it. The edits are named by column and row and take what Windows-1250 has, up to their
        // limits.
        const int other = rowOf2004(2, 2) + 3;
        table.insertRecord(other + 1, extraRow(QStringLiteral(" \u00a0"), " "));
        const QString typed = QStringLiteral("Žluťoučký kůň €") + QString(24, u'x');
        QVERIFY(create(other + 1, [&](Tzaznam& dialog) {
            QCOMPARE(QStringList({ dialog.dateField()->text(), dialog.edit(3, 2)->accessibleName(),
                         dialog.dateField()->lineEdit()->accessibleName(),
                         QString::number(dialog.edit(1, 1)->maxLength()) }),
                QStringList({ "  .  .    ", "Akce 3", "Vytvořit k datu:", "12" }));
            QTest::keyClick(dialog.itemCountBox(), Qt::Key_Up);
            fill(dialog, 1, { "9:00" });
            fill(dialog, 2, { "9:30", "Druhé" });
            QLineEdit* event = dialog.edit(1, 2);
            event->setFocus();
            fixture::typeText(event, QStringLiteral("Žluťoučký kůň €日") + QString(30, u'x'));
            // The hint shows the whole text as it changes.
            QTest::keyClick(event, Qt::Key_Backspace);
            QVERIFY(event->text() == typed && event->toolTip() == typed);
            dialog.findChild<QPushButton*>("Button1")->click();
        }));
        QCOMPARE(fieldsOf(table.record(other + 1)) + eventsOf(table, other, 3),
            QStringList({ "", "", "9:00", typed, "", "", "", typed, "Druhé" }));
        QVERIFY(m_window->selectedRow() == other + 2 && m_messenger.messages().isEmpty());

        // Only a whole date of the table is a target.
        table.insertRecord(rowOf2004(5, 1) + 1, extraRow("", "předprodej do 11.06.2004"));
        auto before = table.records();
        const int target = table_rows::ofDate(table, QStringLiteral("11.06.2004"));
        QVERIFY(create(target - 1, [&](Tzaznam& dialog) {
            // Active, as for the user: the focus then really leaves the date field.
            QApplication::setActiveWindow(&dialog);
            fill(dialog, 1, { "19:00", "Koncert" });
            DateField* date = dialog.dateField();
            auto* create = dialog.findChild<QPushButton*>("Button1");
            // A date outside the calendar, a field the user emptied.
            date->setDate(QDate(2005, 1, 3));
            dialog.findChild<QPushButton*>("Button1")->click();
            date->clear();
            dialog.findChild<QPushButton*>("Button1")->click();
            // "20.07." typed over the whole date, then "Vytvořit" clicked with the mouse:
            // the click takes the focus from the unfinished date first.
            QTest::mouseClick(date->lineEdit(), Qt::LeftButton);
            date->lineEdit()->selectAll();
            QTest::keyClicks(date->lineEdit(), "2007");
            QCOMPARE(date->text(), QStringLiteral("20.07.    "));
            QTest::mouseClick(create, Qt::LeftButton);
            QCOMPARE(described(m_messenger),
                QStringList(3, QStringLiteral("Error|Nový záznam|Hledaný datum nebyl nalezen")));
            // A date picked from the calendar moves on to the items; the list follows it
            // to its day row, not to a row naming it.
            QTest::mouseClick(date->calendarButton(), Qt::LeftButton);
            auto* calendar = date->calendarPopup()->findChild<QCalendarWidget*>();
            calendar->setSelectedDate(QDate(2004, 6, 11));
            QTest::keyClick(calendar->findChild<QTableView*>(), Qt::Key_Return);
            QVERIFY(date->date() == QDate(2004, 6, 11) && dialog.focusWidget() == dialog.edit(1, 1));
            QCOMPARE(m_window->selectedRow(), target);
            QTest::mouseClick(create, Qt::LeftButton);
        }));
        QCOMPARE(
            fieldsOf(table.record(target)).mid(1), QStringList({ "11.06.2004", "19:00", "Koncert", "", "" }));
        before[size_t(target)] = table.record(target);
        QVERIFY(table.records() == before);
    }

    void columnsDecideTheGridAndTheValues_data()
    {
        QTest::addColumn<int>("columns");
        for (int columns : { 4, 5, 6 })
            QTest::addRow("%d", columns) << columns;
    }

    void columnsDecideTheGridAndTheValues()
    {
        QFETCH(int, columns);
        const int shown = columns - 2;
        DayTable& table = m_window->table();
        m_window->settings().pocets = QString::number(columns);
        const int day = rowOf2004(9, 9);
        QVERIFY(create(day, [&](Tzaznam& dialog) {
            QCOMPARE(QList<bool>({ dialog.edit(1, 3)->isVisible(), dialog.edit(1, 4)->isVisible() }),
                QList<bool>({ shown >= 3, shown >= 4 }));
            QTest::keyClick(dialog.itemCountBox(), Qt::Key_Up);
            // The hidden edits may hold texts; they are not taken.
            fill(dialog, 1, { "1", "A", "v1", "v2" });
            fill(dialog, 2, { "2", "B", "w1", "w2" });
            dialog.findChild<QPushButton*>("Button1")->click();
        }));
        const auto value
            = [&](const char* text, int column) { return shown >= column ? QString(text) : QString(); };
        QCOMPARE(fieldsOf(table.record(day)).mid(4) + fieldsOf(table.record(day + 1)).mid(4),
            QStringList({ value("v1", 3), value("v2", 4), value("w1", 3), value("w2", 4) }));
        // Editing keeps the values of hidden columns as they were.
        const int other = rowOf2004(20, 8);
        setTexts(other, { "10:00", "Akce", "jedna", "dvě" });
        QVERIFY(edit(other, [&](Teditovat& dialog) {
            QCOMPARE(dialog.edit(1, 3)->text(), value("jedna", 3));
            fill(dialog, 1, { "12:00", "Změněno", value("pět", 3) });
            dialog.findChild<QPushButton*>("Button1")->click();
        }));
        QCOMPARE(fieldsOf(table.record(other)) << QString::number(m_window->selectedRow() - other),
            QStringList(
                { "Pá", "20.08.2004", "12:00", "Změněno", shown >= 3 ? "pět" : "jedna", "dvě", "0" }));
    }

    void editingDeletingAndSaving()
    {
        DayTable& table = m_window->table();
        const int october = rowOf2004(1, 10);
        for (int i = 12; i >= 1; --i)
            table.insertRecord(october + 1, extraRow(QString::number(i), QStringLiteral("Akce %1").arg(i)));
        const auto untouched = table.records();
        // At most ten rows; a double click on the row opens the editor too; "Zrušit" changes nothing.
        QTableView* list = m_window->listView();
        QVERIFY(fixture::onModal<Teditovat>(
            [this](Teditovat& dialog) {
                QVERIFY(dialog.itemCount() == 10 && dialog.edit(10, 2)->text() == QStringLiteral("Akce 9"));
                QCOMPARE(m_window->state().ListBox1.size(), 10); // the rows gathered, not only those shown
                fill(dialog, 2, { "2", "Změna" });
                dialog.findChild<QPushButton*>("Button2")->click();
            },
            [&] {
                m_window->selectRow(october);
                const QPoint cell = list->visualRect(m_window->model().index(october, 1)).center();
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell);
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell);
            }));
        QVERIFY(table.records() == untouched && m_window->focusWidget() == list);
        QVERIFY(m_window->state().pocet.isEmpty() && m_window->state().ListBox1.isEmpty());
        // The next day row ends a day, even when a later day has rows of its own.
        table.insertRecord(october + 15, extraRow("1", "Jiný den"));
        QVERIFY(edit(october + 13, [](Teditovat& dialog) { QCOMPARE(dialog.itemCount(), 1); }));
        // The last day stops at the table's end; an extra row alone is its own entry.
        const int last = table.rowCount() - 1;
        table.insertRecord(last + 1, extraRow("1", "Silvestr"));
        table.insertRecord(last + 2, extraRow("2", "Půlnoc"));
        QVERIFY(edit(last, [&](Teditovat& dialog) {
            QCOMPARE(dialog.itemCount(), 3);
            dialog.edit(3, 2)->setText("Ohňostroj");
            dialog.findChild<QPushButton*>("Button1")->click();
        }));
        QCOMPARE(table.record(last + 2).text(Field::Event), QStringLiteral("Ohňostroj"));

        m_window->settings().pocets = "4";
        // A day row whose only text is a hidden second value still holds an event.
        const int day = rowOf2004(6, 6);
        setTexts(day, { "", "", "", "skryté" });
        table.insertRecord(day + 1, extraRow("11:00", "Zůstane"));
        table.insertRecord(day + 2, extraRow("", "Celodenní výstava"));
        table.insertRecord(table.rowCount(), extraRow(" ", ""));
        auto before = table.records();
        const auto remove = [&](int row, bool yes) {
            m_messenger.scriptAnswers({ yes });
            m_window->selectRow(row);
            fixture::clickToolButton(*m_window, "ToolButton3");
        };
        // Answering No changes nothing, for one row or all.
        remove(day + 2, false);
        m_messenger.scriptAnswers({ false });
        fixture::clickToolButton(*m_window, "ToolButton4");
        QVERIFY(table.records() == before);
        // Extra rows go, an event without a time and a blank row too (nothing else could
        // remove it; here the table's last row), by the toolbar or the menu.
        remove(day + 2, true);
        m_messenger.scriptAnswers({ true });
        m_window->selectRow(table.rowCount() - 1);
        m_window->findChild<QAction*>("Smazatzaznam1")->trigger();
        before.erase(before.begin() + day + 2);
        before.pop_back();
        QVERIFY(table.records() == before);
        // A day row loses its event, hidden values included, and stays.
        remove(day, true);
        QCOMPARE(fieldsOf(table.record(day)).mid(1) << table.record(day + 1).text(Field::Event),
            QStringList({ "06.06.2004", "", "", "", "", "Zůstane" }));
        // A day row of blanks has nothing to delete (the very first row too).
        setTexts(0, { QStringLiteral("\u00a0 ") });
        before = table.records();
        m_messenger.clear();
        remove(0, true);
        // Rows gone from under a pending item are reported, and nothing changes.
        EntryFields fields = m_window->state().entryFields();
        placing::setPending(fields, 1, "1", "Nikam", "", "");
        fields.pocet = QStringList { "  .  .    " };
        QVERIFY(!placing::z1b(table, m_messenger, fields, 4));
        fields.ListBox1 = QStringList { "0", QString::number(table.rowCount()) };
        QVERIFY(!placing::writeBack(table, m_messenger, fields, 2, 4, placing::HiddenTexts::Keep));
        QVERIFY(!placing::writeBack(table, m_messenger, fields, 9, 4, placing::HiddenTexts::Keep));
        QCOMPARE(described(m_messenger),
            QStringList({ "Question|Smazat záznam|Opravdu chcete smazat označený záznam ???",
                "Error|Chyba|Záznam je prázdný", "Error|Nový záznam|Chyba při vytváření nového záznamů",
                "Error|Editovat záznam|Chyba při úpravě záznamů",
                "Error|Editovat záznam|Chyba při úpravě nového záznamů" }));
        QVERIFY(table.records() == before);
        // Closing saves the records byte for byte.
        m_window->close();
        QCOMPARE(test_files::readRaw(m_dir->filePath("data.zrk")),
            QByteArray(reinterpret_cast<const char*>(before.data()), qsizetype(before.size()) * 135));
        m_window.reset();
        m_window = fixture::openWindow(m_dir->path(), m_messenger);
        QVERIFY(m_window->table().records() == before);
        // Deleting all is one reset (that the empty list is never saved is the robustness suite's).
        m_messenger.clear();
        m_messenger.scriptAnswers({ true });
        QSignalSpy resets(&m_window->model(), &QAbstractItemModel::modelReset);
        m_window->findChild<QAction*>("Smazatvse1")->trigger();
        QVERIFY(m_window->model().rowCount() == 0 && resets.count() == 1);
        QCOMPARE(described(m_messenger),
            QStringList { u"Question|Smazat vše|Opravdu chcete smazat všechny záznamy ???"_s });
    }
};

QTEST_MAIN(TestEvents)
#include "tst_events.moc"
