#pragma once

#include "platform/shell_open.h"

#include <QtGlobal>

// Opens URLs with the desktop's default mail program and browser.
class DesktopShellOpen final : public ShellOpen {
    Q_DISABLE_COPY_MOVE(DesktopShellOpen)

public:
    DesktopShellOpen() = default;
    void open(const QUrl& url) override;
};
