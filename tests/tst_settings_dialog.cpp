#include "app/main_window.h"
#include "calendar/generation.h"
#include "platform/clock.h"
#include "platform/desktop_integration.h"
#include "recording_messenger.h"
#include "settings/settings_dialog.h"
#include "settings/settings_file.h"
#include "table_rows.h"
#include "test_files.h"
#include "window_fixture.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using Field = EventRecord::Field;
using Result = DesktopIntegration::AutostartResult;
using Place = DesktopIntegration::Place;
using fixture::child;
using fixture::click;

namespace {

// Records what the dialog asks of the desktop and answers as told.
class RecordingDesktop final : public DesktopIntegration {
public:
    Result setAutostart(bool enabled) override { return autostart << enabled, autostartResult; }
    bool autostartEnabled() const override { return !autostart.isEmpty() && autostart.last(); }
    bool createShortcut(Place place) override { return shortcuts << place, shortcutsWork; }

    QList<bool> autostart;
    QList<Place> shortcuts;
    Result autostartResult = Result::Done;
    bool shortcutsWork = true;
};

// The recording messenger that also lets a test look at the program at the moment a message is shown.
class WatchingMessenger final : public Messenger {
public:
    void show(Icon icon, const QString& title, const QString& text) override
    {
        if (onShow)
            onShow();
        record.show(icon, title, text);
    }
    bool ask(const QString& title, const QString& text) override { return record.ask(title, text); }

    RecordingMessenger record;
    std::function<void()> onShow;
};

const QString kOptionNames[5] = { u"start"_s, u"mrizka"_s, u"esc"_s, u"ikona"_s, u"statusbar"_s };
bool Settings::*const kOptionFields[5]
    = { &Settings::start, &Settings::mrizka, &Settings::esc, &Settings::ikona, &Settings::statusbar };

// The options as their boxes show them ("1" ticked), "?" where the label or the working copy disagrees.
QString optionStates(Tnastav& dialog)
{
    QString states;
    for (int i = 0; i < 5; ++i) {
        const bool on = child<QCheckBox>(&dialog, kOptionNames[i])->isChecked();
        const bool agree = dialog.working().*kOptionFields[i] == on
            && child<QLabel>(&dialog, kOptionNames[i] + u"text"_s)->text()
                == (on ? u"Aktivováno" : u"Zrušeno");
        states += agree ? QChar(on ? u'1' : u'0') : QChar(u'?');
    }
    return states;
}

} // namespace

class SettingsDialogTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();

    void refusedOrCancelledChangesNothing();
    void firstPageShowsTheSettings();
    void okWithoutChanges();
    void addedYearsAreAppendedOnOk();
    void lastYearDisablesAddYear();
    void okBringsEverythingInStep_data();
    void okBringsEverythingInStep();

private:
    void openWindow();
    // Opens the dialog on `row` through the toolbar and runs `act` on it; "Zrušit" unless `act` closed it.
    bool runDialog(int row, const std::function<void(Tnastav&)>& act);
    QString file(const QString& name) const { return m_dir->filePath(name); }
    QByteArray allFiles() const;
    QStringList shown() const { return fixture::described(m_messenger); }

    std::unique_ptr<QTemporaryDir> m_dir;
    WatchingMessenger m_watcher;
    RecordingMessenger& m_messenger = m_watcher.record;
    RecordingDesktop* m_desktop = nullptr; // owned by the window
    std::unique_ptr<TForm1> m_window;
};

void SettingsDialogTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_messenger.clear();
    m_watcher.onShow = nullptr;
    clock_source::setNow(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
}

void SettingsDialogTest::cleanup()
{
    m_window.reset();
    clock_source::setNow({});
}

void SettingsDialogTest::openWindow()
{
    QVERIFY((m_window = fixture::openWindow(m_dir->path(), m_watcher)));
    auto desktop = std::make_unique<RecordingDesktop>();
    m_desktop = desktop.get();
    m_window->setDesktopIntegration(std::move(desktop));
}

bool SettingsDialogTest::runDialog(int row, const std::function<void(Tnastav&)>& act)
{
    if (row >= 0)
        m_window->selectRow(row);
    return fixture::onModal<Tnastav>(act, [this] { fixture::clickToolButton(*m_window, "ToolButton7"); });
}

