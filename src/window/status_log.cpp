#include "window/status_log.h"

#include "platform/win32.h"
#include "resources/resource.h"
#include "window/config_dialog.h"

void AddStatusMessage(const char *text)
{
    const LRESULT index = SendDlgItemMessageA(configWindow, IDC_STATUS_LOG, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    if (index >= 0)
        SendDlgItemMessageA(configWindow, IDC_STATUS_LOG, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
}
