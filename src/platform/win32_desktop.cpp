#include "platform/win32_desktop.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <memory>
#include <vector>

namespace win32_desktop {

namespace {

const wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kValueName[] = L"Zorivka 1.0";
const wchar_t kShellFoldersKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const wchar_t kLinkName[] = L"Zorivka.lnk";
const wchar_t kProgramsFolder[] = L"Programy";
constexpr DWORD kLongPath = 32768;

// Closes a registry key when it goes out of scope.
class Key final {
public:
    Key(const wchar_t* path, REGSAM access)
        : m_ok(RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, access, &m_key) == ERROR_SUCCESS)
    {
    }
    ~Key()
    {
        if (m_ok)
            RegCloseKey(m_key);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    bool isOpen() const { return m_ok; }
    HKEY handle() const { return m_key; }

private:
    HKEY m_key = nullptr;
    bool m_ok;
};

// Initialises COM for the calling thread as long as it lives, when the thread
// has not done so already (a Qt program's main thread has).
class ComScope final {
public:
    ComScope()
        : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))
    {
    }
    ~ComScope()
    {
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT m_result;
};

struct Release {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <class T> using ComPtr = std::unique_ptr<T, Release>;

// A new, empty shell link object and its file interface; null on failure.
bool newShellLink(ComPtr<IShellLinkW>& link, ComPtr<IPersistFile>& file)
{
    void* object = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, &object)))
        return false;
    link.reset(static_cast<IShellLinkW*>(object));
    object = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, &object)))
        return false;
    file.reset(static_cast<IPersistFile*>(object));
    return true;
}

// A string value of an open key, with environment references expanded where the
// value says so.
Status readString(HKEY key, const wchar_t* name, std::wstring& value)
{
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS)
        return Status::ValueMissing;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return Status::ValueMissing;
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes)
        != ERROR_SUCCESS)
        return Status::ValueMissing;
    // The stored data need not end with a terminator; the buffer's last one does.
    value.assign(buffer.data());
    if (type == REG_EXPAND_SZ) {
        std::vector<wchar_t> expanded(kLongPath, L'\0');
        const DWORD length = ExpandEnvironmentStringsW(value.c_str(), expanded.data(), kLongPath);
        if (length > 0 && length <= kLongPath)
            value.assign(expanded.data());
    }
    return Status::Ok;
}

bool isFolder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

const wchar_t* shellFolderName(Place place)
{
    return place == Place::Desktop ? L"Desktop" : L"Start Menu";
}

// The folder of the place's shortcut below the shell folder's value.
std::wstring linkFolder(Place place, const std::wstring& shellFolderValue)
{
    return place == Place::StartMenu ? shellFolderValue + L"\\" + kProgramsFolder : shellFolderValue;
}

} // namespace

Status registerAutostart(const std::wstring& executablePath)
{
    Key key(kRunKey, KEY_SET_VALUE);
    if (!key.isOpen())
        return Status::KeyNotOpened;
    const std::wstring quoted = L"\"" + executablePath + L"\"";
    const DWORD bytes = static_cast<DWORD>((quoted.size() + 1) * sizeof(wchar_t));
    if (RegSetValueExW(
            key.handle(), kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(quoted.c_str()), bytes)
        != ERROR_SUCCESS)
        return Status::ValueNotWritten;
    return Status::Ok;
}

Status unregisterAutostart()
{
    Key key(kRunKey, KEY_SET_VALUE);
    if (!key.isOpen())
        return Status::KeyNotOpened;
    const LONG result = RegDeleteValueW(key.handle(), kValueName);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND ? Status::Ok : Status::ValueNotWritten;
}

Status readAutostart(std::wstring& value)
{
    Key key(kRunKey, KEY_QUERY_VALUE);
    if (!key.isOpen())
        return Status::KeyNotOpened;
    return readString(key.handle(), kValueName, value);
}

std::wstring shellFolder(const wchar_t* valueName)
{
    Key key(kShellFoldersKey, KEY_QUERY_VALUE);
    std::wstring value;
    if (!key.isOpen() || readString(key.handle(), valueName, value) != Status::Ok)
        return {};
    return value;
}

std::wstring shortcutPath(Place place)
{
    const std::wstring base = shellFolder(shellFolderName(place));
    return base.empty() ? std::wstring() : linkFolder(place, base) + L"\\" + kLinkName;
}

std::wstring folderOf(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return {};
    // "C:\zorivka.exe" runs in "C:\"; "C:" alone would mean the drive's current folder.
    if (slash == 2 && path[1] == L':')
        return path.substr(0, 3);
    return path.substr(0, slash);
}

Status createShortcut(Place place, const std::wstring& executablePath)
{
    // A missing or empty shell folder is a failure, never a link at a drive's root.
    const std::wstring base = shellFolder(shellFolderName(place));
    if (base.empty() || !isFolder(base))
        return Status::FolderMissing;
    const std::wstring folder = linkFolder(place, base);
    if (!isFolder(folder) && !CreateDirectoryW(folder.c_str(), nullptr))
        return Status::FolderNotCreated;
    const std::wstring linkPath = folder + L"\\" + kLinkName;

    ComScope com;
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    if (!newShellLink(link, file) || FAILED(link->SetPath(executablePath.c_str()))
        || FAILED(link->SetWorkingDirectory(folderOf(executablePath).c_str())))
        return Status::LinkNotCreated;
    return SUCCEEDED(file->Save(linkPath.c_str(), FALSE)) ? Status::Ok : Status::LinkNotSaved;
}

Status readShortcut(const std::wstring& linkPath, std::wstring& target, std::wstring& workingFolder)
{
    ComScope com;
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    if (!newShellLink(link, file) || FAILED(file->Load(linkPath.c_str(), STGM_READ)))
        return Status::LinkNotRead;
    std::vector<wchar_t> buffer(kLongPath, L'\0');
    if (FAILED(link->GetPath(buffer.data(), kLongPath, nullptr, SLGP_RAWPATH)))
        return Status::LinkNotRead;
    target.assign(buffer.data());
    buffer.assign(kLongPath, L'\0');
    if (FAILED(link->GetWorkingDirectory(buffer.data(), kLongPath)))
        return Status::LinkNotRead;
    workingFolder.assign(buffer.data());
    return Status::Ok;
}

} // namespace win32_desktop
