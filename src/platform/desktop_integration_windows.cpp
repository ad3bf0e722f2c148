#include "platform/desktop_integration.h"

#include "platform/win32_desktop.h"

#include <QDir>

namespace {

// Log-on entry and shortcuts through the registry and the shell.
class WindowsIntegration final : public DesktopIntegration {
public:
    explicit WindowsIntegration(const QString& executablePath)
        : m_executablePath(QDir::toNativeSeparators(QDir::cleanPath(executablePath)).toStdWString())
    {
    }
    Q_DISABLE_COPY_MOVE(WindowsIntegration)

    AutostartResult setAutostart(bool enabled) override
    {
        const win32_desktop::Status status = enabled ? win32_desktop::registerAutostart(m_executablePath)
                                                     : win32_desktop::unregisterAutostart();
        switch (status) {
        case win32_desktop::Status::Ok:
            return AutostartResult::Done;
        case win32_desktop::Status::KeyNotOpened:
            return AutostartResult::KeyNotOpened;
        default:
            return AutostartResult::ValueNotWritten;
        }
    }

    bool autostartEnabled() const override
    {
        std::wstring value;
        return win32_desktop::readAutostart(value) == win32_desktop::Status::Ok;
    }

    bool createShortcut(Place place) override
    {
        const auto where
            = place == Place::Desktop ? win32_desktop::Place::Desktop : win32_desktop::Place::StartMenu;
        return win32_desktop::createShortcut(where, m_executablePath) == win32_desktop::Status::Ok;
    }

private:
    const std::wstring m_executablePath;
};

} // namespace

std::unique_ptr<DesktopIntegration> makeDesktopIntegration(const QString& executablePath)
{
    return std::make_unique<WindowsIntegration>(executablePath);
}
