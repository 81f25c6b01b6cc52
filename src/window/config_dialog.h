// The one modal window: its message handler.
#pragma once

#include "platform/win32.h"

INT_PTR CALLBACK ConfigDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
