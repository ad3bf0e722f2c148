#include "app/main_window.h"
#include "calendar/day_table.h"
#include "export/publish_dialog.h"
#include "export/publish_state.h"
#include "export/publishing.h"
#include "parts/publish_part.h"
#include "platform/parts.h"
#include "radicale_server.h"
#include "records/event_record.h"
#include "recording_messenger.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "test_files.h"
#include "window_fixture.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString kUser = RadicaleServer::kUser;
const QString kPassword = RadicaleServer::kPassword;
const QString kPeerUid = QStringLiteral("telefon-1@example.org");

// A table with one event on each of `count` days from 1 January 2027.
std::vector<EventRecord> tableOf(int count)
{
    std::vector<EventRecord> records;
    const QDate first(2027, 1, 1);
    for (int i = 0; i < count; ++i) {
        records.push_back(EventRecord::dayRow(
            QStringLiteral("Po"), first.addDays(i).toString(QStringLiteral("dd.MM.yyyy"))));
        records.back().setText(EventRecord::Field::Time, QStringLiteral("19:30"));
        records.back().setText(
            EventRecord::Field::Event, QStringLiteral("Koncert č. %1; sál, přízemí").arg(i));
        records.back().setText(EventRecord::Field::Value1, QStringLiteral("%1 Kč").arg(100 + i));
    }
    return records;
}

// The lines of a body the listing shows: UID, SUMMARY and DTSTART.
QString listed(const QByteArray& body)
{
    const QStringList lines
        = QString::fromUtf8(body).remove(QStringLiteral("\r\n ")).split(QStringLiteral("\r\n"));
    QStringList picked;
    for (const QString& name :
        { QStringLiteral("UID:"), QStringLiteral("SUMMARY"), QStringLiteral("DTSTART") }) {
        const QString line = lines.filter(QRegularExpression(u'^' + name)).value(0);
        picked << (name == u"UID:" ? line.mid(4) : line);
    }
    return picked.join(u'\t');
}
} // namespace

class TestPublish final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { m_server.stop(); }
    void publishesAndKeepsInStep();
    void conflictIsOverwrittenOnlyWhenAsked_data();
    void conflictIsOverwrittenOnlyWhenAsked();
    void failuresAreNamed_data();
    void failuresAreNamed();
    void stoppedHalfWay_data();
    void stoppedHalfWay();
    void presentResourceIsKept();
    void fromTheWindowAndTheCommandLine();
    void stateIsRebuilt_data();
    void stateIsRebuilt();

private:
    // Publishes the table to `collection`: the messenger's last text, and what went on the wire.
    QString publish(const std::vector<EventRecord>& records, const QUrl& collection, publish::Traffic& sent,
        const QString& password = kPassword, const publishing::Progress& progress = {});
    // What the other client sees in the collection, and what it should see.
    QStringList seen(const QUrl& collection);
    QStringList expected(const std::vector<EventRecord>& records, bool withPeer = true);
    void addPeerEvent(const QUrl& collection, const QString& uid, const QString& text);

    QTemporaryDir m_root;
    QTemporaryDir m_dir;
    RadicaleServer m_server;
    PublishPart* m_part = nullptr;
    Settings m_settings;
    RecordingMessenger m_messenger;
};

void TestPublish::initTestCase()
{
    QString error;
    m_part = parts::load<PublishPart>(publishing::kPart, &error);
    QVERIFY2(m_part, qPrintable(error));
    QVERIFY(m_server.start(m_root.path()));
}

QString TestPublish::publish(const std::vector<EventRecord>& records, const QUrl& collection,
    publish::Traffic& sent, const QString& password, const publishing::Progress& progress)
{
    const publish::Traffic before = m_part->traffic();
    m_messenger.clear();
    publishing::publish(*m_part,
        { m_dir.path(), records, m_settings, { collection, kUser, password },
            QDateTime::currentDateTimeUtc() },
        m_messenger, progress);
    const publish::Traffic after = m_part->traffic();
    sent = { after.puts - before.puts, after.deletes - before.deletes, after.propfinds - before.propfinds };
    return m_messenger.texts().value(0);
}

QStringList TestPublish::seen(const QUrl& collection)
{
    QStringList lines = RadicaleServer::runPython(
        { QFINDTESTDATA("caldav_peer.py"), collection.toString(), kUser, kPassword, QStringLiteral("list") })
                            .split(u'\n', Qt::SkipEmptyParts);
    lines.sort();
    return lines;
}

