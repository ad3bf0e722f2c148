#include "app/day_list_model.h"
#include "app/main_window.h"
#include "calendar/generation.h"
#include "desktop_home.h"
#include "platform/clock.h"
#include "platform/instance_lock.h"
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
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTableView>
#include <QToolButton>

using namespace Qt::StringLiterals;
using test_files::readRaw;

namespace {

const QString kNeedsSelection = u"Warning|Upozornění|Musíte mít označený záznam"_s;
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

void setEvent(TForm1& window, int row, const QString& text)
{
    EventRecord record = window.table().record(row);
    record.setText(EventRecord::Field::Event, text);
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
    void init() { QVERIFY(fixture::freshStart(m_dir, m_messenger)); }
    void cleanup() { clock_source::setNow({}); }

    void firstRunThenNormalRun()
    {
        auto window = open();
        QVERIFY(window);
        const MainState& first = window->state();
        QCOMPARE(headers(*window) + window->table().years() + window->table().dayCounts()
                + QStringList({ window->statusText(0), window->statusText(1), window->statusText(2),
                    window->statusText(3), first.stavnastaveni, first.nastaveni, first.data }),
            QStringList({ "Den", "Datum", "Hod.", "Akce", "2004", "366", "Č. záznamu: ", "Od roku: 2004",
                "Do roku: 2004", "Počet roků: 1", "výchozí", "ok", "vytvorena" }));
        // Today is not in 2004: nothing is selected and the step stays armed.
        QVERIFY(window->selectedRow() == -1 && !window->findChild<QWidget*>("Panel1")->isVisible());
        Settings& chosen = window->settings();
        chosen.jdiokno = chosen.mrizka = chosen.ikona = true;
        chosen.statusbar = false;
        chosen.items[3].title = u"Událost"_s;
        QVERIFY(window->close() && m_messenger.messages().isEmpty());
        QCOMPARE(QFileInfo(file("data.zrk")).size(), 49410);
        QCOMPARE(readRaw(file("prehled roku.zrk")) + readRaw(file("prehled dnu.zrk")),
            QByteArray("2004\r\n366\r\n"));
        // A normal run loads the files and shows what the settings say; the tray waits for the first frame.
        window = open(false);
        auto* tray = window->findChild<QSystemTrayIcon*>("TrayIcon1");
        QVERIFY(tray->contextMenu() == window->findChild<QMenu*>("PopupMenu2") && !tray->isVisible());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTRY_VERIFY(tray->isVisible());
        QCOMPARE(QStringList({ window->state().stavnastaveni, window->state().stavnacteni,
                     headers(*window).value(3) }),
            QStringList({ "načtené", "ano", "Událost" }));
        QVERIFY(window->table().rowCount() == 366 && window->listView()->showGrid());
        QVERIFY(window->findChild<QWidget*>("Panel1")->isVisible() && !window->statusBar()->isVisible());
        Settings& set = window->settings();
        set.ikona = false, set.statusbar = true;
        window->applySettings();
        QVERIFY(!tray->isVisible() && window->statusBar()->isVisible());
        // The autostart entry's check mark follows the settings both ways.
        auto* entry = window->findChild<QAction*>("spusteni");
        entry->trigger();
        QVERIFY(window->settings().start && entry->isChecked());
        set.start = set.esc = false;
        window->applySettings();
        QVERIFY(!entry->isChecked());
        // Escape closes only when the settings allow it.
        window->activateWindow();
        QTest::keyClick(window->listView(), Qt::Key_Escape);
        QVERIFY(window->isVisible());
        set.esc = true;
        window->applySettings();
        QTest::keyClick(window->listView(), Qt::Key_Escape);
        QVERIFY(!window->isVisible());
    }

    void rowColoursModelAndOverviewLists()
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
        // Scheme colours read well under black text, or fall back to the classic ones when too
        // close to the text; plain colours are drawn as stored, however dark.
        using system_colors::contrast, system_colors::readableBackground;
        QVERIFY(contrast(colours[2], Qt::black) >= 3.0 && contrast(colours[4], Qt::black) >= 3.0);
        QCOMPARE(QList<QColor>({ readableBackground(colour_code::kInactiveCaptionText, QColor(212, 208, 200)),
                     readableBackground(colour_code::rgb(1, 2, 3), Qt::black) }),
            QList<QColor>({ system_colors::classicColour(19), QColor(1, 2, 3) }));
        // An event on a holiday: the event's colours, the holiday's face.
        window->settings().items[4].font = u"Holiday Face"_s;
        window->applySettings();
        const int christmas = table_rows::ofDate(window->table(), u"25.12.2004"_s);
        setEvent(*window, christmas, u"Koncert"_s);
        QCOMPARE(background(*window, u"25.12.2004"_s).name()
                + roleOf(*window, christmas, Qt::FontRole, 2).value<QFont>().family(),
            u"#ecac6cHoliday Face"_s);

        // The model tells the view exactly what changed: a single edit its whole row, new
        // settings every row and column, a new title only its own header section.
        DayListModel& model = window->model();
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy data(&model, &QAbstractItemModel::dataChanged);
        const auto lastRange = [&] {
            const auto from = data.last()[0].value<QModelIndex>(), to = data.last()[1].value<QModelIndex>();
            return QList<int> { int(data.count()), from.row(), from.column(), to.row(), to.column() };
        };
        setEvent(*window, 9, u"Koncert"_s);
        QCOMPARE(lastRange(), QList<int>({ 1, 9, 0, 9, 3 }));
        window->settings().pocets = u"6"_s;
        window->buildListColumns();
        window->settings().items[4].title = u"Vstupné"_s;
        window->applySettings();
        QCOMPARE(lastRange().mid(1), QList<int>({ 0, 0, 365, 5 }));
        QSignalSpy headerSpy(&model, &QAbstractItemModel::headerDataChanged);
        window->settings().items[1].title = u"Kdy"_s;
        window->applySettings();
        QCOMPARE(headerSpy, QList<QList<QVariant>>({ { QVariant::fromValue(Qt::Horizontal), 1, 1 } }));
        QCOMPARE(headers(*window), QStringList({ "Den", "Kdy", "Hod.", "Akce", "Vstupné", "2" }));
        generation::rebuildWithFormat(window->table(), "3", m_messenger);
        // The view reads all roles at once; they agree with reading them one by one.
        QModelRoleData roles[] = { QModelRoleData(Qt::BackgroundRole), QModelRoleData(Qt::FontRole) };
        model.multiData(model.index(0, 1), roles);
        QCOMPARE(QVariantList({ roleOf(*window, 0, Qt::DisplayRole), roles[0].data(), roles[1].data() }),
            QVariantList(
                { u"čt"_s, roleOf(*window, 0, Qt::BackgroundRole, 1), roleOf(*window, 0, Qt::FontRole, 1) }));

        // A first run whose table reaches into 2005 still marks holidays of 2004 only...
        generation::appendYearRows(window->table(), { "2004", "2005" }, "1", m_messenger);
        window->table().setLists({ "2004", "2005" }, { "366", "365" });
        QVERIFY(background(*window, u"25.12.2005"_s) != kHolidayYellow);
        QVERIFY(window->close());
        // ...a normal start whose year list holds 2005 marks 2005's too; colour numbers come back unchanged.
        window = open(false);
        QCOMPARE(
            QList<QColor>({ background(*window, u"17.11.2005"_s), background(*window, u"11.04.2005"_s) }),
            QList<QColor>(2, kHolidayYellow));
        QCOMPARE(QStringList({ window->statusText(2), window->statusText(3) }),
            QStringList({ "Do roku: 2005", "Počet roků: 2" }));
        QCOMPARE(window->settings().items[1].rowColour, colour_code::kInactiveCaptionText);
        QVERIFY(m_messenger.messages().isEmpty());
    }

