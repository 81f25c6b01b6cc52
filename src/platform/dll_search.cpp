#include "platform/dll_search.h"

#include "platform/win32.h"

void RestrictDllSearchToSystem()
{
    // The current directory leaves every search, also the one the shell
    // makes with LOAD_WITH_ALTERED_SEARCH_PATH, which the default below
    // does not govern.
    SetDllDirectoryW(L"");
    // Looked up, not imported: Windows 7 without its 2011 loader update
    // lacks it, and the tool must still start there (where the program's
    // own directory stays first in the search, which nothing else removes).
    using SetDefaultDllDirectoriesProc = BOOL(WINAPI *)(DWORD);
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    if (found)
        reinterpret_cast<SetDefaultDllDirectoriesProc>(reinterpret_cast<void *>(found))(LOAD_LIBRARY_SEARCH_SYSTEM32);
}
