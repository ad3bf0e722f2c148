#include "app/go_to_panel.h"
#include "app/main_window.h"
#include "calendar/generation.h"
#include "platform/clock.h"
#include "recording_messenger.h"
#include "table_rows.h"
#include "widgets/date_field.h"
#include "window_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

QString recordNumber(int row)
{
    return QStringLiteral("Č. záznamu: %1").arg(row + 1);
}

} // namespace

// The go-to strip of the main window, and the main window's column and status-bar layout.
class TestGoTo final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup() { clock_source::setNow({}); }

    void unitsSetTheHintsAndTheStripToggles();
    void dayAndWeekStepsCountRows();
    void calendarSteps_data();
    void calendarSteps();
    void fieldJumpsOnceArmedToTheDayRow();
    void beforeTheWindowIsUpTheFieldIsEmpty();
    void columnsKeepTheirWidths();

private:
    // A first-run window (2004) with today at `today`, shown, with the strip open.
    std::unique_ptr<TForm1> open(const QDate& today = QDate(2026, 12, 6));
    template <typename T> T* control(TForm1& window, const char* name)
    {
        return window.goToPanel()->findChild<T*>(QString::fromLatin1(name));
    }
    void chooseUnit(TForm1& window, int unit) { control<QComboBox>(window, "ComboBox1")->setCurrentIndex(unit); }
    void click(TForm1& w, const char* name) { QTest::mouseClick(control<QToolButton>(w, name), Qt::LeftButton); }
    QString hint(TForm1& window, const char* name) { return control<QToolButton>(window, name)->toolTip(); }
    int rowOf(TForm1& window, const QString& date) { return table_rows::ofDate(window.table(), date); }

    std::unique_ptr<QTemporaryDir> m_dir;
    RecordingMessenger m_messenger;
};

void TestGoTo::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_messenger.clear();
}

std::unique_ptr<TForm1> TestGoTo::open(const QDate& today)
{
    clock_source::setNow(QDateTime(today, QTime(10, 0)));
    auto window = fixture::openWindow(m_dir->path(), m_messenger);
    if (window)
        window->ToolButton5Click();
    return window;
}

void TestGoTo::unitsSetTheHintsAndTheStripToggles()
{
    auto window = open();
    QVERIFY(window);
    auto* units = control<QComboBox>(*window, "ComboBox1");
    QStringList items;
    for (int i = 0; i < units->count(); ++i)
        items << units->itemText(i);
    QCOMPARE(items, QStringList({ "Dny", "Týdny", "Měsíce", "Roky" }));
    QCOMPARE(units->currentIndex(), -1);
    // With no row selected a choice only sets the hints (and the names) of the step buttons.
    const QString what[] = { "den", "týden", "měsíc", "rok" };
    for (int unit = GoToPanel::Days; unit <= GoToPanel::Years; ++unit) {
        chooseUnit(*window, unit);
        QCOMPARE(hint(*window, "tlacitko2") + '|' + control<QToolButton>(*window, "tlacitko3")->accessibleName(),
            "Předchozí " + what[unit] + "|Další " + what[unit]);
    }
    QCOMPARE(QStringList({ hint(*window, "tlacitko1"), hint(*window, "tlacitko4"), hint(*window, "ToolbarButton971") }),
        QStringList({ "Na začátek seznamu", "Na konec seznamu", "Aktuální datum" }));
    QCOMPARE(window->selectedRow(), -1);
    QCOMPARE(QApplication::focusWidget(), window->listView());
    // Today lies outside the table: the go-to-today step stays armed and runs again
    // whenever rows change, but sets the field only once.
    DateField* field = window->goToPanel()->dateField();
    QCOMPARE(field->date(), QDate(2026, 12, 6));
    field->setDate(QDate(2004, 3, 10));
    window->table().insertRecord(5, fixture::extraRow({}, QStringLiteral("Výstava")));
    // The step runs from the event loop; nothing to wait for but the loop itself.
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    QCOMPARE(window->state().data, QStringLiteral("vytvorena"));
    QCOMPARE(field->date(), QDate(2004, 3, 10));

    // The toolbar takes the unit choice back, the record menu leaves it; the list moves up
    // into the strip's place and the field gets today's date back.
    QWidget* strip = window->findChild<QWidget*>("Panel1");
    const auto listTop = [&] { return window->listView()->mapTo(window.get(), QPoint(0, 0)).y(); };
    QVERIFY(window->settings().jdiokno && strip->isVisible());
    const int shownTop = listTop();
    chooseUnit(*window, GoToPanel::Weeks);
    field->setDate(QDate(2004, 1, 1));
    window->findChild<QAction*>("Prejdina1")->trigger();
    QVERIFY(!window->settings().jdiokno && !strip->isVisible());
    QTRY_VERIFY(listTop() < shownTop);
    QCOMPARE(field->date(), QDate(2026, 12, 6));
    window->findChild<QAction*>("Prejdina1")->trigger();
    QCOMPARE(units->currentIndex(), int(GoToPanel::Weeks));
    QTRY_COMPARE(listTop(), shownTop);
    fixture::clickToolButton(*window, "ToolButton5");
    fixture::clickToolButton(*window, "ToolButton5");
    QVERIFY(strip->isVisible());
    // The unit only: the step buttons keep their hints.
    QCOMPARE(units->currentIndex(), -1);
    QCOMPARE(hint(*window, "tlacitko3"), QStringLiteral("Další týden"));
    QVERIFY(m_messenger.messages().isEmpty());
}

