#include "wine_overrides.h"

const char kNoOverride[] = "(no override)";

static const char kModule[] = "wsock32";
static const char kGameKey[] = "Software\\Wine\\AppDefaults\\gravlok.exe\\DllOverrides";
static const char kGlobalKey[] = "Software\\Wine\\DllOverrides";
// The game's keys, parent first. Wine itself creates AppDefaults and the
// global DllOverrides in every process it starts.
static const char *const kGameKeys[] = {"Software\\Wine\\AppDefaults\\gravlok.exe", kGameKey};

static bool KeyExists(const char *path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

static bool ReadValue(const char *path, DWORD *type, std::string *data)
{
    char buffer[512];
    DWORD size = sizeof buffer;
    if (RegGetValueA(HKEY_CURRENT_USER, path, kModule, RRF_RT_ANY, type, buffer, &size) != ERROR_SUCCESS)
        return false;
    data->assign(buffer, size);
    return true;
}

static void WriteValue(const char *path, DWORD type, const std::string &data)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, kModule, 0, type, reinterpret_cast<const BYTE *>(data.data()), static_cast<DWORD>(data.size()));
    RegCloseKey(key);
}

static void RemoveValue(const char *path)
{
    RegDeleteKeyValueA(HKEY_CURRENT_USER, path, kModule);
}

static std::string ReadOrder(const char *path)
{
    DWORD type = 0;
    std::string data;
    if (!ReadValue(path, &type, &data))
        return kNoOverride;
    return data.c_str();
}

WineOverrides::WineOverrides()
{
    for (const char *key : kGameKeys) {
        if (!KeyExists(key))
            keysToRemove_.push_back(key);
    }
    for (const char *key : {kGameKey, kGlobalKey}) {
        SavedValue value = {key, false, REG_NONE, ""};
        value.present = ReadValue(key, &value.type, &value.data);
        saved_.push_back(value);
        RemoveValue(key);
    }
}

WineOverrides::~WineOverrides()
{
    for (const SavedValue &value : saved_) {
        if (value.present)
            WriteValue(value.key, value.type, value.data);
        else
            RemoveValue(value.key);
    }
    // Deepest first; a key that has gained subkeys meanwhile stays.
    for (auto key = keysToRemove_.rbegin(); key != keysToRemove_.rend(); ++key)
        RegDeleteKeyA(HKEY_CURRENT_USER, *key);
}

void WineOverrides::SetForGame(const char *order)
{
    WriteValue(kGameKey, REG_SZ, std::string(order) + '\0');
}

void WineOverrides::SetGlobal(const char *order)
{
    WriteValue(kGlobalKey, REG_SZ, std::string(order) + '\0');
}

void WineOverrides::RemoveForGame()
{
    RemoveValue(kGameKey);
}

std::string WineOverrides::ForGame() const
{
    return ReadOrder(kGameKey);
}

std::string WineOverrides::Global() const
{
    return ReadOrder(kGlobalKey);
}
