// Starts the built patchcfg.exe in a scratch game directory and drives it
// from this process, as a player's clicks and keys would, then checks the
// bytes it saved and how it ended.
#include <gtest/gtest.h>

#include <string>

#include "build_paths.h"
#include "display/mode_key.h"
#include "platform/win32.h"
#include "resources/resource.h"
#include "running_tool.h"
#include "scratch_dir.h"

namespace {

// The shell hands documents and web addresses to open_recorder.exe, which
// logs them, instead of to a real editor or browser.
void RouteShellOpenToRecorder()
{
    const std::string command = "\"" + TestDirectory() + "\\open_recorder.exe\" \"%1\"";
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

    void TearDown() override { DeleteFileA(recorderLog_.c_str()); }

    void StartTool() { ASSERT_TRUE(tool_.Start(game_.Path())); }

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
    RunningTool tool_;
    std::string recorderLog_;
};

TEST_F(EndToEnd, ApplySavesTheWindowAndEscapeEndsWithoutSaving)
{
    WriteFileBytes("patch.cfg", "maxfps 120\r\ndlrate -1\r\nwidth 1024\r\nheight 768\r\n");
    StartTool();
    EXPECT_EQ(tool_.LastStatusLine(), "Config read from PATCH.CFG");
    tool_.SetField(IDC_CONSOLE_OVERLAY, "40");
    tool_.SetField(IDC_CHAT_LINES, "12");
    tool_.SetBox(IDC_SHOW_GUN, true);
    tool_.SetBox(IDC_ENABLE, false);
    tool_.Apply();
    EXPECT_EQ(tool_.LastStatusLine(), "Config written to PATCH.CFG");
    EXPECT_EQ(tool_.Field(IDC_CONSOLE_OVERLAY), "32");
    const std::string saved =
        "enable 0\r\nwidth 1024\r\nheight 768\r\nnativefs 1\r\nconsolenoback 0\r\nconsoleoverlay 32\r\n"
        "consolewidth 126\r\nchatlines 12\r\nmenudarken 1\r\nshowgun 1\r\nmaxfps 120\r\nautofov 1\r\n"
        "dlmain 1\r\ndlrate -1\r\n";
    EXPECT_EQ(ReadFileBytes("patch.cfg"), saved);

    // Changed again, then Esc: nothing more is saved and the program ends.
    tool_.SetField(IDC_MAX_FPS, "60");
    PostMessageA(tool_.Control(IDC_MAX_FPS), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(tool_.WaitForExit(), 0);
    EXPECT_EQ(ReadFileBytes("patch.cfg"), saved);
}

TEST_F(EndToEnd, CloseBoxEndsWithoutSaving)
{
    StartTool();
    tool_.SetField(IDC_MAX_FPS, "60");
    PostMessageA(tool_.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(tool_.WaitForExit(), 0);
    EXPECT_EQ(DirectoryNames(), std::vector<std::string>());
}

TEST_F(EndToEnd, HelpButtonOpensTheReadMe)
{
    RouteShellOpenToRecorder();
    WriteFileBytes("patch.txt", "read me\r\n");
    StartTool();
    PostMessageA(tool_.Window(), WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
    // The read-me of this game directory, not of wherever the shell runs.
    EXPECT_EQ(WaitForRecordedOpen(), game_.Path() + "\\patch.txt\n");

    // No context-help mode: nothing holds the mouse, and Apply still works.
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(tool_.Window(), nullptr), &gui));
    EXPECT_EQ(gui.hwndCapture, nullptr);
    tool_.Apply();
    EXPECT_EQ(tool_.LastStatusLine(), "Config written to PATCH.CFG");
}

TEST_F(EndToEnd, LinkOpensTheCommunitySite)
{
    RouteShellOpenToRecorder();
    StartTool();
    HWND link = tool_.Control(IDC_LINK);
    ASSERT_NE(link, nullptr);
    const LPARAM onTheText = MAKELPARAM(8, 6);
    PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, onTheText);
    PostMessageA(link, WM_LBUTTONUP, 0, onTheText);
    EXPECT_EQ(WaitForRecordedOpen(), "https://gravlok.community/\n");
}

TEST_F(EndToEnd, ChosenResolutionIsSaved)
{
    StartTool();
    HWND list = tool_.Control(IDC_RESOLUTION);
    const LRESULT selected = SendMessageW(list, CB_GETCURSEL, 0, 0);
    wchar_t label[64] = {};
    SendMessageW(list, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(std::wstring(label), L"1024 x 768 - 4 : 3");

    // The program lists the display it runs on once the pointer comes over the list.
    SendMessageW(tool_.Window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(list), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    SendMessageW(list, CB_GETLBTEXT, SendMessageW(list, CB_GETCURSEL, 0, 0), reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(std::wstring(label), L"1024 x 768 - 4 : 3");
    const LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    LRESULT widest = -1;
    for (LRESULT i = 0; i < count; ++i)
        if (SendMessageW(list, CB_GETITEMDATA, i, 0) == ModeKey({1920, 1080}))
            widest = i;
    ASSERT_GE(widest, 0) << "1920 x 1080, the desktop's own size, is not listed";
    SendMessageW(list, CB_SETCURSEL, widest, 0);
    tool_.SetBox(IDC_SET_RESOLUTION, true);
    tool_.Apply();
    EXPECT_NE(ReadFileBytes("patch.cfg").find("\r\nwidth 1920\r\nheight 1080\r\n"), std::string::npos);
}

} // namespace
