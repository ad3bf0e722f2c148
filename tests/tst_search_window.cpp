#include "app/main_window.h"
#include "calendar/generation.h"
#include "platform/clock.h"
#include "recording_messenger.h"
#include "search/search_window.h"
#include "table_rows.h"
#include "widgets/date_field.h"
#include "window_fixture.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QString kEmptyDate = QStringLiteral("Zvolený datum nebyl nalezen");

void setField(TForm1& window, int row, EventRecord::Field field, const QString& text)
{
    EventRecord record = window.table().record(row);
    record.setText(field, text);
    window.table().setRecord(row, record);
}

QStringList lines(QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void clickLine(QListWidget* list, int line)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(line)).center());
}

} // namespace

// The search window over the main window's day table.
class TestSearchWindow final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();

    void opensFromTheToolbarCentredOnTheSelectedRow();
    void criteriaFollowTheColumns();
    void textSearchTakesOneColumn_data();
    void textSearchTakesOneColumn();
    void dateSearchListsTheDayName_data();
    void dateSearchListsTheDayName();
    void dateOnOpeningStartsNoSearch();
    void openingTheCalendarEmptiesTheResults();
    void dayNamesComeInTheCurrentFormat();
    void clickedResultSelectsItsRowAndStaysOnClosing();
    void emptyDateFieldWarnsOncePerEntry();
    void escapeClosesFromAnyControl();

private:
    // The search window on the first-run window (2004) with `selected` selected.
    void open(int selected, const QDate& today = QDate(2026, 12, 6));
    template <typename T> T* control(const char* name)
    {
        return m_dialog->findChild<T*>(QString::fromLatin1(name));
    }
    void choose(int criterion) { clickLine(control<QListWidget>("ListBox1"), criterion); }
    void searchText(const QString& text);
    QListWidget* results() { return control<QListWidget>("ListBox2"); }
    DateField* dateField() { return control<DateField>("DateEdit1"); }

    std::unique_ptr<QTemporaryDir> m_dir;
    RecordingMessenger m_messenger;
    std::unique_ptr<TForm1> m_window;
    std::unique_ptr<Thledatokno> m_dialog;
};

void TestSearchWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_messenger.clear();
    clock_source::setNow(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
    m_window = fixture::openWindow(m_dir->path(), m_messenger);
    QVERIFY(m_window);
}

void TestSearchWindow::cleanup()
{
    m_dialog.reset();
    m_window.reset();
    clock_source::setNow({});
}

void TestSearchWindow::open(int selected, const QDate& today)
{
    clock_source::setNow(QDateTime(today, QTime(10, 0)));
    m_window->selectRow(selected);
    m_dialog = std::make_unique<Thledatokno>(*m_window, m_messenger);
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
}

void TestSearchWindow::searchText(const QString& text)
{
    QLineEdit* edit = control<QLineEdit>("Edit1");
    edit->setFocus();
    edit->setText(text);
    // "Ok" is the default button: Enter in the text field searches.
    QTest::keyClick(edit, Qt::Key_Return);
}

void TestSearchWindow::opensFromTheToolbarCentredOnTheSelectedRow()
{
    // The main window away from the middle: the search window still opens in the middle.
    const QRect available = m_window->screen()->availableGeometry();
    m_window->move(available.topLeft());
    QVERIFY(m_window->frameGeometry().center() != available.center());
    m_window->selectRow(40);
    QVERIFY(fixture::onModal<Thledatokno>(
        [&](Thledatokno& seen) {
            QCOMPARE(seen.windowTitle(), QStringLiteral("Hledat..."));
            QVERIFY(seen.isModal());
            QVERIFY(available.contains(seen.frameGeometry()));
            QCOMPARE(seen.frameGeometry().center(), available.center());
            QCOMPARE(m_window->state().ListBox4, QStringList { "40" });
            QCOMPARE(seen.findChild<DateField*>("DateEdit1")->text(), QStringLiteral("10.02.2004"));
            // Compact: nothing but the criteria and the legend until something is chosen.
            QVERIFY(seen.findChild<QLabel*>("Label4")->isVisible());
            for (const char* name : { "ListBox2", "Label3", "Panel1", "Panel2", "Panel3" })
                QVERIFY2(!seen.findChild<QWidget*>(name)->isVisible(), name);
            QTest::keyClick(&seen, Qt::Key_Escape);
            QVERIFY(!seen.isVisible());
        },
        [&] { fixture::clickToolButton(*m_window, "ToolButton6"); }));
    // Closed without a click on a result: the opening row, and nothing left behind.
    QCOMPARE(m_window->statusText(0), QStringLiteral("Č. záznamu: 41"));
    QVERIFY(m_window->state().ListBox4.isEmpty());
    QVERIFY(m_window->state().pocet.isEmpty());
    QVERIFY(m_messenger.messages().isEmpty());
}

