#include "window/window_icons.h"

#include "resources/resource.h"
#include "window/window_dpi.h"

// From the module the window's template came from, the program's own.
static HICON LoadAppIcon(HWND window, int width, int height)
{
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    // Not shared: each is the window's own until the next scale replaces it.
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_PATCHCFG), IMAGE_ICON, width, height, 0));
}

static void SetWindowIcon(HWND window, WPARAM which, HICON icon)
{
    const LRESULT replaced = SendMessageA(window, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
    if (replaced)
        DestroyIcon(reinterpret_cast<HICON>(replaced));
}

void SetWindowIconsForDpi(HWND window, UINT dpi)
{
    // The sizes the caption and the task switcher draw at this display
    // scale, so they draw the icon as loaded. At 100 % the large one is the
    // image as drawn, 32 x 32; at 200 % each of its pixels becomes two by two.
    if (HICON smallIcon = LoadAppIcon(window, SystemMetricAtDpi(SM_CXSMICON, dpi), SystemMetricAtDpi(SM_CYSMICON, dpi)))
        SetWindowIcon(window, ICON_SMALL, smallIcon);
    if (HICON largeIcon = LoadAppIcon(window, SystemMetricAtDpi(SM_CXICON, dpi), SystemMetricAtDpi(SM_CYICON, dpi)))
        SetWindowIcon(window, ICON_BIG, largeIcon);
}

void SetWindowIcons(HWND window)
{
    SetWindowIconsForDpi(window, WindowDpi(window));
}
