#include "app/day_list_model.h"
#include "app/main_window.h"
#include "app/program.h"
#include "app/single_instance.h"
#include "calendar/generation.h"
#include "calendar/holidays.h"
#include "desktop_home.h"
#include "platform/clock.h"
#include "platform/cp1250.h"
#include "platform/program_dir.h"
#include "platform/translations.h"
#include "recording_messenger.h"
#include "records/data_file.h"
#include "settings/settings_file.h"
#include "test_files.h"
#include "widgets/system_colors.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <array>
#include <memory>

Q_DECLARE_METATYPE(TForm1::Dialog)

namespace {

const QString kNeedsSelection = QStringLiteral("Musíte mít označený záznam");

QColor background(TForm1& window, int row)
{
    return window.model().data(window.model().index(row, 0), Qt::BackgroundRole).value<QColor>();
}

QColor foreground(TForm1& window, int row)
{
    return window.model().data(window.model().index(row, 0), Qt::ForegroundRole).value<QColor>();
}

int rowOfDate(TForm1& window, const QString& date)
{
    for (int row = 0; row < window.table().rowCount(); ++row) {
        if (window.table().record(row).text(EventRecord::Field::Date) == date)
            return row;
    }
    return -1;
}

using test_files::readRaw;

void writeFile(const QString& path, const QByteArray& bytes)
{
    QVERIFY(test_files::writeRaw(path, bytes));
}

} // namespace

class TestApp final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void firstRunBuildsOneYear();
    void firstRunCloseWritesAllFiles();
    void normalRunLoadsFilesAndShowsPanels();
    void rowKindsHaveTheirColours();
    void holidaysFollowTheYearList();
    void holidayListIsExactlyItsFourteenDates();
    void rowLooksKeepItalicAndUnderlineApart();
    void viewHearsExactlyWhatChanged();
    void goToTodaySelectsTodaysRow_data();
    void goToTodaySelectsTodaysRow();
    void goToTodayStaysArmedUntilTodayAppears();
    void clicksOnTheLastRowDoNothing();
    void toolbarWarnsWithoutSelection();
    void recordMenuReachesTheCommands();
    void autostartToggleTwiceRestores();
    void normalModeHoldsTheWidth();
    void maximisedStretchesTheLastColumn_data();
    void maximisedStretchesTheLastColumn();
    void layoutWaitsWhileColumnsAreRebuilt();
    void removingColumnsEmptiesTheList();
    void closeSavesRecordsBeforeSettings();
    void overviewListsTravelThroughTheirFiles();
    void escapeClosesOnlyWhenAllowed();
    void damagedDataFileStillOpensTheWindow();
    void dataFileWithoutSettingsUsesReadDefaults();
    void trayAndStatusBarFollowTheSettings();
    void modelFollowsTableChanges();
    void everyControlHasAnAccessibleName();
    void systemColoursAreReadable();
    void secondCopyIsRefused();
    void unwritableDirectoryMovesEverything();
    void czechStandardButtons();
    void shippedWindowWritesAutostartAndLaunchers();

private:
    std::unique_ptr<TForm1> open(bool show = true);
    QString file(const QString& name) const { return QDir(m_dir->path()).filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
    RecordingMessenger m_messenger;
};

std::unique_ptr<TForm1> TestApp::open(bool show)
{
    auto window = program::assembleMainWindow(m_dir->path(), m_messenger);
    if (show) {
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            return nullptr;
        QCoreApplication::processEvents();
    }
    return window;
}

void TestApp::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    qRegisterMetaType<TForm1::Dialog>();
}

void TestApp::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_messenger.clear();
    // Today lies outside 2004 unless a test says otherwise.
    clock_source::setNow(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
}

void TestApp::cleanup()
{
    clock_source::setNow({});
}

void TestApp::firstRunBuildsOneYear()
{
    auto window = open();
    QVERIFY(window);
    QCOMPARE(window->table().rowCount(), 366);
    QCOMPARE(window->model().columnCount(), 4);
    const QStringList titles { "Den", "Datum", "Hod.", "Akce" };
    for (int k = 0; k < 4; ++k)
        QCOMPARE(window->model().headerData(k, Qt::Horizontal, Qt::DisplayRole).toString(), titles[k]);
    QCOMPARE(window->listView()->horizontalHeader()->sectionSize(1), 90);
    QCOMPARE(window->state().stavnastaveni, QStringLiteral("výchozí"));
    QCOMPARE(window->state().nastaveni, QStringLiteral("ok"));
    QCOMPARE(window->table().years(), QStringList { "2004" });
    QCOMPARE(window->table().dayCounts(), QStringList { "366" });
    QCOMPARE(window->statusText(0), QStringLiteral("Č. záznamu: "));
    QCOMPARE(window->statusText(1), QStringLiteral("Od roku: 2004"));
    QCOMPARE(window->statusText(2), QStringLiteral("Do roku: 2004"));
    QCOMPARE(window->statusText(3), QStringLiteral("Počet roků: 1"));
    QVERIFY(!window->findChild<QWidget*>("Panel1")->isVisible());
    QCOMPARE(window->listView()->mapTo(window.get(), QPoint(0, 0)).y(), 34);
    QCOMPARE(window->windowTitle(), QStringLiteral("Zorivka"));
    QVERIFY(m_messenger.messages().isEmpty());
    // Today is not in 2004: nothing is selected and the step stays armed.
    QCOMPARE(window->selectedRow(), -1);
    QCOMPARE(window->state().data, QStringLiteral("vytvorena"));
}

