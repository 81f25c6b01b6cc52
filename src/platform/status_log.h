// The status log at the top of the window: one line per outcome, newest
// scrolled into view, never cleared. What reports through it needs nothing
// of the window but this.
#pragma once

#include "platform/win32.h"

// The list box the lines go to, given when the window opens.
void SetStatusLog(HWND listBox);

void AddStatusMessage(const char *text);
