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

} // namespace

// The search window over the main window's day table.
class TestSearchWindow final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup() { m_dialog.reset(), m_window.reset(), clock_source::setNow({}); }

    void fromTheToolbarAClickedResultStays();
    void textSearchTakesOneColumn();
    void dateSearches();

private:
    // The search window on the first-run window (2004) with `selected` selected.
    void open(int selected, const QDate& today);
    template <typename T> T* control(const char* name)
    {
        return m_seen->findChild<T*>(QString::fromLatin1(name));
    }
    void choose(int criterion) { clickLine(control<QListWidget>("ListBox1"), criterion); }
    QStringList results() { return lines(control<QListWidget>("ListBox2")); }
    DateField* dateField() { return control<DateField>("DateEdit1"); }

    std::unique_ptr<QTemporaryDir> m_dir;
    RecordingMessenger m_messenger;
    std::unique_ptr<TForm1> m_window;
    std::unique_ptr<Thledatokno> m_dialog;
    Thledatokno* m_seen = nullptr; // the search window the controls are looked up in
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
    m_seen = m_dialog.get();
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
}

void TestSearchWindow::fromTheToolbarAClickedResultStays()
{
    // Day names come in the table's format; the main window away from the middle.
    generation::rebuildWithFormat(m_window->table(), "2", m_messenger);
    m_window->settings().format = QStringLiteral("2");
    const QRect available = m_window->screen()->availableGeometry();
    m_window->move(available.topLeft());
    QVERIFY(m_window->frameGeometry().center() != available.center());
    m_window->selectRow(40);
    const QString panel = m_window->statusText(0);
    const int row = table_rows::ofDate(m_window->table(), QStringLiteral("11.03.2004"));
    QVERIFY(fixture::onModal<Thledatokno>(
        [&](Thledatokno& seen) {
            m_seen = &seen;
            QCOMPARE(seen.windowTitle(), QStringLiteral("Hledat..."));
            QVERIFY(seen.isModal() && seen.frameGeometry().center() == available.center());
            QCOMPARE(dateField()->text(), QStringLiteral("10.02.2004"));
            choose(0);
            control<QComboBox>("ComboBox1")->setCurrentIndex(3); // Thursday, as the table names it
            const QStringList found = results();
            QCOMPARE(QStringList({ QString::number(found.size()), found.first(), found.last() }),
                QStringList({ "53", "1  |  01.01.2004  |  ", "365  |  30.12.2004  |  " }));
            // A click selects the line's row, the first line too; the status bar tells the row
            // only when the window closes.
            clickLine(control<QListWidget>("ListBox2"), 0);
            QCOMPARE(m_window->selectedRow(), 0);
            clickLine(control<QListWidget>("ListBox2"), 10);
            QVERIFY(m_window->selectedRow() == row && seen.isVisible() && m_window->statusText(0) == panel);
            // A new search without a click still closes on the row clicked last, from any control.
            choose(3);
            control<QLineEdit>("Edit1")->setFocus();
            QTest::keyClicks(control<QLineEdit>("Edit1"), QStringLiteral("abc"));
            QTest::keyClick(control<QLineEdit>("Edit1"), Qt::Key_Escape);
            QVERIFY(!seen.isVisible());
        },
        [&] { fixture::clickToolButton(*m_window, "ToolButton6"); }));
    QCOMPARE(m_window->statusText(0), QStringLiteral("Č. záznamu: %1").arg(row + 1));
    QVERIFY(m_window->state().ListBox4.isEmpty() && m_window->state().pocet.isEmpty()
        && m_messenger.messages().isEmpty());
}

