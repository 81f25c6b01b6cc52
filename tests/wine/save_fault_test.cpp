// Apply where save_faults.sh makes the file system refuse the save: the
// log says so at once, a refused save leaves the game directory and the
// registry as they were, and Apply saves as usual once the fault is cleared.
#include <cstdlib>

#include "driver.h"

static std::string ShellKeys()
{
    return StoredText(kDemoKey, nullptr) + "|" + StoredText(kOverridesKey, "wsock32");
}

TEST(SaveFault, AnsweredAtOnceAndClearedByTheNextApply)
{
    if (!getenv("GRAVLOK_FAULT"))
        GTEST_SKIP() << "run by save_faults.sh";
    const std::string fault = getenv("GRAVLOK_FAULT"), clearRequest = getenv("GRAVLOK_CLEAR");
    ResetShellKeys();
    SHDeleteKeyA(HKEY_CURRENT_USER, kOverridesKey);
    HWND window = OpenConfigWindow();
    SetField(window, IDC_MAX_FPS, "300");
    SetBox(window, IDC_DEMO_ASSOCIATION, true);
    const auto files = Files();
    const std::string keys = ShellKeys();
    const DWORD started = GetTickCount();
    Apply(window);
    EXPECT_LT(GetTickCount() - started, AtOnceMs()) << "waited although nothing holds a file";
    // A directory the player may not create files in still takes a rewrite of its patch.cfg.
    const std::map<std::string, std::string> logged = {
        {"no-create", "Wine set to load the patched WSOCK32.DLL"},
        {"first-save", "Access denied to PATCH.CFG, try re-running as administrator"},
        {"write-fails", "Failed to write PATCH.CFG"}};
    EXPECT_EQ(LastLine(window), logged.at(fault));
    if (fault != "no-create") {
        EXPECT_EQ(Files(), files);
        EXPECT_EQ(ShellKeys(), keys);
        WriteBytes(clearRequest, "");
        for (int waited = 0; waited < 20000 && ReadBytes(clearRequest) != "<none>"; waited += 50)
            Sleep(50);
        Apply(window);
        EXPECT_EQ(LastLine(window), "Wine set to load the patched WSOCK32.DLL");
    }
    EXPECT_NE(ReadBytes("patch.cfg").find("\r\nmaxfps 300\r\n"), std::string::npos);
    EXPECT_EQ(Files().size(), 2u) << "patch.cfg and wsock32.dll only";
    EXPECT_EQ(ShellKeys(), "Gravlok|native,builtin");
    DestroyWindow(window);
}
