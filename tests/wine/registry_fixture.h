// The window with the current user's demo association and freeze-fix
// value saved before each test, cleared, and put back afterwards. Tests of
// these keys share one registry, so CMake runs them one at a time.
#pragma once

#include "dialog_fixture.h"
#include "user_registry.h"

const char kDemoKey[] = "software\\classes\\.dm2";
const char kProgramKey[] = "software\\classes\\Gravlok";
const char kOpenCommandKey[] = "software\\classes\\Gravlok\\shell\\open\\command";
const char kServiceLocationKey[] =
    "software\\classes\\local settings\\software\\microsoft\\windows\\gameux\\servicelocation";
const char kServiceUrl[] = "https://games.metaservices.microsoft.com/games/SGamesWebService.asmx";

// Leaves non-zero bytes where the next call's locals will lie, so a buffer
// that is read into without being cleared first shows it.
__attribute__((noinline)) inline void FillStackWithJunk()
{
    volatile char junk[8192];
    for (volatile char &c : junk)
        c = 'j';
}

class RegistryTest : public DialogTest {
protected:
    void SetUp() override
    {
        SHDeleteKeyA(HKEY_CURRENT_USER, kDemoKey);
        SHDeleteKeyA(HKEY_CURRENT_USER, kProgramKey);
        SHDeleteKeyA(HKEY_CURRENT_USER, kServiceLocationKey);
    }

    // A new window reads the registry afresh, as the next start of the tool would.
    void ReopenWindow()
    {
        DestroyWindow(dialog);
        dialog = nullptr;
        OpenWindow();
    }

    SavedRegistryKey savedDemo_{kDemoKey};
    SavedRegistryKey savedProgram_{kProgramKey};
    SavedRegistryKey savedServiceLocation_{kServiceLocationKey};
};
