#include "app/main_window.h"
#include "app/program.h"
#include "calendar/generation.h"
#include "platform/clock.h"
#include "recording_messenger.h"
#include "search/search_window.h"
#include "table_rows.h"
#include "widgets/date_field.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

const QString kEmptyDate = QStringLiteral("Zvolený datum nebyl nalezen");

int rowOfDate(TForm1& window, const QString& date)
{
    return table_rows::ofDate(window.table(), date);
}

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
    void initTestCase();
    void init();
    void cleanup();

    void opensFromTheToolbarOnTheSelectedRow();
    void opensCentredOnTheScreen();
    void criteriaFollowTheColumns();
    void textSearchTakesWholeTextsOfOneColumn();
    void czechCapitalsMatchSmallLetters();
    void hitsInExtraRowsHaveNoDate();
    void dateSearchListsTheDayName();
    void dateOnOpeningStartsNoSearch();
    void openingTheCalendarEmptiesTheResults();
    void dayNamesComeInTheCurrentFormat();
    void sixColumnsSearchBothValues();
    void noHitShowsNoListUntilTheNextHit();
    void clickedResultSelectsItsRowAndStaysOnClosing();
    void emptyDateFieldWarnsOncePerEntry();
    void escapeClosesFromAnyControl();

private:
    // A first-run window (2004) with `selected` selected, and the search window on it.
    void open(int selected, const QDate& today = QDate(2026, 12, 6));
    template <typename T> T* control(const char* name)
    {
        return m_dialog->findChild<T*>(QString::fromLatin1(name));
    }
    void choose(int criterion);
    void searchText(const QString& text);
    QListWidget* results() { return control<QListWidget>("ListBox2"); }

    std::unique_ptr<QTemporaryDir> m_dir;
    RecordingMessenger m_messenger;
    std::unique_ptr<TForm1> m_window;
    std::unique_ptr<Thledatokno> m_dialog;
};

