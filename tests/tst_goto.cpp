#include "app/go_to_panel.h"
#include "app/main_window.h"
#include "app/program.h"
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
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

const QString kInformation = QStringLiteral("Informace");
constexpr int kNone = -1000;

EventRecord eventRow(const QString& event)
{
    return fixture::extraRow(QString(), event);
}

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

    void stripShowsItsControls();
    void toggleMovesTheListAndSetsToday();
    void unitChoiceSetsTheHints_data();
    void unitChoiceSetsTheHints();
    void dayAndWeekStepsCountRows();
    void stepsThatStayPut_data();
    void stepsThatStayPut();
    void calendarSteps_data();
    void calendarSteps();
    void firstAndLastRow();
    void fieldJumpsOnceArmedToTheDayRow();
    void goToTodaySetsTheFieldOnlyOnce();
    void fieldWithoutTodayWarnsOncePerEntry();
    void normalModeColumnsReturnToTheirWidths();
    void statusPanelsSitSideBySideInsideTheWindow();

private:
    // A first-run window (2004) with today at `today`, shown, with the strip open.
    std::unique_ptr<TForm1> open(const QDate& today = QDate(2026, 12, 6));
    // The window built but not shown yet, today at 1 July 2004.
    std::unique_ptr<TForm1> build();
    template <typename T> T* control(TForm1& window, const char* name)
    {
        return window.goToPanel()->findChild<T*>(QString::fromLatin1(name));
    }
    void chooseUnit(TForm1& window, int unit)
    {
        control<QComboBox>(window, "ComboBox1")->setCurrentIndex(unit);
    }
    void click(TForm1& window, const char* name)
    {
        QTest::mouseClick(control<QToolButton>(window, name), Qt::LeftButton);
    }
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

std::unique_ptr<TForm1> TestGoTo::build()
{
    clock_source::setNow(QDateTime(QDate(2004, 7, 1), QTime(9, 0)));
    return fixture::openWindow(m_dir->path(), m_messenger, false);
}

void TestGoTo::stripShowsItsControls()
{
    auto window = open();
    QVERIFY(window);
    int x = -1;
    for (const char* name : { "Label1", "DateEdit2", "ToolbarButton971", "Label2", "ComboBox1", "tlacitko2",
             "tlacitko3", "tlacitko1", "tlacitko4" }) {
        QWidget* widget = control<QWidget>(*window, name);
        QVERIFY2(widget && widget->isVisible(), name);
        QVERIFY2(widget->x() > x, name);
        x = widget->x();
        // Everything fits into the narrow window.
        QVERIFY2(widget->mapTo(window.get(), QPoint(widget->width(), 0)).x() <= window->width(), name);
    }
    for (const auto& [name, text] : { std::pair { "Label1", "Datum:" }, { "Label2", "Možnosti:" } }) {
        auto* label = control<QLabel>(*window, name);
        QCOMPARE(label->text(), QString::fromUtf8(text));
        QVERIFY(label->font().bold());
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    }
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
    QStringList items;
    for (int i = 0; i < units->count(); ++i)
        items << units->itemText(i);
    QCOMPARE(items, QStringList({ "Dny", "Týdny", "Měsíce", "Roky" }));
    QCOMPARE(units->currentIndex(), -1);
}

