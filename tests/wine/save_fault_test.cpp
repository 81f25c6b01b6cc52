// Apply where save_faults.sh makes the file system refuse the save: the
// log says so at once, and a refused save leaves the game directory and the
// registry as they were.
#include "driver.h"

TEST(SaveFault, AnsweredAtOnceLeavingARefusedSaveUnmade)
{
    if (!getenv("GRAVLOK_FAULT"))
        GTEST_SKIP() << "run by save_faults.sh";
    const std::string fault = getenv("GRAVLOK_FAULT");
    ResetShellKeys();
    HWND window = OpenConfigWindow();
    SetField(window, IDC_MAX_FPS, "300");
    SetBox(window, IDC_DEMO_ASSOCIATION, true);
    const auto files = Files();
    const DWORD started = GetTickCount();
    Apply(window);
    EXPECT_LT(GetTickCount() - started, AtOnceMs()) << "waited although nothing holds a file";
    // A directory the player may not create files in still takes a rewrite of its patch.cfg.
    const std::map<std::string, std::string> logged = {{"no-create", "Config written to PATCH.CFG"},
        {"first-save", "Access denied to PATCH.CFG, try re-running as administrator"},
        {"write-fails", "Failed to write PATCH.CFG"}};
    EXPECT_EQ(StatusLines(window).back(), logged.at(fault));
    const bool saved = fault == "no-create";
    EXPECT_EQ(Files().size(), files.size()) << "nothing beside patch.cfg";
    EXPECT_EQ(ReadBytes("patch.cfg").find("\r\nmaxfps 300\r\n") != std::string::npos, saved);
    EXPECT_EQ(StoredText(kDemoKey, nullptr), saved ? "Gravlok" : "<none>");
    DestroyWindow(window);
}