void TestGoTo::dayAndWeekStepsCountRows()
{
    auto window = open();
    QVERIFY(window);
    // Two event rows under row 10 count as rows too.
    window->table().insertRecord(11, fixture::extraRow({}, QStringLiteral("Divadlo")));
    window->table().insertRecord(11, fixture::extraRow({}, QStringLiteral("Kino")));
    window->selectRow(10);
    chooseUnit(*window, GoToPanel::Days);
    QCOMPARE(window->state().d1 + window->state().d2 + window->state().d4, QStringLiteral("11012004"));
    const auto step = [&](const char* button, int row) {
        click(*window, button);
        QCOMPARE(window->selectedRow(), row);
        QCOMPARE(window->statusText(0), recordNumber(row));
    };
    step("tlacitko3", 11);
    step("tlacitko2", 10);
    // Down to the very first row too.
    window->selectRow(1);
    step("tlacitko2", 0);
    window->selectRow(9);
    chooseUnit(*window, GoToPanel::Weeks);
    step("tlacitko3", rowOf(*window, QStringLiteral("15.01.2004")));
    step("tlacitko2", 9);
    // The first and the last row, in any unit.
    const int last = window->table().rowCount() - 1;
    step("tlacitko4", last);
    step("tlacitko1", 0);
    QCOMPARE(QApplication::focusWidget(), window->listView());

    // Steps beyond the table's edges, from no row, or by months and years from an extra row stay put.
    const std::tuple<int, int, const char*> stay[] = { { GoToPanel::NoUnit, 100, "tlacitko3" },
        { GoToPanel::Days, 0, "tlacitko2" }, { GoToPanel::Days, last, "tlacitko3" },
        { GoToPanel::Weeks, 3, "tlacitko2" }, { GoToPanel::Weeks, last - 6, "tlacitko3" },
        { GoToPanel::Months, 11, "tlacitko2" }, { GoToPanel::Months, 11, "tlacitko3" },
        { GoToPanel::Years, 11, "tlacitko2" }, { GoToPanel::Years, 11, "tlacitko3" } };
    for (const auto& [unit, row, button] : stay) {
        chooseUnit(*window, unit);
        window->selectRow(row);
        window->setStatusText(0, QString());
        click(*window, button);
        QCOMPARE(window->selectedRow(), row);
        QCOMPARE(window->statusText(0), QString());
    }
    for (int unit = GoToPanel::Days; unit <= GoToPanel::Years; ++unit) {
        chooseUnit(*window, unit);
        window->listView()->selectionModel()->clearSelection();
        click(*window, "tlacitko2");
        click(*window, "tlacitko3");
        QCOMPARE(window->selectedRow(), -1);
    }
    QVERIFY(m_messenger.messages().isEmpty());
}

