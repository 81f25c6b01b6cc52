#include "platform/status_log.h"

static HWND statusLog;

void SetStatusLog(HWND listBox)
{
    statusLog = listBox;
}

void AddStatusMessage(const char *text)
{
    const LRESULT index = SendMessageA(statusLog, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    // The new line at the top of the view, or as near as the log scrolls.
    if (index >= 0)
        SendMessageA(statusLog, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
}
