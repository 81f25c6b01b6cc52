#include "checks/hook_module.h"

#include <stdint.h>

// Hook modules are a few hundred KB; a file past this is no module of the
// patch, and is not read into memory to find that out.
static constexpr LONGLONG kLargestModule = 64 << 20;

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

HANDLE OpenGameModule(const GameFilePath &path, DWORD extraAccess)
{
    return CreateFileW(path.text, GENERIC_READ | extraAccess, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// An empty file is no module either.
HookModuleProbe ProbeModuleFile(HANDLE file)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart <= 0 || size.QuadPart > kLargestModule)
        return HookModuleProbe::NotAModule;
    const DWORD length = static_cast<DWORD>(size.QuadPart);
    void *copy = VirtualAlloc(nullptr, length, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!copy)
        return HookModuleProbe::NotAModule;
    DWORD read = 0;
    HookModuleProbe probe = HookModuleProbe::NotAModule;
    if (ReadFile(file, copy, length, &read, nullptr) && read == length)
        probe = ProbeModuleImage(static_cast<const unsigned char *>(copy), length);
    VirtualFree(copy, 0, MEM_RELEASE);
    return probe;
}
