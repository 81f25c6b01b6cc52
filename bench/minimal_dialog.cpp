// The least a dialog program can do before its window is ready: create a
// window from a template and put one line in a list box. The start-up
// benchmark measures the tool against it, built by the same toolchain.
#include <windows.h>

static INT_PTR CALLBACK MinimalDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SendDlgItemMessageA(window, 20, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Ready"));
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
    DialogBoxParamA(instance, MAKEINTRESOURCEA(1000), nullptr, MinimalDialogProc, 0);
    return 0;
}
