// The built patchcfg.exe, started in a scratch game directory and driven
// from this process as a player's keys and clicks would.
#include <gtest/gtest.h>

#include "driver.h"

namespace {

// A 24-bit .bmp of what the screen shows in the area.
void KeepScreenArea(const RECT &area, const std::string &path)
{
    BITMAPINFOHEADER header = {sizeof header, area.right - area.left, area.bottom - area.top, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const DWORD pixelBytes = ((header.biWidth * 3 + 3) & ~3) * header.biHeight;
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    void *bits = nullptr;
    HBITMAP image = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO *>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    SelectObject(memory, image);
    BitBlt(memory, 0, 0, header.biWidth, header.biHeight, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const BITMAPFILEHEADER file = {0x4D42, DWORD(sizeof file + sizeof header + pixelBytes), 0, 0, sizeof file + sizeof header};
    FILE *out = fopen(path.c_str(), "wb");
    EXPECT_TRUE(out && fwrite(&file, sizeof file, 1, out) && fwrite(&header, sizeof header, 1, out) &&
                fwrite(bits, pixelBytes, 1, out) && !fclose(out)) << path;
    DeleteDC(memory);
    DeleteObject(image);
    ReleaseDC(nullptr, screen);
}

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
    ASSERT_TRUE(StartTool(&window, &process));
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
    ASSERT_TRUE(StartTool(&window, &process));
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
    ASSERT_TRUE(StartTool(&window, &process));
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

TEST_F(Tool, TabToTheLinkAndEnterOpensTheSite)
{
    window = OpenConfigWindow();
    SetFocus(GetDlgItem(window, IDC_APPLY));
    for (WPARAM key : {VK_TAB, VK_RETURN}) {
        MSG press = {GetFocus(), WM_KEYDOWN, key, 0, 0, {0, 0}};
        IsDialogMessageA(window, &press);
    }
    EXPECT_EQ(WaitForOpened().rfind("https://", 0), 0u);
    DestroyWindow(window);
}

// The window as a screen at this scale shows it (LogPixels, read as a program
// starts), kept as a picture beside this test: the client area's size and
// Apply's (Wine draws frames alike at every scale), and the tips' width.
std::vector<LONG> OpenToolAt(DWORD dpi)
{
    HWND window = nullptr;
    HANDLE process = nullptr;
    RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD, &dpi, sizeof dpi);
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1); // no tip in the picture
    EXPECT_TRUE(StartTool(&window, &process));
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels");
    SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(GetDlgItem(window, IDC_APPLY)), HTCLIENT);
    HWND tip = nullptr;
    while ((tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) && GetWindow(tip, GW_OWNER) != window) {
    }
    RECT shown, client, apply;
    GetWindowRect(window, &shown);
    GetClientRect(window, &client);
    GetClientRect(GetDlgItem(window, IDC_APPLY), &apply);
    Sleep(1000); // every control painted
    KeepScreenArea(shown, BuildDirectory() + "\\patchcfg-window-" + std::to_string(dpi) + "dpi.bmp");
    const LONG tipWidth = LONG(SendMessageA(tip, TTM_GETMAXTIPWIDTH, 0, 0));
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(WaitForExit(process), 0);
    return {client.right, client.bottom, apply.right, apply.bottom, tipWidth};
}

TEST(DisplayScale, DeclaredAndDrawnTwiceAsLargeAt200Percent)
{
    ScratchGameDir game;
    const std::vector<LONG> at96 = OpenToolAt(96), at192 = OpenToolAt(192);
    for (int i = 0; i < 5; ++i)
        EXPECT_NEAR(at192[i], 2 * at96[i], i < 4 ? 2 : 0) << "client w, h, Apply w, h, tip width: " << i;
    EXPECT_EQ(at96[4], 250);
    // Windows scales only programs whose manifest says so (the tests' is the tool's); Wine scales all.
    wchar_t awareness[32] = {};
    QueryActCtxSettingsW(0, nullptr, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness",
                         awareness, 32, nullptr);
    EXPECT_EQ(std::wstring(awareness).substr(0, 13), L"PerMonitorV2,");
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
