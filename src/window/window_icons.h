// The tool's icon in the caption, the task switcher and the taskbar.
#pragma once

#include "platform/win32.h"

// Gives the configuration window icon 101 as its small and large icon.
void SetWindowIcons();
