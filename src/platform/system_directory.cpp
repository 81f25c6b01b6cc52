#include "platform/system_directory.h"

#include "platform/win32.h"

// A directory as the platform gave it: length is what the call returned,
// 0 on failure and MAX_PATH or more when it did not fit.
static bool IsDirectory(const wchar_t *current, const wchar_t *directory, UINT length)
{
    return length != 0 && length < MAX_PATH && lstrcmpiW(current, directory) == 0;
}

bool IsInSystemDirectory()
{
    wchar_t current[MAX_PATH];
    const DWORD currentLength = GetCurrentDirectoryW(MAX_PATH, current);
    // A current directory too long to name is not one of these.
    if (currentLength == 0 || currentLength >= MAX_PATH)
        return false;
    wchar_t windows[MAX_PATH];
    wchar_t system[MAX_PATH];
    return IsDirectory(current, windows, GetWindowsDirectoryW(windows, MAX_PATH)) ||
           IsDirectory(current, system, GetSystemDirectoryW(system, MAX_PATH));
}
