#include "platform/desktop_integration.h"

#include "desktop_home.h"
#include "test_files.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

using namespace test_files;
using Result = DesktopIntegration::AutostartResult;

// What a tool says (nothing when all is well), with its exit code when it fails.
QString run(const QString& tool, const QStringList& args)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(tool, args);
    const bool ran = process.waitForFinished(30000) && process.exitCode() == 0;
    return QString::fromLocal8Bit(process.readAll()).trimmed() + (ran ? QString() : tool + u" failed"_s);
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
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid() && QDir().mkpath(home()));
    }
    void entries_start_the_program();
    void places_data();
    void places();

private:
    // A home with a blank in its path, the configuration and data homes below it.
    QString home() const { return m_dir->path() + u"/domov uživatele"_s; }
    QString config() const { return home() + u"/nastavení"_s; }
    QString data() const { return home() + u"/data"_s; }
    QString program() const { return home() + u"/Program Files/Zorivka 1.0/zorivka"_s; }
    QStringList entriesBelowHome() const
    {
        QStringList all;
        for (QDirIterator it(home(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                 QDirIterator::Subdirectories);
             it.hasNext();)
            all << it.next().mid(home().size() + 1);
        return all;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void DesktopTest::entries_start_the_program()
{
    // A program whose path holds every character that needs care on the Exec line, and an
    // older launcher in the menu to replace: the log-on entry and both launchers, started by
    // an independent launcher, run it in its own folder.
    const QString folder = home() + u"/a \"b\" $HOME `c` d\\e 'f'"_s, executable = folder + u"/zorivka *"_s;
    const QString entries[]
        = { config() + u"/autostart/zorivka.desktop"_s, home() + u"/Desktop/cz.zorivka.Zorivka.desktop"_s,
              data() + u"/applications/cz.zorivka.Zorivka.desktop"_s };
    QVERIFY(QDir().mkpath(folder) && QDir().mkpath(home() + u"/Desktop"_s)
        && QDir().mkpath(data() + u"/applications"_s));
    QVERIFY(writeRaw(executable, "#!/bin/sh\npwd > \"$MARKER\"\n")
        && writeRaw(entries[2], "[Desktop Entry]\nExec=/old\n"));
    QVERIFY(QFile::setPermissions(executable, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    DesktopHome env { home(), config(), data() };
    auto desktop = makeDesktopIntegration(executable);
    QVERIFY(desktop->createShortcut(DesktopIntegration::Place::Desktop)
        && desktop->createShortcut(DesktopIntegration::Place::StartMenu));
    QVERIFY(!desktop->autostartEnabled() && desktop->setAutostart(true) == Result::Done
        && desktop->autostartEnabled());
    // Desktops run only executable launchers; the log-on entry needs no such bit.
    QCOMPARE(QFileInfo(entries[0]).isExecutable() + QFileInfo(entries[1]).isExecutable() * 2, 2);
    const QString marker = m_dir->path() + u"/spuštěno"_s;
    qputenv("MARKER", marker.toLocal8Bit());
    for (const QString& entry : entries) {
        QFile::remove(marker);
        QCOMPARE(
            run(u"desktop-file-validate"_s, { entry }) + run(u"gio"_s, { u"launch"_s, entry }), QString());
        QTRY_COMPARE_WITH_TIMEOUT(QString::fromLocal8Bit(readRaw(marker)), folder + u'\n', 10000);
    }
    // A moved program: the next registration names the new place, in the same files. A percent
    // sign would start a field code, so it is doubled (a launcher cannot show this: it looks
    // for the program before it undoes the doubling).
    const QString moved = home() + u"/100% jistota/zorivka"_s;
    QVERIFY(makeDesktopIntegration(moved)->setAutostart(true) == Result::Done
        && makeDesktopIntegration(moved)->createShortcut(DesktopIntegration::Place::Desktop)
        && makeDesktopIntegration(moved)->createShortcut(DesktopIntegration::Place::StartMenu));
    for (const QString& entry : entries) {
        QCOMPARE(run(u"desktop-file-validate"_s, { entry }), QString());
        QCOMPARE(keyValue(entry, u"Exec"_s) + u'|' + keyValue(entry, u"Path"_s) + u'|'
                + keyValue(entry, u"Name"_s),
            u"\""_s + home() + u"/100%% jistota/zorivka\"|"_s + QFileInfo(moved).path() + u"|Zorivka"_s);
        QCOMPARE(QDir(QFileInfo(entry).path()).entryList(QDir::Files | QDir::Hidden),
            { QFileInfo(entry).fileName() });
    }
    // Autostart off removes its entry only.
    QCOMPARE(desktop->setAutostart(false), Result::Done);
    QVERIFY(!QFileInfo::exists(entries[0]) && !desktop->autostartEnabled() && QFileInfo::exists(entries[1])
        && QFileInfo::exists(entries[2]));
}

void DesktopTest::places_data()
{
    // The homes ("set"; "empty home": HOME empty; "none": neither set; "unset" or "relative"
    // configuration home, which the rules say to ignore), the session's desktop setting ("-":
    // none), a file (or, ending in "/", a folder) made below the home folder first, the step,
    // its result and what it made below the home folder.
    QTest::addColumn<QString>("homes");
    QTest::addColumn<QByteArray>("setting");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("step");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("made");
    const int done = int(Result::Done), notOpened = int(Result::KeyNotOpened),
              notWritten = int(Result::ValueNotWritten);
    for (const char* configHome : { "unset", "relative" })
        QTest::addRow("on, %s", configHome) << configHome << QByteArray("-") << QString() << "on" << done
                                            << ".config|.config/autostart|.config/autostart/zorivka.desktop";
    QTest::newRow("off, nothing to remove")
        << "set" << QByteArray("-") << QString() << "off" << done << QString();
    QTest::newRow("on, no homes") << "none" << QByteArray("-") << QString() << "on" << notOpened << QString();
    QTest::newRow("off, no homes") << "none" << QByteArray("-") << QString() << "off" << notOpened
                                   << QString();
    QTest::newRow("on, configuration home is a file") << "set" << QByteArray("-") << "nastavení"
                                                      << "on" << notWritten << QString();
    QTest::newRow("off, entry is a folder")
        << "set" << QByteArray("-") << "nastavení/autostart/zorivka.desktop/x"
        << "off" << notWritten << QString();
    QTest::newRow("desktop named") << "set" << QByteArray("$HOME/Pracovní plocha") << "Pracovní plocha/"
                                   << "desktop" << 1 << "Pracovní plocha/cz.zorivka.Zorivka.desktop";
    QTest::newRow("desktop named but missing")
        << "set" << QByteArray("$HOME/Plocha") << QString() << "desktop" << 0 << QString();
    QTest::newRow("desktop at the root")
        << "empty home" << QByteArray("$HOME/") << QString() << "desktop" << 0 << QString();
    QTest::newRow("desktop empty") << "empty home" << QByteArray() << QString() << "desktop" << 0
                                   << QString();
    QTest::newRow("no desktop setting nor folder")
        << "set" << QByteArray("-") << QString() << "desktop" << 0 << QString();
    QTest::newRow("no desktop setting, Desktop") << "set" << QByteArray("-") << "Desktop/"
                                                 << "desktop" << 1 << "Desktop/cz.zorivka.Zorivka.desktop";
}

void DesktopTest::places()
{
    QFETCH(QString, homes);
    QFETCH(QByteArray, setting);
    QFETCH(QString, before);
    QFETCH(QString, step);
    QFETCH(int, result);
    QFETCH(QString, made);
    QVERIFY(setting == "-"
        || (QDir().mkpath(config())
            && writeRaw(
                config() + u"/user-dirs.dirs"_s, "# a comment\nXDG_DESKTOP_DIR=\"" + setting + "\"\n")));
    const QString blocker = home() + u'/' + before;
    QVERIFY(before.isEmpty()
        || (QDir().mkpath(QFileInfo(blocker).path())
            && (before.endsWith(u'/') || writeRaw(blocker, "not a folder"))));
    const QStringList earlier = entriesBelowHome();
    const bool atRootBefore = QFileInfo::exists(u"/cz.zorivka.Zorivka.desktop"_s);
    DesktopHome env { homes == u"none" ? QString()
            : homes == u"empty home"   ? u""_s
                                       : home(),
        homes == u"relative"                            ? u"relativní/cesta"_s
            : homes == u"set" || homes == u"empty home" ? config()
                                                        : QString(),
        data() };
    QCOMPARE(step == u"desktop"
            ? int(makeDesktopIntegration(program())->createShortcut(DesktopIntegration::Place::Desktop))
            : int(makeDesktopIntegration(program())->setAutostart(step == u"on")),
        result);
    QVERIFY(before.isEmpty() || before.endsWith(u'/') || readRaw(blocker) == "not a folder");
    // Nothing is made anywhere else, least of all at the root.
    QStringList now = entriesBelowHome();
    now.removeIf([&](const QString& entry) { return earlier.contains(entry); }), now.sort();
    QCOMPARE(now.join(u'|'), made);
    QVERIFY(!QFileInfo::exists(u"/autostart/zorivka.desktop"_s)
        && (atRootBefore || !QFileInfo::exists(u"/cz.zorivka.Zorivka.desktop"_s)));
}

QTEST_GUILESS_MAIN(DesktopTest)
#include "tst_desktop.moc"