QByteArray SettingsDialogTest::allFiles() const
{
    QByteArray all;
    for (const QString& name :
        { u"prehled roku.zrk"_s, u"prehled dnu.zrk"_s, u"nastaveni.ini"_s, u"data.zrk"_s })
        all += name.toUtf8() + ':' + test_files::readRaw(file(name)) + '\n';
    return all;
}

void SettingsDialogTest::refusedOrCancelledChangesNothing()
{
    openWindow();
    const Settings before = m_window->settings();
    const std::vector<EventRecord> rows = m_window->table().records();
    QByteArray files;
    // "Zrušit" and Esc each discard everything.
    for (const auto& leave :
        std::initializer_list<std::function<void(Tnastav&)>> { [](Tnastav& d) { click(&d, u"Button41"_s); },
            [](Tnastav& d) { QTest::keyClick(child<QComboBox>(&d, u"ComboBox1"_s), Qt::Key_Escape); } }) {
        QVERIFY(runDialog(10, [&](Tnastav& dialog) {
            files = allFiles();
            for (const QString& name : kOptionNames)
                child<QCheckBox>(&dialog, name)->toggle();
            auto* format = child<QComboBox>(&dialog, u"ComboBox1"_s);
            format->setFocus();
            QTest::keyClick(format, Qt::Key_Home);
            for (int i = 0; i < 3; ++i)
                click(&dialog, u"Button40"_s);
            leave(dialog);
            QVERIFY(!dialog.isVisible());
        }));
        QVERIFY(m_window->settings() == before && m_window->table().records() == rows && allFiles() == files);
        QVERIFY(m_window->state().pocet.isEmpty() && m_desktop->autostart.isEmpty());
        QCOMPARE(m_window->table().years() + QStringList { m_window->statusText(2) },
            QStringList({ u"2004"_s, u"Do roku: 2004"_s }));
    }
    // The dialog does not open while a year list cannot be written.
    QVERIFY(QFile::remove(file(u"prehled dnu.zrk"_s)) && QDir(m_dir->path()).mkdir(u"prehled dnu.zrk"_s));
    QVERIFY(!runDialog(5, [](Tnastav&) {}) && m_window->state().pocet.isEmpty());
    QCOMPARE(shown(), QStringList { u"Error|Chyba|Chyba při vytváření souboru"_s });
}

void SettingsDialogTest::firstPageShowsTheSettings()
{
    openWindow();
    m_window->settings().mrizka = true;
    m_window->settings().statusbar = false;
    m_window->settings().format = u"2"_s;
    m_window->move(m_window->screen()->availableGeometry().topLeft());
    QVERIFY(m_window->frameGeometry().center() != m_window->screen()->availableGeometry().center());
    QVERIFY(runDialog(0, [&](Tnastav& dialog) {
        QCOMPARE(dialog.windowTitle() + child<QComboBox>(&dialog, u"ComboBox1"_s)->currentText(),
            u"Nastavení programupondělí"_s);
        // In the middle of the screen, wherever the main window stands.
        QCOMPARE(dialog.frameGeometry().center(), dialog.screen()->availableGeometry().center());
        // Values are heard with their captions, and are no caption's buddy (that would name them by the
        // caption alone); each "Přidat rok" adds a year: 2008 is a leap year, 731 + 365 + 365 + 366.
        QList<QWidget*> values;
        for (const QString& name :
            { u"odroku"_s, u"doroku"_s, u"pocetnroku"_s, u"pocetdni"_s, u"aktualrok"_s, u"esctext"_s })
            values << child<QLabel>(&dialog, name);
        for (const auto& [presses, heard] : { std::pair { 0, u"2004|1|366"_s }, { 4, u"2008|5|1827"_s } }) {
            for (int i = 0; i < presses; ++i)
                click(&dialog, u"Button40"_s);
            QStringList names;
            for (QWidget* value : values)
                names << QAccessible::queryAccessibleInterface(value)->text(QAccessible::Name);
            const QStringList v = heard.split(u'|');
            QCOMPARE(names.join(u'|'),
                u"Od roku: 2004|Do roku: %1|Počet nastavených roků: %2|Počet dnů: %3|"
                "Aktuální rok: 2026|Zavírání programu na ESC: Aktivováno"_s.arg(v[0], v[1], v[2]));
        }
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            QVERIFY(!values.contains(label->buddy()));
        QCOMPARE(optionStates(dialog), u"01100"_s);
        // A click on a state label inverts its option.
        for (const QString& name : kOptionNames)
            QTest::mouseClick(child<QLabel>(&dialog, name + u"text"_s), Qt::LeftButton);
        QCOMPARE(optionStates(dialog), u"10011"_s);
        // Each option's own default (autostart on, status bar off); the whole dialog's are the
        // program's (autostart off, status bar on).
        QStringList own;
        for (const QString& name : kOptionNames)
            own << name + u"vychozi"_s;
        for (const auto& [states, buttons] : { std::pair { u"10100"_s, own },
                 std::pair { u"00101"_s, QStringList { u"vychozinastaveni"_s } } }) {
            for (int i = 0; i < 5; ++i)
                child<QCheckBox>(&dialog, kOptionNames[i])->setChecked(states[i] != u'1');
            for (const QString& name : buttons)
                click(&dialog, name);
            QCOMPARE(optionStates(dialog), states);
        }
        // A shortcut that cannot be made says so at once.
        m_desktop->shortcutsWork = false;
        click(&dialog, u"zstart"_s);
    }));
    QCOMPARE(m_desktop->shortcuts, QList<Place> { Place::StartMenu });
    QCOMPARE(shown(), QStringList { u"Error|Zorivka|Zástupce se nepodařilo vytvořit"_s });
}

