#include "registry_tree.h"

#include <vector>

static void ReadInto(HKEY key, const std::string &path, RegistryTree *tree)
{
    (*tree)[path + "\\"] = StoredValue();
    char name[16384];
    for (DWORD index = 0;; ++index) {
        DWORD nameSize = sizeof name;
        DWORD type = REG_NONE;
        DWORD size = 0;
        if (RegEnumValueA(key, index, name, &nameSize, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            break;
        std::vector<char> data(size + 1);
        nameSize = sizeof name;
        StoredValue value;
        if (RegEnumValueA(key, index, name, &nameSize, nullptr, &value.type, reinterpret_cast<BYTE *>(data.data()),
                          &size) == ERROR_SUCCESS) {
            value.exists = true;
            value.bytes.assign(data.data(), size);
        }
        (*tree)[path + "\\:" + name] = value;
    }
    for (DWORD index = 0;; ++index) {
        DWORD nameSize = sizeof name;
        if (RegEnumKeyExA(key, index, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY sub;
        if (RegOpenKeyExA(key, name, 0, KEY_READ, &sub) == ERROR_SUCCESS) {
            ReadInto(sub, path + "\\" + name, tree);
            RegCloseKey(sub);
        }
    }
}

RegistryTree ReadRegistryTree(const std::string &key)
{
    RegistryTree tree;
    HKEY opened;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return tree;
    ReadInto(opened, key, &tree);
    RegCloseKey(opened);
    return tree;
}
