// The built patchcfg.exe at 200 % display scale, started in a scratch game
// directory and driven from this process by a player's pointer and keys.
#include "driver.h"

class Tool : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetShellKeys();
        // The shell hands what it opens to this program (see main).
        const std::string command = "\"" + BuildDirectory() + "\\wine_tests.exe\" --record \"" + opened + "\" \"%1\"";
        for (const char *key : {"txtfile\\shell\\open\\command", "https\\shell\\open\\command"})
            RegSetValueA(HKEY_CLASSES_ROOT, key, REG_SZ, command.c_str(), command.size());
        RegSetValueA(HKEY_CLASSES_ROOT, ".txt", REG_SZ, "txtfile", 7);
        DeleteFileA(opened.c_str());
        WriteBytes("patch.txt", "read me\r\n");
        const DWORD dpi = 192; // read as a program starts
        RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD, &dpi, sizeof dpi);
        SetCursorPos(0, 0); // away from where the window opens
        window = StartTool(&tool);
        RegDeleteKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels");
        ASSERT_NE(window, nullptr) << "the window did not open";
    }
    void TearDown() override { TerminateProcess(tool.hProcess, 99); }

    // What the shell opened next, or "<none>".
    std::string NextOpened()
    {
        // A whole record: the shell's program may still be writing it.
        for (int waited = 0; waited < 20000 && ReadBytes(opened).back() != '\n'; waited += 100)
            Sleep(100);
        const std::string document = ReadBytes(opened);
        return DeleteFileA(opened.c_str()), document;
    }
    // The tip shown once the pointer rests on the control, or null. The
    // pointer comes to rest again every second, as a player's hand does:
    // a move Wine loses on its way to the window is not the end of it.
    HWND TipOver(int id)
    {
        RECT control;
        GetWindowRect(GetDlgItem(window, id), &control);
        for (int waited = 0; waited < 10000; waited += 50, Sleep(50)) {
            if (waited % 1000 == 0)
                SetCursorPos((control.left + control.right) / 2 + waited / 1000 % 2, (control.top + control.bottom) / 2);
            for (HWND tip = nullptr; (tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr));)
                if (GetWindow(tip, GW_OWNER) == window && IsWindowVisible(tip))
                    return tip;
        }
        return nullptr;
    }
    // Changes a field and a box, then ends the tool so: 0, and nothing saved.
    void ExpectEndsUnsaved(HWND to, UINT message, WPARAM wParam)
    {
        SetField(window, IDC_MAX_FPS, "60");
        SetBox(window, IDC_DEMO_ASSOCIATION, true);
        PostMessageA(to, message, wParam, 0);
        DWORD code = 99;
        WaitForSingleObject(tool.hProcess, 15000), GetExitCodeProcess(tool.hProcess, &code);
        EXPECT_EQ(code, 0u);
        EXPECT_EQ(ReadBytes("patch.cfg"), "<none>");
        EXPECT_EQ(StoredText(kDemoKey, nullptr), "<none>");
    }
    ScratchGameDir game;
    const std::string opened = BuildDirectory() + "\\opened.txt";
    PROCESS_INFORMATION tool = {};
    HWND window = nullptr;
};

static void Press(BYTE key)
{
    keybd_event(key, 0, 0, 0), keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
}

// As wide to the eye as 250 pixels at 100 %: the long tip wraps at 500.
TEST_F(Tool, TipShowsUnderARestingPointerWrappedAtTwiceTheWidthAtTwiceTheScale)
{
    const HWND tip = TipOver(IDC_ENABLE);
    RECT shown = {};
    ASSERT_TRUE(GetWindowRect(tip, &shown)) << "no tip shown";
    wchar_t text[256] = {};
    for (int waited = 0; waited < 2000 && !text[0]; waited += 50, Sleep(50)) // it may be mid-way to showing it
        SendMessageW(tip, WM_GETTEXT, 256, LPARAM(text));
    EXPECT_EQ(Utf8(text),
              "Enable these settings and the other features of the patch - note the patch's in-game menu options will "
              "reset to defaults if it is disabled");
    EXPECT_GT(shown.right - shown.left, 400);
    EXPECT_LE(shown.right - shown.left, 520);
}

// From the keyboard (Tab to it, Enter) as from the pointer.
TEST_F(Tool, LinkOpensTheSiteOnEnterAndOnAClick)
{
    PostMessageA(window, WM_NEXTDLGCTL, WPARAM(GetDlgItem(window, IDC_APPLY)), TRUE);
    Press(VK_TAB), Press(VK_RETURN);
    EXPECT_EQ(NextOpened().rfind("https://", 0), 0u) << "Enter";
    PostMessageA(GetDlgItem(window, IDC_LINK), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 6));
    PostMessageA(GetDlgItem(window, IDC_LINK), WM_LBUTTONUP, 0, MAKELPARAM(8, 6));
    EXPECT_EQ(NextOpened().rfind("https://", 0), 0u) << "a click";
}

// Wine draws no "?" in the caption: on Linux F1 is the way to the read-me.
TEST_F(Tool, ReadMeOpensOnF1AndOnTheCaptionsQuestionMark)
{
    Press(VK_F1);
    EXPECT_EQ(NextOpened(), Utf8(game.path) + "\\patch.txt\n") << "F1";
    PostMessageA(window, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
    EXPECT_EQ(NextOpened(), Utf8(game.path) + "\\patch.txt\n") << "?";
}

TEST_F(Tool, EscEndsWithNothingSaved)
{
    ExpectEndsUnsaved(GetDlgItem(window, IDC_MAX_FPS), WM_KEYDOWN, VK_ESCAPE);
}

TEST_F(Tool, CloseBoxEndsWithNothingSaved)
{
    ExpectEndsUnsaved(window, WM_SYSCOMMAND, SC_CLOSE);
}

// As the shell's program for documents and web addresses: notes what it opens.
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