    void goToTodaySelectsTodaysRow_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("row");
        QTest::newRow("first row") << QDate(2004, 1, 1) << 0;
        QTest::newRow("middle") << QDate(2004, 6, 15) << 166;
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
        // The step stays armed until the range grows to hold today.
        if (today.year() == 2005)
            generation::appendYearRows(window->table(), { "2004", "2005" }, "1", m_messenger);
        QTRY_COMPARE(window->state().data, u"data"_s);
        QTableView* list = window->listView();
        QCOMPARE(QList<int>({ window->selectedRow(), list->currentIndex().row() }), QList<int>({ row, row }));
        QCOMPARE(window->statusText(0), u"Č. záznamu: %1"_s.arg(row + 1));
        QVERIFY(window->state().DateEdit1 == today && QApplication::focusWidget() == list);
        // Today's row stands at the top with the days after it below, unless the list ends first.
        QVERIFY(list->rowAt(0) == row
            || list->rowAt(list->viewport()->height() - 1) == window->table().rowCount() - 1);
        // Once found, the step stays quiet: a later change selects nothing anew.
        window->selectRow(3);
        window->table().insertRecord(10, EventRecord::blank());
        settle();
        QCOMPARE(window->selectedRow(), 3);
    }

    void toolbarMenusAndClicksReachTheCommands()
    {
        auto window = open();
        QStringList texts;
        for (int i = 1; i <= 9; ++i) {
            auto* button = window->findChild<QToolButton*>(u"ToolButton%1"_s.arg(i));
            texts << button->toolTip() + (button->accessibleName() == button->toolTip() ? "" : "!");
        }
        for (const char* name : { "PopupMenu1", "PopupMenu2" })
            for (QAction* action : window->findChild<QMenu*>(name)->actions())
                texts << (action->isSeparator() ? u"-"_s : action->text());
        QCOMPARE(texts,
            QStringList({ "Nový záznam", "Editovat záznam", "Smazat záznam", "Smazat vše", "Jdi na...",
                "Hledat...", "Nastavení programu", "Nápověda o programu", "Konec programu", "Nový záznam",
                "Editovat záznam", "Smazat záznam", "-", "Smazat vše", "-", "Jdi na...", "Hledat...", "-",
                "Exportovat...", "Importovat...", "Tisk...", "Uložit jako PDF...", "Publikovat...",
                "Nápověda o programu",
                "Automatické spuštění", "-", "Konec programu" }));
        QVERIFY(!window->listView()->accessibleName().isEmpty());
        // Without a selection each command that needs a row says so.
        for (const char* button :
            { "ToolButton1", "ToolButton2", "ToolButton3", "ToolButton6", "ToolButton7" })
            fixture::clickToolButton(*window, button);
        window->findChild<QAction*>("Novyzaznam1")->trigger();
        QCOMPARE(fixture::described(m_messenger), QStringList(6, kNeedsSelection));
        // With a row selected, the settings button writes the lists and opens its dialog
        // with the row handed over.
        m_messenger.clear();
        window->selectRow(0);
        QStringList handed;
        QVERIFY(fixture::onModal<Tnastav>([&](Tnastav&) { handed = window->state().pocet; },
            [&] { fixture::clickToolButton(*window, "ToolButton7"); }));
        QVERIFY(handed == QStringList { "0" } && window->state().pocet.isEmpty());
        // Clicks on the last row do nothing.
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
        // (That a double click elsewhere opens the editor is the events suite's.)
        QVERIFY(!fixture::onModal<QDialog>([](QDialog&) {}, [&] { click(365, true); }));
        settle();
    }

    void normalAndMaximisedColumns_data()
    {
        QTest::addColumn<int>("columns");
        for (int columns : { 4, 5, 6 })
            QTest::addRow("%d", columns) << columns;
    }

    void normalAndMaximisedColumns()
    {
        QFETCH(int, columns);
        auto window = open();
        QHeaderView* header = window->listView()->horizontalHeader();
        // The first three columns are locked; the fourth may be dragged.
        for (int k = 0; k < 4; ++k)
            QCOMPARE(header->sectionResizeMode(k), k < 3 ? QHeaderView::Fixed : QHeaderView::Interactive);
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
        QTRY_VERIFY(header->sectionSize(last) > window->settings().width(last));
        for (int k = 0; k < last; ++k)
            QCOMPARE(header->sectionSize(k), 40 + 10 * k);
        QVERIFY(header->sectionResizeMode(last) == QHeaderView::Stretch
            && (header->sectionResizeMode(3) == QHeaderView::Fixed) == (last == 4));
        // While the settings dialog rebuilds the columns, the layout waits.
        window->state().stavtimeru7 = u"OFF"_s;
        window->showNormal();
        settle();
        QCOMPARE(window->state().okno, u"max"_s);
        window->state().stavtimeru7 = u"ON"_s;
        window->layoutColumns();
        QCOMPARE(window->state().okno, u"normal"_s);
        // Back from maximised the window snaps to its width, the columns to their set widths.
        QTRY_COMPARE(window->width(), TForm1::kNormalClientWidth);
        QCOMPARE(header->sectionSize(last), window->settings().width(last));
    }

    void shippedWindowWritesLaunchersAndStaysAlone()
    {
        // A desktop of the test's own, with the folder the desktop launcher needs.
        QTemporaryDir home;
        const DesktopHome desktop(home.path(), home.filePath("config"), home.filePath("data"));
        QVERIFY(QDir(home.path()).mkdir("Desktop"));
        auto window = open();
        QVERIFY(window);
        window->selectRow(0);
        // (Removing the log-on entry again is the desktop suite's.)
        QVERIFY(fixture::onModal<Tnastav>(
            [](Tnastav& dialog) {
                QTest::mouseClick(dialog.findChild<QCheckBox*>("start"), Qt::LeftButton);
                for (const char* button : { "zplocha", "zstart", "Button53" })
                    QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
            },
            [&] { fixture::clickToolButton(*window, "ToolButton7"); }));
        QVERIFY(window->settings().start
            && QFileInfo(home.filePath("config/autostart/zorivka.desktop")).isFile());
        QVERIFY(QFileInfo(home.filePath("Desktop/cz.zorivka.Zorivka.desktop")).isExecutable());
        QVERIFY(QFileInfo(home.filePath("data/applications/cz.zorivka.Zorivka.desktop")).isFile());
        // A second copy is refused; one that holds the lock without answering gets the user told
        // (standard buttons in Czech), and nothing else happens.
        QVERIFY(translations::installQtCzech(*QCoreApplication::instance()));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes")
                + QCoreApplication::translate("QPlatformTheme", "&No"),
            u"&Ano&Ne"_s);
        InstanceLock first;
        QVERIFY(first.acquire(m_dir->path()) && !InstanceLock().acquire(m_dir->path()));
        QLockFile held(home.filePath(InstanceLock::kFileName));
        QVERIFY(held.tryLock(0) && !InstanceLock().acquireOrHandOver(home.path(), m_messenger));
        QCOMPARE(QDir(home.path()).entryList(QDir::Files), QStringList { InstanceLock::kFileName });
        QCOMPARE(fixture::described(m_messenger),
            QStringList({ "NoIcon|Zorivka|Zástupce na ploše byl vytvořen",
                "NoIcon|Zorivka|Zástupce v nabídce start byl vytvořen",
                "Warning|Upozornění|Program Zorivka je již spuštěn." }));
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
