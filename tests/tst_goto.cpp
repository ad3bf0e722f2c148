#include "app/go_to_panel.h"
#include "app/main_window.h"
#include "app/program.h"
#include "calendar/generation.h"
#include "platform/clock.h"
#include "recording_messenger.h"
#include "table_rows.h"
#include "widgets/date_field.h"

#include <QAction>
#include <QComboBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

const QString kInformation = QStringLiteral("Informace");

int rowOfDate(TForm1& window, const QString& date)
{
    return table_rows::ofDate(window.table(), date);
}

EventRecord eventRow(const QString& event)
{
    EventRecord record = EventRecord::blank();
    record.setText(EventRecord::Field::Event, event);
    return record;
}

} // namespace

// The go-to strip of the main window, and the main window's column and status-bar layout.
class TestGoTo final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void stripShowsItsControls();
    void toggleMovesTheListAndSetsToday();
    void unitChoiceSetsTheHints_data();
    void unitChoiceSetsTheHints();
    void withoutUnitStepsDoNothing();
    void dayAndWeekStepsCountRows();
    void stepsStayPutAtTheEdgesAndWithoutSelection();
    void calendarSteps_data();
    void calendarSteps();
    void stepsFromAnExtraRowStayPut();
    void firstAndLastRow();
    void fieldJumpsOnceArmedToTheDayRow();
    void todayButtonJumpsWhenArmed();
    void goToTodaySetsTheFieldOnlyOnce();
    void fieldWithoutTodayWarnsOncePerEntry();
    void normalModeColumnsReturnToTheirWidths();
    void statusPanelsSitSideBySideInsideTheWindow();

private:
    // A first-run window (2004) with today at `today`, shown, with the strip open.
    std::unique_ptr<TForm1> open(const QDate& today = QDate(2026, 12, 6));
    // Appends 2005 to the table and the lists.
    void addYear2005(TForm1& window);
    template <typename T> T* control(TForm1& window, const char* name)
    {
        return window.goToPanel()->findChild<T*>(QString::fromLatin1(name));
    }
    void chooseUnit(TForm1& window, int unit)
    {
        control<QComboBox>(window, "ComboBox1")->setCurrentIndex(unit);
    }
    void click(TForm1& window, const char* name) { control<QToolButton>(window, name)->click(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    RecordingMessenger m_messenger;
};

std::unique_ptr<TForm1> TestGoTo::open(const QDate& today)
{
    clock_source::setNow(QDateTime(today, QTime(10, 0)));
    auto window = program::assembleMainWindow(m_dir->path(), m_messenger);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return nullptr;
    QCoreApplication::processEvents();
    window->ToolButton5Click();
    return window;
}

void TestGoTo::addYear2005(TForm1& window)
{
    generation::appendYearRows(window.table(), { "2004", "2005" }, "1", m_messenger);
    window.table().setLists({ "2004", "2005" }, { "366", "365" });
}

void TestGoTo::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestGoTo::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_messenger.clear();
}

void TestGoTo::cleanup()
{
    clock_source::setNow({});
}