void TestApp::firstRunCloseWritesAllFiles()
{
    auto window = open();
    QVERIFY(window);
    QVERIFY(window->close());
    QCOMPARE(QFileInfo(file("data.zrk")).size(), 49410);
    QCOMPARE(readRaw(file("prehled roku.zrk")), QByteArray("2004\r\n"));
    QCOMPARE(readRaw(file("prehled dnu.zrk")), QByteArray("366\r\n"));
    const QString ini = cp1250::decode(readRaw(file("nastaveni.ini")));
    QVERIFY(ini.startsWith(QStringLiteral("[1. položka]\r\nTučné=0\r\n")));
    QVERIFY(ini.contains(QStringLiteral("Barva řádku=-2147483629\r\n")));
    QVERIFY(ini.contains(QStringLiteral("[Obecné]\r\nFormát=1\r\n")));
    QVERIFY(m_messenger.messages().isEmpty());
}

void TestApp::normalRunLoadsFilesAndShowsPanels()
{
    {
        auto window = open();
        QVERIFY(window);
        window->settings().jdiokno = true;
        window->settings().statusbar = false;
        window->settings().mrizka = true;
        window->settings().items[3].title = QStringLiteral("Událost");
        QVERIFY(window->close());
    }
    auto window = open();
    QVERIFY(window);
    QCOMPARE(window->state().stavnastaveni, QStringLiteral("načtené"));
    QCOMPARE(window->state().stavnacteni, QStringLiteral("ano"));
    QCOMPARE(window->table().rowCount(), 366);
    QVERIFY(window->findChild<QWidget*>("Panel1")->isVisible());
    QCOMPARE(window->listView()->mapTo(window.get(), QPoint(0, 0)).y(), 66);
    QVERIFY(!window->statusBar()->isVisible());
    QVERIFY(window->listView()->showGrid());
    QCOMPARE(
        window->model().headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Událost"));
    QCOMPARE(window->settings().pocetnroku, QStringLiteral("1"));

    // The toolbar's "Jdi na..." hides the strip again and the list moves up.
    window->findChild<QToolButton*>("ToolButton5")->click();
    QVERIFY(!window->settings().jdiokno);
    QTRY_COMPARE(window->listView()->mapTo(window.get(), QPoint(0, 0)).y(), 34);
}

void TestApp::rowKindsHaveTheirColours()
{
    auto window = open();
    QVERIFY(window);
    DayTable& table = window->table();
    // 01.01.2004 is New Year's Day, so the plain even and odd rows are Monday 5th and Tuesday 6th.
    QCOMPARE(background(*window, 0), QColor(255, 249, 117));
    QCOMPARE(background(*window, 4), QColor(192, 192, 192));
    QCOMPARE(background(*window, 5), system_colors::resolve(colour_code::kInactiveCaptionText));
    const int saturday = rowOfDate(*window, "03.01.2004");
    QCOMPARE(background(*window, saturday), QColor(0, 255, 108));
    QCOMPARE(background(*window, saturday + 1), system_colors::resolve(colour_code::kInactiveCaption));
    const int christmas = rowOfDate(*window, "25.12.2004");
    QCOMPARE(background(*window, christmas), QColor(255, 249, 117));
    for (int row : { 0, 4, 5, saturday, saturday + 1, christmas })
        QCOMPARE(foreground(*window, row), QColor(Qt::black));

    // A Saturday written in lower case is still a Saturday.
    EventRecord renamed = table.record(7);
    renamed.setText(EventRecord::Field::DayName, QStringLiteral("sobota"));
    table.setRecord(7, renamed);
    QCOMPARE(background(*window, 7), QColor(0, 255, 108));

    // A time alone makes an event row.
    EventRecord timed = table.record(8);
    timed.setText(EventRecord::Field::Time, QStringLiteral("19:30"));
    table.setRecord(8, timed);
    QCOMPARE(background(*window, 8), QColor(236, 172, 108));

    // An event on a holiday: event colours with the holiday's face and style.
    window->settings().items[4].bold = true;
    window->settings().items[4].font = QStringLiteral("Holiday Face");
    window->applySettings();
    EventRecord concert = table.record(christmas);
    concert.setText(EventRecord::Field::Event, QStringLiteral("Koncert"));
    table.setRecord(christmas, concert);
    QCOMPARE(background(*window, christmas), QColor(236, 172, 108));
    const QFont font = window->model().data(window->model().index(christmas, 2), Qt::FontRole).value<QFont>();
    QVERIFY(font.bold());
    QCOMPARE(font.family(), QStringLiteral("Holiday Face"));
}

void TestApp::holidaysFollowTheYearList()
{
    {
        // A first run whose table reaches into 2005 still marks holidays of 2004 only.
        auto window = open();
        QVERIFY(window);
        generation::appendYearRows(window->table(), { "2004", "2005" }, "1", m_messenger);
        const int christmas2005 = rowOfDate(*window, "25.12.2005");
        QVERIFY(christmas2005 > 0);
        QVERIFY(background(*window, christmas2005) != QColor(255, 249, 117));
        window->table().setLists({ "2004", "2005" }, { "366", "365" });
        QVERIFY(window->close());
    }
    // A normal start whose year list holds 2005 marks 2005's holidays too.
    auto window = open();
    QVERIFY(window);
    QCOMPARE(window->table().rowCount(), 731);
    QCOMPARE(background(*window, rowOfDate(*window, "25.12.2005")), QColor(255, 249, 117));
    QCOMPARE(background(*window, rowOfDate(*window, "11.04.2005")), QColor(255, 249, 117));
    QCOMPARE(window->statusText(2), QStringLiteral("Do roku: 2005"));
    QCOMPARE(window->statusText(3), QStringLiteral("Počet roků: 2"));
}

void TestApp::holidayListIsExactlyItsFourteenDates()
{
    const QStringList dates { "01.01.", "11.04.", "12.04.", "01.05.", "08.05.", "09.05.", "05.07.", "06.07.",
        "28.09.", "28.10.", "17.11.", "24.12.", "25.12.", "26.12." };
    QCOMPARE(holidays::list(), dates);
    // Exactly these days of 2004 are drawn as holidays (no events, so no other look wins).
    auto window = open(false);
    window->settings().items[4].rowColour = colour_code::rgb(1, 2, 3);
    window->applySettings();
    QStringList drawn;
    for (int row = 0; row < window->table().rowCount(); ++row) {
        if (background(*window, row) == QColor(1, 2, 3))
            drawn << window->table().record(row).text(EventRecord::Field::Date).left(6);
    }
    QCOMPARE(drawn, dates);
}

void TestApp::rowLooksKeepItalicAndUnderlineApart()
{
    auto window = open(false);
    // Even rows italic only, odd rows underlined only; 05.01.2004 is even, 06.01.2004 odd.
    RowItem& even = window->settings().items[0];
    RowItem& odd = window->settings().items[1];
    even.italic = true;
    odd.underline = true;
    window->applySettings();
    const auto fontOf = [&](int row) {
        return window->model().data(window->model().index(row, 1), Qt::FontRole).value<QFont>();
    };
    QVERIFY(fontOf(4).italic() && !fontOf(4).underline() && !fontOf(4).bold());
    QVERIFY(fontOf(5).underline() && !fontOf(5).italic() && !fontOf(5).bold());
    odd.underline = false;
    odd.bold = true;
    window->applySettings();
    QVERIFY(fontOf(5).bold() && !fontOf(5).underline());
}

void TestApp::viewHearsExactlyWhatChanged()
{
    auto window = open(false);
    DayListModel& model = window->model();
    QSignalSpy data(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy headers(&model, &QAbstractItemModel::headerDataChanged);
    const auto lastRange = [&] {
        const QList<QVariant> args = data.last();
        const auto topLeft = args[0].value<QModelIndex>();
        const auto bottomRight = args[1].value<QModelIndex>();
        return QList<int> { topLeft.row(), topLeft.column(), bottomRight.row(), bottomRight.column() };
    };

    // A single edit: its whole row, every column.
    EventRecord edited = window->table().record(9);
    edited.setText(EventRecord::Field::Event, QStringLiteral("Koncert"));
    window->table().setRecord(9, edited);
    QCOMPARE(data.count(), 1);
    QCOMPARE(lastRange(), QList<int>({ 9, 0, 9, 3 }));

    // New settings repaint every row and column.
    window->settings().pocets = QStringLiteral("6");
    window->buildListColumns();
    window->settings().items[4].title = QStringLiteral("Vstupné");
    window->applySettings();
    QCOMPARE(lastRange(), QList<int>({ 0, 0, 365, 5 }));

    // A title changed at run time reaches the header, and only its own section.
    QCOMPARE(model.headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Vstupné"));
    headers.clear();
    window->settings().items[1].title = QStringLiteral("Kdy");
    window->applySettings();
    QCOMPARE(headers.count(), 1);
    QCOMPARE(headers.first(), QList<QVariant>({ QVariant::fromValue(Qt::Horizontal), 1, 1 }));
    QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Kdy"));
}

void TestApp::goToTodaySelectsTodaysRow_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<int>("row");
    QTest::newRow("middle") << QDate(2004, 6, 15) << 166;
    QTest::newRow("ten rows from the end") << QDate(2004, 12, 22) << 356;
    QTest::newRow("last row") << QDate(2004, 12, 31) << 365;
}

void TestApp::goToTodaySelectsTodaysRow()
{
    QFETCH(QDate, today);
    QFETCH(int, row);
    clock_source::setNow(QDateTime(today, QTime(12, 0)));
    auto window = open();
    QVERIFY(window);
    QTRY_COMPARE(window->state().data, QStringLiteral("data"));
    QCOMPARE(window->selectedRow(), row);
    QCOMPARE(window->listView()->currentIndex().row(), row);
    QCOMPARE(window->statusText(0), QStringLiteral("Č. záznamu: %1").arg(row + 1));
    QCOMPARE(window->state().DateEdit1, today);
    QCOMPARE(QApplication::focusWidget(), window->listView());
    const QRect visible = window->listView()->viewport()->rect();
    QVERIFY(visible.intersects(window->listView()->visualRect(window->model().index(row, 0))));
    // Today's row stands at the top with the days after it below, unless the list ends first.
    QTableView* list = window->listView();
    const int visibleRows = visible.height() / list->rowHeight(0);
    QVERIFY(visibleRows < 30);
    if (row + visibleRows < window->table().rowCount())
        QCOMPARE(list->rowAt(0), row);
    else
        QCOMPARE(list->rowAt(visible.height() - 1), window->table().rowCount() - 1);
}

void TestApp::goToTodayStaysArmedUntilTodayAppears()
{
    clock_source::setNow(QDateTime(QDate(2005, 3, 1), QTime(8, 0)));
    auto window = open();
    QVERIFY(window);
    QTest::qWait(20);
    QCOMPARE(window->state().data, QStringLiteral("vytvorena"));
    QCOMPARE(window->selectedRow(), -1);
    // An edit that only mentions today's date brings no day row of it: the step waits.
    EventRecord edited = window->table().record(4);
    edited.setText(EventRecord::Field::Event, QStringLiteral("Výstava do 01.03.2005"));
    window->table().setRecord(4, edited);
    QTest::qWait(20);
    QCOMPARE(window->state().data, QStringLiteral("vytvorena"));
    // The range grows to 2005: today's row is found without any other prompt.
    generation::appendYearRows(window->table(), { "2004", "2005" }, "1", m_messenger);
    QTRY_COMPARE(window->state().data, QStringLiteral("data"));
    QCOMPARE(window->selectedRow(), 366 + 59);
    // Once found, the step stays quiet: a later change selects nothing anew.
    window->selectRow(3);
    window->table().insertRecord(10, EventRecord::blank());
    QTest::qWait(20);
    QCOMPARE(window->selectedRow(), 3);
}

void TestApp::clicksOnTheLastRowDoNothing()
{
    auto window = open();
    QVERIFY(window);
    QTableView* list = window->listView();
    const auto clickRow = [&](int row, bool twice) {
        window->selectRow(row);
        const QRect cell = list->visualRect(window->model().index(row, 1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        if (twice)
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    };
    clickRow(10, false);
    QCOMPARE(window->statusText(0), QStringLiteral("Č. záznamu: 11"));
    clickRow(365, false);
    QCOMPARE(window->statusText(0), QStringLiteral("Č. záznamu: 11"));
    clickRow(365, true);
    // Any other row opens the edit dialog; it is closed unchanged.
    QString opened;
    QTimer::singleShot(0, [&opened] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            opened = dialog->windowTitle();
            dialog->close();
        }
    });
    clickRow(12, true);
    QCOMPARE(opened, QStringLiteral("Editovat záznam"));
}

void TestApp::toolbarWarnsWithoutSelection()
{
    auto window = open();
    QVERIFY(window);
    for (int number : { 1, 2, 3, 6, 7 }) {
        m_messenger.clear();
        window->findChild<QToolButton*>(QStringLiteral("ToolButton%1").arg(number))->click();
        QCOMPARE(m_messenger.messages().size(), 1);
        QCOMPARE(m_messenger.messages()[0].title, QStringLiteral("Upozornění"));
        QCOMPARE(m_messenger.messages()[0].text, kNeedsSelection);
        QCOMPARE(m_messenger.messages()[0].icon, Messenger::Icon::Warning);
    }
    QVERIFY(!QFileInfo::exists(file("prehled roku.zrk")));

    // With a row selected, the settings button writes the lists and opens its dialog
    // with the row handed over.
    m_messenger.clear();
    window->selectRow(40);
    QStringList pocetWhileOpen;
    QTimer::singleShot(0, window.get(), [&] {
        pocetWhileOpen = window->state().pocet;
        if (QWidget* dialog = QApplication::activeModalWidget())
            dialog->close();
    });
    window->findChild<QToolButton*>("ToolButton7")->click();
    QCOMPARE(pocetWhileOpen, QStringList { "40" });
    QVERIFY(window->state().pocet.isEmpty());
    QCOMPARE(readRaw(file("prehled roku.zrk")), QByteArray("2004\r\n"));
    window->findChild<QToolButton*>("ToolButton4")->click();
    // Only the question of "Smazat vše", answered No.
    QCOMPARE(m_messenger.texts(), QStringList { "Opravdu chcete smazat všechny záznamy ???" });
}

void TestApp::recordMenuReachesTheCommands()
{
    auto window = open();
    QVERIFY(window);
    auto* menu = window->findChild<QMenu*>("PopupMenu1");
    QVERIFY(menu);
    QStringList texts;
    for (QAction* action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(texts,
        QStringList({ "Nový záznam", "Editovat záznam", "Smazat záznam", "-", "Smazat vše", "-", "Jdi na...",
            "Hledat...", "-", "Exportovat..." }));
    window->findChild<QAction*>("Novyzaznam1")->trigger();
    QCOMPARE(m_messenger.texts(), QStringList { kNeedsSelection });
    window->selectRow(2);
    QString opened;
    QTimer::singleShot(0, window.get(), [&] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            opened = dialog->windowTitle();
            dialog->close();
        }
    });
    window->findChild<QAction*>("Hledat1")->trigger();
    QCOMPARE(opened, QStringLiteral("Hledat..."));
    window->findChild<QAction*>("Prejdina1")->trigger();
    QVERIFY(window->settings().jdiokno);
    QTRY_COMPARE(window->listView()->mapTo(window.get(), QPoint(0, 0)).y(), 66);
}

void TestApp::autostartToggleTwiceRestores()
{
    auto window = open();
    QVERIFY(window);
    auto* entry = window->findChild<QAction*>("spusteni");
    QVERIFY(entry);
    QCOMPARE(entry->text(), QStringLiteral("Automatické spuštění"));
    QVERIFY(!window->settings().start);
    QVERIFY(!entry->isChecked());
    entry->trigger();
    QVERIFY(window->settings().start);
    QVERIFY(entry->isChecked());
    entry->trigger();
    QVERIFY(!window->settings().start);
    QVERIFY(!entry->isChecked());
    // The check mark follows the settings, also when they change elsewhere.
    window->settings().start = true;
    window->applySettings();
    QVERIFY(entry->isChecked());
}

void TestApp::normalModeHoldsTheWidth()
{
    auto window = open();
    QVERIFY(window);
    QCOMPARE(window->width(), TForm1::kNormalClientWidth);
    QCOMPARE(window->state().okno, QStringLiteral("normal"));
    QHeaderView* header = window->listView()->horizontalHeader();
    // The first three columns are locked; the fourth may be dragged.
    for (int k = 0; k < 3; ++k)
        QCOMPARE(header->sectionResizeMode(k), QHeaderView::Fixed);
    QCOMPARE(header->sectionResizeMode(3), QHeaderView::Interactive);
    // Dragging the window wider snaps it back.
    window->resize(700, window->height());
    QTRY_COMPARE(window->width(), TForm1::kNormalClientWidth);
    // Back from maximised, the columns have their set widths again.
    window->showMaximized();
    QTRY_COMPARE(window->state().okno, QStringLiteral("max"));
    window->showNormal();
    QTRY_COMPARE(window->state().okno, QStringLiteral("normal"));
    QTRY_COMPARE(window->width(), TForm1::kNormalClientWidth);
    QCOMPARE(header->sectionSize(3), window->settings().width(3));
}

void TestApp::maximisedStretchesTheLastColumn_data()
{
    QTest::addColumn<QString>("columns");
    QTest::newRow("4") << QStringLiteral("4");
    QTest::newRow("5") << QStringLiteral("5");
    QTest::newRow("6") << QStringLiteral("6");
}

void TestApp::maximisedStretchesTheLastColumn()
{
    QFETCH(QString, columns);
    auto window = open();
    QVERIFY(window);
    window->settings().pocets = columns;
    // Widths of their own, so that a column sized from the wrong item shows.
    for (int k = 0; k < Settings::kItemCount; ++k)
        window->settings().items[static_cast<size_t>(k)].width = QString::number(40 + 10 * k);
    window->buildListColumns();
    window->applySettings();
    window->showMaximized();
    QTRY_COMPARE(window->state().okno, QStringLiteral("max"));
    QHeaderView* header = window->listView()->horizontalHeader();
    const int last = window->model().columnCount() - 1;
    QCOMPARE(last + 1, columns.toInt());
    QTRY_VERIFY(header->sectionSize(last) > window->settings().width(last));
    QCOMPARE(header->sectionResizeMode(last), QHeaderView::Stretch);
    for (int k = 0; k < last; ++k)
        QCOMPARE(header->sectionSize(k), 40 + 10 * k);
    // With five columns the fourth is held as well.
    QCOMPARE(header->sectionResizeMode(3) == QHeaderView::Fixed, last == 4);
}

void TestApp::layoutWaitsWhileColumnsAreRebuilt()
{
    auto window = open();
    QVERIFY(window);
    window->showMaximized();
    QTRY_COMPARE(window->state().okno, QStringLiteral("max"));
    // While the settings dialog rebuilds the columns, the layout waits.
    window->state().stavtimeru7 = QStringLiteral("OFF");
    window->showNormal();
    QTest::qWait(20);
    QCOMPARE(window->state().okno, QStringLiteral("max"));
    window->state().stavtimeru7 = QStringLiteral("ON");
    window->layoutColumns();
    QCOMPARE(window->state().okno, QStringLiteral("normal"));
}

void TestApp::removingColumnsEmptiesTheList()
{
    auto window = open(false);
    window->settings().pocets = QStringLiteral("6");
    window->buildListColumns();
    QCOMPARE(window->model().columnCount(), 6);
    window->removeListColumns(6);
    QCOMPARE(window->model().columnCount(), 0);
    window->buildListColumns();
    QCOMPARE(window->model().headerData(5, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("2"));
}

void TestApp::closeSavesRecordsBeforeSettings()
{
    auto window = open();
    QVERIFY(window);
    // Neither file can be saved: the messages show the order of the two saves.
    window->table().clearRecords();
    QVERIFY(QDir(m_dir->path()).mkdir("nastaveni.ini"));
    QVERIFY(window->close());
    QCOMPARE(m_messenger.texts(), QStringList({ "Seznam je prázdný", "Chyba při vytváření souboru" }));
    QCOMPARE(m_messenger.messages()[1].title, QStringLiteral("Chyba"));
    QCOMPARE(m_messenger.messages()[1].icon, Messenger::Icon::Error);
    QVERIFY(!QFileInfo::exists(file("data.zrk")));
    // The overview files are still written.
    QCOMPARE(readRaw(file("prehled dnu.zrk")), QByteArray("366\r\n"));
}

void TestApp::overviewListsTravelThroughTheirFiles()
{
    auto window = open(false);
    window->table().setLists({ "2004", "2005" }, { "366", "365" });
    QVERIFY(window->savenClick());
    window->table().setLists({ "2004" }, { "366" });
    window->loadnClick();
    QCOMPARE(window->table().years(), QStringList({ "2004", "2005" }));
    QCOMPARE(window->settings().doroku, QStringLiteral("2005"));
    QCOMPARE(window->settings().pocetdni, QStringLiteral("731"));
    // A damaged file is rebuilt from the day rows instead.
    writeFile(file("prehled dnu.zrk"), "366\r\nx\r\n");
    window->loadnClick();
    QCOMPARE(window->table().years(), QStringList { "2004" });
    QCOMPARE(m_messenger.messages().size(), 1);
    QCOMPARE(m_messenger.messages()[0].icon, Messenger::Icon::Information);
    m_messenger.clear();
    // A list file that cannot be written is reported once.
    QVERIFY(QFile::remove(file("prehled roku.zrk")));
    QVERIFY(QDir(m_dir->path()).mkdir("prehled roku.zrk"));
    QVERIFY(!window->savenClick());
    QCOMPARE(m_messenger.texts(), QStringList { "Chyba při vytváření souboru" });
}

void TestApp::escapeClosesOnlyWhenAllowed()
{
    auto window = open();
    QVERIFY(window);
    window->activateWindow();
    window->settings().esc = false;
    window->applySettings();
    QTest::keyClick(window->listView(), Qt::Key_Escape);
    QVERIFY(window->isVisible());
    window->settings().esc = true;
    window->applySettings();
    QTest::keyClick(window->listView(), Qt::Key_Escape);
    QVERIFY(!window->isVisible());
    QCOMPARE(QFileInfo(file("data.zrk")).size(), 49410);
}

void TestApp::damagedDataFileStillOpensTheWindow()
{
    // Two whole records and a part of a third; no overview files at all.
    EventRecord day = EventRecord::dayRow("Čt", "01.01.2004");
    QByteArray bytes(reinterpret_cast<const char*>(&day), sizeof day);
    bytes += bytes + QByteArray(40, 'x');
    writeFile(file("data.zrk"), bytes);
    auto window = open();
    QVERIFY(window);
    QCOMPARE(m_messenger.messages().size(), 2);
    QCOMPARE(m_messenger.messages()[0].text, QStringLiteral("Není dostatek paměti pro vytvoření seznamu"));
    QCOMPARE(m_messenger.messages()[1].title, QStringLiteral("Informace"));
    QCOMPARE(window->table().rowCount(), 2);
    QCOMPARE(window->table().years(), QStringList { "2004" });
    QCOMPARE(window->state().nastaveni, QStringLiteral("ok"));
    QCOMPARE(window->model().columnCount(), 4);
}

void TestApp::dataFileWithoutSettingsUsesReadDefaults()
{
    {
        auto window = open(false);
        QVERIFY(window->close());
    }
    QVERIFY(QFile::remove(file("nastaveni.ini")));
    QVERIFY(QFile::remove(file("prehled dnu.zrk")));
    auto window = open();
    QVERIFY(window);
    // Every flag reads as set and every colour as black; texts keep their built-in values.
    QVERIFY(window->settings().ikona && window->settings().jdiokno && window->settings().mrizka);
    QVERIFY(window->settings().items[0].bold && window->settings().items[5].underline);
    QCOMPARE(background(*window, 4), QColor(Qt::black));
    QCOMPARE(window->settings().items[3].title, QStringLiteral("Akce"));
    QCOMPARE(window->state().stavnastaveni, QStringLiteral("načtené"));
    // The missing list file is rebuilt from the rows, and the user is told once.
    QCOMPARE(window->table().dayCounts(), QStringList { "366" });
    QCOMPARE(m_messenger.messages().size(), 1);
    QCOMPARE(m_messenger.messages()[0].title, QStringLiteral("Informace"));
    QCOMPARE(m_messenger.messages()[0].icon, Messenger::Icon::Information);
}

void TestApp::trayAndStatusBarFollowTheSettings()
{
    auto window = open();
    QVERIFY(window);
    auto* tray = window->findChild<QSystemTrayIcon*>("TrayIcon1");
    QVERIFY(tray);
    QCOMPARE(tray->toolTip(), QStringLiteral("Zorivka"));
    QCOMPARE(tray->contextMenu(), window->findChild<QMenu*>("PopupMenu2"));
    QVERIFY(!tray->isVisible());
    window->settings().ikona = true;
    window->settings().statusbar = false;
    window->applySettings();
    QVERIFY(tray->isVisible());
    QVERIFY(!window->statusBar()->isVisible());
    window->settings().statusbar = true;
    window->applySettings();
    QVERIFY(window->statusBar()->isVisible());
}

void TestApp::modelFollowsTableChanges()
{
    auto window = open(false);
    QAbstractItemModelTester tester(&window->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    DayTable& table = window->table();
    table.insertRecord(3, EventRecord::blank());
    table.removeRecords(3, 1);
    generation::appendYearRows(table, { "2004", "2005" }, "0", m_messenger);
    QCOMPARE(window->model().rowCount(), 731);
    generation::rebuildWithFormat(table, "3", m_messenger);
    QCOMPARE(
        window->model().data(window->model().index(0, 0), Qt::DisplayRole).toString(), QStringLiteral("čt"));
    window->removeListColumns(4);
    window->buildListColumns();
    QCOMPARE(window->model().columnCount(), 4);
    QVERIFY(!(window->model().flags(window->model().index(0, 0)) & Qt::ItemIsEditable));
    // The view reads all roles at once; they agree with reading them one by one.
    window->applySettings();
    for (int row : { 0, 2, 3, 4, 5 }) {
        const QModelIndex index = window->model().index(row, 1);
        std::array<QModelRoleData, 4> roles { QModelRoleData(Qt::DisplayRole),
            QModelRoleData(Qt::BackgroundRole), QModelRoleData(Qt::ForegroundRole),
            QModelRoleData(Qt::FontRole) };
        window->model().multiData(index, roles);
        for (const QModelRoleData& role : roles)
            QCOMPARE(role.data(), window->model().data(index, role.role()));
    }
    QVERIFY(!window->model().data(window->model().index(0, 0), Qt::ToolTipRole).isValid());
}

void TestApp::everyControlHasAnAccessibleName()
{
    auto window = open();
    QVERIFY(window);
    const QStringList hints { "Nový záznam", "Editovat záznam", "Smazat záznam", "Smazat vše", "Jdi na...",
        "Hledat...", "Nastavení programu", "Nápověda o programu", "Konec programu" };
    for (int i = 0; i < hints.size(); ++i) {
        auto* button = window->findChild<QToolButton*>(QStringLiteral("ToolButton%1").arg(i + 1));
        QVERIFY(button);
        QCOMPARE(button->toolTip(), hints[i]);
        QCOMPARE(button->accessibleName(), hints[i]);
    }
    for (auto* menu : window->findChildren<QMenu*>()) {
        for (QAction* action : menu->actions())
            QVERIFY(action->isSeparator() || !action->text().isEmpty());
    }
    QVERIFY(!window->listView()->accessibleName().isEmpty());
    const QStringList trayEntries { "Nápověda o programu", "Automatické spuštění", "", "Konec programu" };
    QStringList texts;
    for (QAction* action : window->findChild<QMenu*>("PopupMenu2")->actions())
        texts << action->text();
    QCOMPARE(texts, trayEntries);
}

void TestApp::systemColoursAreReadable()
{
    const QColor black(Qt::black);
    // The two default scheme colours are drawn readably under black text here.
    for (std::int32_t code : { colour_code::kInactiveCaptionText, colour_code::kInactiveCaption })
        QVERIFY(system_colors::contrast(system_colors::readableBackground(code, black), black) >= 3.0);
    // A scheme that gives a colour too close to the text falls back to the classic one.
    QCOMPARE(system_colors::contrast(black, black), 1.0);
    QCOMPARE(system_colors::readableBackground(colour_code::kInactiveCaptionText, QColor(212, 208, 200)),
        system_colors::classicColour(19));
    // Plain colours are drawn as stored, however dark.
    QCOMPARE(system_colors::readableBackground(colour_code::rgb(1, 2, 3), black), QColor(1, 2, 3));
    QCOMPARE(system_colors::resolve(colour_code::rgb(236, 172, 108)), QColor(236, 172, 108));
    // Loading and saving never changes the stored numbers.
    {
        auto window = open(false);
        QVERIFY(window->close());
    }
    auto window = open(false);
    QCOMPARE(window->settings().items[1].rowColour, colour_code::kInactiveCaptionText);
    QCOMPARE(window->settings().items[3].rowColour, colour_code::kInactiveCaption);
}

void TestApp::secondCopyIsRefused()
{
    InstanceLock first;
    QVERIFY(first.acquire(m_dir->path()));
    InstanceLock second;
    QVERIFY(!second.acquire(m_dir->path()));
    // The second start asks the first to come to the front.
    QSignalSpy raised(&first, &InstanceLock::activationRequested);
    QVERIFY(InstanceLock::activateRunning(m_dir->path()));
    QTRY_COMPARE(raised.count(), 1);
    QTemporaryDir other;
    QVERIFY(!InstanceLock::activateRunning(other.path()));
    // A copy that holds the lock but does not answer: the user is told, and nothing else happens.
    QLockFile held(QDir(other.path()).filePath(InstanceLock::kFileName));
    QVERIFY(held.tryLock(0));
    InstanceLock third;
    QVERIFY(!third.acquireOrHandOver(other.path(), m_messenger));
    QCOMPARE(m_messenger.texts(), QStringList { "Program Zorivka je již spuštěn." });
    QCOMPARE(m_messenger.messages()[0].title, QStringLiteral("Upozornění"));
    QCOMPARE(QDir(other.path()).entryList(QDir::Files), QStringList { InstanceLock::kFileName });
}

void TestApp::unwritableDirectoryMovesEverything()
{
    const QString fallback = QDir(m_dir->path()).filePath("per-user/Zorivka");
    QCOMPARE(program_dir::choose(m_dir->path(), fallback), QDir(m_dir->path()).absolutePath());
    // A directory that cannot take files (here: one that is really a file) sends all of them elsewhere.
    writeFile(file("not-a-dir"), "x");
    QCOMPARE(program_dir::choose(file("not-a-dir"), fallback), QDir(fallback).absolutePath());
    QVERIFY(QFileInfo(fallback).isDir());
}

void TestApp::czechStandardButtons()
{
    QVERIFY(translations::installQtCzech(*QCoreApplication::instance()));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Ano"));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&No"), QStringLiteral("&Ne"));
}

void TestApp::shippedWindowWritesAutostartAndLaunchers()
{
    // A desktop of the test's own, with the folder the desktop launcher needs.
    QTemporaryDir home;
    const DesktopHome desktop(home.path(), home.filePath("config"), home.filePath("data"));
    QVERIFY(QDir(home.path()).mkdir("Desktop"));
    auto window = open();
    QVERIFY(window);
    window->selectRow(0);
    bool ran = false;
    QTimer::singleShot(0, window.get(), [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        auto* start = dialog->findChild<QCheckBox*>("start");
        QVERIFY(start && start->isVisible());
        QTest::mouseClick(start, Qt::LeftButton);
        QVERIFY(start->isChecked());
        for (const char* button : { "zplocha", "zstart", "Button53" })
            QTest::mouseClick(dialog->findChild<QPushButton*>(button), Qt::LeftButton);
        ran = true;
    });
    QTest::mouseClick(window->findChild<QToolButton*>("ToolButton7"), Qt::LeftButton);
    QVERIFY(ran);
    QVERIFY(window->settings().start);
    QVERIFY(QFileInfo(home.filePath("config/autostart/zorivka.desktop")).isFile());
    QVERIFY(QFileInfo(home.filePath("Desktop/cz.zorivka.Zorivka.desktop")).isExecutable());
    QVERIFY(QFileInfo(home.filePath("data/applications/cz.zorivka.Zorivka.desktop")).isFile());
    QCOMPARE(m_messenger.texts(),
        QStringList({ "Zástupce na ploše byl vytvořen", "Zástupce v nabídce start byl vytvořen" }));
    // Unchecked, the next "Ok" removes the log-on entry; launchers stay.
    QTimer::singleShot(0, window.get(), [] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        QTest::mouseClick(dialog->findChild<QCheckBox*>("start"), Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QPushButton*>("Button53"), Qt::LeftButton);
    });
    QTest::mouseClick(window->findChild<QToolButton*>("ToolButton7"), Qt::LeftButton);
    QVERIFY(!window->settings().start);
    QVERIFY(!QFileInfo::exists(home.filePath("config/autostart/zorivka.desktop")));
    QVERIFY(QFileInfo::exists(home.filePath("data/applications/cz.zorivka.Zorivka.desktop")));
}

QTEST_MAIN(TestApp)
#include "tst_app.moc"
