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
    if (!tool.waitForFinished(30000))
        return u"desktop-file-validate did not run (scripts/deps.sh installs desktop-file-utils)"_s;
    const QString out = QString::fromLocal8Bit(tool.readAll()).trimmed();
    if (tool.exitCode() != 0 && out.isEmpty())
        return u"desktop-file-validate failed"_s;
    return out;
}

// The value of a key of the entry's main group, as written (still escaped).
QString keyValue(const QString& path, const QString& key)
{
    const QString prefix = key + u'=';
    for (const QString& line : QString::fromUtf8(readRaw(path)).split(u'\n'))
        if (line.startsWith(prefix))
            return line.mid(prefix.size());
    return {};
}

void writeUserDirs(const QString& configHome, const QByteArray& desktopLine)
{
    QVERIFY(QDir().mkpath(configHome));
    QVERIFY(writeRaw(configHome + u"/user-dirs.dirs"_s, "# written by the test\n" + desktopLine + '\n'));
}

} // namespace

class DesktopTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void autostart_follows_the_setting();
    void autostart_base_directories();
    void autostart_failures_data();
    void autostart_failures();
    void launchers_in_both_places();
    void launcher_folder_must_exist();
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
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir().mkpath(home()));
}

void DesktopTest::autostart_follows_the_setting()
{
    DesktopHome env { home(), config(), data() };
    const QString entry = config() + u"/autostart/zorivka.desktop"_s;
    auto desktop = makeDesktopIntegration(program());

    QVERIFY(!desktop->autostartEnabled());
    QCOMPARE(desktop->setAutostart(false), Result::Done); // nothing there to remove: no error
    QVERIFY(!QFileInfo::exists(config()));

    QCOMPARE(desktop->setAutostart(true), Result::Done);
    QVERIFY(desktop->autostartEnabled());
    QCOMPARE(validatorComplaints(entry), QString());
    QCOMPARE(keyValue(entry, u"Exec"_s), u'"' + program() + u'"');
    QCOMPARE(keyValue(entry, u"Path"_s), QFileInfo(program()).path());
    QCOMPARE(keyValue(entry, u"Name"_s), u"Zorivka"_s);
    QCOMPARE(QFileInfo(entry).permissions() & QFile::ExeOwner, QFile::Permissions());

    // A moved program: the next registration names the new place.
    const QString moved = home() + u"/jinde/zorivka"_s;
    QCOMPARE(makeDesktopIntegration(moved)->setAutostart(true), Result::Done);
    QCOMPARE(keyValue(entry, u"Exec"_s), u'"' + moved + u'"');
    QCOMPARE(
        QDir(config() + u"/autostart"_s).entryList(QDir::Files | QDir::Hidden), { u"zorivka.desktop"_s });

    QCOMPARE(desktop->setAutostart(false), Result::Done);
    QVERIFY(!QFileInfo::exists(entry));
    QVERIFY(!desktop->autostartEnabled());
    QCOMPARE(desktop->setAutostart(false), Result::Done);
}

void DesktopTest::autostart_base_directories()
{
    const QString fallback = home() + u"/.config/autostart/zorivka.desktop"_s;
    {
        // Unset, and relative (which the rules say to ignore): below the home folder.
        DesktopHome env { home(), QString(), QString() };
        QCOMPARE(makeDesktopIntegration(program())->setAutostart(true), Result::Done);
        QVERIFY(QFileInfo::exists(fallback));
    }
    {
        DesktopHome env { home(), u"relativní/cesta"_s, QString() };
        auto desktop = makeDesktopIntegration(program());
        QVERIFY(desktop->autostartEnabled());
        QCOMPARE(desktop->setAutostart(false), Result::Done);
        QVERIFY(!QFileInfo::exists(fallback));
    }
}

void DesktopTest::autostart_failures_data()
{
    // Whether the homes are set, and what stands in the way below the home folder: a
    // file or a folder at a path.
    QTest::addColumn<bool>("homes");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<Result>("result");
    const QString entry = u"nastavení/autostart/zorivka.desktop"_s;
    QTest::newRow("register, no configuration home")
        << false << QString() << QString() << true << Result::KeyNotOpened;
    QTest::newRow("remove, no configuration home")
        << false << QString() << QString() << false << Result::KeyNotOpened;
    QTest::newRow("register, configuration home is a file")
        << true << u"nastavení"_s << QString() << true << Result::ValueNotWritten;
    QTest::newRow("remove, configuration home is a file")
        << true << u"nastavení"_s << QString() << false << Result::Done;
    QTest::newRow("register, autostart folder is a file")
        << true << u"nastavení/autostart"_s << QString() << true << Result::ValueNotWritten;
    QTest::newRow("register, entry is a folder")
        << true << QString() << entry << true << Result::ValueNotWritten;
    QTest::newRow("remove, entry is a folder")
        << true << QString() << entry << false << Result::ValueNotWritten;
}

void DesktopTest::autostart_failures()
{
    QFETCH(bool, homes);
    QFETCH(QString, file);
    QFETCH(QString, folder);
    QFETCH(bool, enabled);
    QFETCH(Result, result);
    if (!file.isEmpty()) {
        QVERIFY(QDir().mkpath(QFileInfo(home() + u'/' + file).path()));
        QVERIFY(writeRaw(home() + u'/' + file, "not a folder"));
    }
    if (!folder.isEmpty())
        QVERIFY(QDir().mkpath(home() + u'/' + folder + u"/obsah"_s));
    DesktopHome env { homes ? home() : QString(), homes ? config() : QString(), data() };
    QCOMPARE(makeDesktopIntegration(program())->setAutostart(enabled), result);
    if (!file.isEmpty())
        QCOMPARE(readRaw(home() + u'/' + file), "not a folder");
    QVERIFY(!QFileInfo::exists(u"/autostart/zorivka.desktop"_s));
}

