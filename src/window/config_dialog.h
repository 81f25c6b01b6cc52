// The one modal window: its message handler and the handles it keeps.
#pragma once

#include "platform/win32.h"

extern HINSTANCE appInstance;
extern HWND configWindow;

INT_PTR CALLBACK ConfigDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
