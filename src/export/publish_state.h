#pragma once

#include "parts/publish_part.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <map>
#include <optional>
#include <vector>

struct EventRecord;
struct Settings;

// What publishing sends and what it remembers having sent: one resource per event,
// the state file beside data.zrk, and the difference between the two.
namespace publish_state {

inline const QString kFileName = QStringLiteral("publikace.zrk");

// An event as a resource: its UID, a VCALENDAR of its own, and a hash of that body that
// leaves out DTSTAMP (the moment of publishing, which changes every time).
struct Item {
    QString uid;
    QByteArray body;
    QByteArray hash;
};
// Nothing when the iCalendar part cannot be loaded, with the reason (Czech) in `error`.
std::optional<std::vector<Item>> items(const std::vector<EventRecord>& records, const Settings& settings,
    const QDateTime& stamp, QString* error = nullptr);
QByteArray hashOf(const QByteArray& body);

// A published event: the ETag the server gave it and the hash of what was sent; an
// empty hash when the entry was rebuilt from the server's list.
struct Entry {
    QString etag;
    QByteArray hash;
};
struct State {
    QString collection; // the address the entries belong to
    std::map<QString, Entry> entries; // by UID
};

enum class ReadResult { Ok, Missing, Damaged };
// Damaged covers a state file of another collection too: either way it is rebuilt.
ReadResult read(const QString& dir, const QString& collection, State& state);
bool write(const QString& dir, const State& state, QString* error = nullptr);
// The program's own resources of a collection: those whose UIDs end in the export's domain.
State rebuilt(const QString& collection, const std::vector<publish::Resource>& resources);

// The requests that bring the collection in step with `items`, and the hash each one sends.
struct Plan {
    std::vector<publish::Operation> operations;
    std::vector<QByteArray> hashes;
};
// A rebuilt entry whose UID is still an event is taken as up to date: its UID says its texts.
Plan plan(const std::vector<Item>& items, State& state);
// Records a finished operation in the state; a failed one leaves the state as it was.
void apply(
    State& state, const publish::Operation& operation, const QByteArray& hash, const publish::Result& result);

// The connection settings in nastaveni.ini, in a section of their own; never the password.
struct Address {
    QString collection;
    QString user;
};
Address readAddress(const QString& dir);
// `settings` are written first when the file has none yet, so that their sections stay in front.
bool writeAddress(const QString& dir, const Address& address, const Settings& settings);

} // namespace publish_state
