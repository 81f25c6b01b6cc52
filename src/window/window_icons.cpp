#include "window/window_icons.h"

#include "resources/resource.h"
#include "window/config_dialog.h"
#include "window/window_dpi.h"

static HICON LoadAppIcon(int width, int height)
{
    // Not shared: each is the window's own until the next scale replaces it.
    return static_cast<HICON>(LoadImageA(appInstance, MAKEINTRESOURCEA(IDI_PATCHCFG), IMAGE_ICON, width, height, 0));
}

static void SetWindowIcon(WPARAM which, HICON icon)
{
    const LRESULT replaced = SendMessageA(configWindow, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
    if (replaced)
        DestroyIcon(reinterpret_cast<HICON>(replaced));
}

void SetWindowIconsForDpi(UINT dpi)
{
    // The sizes the caption and the task switcher draw at this display
    // scale, so they draw the icon as loaded. At 100 % the large one is the
    // image as drawn, 32 x 32; at 200 % each of its pixels becomes two by two.
    if (HICON smallIcon = LoadAppIcon(SystemMetricAtDpi(SM_CXSMICON, dpi), SystemMetricAtDpi(SM_CYSMICON, dpi)))
        SetWindowIcon(ICON_SMALL, smallIcon);
    if (HICON largeIcon = LoadAppIcon(SystemMetricAtDpi(SM_CXICON, dpi), SystemMetricAtDpi(SM_CYICON, dpi)))
        SetWindowIcon(ICON_BIG, largeIcon);
}

void SetWindowIcons()
{
    SetWindowIconsForDpi(WindowDpi(configWindow));
}
