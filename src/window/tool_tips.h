// The explanatory tip of every option, shown while the pointer rests on it.
#pragma once

#include "platform/win32.h"

// Creates the tip window for the configuration window and registers every
// option's tip. Without the tip window the options simply have no tips.
void CreateToolTips(HWND window);

// Wraps the tips at the same width in inches at this display scale. Does
// nothing before the tip window is made.
void FitToolTipsToDpi(UINT dpi);
