// The window as the player sees it, read back from the running window: every
// control where the layout puts it, with its caption and behaviour bits, in
// tab order; the frame, caption and font; the tool's icon.
#include "dialog_fixture.h"

#include "resources/resource.h"

namespace {

using WindowLayout = DialogTest;

const DWORD kCheckBox = BS_AUTOCHECKBOX | WS_TABSTOP;
const DWORD kNumberField = WS_BORDER | ES_NUMBER | ES_AUTOHSCROLL | WS_TABSTOP;
const DWORD kLabel = SS_LEFT | WS_GROUP;

struct Control {
    int id;
    const char *className;
    const char *caption;     // null for a number field, which shows its value
    int x, y, width, height; // dialog units
    DWORD style;             // beyond child and visible
};

// Template order, which is also the order Tab walks.
const Control kLayout[] = {
    {20, "ListBox", "", 6, 6, 220, 26,
     WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_DISABLENOSCROLL | LBS_NOSEL},
    {-1, "Button", "", 6, 34, 220, 142, BS_GROUPBOX},
    {1000, "Button", "Set resolution:", 13, 45, 55, 10, kCheckBox},
    // No caption to check: a drop-down list's text is its chosen entry.
    {1006, "ComboBox", nullptr, 72, 44, 120, 120, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP},
    {1001, "Button", "Use native resolution in fullscreen mode", 72, 60, 133, 10, kCheckBox},
    {1007, "Button", "Auto-adjust FOV", 13, 75, 62, 10, kCheckBox},
    {-1, "Static", "Maximum FPS:", 117, 76, 47, 8, kLabel},
    {1005, "Edit", nullptr, 167, 74, 22, 12, kNumberField},
    {1010, "Button", "Show gun with any FOV", 13, 90, 83, 10, kCheckBox},
    {-1, "Static", "Console width:", 117, 91, 47, 8, kLabel},
    {1015, "Edit", nullptr, 167, 89, 22, 12, kNumberField},
    {1017, "Button", "Remove console image", 13, 105, 77, 10, kCheckBox},
    {-1, "Static", "Console overlay:", 117, 106, 52, 8, kLabel},
    {1008, "Edit", nullptr, 172, 104, 22, 12, kNumberField},
    {1018, "Button", "Dark menu background", 13, 120, 80, 10, kCheckBox},
    {-1, "Static", "Chat lines:", 117, 121, 35, 8, kLabel},
    {1020, "Edit", nullptr, 155, 119, 22, 12, kNumberField},
    {1019, "Button", "Download maps to main", 13, 135, 81, 10, kCheckBox},
    {-1, "Static", "Download speed limit:", 117, 136, 69, 8, kLabel},
    {1014, "Edit", nullptr, 189, 134, 22, 12, kNumberField},
    {1021, "Button", "Open DM2 files with Gravlok", 13, 150, 98, 10, kCheckBox},
    {1022, "Button", "Fix first launch freeze", 120, 150, 81, 10, kCheckBox},
    {-1, "Static",
     "See the in-game menus for a built-in server browser, anti-aliasing, anisotropic filtering, vertical sync, "
     "hud size, screenshot format, crosshair options, and more.",
     6, 181, 162, 24, kLabel},
    {-1, "Static", "hover over an option for a description of it", 92, 166, 133, 8, kLabel},
    {1012, "Button", "Enable patch", 177, 190, 51, 10, kCheckBox},
    {4, "Button", "Apply", 176, 204, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {1013, "SysLink", "<a href=\"https://gravlok.community/\">Visit the Gravlok community for info</a>", 6, 210,
     124, 10, WS_TABSTOP},
};

std::string ClassOf(HWND control)
{
    char name[64] = {};
    GetClassNameA(control, name, sizeof name);
    return name;
}

std::string CaptionOf(HWND control)
{
    char text[256] = {};
    GetWindowTextA(control, text, sizeof text);
    return text;
}

// The style as the template asked for it. The dialog manager draws a
// bordered control with a sunken client edge instead of WS_BORDER, and a
// drop-down list passes its scroll bar on to the list that drops down,
// which shows it once there are more entries than fit.
DWORD TemplateStyleOf(HWND control)
{
    DWORD style = GetWindowLongA(control, GWL_STYLE);
    if (GetWindowLongA(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)
        style |= WS_BORDER;
    COMBOBOXINFO combo = {};
    combo.cbSize = sizeof combo;
    if (ClassOf(control) == "ComboBox" && GetComboBoxInfo(control, &combo))
        style |= GetWindowLongA(combo.hwndList, GWL_STYLE) & WS_VSCROLL;
    return style;
}

void FillBeyondOneDrop(HWND list)
{
    for (int i = 0; i < 40; ++i)
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("1024 x 768 (4:3)"));
    SendMessageA(list, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageA(list, CB_SHOWDROPDOWN, FALSE, 0);
}

// Dialog units to pixels, each value scaled on its own as the dialog
// manager does for a control's position and size.
RECT ToPixels(HWND dialog, int x, int y, int width, int height)
{
    RECT r = {x, y, width, height};
    MapDialogRect(dialog, &r);
    return r;
}

RECT ClientRectOf(HWND dialog, HWND control)
{
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&r), 2);
    return RECT{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

std::string Describe(const RECT &r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right) + "x" +
           std::to_string(r.bottom);
}

TEST_F(WindowLayout, EveryControlInPlaceWithItsCaptionAndStyleInTabOrder)
{
    OpenWindow();
    FillBeyondOneDrop(GetDlgItem(dialog, IDC_RESOLUTION));
    HWND control = GetWindow(dialog, GW_CHILD);
    for (const Control &want : kLayout) {
        ASSERT_NE(control, nullptr) << "missing control " << want.id;
        SCOPED_TRACE("control " + std::to_string(want.id) + " " + (want.caption ? want.caption : ""));
        // -1 rather than 65535: the extended template keeps 32-bit ids.
        EXPECT_EQ(GetDlgCtrlID(control), want.id);
        EXPECT_EQ(ClassOf(control), want.className);
        if (want.caption) {
            EXPECT_EQ(CaptionOf(control), want.caption);
        }

        DWORD style = TemplateStyleOf(control);
        // The freeze fix is hidden where the platform has nothing to fix.
        if (want.id == IDC_FREEZE_FIX)
            style |= WS_VISIBLE;
        EXPECT_EQ(style, WS_CHILD | WS_VISIBLE | want.style) << std::hex << (style ^ (WS_CHILD | WS_VISIBLE | want.style));

        RECT wanted = ToPixels(dialog, want.x, want.y, want.width, want.height);
        RECT shown = ClientRectOf(dialog, control);
        // The template's height of a drop-down list is that of the list it
        // drops, which Common Controls 6 sizes by its entries instead.
        if (want.id == IDC_RESOLUTION)
            shown.bottom = wanted.bottom;
        EXPECT_EQ(Describe(shown), Describe(wanted));
        control = GetWindow(control, GW_HWNDNEXT);
    }
    EXPECT_EQ(control, nullptr) << "a control the layout does not have";
}

TEST_F(WindowLayout, FixedSizeWindowWithCaptionHelpAndClose)
{
    OpenWindow();
    char caption[64] = {};
    GetWindowTextA(dialog, caption, sizeof caption);
    EXPECT_STREQ(caption, "Gravlok Patch Config");

    const DWORD style = GetWindowLongA(dialog, GWL_STYLE);
    const DWORD wanted = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CONTEXTHELP | DS_SETFONT;
    EXPECT_EQ(style & wanted, wanted);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_NOFAILCREATE), 0u);

