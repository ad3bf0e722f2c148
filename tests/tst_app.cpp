#include "app/day_list_model.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "calendar/generation.h"
#include "calendar/holidays.h"
#include "desktop_home.h"
#include "platform/clock.h"
#include "platform/cp1250.h"
#include "platform/translations.h"
#include "recording_messenger.h"
#include "settings/settings_dialog.h"
#include "table_rows.h"
#include "test_files.h"
#include "widgets/system_colors.h"
#include "window_fixture.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
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
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;
using Field = EventRecord::Field;
using test_files::readRaw;

namespace {

const QString kNeedsSelection = u"Warning|Upozornění|Musíte mít označený záznam"_s;
const QString kListsRebuilt = u"Information|Informace|Soubory „prehled roku.zrk“ a „prehled dnu.zrk“ chyběly "
                              u"nebo byly poškozené. Přehled roků a dnů byl obnoven podle záznamů."_s;
const QColor kHolidayYellow(255, 249, 117);

QVariant roleOf(TForm1& window, int row, int role, int column = 0)
{
    return window.model().data(window.model().index(row, column), role);
}

QColor background(TForm1& window, const QString& date, int role = Qt::BackgroundRole)
{
    return roleOf(window, table_rows::ofDate(window.table(), date), role).value<QColor>();
}

QStringList headers(TForm1& window)
{
    QStringList titles;
    for (int k = 0; k < window.model().columnCount(); ++k)
        titles << window.model().headerData(k, Qt::Horizontal, Qt::DisplayRole).toString();
    return titles;
}

QStringList panels(TForm1& window)
{
    return { window.statusText(0), window.statusText(1), window.statusText(2), window.statusText(3) };
}

int listTop(TForm1& window)
{
    return window.listView()->mapTo(&window, QPoint(0, 0)).y();
}

void setEvent(TForm1& window, int row, const QString& text)
{
    EventRecord record = window.table().record(row);
    record.setText(Field::Event, text);
    window.table().setRecord(row, record);
}

// For checks that nothing happens: the queued steps get their turn without a clock.
void settle()
{
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
}

} // namespace

