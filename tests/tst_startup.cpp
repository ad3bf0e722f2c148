#include "app/day_list_model.h"
#include "app/main_window.h"
#include "app/program.h"
#include "calendar/day_names.h"
#include "calendar/day_table.h"
#include "calendar/generation.h"
#include "recording_messenger.h"
#include "search/case_rules.h"
#include "search/row_lookup.h"
#include "widgets/icons.h"
#include "widgets/row_looks.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>
#include <set>

namespace {

using icons::Picture;

constexpr Picture kToolbarPictures[] = { Picture::NewRecord, Picture::EditRecord, Picture::DeleteRecord,
    Picture::DeleteAll, Picture::GoTo, Picture::Search, Picture::Settings, Picture::About, Picture::Exit };

// The files of kToolbarPictures, in the toolbar's order.
const QStringList kFiles { "new-record", "edit-record", "delete-record", "delete-all", "go-to", "search",
    "settings", "about", "exit" };

// Pictures are compared premultiplied, the form a pixmap holds them in: turning them
// back to straight alpha rounds differently with different vector instructions.
QImage imageOf(const QIcon& icon, int size)
{
    return icon.pixmap(QSize(size, size), 1.0).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage fileImage(const QString& name)
{
    return QImage(QStringLiteral(":/icons/") + name).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

// What the start-up and speed work must keep: the program's own pictures, the tray
// icon right after the first frame, row looks and rebuilt names as before.
class TestStartup final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void everyPictureHasBothSizes();
    void toolbarAndMenusShowTheProgramsPictures();
    void trayIconFollowsTheFirstFrame();
    void rowLooksFollowEveryChange();
    void rebuildNamesEveryDayOfTheRange();
    void dayRowLookupFollowsTheCaseRule();

private:
    std::unique_ptr<TForm1> open();

    QTemporaryDir m_dir;
    RecordingMessenger m_messenger;
};

void TestStartup::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
}

std::unique_ptr<TForm1> TestStartup::open()
{
    auto window = program::assembleMainWindow(m_dir.path(), m_messenger);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return nullptr;
    return window;
}

void TestStartup::everyPictureHasBothSizes()
{
    std::set<qint64> seen;
    for (Picture picture : kToolbarPictures) {
        const QIcon icon = icons::picture(picture);
        QVERIFY(!icon.isNull());
        QCOMPARE(icon.availableSizes(), (QList<QSize> { QSize(16, 16), QSize(24, 24) }));
        // Drawn at each size, not scaled from one: the 16-pixel picture is its own file.
        QCOMPARE(imageOf(icon, 16).size(), QSize(16, 16));
        QVERIFY(imageOf(icon, 16) != imageOf(icon, 24).scaled(16, 16));
        // No two pictures are the same.
        QVERIFY(seen.insert(imageOf(icon, 24).cacheKey()).second);
    }
    // High-density screens get pictures drawn at twice the size.
    for (const QString& name : kFiles) {
        QCOMPARE(fileImage(name + "-16@2x.png").size(), QSize(32, 32));
        QCOMPARE(fileImage(name + "-24@2x.png").size(), QSize(48, 48));
    }
    const QIcon program = icons::program();
    QCOMPARE(program.availableSizes().size(), 5);
    QCOMPARE(program.availableSizes().last(), QSize(64, 64));
}

void TestStartup::toolbarAndMenusShowTheProgramsPictures()
{
    auto window = open();
    QVERIFY(window);
    for (int i = 0; i < kFiles.size(); ++i) {
        auto* button = window->findChild<QToolButton*>(QStringLiteral("ToolButton%1").arg(i + 1));
        QVERIFY(button);
        QCOMPARE(imageOf(button->icon(), 24), fileImage(kFiles[i] + "-24.png"));
    }
    // The record menu and the tray menu use the same pictures at menu size.
    const QList<std::pair<const char*, QString>> entries { { "Novyzaznam1", "new-record" },
        { "Editovatzaznam1", "edit-record" }, { "Smazatzaznam1", "delete-record" },
        { "Smazatvse1", "delete-all" }, { "Prejdina1", "go-to" }, { "Hledat1", "search" },
        { "napoveda", "about" }, { "Konecprogramu1", "exit" } };
    for (const auto& [name, file] : entries) {
        auto* action = window->findChild<QAction*>(QLatin1String(name));
        QVERIFY2(action, name);
        QCOMPARE(imageOf(action->icon(), 16), fileImage(file + "-16.png"));
    }
    QVERIFY(window->findChild<QAction*>("spusteni")->icon().isNull());
    auto* tray = window->findChild<QSystemTrayIcon*>("TrayIcon1");
    QVERIFY(tray);
    QCOMPARE(imageOf(tray->icon(), 16), fileImage("program-16.png"));
    QCOMPARE(imageOf(window->windowIcon(), 32), fileImage("program-32.png"));
}

void TestStartup::trayIconFollowsTheFirstFrame()
{
    const auto windowBuilt = program::assembleMainWindow(m_dir.path(), m_messenger);
    TForm1& window = *windowBuilt;
    auto* tray = window.findChild<QSystemTrayIcon*>("TrayIcon1");
    window.settings().ikona = true;
    window.applySettings();
    // Not before the first frame...
    QVERIFY(!tray->isVisible());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // ...but right after it, and from then on at once.
    QTRY_VERIFY(tray->isVisible());
    window.settings().ikona = false;
    window.applySettings();
    QVERIFY(!tray->isVisible());
}

void TestStartup::rowLooksFollowEveryChange()
{
    DayTable table;
    table.appendRecords(generation::yearRows(2004, 1));
    DayListModel model(table);
    model.appendColumn(QStringLiteral("Den"));
    Settings settings;
    RowLooks looks;
    looks.rebuild(settings, QApplication::font());
    model.setAppearance(looks, holidays::Years({ "2004" }), true);
    const auto background
        = [&](int row) { return model.data(model.index(row, 0), Qt::BackgroundRole).value<QColor>(); };
    const QColor odd = background(3), even = background(2);
    QVERIFY(even != odd);
    // Each change is seen by the very next read of the row read last before it.
    EventRecord withEvent = table.record(2);
    withEvent.setText(EventRecord::Field::Event, QStringLiteral("Koncert"));
    table.setRecord(2, withEvent);
    const QColor event = background(2);
    QVERIFY(event != even && event != odd);
    table.insertRecord(2, EventRecord::blank());
    QVERIFY(background(2) != event);
    QCOMPARE(background(3), event);
    table.removeRecords(2, 1);
    QCOMPARE(background(2), event);
    table.replaceRecords(generation::yearRows(2004, 1));
    QCOMPARE(background(2), even);
    // 01.01. is a holiday only while 2004 is a holiday year.
    const QColor holiday = background(0);
    QVERIFY(holiday != even);
    model.setAppearance(looks, holidays::Years(), true);
    QVERIFY(background(0) != holiday);
}

void TestStartup::rebuildNamesEveryDayOfTheRange()
{
    DayTable table;
    for (int year = generation::kFirstYear; year <= generation::kLastYear; ++year)
        table.appendRecords(generation::yearRows(year, 1));
    // Dates that are not in the usual form, or not dates, take the slow way.
    const QStringList odd { "1.1.2004", "31.02.2004", "ab.cd.efgh", "01.01.0000", "29.02.2100" };
    for (const QString& date : odd) {
        EventRecord row = EventRecord::dayRow(QStringLiteral("xx"), date);
        table.insertRecord(table.rowCount(), row);
    }
    RecordingMessenger messenger;
    for (int format = 0; format < 4; ++format) {
        generation::rebuildWithFormat(table, QString::number(format), messenger);
        for (int row = 0; row < table.rowCount(); ++row) {
            const EventRecord& record = table.record(row);
            const QDate date = QDate::fromString(record.text(EventRecord::Field::Date), "dd.MM.yyyy");
            const QString expected = date.isValid() ? day_names::name(date, format) : QStringLiteral("xx");
            if (record.text(EventRecord::Field::DayName) != expected)
                QFAIL(qPrintable(record.text(EventRecord::Field::Date) + " named "
                    + record.text(EventRecord::Field::DayName) + " in format " + QString::number(format)));
        }
    }
    QVERIFY(messenger.messages().isEmpty());
}

void TestStartup::dayRowLookupFollowsTheCaseRule()
{
    DayTable table;
    const QStringList dates { "01.01.2004", "ab.CD.2004", "Čt.01.2004", "02.01.2004" };
    for (const QString& date : dates)
        table.insertRecord(table.rowCount(), EventRecord::dayRow(QStringLiteral("po"), date));
    // An extra row with the same date text is no day row.
    EventRecord extra = EventRecord::blank();
    extra.setText(EventRecord::Field::Date, QStringLiteral("03.01.2004"));
    table.insertRecord(1, extra);
    table.insertRecord(table.rowCount(), EventRecord::dayRow(QStringLiteral("út"), "03.01.2004"));
    const QStringList keys { "01.01.2004", "AB.cd.2004", "čt.01.2004", "Čt.01.2004", "03.01.2004",
        "02.01.200", "02.01.20045", "01.01.2004\u20ac", "  ", QString::fromUtf8("\u4e00\u4e00.01.2004") };
    for (const QString& key : keys) {
        int expected = -1;
        for (int row = 0; row < table.rowCount() && expected < 0; ++row) {
            const EventRecord& record = table.record(row);
            if (record.isDayRow() && case_rules::equalsAsciiOnly(record.text(EventRecord::Field::Date), key))
                expected = row;
        }
        QCOMPARE(row_lookup::dayRowWithDate(table, key), expected);
    }
    QCOMPARE(row_lookup::dayRowWithDate(table, "ab.cd.2004"), 2);
    QCOMPARE(row_lookup::dayRowWithDate(table, "03.01.2004"), 5);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
