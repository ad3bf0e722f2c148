#include "desktop_home.h"

#include <QtGlobal>

namespace {

const char* const kVariables[] = { "HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME" };

void set(const char* name, const QString& value)
{
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, value.toLocal8Bit());
}

} // namespace

DesktopHome::DesktopHome(const QString& home, const QString& configHome, const QString& dataHome)
{
    for (const char* name : kVariables) {
        m_wasSet.append(qEnvironmentVariableIsSet(name));
        m_saved.append(qgetenv(name));
    }
    set("HOME", home);
    set("XDG_CONFIG_HOME", configHome);
    set("XDG_DATA_HOME", dataHome);
}

DesktopHome::~DesktopHome()
{
    for (qsizetype i = 0; i < m_saved.size(); ++i) {
        if (m_wasSet[i])
            qputenv(kVariables[i], m_saved[i]);
        else
            qunsetenv(kVariables[i]);
    }
}
