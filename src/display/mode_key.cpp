#include "display/mode_key.h"

int32_t ModeKey(Resolution size)
{
    const uint32_t width = static_cast<uint32_t>(size.width) & 0xFFFF;
    const uint32_t height = static_cast<uint32_t>(size.height) & 0xFFFF;
    return static_cast<int32_t>(width << 16 | height);
}

Resolution ResolutionFromKey(int32_t key)
{
    const uint32_t bits = static_cast<uint32_t>(key);
    return {static_cast<int32_t>(bits >> 16), static_cast<int32_t>(bits & 0xFFFF)};
}
