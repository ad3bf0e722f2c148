#pragma once

#include <string>

// The Windows side of the single-instance channel: a named pipe, on the Win32 API
// alone (no Qt, so it builds and is tested with a cross compiler).
namespace win32_pipe {

// "\\.\pipe\<name>"
std::wstring pathOf(const std::wstring& name);

// The listening end. Its event is signalled when a client has connected; the owner then
// calls takeMessage(), which reads that client's message and waits for the next one.
class Server final {
public:
    Server() = default;
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // False when the pipe cannot be made, or another process already listens on it.
    bool listen(const std::wstring& name);
    // The event handle (a HANDLE) to wait on.
    void* event() const { return m_event; }
    // The connected client's message (at most a short line, read within timeoutMs);
    // false when there was none. Either way the pipe is ready for the next client.
    bool takeMessage(std::string& message, unsigned timeoutMs);

private:
    bool waitForClient();

    void* m_pipe = nullptr;
    void* m_event = nullptr;
    void* m_overlapped = nullptr;
};

// Connects to the pipe, waiting at most timeoutMs for it to be free, and writes the message.
bool send(const std::wstring& name, const std::string& message, unsigned timeoutMs);

} // namespace win32_pipe
