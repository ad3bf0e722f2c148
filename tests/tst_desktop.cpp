#include "platform/desktop_integration.h"

#include "desktop_home.h"
#include "test_files.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

using test_files::readRaw;
using test_files::writeRaw;
using Result = DesktopIntegration::AutostartResult;

// desktop-file-validate's complaints about a file, empty when it has none.
QString validatorComplaints(const QString& path)
{
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(u"desktop-file-validate"_s, { path });
    const bool ran = tool.waitForFinished(30000);
    const QString out = QString::fromLocal8Bit(tool.readAll()).trimmed();
    return !ran ? u"desktop-file-validate (desktop-file-utils) did not run"_s
        : out.isEmpty() && tool.exitCode() != 0 ? u"desktop-file-validate failed"_s : out;
}

// The value of a key of the entry, as written (still escaped).
QString keyValue(const QString& path, const QString& key)
{
    const QRegularExpression line(u"^"_s + key + u"=(.*)$"_s, QRegularExpression::MultilineOption);
    return line.match(QString::fromUtf8(readRaw(path))).captured(1);
}

} // namespace

class DesktopTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void autostart_follows_the_setting();
    void autostart_failures_data();
    void autostart_failures();
    void launchers_in_both_places();
    void desktop_folder_data();
    void desktop_folder();
    void launcher_starts_the_program();

private:
    // A home with a blank in its path, the configuration and data homes below it.
    QString home() const { return m_dir->path() + u"/domov uživatele"_s; }
    QString config() const { return home() + u"/nastavení"_s; }
    QString data() const { return home() + u"/data"_s; }
    QString program() const { return home() + u"/Program Files/Zorivka 1.0/zorivka"_s; }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void DesktopTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid() && QDir().mkpath(home()));
}

void DesktopTest::autostart_follows_the_setting()
{
    const QString entry = config() + u"/autostart/zorivka.desktop"_s;
    {
        DesktopHome env { home(), config(), data() };
        auto desktop = makeDesktopIntegration(program());
        QVERIFY(!desktop->autostartEnabled());
        QCOMPARE(desktop->setAutostart(false), Result::Done); // nothing there to remove: no error
        QVERIFY(!QFileInfo::exists(config()));
        QCOMPARE(desktop->setAutostart(true), Result::Done);
        QVERIFY(desktop->autostartEnabled());
        QCOMPARE(validatorComplaints(entry), QString());
        QCOMPARE(keyValue(entry, u"Exec"_s) + u'|' + keyValue(entry, u"Path"_s) + u'|' + keyValue(entry, u"Name"_s),
            u'"' + program() + u"\"|"_s + QFileInfo(program()).path() + u"|Zorivka"_s);
        QCOMPARE(QFileInfo(entry).permissions() & QFile::ExeOwner, QFile::Permissions());
        // A moved program: the next registration names the new place, in the same entry.
        const QString moved = home() + u"/jinde/zorivka"_s;
        QCOMPARE(makeDesktopIntegration(moved)->setAutostart(true), Result::Done);
        QCOMPARE(keyValue(entry, u"Exec"_s), u'"' + moved + u'"');
        QCOMPARE(QDir(config() + u"/autostart"_s).entryList(QDir::Files | QDir::Hidden), { u"zorivka.desktop"_s });
        QCOMPARE(desktop->setAutostart(false), Result::Done);
        QVERIFY(!QFileInfo::exists(entry) && !desktop->autostartEnabled());
    }
    // Unset, or relative (which the rules say to ignore): below the home folder.
    const QString fallback = home() + u"/.config/autostart/zorivka.desktop"_s;
    for (const QString& configHome : { QString(), u"relativní/cesta"_s }) {
        DesktopHome env { home(), configHome, QString() };
        QCOMPARE(makeDesktopIntegration(program())->setAutostart(configHome.isEmpty()), Result::Done);
        QCOMPARE(QFileInfo::exists(fallback), configHome.isEmpty());
    }
}

