#include "window/window_icons.h"

#include "resources/resource.h"
#include "window/config_dialog.h"

static HICON LoadAppIcon(int width, int height)
{
    // Not shared: each is the window's own for the window's whole life.
    return static_cast<HICON>(LoadImageA(appInstance, MAKEINTRESOURCEA(IDI_PATCHCFG), IMAGE_ICON, width, height, 0));
}

void SetWindowIcons()
{
    // The caption's size, which depends on the player's display settings.
    if (HICON smallIcon = LoadAppIcon(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)))
        SendMessageA(configWindow, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    // 0 x 0: the image as drawn, 32 x 32.
    if (HICON largeIcon = LoadAppIcon(0, 0))
        SendMessageA(configWindow, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon));
}
