#pragma once

#include <QProcess>
#include <QString>
#include <QUrl>

// Radicale (python3-radicale) on a free port of this computer, for the publishing tests
// and benchmark: one user, a storage folder of its own, calendars made by writing their
// folders as Radicale keeps them.
class RadicaleServer final {
public:
    static inline const QString kUser = QStringLiteral("anna");
    static inline const QString kPassword = QStringLiteral("tajné heslo");

    ~RadicaleServer() { stop(); }
    // Starts it on `root` (the same port again after a stop); false when it did not come up.
    bool start(const QString& root);
    void stop();
    // A new, empty calendar collection.
    QUrl calendar(const QString& name) const;

    // The system's Python, which has Debian's modules.
    static QString python();
    static QString runPython(const QStringList& arguments);

private:
    QProcess m_process;
    QString m_root;
    int m_port = 0;
};