void SettingsDialogTest::okWithoutChanges()
{
    openWindow();
    DayTable& table = m_window->table();
    const Settings before = m_window->settings();
    QSignalSpy resets(&table, &DayTable::resetDone);
    QSignalSpy inserts(&table, &DayTable::rowsInserted);
    QFile::remove(file(u"prehled roku.zrk"_s));
    // In format 1 only the lists are written; the settings file waits for the closing.
    QVERIFY(runDialog(3, [](Tnastav& dialog) { click(&dialog, u"Button53"_s); }));
    QVERIFY(resets.size() + inserts.size() == 0 && m_window->settings() == before
        && m_messenger.messages().isEmpty());
    QVERIFY(!QFileInfo::exists(file(u"nastaveni.ini"_s)));
    QCOMPARE(
        test_files::readRaw(file(u"prehled roku.zrk"_s)) + test_files::readRaw(file(u"prehled dnu.zrk"_s)),
        "2004\r\n366\r\n");
    QCOMPARE(m_window->state().stavnastaveni + m_window->state().stavtimeru7, u"načtenéON"_s);
    // In another format "Ok" rebuilds the rows even with the format unchanged, and no text is lost.
    generation::rebuildWithFormat(table, u"2"_s, m_messenger);
    m_window->settings().format = u"2"_s;
    EventRecord day = table.record(4);
    day.setText(Field::Time, u"19:00"_s);
    day.setText(Field::Value2, u"350 Kč"_s);
    table.setRecord(4, day);
    table.insertRecord(5, fixture::extraRow({}, u"Jazz"_s, u"Reduta"_s, u"zdarma"_s));
    const std::vector<EventRecord> rows = table.records();
    resets.clear();
    QVERIFY(runDialog(3, [](Tnastav& dialog) { click(&dialog, u"Button53"_s); }));
    QVERIFY(resets.size() == 1 && table.records() == rows);
    QCOMPARE(table.record(0).text(Field::DayName), u"čtvrtek"_s);
}

