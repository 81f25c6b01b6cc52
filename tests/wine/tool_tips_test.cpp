// Every option explains itself: the tip window and its tools, read back
// from the running window.
#include "dialog_fixture.h"

#include "resources/resource.h"
#include "window/config_dialog.h"

namespace {

struct Tip {
    int id;
    const char *text;
};

// In the order the window registers them; the texts byte for byte.
const Tip kTips[] = {
    {1012, "Enable these settings and the other features of the patch - note the patch's in-game menu options will "
           "reset to defaults if it is disabled"},
    {1000, "Set the resolution every time Gravlok is started, otherwise use the in-game setting"},
    {1006, "The resolution and aspect ratio"},
    {1001, "Use the native/desktop resolution when in fullscreen mode (the resolution above is still used in "
           "windowed mode)"},
    {1005, "The maximum frames per second, which also determines how frequently your input is sent to a server"},
    {1007, "Automatically adjust the FOV to maintain the same vertical view with any aspect ratio"},
    {1017, "Remove the console background image to make the text easier to read"},
    {1008, "The maximum number of lines of console text to overlay at the top of the screen"},
    {1015, "The maximum number of characters per line of console text"},
    {1020, "The maximum number of lines of text to display in the chat area"},
    {1010, "Make your gun visible with any FOV setting, not only up to 90"},
    {1018, "Darken the backgound when using menus to make them easier to read"},
    {1019, "Always download map files to the main directory"},
    {1014, "The maximum speed (in KB/s) to download files from servers at (0 = no limit)"},
    {1021, "Associate DM2 demo files with Gravlok so that they can be opened from Windows Explorer"},
    {1022, "Prevent GameUX getting stuck trying to contact defunct Microsoft servers when first launching Gravlok "
           "after a reboot"},
    {4, "Apply the settings"},
    {2, "Exit without applying the settings"},
};

BOOL CALLBACK CollectTipWindow(HWND window, LPARAM found)
{
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpiA(name, TOOLTIPS_CLASSA) == 0)
        reinterpret_cast<std::vector<HWND> *>(found)->push_back(window);
    return TRUE;
}

// The tip windows this thread made for the configuration window.
std::vector<HWND> TipWindowsOf(HWND dialog)
{
    std::vector<HWND> all, owned;
    EnumThreadWindows(GetCurrentThreadId(), CollectTipWindow, reinterpret_cast<LPARAM>(&all));
    for (HWND tip : all)
        if (GetWindow(tip, GW_OWNER) == dialog)
            owned.push_back(tip);
    return owned;
}

// Read through the UTF-16 interface: the 8-bit one hands back only the first
// 80 characters.
std::string TipText(HWND tip, const TOOLINFOA &tool)
{
    wchar_t text[512] = {};
    TOOLINFOW wide = {};
    wide.cbSize = sizeof wide;
    wide.hwnd = tool.hwnd;
    wide.uId = tool.uId;
    wide.lpszText = text;
    SendMessageW(tip, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&wide));
    return std::string(text, text + wcslen(text));
}

class ToolTips : public DialogTest {
protected:
    // The window, and the one tip window it makes as the pointer first comes over it.
    HWND OpenWindowAndItsTips()
    {
        OpenWindow();
        PointerComesOver(IDC_ENABLE);
        const std::vector<HWND> tips = TipWindowsOf(dialog);
        EXPECT_EQ(tips.size(), 1u);
        return tips.size() == 1 ? tips[0] : nullptr;
    }
};

TEST_F(ToolTips, TipWindowIsMadeOnceWhenThePointerFirstComes)
{
    ParkPointerAway();
    OpenWindow();
    EXPECT_TRUE(TipWindowsOf(dialog).empty());
    PointerComesOver(IDC_STATUS_LOG);
    ASSERT_EQ(TipWindowsOf(dialog).size(), 1u);
    HWND tip = TipWindowsOf(dialog)[0];
    PointerComesOver(IDC_ENABLE);
    PointerComesOver(IDC_APPLY);
    ASSERT_EQ(TipWindowsOf(dialog).size(), 1u);
    EXPECT_EQ(TipWindowsOf(dialog)[0], tip);
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), static_cast<LRESULT>(std::size(kTips)));
    // Left to the default handling, so each control keeps its own cursor.
    EXPECT_FALSE(ConfigDialogProc(dialog, WM_SETCURSOR, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_MAX_FPS)),
                                  MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
}

TEST_F(ToolTips, EveryOptionHasItsTipInOrder)
{
    HWND tip = OpenWindowAndItsTips();
    ASSERT_NE(tip, nullptr);
    ASSERT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), static_cast<LRESULT>(std::size(kTips)));

    for (size_t i = 0; i < std::size(kTips); ++i) {
        SCOPED_TRACE("tool " + std::to_string(i) + ", control " + std::to_string(kTips[i].id));
        TOOLINFOA tool = {};
        tool.cbSize = sizeof tool;
        ASSERT_TRUE(SendMessageA(tip, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&tool)));
        EXPECT_EQ(tool.uFlags, static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS));
        EXPECT_EQ(tool.hwnd, dialog);
        // Esc's tool names no window: there is no control to rest on.
        EXPECT_EQ(tool.uId, reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, kTips[i].id)));
        EXPECT_EQ(TipText(tip, tool), kTips[i].text);
        EXPECT_TRUE(IsRectEmpty(&tool.rect));
        EXPECT_EQ(tool.hinst, nullptr);
        EXPECT_EQ(tool.lParam, 0);
    }
}

TEST_F(ToolTips, LongTipsWrapAndStayLongEnoughToRead)
{
    HWND tip = OpenWindowAndItsTips();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(SendMessageA(tip, TTM_GETMAXTIPWIDTH, 0, 0), 250);
    EXPECT_EQ(SendMessageA(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 10000);
    // Shown over an inactive window too, and an "&" in a text is not a mnemonic.
    const DWORD style = GetWindowLongA(tip, GWL_STYLE);
    EXPECT_EQ(style & (TTS_ALWAYSTIP | TTS_NOPREFIX), static_cast<DWORD>(TTS_ALWAYSTIP | TTS_NOPREFIX));
    EXPECT_EQ(style & (TTS_BALLOON | TTS_NOANIMATE | TTS_NOFADE), 0u);
}

} // namespace