void DesktopTest::autostart_failures_data()
{
    // Whether the homes are set, and a file that stands in the way below the home folder.
    QTest::addColumn<bool>("homes");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<Result>("result");
    QTest::newRow("register, no configuration home") << false << QString() << true << Result::KeyNotOpened;
    QTest::newRow("remove, no configuration home") << false << QString() << false << Result::KeyNotOpened;
    QTest::newRow("register, configuration home is a file") << true << u"nastavení"_s << true << Result::ValueNotWritten;
    QTest::newRow("remove, entry is a folder") << true << u"nastavení/autostart/zorivka.desktop/obsah"_s << false << Result::ValueNotWritten;
}

void DesktopTest::autostart_failures()
{
    QFETCH(bool, homes);
    QFETCH(QString, file);
    QFETCH(bool, enabled);
    QFETCH(Result, result);
    if (!file.isEmpty()) {
        QVERIFY(QDir().mkpath(QFileInfo(home() + u'/' + file).path()));
        QVERIFY(writeRaw(home() + u'/' + file, "not a folder"));
    }
    DesktopHome env { homes ? home() : QString(), homes ? config() : QString(), data() };
    QCOMPARE(makeDesktopIntegration(program())->setAutostart(enabled), result);
    if (!file.isEmpty())
        QCOMPARE(readRaw(home() + u'/' + file), "not a folder");
    QVERIFY(!QFileInfo::exists(u"/autostart/zorivka.desktop"_s));
}

void DesktopTest::launchers_in_both_places()
{
    QVERIFY(QDir().mkpath(home() + u"/Desktop"_s));
    DesktopHome env { home(), config(), data() };
    const QString onDesktop = home() + u"/Desktop/cz.zorivka.Zorivka.desktop"_s;
    const QString inMenu = data() + u"/applications/cz.zorivka.Zorivka.desktop"_s;
    // An older launcher in the menu is replaced, not kept.
    QVERIFY(QDir().mkpath(data() + u"/applications"_s));
    QVERIFY(writeRaw(inMenu, "[Desktop Entry]\nExec=/old/place\n"));
    for (const QString& path : { program(), home() + u"/jinde/zorivka"_s }) {
        auto desktop = makeDesktopIntegration(path);
        QVERIFY(desktop->createShortcut(DesktopIntegration::Place::Desktop));
        QVERIFY(desktop->createShortcut(DesktopIntegration::Place::StartMenu));
        // Autostart off keeps them.
        QCOMPARE(desktop->setAutostart(false), Result::Done);
        for (const QString& launcher : { onDesktop, inMenu })
            QCOMPARE(keyValue(launcher, u"Exec"_s) + u'|' + keyValue(launcher, u"Path"_s),
                u'"' + path + u"\"|"_s + QFileInfo(path).path());
    }
    QCOMPARE(validatorComplaints(onDesktop), QString());
    QVERIFY(QFileInfo(onDesktop).permissions() & QFile::ExeOwner); // desktops run only those
    QCOMPARE(QDir(home() + u"/Desktop"_s).entryList(QDir::Files | QDir::Hidden), { u"cz.zorivka.Zorivka.desktop"_s });
}

void DesktopTest::desktop_folder_data()
{
    // The session's desktop setting ("-": none), whether HOME is set, a folder made below
    // the home folder, and where the launcher lands (nowhere when empty).
    QTest::addColumn<QByteArray>("setting");
    QTest::addColumn<bool>("withHome");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("landed");
    QTest::newRow("named") << QByteArray("$HOME/Pracovní plocha") << true << u"Pracovní plocha"_s << u"Pracovní plocha"_s;
    QTest::newRow("named but missing") << QByteArray("$HOME/Plocha") << true << QString() << QString();
    QTest::newRow("at the root") << QByteArray("$HOME/") << false << QString() << QString();
    QTest::newRow("empty") << QByteArray() << false << QString() << QString();
    QTest::newRow("none, no Desktop") << QByteArray("-") << true << QString() << QString();
    QTest::newRow("none, Desktop") << QByteArray("-") << true << u"Desktop"_s << u"Desktop"_s;
}

