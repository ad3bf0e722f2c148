#include "app/main_window.h"
#include "app/program.h"
#include "calendar/generation.h"
#include "platform/clock.h"
#include "platform/desktop_integration.h"
#include "recording_messenger.h"
#include "records/data_file.h"
#include "settings/settings_dialog.h"
#include "settings/settings_file.h"
#include "test_files.h"

#include <QAccessible>
#include <QApplication>
#include <QScopeGuard>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

using Field = EventRecord::Field;
using Icon = Messenger::Icon;

namespace {

// Records what the dialog asks of the desktop and answers as told.
class RecordingDesktop final : public DesktopIntegration {
public:
    struct Log {
        QList<bool> autostart;
        QList<Place> shortcuts;
        AutostartResult autostartResult = AutostartResult::Done;
        bool shortcutsWork = true;
    };
    explicit RecordingDesktop(Log& log)
        : m_log(log)
    {
    }
    AutostartResult setAutostart(bool enabled) override
    {
        m_log.autostart << enabled;
        return m_log.autostartResult;
    }
    bool autostartEnabled() const override { return !m_log.autostart.isEmpty() && m_log.autostart.last(); }
    bool createShortcut(Place place) override
    {
        m_log.shortcuts << place;
        return m_log.shortcutsWork;
    }

private:
    Log& m_log;
};

// Records every message like the shared recording messenger and lets a test look at
// the program's state at the moment a message is shown.
class WatchingMessenger final : public Messenger {
public:
    void show(Icon icon, const QString& title, const QString& text) override
    {
        if (onShow)
            onShow(text);
        record.show(icon, title, text);
    }
    bool ask(const QString& title, const QString& text) override { return record.ask(title, text); }

    RecordingMessenger record;
    std::function<void(const QString&)> onShow;
};

const QString kOptionNames[5] = { "start", "mrizka", "esc", "ikona", "statusbar" };
bool Settings::*const kOptionFields[5]
    = { &Settings::start, &Settings::mrizka, &Settings::esc, &Settings::ikona, &Settings::statusbar };

QString rowText(const EventRecord& record)
{
    return record.text(Field::DayName) + u' ' + record.text(Field::Date);
}

} // namespace

class SettingsDialogTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void needsASelectedRow();
    void cancelChangesNothing();
    void firstPageShowsTheSettings();
    void stateLabelsAndDefaultButtons();
    void okWithoutChangesInFormatOne();
    void okInAnotherFormatRebuildsKeepingEveryText();
    void formatDefaultPutsRowsInFormatOne();
    void addYearShowsTheNewRange();
    void valuesAreReadWithTheirCaptions_data();
    void valuesAreReadWithTheirCaptions();
    void addedYearsAreAppendedOnOk_data();
    void addedYearsAreAppendedOnOk();
    void staleCountersAddOnlyTheYearsGained();
    void lastYearDisablesAddYear();
    void addedYearsGetHolidays();
    void holidaysFollowAListLoad();
    void okRestoresSelectionAndWindow();
    void autostartFollowsTheOption();
    void failingAutostartIsReportedLast_data();
    void failingAutostartIsReportedLast();
    void shortcutsReportTheirOutcome();
    void failedListWriteKeepsTheNewLists();
    void listsThatCannotBeWrittenKeepTheDialogClosed();
    void newColumnCountReachesTheList();

private:
    void openWindow();
    // Opens the dialog on `row` through the toolbar, runs `act` on it while it is
    // shown and returns once it has closed.
    void runDialog(int row, const std::function<void(Tnastav&)>& act);
    static void click(Tnastav& dialog, const QString& name);
    QString file(const QString& name) const { return QDir(m_dir->path()).filePath(name); }
    QByteArray allFiles() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    WatchingMessenger m_watcher;
    RecordingMessenger& m_messenger = m_watcher.record;
    RecordingDesktop::Log m_desktop;
    std::unique_ptr<TForm1> m_window;
};

void SettingsDialogTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void SettingsDialogTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_messenger.clear();
    m_watcher.onShow = nullptr;
    m_desktop = {};
    clock_source::setNow(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
}

void SettingsDialogTest::cleanup()
{
    m_window.reset();
    clock_source::setNow({});
}

