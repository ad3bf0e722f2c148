#include "app/day_list_model.h"
#include "app/main_window.h"
#include "calendar/day_names.h"
#include "calendar/generation.h"
#include "recording_messenger.h"
#include "search/row_lookup.h"
#include "widgets/icons.h"
#include "widgets/row_looks.h"
#include "window_fixture.h"

#include <QAction>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace Qt::StringLiterals;
using Field = EventRecord::Field;

namespace {

// The toolbar's pictures in its order (the order of icons::Picture): each picture's files
// and the menu entry showing it.
const std::pair<const char*, const char*> kEntries[] = { { "new-record", "Novyzaznam1" },
    { "edit-record", "Editovatzaznam1" }, { "delete-record", "Smazatzaznam1" },
    { "delete-all", "Smazatvse1" }, { "go-to", "Prejdina1" }, { "search", "Hledat1" }, { "settings", "" },
    { "about", "napoveda" }, { "exit", "Konecprogramu1" } };

// Pictures are compared premultiplied, the form a pixmap holds them in: turning them
// back to straight alpha rounds differently with different vector instructions.
QImage imageOf(const QIcon& icon, int size)
{
    return icon.pixmap(QSize(size, size), 1.0).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage fileImage(const QString& name)
{
    return QImage(u":/icons/"_s + name).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

// What the start-up and speed work must keep: the program's own pictures, row looks
// and rebuilt names as before.
class TestStartup final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    RecordingMessenger m_messenger;
    std::unique_ptr<TForm1> m_window;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        m_window = fixture::openWindow(m_dir.path(), m_messenger);
        QVERIFY(m_window);
    }

    void picturesAreTheProgramsOwn()
    {
        for (int i = 0; i < int(std::size(kEntries)); ++i) {
            const auto [file, action] = kEntries[i];
            const QIcon icon = icons::picture(icons::Picture(i));
            // Drawn at each size, not scaled from one: the 16-pixel picture is its own file.
            QCOMPARE(imageOf(icon, 16), fileImage(file + u"-16.png"_s));
            // The toolbar shows it, and the menus at menu size.
            auto* button = m_window->findChild<QToolButton*>(u"ToolButton%1"_s.arg(i + 1));
            QCOMPARE(imageOf(button->icon(), 24), fileImage(file + u"-24.png"_s));
            if (*action)
                QCOMPARE(imageOf(m_window->findChild<QAction*>(action)->icon(), 16),
                    fileImage(file + u"-16.png"_s));
        }
        auto* tray = m_window->findChild<QSystemTrayIcon*>("TrayIcon1");
        QCOMPARE(imageOf(tray->icon(), 16), fileImage("program-16.png"));
        QCOMPARE(imageOf(m_window->windowIcon(), 32), fileImage("program-32.png"));
    }

    void rowLooksFollowEveryChange()
    {
        DayTable table;
        table.appendRecords(generation::yearRows(2004, 1));
        DayListModel model(table);
        model.setColumns({ u"Den"_s });
        RowLooks looks;
        looks.rebuild(Settings(), QApplication::font());
        model.setAppearance(looks, holidays::Years({ "2004" }), true);
        const auto background
            = [&](int row) { return model.data(model.index(row, 0), Qt::BackgroundRole).value<QColor>(); };
        const QColor odd = background(3), even = background(2), holiday = background(0);
        QVERIFY(even != odd && holiday != even);
        // Each change is seen by the very next read of the row read last before it.
        EventRecord withEvent = table.record(2);
        withEvent.setText(Field::Event, u"Koncert"_s);
        table.setRecord(2, withEvent);
        const QColor event = background(2);
        QVERIFY(event != even && event != odd);
        table.insertRecord(2, EventRecord::blank());
        QVERIFY(background(2) != event);
        const QColor moved = background(3);
        table.removeRecords(2, 1);
        const QColor removed = background(2);
        table.replaceRecords(generation::yearRows(2004, 1));
        QCOMPARE(QList<QColor>({ moved, removed, background(2) }), QList<QColor>({ event, event, even }));
        // 01.01. is a holiday only while 2004 is a holiday year.
        model.setAppearance(looks, holidays::Years(), true);
        QVERIFY(background(0) != holiday);
    }

    void rebuildNamesEveryDayOfTheRange()
    {
        DayTable table;
        for (int year = generation::kFirstYear; year <= generation::kLastYear; ++year)
            table.appendRecords(generation::yearRows(year, 1));
        // Dates that are not in the usual form, or not dates, take the slow way.
        for (const QString& date : { u"1.1.2004"_s, u"31.02.2004"_s, u"ab.cd.efgh"_s, u"29.02.2100"_s })
            table.insertRecord(table.rowCount(), EventRecord::dayRow(u"xx"_s, date));
        for (int format = 0; format < 4; ++format) {
            generation::rebuildWithFormat(table, QString::number(format), m_messenger);
            for (int row = 0; row < table.rowCount(); ++row) {
                const QString date = table.record(row).text(Field::Date);
                const QDate day = QDate::fromString(date, u"dd.MM.yyyy"_s);
                const QString name = table.record(row).text(Field::DayName);
                if (name != (day.isValid() ? day_names::name(day, format) : u"xx"_s))
                    QFAIL(qPrintable(date + " named " + name + " in format " + QString::number(format)));
            }
        }
        QVERIFY(m_messenger.messages().isEmpty());
    }

    void dayRowLookupFollowsTheCaseRule()
    {
        DayTable table;
        for (const QString& date : { u"01.01.2004"_s, u"ab.CD.2004"_s, u"Čt.01.2004"_s, u"02.01.2004"_s })
            table.insertRecord(table.rowCount(), EventRecord::dayRow(u"po"_s, date));
        // An extra row with the same date text is no day row.
        table.insertRecord(1, EventRecord::dayRow(u""_s, u"03.01.2004"_s));
        table.insertRecord(table.rowCount(), EventRecord::dayRow(u"út"_s, u"03.01.2004"_s));
        // Only ASCII letters match in either case; lengths must agree.
        const QList<std::pair<QString, int>> keys { { "01.01.2004", 0 }, { "AB.cd.2004", 2 },
            { "čt.01.2004", -1 }, { "Čt.01.2004", 3 }, { "03.01.2004", 5 }, { "02.01.200", -1 },
            { "02.01.20045", -1 }, { "01.01.2004\u20ac", -1 }, { "\u4e00\u4e00.01.2004", -1 } };
        for (const auto& [key, row] : keys)
            QCOMPARE(row_lookup::dayRowWithDate(table, key), row);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
