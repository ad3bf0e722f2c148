#pragma once

#include <string>

// The Windows side of the log-on entry and the shortcuts, on the registry and the
// shell alone (no Qt, so it builds and is tested with a cross compiler). Paths are
// wide strings with backslashes; every operation reports how it ended.
namespace win32_desktop {

enum class Status {
    Ok,
    KeyNotOpened, // the Run key is missing or not writable
    ValueNotWritten, // the key opened, the value could not be written or removed
    ValueMissing, // reading: no such value
    FolderMissing, // the shell folder's value is missing or empty
    FolderNotCreated, // the Start menu's program folder could not be made
    LinkNotCreated, // the shell link object could not be created or filled in
    LinkNotSaved, // the link file could not be written
    LinkNotRead, // reading a link back failed
};

enum class Place { Desktop, StartMenu };

// Writes the value "Zorivka 1.0" under HKEY_CURRENT_USER's Run key: the executable's
// full path in double quotes, so a path with blanks cannot start another program.
// The key is opened, never created.
Status registerAutostart(const std::wstring& executablePath);
// Deletes that value; a value that is not there is no error.
Status unregisterAutostart();
// The value's text, for checking whether it is there and what it holds.
Status readAutostart(std::wstring& value);

// A value of HKEY_CURRENT_USER's "Shell Folders" ("Desktop", "Start Menu"); empty when
// missing or not a string.
std::wstring shellFolder(const wchar_t* valueName);
// Where the shortcut of a place goes: "<Desktop>\Zorivka.lnk" or
// "<Start Menu>\Programy\Zorivka.lnk"; empty when the shell folder is not known.
std::wstring shortcutPath(Place place);
// Creates or replaces the shortcut: the executable as target, its folder (without a
// trailing separator, except at a drive's root) as working folder. The Start menu's
// "Programy" folder is created when missing; the desktop folder is never created.
Status createShortcut(Place place, const std::wstring& executablePath);
// A link's target and working folder as stored.
Status readShortcut(const std::wstring& linkPath, std::wstring& target, std::wstring& workingFolder);

// The folder part of a path, as the shortcut's working folder.
std::wstring folderOf(const std::wstring& path);

} // namespace win32_desktop