    // The client area's corner at (200, 100), as the template places it
    // relative to the screen when the window has no owner.
    RECT wantedPlace = ToPixels(dialog, 200, 100, 232, 224);
    POINT corner = {0, 0};
    ClientToScreen(dialog, &corner);
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(Describe(RECT{corner.x, corner.y, client.right, client.bottom}), Describe(wantedPlace));
}

TEST_F(WindowLayout, TextIsInComicSansTenPoint)
{
    OpenWindow();
    LOGFONTA font = {};
    ASSERT_TRUE(GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font));
    EXPECT_STREQ(font.lfFaceName, "Comic Sans MS");
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(font.lfHeight, -MulDiv(10, GetDeviceCaps(screen, LOGPIXELSY), 72));
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(font.lfWeight, 400);
    EXPECT_FALSE(font.lfItalic);
}

SIZE IconSize(HICON icon)
{
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info))
        return SIZE{0, 0};
    BITMAP colour = {};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return SIZE{colour.bmWidth, colour.bmHeight};
}

TEST_F(WindowLayout, CaptionAndTaskbarShowTheToolsIcon)
{
    OpenWindow();
    const SIZE smallIcon = IconSize(reinterpret_cast<HICON>(SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0)));
    EXPECT_EQ(smallIcon.cx, GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(smallIcon.cy, GetSystemMetrics(SM_CYSMICON));
    // The large icon as drawn, not stretched to some other size.
    const SIZE largeIcon = IconSize(reinterpret_cast<HICON>(SendMessageA(dialog, WM_GETICON, ICON_BIG, 0)));
    EXPECT_EQ(largeIcon.cx, 32);
    EXPECT_EQ(largeIcon.cy, 32);
}

} // namespace
