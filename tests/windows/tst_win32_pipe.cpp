// Checks the single-instance pipe against real Windows pipes (Wine in the test
// command). Exit status 0 when every check passed.

#include "platform/win32_pipe.h"

#include <windows.h>

#include <cstdio>
#include <string>

using namespace win32_pipe;

namespace {

int g_failures = 0;
int g_checks = 0;

void check(bool ok, const char* what)
{
    ++g_checks;
    if (!ok) {
        ++g_failures;
        std::fprintf(stderr, "FAIL: %s\n", what);
    }
}

bool signalled(const Server& server, DWORD ms = 0)
{
    return WaitForSingleObject(server.event(), ms) == WAIT_OBJECT_0;
}

} // namespace

int main()
{
    const std::wstring name = L"zorivka-test-" + std::to_wstring(GetCurrentProcessId());
    check(!send(name, "activate\n", 100), "nobody listens: nothing sent");
    {
        Server server;
        check(server.listen(name), "listens");
        check(!Server().listen(name), "a second listener on the same name is refused");
        check(!signalled(server), "quiet before any client");
        std::string message;
        for (int round = 0; round < 2; ++round) {
            check(send(name, "activate\n", 1000), "a later start reaches the first");
            check(signalled(server, 1000), "the client wakes the listener");
            check(server.takeMessage(message, 1000) && message == "activate\n", "the whole message arrives");
            check(!signalled(server), "ready for the next client, quiet again");
        }
        // A client that goes without a word neither hangs the listener nor stops the next one.
        HANDLE mute = CreateFileW(pathOf(name).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        check(mute != INVALID_HANDLE_VALUE, "a client connects");
        CloseHandle(mute);
        check(signalled(server, 1000) && !server.takeMessage(message, 1000), "a silent client gives nothing");
        HANDLE idle = CreateFileW(pathOf(name).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        check(signalled(server, 1000) && !server.takeMessage(message, 100), "an idle client is dropped in time");
        CloseHandle(idle);
        check(send(name, "activate\n", 1000) && signalled(server, 1000) && server.takeMessage(message, 1000)
                && message == "activate\n",
            "the next client is heard");
        // A wake-up with nobody there is no message and keeps the pipe waiting.
        SetEvent(server.event());
        check(!server.takeMessage(message, 100) && send(name, "x\n", 1000) && server.takeMessage(message, 1000)
                && message == "x\n",
            "a spurious wake-up is harmless");
    }
    check(!send(name, "activate\n", 100), "a closed listener takes nothing");
    Server again;
    check(again.listen(name), "the name is free once the first listener is gone");

    std::printf("%d checks, %d failed\n", g_checks, g_failures);
    return g_failures == 0 ? 0 : 1;
}
