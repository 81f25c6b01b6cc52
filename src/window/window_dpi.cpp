#include "window/window_dpi.h"

// Per-monitor scales came with Windows 10 (1607); the tool also runs on
// Windows 7 and on Wines without them, so the functions are looked up, not
// linked (and only when the window opens or changes scale). Without them the
// whole desktop has one scale, the system's.
template <typename Function> static Function User32Function(const char *name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

UINT WindowDpi(HWND window)
{
    const auto getDpiForWindow = User32Function<UINT(WINAPI *)(HWND)>("GetDpiForWindow");
    if (getDpiForWindow) {
        if (UINT dpi = getDpiForWindow(window))
            return dpi;
    }
    HDC dc = GetDC(window);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(window, dc);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

int SystemMetricAtDpi(int metric, UINT dpi)
{
    const auto getSystemMetricsForDpi = User32Function<int(WINAPI *)(int, UINT)>("GetSystemMetricsForDpi");
    return getSystemMetricsForDpi ? getSystemMetricsForDpi(metric, dpi) : GetSystemMetrics(metric);
}

int ScaleToDpi(int pixelsAt96, UINT dpi)
{
    return MulDiv(pixelsAt96, dpi, USER_DEFAULT_SCREEN_DPI);
}