void DesktopTest::desktop_folder()
{
    QFETCH(QByteArray, setting);
    QFETCH(bool, withHome);
    QFETCH(QString, folder);
    QFETCH(QString, landed);
    QVERIFY(setting == "-" || (QDir().mkpath(config())
        && writeRaw(config() + u"/user-dirs.dirs"_s, "# a comment\nXDG_DESKTOP_DIR=\"" + setting + "\"\n")));
    QVERIFY(folder.isEmpty() || QDir().mkpath(home() + u'/' + folder));
    const bool atRootBefore = QFileInfo::exists(u"/cz.zorivka.Zorivka.desktop"_s);
    DesktopHome env { withHome ? home() : u""_s, config(), data() };
    QCOMPARE(makeDesktopIntegration(program())->createShortcut(DesktopIntegration::Place::Desktop), !landed.isEmpty());
    // Nothing is created anywhere else, least of all at the root.
    QStringList made;
    for (QDirIterator it(home(), QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories); it.hasNext();)
        made << it.next().mid(home().size() + 1);
    made.removeOne(u"nastavení"_s), made.removeOne(u"nastavení/user-dirs.dirs"_s), made.removeOne(folder);
    QCOMPARE(made.join(u'|'), landed.isEmpty() ? QString() : landed + u"/cz.zorivka.Zorivka.desktop"_s);
    QVERIFY(atRootBefore || !QFileInfo::exists(u"/cz.zorivka.Zorivka.desktop"_s));
}

void DesktopTest::launcher_starts_the_program()
{
    // A program whose path holds every character that needs care on the Exec line;
    // an independent launcher must start it, in its own folder.
    const QString folder = home() + u"/a \"b\" $HOME `c` d\\e 'f'"_s;
    QVERIFY(QDir().mkpath(folder));
    const QString marker = m_dir->path() + u"/spuštěno"_s;
    const QString executable = folder + u"/zorivka *"_s;
    QVERIFY(writeRaw(executable, "#!/bin/sh\npwd > \"$MARKER\"\n"));
    QVERIFY(QFile::setPermissions(executable, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    DesktopHome env { home(), config(), data() };
    QVERIFY(makeDesktopIntegration(executable)->createShortcut(DesktopIntegration::Place::StartMenu));
    const QString launcher = data() + u"/applications/cz.zorivka.Zorivka.desktop"_s;
    QCOMPARE(validatorComplaints(launcher), QString());

    QProcess gio;
    qputenv("MARKER", marker.toLocal8Bit());
    gio.setProcessChannelMode(QProcess::MergedChannels);
    gio.start(u"gio"_s, { u"launch"_s, launcher });
    QVERIFY2(gio.waitForFinished(30000) && gio.exitCode() == 0, gio.readAll().constData());
    QTRY_VERIFY_WITH_TIMEOUT(readRaw(marker).endsWith('\n'), 10000);
    QCOMPARE(QString::fromLocal8Bit(readRaw(marker)).chopped(1), folder);

    // A percent sign would start a field code: it is doubled. (The launcher above
    // cannot show this: it looks for the program before it undoes the doubling.)
    const QString percent = home() + u"/100% jistota/zorivka"_s;
    QVERIFY(makeDesktopIntegration(percent)->createShortcut(DesktopIntegration::Place::StartMenu));
    QCOMPARE(validatorComplaints(launcher), QString());
    QCOMPARE(keyValue(launcher, u"Exec"_s), u"\""_s + home() + u"/100%% jistota/zorivka\""_s);
}

QTEST_GUILESS_MAIN(DesktopTest)
#include "tst_desktop.moc"