void TestSearchWindow::textSearchTakesOneColumn()
{
    using Field = EventRecord::Field;
    m_window->settings().pocets = QStringLiteral("6");
    m_window->settings().items[4].title = QStringLiteral("Místo");
    m_window->settings().items[5].title = QStringLiteral("Cena");
    m_window->buildListColumns();
    const std::tuple<int, Field, const char*> texts[] = { { 4, Field::Event, "Koncert" },
        { 9, Field::Event, "Koncert v parku" }, { 20, Field::Event, "KONCERT" },
        { 30, Field::Time, "koncert" }, { 100, Field::Event, "žižkov" }, { 101, Field::Event, "Zizkov" },
        { 10, Field::Value1, "Rudolfinum" }, { 11, Field::Value2, "Rudolfinum" } };
    for (const auto& [row, field, text] : texts) {
        EventRecord record = m_window->table().record(row);
        record.setText(field, QString::fromUtf8(text));
        m_window->table().setRecord(row, record);
    }
    m_window->table().insertRecord(200, fixture::extraRow(QString(), QStringLiteral("Výstava")));
    open(7, QDate(2026, 12, 6));
    QCOMPARE(lines(control<QListWidget>("ListBox1")),
        QStringList({ " Den", " Datum", " Hod.", " Akce", " Místo", " Cena" }));
    // Each kind of criterion shows its own input and names the column the results show.
    QStringList shown;
    const auto mark = [&](const char* panel) { return control<QWidget>(panel)->isVisible() ? u'+' : u'-'; };
    for (int kind : { 0, 1, 3 })
        choose(kind),
            shown << control<QLabel>("Label4")->text() + mark("Panel1") + mark("Panel2") + mark("Panel3");
    const QString legend = QStringLiteral("Vysvětlivky:  |  č. záznamu  |  ");
    QCOMPARE(
        shown, QStringList({ legend + "Datum  |+--", legend + "Den  |  -+-", legend + "Datum  |  --+" }));
    // The criterion (choosing one empties the text and the results), the text, the lines found.
    const std::tuple<int, const char*, QStringList> searches[]
        = { { 3, "koncert", { "5  |  05.01.2004  |  ", "21  |  21.01.2004  |  " } },
              { 2, "KONCERT", { "31  |  31.01.2004  |  " } }, // the time column only
              { 3, "ŽIŽKOV", { "101  |  10.04.2004  |  " } },
              { 3, "výstava", { "201  |    |  " } }, // an extra row
              { 4, "rudolfinum", { "11  |  11.01.2004  |  " } },
              { 5, "rudolfinum", { "12  |  12.01.2004  |  " } }, { 3, "nic takového", {} } };
    QLineEdit* edit = control<QLineEdit>("Edit1");
    for (const auto& [criterion, text, found] : searches) {
        choose(criterion);
        QVERIFY(edit->text().isEmpty() && results().isEmpty() && m_window->state().pocet.isEmpty());
        edit->setFocus();
        fixture::typeText(edit, QString::fromUtf8(text));
        QTest::keyClick(edit, Qt::Key_Return); // "Ok" is the default button
        QCOMPARE(results(), found);
        QCOMPARE(control<QLabel>("vysledek")->text(), found.isEmpty() ? "! NENALEZENO !" : "! NALEZENO !");
        QCOMPARE(control<QListWidget>("ListBox2")->isVisible(), !found.isEmpty());
    }
}

void TestSearchWindow::dateSearches()
{
    // Opened on today's row, the first: the date put in searches nothing, and stays unarmed;
    // closed without a click on a result, the window goes back to the opening row.
    const QDate today(2004, 1, 1);
    open(0, today);
    choose(1);
    QVERIFY(dateField()->date() == today && m_dialog->zmena() == u"zmena");
    control<QPushButton>("Button2")->click();
    QVERIFY(m_dialog->vysledek().isEmpty());
    // Another day arms the field and searches it; so do today's button, a leap day and the
    // last day then, each found with its day name.
    dateField()->setDate(QDate(2004, 5, 21));
    QCOMPARE(m_dialog->zmena(), QStringLiteral("ok"));
    QStringList found = results();
    control<QPushButton>("Button2")->click(), found << results();
    for (const QDate& date : { QDate(2004, 2, 29), QDate(2004, 12, 31) })
        dateField()->setDate(date), found << results();
    QCOMPARE(found, QStringList({ "142  |  Pá  |  ", "1  |  Čt  |  ", "60  |  Ne  |  ", "366  |  Pá  |  " }));
    // Opening the calendar empties the results.
    dateField()->openCalendar();
    QVERIFY(results().isEmpty() && m_window->state().pocet.isEmpty());
    dateField()->calendarPopup()->close();
    m_dialog->close();
    QVERIFY(m_window->statusText(0) == u"Č. záznamu: 1" && m_messenger.messages().isEmpty());

    // Opened on an extra row: armed from the start, nothing searched yet, and no date
    // to put into the field, which warns on opening and on every entry (by Tab, a click
    // or the calendar; the focus that the message box gives back is no new entry).
    m_window->table().insertRecord(6, fixture::extraRow(QString(), QStringLiteral("Beseda")));
    open(6, today);
    QVERIFY(
        m_dialog->zmena() == u"ok" && m_dialog->vysledek().isEmpty() && m_window->state().pocet.isEmpty());
    choose(1);
    QFocusEvent tab(QEvent::FocusIn, Qt::TabFocusReason), back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(dateField()->lineEdit(), &tab);
    QCoreApplication::sendEvent(dateField()->lineEdit(), &back);
    QTest::mouseClick(dateField()->lineEdit(), Qt::LeftButton);
    dateField()->openCalendar();
    QCOMPARE(fixture::described(m_messenger),
        QStringList(4, QStringLiteral("Information|Informace|Zvolený datum nebyl nalezen")));
    dateField()->calendarPopup()->close();
    // With a date in it the field says nothing.
    m_messenger.clear();
    dateField()->setDate(QDate(2004, 1, 3));
    QCoreApplication::sendEvent(dateField()->lineEdit(), &tab);
    QVERIFY(m_messenger.messages().isEmpty() && results() == QStringList { "3  |  So  |  " });
}

QTEST_MAIN(TestSearchWindow)
#include "tst_search_window.moc"
