#include "app/autosave.h"
#include "app/main_window.h"
#include "calendar/day_table.h"
#include "calendar/generation.h"
#include "platform/clock.h"
#include "platform/cp1250.h"
#include "platform/instance_lock.h"
#include "platform/program_dir.h"
#include "recording_messenger.h"
#include "records/data_file.h"
#include "test_files.h"
#include "window_fixture.h"

#include <QDialog>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;
using Field = EventRecord::Field;
using fixture::described;
using test_files::readRaw;
using test_files::writeRaw;

namespace {

const QString kFileError = u"Error|Chyba|Chyba při vytváření souboru"_s;
const QString kPartial = u"Error|Chyba|Není dostatek paměti pro vytvoření seznamu"_s;
const QString kListsRebuilt = u"Information|Informace|Soubory „prehled roku.zrk“ a „prehled dnu.zrk“ chyběly "
                              u"nebo byly poškozené. Přehled roků a dnů byl obnoven podle záznamů."_s;

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QList<quint32> words(size / 4 + 1);
    QRandomGenerator(seed).fillRange(words.data(), words.size());
    return QByteArray(reinterpret_cast<const char*>(words.data()), size);
}

void editRow(TForm1& window, int row, const QString& text)
{
    EventRecord record = window.table().record(row);
    record.setText(Field::Event, text);
    QVERIFY(window.table().setRecord(row, record));
}

// Lets every queued step run; enough for a timer of no delay, without a clock.
void settle()
{
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
}

// Waits for the next save after changes: "complete", "incomplete", or "none" when none came.
QString nextSave(TForm1& window)
{
    QSignalSpy saved(&window.autoSave(), &AutoSave::saved);
    return !saved.wait(5000) ? u"none"_s : saved.first().first().toBool() ? u"complete"_s : u"incomplete"_s;
}

} // namespace

class RobustTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { QVERIFY(fixture::freshStart(m_dir, m_messenger)); }

    void changesAreSavedOnceTheyPause()
    {
        // Building the first year writes nothing, nor does a normal start.
        auto window = open();
        settle();
        QVERIFY(window && !window->autoSave().isPending()
            && QDir(m_dir->path()).entryList({ u"*.zrk"_s }, QDir::Files).isEmpty());
        QVERIFY(window->close());
        window = open();
        QSignalSpy saved(&window->autoSave(), &AutoSave::saved);
        settle();
        QVERIFY(!window->autoSave().isPending() && saved.isEmpty());
        // Changes in a row give one save, with all of them; rows inserted and removed count too.
        for (int row = 0; row < 5; ++row)
            editRow(*window, row, QString::number(row));
        QVERIFY(saved.wait(5000));
        settle();
        QCOMPARE(saved.count(), 1);
        QCOMPARE(savedEvent(0) + savedEvent(4), u"04"_s);
        // Rows inserted and removed, the tray's "Automatické spuštění", applied settings and
        // new year lists each give a save; the rows in the file after each.
        const std::function<void()> changes[]
            = { [&] { window->table().insertRecord(41, EventRecord::blank()); },
                  [&] { window->table().removeRecords(41, 1); },
                  [&] { window->findChild<QAction*>("spusteni")->trigger(); },
                  [&] { window->settings().mrizka = true, window->applySettings(); },
                  [&] {
                      window->table().setLists({ u"2004"_s, u"2005"_s }, { u"366"_s, u"365"_s });
                  } };
        QStringList outcomes;
        for (const auto& change : changes) {
            change();
            const QString outcome = nextSave(*window);
            outcomes << outcome + QString::number(QFileInfo(file("data.zrk")).size() / 135);
        }
        QCOMPARE(outcomes,
            QStringList({ "complete367", "complete366", "complete366", "complete366", "complete366" }));
        QVERIFY(cp1250::decode(readRaw(file("nastaveni.ini"))).contains(u"Start=1\r\nMřížka=1\r\n"_s));
        QCOMPARE(readRaw(file("prehled dnu.zrk")), QByteArray("366\r\n365\r\n"));
        // While a modal window is open the save waits; it follows the window's closing,
        // whether the window is hidden or destroyed.
        saved.clear();
        for (int round = 0; round < 2; ++round) {
            auto* dialog = new QDialog(window.get());
            dialog->setModal(true);
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            editRow(*window, 7 + round, u"Během dialogu"_s);
            settle();
            QVERIFY(
                saved.count() == round && window->autoSave().isPending() && savedEvent(7 + round).isEmpty());
            round == 0 ? void(dialog->close()) : delete dialog; // hidden, then destroyed
            QTRY_COMPARE(saved.count(), round + 1);
        }
        QCOMPARE(savedEvent(8), u"Během dialogu"_s);
        // The close saves at once, and nothing is left to save after it.
        editRow(*window, 3, u"Před zavřením"_s);
        saved.clear();
        QVERIFY(window->close());
        QCOMPARE(savedEvent(3), u"Před zavřením"_s);
        settle();
        QVERIFY(!window->autoSave().isPending() && saved.isEmpty() && m_messenger.messages().isEmpty());
    }

    void failedSavesAreToldOnceAndKeepThePreviousFiles()
    {
        closeFirstRun();
        auto window = open();
        // Whether the year overview can be written at each save: a failure is told once, the
        // records are written all the same, the file follows once it can be written, and a new
        // failure after a success is told again.
        QStringList outcomes;
        for (const bool writable : { false, false, true, false, true }) {
            QFile::remove(file("prehled roku.zrk")) || QDir(m_dir->path()).rmdir("prehled roku.zrk");
            QVERIFY(writable || QDir(m_dir->path()).mkdir("prehled roku.zrk"));
            editRow(*window, outcomes.size(), u"x"_s);
            const QString outcome = nextSave(*window);
            outcomes << outcome + savedEvent(outcomes.size())
                    + QString::fromLatin1(readRaw(file("prehled roku.zrk")));
        }
        QCOMPARE(outcomes,
            QStringList({ "incompletex<unreadable>", "incompletex<unreadable>", "completex2004\r\n",
                "incompletex<unreadable>", "completex2004\r\n" }));
        QCOMPARE(described(m_messenger), QStringList({ kFileError, kFileError }));
        // An empty list is not saved, silently while the user works, with a message at close;
        // a settings file that cannot be written is told after it, and the overview files are written.
        const QByteArray full = readRaw(file("data.zrk"));
        window->table().clearRecords();
        QCOMPARE(nextSave(*window), u"complete"_s);
        QCOMPARE(m_messenger.messages().size(), 2);
        QVERIFY(QFile::remove(file("nastaveni.ini")) && QDir(m_dir->path()).mkdir("nastaveni.ini"));
        QVERIFY(QFile::remove(file("prehled dnu.zrk")));
        QVERIFY(window->close());
        QCOMPARE(
            described(m_messenger).mid(2), QStringList({ u"Error|Chyba|Seznam je prázdný"_s, kFileError }));
        QCOMPARE(readRaw(file("data.zrk")), full);
        QCOMPARE(readRaw(file("prehled dnu.zrk")), QByteArray("366\r\n"));
    }

    void damagedDataFileIsReadAndKeptAside_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArrayList>("lists"); // the year and day overview files beside it, if any
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QStringList>("ends"); // the first row's texts, the last row's date, the year panel
        const QString rebuilt = u"Information|Informace|Soubor „data.zrk“ neobsahoval žádný celý záznam. "
                                u"Kalendář byl proto vytvořen znovu pro roky 2004 až %1, bez akcí."_s;
        const QStringList generated { "čtvrtek", "01.01.2004", "", "", "", "", "31.12.2006",
            "Počet roků: 3" };
        const QByteArrayList noLists;
        QTest::newRow("134 bytes") << randomBytes(134, 7)
                                   << QByteArrayList { "2004\r\n2005\r\n2006\r\n", "366\r\n365\r\n365\r\n" }
                                   << QStringList { kPartial, rebuilt.arg(2006) } << 1096 << generated;
        QTest::newRow("1 byte, no lists")
            << randomBytes(1, 7) << noLists << QStringList { kPartial, rebuilt.arg(2004) } << 366
            << QStringList({ "čtvrtek", "01.01.2004", "", "", "", "", "31.12.2004", "Počet roků: 1" });
        // Every length byte 255, and a cut-off record: each field reads as its capacity.
        QByteArray full(135, 'A');
        for (int offset : { 0, 8, 19, 32, 73, 104 })
            full[offset] = char(255);
        QTest::newRow("full length bytes, cut off")
            << full.repeated(366) + QByteArray(60, 'x') << noLists << QStringList { kPartial, kListsRebuilt }
            << 366
            << QStringList({ QString(7, u'A'), QString(10, u'A'), QString(12, u'A'), QString(40, u'A'),
                   QString(30, u'A'), QString(30, u'A'), QString(10, u'A'), "Počet roků: 1" });
        QTest::newRow("random bytes") << randomBytes(10 * 1024 * 1024, 11) << noLists
                                      << QStringList { kPartial, kListsRebuilt } << 77672 << QStringList();
        QTest::newRow("directory") << QByteArray("<directory>") << noLists
                                   << QStringList { u"Error|Chyba|Při otevírání souboru nastala chyba"_s,
                                          rebuilt.arg(2004) }
                                   << 366 << QStringList();
        // Overview files that do not fit a whole data file are rebuilt from its rows.
        const std::vector<EventRecord> year = generation::yearRows(2004, 1);
        const QByteArray whole(reinterpret_cast<const char*>(year.data()), qsizetype(year.size()) * 135);
        const QStringList rebuiltLists { "Čt", "01.01.2004", "", "", "", "", "31.12.2004", "Počet roků: 1" };
        QByteArray many;
        for (int i = 0; i < 10000; ++i)
            many += QByteArray::number(2004 + i) + "\r\n";
        QTest::newRow("lists with letters, blank lines")
            << whole << QByteArrayList { "dva tisíce\r\n\r\n", "\r\n366\r\n" }
            << QStringList { kListsRebuilt } << 366 << rebuiltLists;
        QTest::newRow("lists of 10000 lines, huge numbers")
            << whole << QByteArrayList { "2004\r\n99999999999999999999\r\n" + many, "366\r\n2147483647\r\n" }
            << QStringList { kListsRebuilt } << 366 << rebuiltLists;
    }

    void damagedDataFileIsReadAndKeptAside()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArrayList, lists);
        QFETCH(QStringList, messages);
        QFETCH(int, rows);
        QFETCH(QStringList, ends);
        const bool directory = bytes == "<directory>";
        QVERIFY(
            directory ? QDir(m_dir->path()).mkpath("data.zrk/inside") : writeRaw(file("data.zrk"), bytes));
        if (!lists.isEmpty())
            QVERIFY(
                writeRaw(file("prehled roku.zrk"), lists[0]) && writeRaw(file("prehled dnu.zrk"), lists[1]));
        QVERIFY(writeRaw(file("nastaveni.ini"), cp1250::encode(u"[Obecné]\r\nFormát=2\r\n"_s)));
        auto window = open();
        QVERIFY(window);
        QCOMPARE(described(m_messenger), messages);
        QCOMPARE(window->table().rowCount(), rows);
        if (!ends.isEmpty())
            QCOMPARE(fixture::fieldsOf(window->table().record(0))
                    << window->table().record(rows - 1).text(Field::Date) << window->statusText(3),
                ends);
        // Every row draws, with whatever kind its bytes give.
        const QAbstractItemModel& model = window->model();
        for (int row = 0; row < rows; row += 97)
            for (int column = 0; column < model.columnCount(); ++column)
                model.data(model.index(row, column)),
                    model.data(model.index(row, column), Qt::BackgroundRole);
        window->selectRow(rows - 1);
        window->grab();
        // Before the first save the file is copied aside, and only then: a later save keeps the
        // copy. What cannot be copied is not saved over, and the user is told once.
        QVERIFY(!QFileInfo::exists(file("data.zrk.bak")));
        m_messenger.clear();
        for (const QString& text : { u"Po opravě"_s, u"Další"_s }) {
            editRow(*window, 2, text);
            QCOMPARE(nextSave(*window), directory ? u"incomplete"_s : u"complete"_s);
            if (!directory)
                QVERIFY(writeRaw(file("data.zrk"), "changed behind the program's back"));
        }
        if (directory) {
            QCOMPARE(described(m_messenger),
                QStringList { u"Error|Chyba|Poškozený soubor „data.zrk“ se nepodařilo zkopírovat do souboru "
                              u"„data.zrk.bak“, a proto nebyl přepsán. Záznamy nebyly uloženy."_s });
            QVERIFY(QFileInfo(file("nastaveni.ini")).isFile() && QFileInfo(file("data.zrk/inside")).isDir());
            return;
        }
        QVERIFY(m_messenger.messages().isEmpty());
        QVERIFY(window->close());
        QCOMPARE(
            readRaw(file("data.zrk.bak")), messages.contains(kPartial) ? bytes : QByteArray("<unreadable>"));
        // Records are written as they stand, damaged length bytes and all.
        const QByteArray saved = readRaw(file("data.zrk"));
        const EventRecord first = window->table().record(0);
        QCOMPARE(saved.size(), qsizetype(rows) * 135);
        QCOMPARE(saved.left(135), QByteArray(reinterpret_cast<const char*>(&first), 135));
    }

    void unwritableProgramDirectoryLendsItsFiles()
    {
        // A directory that cannot take files (here: one that is really a file) sends all of them elsewhere.
        const QString programDir = m_dir->path(), fallback = file("per-user/Zorivka");
        QCOMPARE(program_dir::choose(programDir, fallback), QDir(programDir).absolutePath());
        QVERIFY(writeRaw(file("not-a-dir"), "x"));
        QCOMPARE(program_dir::choose(file("not-a-dir"), fallback), QDir(fallback).absolutePath());
        QVERIFY(QFileInfo(fallback).isDir());
        // The user's files follow once, with a message naming where they went, data.zrk last.
        closeFirstRun();
        QTemporaryDir perUser;
        QVERIFY(program_dir::adoptFiles(programDir, perUser.path(), m_messenger));
        QVERIFY(!program_dir::adoptFiles(programDir, perUser.path(), m_messenger));
        QVERIFY(described(m_messenger).size() == 1
            && described(m_messenger)[0].startsWith(u"Information|Informace|"_s)
            && m_messenger.messages()[0].text.contains(QDir::toNativeSeparators(perUser.path())));
        for (const char* name : { "data.zrk", "nastaveni.ini", "prehled roku.zrk", "prehled dnu.zrk" })
            QCOMPARE(readRaw(perUser.filePath(name)), readRaw(file(name)));
    }

    void killedAfterAnEditKeepsTheEdit()
    {
        QProcess child, shown;
        QVERIFY(startChild(child, { u"edit"_s, u"Zabito po úpravě"_s }));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(file("data.zrk")), 30000);
        child.kill();
        QVERIFY(child.waitForFinished(10000) && child.exitStatus() == QProcess::CrashExit);
        // On a first run the data file is written last, so everything else is already there.
        QVERIFY(cp1250::decode(readRaw(file("nastaveni.ini"))).contains(u"Start=1\r\n"_s));
        QCOMPARE(readRaw(file("prehled roku.zrk")) + readRaw(file("prehled dnu.zrk")),
            QByteArray("2004\r\n366\r\n"));
        {
            // The killed copy left its lock and its socket behind: neither stops the next one,
            // which is then reached by a later start.
            InstanceLock lock;
            QVERIFY(lock.acquire(m_dir->path()));
            QSignalSpy raised(&lock, &InstanceLock::activationRequested);
            QVERIFY(InstanceLock::activateRunning(m_dir->path()));
            QTRY_COMPARE(raised.count(), 1);
        }
        QVERIFY(startChild(shown, { u"show"_s }) && shown.waitForFinished(30000));
        const QString output = QString::fromUtf8(shown.readAllStandardOutput());
        QCOMPARE(output, u"event: Zabito po úpravě\nstart: 1\n"_s); // not refused, no message, no question
    }

    void twoStartsAtOnceLeaveOneWindowThatIsRaised()
    {
        closeFirstRun();
        QProcess first, second;
        QVERIFY(startChild(first, { u"stay"_s }) && startChild(second, { u"stay"_s }));
        QVERIFY(first.waitForFinished(30000) && second.waitForFinished(30000));
        // One is refused and hands over without a message; the other one is raised by it.
        QStringList ends { QString::number(first.exitCode()) + u' ' + first.readAllStandardOutput(),
            QString::number(second.exitCode()) + u' ' + second.readAllStandardOutput() };
        ends.sort();
        QCOMPARE(ends, QStringList({ u"0 raised\n"_s, u"3 refused\n"_s }));
    }