void TestGoTo::stripShowsItsControls()
{
    auto window = open();
    QVERIFY(window);
    GoToPanel* panel = window->goToPanel();
    const char* order[] = { "Label1", "DateEdit2", "ToolbarButton971", "Label2", "ComboBox1", "tlacitko2",
        "tlacitko3", "tlacitko1", "tlacitko4" };
    int x = -1;
    for (const char* name : order) {
        QWidget* widget = panel->findChild<QWidget*>(QString::fromLatin1(name));
        QVERIFY2(widget && widget->isVisible(), name);
        QVERIFY2(widget->x() > x, name);
        x = widget->x();
        // Everything fits into the narrow window.
        QVERIFY2(widget->mapTo(window.get(), QPoint(widget->width(), 0)).x() <= window->width(), name);
    }
    for (const char* name : { "Label1", "Label2" }) {
        auto* label = control<QLabel>(*window, name);
        QVERIFY(label->font().bold());
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    }
    QCOMPARE(control<QLabel>(*window, "Label1")->text(), QStringLiteral("Datum:"));
    QCOMPARE(control<QLabel>(*window, "Label2")->text(), QStringLiteral("Možnosti:"));
    auto* today = control<QToolButton>(*window, "ToolbarButton971");
    QCOMPARE(today->text(), QStringLiteral("A"));
    QCOMPARE(today->toolTip(), QStringLiteral("Aktuální datum"));
    QVERIFY(today->font().bold());
    QCOMPARE(today->palette().color(QPalette::ButtonText), QColor(Qt::red));
    QCOMPARE(control<QToolButton>(*window, "tlacitko1")->toolTip(), QStringLiteral("Na začátek seznamu"));
    QCOMPARE(control<QToolButton>(*window, "tlacitko4")->toolTip(), QStringLiteral("Na konec seznamu"));
    for (const char* name : { "tlacitko1", "tlacitko2", "tlacitko3", "tlacitko4" }) {
        QVERIFY(!control<QToolButton>(*window, name)->icon().isNull());
        QVERIFY(!control<QToolButton>(*window, name)->accessibleName().isEmpty());
    }
    auto* units = control<QComboBox>(*window, "ComboBox1");
    QCOMPARE(units->count(), 4);
    const QStringList items { "Dny", "Týdny", "Měsíce", "Roky" };
    for (int i = 0; i < 4; ++i)
        QCOMPARE(units->itemText(i), items[i]);
    QCOMPARE(units->currentIndex(), -1);
    QCOMPARE(units->maxVisibleItems(), 12);
    QCOMPARE(window->findChild<QWidget*>("Panel1")->height(), 32);
}

void TestGoTo::toggleMovesTheListAndSetsToday()
{
    auto window = open(QDate(2004, 5, 10));
    QVERIFY(window);
    QWidget* strip = window->findChild<QWidget*>("Panel1");
    DateField* field = window->goToPanel()->dateField();
    QVERIFY(window->settings().jdiokno);
    QVERIFY(strip->isVisible());
    QTRY_COMPARE(window->listView()->mapTo(window.get(), QPoint(0, 0)).y(), 66);
    QCOMPARE(field->date(), QDate(2004, 5, 10));

    // The toolbar takes the unit choice back, the record menu leaves it.
    chooseUnit(*window, GoToPanel::Weeks);
    field->setDate(QDate(2004, 1, 1));
    window->findChild<QAction*>("Prejdina1")->trigger();
    QVERIFY(!window->settings().jdiokno);
    QVERIFY(!strip->isVisible());
    QTRY_COMPARE(window->listView()->mapTo(window.get(), QPoint(0, 0)).y(), 34);
    QCOMPARE(field->date(), QDate(2004, 5, 10));
    window->findChild<QAction*>("Prejdina1")->trigger();
    QCOMPARE(control<QComboBox>(*window, "ComboBox1")->currentIndex(), int(GoToPanel::Weeks));
    window->findChild<QToolButton*>("ToolButton5")->click();
    window->findChild<QToolButton*>("ToolButton5")->click();
    QVERIFY(strip->isVisible());
    // The unit only: the step buttons keep their hints.
    QCOMPARE(control<QComboBox>(*window, "ComboBox1")->currentIndex(), -1);
    QCOMPARE(control<QToolButton>(*window, "tlacitko3")->toolTip(), QStringLiteral("Další týden"));
    QVERIFY(m_messenger.messages().isEmpty());
}

void TestGoTo::unitChoiceSetsTheHints_data()
{
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("back");
    QTest::addColumn<QString>("forward");
    QTest::newRow("Dny") << int(GoToPanel::Days) << "Předchozí den"
                         << "Další den";
    QTest::newRow("Týdny") << int(GoToPanel::Weeks) << "Předchozí týden"
                           << "Další týden";
    QTest::newRow("Měsíce") << int(GoToPanel::Months) << "Předchozí měsíc"
                            << "Další měsíc";
    QTest::newRow("Roky") << int(GoToPanel::Years) << "Předchozí rok"
                          << "Další rok";
}

