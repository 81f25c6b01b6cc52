#include "platform/system_directory.h"

#include "platform/win32.h"

static bool IsCurrentDirectory(const char *directory, UINT length)
{
    char current[MAX_PATH];
    const DWORD currentLength = GetCurrentDirectoryA(sizeof current, current);
    // A current directory too long to name is not one of these.
    if (currentLength == 0 || currentLength >= sizeof current)
        return false;
    return length != 0 && length < MAX_PATH && lstrcmpiA(current, directory) == 0;
}

bool IsInSystemDirectory()
{
    char windows[MAX_PATH];
    char system[MAX_PATH];
    return IsCurrentDirectory(windows, GetWindowsDirectoryA(windows, MAX_PATH)) ||
           IsCurrentDirectory(system, GetSystemDirectoryA(system, MAX_PATH));
}
