// The built patchcfg.exe, started in a scratch game directory and driven
// from this process as a player's keys and clicks would.
#include "driver.h"

class Tool : public ::testing::Test {
protected:
    // The shell hands documents and web addresses to this program, which
    // notes them (see main), instead of to an editor or a browser.
    void SetUp() override
    {
        ResetShellKeys();
        const std::string command = "\"" + BuildDirectory() + "\\wine_tests.exe\" --record \"" + opened + "\" \"%1\"";
        for (const char *key : {"txtfile\\shell\\open\\command", "https\\shell\\open\\command"})
            RegSetValueA(HKEY_CLASSES_ROOT, key, REG_SZ, command.c_str(), command.size());
        RegSetValueA(HKEY_CLASSES_ROOT, ".txt", REG_SZ, "txtfile", 7);
        DeleteFileA(opened.c_str());
    }

    std::string WaitForOpened()
    {
        for (int waited = 0; waited < 20000 && ReadBytes(opened) == "<none>"; waited += 100)
            Sleep(100);
        return ReadBytes(opened);
    }

    void Close()
    {
        PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(WaitForExit(process), 0);
    }

    ScratchGameDir game;
    const std::string opened = BuildDirectory() + "\\opened.txt";
    HWND window = nullptr;
    HANDLE process = nullptr;
};

// The link opens the site on a click and on Enter once Tab has reached it.
// Esc, like the close box (see Close), ends the tool with 0, saving nothing.
TEST_F(Tool, HelpOpensTheReadMeTheLinkTheSiteAndEscapeSavesNothing)
{
    ASSERT_TRUE(StartTool(&window, &process));
    WriteBytes("patch.txt", "read me\r\n");
    PostMessageA(window, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
    EXPECT_EQ(WaitForOpened(), Utf8(game.path) + "\\patch.txt\n");
    // No context-help mode: nothing holds the mouse.
    GUITHREADINFO gui = {sizeof gui, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, {}};
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui));
    EXPECT_EQ(gui.hwndCapture, nullptr);
    const HWND link = GetDlgItem(window, IDC_LINK), apply = GetDlgItem(window, IDC_APPLY);
    DeleteFileA(opened.c_str());
    PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 6));
    PostMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(8, 6));
    EXPECT_EQ(WaitForOpened().rfind("https://", 0), 0u);
    DeleteFileA(opened.c_str());
    PostMessageA(window, WM_NEXTDLGCTL, WPARAM(apply), TRUE);
    PostMessageA(apply, WM_KEYDOWN, VK_TAB, 0);
    for (int waited = 0; waited < 5000 && gui.hwndFocus != link; waited += 50, Sleep(50))
        GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui);
    PostMessageA(gui.hwndFocus, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(WaitForOpened().rfind("https://", 0), 0u) << "Tab, then Enter";
    SetField(window, IDC_MAX_FPS, "60");
    SetBox(window, IDC_DEMO_ASSOCIATION, true);
    PostMessageA(GetDlgItem(window, IDC_MAX_FPS), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(WaitForExit(process), 0);
    EXPECT_EQ(DirectorySnapshot() + StoredText(kDemoKey, nullptr), "patch.txt: read me\r\n\n<none>");
}

// The tips' width, once the pointer has made them.
static LRESULT TipWidth(HWND window)
{
    SendMessageA(window, WM_SETCURSOR, WPARAM(GetDlgItem(window, IDC_APPLY)), HTCLIENT);
    HWND tip = nullptr;
    while ((tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) && GetWindow(tip, GW_OWNER) != window) {
    }
    return SendMessageA(tip, TTM_GETMAXTIPWIDTH, 0, 0);
}

// The tips as wide to the eye at 200 % (LogPixels, read as a program
// starts) as at 100 %. Windows scales the window itself only for programs
// whose manifest asks (the tests' is the tool's); Wine scales every one.
TEST_F(Tool, TipsAsWideToTheEyeAt200Percent)
{
    window = OpenConfigWindow();
    EXPECT_EQ(TipWidth(window), 250);
    DestroyWindow(window);
    const DWORD dpi = 192;
    RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD, &dpi, sizeof dpi);
    const ::testing::AssertionResult started = StartTool(&window, &process);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels");
    ASSERT_TRUE(started);
    EXPECT_EQ(TipWidth(window), 500);
    Close();
    wchar_t awareness[32] = {};
    QueryActCtxSettingsW(0, nullptr, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness",
                         awareness, 32, nullptr);
    EXPECT_EQ(std::wstring(awareness).rfind(L"PerMonitorV2,", 0), 0u);
}

// As the shell's program for documents and web addresses: notes what it was
// asked to open, in UTF-8.
int main(int argc, char **argv)
{
    wchar_t **arguments = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc == 4 && wcscmp(arguments[1], L"--record") == 0) {
        FILE *log = _wfopen(arguments[2], L"ab");
        return log && fprintf(log, "%s\n", Utf8(arguments[3]).c_str()) > 0 && fclose(log) == 0 ? 0 : 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
