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

// The rows that the result lines name (their numbers count from 1).
QStringList rowsOf(const QStringList& found)
{
    QStringList rows;
    for (const QString& line : found)
        rows << QString::number(line.section(' ', 0, 0).toInt() - 1);
    return rows;
}

} // namespace

// The search window over the main window's day table.
class TestSearchWindow final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup() { m_dialog.reset(); m_window.reset(); clock_source::setNow({}); }

    void opensFromTheToolbarCentredOnTheSelectedRow();
    void textSearchTakesOneColumn_data();
    void textSearchTakesOneColumn();
    void dateOnOpeningStartsNoSearch();
    void clickedResultSelectsItsRowAndStaysOnClosing();

private:
    // The search window on the first-run window (2004) with `selected` selected.
    void open(int selected, const QDate& today = QDate(2026, 12, 6));
    template <typename T> T* control(const char* name) { return m_dialog->findChild<T*>(QString::fromLatin1(name)); }
    void choose(int criterion) { clickLine(control<QListWidget>("ListBox1"), criterion); }
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

void TestSearchWindow::open(int selected, const QDate& today)
{
    clock_source::setNow(QDateTime(today, QTime(10, 0)));
    m_window->selectRow(selected);
    m_dialog = std::make_unique<Thledatokno>(*m_window, m_messenger);
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
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
            QVERIFY(seen.isModal() && available.contains(seen.frameGeometry()));
            QCOMPARE(seen.frameGeometry().center(), available.center());
            QCOMPARE(seen.findChild<DateField*>("DateEdit1")->text(), QStringLiteral("10.02.2004"));
            QTest::keyClick(&seen, Qt::Key_Escape);
            QVERIFY(!seen.isVisible());
        },
        [&] { fixture::clickToolButton(*m_window, "ToolButton6"); }));
    // Closed without a click on a result: the opening row, and nothing left behind.
    QCOMPARE(m_window->statusText(0), QStringLiteral("Č. záznamu: 41"));
    QVERIFY(m_window->state().ListBox4.isEmpty() && m_window->state().pocet.isEmpty());
    QVERIFY(m_messenger.messages().isEmpty());
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
    const std::tuple<int, Field, const char*> texts[] = { { 4, Field::Event, "Koncert" },
        { 9, Field::Event, "Koncert v parku" }, { 20, Field::Event, "KONCERT" }, { 30, Field::Time, "koncert" },
        { 100, Field::Event, "žižkov" }, { 101, Field::Event, "Zizkov" }, { 10, Field::Value1, "Rudolfinum" },
        { 11, Field::Value2, "Rudolfinum" } };
    for (const auto& [row, field, text] : texts) {
        EventRecord record = m_window->table().record(row);
        record.setText(field, QString::fromUtf8(text));
        m_window->table().setRecord(row, record);
    }
    m_window->table().insertRecord(200, fixture::extraRow(QString(), QStringLiteral("Výstava")));
    open(7);
    QCOMPARE(lines(control<QListWidget>("ListBox1")),
        QStringList({ " Den", " Datum", " Hod.", " Akce", " Místo", " Cena" }));
    // Each kind of criterion shows its own input and names the column the results show.
    const QString legend = QStringLiteral("Vysvětlivky:  |  č. záznamu  |  ");
    for (const auto& [kind, panel, shown] : { std::tuple { 0, "Panel1", legend + "Datum  |" },
             { 1, "Panel2", legend + "Den  |  " }, { criterion, "Panel3", legend + "Datum  |  " } }) {
        choose(kind);
        for (const char* name : { "Panel1", "Panel2", "Panel3" })
            QCOMPARE(control<QWidget>(name)->isVisible(), qstrcmp(name, panel) == 0);
        QCOMPARE(control<QLabel>("Label4")->text(), shown);
    }
    // "Ok" is the default button: Enter in the text field searches.
    QLineEdit* edit = control<QLineEdit>("Edit1");
    edit->setFocus();
    fixture::typeText(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(lines(results()), found);
    QCOMPARE(m_window->state().pocet, rowsOf(found));
    QCOMPARE(control<QLabel>("vysledek")->text(), found.isEmpty() ? "! NENALEZENO !" : "! NALEZENO !");
    QCOMPARE(results()->isVisible(), !found.isEmpty());
    // Choosing a criterion again empties the text and the results.
    choose(criterion);
    QVERIFY(edit->text().isEmpty() && results()->count() == 0 && m_window->state().pocet.isEmpty());
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
    // The first, a leap and the last day, each with its day name.
    for (const auto& [date, found] : { std::pair { QDate(2004, 1, 1), "1  |  Čt  |  " },
             { QDate(2004, 2, 29), "60  |  Ne  |  " }, { QDate(2004, 12, 31), "366  |  Pá  |  " } }) {
        dateField()->setDate(date);
        QCOMPARE(lines(results()), QStringList { found });
    }
    // Opening the calendar empties the results.
    dateField()->openCalendar();
    QVERIFY(results()->count() == 0 && m_window->state().pocet.isEmpty());
    dateField()->calendarPopup()->close();

    // Opened on an extra row: armed from the start, nothing searched yet, and no date
    // to put into the field, which warns on opening and on every entry (by Tab, a click
    // or the calendar; the focus that the message box gives back is no new entry).
    m_dialog->close();
    QVERIFY(m_messenger.messages().isEmpty());
    m_window->table().insertRecord(6, fixture::extraRow(QString(), QStringLiteral("Beseda")));
    open(6, today);
    QCOMPARE(m_dialog->zmena(), QStringLiteral("ok"));
    QVERIFY(m_dialog->vysledek().isEmpty() && m_window->state().pocet.isEmpty());
    const QString warning = QStringLiteral("Information|Informace|Zvolený datum nebyl nalezen");
    QCOMPARE(fixture::described(m_messenger), QStringList { warning });
    choose(1);
    DateField* field = dateField();
    m_messenger.clear();
    QFocusEvent tab(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(field->lineEdit(), &tab);
    QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(field->lineEdit(), &back);
    QTest::mouseClick(field->lineEdit(), Qt::LeftButton);
    field->openCalendar();
    QCOMPARE(fixture::described(m_messenger), QStringList(3, warning));
    field->calendarPopup()->close();
    // With a date in it the field says nothing.
    m_messenger.clear();
    field->setDate(QDate(2004, 1, 3));
    QCoreApplication::sendEvent(field->lineEdit(), &tab);
    QVERIFY(m_messenger.messages().isEmpty());
    QCOMPARE(lines(results()), QStringList { "3  |  So  |  " });
}

void TestSearchWindow::clickedResultSelectsItsRowAndStaysOnClosing()
{
    // Day names come in the table's format.
    generation::rebuildWithFormat(m_window->table(), "2", m_messenger);
    m_window->settings().format = QStringLiteral("2");
    open(7);
    choose(0);
    auto* names = control<QComboBox>("ComboBox1");
    QCOMPARE(QStringList({ names->itemText(0), names->itemText(3), names->itemText(6) }),
        QStringList({ "pondělí", "čtvrtek", "neděle" }));
    names->setCurrentIndex(3);
    const QStringList found = lines(results());
    QCOMPARE(found.size(), 53);
    QCOMPARE(QStringList({ found.first(), found.last() }),
        QStringList({ "1  |  01.01.2004  |  ", "365  |  30.12.2004  |  " }));
    QCOMPARE(m_window->state().pocet, rowsOf(found));

    const QString panel = m_window->statusText(0);
    clickLine(results(), 10);
    const int row = table_rows::ofDate(m_window->table(), QStringLiteral("11.03.2004"));
    QCOMPARE(m_window->selectedRow(), row);
    QVERIFY(m_dialog->isVisible());
    // The status bar tells the row only when the window closes.
    QCOMPARE(m_window->statusText(0), panel);
    // A new search without a click still closes on the row clicked last, from any control.
    choose(3);
    QLineEdit* edit = control<QLineEdit>("Edit1");
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("abc"));
    QTest::keyClick(edit, Qt::Key_Escape);
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_window->statusText(0), QStringLiteral("Č. záznamu: %1").arg(row + 1));
    QVERIFY(m_window->state().pocet.isEmpty());
}

QTEST_MAIN(TestSearchWindow)
#include "tst_search_window.moc"