QStringList TestPublish::expected(const std::vector<EventRecord>& records, bool withPeer)
{
    QStringList lines;
    const std::vector<publish_state::Item> items = publish_state::items(records, m_settings, {}).value();
    for (const publish_state::Item& item : items)
        lines << listed(item.body);
    if (withPeer)
        lines << kPeerUid + QStringLiteral("\tSUMMARY:Porada\tDTSTART;VALUE=DATE:20270105");
    lines.sort();
    return lines;
}

void TestPublish::addPeerEvent(const QUrl& collection, const QString& uid, const QString& text)
{
    // No text deletes the event.
    RadicaleServer::runPython(QStringList { QFINDTESTDATA("caldav_peer.py"), collection.toString(), kUser,
                                  kPassword, QStringLiteral("put"), uid }
        + (text.isEmpty() ? QStringList() : QStringList { text }));
}

void TestPublish::publishesAndKeepsInStep()
{
    const QUrl collection = m_server.calendar(QStringLiteral("akce"));
    addPeerEvent(collection, kPeerUid, QStringLiteral("Porada"));
    std::vector<EventRecord> records = tableOf(300);
    publish::Traffic sent;

    QCOMPARE(publish(records, collection, sent),
        QStringLiteral("Publikováno na server: nových akcí 300, změněných 0, smazaných 0."));
    QCOMPARE(sent.puts, 300);
    QCOMPARE(sent.deletes, 0);
    const QStringList first = seen(collection);
    QCOMPARE(first, expected(records));
    QVERIFY(first.contains(publish_state::items(records, m_settings, {}).value()[0].uid
        + QStringLiteral("\tSUMMARY:Koncert č. 0\\; sál\\, přízemí\tDTSTART:20270101T193000")));

    QCOMPARE(publish(records, collection, sent),
        QStringLiteral("Kalendář na serveru je aktuální, nebylo co odeslat."));
    QCOMPARE(sent.puts + sent.deletes, 0);

    // An edit is a new UID: the old resource goes, the new one comes.
    records[17].setText(EventRecord::Field::Event, QStringLiteral("Koncert přeložen"));
    publish(records, collection, sent);
    QCOMPARE(sent.puts, 1);
    QCOMPARE(sent.deletes, 1);
    for (const auto field :
        { EventRecord::Field::Time, EventRecord::Field::Event, EventRecord::Field::Value1 })
        records[40].setText(field, {});
    QCOMPARE(publish(records, collection, sent),
        QStringLiteral("Publikováno na server: nových akcí 0, změněných 0, smazaných 1."));
    QCOMPARE(sent.puts, 0);
    QCOMPARE(sent.deletes, 1);
    // A column title is in every body but in no UID: each resource is replaced in place.
    m_settings.items[4].title = QStringLiteral("Vstupné");
    QCOMPARE(publish(records, collection, sent),
        QStringLiteral("Publikováno na server: nových akcí 0, změněných 299, smazaných 0."));
    QCOMPARE(sent.deletes, 0);
    m_settings = Settings();
    publish(records, collection, sent);
    QCOMPARE(seen(collection), expected(records));
}

void TestPublish::conflictIsOverwrittenOnlyWhenAsked_data()
{
    QTest::addColumn<QString>("peer");
    QTest::addColumn<bool>("overwrite");
    QTest::addColumn<QString>("question");
    QTest::addColumn<int>("left");
    QTest::addColumn<QString>("summary");
    const QString done = QStringLiteral("Publikováno na server: nových akcí 1, změněných 0, smazaných 1.");
    const QString question = QStringLiteral(
        "Akcí, které mezitím na serveru změnil někdo jiný (412): 1.\n\nPřepsat je verzí ze Zorivky?");
    QTest::newRow("changed, kept")
        << QStringLiteral("Porada") << false << question << 4
        << QStringLiteral(
               "Publikováno na server: nových akcí 1, změněných 0, smazaných 0.\nAkce, které mezitím "
               "na serveru změnil někdo jiný (412), nebyly přepsány: 1.");
    QTest::newRow("changed, overwritten") << QStringLiteral("Porada") << true << question << 3 << done;
    // Gone already is what the deletion wants: no question.
    QTest::newRow("deleted") << QString() << false << QString() << 3 << done;
}

