#include "platform/desktop_shell_open.h"

#include <QDesktopServices>

void DesktopShellOpen::open(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}
