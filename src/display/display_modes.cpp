#include "display/display_modes.h"

#include "display/resolution_order.h"
#include "platform/win32.h"

// Kept as they are read, so that repeats cannot crowd out later sizes.
size_t ReadDisplayModes(Resolution (&modes)[kMaxDisplayModes])
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
