#include "platform/dll_search.h"

#include "platform/win32.h"

void RestrictDllSearchToSystem()
{
    // Looked up, not imported: Windows 7 without its 2011 loader update
    // lacks it, and the tool must still start there.
    using SetDefaultDllDirectoriesProc = BOOL(WINAPI *)(DWORD);
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    if (found) {
        reinterpret_cast<SetDefaultDllDirectoriesProc>(reinterpret_cast<void *>(found))(LOAD_LIBRARY_SEARCH_SYSTEM32);
        return;
    }
    // There, at least the current directory leaves the search.
    SetDllDirectoryW(L"");
}
