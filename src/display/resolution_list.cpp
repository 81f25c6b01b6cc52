#include "display/resolution_list.h"

#include "display/resolution_label.h"
#include "display/resolution_order.h"
#include "platform/win32.h"
#include "resources/resource.h"
#include "settings/patch_settings.h"
#include "window/config_dialog.h"

static LRESULT SendToList(UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendDlgItemMessageA(configWindow, IDC_RESOLUTION, message, wParam, lParam);
}

// Every mode of the primary display, repeats and all; none when the query fails.
static std::vector<Resolution> DisplayModes()
{
    std::vector<Resolution> modes;
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    for (DWORD i = 0; EnumDisplaySettingsA(nullptr, i, &mode); ++i)
        modes.push_back({static_cast<int32_t>(mode.dmPelsWidth), static_cast<int32_t>(mode.dmPelsHeight)});
    return modes;
}

void FillResolutionList()
{
    PatchSettings &s = patchSettings;
    // The list always has a selection; with no size configured it is this one.
    if (!IsResolutionSet(s)) {
        s.width = 1024;
        s.height = 768;
    }
    AddResolutionEntry(0, s.width, s.height);
}

void CompleteResolutionList()
{
    CompleteResolutionListFromModes(DisplayModes());
}

void CompleteResolutionListFromModes(const std::vector<Resolution> &modes)
{
    // The configured size as the one entry so far holds it: an Apply since
    // the window opened may have cleared the size in the settings.
    const int32_t listedKey = static_cast<int32_t>(SendToList(CB_GETITEMDATA, 0, 0));
    // Each entry goes straight to its final place, the ones before the
    // configured size pushing it down: finding places by reading the list
    // back costs a message per entry per mode, seconds for a thousand modes
    // under Wine.
    const std::vector<Resolution> offered = OfferedResolutions(ResolutionFromKey(listedKey), modes);
    for (size_t i = 0; i < offered.size(); ++i) {
        if (ModeKey(offered[i]) == listedKey)
            // Already listed, and selected wherever it now stands.
            SendToList(CB_SETCURSEL, i, 0);
        else
            AddResolutionEntry(static_cast<int>(i), offered[i].width, offered[i].height);
    }
}

void AddResolutionEntry(int index, int32_t width, int32_t height)
{
    char label[kResolutionLabelSize];
    FormatResolutionLabel(label, width, height);
    SendToList(CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(label));
    SendToList(CB_SETITEMDATA, index, ModeKey({width, height}));
    if (width == patchSettings.width && height == patchSettings.height)
        SendToList(CB_SETCURSEL, index, 0);
}

Resolution ChosenResolution()
{
    const LRESULT position = SendToList(CB_GETCURSEL, 0, 0);
    return ResolutionFromKey(static_cast<int32_t>(SendToList(CB_GETITEMDATA, position, 0)));
}
