#include "display/resolution_order.h"

// Lower modes are left out; a configured one is listed all the same.
static const uint32_t kLowestModeHeight = 480;

// A binary search for the place and one shift of the sizes above it: a
// thousand modes take well under a millisecond, against tens of
// milliseconds for the list to take them in.
static size_t InsertResolution(Resolution size, Resolution *offered, size_t count)
{
    const int32_t key = ModeKey(size);
    size_t low = 0;
    size_t high = count;
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        if (ModeKey(offered[middle]) < key)
            low = middle + 1;
        else
            high = middle;
    }
    // Of equal keys the first one in stays: the configured size, when it is among them.
    if (low < count && ModeKey(offered[low]) == key)
        return count;
    for (size_t i = count; i > low; --i)
        offered[i] = offered[i - 1];
    offered[low] = size;
    return count + 1;
}

size_t AddOfferedMode(Resolution mode, Resolution *offered, size_t count)
{
    // Heights arrive as unsigned numbers from the display.
    if (static_cast<uint32_t>(mode.height) < kLowestModeHeight)
        return count;
    return InsertResolution(mode, offered, count);
}

size_t OfferedResolutions(Resolution configured, const Resolution *modes, size_t modeCount, Resolution *offered)
{
    size_t count = InsertResolution(configured, offered, 0);
    for (size_t i = 0; i < modeCount; ++i)
        count = AddOfferedMode(modes[i], offered, count);
    return count;
}
