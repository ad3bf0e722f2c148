#pragma once

#include "parts/publish_part.h"

#include <QList>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QPair>
#include <QSet>

class QEventLoop;

// The WebDAV side of CalDAV that publishing needs: PUT and DELETE with preconditions,
// PROPFIND for ETags and the collection's members. At most four requests are in flight
// (the manager reuses connections where the server keeps them open); a timeout, a lost
// connection or a 5xx answer is retried a few times with growing pauses.
class DavClient final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DavClient)

public:
    explicit DavClient(QObject* parent = nullptr);

    publish::Result check(const publish::Connection& connection);
    publish::Result list(const publish::Connection& connection, std::vector<publish::Resource>& out);
    publish::Result send(const publish::Connection& connection,
        const std::vector<publish::Operation>& operations,
        const std::function<void(std::size_t, const publish::Result&)>& done);
    void cancel();
    publish::Traffic traffic() const { return m_traffic; }

private:
    struct Request {
        QByteArray verb;
        QUrl url;
        QByteArray body;
        QList<QPair<QByteArray, QByteArray>> headers;
    };
    struct Answer {
        int status = 0;
        QNetworkReply::NetworkError error = QNetworkReply::NoError;
        QString errorText;
        QString etag;
        QByteArray body;
        bool cancelled = false;
    };
    using Handler = std::function<void(const Answer&)>;

    // Takes the connection for the calls that follow; false (with the reason) when it is not usable.
    bool begin(const publish::Connection& connection, publish::Result& refusal);
    void exchange(const Request& request, const Handler& handler, int attempt = 0);
    Answer exchangeAndWait(const Request& request);
    void retryOrAnswer(QNetworkReply* reply, const Request& request, const Handler& handler, int attempt);
    Request propfind(const QUrl& url, int depth, const QByteArray& properties) const;
    QUrl resourceUrl(const QString& uid) const;

    void startOperations();
    void runOperation(std::size_t index);
    void fetchEtag(std::size_t index);
    void finishOperation(std::size_t index, const publish::Result& result);

    QNetworkAccessManager m_network;
    QUrl m_collection;
    QByteArray m_authorization;
    publish::Traffic m_traffic;
    QSet<QNetworkReply*> m_replies;
    bool m_cancelled = false;

    // The run of send(): what it sends, how far it got, and why it stopped.
    const std::vector<publish::Operation>* m_operations = nullptr;
    std::function<void(std::size_t, const publish::Result&)> m_done;
    std::size_t m_next = 0;
    int m_inFlight = 0;
    publish::Result m_outcome;
    QEventLoop* m_loop = nullptr;
};

// What an answer means for the publish.
publish::Result resultOf(int status, bool noAnswer, bool cancelled, const QString& detail);
