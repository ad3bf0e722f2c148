// Checks the Windows log-on entry and shortcuts against a real registry and shell
// (Wine in the test command). Exit status 0 when every check passed.

#include "platform/win32_desktop.h"

#include <windows.h>

#include <cstdio>
#include <string>

using namespace win32_desktop;

namespace {

int g_failures = 0;
int g_checks = 0;

void check(bool ok, const char* what, const std::wstring& detail = {})
{
    ++g_checks;
    if (ok)
        return;
    ++g_failures;
    std::fprintf(stderr, "FAIL: %s %ls\n", what, detail.c_str());
}

const wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::wstring ownPath()
{
    wchar_t buffer[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, buffer, MAX_PATH * 4);
    return buffer;
}

bool exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Sets (or with a null value deletes) a value of the "Shell Folders" key, of the
// given type, with or without the terminating null.
void setShellFolder(const wchar_t* name, const wchar_t* value, DWORD type = REG_SZ, bool terminated = true)
{
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kShellFolders, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (value)
        RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(value),
            DWORD((wcslen(value) + (terminated ? 1 : 0)) * sizeof(wchar_t)));
    else
        RegDeleteValueW(key, name);
    RegCloseKey(key);
}

void autostart(const std::wstring& program)
{
    // Windows has the Run key from the start; a fresh prefix may not.
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegCloseKey(key);

    std::wstring value;
    check(unregisterAutostart() == Status::Ok, "removing a missing value is no error");
    check(readAutostart(value) == Status::ValueMissing, "no value at first");

    check(registerAutostart(program) == Status::Ok, "register");
    check(readAutostart(value) == Status::Ok && value == L"\"" + program + L"\"",
        "the value is the quoted path", value);
    const std::wstring moved = L"C:\\Jiné místo\\zorivka.exe";
    check(registerAutostart(moved) == Status::Ok, "register again");
    check(
        readAutostart(value) == Status::Ok && value == L"\"" + moved + L"\"", "the value is replaced", value);

    check(unregisterAutostart() == Status::Ok, "unregister");
    check(readAutostart(value) == Status::ValueMissing, "the value is gone");
    check(unregisterAutostart() == Status::Ok, "unregister twice");

    // Without the key: reported, and the key is not created.
    check(RegDeleteKeyW(HKEY_CURRENT_USER, kRunKey) == ERROR_SUCCESS, "test set-up: delete the Run key");
    check(registerAutostart(program) == Status::KeyNotOpened, "register without the key");
    check(unregisterAutostart() == Status::KeyNotOpened, "unregister without the key");
    check(readAutostart(value) == Status::KeyNotOpened, "the key was not created");
}

void shortcut(Place place, const char* name, const std::wstring& program)
{
    const std::wstring path = shortcutPath(place);
    check(!path.empty(), name, L"has a shell folder");
    DeleteFileW(path.c_str());
    check(createShortcut(place, program) == Status::Ok, name, L"created");
    std::wstring target, folder;
    check(readShortcut(path, target, folder) == Status::Ok, name, L"read back " + path);
    check(target == program, name, L"target " + target);
    check(folder == folderOf(program), name, L"working folder " + folder);
    // Pressed again: the link is replaced, from another place.
    const std::wstring other = folderOf(program) + L"\\jiný program.exe";
    CopyFileW(program.c_str(), other.c_str(), FALSE);
    check(createShortcut(place, other) == Status::Ok, name, L"created again");
    check(readShortcut(path, target, folder) == Status::Ok && target == other, name, L"replaced " + target);
    DeleteFileW(other.c_str());
}

void shortcuts(const std::wstring& program)
{
    const std::wstring desktop = shellFolder(L"Desktop");
    const std::wstring startMenu = shellFolder(L"Start Menu");
    check(!desktop.empty() && !startMenu.empty(), "the prefix has both shell folders");

    // "Programy" is created when missing.
    const std::wstring programs = startMenu + L"\\Programy";
    RemoveDirectoryW(programs.c_str());
    check(!exists(programs), "no Programy folder at first");
    shortcut(Place::Desktop, "desktop shortcut", program);
    shortcut(Place::StartMenu, "start-menu shortcut", program);
    check(shortcutPath(Place::StartMenu) == programs + L"\\Zorivka.lnk", "start-menu link in Programy");
    check(shortcutPath(Place::Desktop) == desktop + L"\\Zorivka.lnk", "desktop link on the desktop");

    // Values as a program may have stored them: without the terminating null, or
    // with environment references.
    setShellFolder(L"Desktop", desktop.c_str(), REG_SZ, false);
    check(shellFolder(L"Desktop") == desktop, "a value without its terminator", shellFolder(L"Desktop"));
    SetEnvironmentVariableW(L"ZORIVKA_PLOCHA", desktop.c_str());
    setShellFolder(L"Desktop", L"%ZORIVKA_PLOCHA%", REG_EXPAND_SZ);
    check(shellFolder(L"Desktop") == desktop, "a value with a reference", shellFolder(L"Desktop"));
    check(shortcutPath(Place::Desktop) == desktop + L"\\Zorivka.lnk", "a link path with a reference");

    // A missing or empty folder value, or a folder that is not there: a failure and no
    // link anywhere else.
    const std::wstring rootLink = L"C:\\Zorivka.lnk";
    const std::wstring relativeLink = L"Zorivka.lnk";
    DeleteFileW(rootLink.c_str());
    DeleteFileW(relativeLink.c_str());
    setShellFolder(L"Desktop", L"");
    check(createShortcut(Place::Desktop, program) == Status::FolderMissing, "empty desktop value");
    setShellFolder(L"Desktop", nullptr);
    check(createShortcut(Place::Desktop, program) == Status::FolderMissing, "missing desktop value");
    check(shortcutPath(Place::Desktop).empty(), "no desktop link path without the value");
    setShellFolder(L"Desktop", L"C:\\Plocha, která není");
    check(createShortcut(Place::Desktop, program) == Status::FolderMissing, "desktop folder not there");
    setShellFolder(L"Start Menu", L"");
    check(createShortcut(Place::StartMenu, program) == Status::FolderMissing, "empty start-menu value");
    check(!exists(rootLink) && !exists(relativeLink) && !exists(L"C:\\Programy"), "nothing at the root");
    setShellFolder(L"Desktop", desktop.c_str());
    setShellFolder(L"Start Menu", startMenu.c_str());
}

void folders()
{
    check(folderOf(L"C:\\Program Files\\Zorivka\\zorivka.exe") == L"C:\\Program Files\\Zorivka", "folder");
    check(folderOf(L"C:\\zorivka.exe") == L"C:\\", "folder at a drive's root");
    check(folderOf(L"\\\\server\\share\\zorivka.exe") == L"\\\\server\\share", "folder on a share");
}

} // namespace

int main()
{
    // The program's own path has blanks in it (the test command sees to that).
    const std::wstring program = ownPath();
    check(program.find(L' ') != std::wstring::npos, "the test program's path has a blank", program);
    folders();
    autostart(program);
    shortcuts(program);
    std::printf("win32 desktop layer: %d checks, %d failed\n", g_checks, g_failures);
    return g_failures == 0 ? 0 : 1;
}
