#include "parts/publish/dav_client.h"

#include <QEventLoop>
#include <QNetworkRequest>
#include <QTimer>
#include <QXmlStreamReader>

namespace {
using publish::Problem;

constexpr int kInFlight = 4;
constexpr int kRetries = 3;
constexpr int kFirstPauseMs = 400;
constexpr int kTransferTimeoutMs = 30000;

const QString kDav = QStringLiteral("DAV:");
const QString kCalDav = QStringLiteral("urn:ietf:params:xml:ns:caldav");

QByteArray propfindBody(const QByteArray& properties)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<d:propfind xmlns:d=\"DAV:\"><d:prop>" + properties
        + "</d:prop></d:propfind>";
}

struct Member {
    QString href;
    QString etag;
    bool calendar = false;
};

// The responses of a multistatus answer.
std::vector<Member> membersOf(const QByteArray& xml)
{
    std::vector<Member> members;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto name = reader.name();
        const auto space = reader.namespaceUri();
        if (space == kDav && name == u"response")
            members.emplace_back();
        else if (members.empty())
            continue;
        else if (space == kDav && name == u"href")
            members.back().href = reader.readElementText().trimmed();
        else if (space == kDav && name == u"getetag")
            members.back().etag = reader.readElementText().trimmed();
        else if (space == kCalDav && name == u"calendar")
            members.back().calendar = true;
    }
    if (reader.hasError())
        members.clear();
    return members;
}

bool isLocal(const QUrl& url)
{
    const QString host = url.host().toLower();
    return host == u"localhost" || host == u"127.0.0.1";
}

// A lost connection, a timeout or a server's passing trouble; never a certificate.
bool transient(int status, QNetworkReply::NetworkError error)
{
    if (status >= 500)
        return true;
    return status == 0 && error != QNetworkReply::SslHandshakeFailedError;
}
} // namespace

publish::Result resultOf(int status, bool noAnswer, bool cancelled, const QString& detail)
{
    publish::Result result;
    result.status = status;
    result.detail = detail;
    if (cancelled)
        result.problem = Problem::Cancelled;
    else if (noAnswer)
        result.problem = Problem::NoConnection;
    else if (status >= 200 && status < 300)
        result.problem = Problem::None;
    else if (status == 401)
        result.problem = Problem::Unauthorized;
    // 409: the collection a resource is put into does not exist.
    else if (status == 404 || status == 409)
        result.problem = Problem::NoCollection;
    else if (status == 403 || status == 507)
        result.problem = Problem::Refused;
    else if (status == 412)
        result.problem = Problem::Conflict;
    else
        result.problem = Problem::Server;
    return result;
}

DavClient::DavClient(QObject* parent)
    : QObject(parent)
{
}

bool DavClient::begin(const publish::Connection& connection, publish::Result& refusal)
{
    m_cancelled = false;
    QUrl url = connection.collection.adjusted(QUrl::NormalizePathSegments);
    const QString scheme = url.scheme().toLower();
    // Basic authentication sends the password as it is: only over TLS, or to this computer.
    if (!url.isValid() || url.host().isEmpty()
        || (scheme != u"https" && !(scheme == u"http" && isLocal(url)))) {
        refusal.problem = Problem::Insecure;
        refusal.detail = url.toString();
        return false;
    }
    if (!url.path().endsWith(u'/'))
        url.setPath(url.path() + u'/');
    m_collection = url;
    m_authorization = "Basic " + (connection.user.toUtf8() + ':' + connection.password.toUtf8()).toBase64();
    return true;
}

QUrl DavClient::resourceUrl(const QString& uid) const
{
    return m_collection.resolved(
        QUrl(QString::fromLatin1(QUrl::toPercentEncoding(uid + QStringLiteral(".ics")))));
}

DavClient::Request DavClient::propfind(const QUrl& url, int depth, const QByteArray& properties) const
{
    return { "PROPFIND", url, propfindBody(properties),
        { { "Depth", QByteArray::number(depth) }, { "Content-Type", "application/xml; charset=utf-8" } } };
}

void DavClient::exchange(const Request& request, const Handler& handler, int attempt)
{
    if (m_cancelled) {
        Answer answer;
        answer.cancelled = true;
        handler(answer);
        return;
    }
    QNetworkRequest http(request.url);
    http.setRawHeader("Authorization", m_authorization);
    http.setRawHeader("User-Agent", "Zorivka");
    for (const auto& [name, value] : request.headers)
        http.setRawHeader(name, value);
    http.setTransferTimeout(kTransferTimeoutMs);
    // The password goes with every request: never to another server.
    http.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
    if (request.verb == "PUT")
        ++m_traffic.puts;
    else if (request.verb == "DELETE")
        ++m_traffic.deletes;
    else
        ++m_traffic.propfinds;
    QNetworkReply* reply = m_network.sendCustomRequest(http, request.verb, request.body);
    m_replies.insert(reply);
    connect(reply, &QNetworkReply::finished, this,
        [this, reply, request, handler, attempt] { retryOrAnswer(reply, request, handler, attempt); });
}

void DavClient::retryOrAnswer(
    QNetworkReply* reply, const Request& request, const Handler& handler, int attempt)
{
    m_replies.remove(reply);
    reply->deleteLater();
    Answer answer;
    answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    answer.error = reply->error();
    answer.errorText = reply->errorString();
    answer.etag = QString::fromLatin1(reply->rawHeader("ETag"));
    answer.body = reply->readAll();
    answer.cancelled = m_cancelled;
    if (!answer.cancelled && attempt < kRetries && transient(answer.status, answer.error)) {
        QTimer::singleShot(kFirstPauseMs << attempt, this,
            [this, request, handler, attempt] { exchange(request, handler, attempt + 1); });
        return;
    }
    handler(answer);
}

