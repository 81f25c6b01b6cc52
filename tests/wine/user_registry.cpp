#include "user_registry.h"

#include <stdexcept>
#include <vector>

bool StoredValue::operator==(const StoredValue &other) const
{
    return exists == other.exists && type == other.type && bytes == other.bytes;
}

bool RegistryTree::operator==(const RegistryTree &other) const
{
    return exists == other.exists && values == other.values && subkeys == other.subkeys;
}

std::ostream &operator<<(std::ostream &out, const StoredValue &value)
{
    if (!value.exists)
        return out << "(no value)";
    out << "type " << value.type << ", " << value.bytes.size() << " bytes \"";
    for (char c : value.bytes)
        out << (c == '\0' ? std::string("\\0") : std::string(1, c));
    return out << '"';
}

StoredValue ReadStoredValue(const char *key, const char *name)
{
    StoredValue value;
    HKEY opened;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (RegQueryValueExA(opened, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<char> data(size + 1);
        if (RegQueryValueExA(opened, name, nullptr, &value.type, reinterpret_cast<BYTE *>(data.data()), &size) ==
            ERROR_SUCCESS) {
            value.exists = true;
            value.bytes.assign(data.data(), size);
        }
    }
    RegCloseKey(opened);
    return value;
}

void StoreValue(const char *key, const char *name, DWORD type, const std::string &bytes)
{
    HKEY created;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &created, nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error(std::string("cannot create ") + key);
    const LONG result = RegSetValueExA(created, name, 0, type, reinterpret_cast<const BYTE *>(bytes.data()),
                                       static_cast<DWORD>(bytes.size()));
    RegCloseKey(created);
    if (result != ERROR_SUCCESS)
        throw std::runtime_error(std::string("cannot set a value of ") + key);
}

void StoreText(const char *key, const char *name, const std::string &text)
{
    StoreValue(key, name, REG_SZ, std::string(text.c_str(), text.size() + 1));
}

bool KeyExists(const char *key)
{
    HKEY opened;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

static RegistryTree ReadTree(HKEY key)
{
    RegistryTree tree;
    tree.exists = true;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof name;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        DWORD size = 0, type = REG_NONE;
        RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
        std::vector<char> data(size + 1);
        RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(data.data()), &size);
        StoredValue &value = tree.values[name];
        value.exists = true;
        value.type = type;
        value.bytes.assign(data.data(), size);
    }
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof name;
        if (RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY subkey;
        if (RegOpenKeyExA(key, name, 0, KEY_READ, &subkey) == ERROR_SUCCESS) {
            tree.subkeys[name] = ReadTree(subkey);
            RegCloseKey(subkey);
        }
    }
    return tree;
}

RegistryTree ReadRegistryTree(const char *key)
{
    HKEY opened;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return RegistryTree();
    RegistryTree tree = ReadTree(opened);
    RegCloseKey(opened);
    return tree;
}

static void WriteTree(const std::string &key, const RegistryTree &tree)
{
    HKEY created;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &created, nullptr) !=
        ERROR_SUCCESS)
        return;
    for (const auto &value : tree.values)
        RegSetValueExA(created, value.first.empty() ? nullptr : value.first.c_str(), 0, value.second.type,
                       reinterpret_cast<const BYTE *>(value.second.bytes.data()),
                       static_cast<DWORD>(value.second.bytes.size()));
    RegCloseKey(created);
    for (const auto &subkey : tree.subkeys)
        WriteTree(key + "\\" + subkey.first, subkey.second);
}

SavedRegistryKey::SavedRegistryKey(const char *key) : key_(key), saved_(ReadRegistryTree(key))
{
    if (saved_.exists)
        return;
    // The shortest leading part of the path that is missing: everything the
    // test creates from there down is its own.
    for (size_t end = key_.find('\\'); firstMissing_.empty(); end = key_.find('\\', end + 1)) {
        const std::string part = key_.substr(0, end);
        if (!KeyExists(part.c_str()))
            firstMissing_ = part;
        if (end == std::string::npos)
            break;
    }
}

SavedRegistryKey::~SavedRegistryKey()
{
    if (!saved_.exists) {
        SHDeleteKeyA(HKEY_CURRENT_USER, firstMissing_.c_str());
        return;
    }
    SHDeleteKeyA(HKEY_CURRENT_USER, key_.c_str());
    WriteTree(key_, saved_);
}
