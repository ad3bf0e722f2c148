#include "platform/win32_pipe.h"

#include <windows.h>

namespace win32_pipe {

namespace {
constexpr DWORD kMaxMessage = 64;

OVERLAPPED& overlappedOf(void* p)
{
    return *static_cast<OVERLAPPED*>(p);
}
} // namespace

std::wstring pathOf(const std::wstring& name)
{
    return L"\\\\.\\pipe\\" + name;
}

Server::~Server()
{
    if (m_pipe) {
        CancelIo(m_pipe);
        CloseHandle(m_pipe);
    }
    if (m_event)
        CloseHandle(m_event);
    delete static_cast<OVERLAPPED*>(m_overlapped);
}

bool Server::listen(const std::wstring& name)
{
    // The first instance only: a second listener on the same name is another copy.
    HANDLE pipe = CreateNamedPipeW(pathOf(name).c_str(),
        PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 0, kMaxMessage, 0,
        nullptr);
    if (pipe == INVALID_HANDLE_VALUE)
        return false;
    m_pipe = pipe;
    m_event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_overlapped = new OVERLAPPED {};
    return m_event && waitForClient();
}

bool Server::waitForClient()
{
    OVERLAPPED& overlapped = overlappedOf(m_overlapped);
    overlapped = OVERLAPPED {};
    overlapped.hEvent = m_event;
    ResetEvent(m_event);
    if (ConnectNamedPipe(m_pipe, &overlapped))
        return SetEvent(m_event) != 0;
    switch (GetLastError()) {
    case ERROR_IO_PENDING:
        return true;
    case ERROR_PIPE_CONNECTED: // a client came between creating and connecting
        return SetEvent(m_event) != 0;
    default:
        return false;
    }
}

bool Server::takeMessage(std::string& message, unsigned timeoutMs)
{
    message.clear();
    DWORD unused = 0;
    const bool connected = GetOverlappedResult(m_pipe, &overlappedOf(m_overlapped), &unused, FALSE) != 0;
    if (!connected && GetLastError() == ERROR_IO_INCOMPLETE) {
        ResetEvent(m_event); // woken without a client: still waiting for one
        return false;
    }
    while (connected && message.size() < kMaxMessage && message.find('\n') == std::string::npos) {
        char buffer[kMaxMessage];
        OVERLAPPED reading {};
        reading.hEvent = m_event;
        ResetEvent(m_event);
        DWORD got = 0;
        if (!ReadFile(m_pipe, buffer, sizeof buffer, &got, &reading)) {
            if (GetLastError() != ERROR_IO_PENDING)
                break; // the client closed its end
            if (WaitForSingleObject(m_event, timeoutMs) != WAIT_OBJECT_0) {
                // A client that says nothing in time is dropped; the read must end before `reading` goes.
                CancelIo(m_pipe);
                GetOverlappedResult(m_pipe, &reading, &got, TRUE);
                break;
            }
            if (!GetOverlappedResult(m_pipe, &reading, &got, FALSE))
                break;
        }
        if (got == 0)
            break;
        message.append(buffer, got);
    }
    DisconnectNamedPipe(m_pipe);
    waitForClient();
    return connected && !message.empty();
}

bool send(const std::wstring& name, const std::string& message, unsigned timeoutMs)
{
    const std::wstring path = pathOf(name);
    HANDLE pipe = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    // Busy with another client: wait for it once.
    if (pipe == INVALID_HANDLE_VALUE && GetLastError() == ERROR_PIPE_BUSY && WaitNamedPipeW(path.c_str(), timeoutMs))
        pipe = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE)
        return false;
    DWORD wrote = 0;
    const bool sent = WriteFile(pipe, message.data(), DWORD(message.size()), &wrote, nullptr) && wrote == message.size();
    CloseHandle(pipe);
    return sent;
}

} // namespace win32_pipe
