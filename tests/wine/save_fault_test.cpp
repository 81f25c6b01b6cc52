// Apply when patch.cfg cannot be saved, run by an unprivileged player whom
// the file system really refuses (save_faults.sh makes each fault and
// clears it on request, in a game directory with the patch installed). The
// game directory must stay byte for byte and the registry as it was, Wine's
// DLL override included, the status log must say why, and Apply must save
// as usual once the fault is cleared.
#include <gtest/gtest.h>

#include <cstdlib>

#include "driver.h"

namespace {

std::string ShellKeys()
{
    return StoredText(kDemoKey, nullptr) + "|" + StoredText(kCommandKey, nullptr) + "|" +
           StoredText(kServiceKey, "games") + "|" + StoredText(kOverridesKey, "wsock32");
}

TEST(SaveFault, LeavesEverythingAsItWasUntilCleared)
{
    const std::string fault = getenv("GRAVLOK_FAULT"), clearRequest = getenv("GRAVLOK_CLEAR");
    const char *expected = fault == "read-only" || fault == "administrators-directory"
                               ? "Access denied to PATCH.CFG, try re-running as administrator"
                               : "Failed to write PATCH.CFG";
    ResetShellKeys();
    SHDeleteKeyA(HKEY_CURRENT_USER, kOverridesKey);
    HWND window = OpenConfigWindow();
    SetField(window, IDC_MAX_FPS, "300");
    SetBox(window, IDC_DEMO_ASSOCIATION, true);
    SetBox(window, IDC_FREEZE_FIX, true);
    // Another program holds patch.cfg open, sharing it with nobody.
    HANDLE held = fault == "held-open" ? CreateFileA("patch.cfg", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                                       : INVALID_HANDLE_VALUE;
    const std::string files = DirectorySnapshot(), keys = ShellKeys();
    Apply(window);
    EXPECT_EQ(StatusLines(window).back(), expected);
    EXPECT_EQ(DirectorySnapshot(), files);
    EXPECT_EQ(ShellKeys(), keys);

    CloseHandle(held);
    WriteBytes(clearRequest, "");
    for (int waited = 0; waited < 20000 && GetFileAttributesA(clearRequest.c_str()) != INVALID_FILE_ATTRIBUTES;
         waited += 50)
        Sleep(50);
    Apply(window);
    EXPECT_EQ(StatusLines(window).back(), "Wine set to load the patched WSOCK32.DLL");
    // The new settings, and nothing beside them.
    EXPECT_NE(ReadBytes("patch.cfg").find("\r\nmaxfps 300\r\n"), std::string::npos);
    EXPECT_EQ(DirectorySnapshot(), "patch.cfg: " + ReadBytes("patch.cfg") + "\n" + files.substr(files.find("wsock32")));
    EXPECT_EQ(StoredText(kDemoKey, nullptr) + StoredText(kServiceKey, "games"), "Gravlok");
    EXPECT_EQ(StoredText(kOverridesKey, "wsock32"), "native,builtin");
    Apply(window);
    EXPECT_EQ(StatusLines(window).back(), "Config written to PATCH.CFG") << "Wine set twice";
    DestroyWindow(window);
}

} // namespace
