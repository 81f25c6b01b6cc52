#include "checks/hook_module.h"

#include <cstring>

bool GetGameFilePath(const char *fileName, GameFilePath *path)
{
    const DWORD length = GetCurrentDirectoryA(kGameDirectoryRoom, path->text);
    // 0 is a failure; a result that does not fit is the size it would need,
    // and the buffer then holds nothing usable.
    if (length == 0 || length >= kGameDirectoryRoom)
        return false;
    const size_t nameLength = strlen(fileName);
    if (length + 1 + nameLength >= sizeof path->text)
        return false;
    path->text[length] = '\\';
    memcpy(path->text + length + 1, fileName, nameLength + 1);
    return true;
}

HookModuleProbe ProbeHookModule(const GameFilePath &path)
{
    // A full path: a bare name would find a module of that name in the
    // program's or the system's directory first.
    HMODULE module = LoadLibraryExA(path.text, nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (!module)
        return HookModuleProbe::NotLoaded;
    const bool marked = GetProcAddress(module, "patch") != nullptr;
    FreeLibrary(module);
    return marked ? HookModuleProbe::Marked : HookModuleProbe::Unmarked;
}
