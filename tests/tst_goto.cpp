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
#include <QToolButton>

// The go-to strip of the main window, and the main window's column and status-bar layout.
class TestGoTo final : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    RecordingMessenger m_messenger;

    // A first-run window (2004) with today at `today`, shown, with the strip open.
    std::unique_ptr<TForm1> open(const QDate& today = QDate(2026, 12, 6))
    {
        clock_source::setNow(QDateTime(today, QTime(10, 0)));
        auto window = fixture::openWindow(m_dir->path(), m_messenger);
        if (window)
            window->ToolButton5Click();
        return window;
    }
    template <typename T> T* control(TForm1& window, const char* name)
    {
        return window.goToPanel()->findChild<T*>(QString::fromLatin1(name));
    }
    void chooseUnit(TForm1& window, int unit)
    {
        control<QComboBox>(window, "ComboBox1")->setCurrentIndex(unit);
    }
    void click(TForm1& w, const char* name)
    {
        QTest::mouseClick(control<QToolButton>(w, name), Qt::LeftButton);
    }
    QString hint(TForm1& window, const char* name) { return control<QToolButton>(window, name)->toolTip(); }
    int rowOf(TForm1& window, const QString& date) { return table_rows::ofDate(window.table(), date); }
    static QString recordNumber(int row) { return QStringLiteral("Č. záznamu: %1").arg(row + 1); }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { QVERIFY(fixture::freshStart(m_dir, m_messenger)); }
    void cleanup() { clock_source::setNow({}); }

    void stripStepsAndColumns()
    {
        auto window = open();
        QVERIFY(window);
        auto* units = control<QComboBox>(*window, "ComboBox1");
        // No unit at first; with no row selected a choice only sets the hints (and the names) of
        // the step buttons.
        QStringList hints { QString::number(units->currentIndex()) };
        for (int unit = GoToPanel::Days; unit <= GoToPanel::Years; ++unit) {
            chooseUnit(*window, unit);
            hints << units->itemText(unit) + '|' + hint(*window, "tlacitko2") + '|'
                    + control<QToolButton>(*window, "tlacitko3")->accessibleName();
        }
        QCOMPARE(hints << QString::number(units->count()) << hint(*window, "tlacitko1")
                       << hint(*window, "tlacitko4") << hint(*window, "ToolbarButton971"),
            QStringList({ "-1", "Dny|Předchozí den|Další den", "Týdny|Předchozí týden|Další týden",
                "Měsíce|Předchozí měsíc|Další měsíc", "Roky|Předchozí rok|Další rok", "4",
                "Na začátek seznamu", "Na konec seznamu", "Aktuální datum" }));
        // Today lies outside the table: the go-to-today step stays armed and runs again
        // whenever rows change, but sets the field only once.
        DateField* field = window->goToPanel()->dateField();
        QVERIFY(window->selectedRow() == -1 && QApplication::focusWidget() == window->listView()
            && field->date() == QDate(2026, 12, 6));
        field->setDate(QDate(2004, 3, 10));
        window->table().insertRecord(5, fixture::extraRow({}, QStringLiteral("Výstava")));
        // The step runs from the event loop; nothing to wait for but the loop itself.
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
        QVERIFY(window->state().data == u"vytvorena" && field->date() == QDate(2004, 3, 10));

        // The toolbar takes the unit choice back, the record menu leaves it; the list moves up
        // into the strip's place and the field gets today's date back.
        QWidget* strip = window->findChild<QWidget*>("Panel1");
        const auto listTop = [&] { return window->listView()->mapTo(window.get(), QPoint(0, 0)).y(); };
        QVERIFY(window->settings().jdiokno && strip->isVisible());
        const int shownTop = listTop();
        chooseUnit(*window, GoToPanel::Weeks);
        field->setDate(QDate(2004, 1, 1));
        window->findChild<QAction*>("Prejdina1")->trigger();
        QVERIFY(!window->settings().jdiokno && !strip->isVisible() && field->date() == QDate(2026, 12, 6));
        QTRY_VERIFY(listTop() < shownTop);
        window->findChild<QAction*>("Prejdina1")->trigger();
        QCOMPARE(units->currentIndex(), int(GoToPanel::Weeks));
        QTRY_COMPARE(listTop(), shownTop);
        fixture::clickToolButton(*window, "ToolButton5");
        fixture::clickToolButton(*window, "ToolButton5");
        // The unit only: the step buttons keep their hints.
        QVERIFY(strip->isVisible() && units->currentIndex() == -1);
        QCOMPARE(hint(*window, "tlacitko3"), QStringLiteral("Další týden"));

        // Day and week steps count rows: two event rows under row 10 count too.
        window->table().insertRecord(11, fixture::extraRow({}, QStringLiteral("Divadlo")));
        window->table().insertRecord(11, fixture::extraRow({}, QStringLiteral("Kino")));
        window->selectRow(10);
        chooseUnit(*window, GoToPanel::Days);
        QCOMPARE(window->state().d1 + window->state().d2 + window->state().d4, QStringLiteral("10012004"));
        const auto step = [&](const char* button, int row) {
            click(*window, button);
            QCOMPARE(QString::number(window->selectedRow()) + window->statusText(0),
                QString::number(row) + recordNumber(row));
        };
        step("tlacitko3", 11);
        step("tlacitko2", 10);
        // Down to the very first row too.
        window->selectRow(1);
        step("tlacitko2", 0);
        window->selectRow(9);
        chooseUnit(*window, GoToPanel::Weeks);
        step("tlacitko3", rowOf(*window, QStringLiteral("14.01.2004")));
        step("tlacitko2", 9);
        // The first and the last row, in any unit.
        const int last = window->table().rowCount() - 1;
        step("tlacitko4", last);
        step("tlacitko1", 0);
        QCOMPARE(QApplication::focusWidget(), window->listView());
        // Steps beyond the table's edges, from no row (-1), or by months and years from an extra row stay
        // put.
        const std::tuple<int, int, const char*> stay[] = { { GoToPanel::NoUnit, 100, "tlacitko3" },
            { GoToPanel::Days, 0, "tlacitko2" }, { GoToPanel::Days, last, "tlacitko3" },
            { GoToPanel::Weeks, 3, "tlacitko2" }, { GoToPanel::Weeks, last - 6, "tlacitko3" },
            { GoToPanel::Months, 11, "tlacitko2" }, { GoToPanel::Months, 11, "tlacitko3" },
            { GoToPanel::Years, 11, "tlacitko2" }, { GoToPanel::Years, 11, "tlacitko3" },
            { GoToPanel::Days, -1, "tlacitko3" }, { GoToPanel::Weeks, -1, "tlacitko2" },
            { GoToPanel::Months, -1, "tlacitko3" }, { GoToPanel::Years, -1, "tlacitko2" } };
        for (const auto& [unit, row, button] : stay) {
            chooseUnit(*window, unit);
            row < 0 ? window->listView()->selectionModel()->clearSelection() : window->selectRow(row);
            window->setStatusText(0, QString());
            click(*window, button);
            QCOMPARE(QString::number(window->selectedRow()) + window->statusText(0), QString::number(row));
        }
        QVERIFY(m_messenger.messages().isEmpty());

        // Months and years step by the calendar within the year list, and say where the list ends.
        generation::appendYearRows(window->table(), { "2004", "2005" }, "1", m_messenger);
        window->table().setLists({ "2004", "2005" }, { "366", "365" });
        const QString lastMonth = QStringLiteral("Jste na posledním měsíci v roce 2004");
        const QString firstMonth = QStringLiteral("Jste na prvním měsíci v roce 2004");
        const QString start = QStringLiteral("Začátek seznamu roků"),
                      end = QStringLiteral("Konec seznamu roků");
        const int months = GoToPanel::Months, years = GoToPanel::Years;
        // Unit, from, direction, to, message, whether status panel 0 tells the row. With no 31st
        // in the target month, or no 29.02. in the next year, no row holds the date.
        const std::tuple<int, const char*, int, const char*, QString, bool> steps[]
            = { { months, "15.11.2004", 1, "15.12.2004", lastMonth, true },
                  { months, "15.12.2004", 1, "15.12.2004", lastMonth, true },
                  { months, "29.02.2004", -1, "29.01.2004", firstMonth, true },
                  { months, "03.01.2004", -1, "03.01.2004", firstMonth, true },
                  { months, "31.03.2004", 1, "31.03.2004", QString(), false },
                  { years, "10.03.2004", -1, "10.03.2004", start, true },
                  { years, "10.03.2005", -1, "10.03.2004", start, true },
                  { years, "10.03.2004", 1, "10.03.2005", end, true },
                  { years, "10.03.2005", 1, "10.03.2005", end, false },
                  { years, "29.02.2004", 1, "29.02.2004", end, false } };
        QStringList outcomes, expected;
        for (const auto& [unit, from, direction, to, message, jumps] : steps) {
            m_messenger.clear();
            chooseUnit(*window, unit);
            window->selectRow(rowOf(*window, QString::fromLatin1(from)));
            window->setStatusText(0, QString());
            click(*window, direction > 0 ? "tlacitko3" : "tlacitko2");
            const int target = rowOf(*window, QString::fromLatin1(to));
            outcomes << QString::number(window->selectedRow()) + fixture::described(m_messenger).join(u'/')
                    + window->statusText(0);
            expected << QString::number(target)
                    + (message.isEmpty() ? QString() : "Information|Informace|" + message)
                    + (jumps ? recordNumber(target) : QString());
        }
        QCOMPARE(outcomes, expected);

        // In the normal window a dragged column snaps back to its set width, except while the
        // settings dialog rebuilds the columns.
        QHeaderView* header = window->listView()->horizontalHeader();
        header->resizeSection(3, window->settings().width(3) + 80);
        QCOMPARE(header->sectionSize(3), window->settings().width(3));
        window->state().stavtimeru7 = QStringLiteral("OFF");
        header->resizeSection(3, 50);
        QCOMPARE(header->sectionSize(3), 50);
        window->state().stavtimeru7 = QStringLiteral("ON");
        window->layoutColumns();
        QCOMPARE(header->sectionSize(3), window->settings().width(3));
    }

    void fieldJumpsOnceArmedToTheDayRow()
    {
        auto window = open(QDate(2004, 8, 8));
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
        QVERIFY(field->date() == QDate(2004, 8, 8) && window->selectedRow() == 5);
        // Opening the calendar arms it.
        field->openCalendar();
        field->calendarPopup()->close();
        field->setDate(QDate(2004, 4, 20));
        QCOMPARE(QString::number(window->selectedRow()) + window->statusText(0),
            QString::number(day) + recordNumber(day));
        QCOMPARE(QApplication::focusWidget(), window->listView());
        click(*window, "ToolbarButton971");
        QCOMPARE(window->selectedRow(), today + 3);
        // The very first day too.
        field->setDate(QDate(2004, 1, 1));
        QCOMPARE(window->selectedRow(), 0);
        // Rows that merely name the date, before or after its day, are no targets.
        const int later = rowOf(*window, QStringLiteral("01.05.2004"));
        window->table().insertRecord(
            later + 1, fixture::extraRow({}, QStringLiteral("Odloženo z 20.04.2004")));
        window->table().insertRecord(3, fixture::extraRow({}, QStringLiteral("Přesunuto na 20.04.2004")));
        field->setDate(QDate(2004, 4, 20));
        QCOMPARE(window->selectedRow(), day + 1);
        // A date outside the table.
        field->setDate(QDate(2010, 4, 20));
        QCOMPARE(window->selectedRow(), day + 1);
        QCOMPARE(fixture::described(m_messenger),
            QStringList { "Information|Informace|Hledaný datum nebyl nalezen" });
    }

    void beforeTheWindowIsUpTheFieldIsEmpty()
    {
        // A strip made before the window is up has no date until the go-to-today step first runs.
        clock_source::setNow(QDateTime(QDate(2004, 7, 1), QTime(9, 0)));
        auto window = fixture::openWindow(m_dir->path(), m_messenger, false);
        DateField* field = window->goToPanel()->dateField();
        QVERIFY(field->isEmpty());
        // Entering the empty field warns, once per entry: the focus coming back when the
        // message box closes is no new entry.
        QFocusEvent tab(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(field->lineEdit(), &tab);
        QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(field->lineEdit(), &back);
        field->setDate(QDate(2004, 3, 3));
        QCOMPARE(fixture::described(m_messenger),
            QStringList(2, "Information|Informace|Zvolený datum nebyl nalezen"));
        // Once the step has run, nothing of the kind.
        window->show();
        QTRY_COMPARE(field->date(), QDate(2004, 7, 1));
        QCoreApplication::sendEvent(field->lineEdit(), &tab);
        QTest::mouseClick(field->lineEdit(), Qt::LeftButton);
        field->setDate(QDate(2004, 3, 4));
        QCOMPARE(fixture::described(m_messenger).size(), 2);
    }
};

QTEST_MAIN(TestGoTo)
#include "tst_goto.moc"