void SettingsDialogTest::addedYearsAreAppendedOnOk()
{
    openWindow();
    DayTable& table = m_window->table();
    generation::rebuildWithFormat(table, u"2"_s, m_messenger);
    m_window->settings().format = u"2"_s;
    // An extra row in 2004 does not move the next year's first day.
    table.insertRecord(10, EventRecord::blank());
    QVERIFY(runDialog(0, [&](Tnastav& dialog) {
        // "Výchozí" picks format 1; the user then goes on to format 3.
        auto* picker = child<QComboBox>(&dialog, u"ComboBox1"_s);
        click(&dialog, u"formatvychozi"_s);
        const QString byDefault = picker->currentText();
        picker->setFocus();
        QTest::keyClick(picker, Qt::Key_End);
        QCOMPARE(byDefault + picker->currentText(), u"Popo"_s);
        click(&dialog, u"Button40"_s);
        click(&dialog, u"Button40"_s);
        click(&dialog, u"Button53"_s);
    }));
    // Day rows in calendar order without gaps, named in the new format, after the last existing day row.
    const QStringList names = u"po út st čt pá so ne"_s.split(u' ');
    QStringList dayRows, expected, years, days;
    for (const EventRecord& record : table.records())
        if (record.isDayRow())
            dayRows << fixture::fieldsOf(record).mid(0, 2).join(u' ');
    for (QDate day(2004, 1, 1); day.year() < 2007; day = day.addDays(1)) {
        expected << names[day.dayOfWeek() - 1] + day.toString(u" dd.MM.yyyy"_s);
        if (day.dayOfYear() == 1)
            years << QString::number(day.year()), days << QString::number(day.daysInYear());
    }
    QCOMPARE(dayRows, expected);
    QCOMPARE(table.rowCount(), expected.size() + 1);
    QCOMPARE(
        test_files::readRaw(file(u"prehled roku.zrk"_s)) + test_files::readRaw(file(u"prehled dnu.zrk"_s)),
        (years.join(u"\r\n"_s) + u"\r\n"_s + days.join(u"\r\n"_s) + u"\r\n"_s).toLatin1());
    QCOMPARE(table.years() + table.dayCounts(), years + days);
    const Settings& settings = m_window->settings();
    QCOMPARE(QStringList({ settings.doroku, settings.pocetnroku, settings.pocetdni, m_window->statusText(1),
                 m_window->statusText(2), m_window->statusText(3) }),
        QStringList({ years.last(), QString::number(years.size()), QString::number(expected.size()),
            u"Od roku: 2004"_s, u"Do roku: "_s + years.last(),
            u"Počet roků: "_s + QString::number(years.size()) }));
    QVERIFY(m_messenger.messages().isEmpty());
    // The added years have their holidays: 25.12.2005, not the plain Friday and Tuesday around it.
    const int christmas = table_rows::ofDate(table, u"25.12.2005"_s);
    const auto yellow = [&](int row) {
        return m_window->model().index(row, 0).data(Qt::BackgroundRole).value<QColor>() == QColor(0xfff975);
    };
    QVERIFY(!yellow(christmas - 2) && yellow(christmas) && !yellow(christmas + 2));
}

void SettingsDialogTest::lastYearDisablesAddYear()
{
    openWindow();
    QStringList years, days;
    for (int year = 2004; year <= 2098; ++year)
        years << QString::number(year), days << QString::number(QDate(year, 1, 1).daysInYear());
    m_window->table().setLists(years, days);
    settings_file::agreeWithLists(m_window->settings(), years, days);
    QVERIFY(runDialog(0, [](Tnastav& dialog) {
        auto* add = child<QPushButton>(&dialog, u"Button40"_s);
        click(&dialog, u"Button40"_s);
        const bool enabledAt2099 = add->isEnabled();
        click(&dialog, u"Button40"_s);
        QVERIFY(enabledAt2099 && !add->isEnabled());
        // Even pressed another way, the range never passes 2100, a common year.
        emit add->clicked();
        QCOMPARE(QStringList({ child<QLabel>(&dialog, u"doroku"_s)->text(),
                     child<QLabel>(&dialog, u"pocetnroku"_s)->text(), dialog.yearRange().prepocet1.last(),
                     dialog.yearRange().prepocet2.last() }),
            QStringList({ u"2100"_s, u"97"_s, u"2100"_s, u"365"_s }));
        click(&dialog, u"Button53"_s);
    }));
    QCOMPARE(m_window->table().years().mid(95), QStringList({ u"2099"_s, u"2100"_s }));
    // Opened at 2100, the button is disabled from the start.
    QVERIFY(runDialog(
        0, [](Tnastav& dialog) { QVERIFY(!child<QPushButton>(&dialog, u"Button40"_s)->isEnabled()); }));
}