void SettingsDialogTest::openWindow()
{
    m_window = program::assembleMainWindow(m_dir->path(), m_watcher);
    m_window->setDesktopIntegration(std::make_unique<RecordingDesktop>(m_desktop));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void SettingsDialogTest::runDialog(int row, const std::function<void(Tnastav&)>& act)
{
    bool ran = false;
    QTimer::singleShot(0, m_window.get(), [&] {
        auto* dialog = qobject_cast<Tnastav*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        ran = true;
        act(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    if (row >= 0)
        m_window->selectRow(row);
    m_window->findChild<QToolButton*>("ToolButton7")->click();
    QVERIFY(ran);
}

void SettingsDialogTest::click(Tnastav& dialog, const QString& name)
{
    auto* button = dialog.findChild<QAbstractButton*>(name);
    QVERIFY2(button, qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton);
}

QByteArray SettingsDialogTest::allFiles() const
{
    QByteArray all;
    for (const QString name : { "prehled roku.zrk", "prehled dnu.zrk", "nastaveni.ini", "data.zrk" })
        all += name.toUtf8() + ':' + test_files::readRaw(file(name)) + '\n';
    return all;
}

void SettingsDialogTest::needsASelectedRow()
{
    openWindow();
    m_window->listView()->clearSelection();
    m_window->findChild<QToolButton*>("ToolButton7")->click();
    QCOMPARE(m_messenger.messages().size(), 1);
    QCOMPARE(m_messenger.messages()[0].icon, Icon::Warning);
    QCOMPARE(m_messenger.messages()[0].title, QStringLiteral("Upozornění"));
    QCOMPARE(m_messenger.messages()[0].text, QStringLiteral("Musíte mít označený záznam"));
    QVERIFY(m_window->state().pocet.isEmpty());
    QVERIFY(!QFileInfo::exists(file("prehled roku.zrk")));
}

void SettingsDialogTest::cancelChangesNothing()
{
    openWindow();
    const Settings before = m_window->settings();
    const std::vector<EventRecord> rows = m_window->table().records();
    QByteArray files;
    // "Zrušit", Esc and the close box each discard everything.
    for (const auto& leave :
        std::initializer_list<std::function<void(Tnastav&)>> { [](Tnastav& d) { click(d, "Button41"); },
            [](Tnastav& d) { QTest::keyClick(d.findChild<QCheckBox*>("esc"), Qt::Key_Escape); },
            [](Tnastav& d) { QTest::keyClick(d.findChild<QComboBox*>("ComboBox1"), Qt::Key_Escape); },
            [](Tnastav& d) { d.close(); } }) {
        runDialog(10, [&](Tnastav& dialog) {
            files = allFiles();
            QCOMPARE(m_window->state().pocet, QStringList { "10" });
            for (const QString& name : kOptionNames)
                dialog.findChild<QCheckBox*>(name)->toggle();
            dialog.findChild<QComboBox*>("ComboBox1")->setCurrentIndex(0);
            emit dialog.findChild<QComboBox*>("ComboBox1")->activated(0);
            for (int i = 0; i < 3; ++i)
                click(dialog, "Button40");
            leave(dialog);
            QVERIFY(!dialog.isVisible());
        });
        QVERIFY(m_window->settings() == before);
        QVERIFY(m_window->table().records() == rows);
        QCOMPARE(m_window->table().years(), QStringList { "2004" });
        QCOMPARE(allFiles(), files);
        QVERIFY(m_window->state().pocet.isEmpty());
        QVERIFY(m_desktop.autostart.isEmpty());
        QCOMPARE(m_window->statusText(2), QStringLiteral("Do roku: 2004"));
    }
    QVERIFY(m_messenger.messages().isEmpty());
}

void SettingsDialogTest::firstPageShowsTheSettings()
{
    openWindow();
    m_window->settings().mrizka = true;
    m_window->settings().statusbar = false;
    m_window->settings().format = QStringLiteral("2");
    m_window->move(m_window->screen()->availableGeometry().topLeft());
    QVERIFY(m_window->frameGeometry().center() != m_window->screen()->availableGeometry().center());
    runDialog(0, [&](Tnastav& dialog) {
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Nastavení programu"));
        QCOMPARE(dialog.size(), QSize(432, 456));
        // In the middle of the screen, wherever the main window stands.
        const QRect available = dialog.screen()->availableGeometry();
        QCOMPARE(dialog.frameGeometry().center(), available.center());
        auto* pages = dialog.findChild<QTabWidget*>("PageControl1");
        QCOMPARE(pages->count(), 4);
        QCOMPARE(pages->currentIndex(), 0);
        const QStringList captions { "Obecné nastavení", "Nastavení barev", "Možnosti zobrazení",
            "Nastavení sloupců" };
        for (int i = 0; i < 4; ++i)
            QCOMPARE(pages->tabText(i), captions[i]);
        const QList<bool> states { false, true, true, false, false };
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(dialog.findChild<QCheckBox*>(kOptionNames[i])->isChecked(), states[i]);
            QCOMPARE(dialog.findChild<QLabel*>(kOptionNames[i] + "text")->text(),
                states[i] ? QStringLiteral("Aktivováno") : QStringLiteral("Zrušeno"));
        }
        QCOMPARE(dialog.findChild<QComboBox*>("ComboBox1")->currentText(), QStringLiteral("pondělí"));
        QCOMPARE(dialog.findChild<QLabel*>("odroku")->text(), QStringLiteral("2004"));
        QCOMPARE(dialog.findChild<QLabel*>("doroku")->text(), QStringLiteral("2004"));
        QCOMPARE(dialog.findChild<QLabel*>("pocetnroku")->text(), QStringLiteral("1"));
        QCOMPARE(dialog.findChild<QLabel*>("pocetdni")->text(), QStringLiteral("366"));
        QCOMPARE(dialog.findChild<QLabel*>("aktualrok")->text(), QStringLiteral("2026"));
        QVERIFY(dialog.findChild<QPushButton*>("Button40")->isEnabled());
        if (const QString dir = qEnvironmentVariable("ZORIVKA_SCREENSHOTS"); !dir.isEmpty())
            dialog.grab().save(QDir(dir).filePath("settings_general.png"));
    });
}

void SettingsDialogTest::stateLabelsAndDefaultButtons()
{
    openWindow();
    runDialog(0, [&](Tnastav& dialog) {
        // A click on a state label inverts its option and its text, twice back again.
        for (int i = 0; i < 5; ++i) {
            auto* box = dialog.findChild<QCheckBox*>(kOptionNames[i]);
            auto* label = dialog.findChild<QLabel*>(kOptionNames[i] + "text");
            const bool was = box->isChecked();
            QTest::mouseClick(label, Qt::LeftButton);
            QCOMPARE(box->isChecked(), !was);
            QCOMPARE(dialog.working().*kOptionFields[i], !was);
            QCOMPARE(label->text(), was ? QStringLiteral("Zrušeno") : QStringLiteral("Aktivováno"));
            QTest::mouseClick(label, Qt::LeftButton);
            QCOMPARE(box->isChecked(), was);
            QCOMPARE(label->text(), was ? QStringLiteral("Aktivováno") : QStringLiteral("Zrušeno"));
        }
        // Each option's own default: autostart on, status bar off.
        const QList<bool> defaults { true, false, true, false, false };
        for (int i = 0; i < 5; ++i) {
            auto* box = dialog.findChild<QCheckBox*>(kOptionNames[i]);
            box->setChecked(!defaults[i]);
            click(dialog, kOptionNames[i] + "vychozi");
            QCOMPARE(box->isChecked(), defaults[i]);
            QCOMPARE(dialog.findChild<QLabel*>(kOptionNames[i] + "text")->text(),
                defaults[i] ? QStringLiteral("Aktivováno") : QStringLiteral("Zrušeno"));
        }
        QVERIFY(dialog.working().start);
        QVERIFY(!dialog.working().statusbar);
        QVERIFY(dialog.working().esc);
        // The whole dialog's defaults are the program's: autostart off, status bar on.
        dialog.findChild<QCheckBox*>("mrizka")->setChecked(true);
        click(dialog, "vychozinastaveni");
        const QList<bool> builtIn { false, false, true, false, true };
        for (int i = 0; i < 5; ++i)
            QCOMPARE(dialog.findChild<QCheckBox*>(kOptionNames[i])->isChecked(), builtIn[i]);
        QVERIFY(!dialog.working().start && dialog.working().statusbar && !dialog.working().mrizka);
        click(dialog, "Button41");
    });
    QVERIFY(!m_window->settings().start);
}

void SettingsDialogTest::okWithoutChangesInFormatOne()
{
    openWindow();
    const Settings before = m_window->settings();
    QSignalSpy resets(&m_window->table(), &DayTable::resetDone);
    QSignalSpy inserts(&m_window->table(), &DayTable::rowsInserted);
    QFile::remove(file("prehled roku.zrk"));
    runDialog(3, [](Tnastav& dialog) { click(dialog, "Button53"); });
    QCOMPARE(resets.size(), 0);
    QCOMPARE(inserts.size(), 0);
    QVERIFY(m_window->settings() == before);
    QCOMPARE(test_files::readRaw(file("prehled roku.zrk")), QByteArray("2004\r\n"));
    QCOMPARE(test_files::readRaw(file("prehled dnu.zrk")), QByteArray("366\r\n"));
    QVERIFY(!QFileInfo::exists(file("nastaveni.ini")));
    QCOMPARE(m_window->state().stavnastaveni, QStringLiteral("načtené"));
    QCOMPARE(m_window->state().stavtimeru7, QStringLiteral("ON"));
    QVERIFY(m_messenger.messages().isEmpty());
}

void SettingsDialogTest::okInAnotherFormatRebuildsKeepingEveryText()
{
    openWindow();
    DayTable& table = m_window->table();
    generation::rebuildWithFormat(table, "2", m_messenger);
    m_window->settings().format = QStringLiteral("2");
    EventRecord day = table.record(4);
    day.setText(Field::Time, "19:00");
    day.setText(Field::Value1, "Reduta");
    day.setText(Field::Value2, "350 Kč");
    table.setRecord(4, day);
    EventRecord extra = EventRecord::blank();
    extra.setText(Field::Event, "Jazz");
    extra.setText(Field::Value2, "zdarma");
    table.insertRecord(5, extra);
    QCOMPARE(m_window->settings().pocets, QStringLiteral("4"));
    const std::vector<EventRecord> before = table.records();
    QSignalSpy resets(&table, &DayTable::resetDone);
    // Twice: every "Ok" in this format rebuilds, and nothing is lost either time.
    for (int round = 1; round <= 2; ++round) {
        runDialog(3, [](Tnastav& dialog) { click(dialog, "Button53"); });
        QCOMPARE(resets.size(), round);
        QVERIFY(table.records() == before);
    }
    QCOMPARE(table.record(4).text(Field::Value2), QStringLiteral("350 Kč"));
    QCOMPARE(table.record(5).text(Field::Value2), QStringLiteral("zdarma"));
    QCOMPARE(table.record(0).text(Field::DayName), QStringLiteral("čtvrtek"));
}

void SettingsDialogTest::formatDefaultPutsRowsInFormatOne()
{
    openWindow();
    DayTable& table = m_window->table();
    generation::rebuildWithFormat(table, "2", m_messenger);
    m_window->settings().format = QStringLiteral("2");
    runDialog(0, [](Tnastav& dialog) {
        click(dialog, "formatvychozi");
        QCOMPARE(dialog.findChild<QComboBox*>("ComboBox1")->currentText(), QStringLiteral("Po"));
        click(dialog, "Button40");
        click(dialog, "Button53");
    });
    QCOMPARE(m_window->settings().format, QStringLiteral("1"));
    QCOMPARE(table.rowCount(), 731);
    const QStringList names { "Po", "Út", "St", "Čt", "Pá", "So", "Ne" };
    for (int row = 0; row < table.rowCount(); ++row) {
        const QDate date = QDate(2004, 1, 1).addDays(row);
        QCOMPARE(rowText(table.record(row)),
            names[date.dayOfWeek() - 1] + u' ' + date.toString(QStringLiteral("dd.MM.yyyy")));
    }
}

void SettingsDialogTest::addYearShowsTheNewRange()
{
    openWindow();
    runDialog(0, [](Tnastav& dialog) {
        click(dialog, "Button40");
        QCOMPARE(dialog.findChild<QLabel*>("doroku")->text(), QStringLiteral("2005"));
        QCOMPARE(dialog.findChild<QLabel*>("pocetnroku")->text(), QStringLiteral("2"));
        QCOMPARE(dialog.findChild<QLabel*>("pocetdni")->text(), QStringLiteral("731"));
        click(dialog, "Button40");
        click(dialog, "Button40");
        click(dialog, "Button40");
        // 2008 is a leap year: 731 + 365 + 365 + 366.
        QCOMPARE(dialog.findChild<QLabel*>("pocetdni")->text(), QStringLiteral("1827"));
        QCOMPARE(dialog.yearRange().hodnota, QStringLiteral("4"));
        QCOMPARE(dialog.findChild<QLabel*>("odroku")->text(), QStringLiteral("2004"));
    });
}

void SettingsDialogTest::valuesAreReadWithTheirCaptions_data()
{
    QTest::addColumn<int>("presses");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("as opened") << 0
                               << QStringList { "Od roku: 2004", "Do roku: 2004", "Počet nastavených roků: 1",
                                      "Počet dnů: 366", "Aktuální rok: 2026",
                                      "Zavírání programu na ESC: Aktivováno" };
    QTest::newRow("after Přidat rok")
        << 1
        << QStringList { "Od roku: 2004", "Do roku: 2005", "Počet nastavených roků: 2", "Počet dnů: 731",
               "Aktuální rok: 2026", "Zavírání programu na ESC: Aktivováno" };
}

void SettingsDialogTest::valuesAreReadWithTheirCaptions()
{
    QFETCH(int, presses);
    QFETCH(QStringList, names);
    openWindow();
    runDialog(0, [&](Tnastav& dialog) {
        for (int i = 0; i < presses; ++i)
            click(dialog, "Button40");
        QStringList heard;
        QList<QWidget*> values;
        for (const char* name : { "odroku", "doroku", "pocetnroku", "pocetdni", "aktualrok", "esctext" }) {
            values << dialog.findChild<QLabel*>(name);
            heard << QAccessible::queryAccessibleInterface(values.last())->text(QAccessible::Name);
        }
        QCOMPARE(heard, names);
        // A value is no caption's buddy: that would name it by the caption alone.
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            QVERIFY(!values.contains(label->buddy()));
    });
}

void SettingsDialogTest::addedYearsAreAppendedOnOk_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("presses");
    QTest::addColumn<QString>("firstName");
    QTest::newRow("three years, format 1") << "1" << 3 << "So";
    QTest::newRow("two years, format 3") << "3" << 2 << "so";
}

void SettingsDialogTest::addedYearsAreAppendedOnOk()
{
    QFETCH(QString, format);
    QFETCH(int, presses);
    QFETCH(QString, firstName);
    openWindow();
    DayTable& table = m_window->table();
    // An extra row in 2004 does not move the next year's first day.
    table.insertRecord(10, EventRecord::blank());
    runDialog(0, [&](Tnastav& dialog) {
        auto* picker = dialog.findChild<QComboBox*>("ComboBox1");
        picker->setCurrentIndex(format.toInt());
        emit picker->activated(format.toInt());
        for (int i = 0; i < presses; ++i)
            click(dialog, "Button40");
        click(dialog, "Button53");
    });
    QStringList years { "2004" };
    QStringList days { "366" };
    int dayRows = 366;
    for (int year = 2005; year < 2005 + presses; ++year) {
        years << QString::number(year);
        days << QString::number(generation::daysInYear(year));
        dayRows += generation::daysInYear(year);
    }
    QCOMPARE(table.rowCount(), dayRows + 1);
    QCOMPARE(rowText(table.record(367)), firstName + " 01.01.2005");
    // Day rows in calendar order without gaps, after the last existing day row.
    QDate expected(2004, 1, 1);
    for (const EventRecord& record : table.records()) {
        if (!record.isDayRow())
            continue;
        QCOMPARE(record.text(Field::Date), expected.toString(QStringLiteral("dd.MM.yyyy")));
        expected = expected.addDays(1);
    }
    QCOMPARE(expected, QDate(2005 + presses, 1, 1));
    QCOMPARE(test_files::readRaw(file("prehled roku.zrk")), (years.join("\r\n") + "\r\n").toLatin1());
    QCOMPARE(test_files::readRaw(file("prehled dnu.zrk")), (days.join("\r\n") + "\r\n").toLatin1());
    QCOMPARE(table.years(), years);
    QCOMPARE(table.dayCounts(), days);
    const Settings& settings = m_window->settings();
    QCOMPARE(settings.doroku, years.last());
    QCOMPARE(settings.pocetnroku, QString::number(years.size()));
    QCOMPARE(settings.pocetdni, QString::number(dayRows));
    QCOMPARE(settings.h1, QString::number(presses));
    QCOMPARE(settings.h2, QString::number(presses));
    QCOMPARE(m_window->statusText(1), QStringLiteral("Od roku: 2004"));
    QCOMPARE(m_window->statusText(2), "Do roku: " + years.last());
    QCOMPARE(m_window->statusText(3), "Počet roků: " + QString::number(years.size()));
    QVERIFY(m_messenger.messages().isEmpty());
}

void SettingsDialogTest::staleCountersAddOnlyTheYearsGained()
{
    openWindow();
    m_window->settings().h1 = QStringLiteral("40");
    m_window->settings().h2 = QStringLiteral("0");
    runDialog(0, [](Tnastav& dialog) {
        click(dialog, "Button40");
        click(dialog, "Button53");
    });
    QCOMPARE(m_window->table().rowCount(), 731);
    QCOMPARE(m_window->table().years(), QStringList({ "2004", "2005" }));
    QCOMPARE(m_window->settings().h1, QStringLiteral("41"));
    QCOMPARE(m_window->settings().h2, QStringLiteral("41"));
    // The next opening starts from the stored counters and adds nothing by itself.
    runDialog(0, [](Tnastav& dialog) { click(dialog, "Button53"); });
    QCOMPARE(m_window->table().rowCount(), 731);
}

void SettingsDialogTest::lastYearDisablesAddYear()
{
    openWindow();
    QStringList years;
    QStringList days;
    for (int year = 2004; year <= 2098; ++year) {
        years << QString::number(year);
        days << QString::number(generation::daysInYear(year));
    }
    m_window->table().setLists(years, days);
    settings_file::agreeWithLists(m_window->settings(), years, days);
    runDialog(0, [](Tnastav& dialog) {
        auto* add = dialog.findChild<QPushButton*>("Button40");
        click(dialog, "Button40");
        QVERIFY(add->isEnabled());
        click(dialog, "Button40");
        QCOMPARE(dialog.findChild<QLabel*>("doroku")->text(), QStringLiteral("2100"));
        QCOMPARE(dialog.findChild<QLabel*>("pocetnroku")->text(), QStringLiteral("97"));
        QVERIFY(!add->isEnabled());
        // Even pressed another way, the range never passes 2100.
        emit add->clicked();
        QCOMPARE(dialog.yearRange().prepocet1.last(), QStringLiteral("2100"));
        QCOMPARE(dialog.yearRange().prepocet2.last(), QStringLiteral("365"));
        click(dialog, "Button53");
    });
    QCOMPARE(m_window->table().years().last(), QStringLiteral("2100"));
    QCOMPARE(m_window->table().years().size(), 97);
    // Opened at 2100, the button is disabled from the start.
    runDialog(0, [](Tnastav& dialog) {
        QVERIFY(!dialog.findChild<QPushButton*>("Button40")->isEnabled());
        QCOMPARE(dialog.findChild<QLabel*>("doroku")->text(), QStringLiteral("2100"));
    });
}

void SettingsDialogTest::addedYearsGetHolidays()
{
    openWindow();
    runDialog(0, [](Tnastav& dialog) {
        click(dialog, "Button40");
        click(dialog, "Button53");
    });
    int christmas = -1;
    for (int row = 0; row < m_window->table().rowCount(); ++row) {
        if (m_window->table().record(row).text(Field::Date) == u"25.12.2005")
            christmas = row;
    }
    QVERIFY(christmas > 0);
    const auto background = [&](int row) {
        return m_window->model().data(m_window->model().index(row, 0), Qt::BackgroundRole);
    };
    QCOMPARE(background(christmas).value<QColor>(), QColor(255, 249, 117));
    // 23.12.2005 is a plain Friday, 27.12.2005 a plain Tuesday.
    QVERIFY(background(christmas - 2).value<QColor>() != QColor(255, 249, 117));
    QVERIFY(background(christmas + 2).value<QColor>() != QColor(255, 249, 117));
}

void SettingsDialogTest::holidaysFollowAListLoad()
{
    openWindow();
    DayTable& table = m_window->table();
    m_window->state().stavnastaveni = QStringLiteral("načtené");
    generation::appendYearRows(table, { "2004", "2005" }, "1", m_messenger);
    const QModelIndex newYear = m_window->model().index(366, 0);
    QCOMPARE(table.record(366).text(Field::Date), QStringLiteral("01.01.2005"));
    QVERIFY(m_window->model().data(newYear, Qt::BackgroundRole).value<QColor>() != QColor(255, 249, 117));
    // Only the list changes; the window marks the year without being told more.
    table.setLists({ "2004", "2005" }, { "366", "365" });
    QCOMPARE(m_window->model().data(newYear, Qt::BackgroundRole).value<QColor>(), QColor(255, 249, 117));
}

void SettingsDialogTest::okRestoresSelectionAndWindow()
{
    openWindow();
    const int row = 300;
    runDialog(row, [&](Tnastav& dialog) {
        // Meanwhile another row is selected and the list scrolled away.
        m_window->selectRow(2);
        dialog.findChild<QCheckBox*>("mrizka")->setChecked(true);
        dialog.findChild<QCheckBox*>("esc")->setChecked(false);
        QCOMPARE(m_window->state().stavtimeru7, QStringLiteral("ON"));
        click(dialog, "Button53");
    });
    QTableView* list = m_window->listView();
    QCOMPARE(m_window->selectedRow(), row);
    QCOMPARE(list->currentIndex().row(), row);
    QVERIFY(list->viewport()->rect().contains(list->visualRect(m_window->model().index(row, 0))));
    QVERIFY(m_window->state().pocet.isEmpty());
    QCOMPARE(m_window->state().stavtimeru7, QStringLiteral("ON"));
    // The window follows the applied settings at once.
    QVERIFY(m_window->settings().mrizka);
    QVERIFY(list->showGrid());
    QVERIFY(!m_window->settings().esc);
    QCOMPARE(m_window->width(), TForm1::kNormalClientWidth);
}

void SettingsDialogTest::autostartFollowsTheOption()
{
    openWindow();
    runDialog(0, [](Tnastav& dialog) {
        dialog.findChild<QCheckBox*>("start")->setChecked(true);
        click(dialog, "Button53");
    });
    QCOMPARE(m_desktop.autostart, QList<bool> { true });
    QVERIFY(m_window->settings().start);
    runDialog(0, [](Tnastav& dialog) {
        QTest::mouseClick(dialog.findChild<QLabel*>("starttext"), Qt::LeftButton);
        click(dialog, "Button53");
    });
    QCOMPARE(m_desktop.autostart, QList<bool>({ true, false }));
    QVERIFY(!m_window->settings().start);
    // "Zrušit" leaves the entry alone.
    runDialog(0, [](Tnastav& dialog) {
        dialog.findChild<QCheckBox*>("start")->setChecked(true);
        click(dialog, "Button41");
    });
    QCOMPARE(m_desktop.autostart.size(), 2);
    QVERIFY(m_messenger.messages().isEmpty());
}

void SettingsDialogTest::failingAutostartIsReportedLast_data()
{
    QTest::addColumn<DesktopIntegration::AutostartResult>("result");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("message");
    using Result = DesktopIntegration::AutostartResult;
    const QString notOpened = QStringLiteral("Chyba při otevírání klíče registrů.");
    const QString notWritten = QStringLiteral("Chyba při zápisu do registrů.");
    QTest::newRow("register, key not opened") << Result::KeyNotOpened << true << notOpened;
    QTest::newRow("remove, key not opened") << Result::KeyNotOpened << false << notOpened;
    QTest::newRow("register, value not written") << Result::ValueNotWritten << true << notWritten;
    QTest::newRow("remove, value not removed") << Result::ValueNotWritten << false << notWritten;
}

void SettingsDialogTest::failingAutostartIsReportedLast()
{
    QFETCH(DesktopIntegration::AutostartResult, result);
    QFETCH(bool, enabled);
    QFETCH(QString, message);
    openWindow();
    m_desktop.autostartResult = result;
    bool agreed = false;
    m_watcher.onShow = [&](const QString&) {
        DayTable& table = m_window->table();
        agreed = table.rowCount() == 731 && table.years() == QStringList({ "2004", "2005" })
            && test_files::readRaw(file("prehled roku.zrk")) == "2004\r\n2005\r\n"
            && test_files::readRaw(file("prehled dnu.zrk")) == "366\r\n365\r\n"
            && m_window->statusText(2) == u"Do roku: 2005" && m_window->state().pocet.isEmpty();
    };
    runDialog(0, [&](Tnastav& dialog) {
        dialog.findChild<QCheckBox*>("start")->setChecked(enabled);
        click(dialog, "Button40");
        click(dialog, "Button53");
    });
    QCOMPARE(m_desktop.autostart, QList<bool> { enabled });
    QCOMPARE(m_messenger.messages().size(), 1);
    QCOMPARE(m_messenger.messages()[0].icon, Icon::Error);
    QCOMPARE(m_messenger.messages()[0].title, QStringLiteral("Chyba"));
    QCOMPARE(m_messenger.messages()[0].text, message);
    QVERIFY(agreed);
}

void SettingsDialogTest::shortcutsReportTheirOutcome()
{
    openWindow();
    runDialog(0, [&](Tnastav& dialog) {
        click(dialog, "zplocha");
        click(dialog, "zstart");
        click(dialog, "zstart");
        m_desktop.shortcutsWork = false;
        click(dialog, "zplocha");
        click(dialog, "Button41");
    });
    using Place = DesktopIntegration::Place;
    QCOMPARE(m_desktop.shortcuts,
        QList<Place>({ Place::Desktop, Place::StartMenu, Place::StartMenu, Place::Desktop }));
    const auto& messages = m_messenger.messages();
    QCOMPARE(messages.size(), 4);
    QCOMPARE(messages[0].text, QStringLiteral("Zástupce na ploše byl vytvořen"));
    QCOMPARE(messages[1].text, QStringLiteral("Zástupce v nabídce start byl vytvořen"));
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(messages[i].title, QStringLiteral("Zorivka"));
        QCOMPARE(messages[i].icon, Icon::NoIcon);
    }
    QCOMPARE(messages[3].title, QStringLiteral("Zorivka"));
    QCOMPARE(messages[3].icon, Icon::Error);
    QCOMPARE(messages[3].text, QStringLiteral("Zástupce se nepodařilo vytvořit"));
}

void SettingsDialogTest::failedListWriteKeepsTheNewLists()
{
    openWindow();
    runDialog(0, [&](Tnastav& dialog) {
        click(dialog, "Button40");
        // The file cannot be replaced once a directory stands in its place.
        QVERIFY(QFile::remove(file("prehled roku.zrk")));
        QVERIFY(QDir(m_dir->path()).mkdir("prehled roku.zrk"));
        click(dialog, "Button53");
    });
    QCOMPARE(m_messenger.messages().size(), 1);
    QCOMPARE(m_messenger.messages()[0].icon, Icon::Error);
    QCOMPARE(m_messenger.messages()[0].title, QStringLiteral("Chyba"));
    QCOMPARE(m_messenger.messages()[0].text, QStringLiteral("Chyba při vytváření souboru"));
    QCOMPARE(m_window->table().rowCount(), 731);
    QCOMPARE(m_window->table().years(), QStringList({ "2004", "2005" }));
    QCOMPARE(m_window->table().dayCounts(), QStringList({ "366", "365" }));
    QCOMPARE(m_window->settings().doroku, QStringLiteral("2005"));
    QCOMPARE(m_window->settings().pocetdni, QStringLiteral("731"));
    QCOMPARE(m_window->statusText(3), QStringLiteral("Počet roků: 2"));
    QCOMPARE(m_window->state().stavtimeru7, QStringLiteral("ON"));
}

void SettingsDialogTest::listsThatCannotBeWrittenKeepTheDialogClosed()
{
    openWindow();
    QVERIFY(QDir(m_dir->path()).mkdir("prehled dnu.zrk"));
    bool opened = false;
    QTimer::singleShot(0, m_window.get(), [&] {
        if (auto* dialog = qobject_cast<Tnastav*>(QApplication::activeModalWidget())) {
            opened = true;
            dialog->reject();
        }
    });
    m_window->selectRow(5);
    m_window->findChild<QToolButton*>("ToolButton7")->click();
    QVERIFY(!opened);
    QCOMPARE(m_messenger.texts(), QStringList { "Chyba při vytváření souboru" });
    QVERIFY(m_window->state().pocet.isEmpty());
}

void SettingsDialogTest::newColumnCountReachesTheList()
{
    openWindow();
    runDialog(0, [](Tnastav& dialog) {
        QCOMPARE(dialog.pocet1(), QStringLiteral("4"));
        dialog.working().pocets = QStringLiteral("6");
        dialog.working().items[5].title = QStringLiteral("Cena");
        click(dialog, "Button53");
    });
    QCOMPARE(m_window->settings().pocets, QStringLiteral("6"));
    QCOMPARE(m_window->model().columnCount(), 6);
    QCOMPARE(
        m_window->model().headerData(5, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Cena"));
    QCOMPARE(m_window->state().stavtimeru7, QStringLiteral("ON"));
}

QTEST_MAIN(SettingsDialogTest)
#include "tst_settings_dialog.moc"
