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

// The primary display's sizes that the list offers, each once, kept as they
// are read so that repeats cannot crowd out later sizes; none when the
// query fails.
static size_t DisplayModes(Resolution (&modes)[kMaxDisplayModes])
{
    size_t count = 0;
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    for (DWORD i = 0; count < kMaxDisplayModes && EnumDisplaySettingsA(nullptr, i, &mode); ++i) {
        const Resolution size = {static_cast<int32_t>(mode.dmPelsWidth), static_cast<int32_t>(mode.dmPelsHeight)};
        count = AddOfferedMode(size, modes, count);
    }
    return count;
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
    Resolution modes[kMaxDisplayModes];
    CompleteResolutionListFromModes(modes, DisplayModes(modes));
}

void CompleteResolutionListFromModes(const Resolution *modes, size_t modeCount)
{
    // The configured size as the one entry so far holds it: an Apply since
    // the window opened may have cleared the size in the settings.
    const int32_t listedKey = static_cast<int32_t>(SendToList(CB_GETITEMDATA, 0, 0));
    // Each entry goes straight to its final place, the ones before the
    // configured size pushing it down: finding places by reading the list
    // back costs a message per entry per mode, seconds for a thousand modes
    // under Wine.
    if (modeCount > kMaxDisplayModes)
        modeCount = kMaxDisplayModes;
    Resolution offered[kMaxDisplayModes + 1];
    const size_t count = OfferedResolutions(ResolutionFromKey(listedKey), modes, modeCount, offered);
    for (size_t i = 0; i < count; ++i) {
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
