// The tool's icon in the caption, the task switcher and the taskbar.
#pragma once

#include "platform/win32.h"

// Gives the configuration window icon 101 as its small and large icon, at
// the sizes of the display scale the window is at; called again when the
// window moves to a display of another scale.
void SetWindowIcons();
