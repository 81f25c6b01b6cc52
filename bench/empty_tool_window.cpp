// The tool's own window, from its own template, manifest and icons, in a
// program that does nothing else at start-up but put one line in the
// status log: what any program showing this window pays. The start-up
// benchmark measures the tool's own start-up work against it.
#include "platform/win32.h"
#include "resources/resource.h"

static INT_PTR CALLBACK EmptyToolWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SendDlgItemMessageA(window, IDC_STATUS_LOG, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Ready"));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL)
            EndDialog(window, 0);
        return FALSE;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_CONFIG), nullptr, EmptyToolWindowProc, 0);
    return 0;
}
