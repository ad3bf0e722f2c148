#pragma once

#include "parts/publish_part.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <vector>

class Messenger;
class PublishPart;
struct EventRecord;
struct Settings;

// Brings a CalDAV calendar collection in step with the day table, one way: the window's
// "Publikovat..." and the command line's --publish. The network work is the publish part's.
namespace publishing {

inline const QString kTitle = QStringLiteral("Publikovat");
// The part's name (parts::load).
inline const QString kPart = QStringLiteral("publish");

struct Request {
    QString dir; // where data.zrk and the state file are
    const std::vector<EventRecord>& records;
    const Settings& settings;
    publish::Connection connection;
    QDateTime stamp;
};

struct Outcome {
    bool ok = false; // everything in step (conflicts the user chose to keep are not)
    int created = 0;
    int replaced = 0;
    int removed = 0;
};

// done, total: the requests sent so far and in all.
using Progress = std::function<void(int done, int total)>;

// Publishes and says how it went through the messenger: a summary, or what went wrong. A
// conflict (the resource changed on the server) is overwritten only when the messenger's
// question is answered Yes. The state file records every request that got through.
Outcome publish(
    PublishPart& part, const Request& request, Messenger& messenger, const Progress& progress = {});

// The collection's address as the user wrote it; https:// when no scheme is given.
QUrl collectionUrl(const QString& text);

// The password store's key for an account of a collection.
QString passwordKey(const QString& collection, const QString& user);

// The message for a failure of the part.
QString messageOf(const publish::Result& result, const QUrl& collection);

} // namespace publishing
