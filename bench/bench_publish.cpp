// Publishing to Radicale on this computer (python3-radicale, started here): events per
// second for a first publish of 500 and of 2,000 events, and for a second publish of the
// 2,000 with one event changed (one DELETE and one PUT). Radicale slows as a collection
// grows, so the figures are the server's as much as the program's.
#include "export/publish_state.h"
#include "export/publishing.h"
#include "parts/publish_part.h"
#include "platform/messenger.h"
#include "platform/parts.h"
#include "radicale_server.h"
#include "records/event_record.h"
#include "settings/settings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace {
class Quiet final : public Messenger {
public:
    void show(Icon, const QString&, const QString& text) override { m_last = text; }
    bool ask(const QString&, const QString&) override { return false; }
    QString m_last;
};

std::vector<EventRecord> tableOf(int count)
{
    std::vector<EventRecord> records;
    for (int i = 0; i < count; ++i) {
        records.push_back(EventRecord::dayRow(
            QStringLiteral("Po"), QDate(2027, 1, 1).addDays(i).toString(QStringLiteral("dd.MM.yyyy"))));
        records.back().setText(EventRecord::Field::Time, QStringLiteral("19:30"));
        records.back().setText(EventRecord::Field::Event, QStringLiteral("Koncert č. %1").arg(i));
        records.back().setText(EventRecord::Field::Value1, QStringLiteral("Velký sál"));
    }
    return records;
}

// One publish: its time, and how many requests of each kind it sent.
void measure(PublishPart& part, const QString& label, const std::vector<EventRecord>& records,
    const QUrl& url, const QString& dir, int events)
{
    const Settings settings;
    Quiet messenger;
    const publish::Traffic before = part.traffic();
    QElapsedTimer timer;
    timer.start();
    publishing::publish(part,
        { dir, records, settings, { url, RadicaleServer::kUser, RadicaleServer::kPassword },
            QDateTime::currentDateTimeUtc() },
        messenger);
    const double seconds = timer.nsecsElapsed() / 1e9;
    const publish::Traffic after = part.traffic();
    std::printf("%-40s %6.2f s %8.1f events/s  PUT %d DELETE %d PROPFIND %d\n", qPrintable(label), seconds,
        events / seconds, after.puts - before.puts, after.deletes - before.deletes,
        after.propfinds - before.propfinds);
    std::fflush(stdout);
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QString error;
    auto* part = parts::load<PublishPart>(publishing::kPart, &error);
    if (!part) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    QTemporaryDir root;
    RadicaleServer server;
    if (!server.start(root.path()))
        return 1;
    for (const int count : { 500, 2000 }) {
        QTemporaryDir dir;
        std::vector<EventRecord> records = tableOf(count);
        const QUrl url = server.calendar(QStringLiteral("bench%1").arg(count));
        measure(
            *part, QStringLiteral("first publish, %1 events").arg(count), records, url, dir.path(), count);
        if (count == 2000) {
            records[1000].setText(EventRecord::Field::Event, QStringLiteral("Koncert přeložen"));
            measure(*part, QStringLiteral("second publish, %1 events, 1 edited").arg(count), records, url,
                dir.path(), count);
        }
    }
    return 0;
}
