#include "checks/wine.h"

#include <cstring>
#include <string>

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

// The override's text, when the key names the module.
static bool ReadOverride(const char *keyPath, std::string *order)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    LONG status = RegQueryValueExA(key, kModuleName, nullptr, nullptr, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        order->assign(size + 1, '\0');
        status = RegQueryValueExA(key, kModuleName, nullptr, nullptr, reinterpret_cast<BYTE *>(&(*order)[0]), &size);
        order->resize(strlen(order->c_str()));
    }
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

// Wine reads a load order as words split by commas, spaces or tabs, and
// of each word only a first letter n or b: "native,builtin", "n,b" and "n"
// all take the file first. With neither letter the module is disabled.
static bool PutsNativeFirst(const std::string &order)
{
    for (size_t word = order.find_first_not_of(", \t"); word != std::string::npos;
         word = order.find_first_not_of(", \t", order.find_first_of(", \t", word))) {
        const char letter = order[word];
        if (letter == 'n' || letter == 'N')
            return true;
        if (letter == 'b' || letter == 'B')
            return false;
    }
    return false;
}

bool WineLoadsGameWsock32()
{
    std::string order;
    if (ReadOverride(kGameOverrides, &order) || ReadOverride(kGlobalOverrides, &order))
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
