#include "shell/wine_override.h"

#include "platform/win32.h"

// Wine reads these for each module a program loads: the program's own
// key decides when it names the module, the global one otherwise.
static const char kGameOverrides[] = "Software\\Wine\\AppDefaults\\gravlok.exe\\DllOverrides";
static const char kGlobalOverrides[] = "Software\\Wine\\DllOverrides";
static const char kModuleName[] = "wsock32";

bool IsRunningOnWine()
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// A load order is a few words; room for far more than any of them.
constexpr DWORD kOverrideRoom = 256;

// The override's text, when the key names the module.
static bool ReadOverride(const char *keyPath, char (&order)[kOverrideRoom])
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    // One byte kept back for a terminator the value may lack.
    DWORD size = kOverrideRoom - 1;
    const LONG status = RegQueryValueExA(key, kModuleName, nullptr, nullptr, reinterpret_cast<BYTE *>(order), &size);
    order[status == ERROR_SUCCESS ? size : 0] = 0;
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

static bool IsSeparator(char c)
{
    return c == ',' || c == ' ' || c == '\t';
}

// Wine reads a load order as words split by commas, spaces or tabs, and
// of each word only a first letter n or b: "native,builtin", "n,b" and "n"
// all take the file first. With neither letter the module is disabled.
static bool PutsNativeFirst(const char *order)
{
    for (const char *c = order; *c; ++c) {
        if (IsSeparator(*c) || (c != order && !IsSeparator(c[-1])))
            continue;
        if (*c == 'n' || *c == 'N')
            return true;
        if (*c == 'b' || *c == 'B')
            return false;
    }
    return false;
}

bool WineLoadsGameWsock32()
{
    char order[kOverrideRoom];
    if (ReadOverride(kGameOverrides, order) || ReadOverride(kGlobalOverrides, order))
        return PutsNativeFirst(order);
    return false;
}

bool SetWineToLoadGameWsock32()
{
    // Builtin second: should the patch be removed, the game falls back to
    // Wine's own module instead of failing to start.
    static const char kNativeFirst[] = "native,builtin";
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kGameOverrides, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const bool set = RegSetValueExA(key, kModuleName, 0, REG_SZ, reinterpret_cast<const BYTE *>(kNativeFirst),
                                    sizeof kNativeFirst) == ERROR_SUCCESS;
    RegCloseKey(key);
    return set;
}