void TestSearchWindow::criteriaFollowTheColumns()
{
    open(3);
    QCOMPARE(lines(control<QListWidget>("ListBox1")), QStringList({ " Den", " Datum", " Hod.", " Akce" }));
    QCOMPARE(control<QLabel>("Label1")->text(), QStringLiteral("- Hledat podle sloupce -"));
    QCOMPARE(control<QLabel>("Label1")->palette().color(QPalette::WindowText), QColor(Qt::red));
    QCOMPARE(control<QLabel>("Label2")->text(),
        QStringLiteral("! Kliknutím na řádek ve výsledku hledání označíte záznam !"));
    const QString legend = QStringLiteral("Vysvětlivky:  |  č. záznamu  |  ");
    // Each criterion shows its own input and names the column the results show.
    const struct {
        int criterion;
        const char* panel;
        QString legend;
    } kinds[] = { { 0, "Panel1", legend + QStringLiteral("Datum  |") },
        { 1, "Panel2", legend + QStringLiteral("Den  |  ") },
        { 3, "Panel3", legend + QStringLiteral("Datum  |  ") } };
    for (const auto& kind : kinds) {
        choose(kind.criterion);
        for (const char* panel : { "Panel1", "Panel2", "Panel3" })
            QCOMPARE(control<QWidget>(panel)->isVisible(), qstrcmp(panel, kind.panel) == 0);
        QCOMPARE(control<QLabel>("Label4")->text(), kind.legend);
    }
    QCOMPARE(control<QPushButton>("Button2")->text(), QStringLiteral("Aktuální datum"));
    QCOMPARE(control<QPushButton>("Button1")->text(), QStringLiteral("Ok"));
    QVERIFY(control<QPushButton>("Button1")->isDefault());
}

void TestSearchWindow::textSearchTakesOneColumn_data()
{
    QTest::addColumn<int>("criterion");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("whole events") << 3 << "koncert"
                                  << QStringList { "5  |  05.01.2004  |  ", "21  |  21.01.2004  |  " };
    QTest::newRow("the time column") << 2 << "KONCERT" << QStringList { "31  |  31.01.2004  |  " };
    QTest::newRow("Czech capitals") << 3 << "ŽIŽKOV" << QStringList { "101  |  10.04.2004  |  " };
    QTest::newRow("an extra row has no date") << 3 << "výstava" << QStringList { "201  |    |  " };
    QTest::newRow("value 1") << 4 << "rudolfinum" << QStringList { "11  |  11.01.2004  |  " };
    QTest::newRow("value 2") << 5 << "rudolfinum" << QStringList { "12  |  12.01.2004  |  " };
    QTest::newRow("no hit") << 3 << "nic takového" << QStringList {};
}