DavClient::Answer DavClient::exchangeAndWait(const Request& request)
{
    QEventLoop loop;
    Answer answer;
    bool answered = false;
    exchange(request, [&loop, &answer, &answered](const Answer& a) {
        answer = a;
        answered = true;
        loop.quit();
    });
    if (!answered)
        loop.exec();
    return answer;
}

publish::Result DavClient::check(const publish::Connection& connection)
{
    publish::Result result;
    if (!begin(connection, result))
        return result;
    const Answer answer = exchangeAndWait(propfind(m_collection, 0, "<d:resourcetype/>"));
    result = resultOf(answer.status, answer.status == 0, answer.cancelled, answer.errorText);
    if (result.problem != Problem::None)
        return result;
    const std::vector<Member> members = membersOf(answer.body);
    if (members.empty() || !members.front().calendar)
        result.problem = Problem::NoCollection;
    return result;
}

publish::Result DavClient::list(const publish::Connection& connection, std::vector<publish::Resource>& out)
{
    publish::Result result;
    if (!begin(connection, result))
        return result;
    const Answer answer = exchangeAndWait(propfind(m_collection, 1, "<d:getetag/>"));
    result = resultOf(answer.status, answer.status == 0, answer.cancelled, answer.errorText);
    if (result.problem != Problem::None)
        return result;
    out.clear();
    for (const Member& member : membersOf(answer.body)) {
        const QString path = QUrl(member.href).path(QUrl::FullyDecoded);
        if (path.endsWith(u'/'))
            continue; // the collection itself
        QString name = path.mid(path.lastIndexOf(u'/') + 1);
        if (name.endsWith(QStringLiteral(".ics")))
            name.chop(4);
        out.push_back({ name, member.etag });
    }
    return result;
}

publish::Result DavClient::send(const publish::Connection& connection,
    const std::vector<publish::Operation>& operations,
    const std::function<void(std::size_t, const publish::Result&)>& done)
{
    m_outcome = {};
    if (!begin(connection, m_outcome) || operations.empty())
        return m_outcome;
    m_operations = &operations;
    m_done = done;
    m_next = 0;
    m_inFlight = 0;
    QEventLoop loop;
    m_loop = &loop;
    startOperations();
    if (m_inFlight > 0)
        loop.exec();
    m_loop = nullptr;
    m_operations = nullptr;
    m_done = nullptr;
    return m_outcome;
}

void DavClient::cancel()
{
    m_cancelled = true;
    for (QNetworkReply* reply : QSet<QNetworkReply*>(m_replies))
        reply->abort();
}

void DavClient::startOperations()
{
    const bool stopped = m_cancelled || m_outcome.problem != Problem::None;
    while (!stopped && m_inFlight < kInFlight && m_next < m_operations->size()) {
        ++m_inFlight;
        runOperation(m_next++);
    }
    if (m_inFlight == 0 && m_loop)
        m_loop->quit();
}

void DavClient::runOperation(std::size_t index)
{
    using Kind = publish::Operation::Kind;
    const publish::Operation& operation = (*m_operations)[index];
    Request request { operation.kind == Kind::Remove ? "DELETE" : "PUT", resourceUrl(operation.uid), {}, {} };
    if (operation.kind == Kind::Create)
        request.headers.emplaceBack("If-None-Match", "*");
    else if (!operation.etag.isEmpty())
        request.headers.emplaceBack("If-Match", operation.etag.toLatin1());
    if (operation.kind != Kind::Remove) {
        request.body = operation.body;
        request.headers.emplaceBack("Content-Type", "text/calendar; charset=utf-8");
    }
    exchange(request, [this, index, kind = operation.kind](const Answer& answer) {
        publish::Result result
            = resultOf(answer.status, answer.status == 0, answer.cancelled, answer.errorText);
        result.etag = answer.etag;
        if (kind == Kind::Remove && answer.status == 404)
            result.problem = Problem::None; // gone already: what a removal wants
        // The server has this UID already: an earlier publish sent it but never heard the answer.
        // UIDs come from the event's texts, so the resource is this very event.
        const bool adopted = kind == Kind::Create && result.problem == Problem::Conflict;
        if (kind != Kind::Remove && (adopted || (result.problem == Problem::None && result.etag.isEmpty())))
            fetchEtag(index);
        else
            finishOperation(index, result);
    });
}

void DavClient::fetchEtag(std::size_t index)
{
    exchange(propfind(resourceUrl((*m_operations)[index].uid), 0, "<d:getetag/>"),
        [this, index](const Answer& answer) {
            publish::Result result
                = resultOf(answer.status, answer.status == 0, answer.cancelled, answer.errorText);
            if (result.problem == Problem::None) {
                const std::vector<Member> members = membersOf(answer.body);
                result.etag = members.empty() ? QString() : members.front().etag;
            }
            finishOperation(index, result);
        });
}

void DavClient::finishOperation(std::size_t index, const publish::Result& result)
{
    --m_inFlight;
    if (result.problem != Problem::Conflict && result.problem != Problem::None
        && m_outcome.problem == Problem::None)
        m_outcome = result;
    if (m_done)
        m_done(index, result);
    startOperations();
}