void TestGoTo::calendarSteps_data()
{
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("jumps");
    const int months = GoToPanel::Months;
    const int years = GoToPanel::Years;
    const QString lastMonth = QStringLiteral("Jste na posledním měsíci v roce 2004");
    const QString firstMonth = QStringLiteral("Jste na prvním měsíci v roce 2004");
    const QString start = QStringLiteral("Začátek seznamu roků");
    const QString end = QStringLiteral("Konec seznamu roků");
    QTest::newRow("month forward into December") << months << "15.11.2004" << 1 << "15.12.2004" << lastMonth << true;
    QTest::newRow("month forward from December") << months << "15.12.2004" << 1 << "15.12.2004" << lastMonth << true;
    QTest::newRow("month back into January") << months << "29.02.2004" << -1 << "29.01.2004" << firstMonth << true;
    QTest::newRow("month back from January") << months << "03.01.2004" << -1 << "03.01.2004" << firstMonth << true;
    // The target month has no 31st: no row holds the date and nothing changes.
    QTest::newRow("month without the day") << months << "31.03.2004" << 1 << "31.03.2004" << "" << false;
    QTest::newRow("year back from the first year") << years << "10.03.2004" << -1 << "10.03.2004" << start << true;
    QTest::newRow("year back into the first year") << years << "10.03.2005" << -1 << "10.03.2004" << start << true;
    QTest::newRow("year forward into the last year") << years << "10.03.2004" << 1 << "10.03.2005" << end << true;
    QTest::newRow("year forward from the last year") << years << "10.03.2005" << 1 << "10.03.2005" << end << false;
    QTest::newRow("year forward from 29 February") << years << "29.02.2004" << 1 << "29.02.2004" << end << false;
}

void TestGoTo::calendarSteps()
{
    QFETCH(int, unit);
    QFETCH(QString, from);
    QFETCH(int, direction);
    QFETCH(QString, to);
    QFETCH(QString, message);
    QFETCH(bool, jumps);
    auto window = open();
    QVERIFY(window);
    generation::appendYearRows(window->table(), { "2004", "2005" }, "1", m_messenger);
    window->table().setLists({ "2004", "2005" }, { "366", "365" });
    chooseUnit(*window, unit);
    window->selectRow(rowOf(*window, from));
    window->setStatusText(0, QString());
    click(*window, direction > 0 ? "tlacitko3" : "tlacitko2");
    const int target = rowOf(*window, to);
    QCOMPARE(window->selectedRow(), target);
    QCOMPARE(fixture::described(m_messenger),
        message.isEmpty() ? QStringList() : QStringList { "Information|Informace|" + message });
    // Status panel 0 tells the row whenever the step found one.
    QCOMPARE(window->statusText(0), jumps ? recordNumber(target) : QString());
}

