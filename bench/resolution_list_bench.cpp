// How long the resolution drop-down takes to list 1,000 display modes, all
// of different sizes, when the player first reaches for it: the most
// entries a display could ask of it. The real window is created from its
// template; only the listing is timed.
#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include "window/resolution_list.h"
#include "platform/win32.h"
#include "resources/resource.h"
#include "window/config_dialog.h"

static std::vector<Resolution> ThousandModes()
{
    std::vector<Resolution> modes;
    for (int32_t width = 640; modes.size() < 1000; width += 8)
        for (int32_t height = 480; height < 480 + 25 * 24; height += 24)
            modes.push_back({width, height});
    // Drivers list modes in no promised order.
    std::shuffle(modes.begin(), modes.end(), std::mt19937(1000));
    return modes;
}

static double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int main()
{
    HWND window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CONFIG), nullptr, ConfigDialogProc, 0);
    if (!window) {
        std::printf("the window could not be created, error %lu\n", GetLastError());
        return 1;
    }
    ShowWindow(window, SW_SHOW);
    const std::vector<Resolution> modes = ThousandModes();

    std::vector<double> times;
    for (int run = 0; run < 21; ++run) {
        HWND list = GetDlgItem(window, IDC_RESOLUTION);
        SendMessageA(list, CB_RESETCONTENT, 0, 0);
        ListConfiguredResolution(list);
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        FillResolutionListFromModes(list, modes.data(), modes.size());
        QueryPerformanceCounter(&end);
        times.push_back(Milliseconds(start, end));
    }
    const LRESULT entries = SendDlgItemMessageA(window, IDC_RESOLUTION, CB_GETCOUNT, 0, 0);
    std::sort(times.begin(), times.end());
    std::printf("Listed %zu modes in the resolution list, %ld entries: median %.2f ms, fastest %.2f ms, "
                "slowest %.2f ms over %zu runs\n",
                modes.size(), static_cast<long>(entries), times[times.size() / 2], times.front(), times.back(),
                times.size());
    DestroyWindow(window);
    return entries == 1001 ? 0 : 1;
}
