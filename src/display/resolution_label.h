// The label of a resolution-list entry: "1920 x 1080 - 16 : 9".
#pragma once

#include <cstddef>
#include <cstdint>

// Room for any two 32-bit sides and any ratio, with plenty to spare.
const size_t kResolutionLabelSize = 96;

// The aspect ratio as the nearest fraction with a denominator of 1 to 10.
// The numerator stays the exact width / height times the denominator, to be
// rounded only when printed (1366 x 768 is 16.008 : 9).
struct AspectRatio {
    double numerator;
    int32_t denominator;
};

// height must not be 0.
AspectRatio NearestAspectRatio(int32_t width, int32_t height);

void FormatResolutionLabel(char (&label)[kResolutionLabelSize], int32_t width, int32_t height);