void TestGoTo::unitChoiceSetsTheHints()
{
    QFETCH(int, unit);
    QFETCH(QString, back);
    QFETCH(QString, forward);
    auto window = open();
    QVERIFY(window);
    // With no row selected the choice only sets the hints.
    chooseUnit(*window, unit);
    QCOMPARE(control<QToolButton>(*window, "tlacitko2")->toolTip(), back);
    QCOMPARE(control<QToolButton>(*window, "tlacitko3")->toolTip(), forward);
    QCOMPARE(control<QToolButton>(*window, "tlacitko3")->accessibleName(), forward);
    QCOMPARE(window->selectedRow(), -1);
    QCOMPARE(QApplication::focusWidget(), window->listView());
    QVERIFY(m_messenger.messages().isEmpty());
}

void TestGoTo::withoutUnitStepsDoNothing()
{
    auto window = open();
    QVERIFY(window);
    window->selectRow(100);
    const QString panel0 = window->statusText(0);
    click(*window, "tlacitko2");
    click(*window, "tlacitko3");
    QCOMPARE(window->selectedRow(), 100);
    QCOMPARE(window->statusText(0), panel0);
    QVERIFY(m_messenger.messages().isEmpty());
}

void TestGoTo::dayAndWeekStepsCountRows()
{
    auto window = open();
    QVERIFY(window);
    // Two event rows under row 10 count as rows too.
    window->table().insertRecord(11, eventRow(QStringLiteral("Divadlo")));
    window->table().insertRecord(11, eventRow(QStringLiteral("Kino")));
    window->selectRow(10);
    chooseUnit(*window, GoToPanel::Days);
    QCOMPARE(window->state().d1, QStringLiteral("11"));
    QCOMPARE(window->state().d2, QStringLiteral("01"));
    QCOMPARE(window->state().d4, QStringLiteral("2004"));
    click(*window, "tlacitko3");
    QCOMPARE(window->selectedRow(), 11);
    QCOMPARE(window->statusText(0), QStringLiteral("Č. záznamu: 12"));
    click(*window, "tlacitko2");
    click(*window, "tlacitko2");
    QCOMPARE(window->selectedRow(), 9);
    QCOMPARE(window->statusText(0), QStringLiteral("Č. záznamu: 10"));
    chooseUnit(*window, GoToPanel::Weeks);
    click(*window, "tlacitko3");
    QCOMPARE(window->selectedRow(), 16);
    QCOMPARE(window->table().record(16).text(EventRecord::Field::Date), QStringLiteral("15.01.2004"));
    click(*window, "tlacitko2");
    QCOMPARE(window->selectedRow(), 9);
    QCOMPARE(QApplication::focusWidget(), window->listView());
    QVERIFY(window->state().pocet.isEmpty());
    QVERIFY(m_messenger.messages().isEmpty());
}

