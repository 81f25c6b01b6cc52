// The window at 100 % and 200 % display scale, and the link from the keyboard.
#include "build_paths.h"
#include "dialog_fixture.h"
#include "resources/resource.h"
#include "running_tool.h"
#include "screen_capture.h"

namespace {

struct Measured {
    SIZE window, apply;
    LRESULT tipWidth;
};

// The client area: Wine draws the frame and caption the same at every scale.
SIZE SizeOf(HWND window)
{
    RECT r = {};
    GetClientRect(window, &r);
    return SIZE{r.right, r.bottom};
}

// The tool started at the scale a player's display settings give it (the
// prefix's LogPixels, read as a process starts); kept as a picture too.
Measured OpenToolAt(DWORD dpi, const std::string &game)
{
    HKEY desktop = nullptr;
    RegCreateKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &desktop);
    RegSetValueExA(desktop, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&dpi), sizeof dpi);
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1); // no tip in the picture
    RunningTool tool;
    const bool started = tool.Start(game);
    RegDeleteValueA(desktop, "LogPixels"); // the prefix's own scale again
    RegCloseKey(desktop);
    EXPECT_TRUE(started);
    SendMessageA(tool.Window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(tool.Control(IDC_APPLY)), HTCLIENT);
    HWND tip = nullptr;
    while ((tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) && GetWindow(tip, GW_OWNER) != tool.Window()) {
    }
    RECT shown = {};
    GetWindowRect(tool.Window(), &shown);
    Sleep(1000); // every control painted
    SaveScreenArea(shown, TestDirectory() + "\\patchcfg-window-" + std::to_string(dpi) + "dpi.bmp");
    return Measured{SizeOf(tool.Window()), SizeOf(tool.Control(IDC_APPLY)), SendMessageA(tip, TTM_GETMAXTIPWIDTH, 0, 0)};
}

TEST(DisplayScale, WindowControlsAndTipWidthDoubleAt200Percent)
{
    ScratchGameDir game;
    WriteFileBytes("patch.cfg", "width 1920\r\nheight 1080\r\nmaxfps 125\r\n"); // as in the README's pictures
    const Measured at96 = OpenToolAt(96, game.Path()), at192 = OpenToolAt(192, game.Path());
    EXPECT_EQ(at96.tipWidth, 250);
    EXPECT_EQ(at192.tipWidth, 500);
    for (auto [small, large] : {std::pair(at96.window, at192.window), std::pair(at96.apply, at192.apply)}) {
        EXPECT_NEAR(large.cx, 2 * small.cx, 2) << small.cx << " x " << small.cy;
        EXPECT_NEAR(large.cy, 2 * small.cy, 2) << large.cx << " x " << large.cy;
    }
}

using CommunityLink = DialogTest;

TEST_F(CommunityLink, TabToTheLinkAndEnterOpensTheSite)
{
    const std::string log = game.Path() + ".opened.log";
    const std::string recorder = "\"" + TestDirectory() + "\\open_recorder.exe\" \"%1\"";
    RegSetValueA(HKEY_CLASSES_ROOT, "https\\shell\\open\\command", REG_SZ, recorder.c_str(), recorder.size());
    SetEnvironmentVariableA("GRAVLOK_OPEN_LOG", log.c_str());
    OpenWindow();
    SetFocus(GetDlgItem(dialog, IDC_APPLY));
    for (WPARAM key : {VK_TAB, VK_RETURN}) {
        MSG press = {GetFocus(), WM_KEYDOWN, key, 0, 0, {0, 0}};
        if (!IsDialogMessageA(dialog, &press))
            DispatchMessageA(&press);
    }
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_LINK));
    std::string opened;
    for (int waited = 0; opened.empty() && waited < 20000; waited += 100, Sleep(100))
        opened = ReadFileBytes(log.c_str());
    DeleteFileA(log.c_str());
    EXPECT_EQ(opened, "https://gravlok.community/\n");
}

} // namespace
