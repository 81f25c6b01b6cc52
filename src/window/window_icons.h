// The tool's icon in the caption, the task switcher and the taskbar.
#pragma once

#include "platform/win32.h"

// Gives the configuration window icon 101 as its small and large icon, at
// the sizes of the display scale the window is at.
void SetWindowIcons(HWND window);

// The same for a display scale the window is moving to, replacing the
// icons it had.
void SetWindowIconsForDpi(HWND window, UINT dpi);
