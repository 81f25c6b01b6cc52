// Apply where save_faults.sh keeps patch.cfg from being saved: the game
// directory and the registry (Wine's DLL override too) stay as they were,
// the log says why, and Apply saves as usual once the fault is cleared.
#include <cstdlib>

#include "driver.h"

static std::string ShellKeys()
{
    return StoredText(kDemoKey, nullptr) + "|" + StoredText(kCommandKey, nullptr) + "|" +
           StoredText(kServiceKey, "games") + "|" + StoredText(kOverridesKey, "wsock32");
}

TEST(SaveFault, LeavesEverythingAsItWasUntilCleared)
{
    if (!getenv("GRAVLOK_FAULT"))
        GTEST_SKIP() << "run by save_faults.sh";
    const std::string fault = getenv("GRAVLOK_FAULT"), clearRequest = getenv("GRAVLOK_CLEAR");
    ResetShellKeys();
    SHDeleteKeyA(HKEY_CURRENT_USER, kOverridesKey);
    HWND window = OpenConfigWindow();
    SetField(window, IDC_MAX_FPS, "300");
    SetBox(window, IDC_DEMO_ASSOCIATION, true);
    SetBox(window, IDC_FREEZE_FIX, true);
    // Another program holds patch.cfg open, sharing it with nobody.
    HANDLE held = fault == "held-open" ? CreateFileA("patch.cfg", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                                       : INVALID_HANDLE_VALUE;
    const auto files = Files();
    const std::string keys = ShellKeys();
    Apply(window);
    EXPECT_EQ(LastLine(window), fault == "read-only" || fault == "administrators-directory"
                                              ? "Access denied to PATCH.CFG, try re-running as administrator"
                                              : "Failed to write PATCH.CFG");
    EXPECT_EQ(Files(), files);
    EXPECT_EQ(ShellKeys(), keys);

    CloseHandle(held);
    WriteBytes(clearRequest, "");
    for (int waited = 0; waited < 20000 && ReadBytes(clearRequest) != "<none>"; waited += 50)
        Sleep(50);
    Apply(window);
    EXPECT_EQ(LastLine(window), "Wine set to load the patched WSOCK32.DLL");
    EXPECT_NE(ReadBytes("patch.cfg").find("\r\nmaxfps 300\r\n"), std::string::npos);
    EXPECT_EQ(Files(), (std::map<std::string, std::string>{{"patch.cfg", ReadBytes("patch.cfg")},
                                                          {"wsock32.dll", files.at("wsock32.dll")}}));
    EXPECT_EQ(StoredText(kDemoKey, nullptr) + "|" + StoredText(kServiceKey, "games") + "|" +
              StoredText(kOverridesKey, "wsock32"), "Gravlok||native,builtin");
    Apply(window);
    EXPECT_EQ(LastLine(window), "Config written to PATCH.CFG") << "Wine set twice";
    DestroyWindow(window);
}