void TestSearchWindow::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestSearchWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_messenger.clear();
    clock_source::setNow(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
    m_window = program::assembleMainWindow(m_dir->path(), m_messenger);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
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

void TestSearchWindow::choose(int criterion)
{
    auto* list = control<QListWidget>("ListBox1");
    clickLine(list, criterion);
}

void TestSearchWindow::searchText(const QString& text)
{
    QLineEdit* edit = control<QLineEdit>("Edit1");
    edit->setFocus();
    edit->setText(text);
    // "Ok" is the default button: Enter in the text field searches.
    QTest::keyClick(edit, Qt::Key_Return);
}

void TestSearchWindow::opensFromTheToolbarOnTheSelectedRow()
{
    m_window->selectRow(40);
    QPointer<Thledatokno> seen;
    QStringList listBox4;
    QString dateText;
    bool compact = false;
    QTimer::singleShot(0, m_window.get(), [&] {
        seen = qobject_cast<Thledatokno*>(QApplication::activeModalWidget());
        if (!seen)
            return;
        listBox4 = m_window->state().ListBox4;
        dateText = seen->findChild<DateField*>("DateEdit1")->text();
        compact = !seen->findChild<QListWidget*>("ListBox2")->isVisible()
            && !seen->findChild<QLabel*>("Label3")->isVisible()
            && seen->findChild<QLabel*>("Label4")->isVisible()
            && !seen->findChild<QWidget*>("Panel1")->isVisible()
            && !seen->findChild<QWidget*>("Panel2")->isVisible()
            && !seen->findChild<QWidget*>("Panel3")->isVisible();
        QCOMPARE(seen->windowTitle(), QStringLiteral("Hledat..."));
        QVERIFY(seen->isModal());
        QTest::keyClick(seen, Qt::Key_Escape);
    });
    m_window->findChild<QToolButton*>("ToolButton6")->click();
    QCOMPARE(listBox4, QStringList { "40" });
    QCOMPARE(dateText, QStringLiteral("10.02.2004"));
    QVERIFY(compact);
    // Closed without a click on a result: the opening row, and nothing left behind.
    QVERIFY(seen.isNull());
    QCOMPARE(m_window->statusText(0), QStringLiteral("Č. záznamu: 41"));
    QVERIFY(m_window->state().ListBox4.isEmpty());
    QVERIFY(m_window->state().pocet.isEmpty());
    QVERIFY(m_messenger.messages().isEmpty());
}

void TestSearchWindow::opensCentredOnTheScreen()
{
    // The main window away from the middle: the window still opens in the middle.
    const QRect available = m_window->screen()->availableGeometry();
    m_window->move(available.topLeft());
    QVERIFY(m_window->frameGeometry().center() != available.center());
    m_window->selectRow(40);
    QRect frame;
    QTimer::singleShot(0, m_window.get(), [&] {
        if (auto* seen = qobject_cast<Thledatokno*>(QApplication::activeModalWidget())) {
            frame = seen->frameGeometry();
            seen->reject();
        }
    });
    m_window->findChild<QToolButton*>("ToolButton6")->click();
    QVERIFY(available.contains(frame));
    QCOMPARE(frame.center(), available.center());
}

void TestSearchWindow::criteriaFollowTheColumns()
{
    open(3);
    auto* criteria = control<QListWidget>("ListBox1");
    QCOMPARE(lines(criteria), QStringList({ " Den", " Datum", " Hod.", " Akce" }));
    QCOMPARE(control<QLabel>("Label1")->text(), QStringLiteral("- Hledat podle sloupce -"));
    QCOMPARE(control<QLabel>("Label1")->palette().color(QPalette::WindowText), QColor(Qt::red));
    QCOMPARE(control<QLabel>("Label2")->text(),
        QStringLiteral("! Kliknutím na řádek ve výsledku hledání označíte záznam !"));
    // Opening on the focused list chooses nothing yet.
    QVERIFY(!control<QWidget>("Panel1")->isVisible());
    const QString legend = QStringLiteral("Vysvětlivky:  |  č. záznamu  |  ");
    choose(0);
    QVERIFY(control<QWidget>("Panel1")->isVisible());
    QCOMPARE(control<QLabel>("Label4")->text(), legend + QStringLiteral("Datum  |"));
    choose(1);
    QVERIFY(!control<QWidget>("Panel1")->isVisible());
    QVERIFY(control<QWidget>("Panel2")->isVisible());
    QCOMPARE(control<QLabel>("Label4")->text(), legend + QStringLiteral("Den  |  "));
    QCOMPARE(control<QPushButton>("Button2")->text(), QStringLiteral("Aktuální datum"));
    choose(3);
    QVERIFY(control<QWidget>("Panel3")->isVisible());
    QCOMPARE(control<QLabel>("Label4")->text(), legend + QStringLiteral("Datum  |  "));
    QCOMPARE(control<QPushButton>("Button1")->text(), QStringLiteral("Ok"));
    QVERIFY(control<QPushButton>("Button1")->isDefault());
    // Choosing a criterion again empties the text field.
    control<QLineEdit>("Edit1")->setText(QStringLiteral("x"));
    choose(2);
    QVERIFY(control<QLineEdit>("Edit1")->text().isEmpty());
}

void TestSearchWindow::textSearchTakesWholeTextsOfOneColumn()
{
    setField(*m_window, 4, EventRecord::Field::Event, QStringLiteral("Koncert"));
    setField(*m_window, 9, EventRecord::Field::Event, QStringLiteral("Koncert v parku"));
    setField(*m_window, 20, EventRecord::Field::Event, QStringLiteral("KONCERT"));
    setField(*m_window, 30, EventRecord::Field::Time, QStringLiteral("koncert"));
    open(7);
    choose(3);
    searchText(QStringLiteral("koncert"));
    QCOMPARE(lines(results()), QStringList({ "5  |  05.01.2004  |  ", "21  |  21.01.2004  |  " }));
    QCOMPARE(m_window->state().pocet, QStringList({ "4", "20" }));
    QCOMPARE(m_dialog->vysledek(), QStringLiteral("! NALEZENO !"));
    QCOMPARE(control<QLabel>("vysledek")->text(), QStringLiteral("! NALEZENO !"));
    QVERIFY(results()->isVisible());
    QVERIFY(control<QLabel>("Label3")->isVisible());
    QCOMPARE(QApplication::focusWidget(), control<QPushButton>("Button1"));
    // The time column is a criterion of its own.
    choose(2);
    QVERIFY(lines(results()).isEmpty());
    QVERIFY(m_window->state().pocet.isEmpty());
    searchText(QStringLiteral("KONCERT"));
    QCOMPARE(lines(results()), QStringList { "31  |  31.01.2004  |  " });
}

void TestSearchWindow::czechCapitalsMatchSmallLetters()
{
    setField(*m_window, 100, EventRecord::Field::Event, QStringLiteral("žižkov"));
    setField(*m_window, 101, EventRecord::Field::Event, QStringLiteral("Zizkov"));
    open(0);
    choose(3);
    searchText(QStringLiteral("ŽIŽKOV"));
    QCOMPARE(lines(results()), QStringList { "101  |  10.04.2004  |  " });
}

void TestSearchWindow::hitsInExtraRowsHaveNoDate()
{
    EventRecord extra = EventRecord::blank();
    extra.setText(EventRecord::Field::Event, QStringLiteral("Výstava"));
    m_window->table().insertRecord(11, extra);
    open(0);
    choose(3);
    searchText(QStringLiteral("výstava"));
    QCOMPARE(lines(results()), QStringList { "12  |    |  " });
}

void TestSearchWindow::dateSearchListsTheDayName()
{
    open(0);
    choose(1);
    control<DateField>("DateEdit1")->setDate(QDate(2004, 2, 29));
    QCOMPARE(lines(results()), QStringList { "60  |  Ne  |  " });
    QCOMPARE(m_window->state().pocet, QStringList { "59" });
    // "Aktuální datum" searches today, which lies outside the table.
    control<QPushButton>("Button2")->click();
    QCOMPARE(control<DateField>("DateEdit1")->date(), QDate(2026, 12, 6));
    QCOMPARE(m_dialog->vysledek(), QStringLiteral("! NENALEZENO !"));
    QVERIFY(m_messenger.messages().isEmpty());
}

void TestSearchWindow::dateOnOpeningStartsNoSearch()
{
    // Opened on today's row: the date put in searches nothing, and stays unarmed.
    const QDate today(2004, 5, 20);
    open(rowOfDate(*m_window, QStringLiteral("20.05.2004")), today);
    QCOMPARE(control<DateField>("DateEdit1")->date(), today);
    choose(1);
    QCOMPARE(m_dialog->zmena(), QStringLiteral("zmena"));
    QVERIFY(m_dialog->vysledek().isEmpty());
    control<QPushButton>("Button2")->click();
    QVERIFY(m_dialog->vysledek().isEmpty());
    // Another day arms the field and searches it.
    control<DateField>("DateEdit1")->setDate(QDate(2004, 5, 21));
    QCOMPARE(m_dialog->zmena(), QStringLiteral("ok"));
    QCOMPARE(lines(results()), QStringList { "142  |  Pá  |  " });
    control<QPushButton>("Button2")->click();
    QCOMPARE(lines(results()), QStringList { "141  |  Čt  |  " });

    // Opened on another day: armed from the start, but nothing searched yet.
    m_dialog->close();
    QVERIFY(m_window->state().pocet.isEmpty());
    m_dialog.reset();
    open(3, today);
    QCOMPARE(m_dialog->zmena(), QStringLiteral("ok"));
    QVERIFY(m_dialog->vysledek().isEmpty());
    QVERIFY(m_window->state().pocet.isEmpty());
}

void TestSearchWindow::openingTheCalendarEmptiesTheResults()
{
    const QDate today(2004, 5, 20);
    open(rowOfDate(*m_window, QStringLiteral("20.05.2004")), today);
    choose(0);
    control<QComboBox>("ComboBox1")->setCurrentIndex(0);
    QCOMPARE(results()->count(), 52);
    choose(1);
    auto* field = control<DateField>("DateEdit1");
    field->setDate(QDate(2004, 5, 22));
    QCOMPARE(results()->count(), 1);
    field->openCalendar();
    QCOMPARE(results()->count(), 0);
    QVERIFY(m_window->state().pocet.isEmpty());
    QCOMPARE(m_dialog->zmena(), QStringLiteral("ok"));
    field->calendarPopup()->close();
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

void TestSearchWindow::sixColumnsSearchBothValues()
{
    Settings& settings = m_window->settings();
    settings.pocets = QStringLiteral("6");
    settings.items[4].title = QStringLiteral("Místo");
    settings.items[5].title = QStringLiteral("Cena");
    m_window->buildListColumns();
    setField(*m_window, 10, EventRecord::Field::Value1, QStringLiteral("Rudolfinum"));
    setField(*m_window, 11, EventRecord::Field::Value2, QStringLiteral("Rudolfinum"));
    open(0);
    const QStringList criteria = lines(control<QListWidget>("ListBox1"));
    QCOMPARE(criteria.size(), 6);
    QCOMPARE(criteria[4], QStringLiteral(" Místo"));
    QCOMPARE(criteria[5], QStringLiteral(" Cena"));
    choose(4);
    searchText(QStringLiteral("rudolfinum"));
    QCOMPARE(lines(results()), QStringList { "11  |  11.01.2004  |  " });
    choose(5);
    searchText(QStringLiteral("rudolfinum"));
    QCOMPARE(lines(results()), QStringList { "12  |  12.01.2004  |  " });
}

void TestSearchWindow::noHitShowsNoListUntilTheNextHit()
{
    open(0);
    choose(3);
    const int compactHeight = m_dialog->height();
    searchText(QStringLiteral("nic takového"));
    QCOMPARE(m_dialog->vysledek(), QStringLiteral("! NENALEZENO !"));
    QVERIFY(control<QLabel>("Label3")->isVisible());
    QVERIFY(control<QLabel>("vysledek")->isVisible());
    QVERIFY(!results()->isVisible());
    QVERIFY(control<QLabel>("Label4")->isVisible());
    QTRY_VERIFY(m_dialog->height() > compactHeight);
    const int noHitHeight = m_dialog->height();
    choose(0);
    control<QComboBox>("ComboBox1")->setCurrentIndex(4);
    QCOMPARE(m_dialog->vysledek(), QStringLiteral("! NALEZENO !"));
    QVERIFY(results()->isVisible());
    QCOMPARE(results()->count(), 53);
    QTRY_VERIFY(m_dialog->height() > noHitHeight);
}

void TestSearchWindow::clickedResultSelectsItsRowAndStaysOnClosing()
{
    open(7);
    choose(0);
    control<QComboBox>("ComboBox1")->setCurrentIndex(6);
    QCOMPARE(results()->count(), 52);
    const QString panel = m_window->statusText(0);
    clickLine(results(), 10);
    const int row = rowOfDate(*m_window, QStringLiteral("14.03.2004"));
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
    control<DateField>("DateEdit1")->setDate(QDate(2004, 6, 1));
    m_dialog->close();
    QCOMPARE(m_window->statusText(0), QStringLiteral("Č. záznamu: %1").arg(row + 1));
    QVERIFY(m_window->state().pocet.isEmpty());
}

void TestSearchWindow::emptyDateFieldWarnsOncePerEntry()
{
    EventRecord extra = EventRecord::blank();
    extra.setText(EventRecord::Field::Event, QStringLiteral("Beseda"));
    m_window->table().insertRecord(6, extra);
    open(6);
    // An extra row has no date to put into the field.
    QCOMPARE(m_messenger.texts(), QStringList { kEmptyDate });
    QCOMPARE(m_messenger.messages()[0].title, QStringLiteral("Informace"));
    QCOMPARE(m_messenger.messages()[0].icon, Messenger::Icon::Information);
    choose(1);
    auto* field = control<DateField>("DateEdit1");
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
