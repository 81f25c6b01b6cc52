#include "build_paths.h"
#include "dialog_fixture.h"
#include "resources/resource.h"
#include "running_tool.h"
#include "screen_capture.h"

// The tool at the scale a player's display settings give it (LogPixels, read as a process starts), kept as a
// picture: client width and height, Apply's (Wine draws frames alike at every scale), then the tip width.
static std::array<LONG, 5> OpenToolAt(DWORD dpi, const std::string &game)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD, &dpi, sizeof dpi);
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1); // no tip in the picture
    RunningTool tool;
    EXPECT_TRUE(tool.Start(game));
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels"); // the prefix's own scale again
    SendMessageA(tool.Window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(tool.Control(IDC_APPLY)), HTCLIENT);
    HWND tip = nullptr;
    while ((tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) && GetWindow(tip, GW_OWNER) != tool.Window()) {
    }
    RECT shown, client, apply;
    GetWindowRect(tool.Window(), &shown);
    GetClientRect(tool.Window(), &client);
    GetClientRect(tool.Control(IDC_APPLY), &apply);
    Sleep(1000); // every control painted
    SaveScreenArea(shown, TestDirectory() + "\\patchcfg-window-" + std::to_string(dpi) + "dpi.bmp");
    return {client.right, client.bottom, apply.right, apply.bottom, LONG(SendMessageA(tip, TTM_GETMAXTIPWIDTH, 0, 0))};
}

TEST(DisplayScale, DeclaredAndDrawnTwiceAsLargeAt200Percent)
{
    ScratchGameDir game;
    const std::array<LONG, 5> at96 = OpenToolAt(96, game.Path()), at192 = OpenToolAt(192, game.Path());
    for (int i = 0; i < 5; ++i)
        EXPECT_NEAR(at192[i], 2 * at96[i], i < 4 ? 2 : 0) << "client w, h, Apply w, h, tip width: " << i;
    wchar_t awareness[32] = {}; // Windows scales only programs whose manifest (the tests' is the tool's) says so
    QueryActCtxSettingsW(0, nullptr, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness",
                         awareness, 32, nullptr);
    EXPECT_EQ(std::wstring(awareness).substr(0, 13), L"PerMonitorV2,");
}

TEST_F(DialogTest, TabToTheLinkAndEnterOpensTheSite)
{
    const std::string log = game.Path() + ".opened.log", open = '"' + TestDirectory() + "\\open_recorder.exe\" \"%1\"";
    RegSetValueA(HKEY_CLASSES_ROOT, "https\\shell\\open\\command", REG_SZ, open.c_str(), open.size());
    SetEnvironmentVariableA("GRAVLOK_OPEN_LOG", log.c_str());
    OpenWindow();
    SetFocus(GetDlgItem(dialog, IDC_APPLY));
    for (WPARAM key : {VK_TAB, VK_RETURN}) {
        MSG press = {GetFocus(), WM_KEYDOWN, key, 0, 0, {0, 0}};
        IsDialogMessageA(dialog, &press);
    }
    std::string opened;
    for (int waited = 0; opened.empty() && waited < 20000; waited += 100, Sleep(100))
        opened = ReadFileBytes(log.c_str());
    EXPECT_EQ(opened, "https://gravlok.community/\n");
}
