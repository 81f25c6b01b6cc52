#include "display/display_modes.h"

#include "display/resolution_order.h"
#include "platform/win32.h"

bool (*displayModeSource)(uint32_t number, Resolution *size);

static bool PrimaryDisplayMode(uint32_t number, Resolution *size)
{
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    if (!EnumDisplaySettingsA(nullptr, number, &mode))
        return false;
    *size = {static_cast<int32_t>(mode.dmPelsWidth), static_cast<int32_t>(mode.dmPelsHeight)};
    return true;
}

// Kept as they are read, so that repeats cannot crowd out later sizes.
size_t ReadDisplayModes(Resolution (&modes)[kMaxDisplayModes])
{
    bool (*const source)(uint32_t, Resolution *) = displayModeSource ? displayModeSource : PrimaryDisplayMode;
    size_t count = 0;
    Resolution size;
    for (uint32_t i = 0; count < kMaxDisplayModes && source(i, &size); ++i)
        count = AddOfferedMode(size, modes, count);
    return count;
}