private:
    std::unique_ptr<TForm1> open(bool show = true);
    QString file(const QString& name) const { return m_dir->filePath(name); }
    void closeFirstRun() { QVERIFY(open(false)->close()); }
    QString savedEvent(int row) const;
    bool startChild(QProcess& child, const QStringList& args);

    std::unique_ptr<QTemporaryDir> m_dir;
    RecordingMessenger m_messenger;
};

std::unique_ptr<TForm1> RobustTest::open(bool show)
{
    auto window = fixture::openWindow(m_dir->path(), m_messenger, show);
    // No delay: the save comes on the event loop's next turn, never on a clock.
    if (window)
        window->autoSave().setDelay(0);
    return window;
}

QString RobustTest::savedEvent(int row) const
{
    DayTable table;
    RecordingMessenger quiet;
    data_file::LoadData(m_dir->path(), table, quiet);
    return row < table.rowCount() ? table.record(row).text(Field::Event) : u"<no row>"_s;
}

bool RobustTest::startChild(QProcess& child, const QStringList& args)
{
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(
        QCoreApplication::applicationDirPath() + u"/crash_child"_s, QStringList { m_dir->path() } + args);
    return child.waitForStarted(10000);
}

QTEST_MAIN(RobustTest)
#include "tst_robust.moc"