void TestGoTo::toggleMovesTheListAndSetsToday()
{
    auto window = open(QDate(2004, 5, 10));
    QVERIFY(window);
    QWidget* strip = window->findChild<QWidget*>("Panel1");
    DateField* field = window->goToPanel()->dateField();
    const auto listTop = [&] { return window->listView()->mapTo(window.get(), QPoint(0, 0)).y(); };
    QVERIFY(window->settings().jdiokno);
    QVERIFY(strip->isVisible());
    QTRY_COMPARE(listTop(), 66);
    QCOMPARE(field->date(), QDate(2004, 5, 10));

    // The toolbar takes the unit choice back, the record menu leaves it.
    chooseUnit(*window, GoToPanel::Weeks);
    field->setDate(QDate(2004, 1, 1));
    window->findChild<QAction*>("Prejdina1")->trigger();
    QVERIFY(!window->settings().jdiokno);
    QVERIFY(!strip->isVisible());
    QTRY_COMPARE(listTop(), 34);
    QCOMPARE(field->date(), QDate(2004, 5, 10));
    window->findChild<QAction*>("Prejdina1")->trigger();
    QCOMPARE(control<QComboBox>(*window, "ComboBox1")->currentIndex(), int(GoToPanel::Weeks));
    fixture::clickToolButton(*window, "ToolButton5");
    fixture::clickToolButton(*window, "ToolButton5");
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

void TestGoTo::dayAndWeekStepsCountRows()
{
    auto window = open();
    QVERIFY(window);
    // Two event rows under row 10 count as rows too.
    window->table().insertRecord(11, eventRow(QStringLiteral("Divadlo")));
    window->table().insertRecord(11, eventRow(QStringLiteral("Kino")));
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
    step("tlacitko2", 9);
    // Down to the very first row too.
    window->selectRow(1);
    step("tlacitko2", 0);
    window->selectRow(9);
    chooseUnit(*window, GoToPanel::Weeks);
    step("tlacitko3", rowOf(*window, QStringLiteral("15.01.2004")));
    step("tlacitko2", 9);
    QCOMPARE(QApplication::focusWidget(), window->listView());
    QVERIFY(window->state().pocet.isEmpty());
    QVERIFY(m_messenger.messages().isEmpty());
}

void TestGoTo::stepsThatStayPut_data()
{
    // The rows a step back and a step forward start from; negative counts from the end
    // (-1: the last row), kNone selects nothing.
    QTest::addColumn<int>("unit");
    QTest::addColumn<QList<int>>("rows");
    QTest::newRow("no unit") << int(GoToPanel::NoUnit) << QList<int> { 100, 100 };
    QTest::newRow("days at the edges") << int(GoToPanel::Days) << QList<int> { 0, -1 };
    QTest::newRow("weeks at the edges") << int(GoToPanel::Weeks) << QList<int> { 3, -7 };
    // Months and years step from day rows only.
    QTest::newRow("months from an extra row") << int(GoToPanel::Months) << QList<int> { 41, 41 };
    QTest::newRow("years from an extra row") << int(GoToPanel::Years) << QList<int> { 41, 41 };
    for (int unit = GoToPanel::Days; unit <= GoToPanel::Years; ++unit)
        QTest::addRow("unit %d without a selection", unit) << unit << QList<int> { kNone, kNone };
}

void TestGoTo::stepsThatStayPut()
{
    QFETCH(int, unit);
    QFETCH(QList<int>, rows);
    auto window = open();
    QVERIFY(window);
    window->table().insertRecord(41, eventRow(QStringLiteral("Výstava")));
    chooseUnit(*window, unit);
    for (bool forward : { false, true }) {
        int row = rows[forward];
        if (row == kNone)
            window->listView()->selectionModel()->clearSelection();
        else
            window->selectRow(row < 0 ? row + window->table().rowCount() : row);
        row = window->selectedRow();
        window->setStatusText(0, QString());
        click(*window, forward ? "tlacitko3" : "tlacitko2");
        QCOMPARE(window->selectedRow(), row);
        QCOMPARE(window->statusText(0), QString());
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
    generation::appendYearRows(window->table(), { "2004", "2005" }, "1", m_messenger);
    window->table().setLists({ "2004", "2005" }, { "366", "365" });
    // Rows that merely name a date the step looks for are no targets.
    window->table().insertRecord(1, eventRow(QStringLiteral("přesunuto na ") + to));
    window->table().insertRecord(1, eventRow(QStringLiteral("31.04.2004 a 29.02.2005")));
    chooseUnit(*window, unit);
    window->selectRow(rowOf(*window, from));
    window->setStatusText(0, QString());
    click(*window, direction > 0 ? "tlacitko3" : "tlacitko2");
    const int target = rowOf(*window, to);
    QCOMPARE(window->selectedRow(), target);
    QCOMPARE(m_messenger.texts(), message.isEmpty() ? QStringList() : QStringList { message });
    for (const RecordingMessenger::Message& shown : m_messenger.messages()) {
        QCOMPARE(shown.title, kInformation);
        QCOMPARE(shown.icon, Messenger::Icon::Information);
    }
    // Status panel 0 tells the row whenever the step found one.
    QCOMPARE(window->statusText(0), jumps ? recordNumber(target) : QString());
    QCOMPARE(window->state().minrok + window->state().maxrok, QStringLiteral("20042005"));
}

void TestGoTo::firstAndLastRow()
{
    auto window = open();
    QVERIFY(window);
    window->table().insertRecord(366, eventRow(QStringLiteral("Silvestr")));
    click(*window, "tlacitko4");
    QCOMPARE(window->selectedRow(), 366);
    QCOMPARE(window->statusText(0), recordNumber(366));
    click(*window, "tlacitko1");
    QCOMPARE(window->selectedRow(), 0);
    QCOMPARE(window->statusText(0), recordNumber(0));
    QCOMPARE(QApplication::focusWidget(), window->listView());
}

void TestGoTo::fieldJumpsOnceArmedToTheDayRow()
{
    auto window = open(QDate(2004, 8, 8));
    QVERIFY(window);
    DateField* field = window->goToPanel()->dateField();
    QTRY_COMPARE(window->selectedRow(), rowOf(*window, QStringLiteral("08.08.2004")));
    const int day = rowOf(*window, QStringLiteral("20.04.2004"));
    for (const char* event : { "Koncert", "Divadlo", "Kino" })
        window->table().insertRecord(day + 1, eventRow(QString::fromUtf8(event)));
    const int today = rowOf(*window, QStringLiteral("08.08.2004"));

    // Not armed: neither a date nor the today button jumps.
    window->selectRow(5);
    field->setDate(QDate(2004, 4, 20));
    click(*window, "ToolbarButton971");
    QCOMPARE(field->date(), QDate(2004, 8, 8));
    QCOMPARE(window->selectedRow(), 5);
    QCOMPARE(window->state().zmena, QStringLiteral("zmena"));

    field->openCalendar();
    QCOMPARE(window->state().zmena, QStringLiteral("ok"));
    field->calendarPopup()->close();
    field->setDate(QDate(2004, 4, 20));
    QCOMPARE(window->selectedRow(), day);
    QCOMPARE(window->statusText(0), recordNumber(day));
    QCOMPARE(QApplication::focusWidget(), window->listView());
    click(*window, "ToolbarButton971");
    QCOMPARE(window->selectedRow(), today);
    // The very first day too.
    field->setDate(QDate(2004, 1, 1));
    QCOMPARE(window->selectedRow(), 0);

    // Rows that merely name the date, before or after its day, are no targets.
    const int later = rowOf(*window, QStringLiteral("01.05.2004"));
    window->table().insertRecord(later + 1, eventRow(QStringLiteral("Odloženo z 20.04.2004")));
    window->table().insertRecord(3, eventRow(QStringLiteral("Přesunuto na 20.04.2004")));
    field->setDate(QDate(2004, 4, 20));
    QCOMPARE(window->selectedRow(), day + 1);
    QVERIFY(m_messenger.messages().isEmpty());

    // A date outside the table.
    field->setDate(QDate(2010, 4, 20));
    QCOMPARE(window->selectedRow(), day + 1);
    QCOMPARE(m_messenger.texts(), QStringList { "Hledaný datum nebyl nalezen" });
    QCOMPARE(m_messenger.messages()[0].title, kInformation);
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
    // The step runs from the event loop; nothing to wait for but the loop itself.
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    QCOMPARE(window->state().data, QStringLiteral("vytvorena"));
    QCOMPARE(field->date(), QDate(2004, 3, 10));
    QVERIFY(m_messenger.messages().isEmpty());

    // A strip made before the window is up gets today's date from the step's first run.
    window.reset();
    m_dir = std::make_unique<QTemporaryDir>();
    auto second = build();
    QVERIFY(second->goToPanel()->dateField()->isEmpty());
    second->show();
    QTRY_COMPARE(second->goToPanel()->dateField()->date(), QDate(2004, 7, 1));
}

void TestGoTo::fieldWithoutTodayWarnsOncePerEntry()
{
    // Before the window is up the go-to-today step has not set its date yet.
    auto window = build();
    DateField* field = window->goToPanel()->dateField();
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
    window->show();
    QTRY_COMPARE(window->state().data, QStringLiteral("data"));
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
        for (int delta : { 80, -10 }) {
            header->resizeSection(column, set + delta);
            QCOMPARE(header->sectionSize(column), set);
        }
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
    QList<QRect> panels;
    QList<int> widths;
    for (int i = 0; i < 4; ++i) {
        auto* panel = window->findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(i));
        QVERIFY(panel->frameWidth() > 0);
        panels << QRect(panel->mapTo(window.get(), QPoint(0, 0)), panel->size());
        widths << panel->width();
    }
    QCOMPARE(widths, QList<int>({ 150, 104, 104, 70 }));
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
