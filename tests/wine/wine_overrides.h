// Wine's DLL overrides for wsock32, the game's own and the global one, as a
// test wants them: removed when the test starts, put back as they were when
// it ends. The prefix is shared by tests running side by side, so every
// test that reads or writes them holds the ctest lock wine_dll_overrides.
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"

class WineOverrides {
public:
    WineOverrides();
    ~WineOverrides();
    WineOverrides(const WineOverrides &) = delete;
    WineOverrides &operator=(const WineOverrides &) = delete;

    void SetForGame(const char *order);
    void SetGlobal(const char *order);
    void RemoveForGame();

    // The value, or kNoOverride when the key does not name wsock32.
    std::string ForGame() const;
    std::string Global() const;

private:
    struct SavedValue {
        const char *key;
        bool present;
        DWORD type;
        std::string data;
    };
    std::vector<SavedValue> saved_;
    std::vector<const char *> keysToRemove_;
};

extern const char kNoOverride[];
