#include "window/tool_tips.h"

#include "resources/resource.h"
#include "window/window_dpi.h"

// The window's one tip window, which lives as long as the window.
static HWND toolTipWindow;

// Wide enough for a short sentence per line, so the long tips wrap instead
// of running across the screen; at 100 % scale, so as wide in inches on
// every display.
const int kTipWidthPixelsAt96 = 250;
// Long enough to read the longest tip, which the default 5 seconds is not.
const int kTipShownMilliseconds = 10000;

// The whole TOOLINFOA of Common Controls 6, lpReserved included (the size
// the headers call TTTOOLINFOA_V3_SIZE): 48 bytes in the shipped 32-bit
// program, 72 where pointers are 64-bit. The manifest guarantees version 6,
// which accepts this size.
const UINT kToolInfoSize = sizeof(TOOLINFOA);
#ifndef _WIN64
static_assert(sizeof(TOOLINFOA) == 48, "the 32-bit program registers its tools with a 48-byte TOOLINFOA");
#endif

// The control's tip shows whenever the pointer rests on it.
static void AddTooltip(HWND window, int controlId, const char *text)
{
    TOOLINFOA tool = {};
    tool.cbSize = kToolInfoSize;
    // The control's own window is the tool, and the tip window watches its
    // mouse messages itself: nothing has to relay them.
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(window, controlId));
    tool.lpszText = const_cast<char *>(text);
    SendMessageA(toolTipWindow, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void FitToolTipsToDpi(UINT dpi)
{
    if (toolTipWindow)
        SendMessageA(toolTipWindow, TTM_SETMAXTIPWIDTH, 0, ScaleToDpi(kTipWidthPixelsAt96, dpi));
}

void CreateToolTips(HWND window)
{
    // Always shown, even while another program is active; "&" shown as typed.
    toolTipWindow = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0,
                                    window, nullptr, nullptr, nullptr);
    if (!toolTipWindow)
        return;
    FitToolTipsToDpi(WindowDpi(window));
    SendMessageA(toolTipWindow, TTM_SETDELAYTIME, TTDT_AUTOPOP, kTipShownMilliseconds);

    AddTooltip(window, IDC_ENABLE,
               "Enable these settings and the other features of the patch - note the patch's in-game menu options "
               "will reset to defaults if it is disabled");
    AddTooltip(window, IDC_SET_RESOLUTION,
               "Set the resolution every time Gravlok is started, otherwise use the in-game setting");
    AddTooltip(window, IDC_RESOLUTION, "The resolution and aspect ratio");
    AddTooltip(window, IDC_NATIVE_FULLSCREEN,
               "Use the native/desktop resolution when in fullscreen mode (the resolution above is still used in "
               "windowed mode)");
    AddTooltip(window, IDC_MAX_FPS,
               "The maximum frames per second, which also determines how frequently your input is sent to a server");
    AddTooltip(window, IDC_AUTO_FOV,
               "Automatically adjust the FOV to maintain the same vertical view with any aspect ratio");
    AddTooltip(window, IDC_CONSOLE_NO_BACK, "Remove the console background image to make the text easier to read");
    AddTooltip(window, IDC_CONSOLE_OVERLAY,
               "The maximum number of lines of console text to overlay at the top of the screen");
    AddTooltip(window, IDC_CONSOLE_WIDTH, "The maximum number of characters per line of console text");
    AddTooltip(window, IDC_CHAT_LINES, "The maximum number of lines of text to display in the chat area");
    AddTooltip(window, IDC_SHOW_GUN, "Make your gun visible with any FOV setting, not only up to 90");
    AddTooltip(window, IDC_MENU_DARKEN, "Darken the backgound when using menus to make them easier to read");
    AddTooltip(window, IDC_DOWNLOAD_MAIN, "Always download map files to the main directory");
    AddTooltip(window, IDC_DOWNLOAD_RATE,
               "The maximum speed (in KB/s) to download files from servers at (0 = no limit)");
    AddTooltip(window, IDC_DEMO_ASSOCIATION,
               "Associate DM2 demo files with Gravlok so that they can be opened from Windows Explorer");
    AddTooltip(window, IDC_FREEZE_FIX,
               "Prevent GameUX getting stuck trying to contact defunct Microsoft servers when first launching Gravlok "
               "after a reboot");
    AddTooltip(window, IDC_APPLY, "Apply the settings");
    // Esc and the close box have no control to rest on, so this tip never
    // shows; it stays registered with the others all the same.
    AddTooltip(window, IDCANCEL, "Exit without applying the settings");
}
