#include "checks/hook_module.h"

#include <stdint.h>

// The modules this program could load are the ones the game could: the
// shipped program is i386 like the game.
#if defined(__x86_64__) || defined(_M_X64)
static constexpr uint16_t kOwnMachine = kMachineAmd64;
#else
static constexpr uint16_t kOwnMachine = kMachineI386;
#endif

bool GetGameFilePath(const wchar_t *fileName, GameFilePath *path)
{
    GameDirectory game;
    const size_t nameLength = lstrlenW(fileName);
    if (!GetGameDirectory(&game) || game.length + 1 + nameLength >= MAX_PATH)
        return false;
    lstrcpyW(path->text, game.path);
    path->text[game.length] = L'\\';
    lstrcpyW(path->text + game.length + 1, fileName);
    return true;
}

// Mapped as plain data, read-only: the file is only looked at. An empty
// file cannot be mapped, and is no module either.
HookModuleProbe ProbeHookModule(const GameFilePath &path)
{
    HANDLE file = CreateFileW(path.text, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return HookModuleProbe::NotAModule;
    HookModuleProbe probe = HookModuleProbe::NotAModule;
    LARGE_INTEGER size;
    HANDLE mapping = nullptr;
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && static_cast<ULONGLONG>(size.QuadPart) <= SIZE_MAX)
        mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping) {
        const void *view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
        if (view) {
            probe = ProbeModuleImage(static_cast<const unsigned char *>(view), static_cast<size_t>(size.QuadPart),
                                     kOwnMachine);
            UnmapViewOfFile(view);
        }
        CloseHandle(mapping);
    }
    CloseHandle(file);
    return probe;
}
