// The display scale the window is drawn at, for what the tool sizes in
// pixels itself: the dialog manager scales the template on its own.
#pragma once

#include "platform/win32.h"

// The pixels per inch of the monitor the window is on (96 at 100 %).
UINT WindowDpi(HWND window);

// A system metric (SM_CXICON and the like) at that scale.
int SystemMetricAtDpi(int metric, UINT dpi);

// A size designed at 96 pixels per inch, at that scale.
int ScaleToDpi(int pixelsAt96, UINT dpi);
