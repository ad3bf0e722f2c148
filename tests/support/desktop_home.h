#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Points HOME, XDG_CONFIG_HOME and XDG_DATA_HOME somewhere for as long as it lives
// (a temporary directory, so tests never touch the real desktop) and puts the old
// values back afterwards. A null value unsets the variable.
class DesktopHome final {
public:
    DesktopHome(const QString& home, const QString& configHome, const QString& dataHome);
    ~DesktopHome();
    DesktopHome(const DesktopHome&) = delete;
    DesktopHome& operator=(const DesktopHome&) = delete;

private:
    QList<QByteArray> m_saved;
    QList<bool> m_wasSet;
};
