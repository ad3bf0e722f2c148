#include "parts/publish/dav_client.h"
#include "parts/publish_part.h"

#include <qt6keychain/keychain.h>

#include <QEventLoop>

namespace {
const QString kStoreService = QStringLiteral("Zorivka");

publish::Store storeResult(const QKeychain::Job& job, QString& error)
{
    switch (job.error()) {
    case QKeychain::NoError:
        return publish::Store::Ok;
    case QKeychain::EntryNotFound:
        return publish::Store::NotFound;
    default:
        error = job.errorString();
        return publish::Store::Unavailable;
    }
}

void runJob(QKeychain::Job& job)
{
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.setAutoDelete(false);
    job.start();
    loop.exec();
}
} // namespace

// The part's root object: the CalDAV client and the password store behind the program's interface.
class PublishPlugin final : public QObject, public PublishPart {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID PublishPart_iid)
    Q_INTERFACES(PublishPart)

public:
    publish::Result check(const publish::Connection& connection) override
    {
        return m_client.check(connection);
    }
    publish::Result list(const publish::Connection& connection, std::vector<publish::Resource>& out) override
    {
        return m_client.list(connection, out);
    }
    publish::Result send(const publish::Connection& connection,
        const std::vector<publish::Operation>& operations,
        const std::function<void(std::size_t, const publish::Result&)>& done) override
    {
        return m_client.send(connection, operations, done);
    }
    void cancel() override { m_client.cancel(); }
    publish::Traffic traffic() const override { return m_client.traffic(); }

    publish::Store readPassword(const QString& key, QString& password, QString& error) override
    {
        QKeychain::ReadPasswordJob job(kStoreService);
        job.setKey(key);
        runJob(job);
        password = job.textData();
        return storeResult(job, error);
    }
    publish::Store writePassword(const QString& key, const QString& password, QString& error) override
    {
        QKeychain::WritePasswordJob job(kStoreService);
        job.setKey(key);
        job.setTextData(password);
        runJob(job);
        return storeResult(job, error);
    }

private:
    DavClient m_client;
};

#include "publish_plugin.moc"
