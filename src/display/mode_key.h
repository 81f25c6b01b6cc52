// A display size, and the mode key that packs it into one 32-bit item value
// of the resolution list: (width << 16) | height, 16 bits each.
#pragma once

#include <cstdint>

struct Resolution {
    int32_t width;
    int32_t height;
};

// Signed, because the list is ordered by the key as a signed number.
int32_t ModeKey(Resolution size);

// The size a key stands for: each side 0 to 65535.
Resolution ResolutionFromKey(int32_t key);
