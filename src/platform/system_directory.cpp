#include "platform/system_directory.h"

#include "platform/win32.h"

// A directory as the platform gave it: length is what the call returned,
// 0 on failure and MAX_PATH or more when it did not fit.
static bool IsDirectory(const char *current, const char *directory, UINT length)
{
    return length != 0 && length < MAX_PATH && lstrcmpiA(current, directory) == 0;
}

bool IsInSystemDirectory()
{
    char current[MAX_PATH];
    const DWORD currentLength = GetCurrentDirectoryA(sizeof current, current);
    // A current directory too long to name is not one of these.
    if (currentLength == 0 || currentLength >= sizeof current)
        return false;
    char windows[MAX_PATH];
    char system[MAX_PATH];
    return IsDirectory(current, windows, GetWindowsDirectoryA(windows, MAX_PATH)) ||
           IsDirectory(current, system, GetSystemDirectoryA(system, MAX_PATH));
}
