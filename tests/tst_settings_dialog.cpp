#include "app/main_window.h"
#include "calendar/generation.h"
#include "platform/clock.h"
#include "platform/desktop_integration.h"
#include "records/data_file.h"
#include "recording_messenger.h"
#include "settings/settings_dialog.h"
#include "settings/settings_file.h"
#include "test_files.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
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
        bool autostartWorks = true;
        bool shortcutsWork = true;
    };
    explicit RecordingDesktop(Log& log)
        : m_log(log)
    {
    }
    bool setAutostart(bool enabled) override
    {
        m_log.autostart << enabled;
        return m_log.autostartWorks;
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

private:
    void openWindow();
    // Opens the dialog on `row` through the toolbar, runs `act` on it while it is
    // shown and returns once it has closed.
    void runDialog(int row, const std::function<void(Tnastav&)>& act);
    static void click(Tnastav& dialog, const QString& name);
    QString file(const QString& name) const { return QDir(m_dir->path()).filePath(name); }
    QByteArray allFiles() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    RecordingMessenger m_messenger;
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
    m_window = std::make_unique<TForm1>(m_dir->path(), m_messenger);
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
    for (const QString& name : { "prehled roku.zrk", "prehled dnu.zrk", "nastaveni.ini", "data.zrk" })
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
    runDialog(0, [&](Tnastav& dialog) {
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Nastavení programu"));
        QCOMPARE(dialog.size(), QSize(432, 456));
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

QTEST_MAIN(SettingsDialogTest)
#include "tst_settings_dialog.moc"
