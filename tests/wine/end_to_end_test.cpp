// Starts the built patchcfg.exe in a scratch game directory and drives it
// from this process, as a player's clicks and keys would, then checks the
// bytes it saved and how it ended.
#include <gtest/gtest.h>

#include <string>

#include "display/mode_key.h"
#include "platform/win32.h"
#include "resources/resource.h"
#include "scratch_dir.h"

namespace {

std::string BuildDirectory()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string dir = path;
    return dir.substr(0, dir.rfind('\\'));
}

// The shell hands documents and web addresses to open_recorder.exe, which
// logs them, instead of to a real editor or browser.
void RouteShellOpenToRecorder()
{
    const std::string command = "\"" + BuildDirectory() + "\\open_recorder.exe\" \"%1\"";
    const char *keys[] = {"GravlokTest.document\\shell\\open\\command", "https\\shell\\open\\command"};
    for (const char *key : keys) {
        ASSERT_EQ(RegSetValueA(HKEY_CLASSES_ROOT, key, REG_SZ, command.c_str(), command.size()), ERROR_SUCCESS);
    }
    ASSERT_EQ(RegSetValueA(HKEY_CLASSES_ROOT, ".txt", REG_SZ, "GravlokTest.document", 20), ERROR_SUCCESS);
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Beside the scratch directory, so tests running at once keep apart.
        recorderLog_ = game_.Path() + ".opened.log";
        SetEnvironmentVariableA("GRAVLOK_OPEN_LOG", recorderLog_.c_str());
    }

    void TearDown() override
    {
        DeleteFileA(recorderLog_.c_str());
        if (process_.hProcess) {
            TerminateProcess(process_.hProcess, 99);
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
    }

    void StartTool()
    {
        std::string exe = BuildDirectory();
        exe = exe.substr(0, exe.rfind('\\')) + "\\patchcfg.exe";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        ASSERT_TRUE(CreateProcessA(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                                   game_.Path().c_str(), &startup, &process_))
            << exe << " error " << GetLastError();
        for (int waited = 0; waited < 30000 && !window_; waited += 50) {
            HWND found = FindWindowA(nullptr, "Gravlok Patch Config");
            DWORD owner = 0;
            if (found && GetWindowThreadProcessId(found, &owner) && owner == process_.dwProcessId && IsWindowVisible(found))
                window_ = found;
            else
                Sleep(50);
        }
        ASSERT_NE(window_, nullptr) << "the window did not open";
    }

    HWND Control(int id) const { return GetDlgItem(window_, id); }

    void SetBox(int id, bool checked)
    {
        SendMessageA(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }

    void SetField(int id, const char *text) { SendMessageA(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }

    std::string Field(int id) const
    {
        char text[64] = {};
        SendMessageA(Control(id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        return text;
    }

    // Read as UTF-16: Wine passes list box text between processes only so.
    std::string LastStatusLine() const
    {
        const LRESULT count = SendMessageW(Control(IDC_STATUS_LOG), LB_GETCOUNT, 0, 0);
        wchar_t text[256] = {};
        if (count > 0)
            SendMessageW(Control(IDC_STATUS_LOG), LB_GETTEXT, count - 1, reinterpret_cast<LPARAM>(text));
        return std::string(text, text + wcslen(text));
    }

    void Apply() { SendMessageA(Control(IDC_APPLY), BM_CLICK, 0, 0); }

    // The exit code once the process has ended, or -1 if it is still running.
    long WaitForExit()
    {
        if (WaitForSingleObject(process_.hProcess, 15000) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return static_cast<long>(code);
    }

    std::string WaitForRecordedOpen()
    {
        for (int waited = 0; waited < 20000; waited += 100) {
            std::string logged = ReadFileBytes(recorderLog_.c_str());
            if (!logged.empty())
                return logged;
            Sleep(100);
        }
        return "";
    }

    ScratchGameDir game_;
    PROCESS_INFORMATION process_ = {};
    HWND window_ = nullptr;
    std::string recorderLog_;
};

TEST_F(EndToEnd, ApplySavesTheWindowAndEscapeEndsWithoutSaving)
{
    WriteFileBytes("patch.cfg", "maxfps 120\r\ndlrate -1\r\nwidth 1024\r\nheight 768\r\n");
    StartTool();
    EXPECT_EQ(LastStatusLine(), "Config read from PATCH.CFG");
    SetField(IDC_CONSOLE_OVERLAY, "40");
    SetField(IDC_CHAT_LINES, "12");
    SetBox(IDC_SHOW_GUN, true);
    SetBox(IDC_ENABLE, false);
    Apply();
    EXPECT_EQ(LastStatusLine(), "Config written to PATCH.CFG");
    EXPECT_EQ(Field(IDC_CONSOLE_OVERLAY), "32");
    const std::string saved =
        "enable 0\r\nwidth 1024\r\nheight 768\r\nnativefs 1\r\nconsolenoback 0\r\nconsoleoverlay 32\r\n"
        "consolewidth 126\r\nchatlines 12\r\nmenudarken 1\r\nshowgun 1\r\nmaxfps 120\r\nautofov 1\r\n"
        "dlmain 1\r\ndlrate -1\r\n";
    EXPECT_EQ(ReadFileBytes("patch.cfg"), saved);

    // Changed again, then Esc: nothing more is saved and the program ends.
    SetField(IDC_MAX_FPS, "60");
    PostMessageA(Control(IDC_MAX_FPS), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(WaitForExit(), 0);
    EXPECT_EQ(ReadFileBytes("patch.cfg"), saved);
}

TEST_F(EndToEnd, CloseBoxEndsWithoutSaving)
{
    StartTool();
    SetField(IDC_MAX_FPS, "60");
    PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(WaitForExit(), 0);
    EXPECT_EQ(DirectoryNames(), std::vector<std::string>());
}

TEST_F(EndToEnd, HelpButtonOpensTheReadMe)
{
    RouteShellOpenToRecorder();
    WriteFileBytes("patch.txt", "read me\r\n");
    StartTool();
    PostMessageA(window_, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
    // The read-me of this game directory, not of wherever the shell runs.
    EXPECT_EQ(WaitForRecordedOpen(), game_.Path() + "\\patch.txt\n");

    // No context-help mode: nothing holds the mouse, and Apply still works.
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    ASSERT_TRUE(GetGUIThreadInfo(process_.dwThreadId, &gui));
    EXPECT_EQ(gui.hwndCapture, nullptr);
    Apply();
    EXPECT_EQ(LastStatusLine(), "Config written to PATCH.CFG");
}

TEST_F(EndToEnd, LinkOpensTheCommunitySite)
{
    RouteShellOpenToRecorder();
    StartTool();
    HWND link = Control(IDC_LINK);
    ASSERT_NE(link, nullptr);
    const LPARAM onTheText = MAKELPARAM(8, 6);
    PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, onTheText);
    PostMessageA(link, WM_LBUTTONUP, 0, onTheText);
    EXPECT_EQ(WaitForRecordedOpen(), "https://gravlok.community/\n");
}

TEST_F(EndToEnd, ChosenResolutionIsSaved)
{
    StartTool();
    HWND list = Control(IDC_RESOLUTION);
    const LRESULT selected = SendMessageW(list, CB_GETCURSEL, 0, 0);
    wchar_t label[64] = {};
    SendMessageW(list, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(std::wstring(label), L"1024 x 768 - 4 : 3");

    // The program lists the display it runs on once the pointer comes over the window.
    SendMessageW(window_, WM_SETCURSOR, reinterpret_cast<WPARAM>(list), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    SendMessageW(list, CB_GETLBTEXT, SendMessageW(list, CB_GETCURSEL, 0, 0), reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(std::wstring(label), L"1024 x 768 - 4 : 3");
    const LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    LRESULT widest = -1;
    for (LRESULT i = 0; i < count; ++i)
        if (SendMessageW(list, CB_GETITEMDATA, i, 0) == ModeKey({1920, 1080}))
            widest = i;
    ASSERT_GE(widest, 0) << "1920 x 1080, the desktop's own size, is not listed";
    SendMessageW(list, CB_SETCURSEL, widest, 0);
    SetBox(IDC_SET_RESOLUTION, true);
    Apply();
    EXPECT_NE(ReadFileBytes("patch.cfg").find("\r\nwidth 1920\r\nheight 1080\r\n"), std::string::npos);
}

} // namespace