void TestSearchWindow::textSearchTakesOneColumn()
{
    QFETCH(int, criterion);
    QFETCH(QString, text);
    QFETCH(QStringList, found);
    using Field = EventRecord::Field;
    Settings& settings = m_window->settings();
    settings.pocets = QStringLiteral("6");
    settings.items[4].title = QStringLiteral("Místo");
    settings.items[5].title = QStringLiteral("Cena");
    m_window->buildListColumns();
    setField(*m_window, 4, Field::Event, QStringLiteral("Koncert"));
    setField(*m_window, 9, Field::Event, QStringLiteral("Koncert v parku"));
    setField(*m_window, 20, Field::Event, QStringLiteral("KONCERT"));
    setField(*m_window, 30, Field::Time, QStringLiteral("koncert"));
    setField(*m_window, 100, Field::Event, QStringLiteral("žižkov"));
    setField(*m_window, 101, Field::Event, QStringLiteral("Zizkov"));
    setField(*m_window, 10, Field::Value1, QStringLiteral("Rudolfinum"));
    setField(*m_window, 11, Field::Value2, QStringLiteral("Rudolfinum"));
    m_window->table().insertRecord(200, fixture::extraRow(QString(), QStringLiteral("Výstava")));
    open(7);
    QCOMPARE(lines(control<QListWidget>("ListBox1")).mid(4), QStringList({ " Místo", " Cena" }));
    choose(criterion);
    const int compactHeight = m_dialog->height();
    searchText(text);
    QCOMPARE(lines(results()), found);
    QStringList rows;
    for (const QString& line : found)
        rows << QString::number(line.section(' ', 0, 0).toInt() - 1);
    QCOMPARE(m_window->state().pocet, rows);
    const QString verdict
        = found.isEmpty() ? QStringLiteral("! NENALEZENO !") : QStringLiteral("! NALEZENO !");
    QCOMPARE(m_dialog->vysledek(), verdict);
    QCOMPARE(control<QLabel>("vysledek")->text(), verdict);
    QVERIFY(control<QLabel>("Label3")->isVisible());
    QCOMPARE(results()->isVisible(), !found.isEmpty());
    QTRY_VERIFY(m_dialog->height() > compactHeight);
    QCOMPARE(QApplication::focusWidget(), control<QPushButton>("Button1"));
    // Choosing a criterion again empties the text and the results.
    choose(criterion);
    QVERIFY(control<QLineEdit>("Edit1")->text().isEmpty());
    QCOMPARE(results()->count(), 0);
    QVERIFY(m_window->state().pocet.isEmpty());
}

void TestSearchWindow::dateSearchListsTheDayName_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("found");
    QTest::newRow("the first day") << QDate(2004, 1, 1) << "1  |  Čt  |  ";
    QTest::newRow("a leap day") << QDate(2004, 2, 29) << "60  |  Ne  |  ";
    QTest::newRow("the last day") << QDate(2004, 12, 31) << "366  |  Pá  |  ";
}

void TestSearchWindow::dateSearchListsTheDayName()
{
    QFETCH(QDate, date);
    QFETCH(QString, found);
    open(100);
    choose(1);
    dateField()->setDate(date);
    QCOMPARE(lines(results()), QStringList { found });
    QCOMPARE(m_window->state().pocet, QStringList { QString::number(found.section(' ', 0, 0).toInt() - 1) });
    // "Aktuální datum" searches today, which lies outside the table.
    QTest::mouseClick(control<QPushButton>("Button2"), Qt::LeftButton);
    QCOMPARE(dateField()->date(), QDate(2026, 12, 6));
    QCOMPARE(m_dialog->vysledek(), QStringLiteral("! NENALEZENO !"));
    QVERIFY(m_messenger.messages().isEmpty());
}

void TestSearchWindow::dateOnOpeningStartsNoSearch()
{
    // Opened on today's row: the date put in searches nothing, and stays unarmed.
    const QDate today(2004, 5, 20);
    open(table_rows::ofDate(m_window->table(), QStringLiteral("20.05.2004")), today);
    QCOMPARE(dateField()->date(), today);
    choose(1);
    QCOMPARE(m_dialog->zmena(), QStringLiteral("zmena"));
    control<QPushButton>("Button2")->click();
    QVERIFY(m_dialog->vysledek().isEmpty());
    // Another day arms the field and searches it.
    dateField()->setDate(QDate(2004, 5, 21));
    QCOMPARE(m_dialog->zmena(), QStringLiteral("ok"));
    QCOMPARE(lines(results()), QStringList { "142  |  Pá  |  " });
    control<QPushButton>("Button2")->click();
    QCOMPARE(lines(results()), QStringList { "141  |  Čt  |  " });

    // Opened on another day: armed from the start, but nothing searched yet.
    m_dialog->close();
    QVERIFY(m_window->state().pocet.isEmpty());
    open(3, today);
    QCOMPARE(m_dialog->zmena(), QStringLiteral("ok"));
    QVERIFY(m_dialog->vysledek().isEmpty());
    QVERIFY(m_window->state().pocet.isEmpty());
}

void TestSearchWindow::openingTheCalendarEmptiesTheResults()
{
    open(table_rows::ofDate(m_window->table(), QStringLiteral("20.05.2004")), QDate(2004, 5, 20));
    choose(1);
    dateField()->setDate(QDate(2004, 5, 22));
    QCOMPARE(results()->count(), 1);
    dateField()->openCalendar();
    QCOMPARE(results()->count(), 0);
    QVERIFY(m_window->state().pocet.isEmpty());
    QCOMPARE(m_dialog->zmena(), QStringLiteral("ok"));
    dateField()->calendarPopup()->close();
    QVERIFY(m_messenger.messages().isEmpty());
}

