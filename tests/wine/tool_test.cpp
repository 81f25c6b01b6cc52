// The built patchcfg.exe, started in a scratch game directory and driven
// from this process as a player's keys and clicks would.
#include <set>

#include "driver.h"

// At 200 % display scale (LogPixels, read as a program starts): the tips as
// wide to the eye as 250 pixels at 100 %; the link opening the site on Enter
// once Tab has reached it and on a click; F1 and "?" opening the read-me, not
// context-help mode; Apply saving beside another program that holds each new
// file; Esc and the close box ending the tool with 0, unsaved. The shell
// hands what it opens to this program (see main).
TEST(Tool, HelpLinkApplyAndEscapeAtTwiceTheScale)
{
    ScratchGameDir game;
    ResetShellKeys();
    const std::string opened = BuildDirectory() + "\\opened.txt";
    const std::string command = "\"" + BuildDirectory() + "\\wine_tests.exe\" --record \"" + opened + "\" \"%1\"";
    for (const char *key : {"txtfile\\shell\\open\\command", "https\\shell\\open\\command"})
        RegSetValueA(HKEY_CLASSES_ROOT, key, REG_SZ, command.c_str(), command.size());
    RegSetValueA(HKEY_CLASSES_ROOT, ".txt", REG_SZ, "txtfile", 7);
    DeleteFileA(opened.c_str());
    const auto nextOpened = [&] {
        // A whole record: the shell's program may still be writing it.
        for (int waited = 0; waited < 20000 && ReadBytes(opened).back() != '\n'; waited += 100)
            Sleep(100);
        const std::string document = ReadBytes(opened);
        return DeleteFileA(opened.c_str()), document;
    };
    const DWORD dpi = 192;
    RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD, &dpi, sizeof dpi);
    HWND window = nullptr;
    HANDLE process = nullptr;
    const ::testing::AssertionResult started = StartTool(&window, &process);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels");
    ASSERT_TRUE(started);
    SendMessageA(window, WM_SETCURSOR, WPARAM(GetDlgItem(window, IDC_APPLY)), HTCLIENT); // the tips are made
    HWND tip = nullptr;
    while ((tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) && GetWindow(tip, GW_OWNER) != window) {
    }
    EXPECT_EQ(SendMessageA(tip, TTM_GETMAXTIPWIDTH, 0, 0), 500);

    // Tab and Enter first: the shell's programs started below may take the foreground.
    GUITHREADINFO gui = {sizeof gui, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, {}};
    const HWND link = GetDlgItem(window, IDC_LINK), apply = GetDlgItem(window, IDC_APPLY);
    SetForegroundWindow(window);
    PostMessageA(window, WM_NEXTDLGCTL, WPARAM(apply), TRUE);
    PostMessageA(apply, WM_KEYDOWN, VK_TAB, 0);
    for (int waited = 0; waited < 5000 && gui.hwndFocus != link; waited += 50, Sleep(50))
        GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui);
    EXPECT_EQ(gui.hwndFocus, link) << "Tab: the focus is on " << GetDlgCtrlID(gui.hwndFocus);
    PostMessageA(link, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(nextOpened().rfind("https://", 0), 0u) << "Enter";
    PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 6));
    PostMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(8, 6));
    EXPECT_EQ(nextOpened().rfind("https://", 0), 0u) << "a click";
    WriteBytes("patch.txt", "read me\r\n");
    for (const std::string help : {"F1", "?"}) {
        // A key goes to the foreground window, which the shell's programs may have taken.
        for (int waited = 0; waited < 5000 && GetForegroundWindow() != window; waited += 50, Sleep(50))
            SetForegroundWindow(window);
        if (help == "F1")
            keybd_event(VK_F1, 0, 0, 0), keybd_event(VK_F1, 0, KEYEVENTF_KEYUP, 0);
        else
            PostMessageA(window, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
        EXPECT_EQ(nextOpened(), Utf8(game.path) + "\\patch.txt\n") << help;
        GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui);
        EXPECT_EQ(gui.hwndCapture, nullptr) << help << ": in context-help mode";
    }

    // Apply beside a program that holds each new file of the game directory
    // for a moment, as indexers, virus scanners and sync clients do.
    const std::string held = BuildDirectory() + "\\held.txt";
    std::string indexing = "\"" + BuildDirectory() + "\\wine_tests.exe\" --hold-new-files \"" + held + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION indexer = {};
    DeleteFileA(held.c_str());
    ASSERT_TRUE(CreateProcessA(nullptr, &indexing[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &indexer));
    for (const std::string maxfps : {"301", "302", "303", "304"}) {
        SetField(window, IDC_MAX_FPS, maxfps);
        SendMessageA(window, WM_COMMAND, IDC_APPLY, LPARAM(GetDlgItem(window, IDC_APPLY)));
        EXPECT_EQ(LastLine(window), "Config written to PATCH.CFG") << maxfps;
        EXPECT_NE(ReadBytes("patch.cfg").find("\r\nmaxfps " + maxfps + "\r\n"), std::string::npos) << maxfps;
    }
    Sleep(500); // the last file let go
    TerminateProcess(indexer.hProcess, 0);
    EXPECT_NE(ReadBytes(held).find("patch.cfg\n"), std::string::npos) << "never held: " << ReadBytes(held);
    const auto saved = Files();
    EXPECT_EQ(saved, (std::map<std::string, std::string>{{"patch.cfg", ReadBytes("patch.cfg")}, {"patch.txt", "read me\r\n"}}));

    SetField(window, IDC_MAX_FPS, "60");
    SetBox(window, IDC_DEMO_ASSOCIATION, true);
    PostMessageA(GetDlgItem(window, IDC_MAX_FPS), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(WaitForExit(process), 0) << "Esc";
    ASSERT_TRUE(StartTool(&window, &process));
    SetBox(window, IDC_DEMO_ASSOCIATION, true);
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(WaitForExit(process), 0) << "the close box";
    EXPECT_EQ(Files(), saved);
    EXPECT_EQ(StoredText(kDemoKey, nullptr), "<none>");
}

// Opens each file that appears or changes in the current directory for
// 300 ms, sharing reading and writing but not deletion, and notes its name.
static int HoldNewFiles(const wchar_t *log)
{
    HANDLE changed = FindFirstChangeNotificationW(L".", FALSE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE);
    std::set<std::string> seen;
    for (DWORD started = GetTickCount(); GetTickCount() - started < 60000; FindNextChangeNotification(changed)) {
        WaitForSingleObject(changed, 20);
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA("*", &found);
        for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
            const std::string key = std::string(found.cFileName) + std::to_string(found.ftLastWriteTime.dwLowDateTime);
            if (found.cFileName[0] == '.' || !seen.insert(key).second)
                continue;
            HANDLE file = CreateFileA(found.cFileName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, 0, OPEN_EXISTING, 0, 0);
            if (file == INVALID_HANDLE_VALUE)
                continue;
            FILE *notes = _wfopen(log, L"ab");
            fprintf(notes, "%s\n", found.cFileName);
            fclose(notes);
            Sleep(300);
            CloseHandle(file);
        }
        FindClose(search);
    }
    return 0;
}

// As the shell's program for documents and web addresses: notes what it opens.
int main(int argc, char **argv)
{
    wchar_t **arguments = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc == 3 && wcscmp(arguments[1], L"--hold-new-files") == 0)
        return HoldNewFiles(arguments[2]);
    if (argc == 4 && wcscmp(arguments[1], L"--record") == 0) {
        FILE *log = _wfopen(arguments[2], L"ab");
        return log && fprintf(log, "%s\n", Utf8(arguments[3]).c_str()) > 0 && fclose(log) == 0 ? 0 : 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
