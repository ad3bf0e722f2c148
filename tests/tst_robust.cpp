#include "app/autosave.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "calendar/day_table.h"
#include "calendar/generation.h"
#include "platform/clock.h"
#include "platform/cp1250.h"
#include "platform/program_dir.h"
#include "recording_messenger.h"
#include "records/data_file.h"
#include "test_files.h"
#include "window_fixture.h"

#include <QAction>
#include <QDialog>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>

using namespace Qt::StringLiterals;
using Field = EventRecord::Field;
using test_files::readRaw;
using test_files::writeRaw;

namespace {

const QString kFileError = u"E Chyba: Chyba při vytváření souboru"_s;
const QString kPartial = u"E Chyba: Není dostatek paměti pro vytvoření seznamu"_s;
const QString kListsRebuilt = u"I Informace: Soubory „prehled roku.zrk“ a „prehled dnu.zrk“ chyběly nebo "
                              u"byly poškozené. Přehled roků a dnů byl obnoven podle záznamů."_s;

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
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
    if (!saved.wait(5000))
        return u"none"_s;
    return saved.first().first().toBool() ? u"complete"_s : u"incomplete"_s;
}

// Each message as "icon title: text" (icons by their first letter), so that one
// comparison checks all three.
QStringList said(const RecordingMessenger& messenger)
{
    QStringList lines;
    for (const RecordingMessenger::Message& message : messenger.messages())
        lines << u"%1 %2: %3"_s.arg(QChar(u"IWEQN"[int(message.icon)]), message.title, message.text);
    return lines;
}

} // namespace

class RobustTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_messenger.clear();
        clock_source::setNow(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
    }

    void changesAreSavedOnceTheyPause()
    {
        // Building the first year writes nothing, nor does a normal start.
        auto window = open();
        QVERIFY(window);
        QVERIFY(!window->autoSave().isPending());
        settle();
        QVERIFY(QDir(m_dir->path()).entryList({ u"*.zrk"_s }, QDir::Files).isEmpty());
        QVERIFY(window->close());
        window = open();
        QSignalSpy saved(&window->autoSave(), &AutoSave::saved);
        settle();
        QVERIFY(!window->autoSave().isPending());
        QCOMPARE(saved.count(), 0);
        // Changes in a row give one save, with all of them.
        for (int row = 0; row < 5; ++row)
            editRow(*window, row, QString::number(row));
        QVERIFY(saved.wait(5000));
        settle();
        QCOMPARE(saved.count(), 1);
        QCOMPARE(savedEvent(0) + savedEvent(4), u"04"_s);
        QVERIFY(m_messenger.messages().isEmpty());
        // Rows inserted and removed count as changes too.
        window->table().insertRecord(41, EventRecord::blank());
        QCOMPARE(nextSave(*window), u"complete"_s);
        QCOMPARE(QFileInfo(file("data.zrk")).size(), 367 * 135);
        window->table().removeRecords(41, 1);
        QCOMPARE(nextSave(*window), u"complete"_s);
        QCOMPARE(QFileInfo(file("data.zrk")).size(), 366 * 135);
        // The close saves at once, and nothing is left to save after it.
        editRow(*window, 3, u"Před zavřením"_s);
        saved.clear();
        QVERIFY(window->close());
        QVERIFY(!window->autoSave().isPending());
        QCOMPARE(savedEvent(3), u"Před zavřením"_s);
        settle();
        QCOMPARE(saved.count(), 0);
    }

    void settingsChangesAreSaved()
    {
        closeFirstRun();
        auto window = open();
        QVERIFY(window);
        const auto ini = [this] { return cp1250::decode(readRaw(file("nastaveni.ini"))); };
        // The tray's "Automatické spuštění" and the record menu's "Jdi na..." change settings.
        window->findChild<QAction*>("spusteni")->trigger();
        QCOMPARE(nextSave(*window), u"complete"_s);
        QVERIFY(ini().contains(u"Start=1\r\n"_s));
        window->findChild<QAction*>("Prejdina1")->trigger();
        QCOMPARE(nextSave(*window), u"complete"_s);
        QVERIFY(ini().contains(u"Okno Jdi na..=1\r\n"_s));
        // So does whatever brings the window in step with new settings.
        window->settings().mrizka = true;
        window->applySettings();
        QCOMPARE(nextSave(*window), u"complete"_s);
        QVERIFY(ini().contains(u"Mřížka=1\r\n"_s));
        // A new year range reaches both overview files.
        window->table().setLists({ u"2004"_s, u"2005"_s }, { u"366"_s, u"365"_s });
        QCOMPARE(nextSave(*window), u"complete"_s);
        QCOMPARE(readRaw(file("prehled dnu.zrk")), QByteArray("366\r\n365\r\n"));
    }

    void waitsWhileAModalWindowIsOpen()
    {
        closeFirstRun();
        auto window = open();
        QVERIFY(window);
        const QByteArray before = readRaw(file("data.zrk"));
        QSignalSpy saved(&window->autoSave(), &AutoSave::saved);
        for (int round = 0; round < 2; ++round) {
            auto* dialog = new QDialog(window.get());
            dialog->setModal(true);
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            editRow(*window, 7 + round, u"Během dialogu"_s);
            settle();
            QCOMPARE(saved.count(), round);
            QVERIFY(window->autoSave().isPending());
            if (round == 0)
                QCOMPARE(readRaw(file("data.zrk")), before);
            // The save follows the dialog's closing, whether it is hidden or destroyed.
            if (round == 0)
                dialog->close();
            else
                delete dialog;
            QTRY_COMPARE(saved.count(), round + 1);
        }
        QCOMPARE(savedEvent(8), u"Během dialogu"_s);
    }

    void emptyListIsSkippedSilently()
    {
        closeFirstRun();
        auto window = open();
        QVERIFY(window);
        const QByteArray before = readRaw(file("data.zrk"));
        window->table().clearRecords();
        QSignalSpy saved(&window->autoSave(), &AutoSave::saved);
        QVERIFY(saved.wait(5000));
        QVERIFY(m_messenger.messages().isEmpty());
        QCOMPARE(readRaw(file("data.zrk")), before);
        // At close the user hears of it, as always, and the last saved file survives. Nor can
        // the settings be saved: the messages come in the order of the two saves.
        QVERIFY(QFile::remove(file("nastaveni.ini")) && QDir(m_dir->path()).mkdir("nastaveni.ini"));
        QVERIFY(QFile::remove(file("prehled dnu.zrk")));
        QVERIFY(window->close());
        QCOMPARE(said(m_messenger), QStringList({ u"E Chyba: Seznam je prázdný"_s, kFileError }));
        QCOMPARE(readRaw(file("data.zrk")), before);
        // The overview files are still written.
        QCOMPARE(readRaw(file("prehled dnu.zrk")), QByteArray("366\r\n"));
    }

    void failedSaveIsToldOnceAndTriedAgain()
    {
        closeFirstRun();
        auto window = open();
        QVERIFY(window);
        QVERIFY(QFile::remove(file("prehled roku.zrk")));
        QVERIFY(QDir(m_dir->path()).mkdir("prehled roku.zrk"));
        for (int i = 0; i < 3; ++i) {
            editRow(*window, i, u"x"_s);
            QCOMPARE(nextSave(*window), u"incomplete"_s);
        }
        QCOMPARE(said(m_messenger), QStringList { kFileError });
        // The records before the failing list were written all the same.
        QCOMPARE(savedEvent(2), u"x"_s);
        // Once the file can be written again the next change writes it.
        QVERIFY(QDir(m_dir->path()).rmdir("prehled roku.zrk"));
        editRow(*window, 3, u"y"_s);
        QCOMPARE(nextSave(*window), u"complete"_s);
        QCOMPARE(readRaw(file("prehled roku.zrk")), QByteArray("2004\r\n"));
        // A new failure after a success is told again.
        QVERIFY(QFile::remove(file("nastaveni.ini")));
        QVERIFY(QDir(m_dir->path()).mkdir("nastaveni.ini"));
        editRow(*window, 4, u"z"_s);
        QCOMPARE(nextSave(*window), u"incomplete"_s);
        QCOMPARE(said(m_messenger), QStringList({ kFileError, kFileError }));
    }

    void saveThatFailsHalfWayKeepsThePreviousFiles()
    {
        closeFirstRun();
        auto window = open();
        QVERIFY(window);
        const QByteArray before = readRaw(file("data.zrk"));
        for (int row = 0; row < 200; ++row)
            editRow(*window, row, QString(40, u'a'));
        // A file size limit makes the write stop in the middle of the 49410 bytes
        // (permissions would not stop root, which runs CI).
        rlimit saved {};
        getrlimit(RLIMIT_FSIZE, &saved);
        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limited { 20000, saved.rlim_max };
        setrlimit(RLIMIT_FSIZE, &limited);
        const QString outcome = nextSave(*window);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, handler);
        QCOMPARE(outcome, u"incomplete"_s);
        QCOMPARE(said(m_messenger), QStringList { kFileError });
        QCOMPARE(readRaw(file("data.zrk")), before);
        QCOMPARE(
            QDir(m_dir->path()).entryList({ u"data.zrk*"_s }, QDir::Files), QStringList { u"data.zrk"_s });
        // The close tries again and succeeds.
        QVERIFY(window->close());
        QCOMPARE(QFileInfo(file("data.zrk")).size(), 49410);
        QCOMPARE(savedEvent(199), QString(40, u'a'));
    }

    void emptyDataFileGetsTheYearRange_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("withLists");
        QTest::addColumn<QStringList>("messages");
        const QString rebuilt
            = u"I Informace: Soubor „data.zrk“ neobsahoval žádný celý záznam. Kalendář byl proto "
              u"vytvořen znovu pro roky 2004 až %1, bez akcí."_s;
        QTest::newRow("0 bytes, lists 2004-2006") << 0 << true << QStringList { rebuilt.arg(2006) };
        QTest::newRow("1 byte, no lists") << 1 << false << QStringList { kPartial, rebuilt.arg(2004) };
        QTest::newRow("134 bytes, lists 2004-2006")
            << 134 << true << QStringList { kPartial, rebuilt.arg(2006) };
    }

    void emptyDataFileGetsTheYearRange()
    {
        QFETCH(int, size);
        QFETCH(bool, withLists);
        QFETCH(QStringList, messages);
        const QByteArray damaged = randomBytes(size, 7);
        QVERIFY(writeRaw(file("data.zrk"), damaged));
        if (withLists) {
            QVERIFY(writeRaw(file("prehled roku.zrk"), "2004\r\n2005\r\n2006\r\n"));
            QVERIFY(writeRaw(file("prehled dnu.zrk"), "366\r\n365\r\n365\r\n"));
        }
        QVERIFY(writeRaw(file("nastaveni.ini"), cp1250::encode(u"[Obecné]\r\nFormát=2\r\n"_s)));
        auto window = open();
        QVERIFY(window);
        QCOMPARE(said(m_messenger), messages);
        const int years = withLists ? 3 : 1;
        const int days = withLists ? 366 + 365 + 365 : 366;
        QCOMPARE(window->table().rowCount(), days);
        const Settings& settings = window->settings();
        QCOMPARE(QStringList({ settings.pocetnroku, settings.pocetdni, settings.doroku }),
            QStringList({ QString::number(years), QString::number(days), QString::number(2003 + years) }));
        QCOMPARE(window->statusText(3), u"Počet roků: %1"_s.arg(years));
        // Format 2: full names in lower case; the last row is 31 December of the last year.
        QCOMPARE(window->table().record(0).text(Field::DayName), u"čtvrtek"_s);
        QCOMPARE(window->table().record(days - 1).text(Field::Date), u"31.12.%1"_s.arg(2003 + years));
        // The calendar can be saved again; a file with bytes the program could not read is kept.
        QVERIFY(window->close());
        QCOMPARE(QFileInfo(file("data.zrk")).size(), qint64(days) * 135);
        QCOMPARE(readRaw(file("data.zrk.bak")), size > 0 ? damaged : QByteArray("<unreadable>"));
    }

    void damagedDataFileIsCopiedBeforeTheFirstSave()
    {
        closeFirstRun();
        const QByteArray damaged = readRaw(file("data.zrk")) + QByteArray(60, 'x');
        QVERIFY(writeRaw(file("data.zrk"), damaged));
        auto window = open();
        QVERIFY(window);
        QCOMPARE(said(m_messenger), QStringList { kPartial });
        QVERIFY(!QFileInfo::exists(file("data.zrk.bak")));
        editRow(*window, 2, u"Po opravě"_s);
        QCOMPARE(nextSave(*window), u"complete"_s);
        QCOMPARE(readRaw(file("data.zrk.bak")), damaged);
        QCOMPARE(QFileInfo(file("data.zrk")).size(), 49410);
        // Only before the first save: the copy is not replaced by a later one.
        QVERIFY(writeRaw(file("data.zrk"), "changed behind the program's back"));
        editRow(*window, 3, u"Další"_s);
        QCOMPARE(nextSave(*window), u"complete"_s);
        QCOMPARE(readRaw(file("data.zrk.bak")), damaged);
        QCOMPARE(said(m_messenger), QStringList { kPartial });
    }

    void dataFileThatIsADirectoryIsNeverReplaced()
    {
        QVERIFY(QDir(m_dir->path()).mkpath("data.zrk/inside"));
        auto window = open();
        QVERIFY(window);
        QCOMPARE(said(m_messenger).first(), u"E Chyba: Při otevírání souboru nastala chyba"_s);
        QCOMPARE(window->table().rowCount(), 366);
        m_messenger.clear();
        for (int i = 0; i < 2; ++i) {
            editRow(*window, i, u"x"_s);
            QCOMPARE(nextSave(*window), u"incomplete"_s);
        }
        // What cannot be copied aside is not saved over, and the user is told once.
        QCOMPARE(said(m_messenger),
            QStringList { u"E Chyba: Poškozený soubor „data.zrk“ se nepodařilo zkopírovat do souboru "
                          u"„data.zrk.bak“, a proto nebyl přepsán. Záznamy nebyly uloženy."_s });
        // The settings still reached their file.
        QVERIFY(QFileInfo(file("nastaveni.ini")).isFile());
        QVERIFY(window->close());
        QCOMPARE(m_messenger.messages().size(), 2);
        QVERIFY(QFileInfo(file("data.zrk/inside")).isDir());
    }

    void randomDataFileOpens()
    {
        const QByteArray noise = randomBytes(10 * 1024 * 1024, 11);
        QVERIFY(writeRaw(file("data.zrk"), noise));
        auto window = open();
        QVERIFY(window);
        const int rows = int(noise.size() / 135);
        QCOMPARE(window->table().rowCount(), rows);
        // Every row draws, with whatever kind its bytes give.
        for (int row = 0; row < rows; row += 97) {
            for (int column = 0; column < window->model().columnCount(); ++column)
                window->model().data(window->model().index(row, column), Qt::DisplayRole);
            window->model().data(window->model().index(row, 0), Qt::BackgroundRole);
        }
        window->selectRow(rows - 1);
        window->grab();
        QVERIFY(window->close());
        // The bytes after the last whole record were kept aside before the save.
        QCOMPARE(readRaw(file("data.zrk.bak")), noise);
        QCOMPARE(readRaw(file("data.zrk")), noise.left(qsizetype(rows) * 135));
    }

    void fullLengthBytesAreClamped()
    {
        // Every length byte 255: each field reads as its full capacity.
        QByteArray record(135, 'A');
        for (int offset : { 0, 8, 19, 32, 73, 104 })
            record[offset] = char(255);
        const QByteArray bytes = record.repeated(366);
        QVERIFY(writeRaw(file("data.zrk"), bytes));
        auto window = open();
        QVERIFY(window);
        const QAbstractItemModel& model = window->model();
        QCOMPARE(model.data(model.index(0, 0), Qt::DisplayRole).toString(), QString(7, u'A'));
        QCOMPARE(model.data(model.index(0, 3), Qt::DisplayRole).toString(), QString(40, u'A'));
        window->grab();
        QVERIFY(window->close());
        QCOMPARE(readRaw(file("data.zrk")), bytes);
    }

    void randomSettingsFileOpens()
    {
        closeFirstRun();
        for (quint32 seed = 1; seed <= 8; ++seed) {
            QVERIFY(writeRaw(file("nastaveni.ini"), randomBytes(4096, seed)));
            auto window = open(seed == 1);
            QCOMPARE(window->table().rowCount(), 366);
            const int columns = window->model().columnCount();
            QVERIFY(columns >= 4 && columns <= 6);
            QVERIFY(window->close());
            // What the program wrote back reads the same again.
            const Settings written = window->settings();
            window.reset();
            QVERIFY(open(false)->settings() == written);
        }
    }

    void damagedOverviewFilesAreRebuilt_data()
    {
        QTest::addColumn<QByteArray>("years");
        QTest::addColumn<QByteArray>("days");
        QByteArray many;
        for (int i = 0; i < 10000; ++i)
            many += QByteArray::number(2004 + i) + "\r\n";
        QTest::newRow("letters") << QByteArray("dva tisíce\r\n") << QByteArray("366\r\n");
        QTest::newRow("blank lines") << QByteArray("2004\r\n\r\n\r\n") << QByteArray("\r\n366\r\n");
        QTest::newRow("10000 lines") << many << many;
        QTest::newRow("huge numbers")
            << QByteArray("2004\r\n99999999999999999999\r\n") << QByteArray("366\r\n2147483647\r\n");
    }

    void damagedOverviewFilesAreRebuilt()
    {
        QFETCH(QByteArray, years);
        QFETCH(QByteArray, days);
        closeFirstRun();
        QVERIFY(writeRaw(file("prehled roku.zrk"), years));
        QVERIFY(writeRaw(file("prehled dnu.zrk"), days));
        auto window = open();
        QVERIFY(window);
        QCOMPARE(window->table().years() + window->table().dayCounts(), QStringList({ u"2004"_s, u"366"_s }));
        QCOMPARE(window->statusText(3), u"Počet roků: 1"_s);
        QCOMPARE(said(m_messenger), QStringList { kListsRebuilt });
        QVERIFY(window->close());
        QCOMPARE(readRaw(file("prehled roku.zrk")), QByteArray("2004\r\n"));
    }

    void unwritableProgramDirectoryLendsItsFiles()
    {
        // A directory that cannot take files (here: one that is really a file) sends all of them elsewhere.
        const QString programDir = m_dir->path(), fallback = file("per-user/Zorivka");
        QCOMPARE(program_dir::choose(programDir, fallback), QDir(programDir).absolutePath());
        QVERIFY(writeRaw(file("not-a-dir"), "x"));
        QCOMPARE(program_dir::choose(file("not-a-dir"), fallback), QDir(fallback).absolutePath());
        QVERIFY(QFileInfo(fallback).isDir());
        closeFirstRun();
        const QStringList names { "data.zrk", "nastaveni.ini", "prehled roku.zrk", "prehled dnu.zrk" };
        QMap<QString, QByteArray> original;
        for (const QString& name : names)
            original[name] = readRaw(file(name));
        QTemporaryDir perUser;
        QVERIFY(program_dir::adoptFiles(programDir, perUser.path(), m_messenger));
        QCOMPARE(said(m_messenger).size(), 1);
        QVERIFY(said(m_messenger)[0].startsWith(u"I Informace: "_s));
        QVERIFY(said(m_messenger)[0].contains(QDir::toNativeSeparators(perUser.path())));
        for (const QString& name : names)
            QCOMPARE(readRaw(perUser.filePath(name)), original[name]);
        // Nothing is copied again once the per-user directory has its own data file, nor from a
        // program directory without one, nor onto itself.
        m_messenger.clear();
        QTemporaryDir empty, other;
        QVERIFY(!program_dir::adoptFiles(programDir, perUser.path(), m_messenger));
        QVERIFY(!program_dir::adoptFiles(empty.path(), other.path(), m_messenger));
        QVERIFY(!program_dir::adoptFiles(programDir, programDir, m_messenger));
        QVERIFY(QDir(other.path()).isEmpty());
        QVERIFY(m_messenger.messages().isEmpty());
    }

    void killedAfterAnEditKeepsTheEdit()
    {
        closeFirstRun();
        const QByteArray before = readRaw(file("data.zrk"));
        QProcess child;
        runChild({ u"edit"_s, u"100"_s, u"Zabito po úpravě"_s }, &child);
        QTRY_VERIFY_WITH_TIMEOUT(readRaw(file("data.zrk")) != before, 30000);
        child.kill();
        QVERIFY(child.waitForFinished(10000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        {
            // The killed copy left its lock and its socket behind: neither stops the next one,
            // which is then reached by a later start.
            InstanceLock lock;
            QVERIFY(lock.acquire(m_dir->path()));
            QSignalSpy raised(&lock, &InstanceLock::activationRequested);
            QVERIFY(InstanceLock::activateRunning(m_dir->path()));
            QTRY_COMPARE(raised.count(), 1);
        }
        const QString output = runChild({ u"show"_s, u"100"_s });
        QVERIFY2(!output.contains(u"refused"_s) && !output.contains(u"message:"_s), qPrintable(output));
        QVERIFY2(output.contains(u"event: Zabito po úpravě\n"_s), qPrintable(output));
    }

    void killedOnAFirstRunLeavesTheSettingsBesideTheData()
    {
        QProcess child;
        runChild({ u"edit"_s, u"3"_s, u"První běh"_s }, &child);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(file("data.zrk")), 30000);
        child.kill();
        QVERIFY(child.waitForFinished(10000));
        // The data file is written last, so everything else is already there.
        QVERIFY(cp1250::decode(readRaw(file("nastaveni.ini"))).contains(u"Start=1\r\n"_s));
        QCOMPARE(readRaw(file("prehled roku.zrk")) + readRaw(file("prehled dnu.zrk")),
            QByteArray("2004\r\n366\r\n"));
        const QString output = runChild({ u"show"_s, u"3"_s });
        QVERIFY2(!output.contains(u"refused"_s) && !output.contains(u"message:"_s), qPrintable(output));
        QVERIFY2(output.contains(u"event: První běh\nstart: 1\n"_s), qPrintable(output));
    }

private:
    std::unique_ptr<TForm1> open(bool show = true);
    QString file(const QString& name) const { return m_dir->filePath(name); }
    void closeFirstRun() { QVERIFY(open(false)->close()); }
    QString savedEvent(int row) const;
    QString runChild(const QStringList& args, QProcess* keep = nullptr);

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

QString RobustTest::runChild(const QStringList& args, QProcess* keep)
{
    QProcess local;
    QProcess& child = keep ? *keep : local;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(
        QCoreApplication::applicationDirPath() + u"/crash_child"_s, QStringList { m_dir->path() } + args);
    if (!child.waitForStarted(10000))
        return u"<not started>"_s;
    if (!keep)
        child.waitForFinished(30000);
    return keep ? QString() : QString::fromUtf8(child.readAllStandardOutput());
}

QTEST_MAIN(RobustTest)
#include "tst_robust.moc"
