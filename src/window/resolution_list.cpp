#include "window/resolution_list.h"

#include "display/display_modes.h"
#include "display/resolution_label.h"
#include "display/resolution_order.h"
#include "settings/patch_settings.h"

void ListConfiguredResolution(HWND list)
{
    PatchSettings &s = patchSettings;
    // The list always has a selection; with no size configured it is this one.
    if (!IsResolutionSet(s)) {
        s.width = 1024;
        s.height = 768;
    }
    AddResolutionEntry(list, 0, s.width, s.height);
}

void FillResolutionList(HWND list)
{
    Resolution modes[kMaxDisplayModes];
    FillResolutionListFromModes(list, modes, ReadDisplayModes(modes));
}

void FillResolutionListFromModes(HWND list, const Resolution *modes, size_t modeCount)
{
    // The configured size as the one entry so far holds it: an Apply since
    // the window opened may have cleared the size in the settings.
    const int32_t listedKey = static_cast<int32_t>(SendMessageA(list, CB_GETITEMDATA, 0, 0));
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
            SendMessageA(list, CB_SETCURSEL, i, 0);
        else
            AddResolutionEntry(list, static_cast<int>(i), offered[i].width, offered[i].height);
    }
}

void AddResolutionEntry(HWND list, int index, int32_t width, int32_t height)
{
    char label[kResolutionLabelSize];
    FormatResolutionLabel(label, width, height);
    SendMessageA(list, CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(label));
    SendMessageA(list, CB_SETITEMDATA, index, ModeKey({width, height}));
    if (width == patchSettings.width && height == patchSettings.height)
        SendMessageA(list, CB_SETCURSEL, index, 0);
}

Resolution ChosenResolution(HWND list)
{
    const LRESULT position = SendMessageA(list, CB_GETCURSEL, 0, 0);
    return ResolutionFromKey(static_cast<int32_t>(SendMessageA(list, CB_GETITEMDATA, position, 0)));
}