void SettingsDialogTest::okBringsEverythingInStep_data()
{
    QTest::addColumn<Result>("result");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("blocked");
    QTest::addColumn<QString>("text");
    QTest::newRow("register") << Result::Done << true << false << QString();
    QTest::newRow("remove, key not opened")
        << Result::KeyNotOpened << false << false << u"Chyba při otevírání klíče registrů."_s;
    QTest::newRow("register, value not written")
        << Result::ValueNotWritten << true << false << u"Chyba při zápisu do registrů."_s;
    // The new lists stay in the window when their file cannot be replaced.
    QTest::newRow("list file blocked") << Result::Done << true << true << u"Chyba při vytváření souboru"_s;
}

void SettingsDialogTest::okBringsEverythingInStep()
{
    QFETCH(Result, result);
    QFETCH(bool, enabled);
    QFETCH(bool, blocked);
    QFETCH(QString, text);
    openWindow();
    m_desktop->autostartResult = result;
    // Counters left stale by older versions: only the years gained count.
    m_window->settings().h1 = u"40"_s;
    m_window->settings().h2 = u"0"_s;
    m_window->settings().start = !enabled;
    const Settings& settings = m_window->settings();
    const auto inStep = [&] {
        const DayTable& table = m_window->table();
        return table.rowCount() == 731
            && table.years() + table.dayCounts() == QStringList({ u"2004"_s, u"2005"_s, u"366"_s, u"365"_s })
            && (blocked
                || test_files::readRaw(file(u"prehled roku.zrk"_s))
                        + test_files::readRaw(file(u"prehled dnu.zrk"_s))
                    == "2004\r\n2005\r\n366\r\n365\r\n")
            && settings.doroku + settings.pocetdni == u"2005731"
            && m_window->statusText(2) + m_window->statusText(3) == u"Do roku: 2005Počet roků: 2"
            && m_window->state().pocet.isEmpty();
    };
    bool agreed = false;
    m_watcher.onShow = [&] { agreed = inStep(); };
    const int row = 300;
    QVERIFY(runDialog(row, [&](Tnastav& dialog) {
        // Meanwhile another row is selected and the list scrolled away.
        m_window->selectRow(2);
        QTest::mouseClick(child<QLabel>(&dialog, u"starttext"_s), Qt::LeftButton);
        child<QCheckBox>(&dialog, u"mrizka"_s)->setChecked(true);
        child<QCheckBox>(&dialog, u"esc"_s)->setChecked(false);
        click(&dialog, u"Button40"_s);
        // A directory standing in its place keeps the year list from being replaced.
        QVERIFY(!blocked
            || (QFile::remove(file(u"prehled roku.zrk"_s))
                && QDir(m_dir->path()).mkdir(u"prehled roku.zrk"_s)));
        click(&dialog, u"Button53"_s);
    }));
    // A failed autostart entry is reported last, once everything else is done.
    QCOMPARE(m_desktop->autostart, QList<bool> { enabled });
    QCOMPARE(shown(), text.isEmpty() ? QStringList() : QStringList { u"Error|Chyba|"_s + text });
    QVERIFY(result == Result::Done ? inStep() : agreed);
    QCOMPARE(settings.h1 + u' ' + settings.h2 + u' ' + m_window->state().stavtimeru7, u"41 41 ON"_s);
    QVERIFY(settings.start == enabled && settings.mrizka && !settings.esc);
    // The selection comes back, and the window follows the applied settings at once.
    QTableView* list = m_window->listView();
    QCOMPARE(QList<int>({ m_window->selectedRow(), list->currentIndex().row() }), QList<int>({ row, row }));
    QVERIFY(list->viewport()->rect().contains(list->visualRect(m_window->model().index(row, 0))));
    QVERIFY(list->showGrid() && m_window->width() == TForm1::kNormalClientWidth);
    // The next opening starts from the stored counters and adds nothing by itself (a blocked
    // list file keeps it shut).
    QCOMPARE(runDialog(0, [](Tnastav& dialog) { click(&dialog, u"Button53"_s); }), !blocked);
    QCOMPARE(m_window->table().rowCount(), 731);
}

QTEST_MAIN(SettingsDialogTest)
#include "tst_settings_dialog.moc"
