#pragma once

#include <QString>

#include <memory>

// The desktop's services for starting the program at log-on and for launchers
// (shortcuts) to it. The settings dialog uses them; tests put a recording one in.
class DesktopIntegration {
public:
    enum class Place { Desktop, StartMenu };
    // How writing the log-on entry ended: the place of the entry (the Run key, the
    // autostart folder's configuration home) could not be opened, or it opened and
    // the entry could not be written or removed.
    enum class AutostartResult { Done, KeyNotOpened, ValueNotWritten };

    virtual ~DesktopIntegration() = default;

    // Registers (enabled) or removes the entry that starts the program when the user
    // logs on. Removing an entry that is not there succeeds.
    virtual AutostartResult setAutostart(bool enabled) = 0;
    // Whether the log-on entry is there now.
    virtual bool autostartEnabled() const = 0;
    // Creates (or replaces) the launcher at the given place; launchers are never
    // removed. False when it could not be written or the place is not known (a
    // missing desktop folder is not created: it is a failure, like an unset one).
    virtual bool createShortcut(Place place) = 0;
};

// The implementation for this operating system, for the given executable.
std::unique_ptr<DesktopIntegration> makeDesktopIntegration(const QString& executablePath);
