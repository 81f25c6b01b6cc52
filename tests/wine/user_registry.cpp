#include "user_registry.h"

#include <stdexcept>
#include <vector>

bool StoredValue::operator==(const StoredValue &other) const
{
    return exists == other.exists && type == other.type && bytes == other.bytes;
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

StoredValue Text(const std::string &text)
{
    StoredValue value;
    value.exists = true;
    value.type = REG_SZ;
    value.bytes.assign(text.c_str(), text.size() + 1);
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
    const StoredValue value = Text(text);
    StoreValue(key, name, value.type, value.bytes);
}

bool KeyExists(const char *key)
{
    HKEY opened;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

static const char kCopies[] = "software\\Gravlok Patch Config tests";

static bool CopyKey(const std::string &from, const std::string &to)
{
    HKEY target;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, to.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const bool copied = SHCopyKeyA(HKEY_CURRENT_USER, from.c_str(), target, 0) == ERROR_SUCCESS;
    RegCloseKey(target);
    return copied;
}

SavedRegistryKey::SavedRegistryKey(const char *key) : key_(key)
{
    if (KeyExists(key)) {
        static int copies;
        copy_ = std::string(kCopies) + "\\" + std::to_string(++copies);
        if (!CopyKey(key_, copy_))
            throw std::runtime_error(std::string("cannot save ") + key);
        return;
    }
    // The shortest leading part of the path that is missing: everything the
    // test creates from there down is its own.
    for (size_t end = key_.find('\\');; end = key_.find('\\', end + 1)) {
        firstMissing_ = key_.substr(0, end);
        if (!KeyExists(firstMissing_.c_str()) || end == std::string::npos)
            break;
    }
}

SavedRegistryKey::~SavedRegistryKey()
{
    if (copy_.empty()) {
        SHDeleteKeyA(HKEY_CURRENT_USER, firstMissing_.c_str());
        return;
    }
    SHDeleteKeyA(HKEY_CURRENT_USER, key_.c_str());
    CopyKey(copy_, key_);
    SHDeleteKeyA(HKEY_CURRENT_USER, copy_.c_str());
    // Removed once the last copy is back.
    SHDeleteEmptyKeyA(HKEY_CURRENT_USER, kCopies);
}