void DesktopTest::launchers_in_both_places()
{
    const QString desktopFolder = home() + u"/Pracovní plocha"_s;
    QVERIFY(QDir().mkpath(desktopFolder));
    writeUserDirs(config(), "XDG_DESKTOP_DIR=\"$HOME/Pracovní plocha\"");
    DesktopHome env { home(), config(), data() };
    const QString onDesktop = desktopFolder + u"/cz.zorivka.Zorivka.desktop"_s;
    const QString inMenu = data() + u"/applications/cz.zorivka.Zorivka.desktop"_s;
    // An older launcher in the menu is replaced, not kept.
    QVERIFY(QDir().mkpath(data() + u"/applications"_s));
    QVERIFY(writeRaw(inMenu, "[Desktop Entry]\nExec=/old/place\n"));

    auto desktop = makeDesktopIntegration(program());
    QVERIFY(desktop->createShortcut(DesktopIntegration::Place::Desktop));
    QVERIFY(desktop->createShortcut(DesktopIntegration::Place::StartMenu));
    for (const QString& launcher : { onDesktop, inMenu }) {
        QCOMPARE(validatorComplaints(launcher), QString());
        QCOMPARE(keyValue(launcher, u"Exec"_s), u'"' + program() + u'"');
        QCOMPARE(keyValue(launcher, u"Path"_s), QFileInfo(program()).path());
    }
    QVERIFY(QFileInfo(onDesktop).permissions() & QFile::ExeOwner); // desktops run only those
    QVERIFY(!desktop->autostartEnabled());

    // Pressed again, from a moved program: replaced in place; autostart off keeps them.
    const QString moved = home() + u"/jinde/zorivka"_s;
    auto movedDesktop = makeDesktopIntegration(moved);
    QVERIFY(movedDesktop->createShortcut(DesktopIntegration::Place::Desktop));
    QVERIFY(movedDesktop->createShortcut(DesktopIntegration::Place::StartMenu));
    QCOMPARE(movedDesktop->setAutostart(false), Result::Done);
    QCOMPARE(keyValue(onDesktop, u"Exec"_s), u'"' + moved + u'"');
    QCOMPARE(keyValue(inMenu, u"Exec"_s), u'"' + moved + u'"');
    QCOMPARE(QDir(desktopFolder).entryList(QDir::Files | QDir::Hidden), { u"cz.zorivka.Zorivka.desktop"_s });
}

void DesktopTest::launcher_folder_must_exist()
{
    auto desktop = makeDesktopIntegration(program());
    {
        // The session's desktop folder is missing: nothing is created in its place.
        writeUserDirs(config(), "XDG_DESKTOP_DIR=\"$HOME/Plocha\"");
        DesktopHome env { home(), config(), data() };
        QVERIFY(!desktop->createShortcut(DesktopIntegration::Place::Desktop));
        QVERIFY(!QFileInfo::exists(home() + u"/Plocha"_s));
    }
    {
        // A desktop that resolves to the root (no home): never a launcher there.
        writeUserDirs(config(), "XDG_DESKTOP_DIR=\"$HOME/\"");
        DesktopHome env { u""_s, config(), data() };
        const QString atRoot = u"/cz.zorivka.Zorivka.desktop"_s;
        const bool atRootBefore = QFileInfo::exists(atRoot);
        QVERIFY(!desktop->createShortcut(DesktopIntegration::Place::Desktop));
        if (!atRootBefore && QFileInfo::exists(atRoot)) {
            QFile::remove(atRoot);
            QFAIL("a launcher was written at the filesystem root");
        }
    }
    {
        // An empty desktop setting.
        writeUserDirs(config(), "XDG_DESKTOP_DIR=\"\"");
        DesktopHome env { u""_s, config(), data() };
        QVERIFY(!desktop->createShortcut(DesktopIntegration::Place::Desktop));
    }
    {
        // Without a setting, the desktop below the home folder, when it is there.
        QVERIFY(QFile::remove(config() + u"/user-dirs.dirs"_s));
        DesktopHome env { home(), config(), data() };
        QVERIFY(!desktop->createShortcut(DesktopIntegration::Place::Desktop));
        QVERIFY(QDir().mkpath(home() + u"/Desktop"_s));
        QVERIFY(desktop->createShortcut(DesktopIntegration::Place::Desktop));
        QVERIFY(QFileInfo::exists(home() + u"/Desktop/cz.zorivka.Zorivka.desktop"_s));
    }
    {
        // No data home and no home: the menu has no folder.
        DesktopHome env { QString(), QString(), QString() };
        QVERIFY(!desktop->createShortcut(DesktopIntegration::Place::StartMenu));
        QVERIFY(!QFileInfo::exists(u"/applications/cz.zorivka.Zorivka.desktop"_s));
    }
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
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"MARKER"_s, marker);
    gio.setProcessEnvironment(environment);
    gio.setProcessChannelMode(QProcess::MergedChannels);
    gio.start(u"gio"_s, { u"launch"_s, launcher });
    QVERIFY2(gio.waitForFinished(30000), "gio (libglib2.0-bin) did not run");
    QVERIFY2(gio.exitCode() == 0, gio.readAll().constData());
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
