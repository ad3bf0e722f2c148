#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <vector>

// Publishing to a CalDAV calendar collection: the HTTP client and the desktop's
// password store, in a part so that start-up never loads QtNetwork or the store.
namespace publish {

struct Connection {
    QUrl collection; // the calendar collection; its resources are "<UID>.ics" beside each other
    QString user;
    QString password;
};

// What went wrong, as the program names it to the user.
enum class Problem {
    None,
    Insecure, // plain http to a host other than this computer
    NoConnection, // no answer, after the retries
    Unauthorized, // 401
    NoCollection, // 404, or the address is not a calendar collection
    Refused, // 403, 507: the server does not take the write
    Conflict, // 412: the resource is not what the program last sent
    Server, // 5xx after the retries, or an answer the program does not expect
    Cancelled,
};

struct Result {
    Problem problem = Problem::None;
    int status = 0; // the HTTP status, 0 without an answer
    QString etag; // the resource's ETag after a write
    QString detail; // the transport's own words, for the message
};

struct Operation {
    enum class Kind { Create, Replace, Remove };
    Kind kind = Kind::Create;
    QString uid;
    QByteArray body; // a whole VCALENDAR (Create, Replace)
    QString etag; // Replace, Remove: the resource must still have it; empty overwrites whatever is there
};

// A resource of the collection: its name without ".ics", and its ETag.
struct Resource {
    QString uid;
    QString etag;
};

// Requests sent since the part was loaded, by method.
struct Traffic {
    int puts = 0;
    int deletes = 0;
    int propfinds = 0;
};

enum class Store { Ok, NotFound, Unavailable };

} // namespace publish

class PublishPart {
public:
    virtual ~PublishPart() = default;

    // Each call below returns when its work is done, running the event loop meanwhile.

    // Checks that the address is a calendar collection the user may reach.
    virtual publish::Result check(const publish::Connection& connection) = 0;
    // The collection's member resources.
    virtual publish::Result list(const publish::Connection& connection, std::vector<publish::Resource>& out)
        = 0;
    // Sends the operations, a few at a time; `done` gets each finished one's index and result
    // as it ends. Stops early at the first failure that concerns the whole collection
    // (anything but a conflict), or at cancel(); operations not reported were not completed.
    virtual publish::Result send(const publish::Connection& connection,
        const std::vector<publish::Operation>& operations,
        const std::function<void(std::size_t, const publish::Result&)>& done)
        = 0;
    // Aborts what is in flight; may be called from `done` or from any event while sending.
    virtual void cancel() = 0;
    virtual publish::Traffic traffic() const = 0;

    // The desktop's password store, under the program's name and `key`.
    virtual publish::Store readPassword(const QString& key, QString& password, QString& error) = 0;
    virtual publish::Store writePassword(const QString& key, const QString& password, QString& error) = 0;
};

#define PublishPart_iid "cz.zorivka.PublishPart/1"
Q_DECLARE_INTERFACE(PublishPart, PublishPart_iid)
