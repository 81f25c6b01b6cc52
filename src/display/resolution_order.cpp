#include "display/resolution_order.h"

#include <algorithm>

// Lower modes are left out; a configured one is listed all the same.
static const uint32_t kLowestModeHeight = 480;

std::vector<Resolution> OfferedResolutions(Resolution configured, const std::vector<Resolution> &modes)
{
    std::vector<Resolution> offered{configured};
    for (const Resolution &mode : modes) {
        // Heights arrive as unsigned numbers from the display.
        if (static_cast<uint32_t>(mode.height) >= kLowestModeHeight)
            offered.push_back(mode);
    }
    // Stable, so that of equal keys the configured size, which came first, is kept.
    std::stable_sort(offered.begin(), offered.end(),
                     [](Resolution a, Resolution b) { return ModeKey(a) < ModeKey(b); });
    offered.erase(std::unique(offered.begin(), offered.end(),
                              [](Resolution a, Resolution b) { return ModeKey(a) == ModeKey(b); }),
                  offered.end());
    return offered;
}
