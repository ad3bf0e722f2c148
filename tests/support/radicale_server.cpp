#include "radicale_server.h"

#include "test_files.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QStandardPaths>

QString RadicaleServer::python()
{
    const QString system
        = QStandardPaths::findExecutable(QStringLiteral("python3"), { QStringLiteral("/usr/bin") });
    return system.isEmpty() ? QStringLiteral("python3") : system;
}

QString RadicaleServer::runPython(const QStringList& arguments)
{
    QProcess process;
    process.start(python(), arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

bool RadicaleServer::start(const QString& root)
{
    if (m_port == 0) {
        m_port = runPython({ QStringLiteral("-c"),
                               QStringLiteral("import socket; s = socket.socket(); s.bind(('127.0.0.1', 0)); "
                                              "print(s.getsockname()[1])") })
                     .toInt();
        test_files::writeRaw(root + QStringLiteral("/users"), (kUser + u':' + kPassword + u'\n').toUtf8());
        test_files::writeRaw(root + QStringLiteral("/config"),
            QStringLiteral("[server]\nhosts = 127.0.0.1:%1\n[auth]\ntype = htpasswd\nhtpasswd_filename = "
                           "%2/users\nhtpasswd_encryption = plain\n[storage]\nfilesystem_folder = "
                           "%2/storage\n[rights]\ntype = owner_only\n[logging]\nlevel = info\n")
                .arg(m_port)
                .arg(root)
                .toUtf8());
    }
    m_root = root;
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(python(),
        { QStringLiteral("-m"), QStringLiteral("radicale"), QStringLiteral("--config"),
            root + QStringLiteral("/config") });
    QByteArray log;
    const QDeadlineTimer deadline(20000);
    while (!log.contains("Listening on") && !deadline.hasExpired()
        && m_process.state() != QProcess::NotRunning) {
        m_process.waitForReadyRead(100);
        log += m_process.readAll();
    }
    if (!log.contains("Listening on"))
        qWarning("Radicale did not start: %s", log.constData());
    return log.contains("Listening on");
}

void RadicaleServer::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished();
}

QUrl RadicaleServer::calendar(const QString& name) const
{
    const QString folder = m_root + QStringLiteral("/storage/collection-root/%1/%2").arg(kUser, name);
    QDir().mkpath(folder);
    test_files::writeRaw(folder + QStringLiteral("/.Radicale.props"), R"({"tag": "VCALENDAR"})");
    return QUrl(QStringLiteral("http://127.0.0.1:%1/%2/%3/").arg(m_port).arg(kUser, name));
}
