// The built patchcfg.exe, started in a scratch game directory and driven
// from this process as a player's keys and clicks would.
#include <gtest/gtest.h>

#include "driver.h"

namespace {

class Tool : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetShellKeys();
        // The shell hands documents and web addresses to this program, which
        // notes them (see main), instead of to an editor or a browser.
        const std::string command = "\"" + BuildDirectory() + "\\wine_tests.exe\" --record \"" + opened + "\" \"%1\"";
        for (const std::string key : {"GravlokTest\\shell\\open\\command", "https\\shell\\open\\command", ".txt"}) {
            const std::string text = key == ".txt" ? "GravlokTest" : command;
            ASSERT_EQ(RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, text.c_str(), text.size()), ERROR_SUCCESS);
        }
        ASSERT_TRUE(StartTool(&window, &process));
    }

    std::string WaitForOpened()
    {
        for (int waited = 0; waited < 20000 && ReadBytes(opened) == "<none>"; waited += 100)
            Sleep(100);
        return ReadBytes(opened);
    }

    ScratchGameDir game;
    std::string opened = game.path + ".opened";
    HWND window = nullptr;
    HANDLE process = nullptr;
};

TEST_F(Tool, EscapeAndTheCloseBoxEndItWithoutSaving)
{
    SetField(window, IDC_MAX_FPS, "60");
    PostMessageA(GetDlgItem(window, IDC_MAX_FPS), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(WaitForExit(process), 0);
    ASSERT_TRUE(StartTool(&window, &process));
    SetBox(window, IDC_DEMO_ASSOCIATION, true);
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(WaitForExit(process), 0);
    EXPECT_EQ(DirectorySnapshot(), "");
    EXPECT_EQ(StoredText(kDemoKey, nullptr), "<none>");
}

TEST_F(Tool, HelpButtonOpensTheReadMeAndTheLinkTheSite)
{
    WriteBytes("patch.txt", "read me\r\n");
    PostMessageA(window, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
    EXPECT_EQ(WaitForOpened(), game.path + "\\patch.txt\n");
    // No context-help mode: nothing holds the mouse, and Apply still works.
    GUITHREADINFO gui = {sizeof gui, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, {}};
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui));
    EXPECT_EQ(gui.hwndCapture, nullptr);
    Apply(window);
    EXPECT_EQ(StatusLines(window).back(), "Config written to PATCH.CFG");

    DeleteFileA(opened.c_str());
    PostMessageA(GetDlgItem(window, IDC_LINK), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 6));
    PostMessageA(GetDlgItem(window, IDC_LINK), WM_LBUTTONUP, 0, MAKELPARAM(8, 6));
    EXPECT_EQ(WaitForOpened().rfind("https://", 0), 0u);
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(WaitForExit(process), 0);
}

// An editor or a sync client holds patch.cfg open, sharing reading and
// writing but not deletion: a plain write would succeed, and so must Apply.
TEST_F(Tool, SavesPatchCfgHeldOpenByAnotherProgram)
{
    WriteBytes("patch.cfg", "maxfps 120\r\n");
    HANDLE held = CreateFileA("patch.cfg", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    SetField(window, IDC_MAX_FPS, "300");
    Apply(window);
    EXPECT_EQ(StatusLines(window).back(), "Config written to PATCH.CFG");
    EXPECT_NE(ReadBytes("patch.cfg").find("\r\nmaxfps 300\r\n"), std::string::npos);
    CloseHandle(held);
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(WaitForExit(process), 0);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && strcmp(argv[1], "--record") == 0) {
        FILE *log = fopen(argv[2], "ab");
        return log && fprintf(log, "%s\n", argv[3]) > 0 && fclose(log) == 0 ? 0 : 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
