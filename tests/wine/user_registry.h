// The current user's registry as the tests see it: values set and read
// back byte for byte, and whole keys saved and put back, so a test leaves
// the prefix as it found it.
#pragma once

#include <ostream>
#include <string>

#include "platform/win32.h"

struct StoredValue {
    bool exists = false;
    DWORD type = REG_NONE;
    std::string bytes;
    bool operator==(const StoredValue &other) const;
};
std::ostream &operator<<(std::ostream &out, const StoredValue &value);

// A value's exact bytes, terminator included when one was stored.
StoredValue ReadStoredValue(const char *key, const char *name);
// A text value with its terminator, as programs normally store one.
StoredValue Text(const std::string &text);
// Creates the key as needed; name nullptr is the default value.
void StoreValue(const char *key, const char *name, DWORD type, const std::string &bytes);
void StoreText(const char *key, const char *name, const std::string &text);
bool KeyExists(const char *key);

// Copies a key with everything under it aside and puts it back when
// destroyed; a key that was missing is removed again, with the parents the
// test made.
class SavedRegistryKey {
public:
    explicit SavedRegistryKey(const char *key);
    ~SavedRegistryKey();
    SavedRegistryKey(const SavedRegistryKey &) = delete;
    SavedRegistryKey &operator=(const SavedRegistryKey &) = delete;

private:
    std::string key_;
    std::string copy_;
    std::string firstMissing_;
};