void TestGoTo::stepsStayPutAtTheEdgesAndWithoutSelection()
{
    auto window = open();
    QVERIFY(window);
    const int last = window->table().rowCount() - 1;
    chooseUnit(*window, GoToPanel::Weeks);
    window->selectRow(3);
    click(*window, "tlacitko2");
    QCOMPARE(window->selectedRow(), 3);
    window->selectRow(last - 6);
    click(*window, "tlacitko3");
    QCOMPARE(window->selectedRow(), last - 6);
    chooseUnit(*window, GoToPanel::Days);
    window->selectRow(0);
    click(*window, "tlacitko2");
    QCOMPARE(window->selectedRow(), 0);
    window->selectRow(last);
    click(*window, "tlacitko3");
    QCOMPARE(window->selectedRow(), last);
    // Nothing selected: no unit moves anything.
    for (int unit : { GoToPanel::Days, GoToPanel::Weeks, GoToPanel::Months, GoToPanel::Years }) {
        window->listView()->selectionModel()->clearSelection();
        chooseUnit(*window, unit);
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
    QTest::newRow("month forward") << months << "15.05.2004" << 1 << "15.06.2004"
                                   << "" << true;
    QTest::newRow("month forward into December")
        << months << "15.11.2004" << 1 << "15.12.2004" << lastMonth << true;
    QTest::newRow("month forward from December")
        << months << "15.12.2004" << 1 << "15.12.2004" << lastMonth << true;
    QTest::newRow("month back") << months << "09.10.2004" << -1 << "09.09.2004"
                                << "" << true;
    QTest::newRow("month back into January")
        << months << "29.02.2004" << -1 << "29.01.2004" << firstMonth << true;
    QTest::newRow("month back from January")
        << months << "03.01.2004" << -1 << "03.01.2004" << firstMonth << true;
    // The target month has no 31st: no row holds the date and nothing changes.
    QTest::newRow("month without the day") << months << "31.03.2004" << 1 << "31.03.2004"
                                           << "" << false;
    const QString start = QStringLiteral("Začátek seznamu roků");
    const QString end = QStringLiteral("Konec seznamu roků");
    QTest::newRow("year back from the first year")
        << years << "10.03.2004" << -1 << "10.03.2004" << start << true;
    QTest::newRow("year back into the first year")
        << years << "10.03.2005" << -1 << "10.03.2004" << start << true;
    QTest::newRow("year forward into the last year")
        << years << "10.03.2004" << 1 << "10.03.2005" << end << true;
    QTest::newRow("year forward from the last year")
        << years << "10.03.2005" << 1 << "10.03.2005" << end << false;
    QTest::newRow("year forward from 29 February")
        << years << "29.02.2004" << 1 << "29.02.2004" << end << false;
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
    addYear2005(*window);
    // Rows that merely name a date the step looks for are no targets.
    window->table().insertRecord(1, eventRow(QStringLiteral("přesunuto na ") + to));
    window->table().insertRecord(1, eventRow(QStringLiteral("31.04.2004 a 29.02.2005")));
    chooseUnit(*window, unit);
    window->selectRow(rowOfDate(*window, from));
    window->setStatusText(0, QString());
    click(*window, direction > 0 ? "tlacitko3" : "tlacitko2");
    QCOMPARE(window->selectedRow(), rowOfDate(*window, to));
    QCOMPARE(m_messenger.texts(), message.isEmpty() ? QStringList() : QStringList { message });
    for (const RecordingMessenger::Message& shown : m_messenger.messages()) {
        QCOMPARE(shown.title, kInformation);
        QCOMPARE(shown.icon, Messenger::Icon::Information);
    }
    // Status panel 0 tells the row whenever the step found one.
    QCOMPARE(window->statusText(0),
        jumps ? QStringLiteral("Č. záznamu: %1").arg(rowOfDate(*window, to) + 1) : QString());
    QCOMPARE(window->state().minrok, QStringLiteral("2004"));
    QCOMPARE(window->state().maxrok, QStringLiteral("2005"));
}

void TestGoTo::stepsFromAnExtraRowStayPut()
{
    auto window = open();
    QVERIFY(window);
    window->table().insertRecord(41, eventRow(QStringLiteral("Výstava")));
    for (int unit : { GoToPanel::Months, GoToPanel::Years }) {
        chooseUnit(*window, unit);
        window->selectRow(41);
        click(*window, "tlacitko2");
        QCOMPARE(window->selectedRow(), 41);
        click(*window, "tlacitko3");
        QCOMPARE(window->selectedRow(), 41);
    }
    QVERIFY(m_messenger.messages().isEmpty());
}

void TestGoTo::firstAndLastRow()
{
    auto window = open();
    QVERIFY(window);
    window->table().insertRecord(366, eventRow(QStringLiteral("Silvestr")));
    click(*window, "tlacitko4");
    QCOMPARE(window->selectedRow(), 366);
    QCOMPARE(window->statusText(0), QStringLiteral("Č. záznamu: 367"));
    click(*window, "tlacitko1");
    QCOMPARE(window->selectedRow(), 0);
    QCOMPARE(window->statusText(0), QStringLiteral("Č. záznamu: 1"));
    QCOMPARE(QApplication::focusWidget(), window->listView());
}

void TestGoTo::fieldJumpsOnceArmedToTheDayRow()
{
    auto window = open();
    QVERIFY(window);
    DateField* field = window->goToPanel()->dateField();
    const int day = rowOfDate(*window, QStringLiteral("20.04.2004"));
    for (const char* event : { "Koncert", "Divadlo", "Kino" })
        window->table().insertRecord(day + 1, eventRow(QString::fromUtf8(event)));

    // Not armed: changing the date jumps nowhere.
    field->setDate(QDate(2004, 4, 20));
    QCOMPARE(window->selectedRow(), -1);
    QCOMPARE(window->state().zmena, QStringLiteral("zmena"));

    field->openCalendar();
    QCOMPARE(window->state().zmena, QStringLiteral("ok"));
    field->calendarPopup()->close();
    field->setDate(QDate(2004, 1, 2));
    field->setDate(QDate(2004, 4, 20));
    QCOMPARE(window->selectedRow(), day);
    QCOMPARE(window->statusText(0), QStringLiteral("Č. záznamu: %1").arg(day + 1));
    QCOMPARE(QApplication::focusWidget(), window->listView());

    // Rows that merely name the date, before or after its day, are no targets.
    const int later = rowOfDate(*window, QStringLiteral("01.05.2004"));
    window->table().insertRecord(later + 1, eventRow(QStringLiteral("Odloženo z 20.04.2004")));
    window->table().insertRecord(3, eventRow(QStringLiteral("Přesunuto na 20.04.2004")));
    field->setDate(QDate(2004, 1, 2));
    field->setDate(QDate(2004, 4, 20));
    QCOMPARE(window->selectedRow(), day + 1);
    QVERIFY(m_messenger.messages().isEmpty());

    // A date outside the table.
    field->setDate(QDate(2010, 4, 20));
    QCOMPARE(window->selectedRow(), day + 1);
    QCOMPARE(m_messenger.texts(), QStringList { "Hledaný datum nebyl nalezen" });
    QCOMPARE(m_messenger.messages()[0].title, kInformation);
}

void TestGoTo::todayButtonJumpsWhenArmed()
{
    auto window = open(QDate(2004, 8, 8));
    QVERIFY(window);
    DateField* field = window->goToPanel()->dateField();
    const int today = rowOfDate(*window, QStringLiteral("08.08.2004"));
    QTRY_COMPARE(window->selectedRow(), today);
    window->selectRow(5);
    field->setDate(QDate(2004, 2, 2));
    click(*window, "ToolbarButton971");
    QCOMPARE(field->date(), QDate(2004, 8, 8));
    QCOMPARE(window->selectedRow(), 5);
    field->openCalendar();
    field->calendarPopup()->close();
    field->setDate(QDate(2004, 2, 2));
    QCOMPARE(window->selectedRow(), rowOfDate(*window, QStringLiteral("02.02.2004")));
    click(*window, "ToolbarButton971");
    QCOMPARE(window->selectedRow(), today);
    QVERIFY(m_messenger.messages().isEmpty());
}

void TestGoTo::goToTodaySetsTheFieldOnlyOnce()
{
    // Today lies outside 2004: the go-to-today step stays armed and runs again
    // whenever rows change.
    auto window = open(QDate(2026, 12, 6));
    QVERIFY(window);
    DateField* field = window->goToPanel()->dateField();
    QCOMPARE(field->date(), QDate(2026, 12, 6));
    field->setDate(QDate(2004, 3, 10));
    window->table().insertRecord(5, eventRow(QStringLiteral("Výstava")));
    window->table().insertRecord(9, eventRow(QStringLiteral("Koncert")));
    QTest::qWait(20);
    QCOMPARE(window->state().data, QStringLiteral("vytvorena"));
    QCOMPARE(field->date(), QDate(2004, 3, 10));
    QVERIFY(m_messenger.messages().isEmpty());

    // A strip made before the window is up gets today's date from the step's first run.
    m_dir = std::make_unique<QTemporaryDir>();
    clock_source::setNow(QDateTime(QDate(2004, 7, 1), QTime(9, 0)));
    const auto secondBuilt = program::assembleMainWindow(m_dir->path(), m_messenger);
    TForm1& second = *secondBuilt;
    QVERIFY(second.goToPanel()->dateField()->isEmpty());
    second.show();
    QVERIFY(QTest::qWaitForWindowExposed(&second));
    QTRY_COMPARE(second.goToPanel()->dateField()->date(), QDate(2004, 7, 1));
}

void TestGoTo::fieldWithoutTodayWarnsOncePerEntry()
{
    // Before the window is up the go-to-today step has not set its date yet.
    clock_source::setNow(QDateTime(QDate(2004, 7, 1), QTime(9, 0)));
    const auto windowBuilt = program::assembleMainWindow(m_dir->path(), m_messenger);
    TForm1& window = *windowBuilt;
    DateField* field = window.goToPanel()->dateField();
    const QStringList once { "Zvolený datum nebyl nalezen" };
    QFocusEvent tab(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(field->lineEdit(), &tab);
    QCOMPARE(m_messenger.texts(), once);
    QCOMPARE(m_messenger.messages()[0].title, kInformation);
    // The focus coming back when the message box closes is no new entry.
    QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(field->lineEdit(), &back);
    QCOMPARE(m_messenger.texts(), once);
    m_messenger.clear();
    field->setDate(QDate(2004, 3, 3));
    QCOMPARE(m_messenger.texts(), once);

    // Once the step has run, nothing of the kind.
    m_messenger.clear();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE(window.state().data, QStringLiteral("data"));
    QCoreApplication::sendEvent(field->lineEdit(), &tab);
    QTest::mouseClick(field->lineEdit(), Qt::LeftButton);
    field->setDate(QDate(2004, 3, 4));
    QVERIFY(m_messenger.messages().isEmpty());
}

void TestGoTo::normalModeColumnsReturnToTheirWidths()
{
    auto window = open();
    QVERIFY(window);
    window->settings().pocets = QStringLiteral("6");
    window->buildListColumns();
    window->applySettings();
    QHeaderView* header = window->listView()->horizontalHeader();
    for (int column : { 3, 4, 5 }) {
        const int set = window->settings().width(column);
        header->resizeSection(column, set + 80);
        QCOMPARE(header->sectionSize(column), set);
        header->resizeSection(column, set - 10);
        QCOMPARE(header->sectionSize(column), set);
    }
    // While the settings dialog rebuilds the columns they are left alone.
    window->state().stavtimeru7 = QStringLiteral("OFF");
    header->resizeSection(3, 50);
    QCOMPARE(header->sectionSize(3), 50);
    window->state().stavtimeru7 = QStringLiteral("ON");
    window->layoutColumns();
    QCOMPARE(header->sectionSize(3), window->settings().width(3));
}

void TestGoTo::statusPanelsSitSideBySideInsideTheWindow()
{
    auto window = open();
    QVERIFY(window);
    QTRY_COMPARE(window->width(), TForm1::kNormalClientWidth);
    const int widths[] = { 150, 104, 104, 70 };
    QList<QRect> panels;
    for (int i = 0; i < 4; ++i) {
        auto* panel = window->findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(i));
        QCOMPARE(panel->width(), widths[i]);
        QVERIFY(panel->frameWidth() > 0);
        panels << QRect(panel->mapTo(window.get(), QPoint(0, 0)), panel->size());
    }
    // The same gap between neighbours, and the last frame inside the window.
    const int gap = panels[1].left() - panels[0].right() - 1;
    QVERIFY(gap > 0);
    for (int i = 1; i < 4; ++i) {
        QCOMPARE(panels[i].left() - panels[i - 1].right() - 1, gap);
        QCOMPARE(panels[i].top(), panels[0].top());
    }
    QVERIFY(panels[0].left() >= 0);
    QVERIFY(panels[3].right() < window->width() - 1);
}

QTEST_MAIN(TestGoTo)
#include "tst_goto.moc"