class TestApp final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_messenger.clear();
        // Today lies outside 2004 unless a test says otherwise.
        clock_source::setNow(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
    }

    void cleanup() { clock_source::setNow({}); }

    void firstRunThenNormalRun()
    {
        auto window = open();
        QVERIFY(window);
        QCOMPARE(window->table().rowCount(), 366);
        QCOMPARE(headers(*window) + window->table().years() + window->table().dayCounts(),
            QStringList({ "Den", "Datum", "Hod.", "Akce", "2004", "366" }));
        QCOMPARE(panels(*window),
            QStringList({ "Č. záznamu: ", "Od roku: 2004", "Do roku: 2004", "Počet roků: 1" }));
        QVERIFY(!window->findChild<QWidget*>("Panel1")->isVisible());
        // Today is not in 2004: nothing is selected and the step stays armed.
        QCOMPARE(window->selectedRow(), -1);
        const MainState& first = window->state();
        QCOMPARE(QStringList({ first.stavnastaveni, first.nastaveni, first.data }),
            QStringList({ "výchozí", "ok", "vytvorena" }));
        window->settings().jdiokno = true;
        window->settings().statusbar = false;
        window->settings().mrizka = true;
        window->settings().items[3].title = u"Událost"_s;
        QVERIFY(window->close());
        QVERIFY(m_messenger.messages().isEmpty());
        QCOMPARE(QFileInfo(file("data.zrk")).size(), 49410);
        QCOMPARE(readRaw(file("prehled roku.zrk")) + readRaw(file("prehled dnu.zrk")),
            QByteArray("2004\r\n366\r\n"));
        // A normal run loads the files and shows what the settings say.
        window = open();
        QCOMPARE(QStringList({ window->state().stavnastaveni, window->state().stavnacteni }),
            QStringList({ "načtené", "ano" }));
        QCOMPARE(window->table().rowCount(), 366);
        QVERIFY(window->findChild<QWidget*>("Panel1")->isVisible() && !window->statusBar()->isVisible());
        QVERIFY(window->listView()->showGrid());
        QCOMPARE(headers(*window).value(3), u"Událost"_s);
        // The toolbar's "Jdi na..." hides the strip and the list moves up; the menu brings it back.
        const int top = listTop(*window);
        fixture::clickToolButton(*window, "ToolButton5");
        QVERIFY(!window->settings().jdiokno);
        QTRY_VERIFY(listTop(*window) < top);
        window->findChild<QAction*>("Prejdina1")->trigger();
        QVERIFY(window->settings().jdiokno);
        QTRY_COMPARE(listTop(*window), top);
    }

    void rowColoursAndHolidays()
    {
        {
            auto window = open(false);
            // 01.01.2004 is New Year's Day, so the plain even and odd rows are Monday 5th and Tuesday 6th.
            QList<QColor> colours;
            for (const char* date :
                { "01.01.2004", "05.01.2004", "06.01.2004", "03.01.2004", "04.01.2004", "25.12.2004" }) {
                colours << background(*window, date);
                QCOMPARE(background(*window, date, Qt::ForegroundRole), QColor(Qt::black));
            }
            QCOMPARE(colours,
                QList<QColor>({ kHolidayYellow, QColor(192, 192, 192),
                    system_colors::resolve(colour_code::kInactiveCaptionText), QColor(0, 255, 108),
                    system_colors::resolve(colour_code::kInactiveCaption), kHolidayYellow }));
            // An event on a holiday: the event's colours, the holiday's face.
            window->settings().items[4].font = u"Holiday Face"_s;
            window->applySettings();
            const int christmas = table_rows::ofDate(window->table(), u"25.12.2004"_s);
            setEvent(*window, christmas, u"Koncert"_s);
            QCOMPARE(background(*window, u"25.12.2004"_s), QColor(236, 172, 108));
            QCOMPARE(roleOf(*window, christmas, Qt::FontRole, 2).value<QFont>().family(), u"Holiday Face"_s);
            // A first run whose table reaches into 2005 still marks holidays of 2004 only.
            generation::appendYearRows(window->table(), { "2004", "2005" }, "1", m_messenger);
            window->table().setLists({ "2004", "2005" }, { "366", "365" });
            QVERIFY(background(*window, u"25.12.2005"_s) != kHolidayYellow);
            QVERIFY(window->close());
        }
        // A normal start whose year list holds 2005 marks 2005's holidays too.
        auto window = open(false);
        QCOMPARE(window->table().rowCount(), 731);
        QCOMPARE(
            QList<QColor>({ background(*window, u"17.11.2005"_s), background(*window, u"11.04.2005"_s) }),
            QList<QColor>(2, kHolidayYellow));
        QCOMPARE(panels(*window).mid(2), QStringList({ "Do roku: 2005", "Počet roků: 2" }));
    }

    void modelTellsTheViewExactlyWhatChanged()
    {
        auto window = open(false);
        DayListModel& model = window->model();
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy data(&model, &QAbstractItemModel::dataChanged);
        QSignalSpy headerSpy(&model, &QAbstractItemModel::headerDataChanged);
        const auto lastRange = [&] {
            const auto from = data.last()[0].value<QModelIndex>(), to = data.last()[1].value<QModelIndex>();
            return QList<int> { int(data.count()), from.row(), from.column(), to.row(), to.column() };
        };
        // A single edit: its whole row, every column; new settings: every row and column.
        setEvent(*window, 9, u"Koncert"_s);
        QCOMPARE(lastRange(), QList<int>({ 1, 9, 0, 9, 3 }));
        window->settings().pocets = u"6"_s;
        window->buildListColumns();
        window->settings().items[4].title = u"Vstupné"_s;
        window->applySettings();
        QCOMPARE(lastRange().mid(1), QList<int>({ 0, 0, 365, 5 }));
        // A title changed at run time reaches the header, and only its own section.
        headerSpy.clear();
        window->settings().items[1].title = u"Kdy"_s;
        window->applySettings();
        QCOMPARE(headerSpy, QList<QList<QVariant>>({ { QVariant::fromValue(Qt::Horizontal), 1, 1 } }));
        QCOMPARE(headers(*window), QStringList({ "Den", "Kdy", "Hod.", "Akce", "Vstupné", "2" }));
        // Removing the columns empties the list; building them again brings the titles back.
        window->removeListColumns(6);
        QCOMPARE(model.columnCount(), 0);
        window->buildListColumns();
        QCOMPARE(headers(*window).value(5), u"2"_s);
        generation::appendYearRows(window->table(), { "2004", "2005" }, "0", m_messenger);
        QCOMPARE(model.rowCount(), 731);
        generation::rebuildWithFormat(window->table(), "3", m_messenger);
        QCOMPARE(roleOf(*window, 0, Qt::DisplayRole).toString(), u"čt"_s);
        QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));
        QVERIFY(!roleOf(*window, 0, Qt::ToolTipRole).isValid());
        // The view reads all roles at once; they agree with reading them one by one.
        for (int row : { 0, 2, 3, 4, 5 }) {
            std::array<QModelRoleData, 4> roles { QModelRoleData(Qt::DisplayRole),
                QModelRoleData(Qt::BackgroundRole), QModelRoleData(Qt::ForegroundRole),
                QModelRoleData(Qt::FontRole) };
            model.multiData(model.index(row, 1), roles);
            for (const QModelRoleData& role : roles)
                QCOMPARE(role.data(), model.data(model.index(row, 1), role.role()));
        }
    }

    void goToTodaySelectsTodaysRow_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("row");
        QTest::newRow("middle") << QDate(2004, 6, 15) << 166;
        QTest::newRow("ten rows from the end") << QDate(2004, 12, 22) << 356;
        QTest::newRow("last row") << QDate(2004, 12, 31) << 365;
        QTest::newRow("a year added later") << QDate(2005, 3, 1) << 366 + 59;
    }

    void goToTodaySelectsTodaysRow()
    {
        QFETCH(QDate, today);
        QFETCH(int, row);
        clock_source::setNow(QDateTime(today, QTime(12, 0)));
        auto window = open();
        QVERIFY(window);
        if (today.year() == 2005) {
            // An edit that only mentions today's date brings no day row of it: the step waits
            // until the range grows to 2005, without any other prompt.
            setEvent(*window, 4, u"Výstava do 01.03.2005"_s);
            settle();
            QCOMPARE(window->selectedRow(), -1);
            QCOMPARE(window->state().data, u"vytvorena"_s);
            generation::appendYearRows(window->table(), { "2004", "2005" }, "1", m_messenger);
        }
        QTRY_COMPARE(window->state().data, u"data"_s);
        QTableView* list = window->listView();
        QCOMPARE(QList<int>({ window->selectedRow(), list->currentIndex().row() }), QList<int>({ row, row }));
        QCOMPARE(window->statusText(0), u"Č. záznamu: %1"_s.arg(row + 1));
        QCOMPARE(window->state().DateEdit1, today);
        QCOMPARE(QApplication::focusWidget(), list);
        // Today's row stands at the top with the days after it below, unless the list ends first.
        const QRect visible = list->viewport()->rect();
        const int visibleRows = visible.height() / list->rowHeight(0);
        QVERIFY(visibleRows < 30);
        if (row + visibleRows < window->table().rowCount())
            QCOMPARE(list->rowAt(0), row);
        else
            QCOMPARE(list->rowAt(visible.height() - 1), window->table().rowCount() - 1);
        // Once found, the step stays quiet: a later change selects nothing anew.
        window->selectRow(3);
        window->table().insertRecord(10, EventRecord::blank());
        settle();
        QCOMPARE(window->selectedRow(), 3);
    }

    void clicksOnTheLastRowDoNothing()
    {
        auto window = open();
        QVERIFY(window);
        QTableView* list = window->listView();
        const auto click = [&](int row, bool twice) {
            window->selectRow(row);
            const QPoint centre = list->visualRect(window->model().index(row, 1)).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
            if (twice)
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
        };
        click(10, false);
        click(365, false);
        QCOMPARE(window->statusText(0), u"Č. záznamu: 11"_s);
        QString opened;
        const auto title = [&](QDialog& dialog) { opened = dialog.windowTitle(); };
        QVERIFY(!fixture::onModal<QDialog>(title, [&] { click(365, true); }));
        settle();
        // Any other row opens the edit dialog.
        QVERIFY(fixture::onModal<QDialog>(title, [&] { click(12, true); }));
        QCOMPARE(opened, u"Editovat záznam"_s);
    }

    void toolbarAndMenusReachTheCommands()
    {
        auto window = open();
        QVERIFY(window);
        QStringList hints, menu, tray;
        for (int i = 1; i <= 9; ++i) {
            auto* button = window->findChild<QToolButton*>(u"ToolButton%1"_s.arg(i));
            hints << button->toolTip() + (button->accessibleName() == button->toolTip() ? "" : "!");
        }
        QCOMPARE(hints,
            QStringList({ "Nový záznam", "Editovat záznam", "Smazat záznam", "Smazat vše", "Jdi na...",
                "Hledat...", "Nastavení programu", "Nápověda o programu", "Konec programu" }));
        QVERIFY(!window->listView()->accessibleName().isEmpty());
        for (QAction* action : window->findChild<QMenu*>("PopupMenu1")->actions())
            menu << (action->isSeparator() ? u"-"_s : action->text());
        for (QAction* action : window->findChild<QMenu*>("PopupMenu2")->actions())
            tray << action->text();
        QCOMPARE(menu + tray,
            QStringList({ "Nový záznam", "Editovat záznam", "Smazat záznam", "-", "Smazat vše", "-",
                "Jdi na...", "Hledat...", "-", "Exportovat...", "Nápověda o programu", "Automatické spuštění",
                "", "Konec programu" }));
        // Without a selection each command that needs a row says so.
        for (const char* button :
            { "ToolButton1", "ToolButton2", "ToolButton3", "ToolButton6", "ToolButton7" })
            fixture::clickToolButton(*window, button);
        window->findChild<QAction*>("Novyzaznam1")->trigger();
        QCOMPARE(fixture::described(m_messenger), QStringList(6, kNeedsSelection));
        QVERIFY(!QFileInfo::exists(file("prehled roku.zrk")));
        // With a row selected, the settings button writes the lists and opens its dialog
        // with the row handed over.
        m_messenger.clear();
        window->selectRow(0);
        QStringList handed;
        QVERIFY(fixture::onModal<Tnastav>([&](Tnastav&) { handed = window->state().pocet; },
            [&] { fixture::clickToolButton(*window, "ToolButton7"); }));
        QCOMPARE(handed, QStringList { "0" });
        QVERIFY(window->state().pocet.isEmpty());
        QCOMPARE(readRaw(file("prehled roku.zrk")), QByteArray("2004\r\n"));
        QString opened;
        QVERIFY(fixture::onModal<QDialog>([&](QDialog& dialog) { opened = dialog.windowTitle(); },
            [&] { window->findChild<QAction*>("Hledat1")->trigger(); }));
        QCOMPARE(opened, u"Hledat..."_s);
        // "Smazat vše" only asks (answered No).
        fixture::clickToolButton(*window, "ToolButton4");
        QCOMPARE(fixture::described(m_messenger),
            QStringList { "Question|Smazat vše|Opravdu chcete smazat všechny záznamy ???" });
        QCOMPARE(window->table().rowCount(), 366);
    }

    void normalAndMaximisedColumns_data()
    {
        QTest::addColumn<int>("columns");
        for (int columns : { 4, 5, 6 })
            QTest::newRow(qPrintable(QString::number(columns))) << columns;
    }

    void normalAndMaximisedColumns()
    {
        QFETCH(int, columns);
        auto window = open();
        QVERIFY(window);
        QCOMPARE(window->width(), TForm1::kNormalClientWidth);
        QCOMPARE(window->state().okno, u"normal"_s);
        QHeaderView* header = window->listView()->horizontalHeader();
        // The first three columns are locked; the fourth may be dragged.
        for (int k = 0; k < 4; ++k)
            QCOMPARE(header->sectionResizeMode(k), k < 3 ? QHeaderView::Fixed : QHeaderView::Interactive);
        // Dragging the window wider snaps it back.
        window->resize(700, window->height());
        QTRY_COMPARE(window->width(), TForm1::kNormalClientWidth);
        // Widths of their own, so that a column sized from the wrong item shows.
        window->settings().pocets = QString::number(columns);
        for (int k = 0; k < Settings::kItemCount; ++k)
            window->settings().items[static_cast<size_t>(k)].width = QString::number(40 + 10 * k);
        window->buildListColumns();
        window->applySettings();
        // Maximised, the last column takes the rest; with five columns the fourth is held as well.
        window->showMaximized();
        QTRY_COMPARE(window->state().okno, u"max"_s);
        const int last = columns - 1;
        QCOMPARE(window->model().columnCount(), columns);
        QTRY_VERIFY(header->sectionSize(last) > window->settings().width(last));
        QCOMPARE(header->sectionResizeMode(last), QHeaderView::Stretch);
        for (int k = 0; k < last; ++k)
            QCOMPARE(header->sectionSize(k), 40 + 10 * k);
        QCOMPARE(header->sectionResizeMode(3) == QHeaderView::Fixed, last == 4);
        // While the settings dialog rebuilds the columns, the layout waits.
        window->state().stavtimeru7 = u"OFF"_s;
        window->showNormal();
        settle();
        QCOMPARE(window->state().okno, u"max"_s);
        window->state().stavtimeru7 = u"ON"_s;
        window->layoutColumns();
        QCOMPARE(window->state().okno, u"normal"_s);
        // Back from maximised, the columns have their set widths again.
        QTRY_COMPARE(window->width(), TForm1::kNormalClientWidth);
        QCOMPARE(header->sectionSize(last), window->settings().width(last));
    }

    void overviewListsAndMissingSettings()
    {
        QVERIFY(open(false)->close());
        QVERIFY(QFile::remove(file("nastaveni.ini")));
        QVERIFY(QFile::remove(file("prehled dnu.zrk")));
        auto window = open(false);
        // Every flag reads as set and every colour as black; texts keep their built-in values.
        QVERIFY(window->settings().ikona && window->settings().items[5].underline);
        QCOMPARE(background(*window, u"05.01.2004"_s), QColor(Qt::black));
        QCOMPARE(window->settings().items[3].title + window->state().stavnastaveni, u"Akcenačtené"_s);
        // The missing list file is rebuilt from the rows, and the user is told once.
        QCOMPARE(window->table().dayCounts(), QStringList { "366" });
        QCOMPARE(fixture::described(m_messenger), QStringList { kListsRebuilt });
        // The lists travel through their files.
        window->table().setLists({ "2004", "2005" }, { "366", "365" });
        QVERIFY(window->savenClick());
        window->table().setLists({ "2004" }, { "366" });
        window->loadnClick();
        QCOMPARE(window->table().years(), QStringList({ "2004", "2005" }));
        QCOMPARE(window->settings().doroku + window->settings().pocetdni, u"2005731"_s);
        // A damaged file is rebuilt from the day rows instead.
        QVERIFY(test_files::writeRaw(file("prehled dnu.zrk"), "366\r\nx\r\n"));
        window->loadnClick();
        QCOMPARE(window->table().years(), QStringList { "2004" });
        // A list file that cannot be written is reported once.
        QVERIFY(QFile::remove(file("prehled roku.zrk")));
        QVERIFY(QDir(m_dir->path()).mkdir("prehled roku.zrk"));
        QVERIFY(!window->savenClick());
        QCOMPARE(fixture::described(m_messenger),
            QStringList({ kListsRebuilt, kListsRebuilt, "Error|Chyba|Chyba při vytváření souboru" }));
    }

    void trayStatusBarAndEscapeFollowTheSettings()
    {
        auto window = open(false);
        auto* tray = window->findChild<QSystemTrayIcon*>("TrayIcon1");
        QCOMPARE(tray->toolTip(), u"Zorivka"_s);
        QCOMPARE(tray->contextMenu(), window->findChild<QMenu*>("PopupMenu2"));
        const auto apply = [&](const std::function<void(Settings&)>& change) {
            change(window->settings());
            window->applySettings();
        };
        apply([](Settings& settings) { settings.ikona = true, settings.statusbar = false; });
        // The tray waits for the first frame, then follows at once.
        QVERIFY(!tray->isVisible());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTRY_VERIFY(tray->isVisible());
        QVERIFY(!window->statusBar()->isVisible());
        apply([](Settings& settings) { settings.ikona = false, settings.statusbar = true; });
        QVERIFY(!tray->isVisible() && window->statusBar()->isVisible());
        // The autostart entry's check mark follows the settings both ways.
        auto* entry = window->findChild<QAction*>("spusteni");
        QVERIFY(!window->settings().start && !entry->isChecked());
        entry->trigger();
        QVERIFY(window->settings().start && entry->isChecked());
        apply([](Settings& settings) { settings.start = false; });
        QVERIFY(!entry->isChecked());
        // Escape closes only when the settings allow it.
        window->activateWindow();
        apply([](Settings& settings) { settings.esc = false; });
        QTest::keyClick(window->listView(), Qt::Key_Escape);
        QVERIFY(window->isVisible());
        apply([](Settings& settings) { settings.esc = true; });
        QTest::keyClick(window->listView(), Qt::Key_Escape);
        QVERIFY(!window->isVisible());
        QCOMPARE(QFileInfo(file("data.zrk")).size(), 49410);
    }

    void systemColoursAreReadable()
    {
        const QColor black(Qt::black);
        // The two default scheme colours are drawn readably under black text here.
        for (std::int32_t code : { colour_code::kInactiveCaptionText, colour_code::kInactiveCaption })
            QVERIFY(system_colors::contrast(system_colors::readableBackground(code, black), black) >= 3.0);
        // A scheme colour too close to the text falls back to the classic one; plain colours
        // are drawn as stored, however dark.
        QCOMPARE(QList<QColor>({ system_colors::readableBackground(
                                     colour_code::kInactiveCaptionText, QColor(212, 208, 200)),
                     system_colors::readableBackground(colour_code::rgb(1, 2, 3), black) }),
            QList<QColor>({ system_colors::classicColour(19), QColor(1, 2, 3) }));
        // Loading and saving never changes the stored numbers.
        QVERIFY(open(false)->close());
        QCOMPARE(open(false)->settings().items[1].rowColour, colour_code::kInactiveCaptionText);
    }

    void secondCopyIsRefused()
    {
        // Standard buttons speak Czech.
        QVERIFY(translations::installQtCzech(*QCoreApplication::instance()));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes")
                + QCoreApplication::translate("QPlatformTheme", "&No"),
            u"&Ano&Ne"_s);
        InstanceLock first;
        QVERIFY(first.acquire(m_dir->path()) && !InstanceLock().acquire(m_dir->path()));
        QTemporaryDir other;
        QVERIFY(!InstanceLock::activateRunning(other.path()));
        // A copy that holds the lock but does not answer: the user is told, and nothing else happens.
        QLockFile held(other.filePath(InstanceLock::kFileName));
        QVERIFY(held.tryLock(0));
        QVERIFY(!InstanceLock().acquireOrHandOver(other.path(), m_messenger));
        QCOMPARE(fixture::described(m_messenger),
            QStringList { "Warning|Upozornění|Program Zorivka je již spuštěn." });
        QCOMPARE(QDir(other.path()).entryList(QDir::Files), QStringList { InstanceLock::kFileName });
    }

    void shippedWindowWritesAutostartAndLaunchers()
    {
        // A desktop of the test's own, with the folder the desktop launcher needs.
        QTemporaryDir home;
        const DesktopHome desktop(home.path(), home.filePath("config"), home.filePath("data"));
        QVERIFY(QDir(home.path()).mkdir("Desktop"));
        auto window = open();
        QVERIFY(window);
        window->selectRow(0);
        const auto settingsDialog = [&](const QList<const char*>& buttons) {
            return fixture::onModal<Tnastav>(
                [&](Tnastav& dialog) {
                    QTest::mouseClick(dialog.findChild<QCheckBox*>("start"), Qt::LeftButton);
                    for (const char* button : buttons)
                        QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
                },
                [&] { fixture::clickToolButton(*window, "ToolButton7"); });
        };
        QVERIFY(settingsDialog({ "zplocha", "zstart", "Button53" }));
        QVERIFY(window->settings().start);
        QVERIFY(QFileInfo(home.filePath("config/autostart/zorivka.desktop")).isFile());
        QVERIFY(QFileInfo(home.filePath("Desktop/cz.zorivka.Zorivka.desktop")).isExecutable());
        QVERIFY(QFileInfo(home.filePath("data/applications/cz.zorivka.Zorivka.desktop")).isFile());
        QCOMPARE(fixture::described(m_messenger),
            QStringList({ "NoIcon|Zorivka|Zástupce na ploše byl vytvořen",
                "NoIcon|Zorivka|Zástupce v nabídce start byl vytvořen" }));
        // Unchecked, the next "Ok" removes the log-on entry; launchers stay.
        QVERIFY(settingsDialog({ "Button53" }));
        QVERIFY(!window->settings().start);
        QVERIFY(!QFileInfo::exists(home.filePath("config/autostart/zorivka.desktop")));
        QVERIFY(QFileInfo::exists(home.filePath("data/applications/cz.zorivka.Zorivka.desktop")));
    }

private:
    std::unique_ptr<TForm1> open(bool show = true)
    {
        return fixture::openWindow(m_dir->path(), m_messenger, show);
    }
    QString file(const QString& name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
    RecordingMessenger m_messenger;
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