void TestPublish::conflictIsOverwrittenOnlyWhenAsked()
{
    QFETCH(QString, peer);
    QFETCH(bool, overwrite);
    QFETCH(QString, question);
    QFETCH(int, left);
    QFETCH(QString, summary);
    QFile::remove(m_dir.filePath(publish_state::kFileName));
    const QUrl collection = m_server.calendar(QStringLiteral("spor-%1").arg(QTest::currentDataTag()));
    std::vector<EventRecord> records = tableOf(3);
    publish::Traffic sent;
    publish(records, collection, sent);
    // Another client changes or deletes an event that the table then drops.
    addPeerEvent(collection, publish_state::items(records, m_settings, {}).value()[1].uid, peer);
    records[1].setText(EventRecord::Field::Event, QStringLiteral("Jinak"));
    m_messenger.scriptAnswers({ overwrite });
    publish(records, collection, sent);
    QCOMPARE(m_messenger.messages().first().icon == Messenger::Icon::Question ? m_messenger.texts().first()
                                                                              : QString(),
        question);
    QCOMPARE(m_messenger.texts().last(), summary);
    QCOMPARE(seen(collection).join(u'\n').contains(QStringLiteral("SUMMARY:Porada")), left == 4);
    QCOMPARE(seen(collection).size(), left);
}

void TestPublish::failuresAreNamed_data()
{
    QTest::addColumn<QString>("collection");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("message");
    QTest::newRow("401") << QStringLiteral("akce") << QStringLiteral("špatné")
                         << QStringLiteral("Server odmítl uživatelské jméno nebo heslo (401).");
    QTest::newRow("404") << QStringLiteral("neni") << kPassword
                         << QStringLiteral(
                                "Kalendář „%1“ na serveru neexistuje (404). Zkontrolujte adresu kalendáře.");
    QTest::newRow("http") << QStringLiteral("http://example.org/cal/") << kPassword
                          << QStringLiteral("Adresa „http://example.org/cal/“ nepoužívá šifrované spojení "
                                            "https://. Heslo lze poslat nešifrovaně (http://) jen na tento "
                                            "počítač: localhost nebo 127.0.0.1.");
}

void TestPublish::failuresAreNamed()
{
    QFETCH(QString, collection);
    QFETCH(QString, password);
    QFETCH(QString, message);
    QUrl url
        = m_server.calendar(QStringLiteral("akce")).resolved(QUrl(QStringLiteral("../") + collection + u'/'));
    if (collection.startsWith(QStringLiteral("http")))
        url = QUrl(collection);
    publish::Traffic sent;
    QCOMPARE(publish(tableOf(5), url, sent, password),
        QString(message).replace(QStringLiteral("%1"), url.toString()));
    QCOMPARE(sent.puts + sent.deletes, 0);
}

void TestPublish::stoppedHalfWay_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("server stopped") << false;
    QTest::newRow("cancelled") << true;
}

void TestPublish::stoppedHalfWay()
{
    QFETCH(bool, cancel);
    QFile::remove(m_dir.filePath(publish_state::kFileName));
    const QUrl collection = m_server.calendar(QStringLiteral("polovina-%1").arg(cancel));
    const std::vector<EventRecord> records = tableOf(200);
    publish::Traffic sent;
    QCOMPARE(publish(records, collection, sent, kPassword,
                 [this, cancel](int done, int) {
                     if (done == 60)
                         cancel ? m_part->cancel() : m_server.stop();
                 }),
        cancel
            ? QStringLiteral("Publikování bylo zrušeno. Co už bylo odesláno, zůstává na serveru; zbytek se "
                             "odešle při dalším publikování.")
            : QStringLiteral("Nelze se spojit se serverem 127.0.0.1.\nConnection refused"));
    publish_state::State state;
    QCOMPARE(publish_state::read(m_dir.path(), collection.toString(), state), publish_state::ReadResult::Ok);
    QVERIFY(state.entries.size() >= 60 && state.entries.size() < 200);
    if (!cancel)
        QVERIFY(m_server.start(m_root.path()));
    publish(records, collection, sent);
    // What got through is not sent again.
    QCOMPARE(sent.puts, 200 - int(state.entries.size()));
    QCOMPARE(seen(collection), expected(records, false));
    publish(records, collection, sent);
    QCOMPARE(sent.puts + sent.deletes, 0);
}

void TestPublish::presentResourceIsKept()
{
    QFile::remove(m_dir.filePath(publish_state::kFileName));
    const QUrl collection = m_server.calendar(QStringLiteral("predem"));
    const std::vector<EventRecord> records = tableOf(2);
    const QString uid = publish_state::items(records, m_settings, {}).value()[0].uid;
    publish::Traffic sent;
    publish({}, collection, sent);
    // As after a publish whose answer never came: the server has the UID, the state does not.
    addPeerEvent(collection, uid, QStringLiteral("Porada"));
    QCOMPARE(publish(records, collection, sent),
        QStringLiteral("Publikováno na server: nových akcí 2, změněných 0, smazaných 0."));
    QVERIFY(seen(collection).join(u'\n').contains(uid + QStringLiteral("\tSUMMARY:Porada")));
    publish(records, collection, sent);
    QCOMPARE(sent.puts + sent.deletes, 0);
}