void TestGoTo::fieldJumpsOnceArmedToTheDayRow()
{
    auto window = open(QDate(2004, 8, 8));
    QVERIFY(window);
    DateField* field = window->goToPanel()->dateField();
    const int today = rowOf(*window, QStringLiteral("08.08.2004"));
    QTRY_COMPARE(window->selectedRow(), today);
    const int day = rowOf(*window, QStringLiteral("20.04.2004"));
    for (const char* event : { "Koncert", "Divadlo", "Kino" })
        window->table().insertRecord(day + 1, fixture::extraRow({}, QString::fromUtf8(event)));

    // Not armed: neither a date nor the today button jumps.
    window->selectRow(5);
    field->setDate(QDate(2004, 4, 20));
    click(*window, "ToolbarButton971");
    QCOMPARE(field->date(), QDate(2004, 8, 8));
    QCOMPARE(window->selectedRow(), 5);

    // Opening the calendar arms it.
    field->openCalendar();
    field->calendarPopup()->close();
    field->setDate(QDate(2004, 4, 20));
    QCOMPARE(window->selectedRow(), day);
    QCOMPARE(window->statusText(0), recordNumber(day));
    QCOMPARE(QApplication::focusWidget(), window->listView());
    click(*window, "ToolbarButton971");
    QCOMPARE(window->selectedRow(), today + 3);
    // The very first day too.
    field->setDate(QDate(2004, 1, 1));
    QCOMPARE(window->selectedRow(), 0);

    // Rows that merely name the date, before or after its day, are no targets.
    const int later = rowOf(*window, QStringLiteral("01.05.2004"));
    window->table().insertRecord(later + 1, fixture::extraRow({}, QStringLiteral("Odloženo z 20.04.2004")));
    window->table().insertRecord(3, fixture::extraRow({}, QStringLiteral("Přesunuto na 20.04.2004")));
    field->setDate(QDate(2004, 4, 20));
    QCOMPARE(window->selectedRow(), day + 1);
    QVERIFY(m_messenger.messages().isEmpty());

    // A date outside the table.
    field->setDate(QDate(2010, 4, 20));
    QCOMPARE(window->selectedRow(), day + 1);
    QCOMPARE(fixture::described(m_messenger), QStringList { "Information|Informace|Hledaný datum nebyl nalezen" });
}

void TestGoTo::beforeTheWindowIsUpTheFieldIsEmpty()
{
    // A strip made before the window is up has no date until the go-to-today step first runs.
    clock_source::setNow(QDateTime(QDate(2004, 7, 1), QTime(9, 0)));
    auto window = fixture::openWindow(m_dir->path(), m_messenger, false);
    DateField* field = window->goToPanel()->dateField();
    QVERIFY(field->isEmpty());
    // Entering the empty field warns, once per entry: the focus coming back when the
    // message box closes is no new entry.
    const QStringList once { "Information|Informace|Zvolený datum nebyl nalezen" };
    QFocusEvent tab(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(field->lineEdit(), &tab);
    QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(field->lineEdit(), &back);
    QCOMPARE(fixture::described(m_messenger), once);
    m_messenger.clear();
    field->setDate(QDate(2004, 3, 3));
    QCOMPARE(fixture::described(m_messenger), once);

    // Once the step has run, nothing of the kind.
    m_messenger.clear();
    window->show();
    QTRY_COMPARE(field->date(), QDate(2004, 7, 1));
    QCoreApplication::sendEvent(field->lineEdit(), &tab);
    QTest::mouseClick(field->lineEdit(), Qt::LeftButton);
    field->setDate(QDate(2004, 3, 4));
    QCOMPARE(fixture::described(m_messenger), QStringList());
}

void TestGoTo::columnsKeepTheirWidths()
{
    auto window = open();
    QVERIFY(window);
    window->settings().pocets = QStringLiteral("6");
    window->buildListColumns();
    window->applySettings();
    QHeaderView* header = window->listView()->horizontalHeader();
    // In the normal window a dragged column snaps back to its set width...
    header->resizeSection(5, window->settings().width(5) + 80);
    QCOMPARE(header->sectionSize(5), window->settings().width(5));
    // ...except while the settings dialog rebuilds the columns.
    window->state().stavtimeru7 = QStringLiteral("OFF");
    header->resizeSection(3, 50);
    QCOMPARE(header->sectionSize(3), 50);
    window->state().stavtimeru7 = QStringLiteral("ON");
    window->layoutColumns();
    QCOMPARE(header->sectionSize(3), window->settings().width(3));
}

QTEST_MAIN(TestGoTo)
#include "tst_goto.moc"