void TestSearchWindow::dayNamesComeInTheCurrentFormat()
{
    generation::rebuildWithFormat(m_window->table(), "2", m_messenger);
    m_window->settings().format = QStringLiteral("2");
    open(0);
    choose(0);
    auto* names = control<QComboBox>("ComboBox1");
    QStringList items;
    for (int i = 0; i < names->count(); ++i)
        items << names->itemText(i);
    QCOMPARE(items, QStringList({ "pondělí", "úterý", "středa", "čtvrtek", "pátek", "sobota", "neděle" }));
    QCOMPARE(names->currentIndex(), -1);
    names->setCurrentIndex(3);
    const QStringList found = lines(results());
    QCOMPARE(found.size(), 53);
    QCOMPARE(found.first(), QStringLiteral("1  |  01.01.2004  |  "));
    QCOMPARE(found.last(), QStringLiteral("365  |  30.12.2004  |  "));
    QCOMPARE(m_window->state().pocet.size(), 53);
}

void TestSearchWindow::clickedResultSelectsItsRowAndStaysOnClosing()
{
    open(7);
    choose(0);
    control<QComboBox>("ComboBox1")->setCurrentIndex(6);
    QCOMPARE(results()->count(), 52);
    const QString panel = m_window->statusText(0);
    clickLine(results(), 10);
    const int row = table_rows::ofDate(m_window->table(), QStringLiteral("14.03.2004"));
    QCOMPARE(m_window->selectedRow(), row);
    QCOMPARE(m_window->listView()->currentIndex().row(), row);
    QVERIFY(m_dialog->isVisible());
    // The status bar tells the row only when the window closes.
    QCOMPARE(m_window->statusText(0), panel);
    // Below the last line nothing is hit.
    results()->scrollToBottom();
    QTest::mouseClick(
        results()->viewport(), Qt::LeftButton, {}, QPoint(5, results()->viewport()->height() - 2));
    QCOMPARE(m_window->selectedRow(), row);
    // A new search without a click still closes on the row clicked last.
    choose(1);
    dateField()->setDate(QDate(2004, 6, 1));
    m_dialog->close();
    QCOMPARE(m_window->statusText(0), QStringLiteral("Č. záznamu: %1").arg(row + 1));
    QVERIFY(m_window->state().pocet.isEmpty());
}

void TestSearchWindow::emptyDateFieldWarnsOncePerEntry()
{
    m_window->table().insertRecord(6, fixture::extraRow(QString(), QStringLiteral("Beseda")));
    open(6);
    // An extra row has no date to put into the field.
    QCOMPARE(m_messenger.texts(), QStringList { kEmptyDate });
    QCOMPARE(m_messenger.messages()[0].title, QStringLiteral("Informace"));
    QCOMPARE(m_messenger.messages()[0].icon, Messenger::Icon::Information);
    choose(1);
    DateField* field = dateField();
    QVERIFY(field->isEmpty());
    m_messenger.clear();
    QFocusEvent tab(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(field->lineEdit(), &tab);
    QCOMPARE(m_messenger.texts(), QStringList { kEmptyDate });
    // The focus that the message box gives back is no new entry.
    QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(field->lineEdit(), &back);
    QCOMPARE(m_messenger.texts().size(), 1);
    QTest::mouseClick(field->lineEdit(), Qt::LeftButton);
    QCOMPARE(m_messenger.texts().size(), 2);
    field->openCalendar();
    QCOMPARE(m_messenger.texts().size(), 3);
    field->calendarPopup()->close();
    // With a date in it the field says nothing.
    m_messenger.clear();
    field->setDate(QDate(2004, 1, 3));
    QCoreApplication::sendEvent(field->lineEdit(), &tab);
    QVERIFY(m_messenger.messages().isEmpty());
    QCOMPARE(lines(results()), QStringList { "3  |  So  |  " });
}

void TestSearchWindow::escapeClosesFromAnyControl()
{
    open(12);
    choose(3);
    QLineEdit* edit = control<QLineEdit>("Edit1");
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("abc"));
    QTest::keyClick(edit, Qt::Key_Escape);
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_window->statusText(0), QStringLiteral("Č. záznamu: 13"));
}

QTEST_MAIN(TestSearchWindow)
#include "tst_search_window.moc"