void TestPublish::fromTheWindowAndTheCommandLine()
{
    QTemporaryDir dir;
    RecordingMessenger messenger;
    auto window = fixture::openWindow(dir.path(), messenger);
    QVERIFY(window);
    for (int row : { 3, 40 })
        QVERIFY(window->table().insertRecord(
            row, fixture::extraRow(QStringLiteral("18:00"), QStringLiteral("Ples"))));
    const QUrl collection = m_server.calendar(QStringLiteral("okno"));
    // The dialog comes once the password store has answered, in an event loop of its own.
    QTimer poll;
    bool came = false;
    bool emptyRefused = false;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto* dialog = qobject_cast<Tpublikovat*>(QApplication::activeModalWidget());
        if (!dialog || std::exchange(came, true))
            return;
        emptyRefused = !fixture::child<QPushButton>(dialog, QStringLiteral("Button1"))->isEnabled();
        for (const auto& [name, text] :
            { std::pair { "Adresa", collection.toString() }, { "Jmeno", kUser }, { "Heslo", kPassword } })
            fixture::typeText(fixture::child<QLineEdit>(dialog, QString::fromLatin1(name)), text);
        fixture::child<QCheckBox>(dialog, QStringLiteral("Zapamatovat"))->setChecked(true);
        fixture::click(dialog, QStringLiteral("Button1"));
    });
    poll.start(10);
    window->findChild<QAction*>(QStringLiteral("Publikovat1"))->trigger();
    QVERIFY(came && emptyRefused);
    QCOMPARE(fixture::described(messenger),
        QStringList {
            QStringLiteral("Information|Publikovat|Publikováno na server: nových akcí 2, změněných 0, "
                           "smazaných 0.") });
    // The address and the name follow the program's own sections; the password is not there.
    QTemporaryDir plain;
    QVERIFY(settings_file::write(plain.path(), window->settings()));
    const QByteArray ini = test_files::readRaw(dir.filePath(settings_file::kFileName));
    QVERIFY(ini.startsWith(test_files::readRaw(plain.filePath(settings_file::kFileName))));
    QVERIFY(
        ini.endsWith("[Publikov\xe1n\xed]\r\nAdresa=" + collection.toEncoded() + "\r\nU\x9eivatel=anna\r\n"));
    window->close();
    window.reset();

    // A scheduled job: the program with the password on standard input.
    const QString program = dir.filePath(QStringLiteral("zorivka"));
    QVERIFY(QFile::copy(QStringLiteral(ZORIVKA_EXECUTABLE), program));
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ZORIVKA_PARTS_DIR"), QStringLiteral(ZORIVKA_PARTS_DIR));
    process.setProcessEnvironment(environment);
    for (const auto& [password, status, output] :
        { std::tuple { kPassword, 0, "Kalendář na serveru je aktuální" },
            std::tuple { QStringLiteral("špatné"), 1, "(401)" } }) {
        process.start(program, { QStringLiteral("--publish") });
        process.write(password.toUtf8() + '\n');
        process.closeWriteChannel();
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), status);
        QVERIFY(QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError())
                    .contains(QString::fromUtf8(output)));
    }
}

void TestPublish::stateIsRebuilt_data()
{
    QTest::addColumn<QByteArray>("state");
    QTest::newRow("missing") << QByteArray();
    QTest::newRow("damaged") << QByteArray("Zorivka publikace 1\nhttp://\nx\ty\n");
    QTest::newRow("truncated") << QByteArray("Zorivka publikace 1\n");
}

void TestPublish::stateIsRebuilt()
{
    QFETCH(QByteArray, state);
    const QUrl collection = m_server.calendar(QStringLiteral("akce"));
    const std::vector<EventRecord> records = tableOf(299);
    const QString path = m_dir.filePath(publish_state::kFileName);
    publish::Traffic sent;
    publish(records, collection, sent);
    QFile::remove(path);
    if (!state.isEmpty())
        QVERIFY(test_files::writeRaw(path, state));
    // The other client's event stays; the events of the table are known again and not resent.
    QCOMPARE(publish(records, collection, sent),
        QStringLiteral("Kalendář na serveru je aktuální, nebylo co odeslat."));
    QCOMPARE(sent.puts + sent.deletes, 0);
    QCOMPARE(publish(tableOf(298), collection, sent),
        QStringLiteral("Publikováno na server: nových akcí 0, změněných 0, smazaných 1."));
    QCOMPARE(seen(collection), expected(tableOf(298)));
}

QTEST_MAIN(TestPublish)
#include "tst_publish.moc"
