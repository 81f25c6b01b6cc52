#include "display/resolution_label.h"

#include <cmath>

#include "platform/bounded_format.h"

// Every operation below is a double rounded on its own, in this order: ties
// such as 1040 x 768 (4 : 3 and 11 : 8 equally near in exact arithmetic) are
// settled by those roundings, so players see the same label on every build.
// The 32-bit build keeps doubles in SSE2 registers for the same reason.
AspectRatio NearestAspectRatio(int32_t width, int32_t height)
{
    const double ratio = static_cast<double>(width) / height;
    double bestError = 1.0;
    // Every finite ratio replaces this by n = 2 at the latest.
    int32_t denominator = 1;
    for (int32_t n = 1; n <= 10; ++n) {
        // The integer part in a double: exact, and defined for ratios that
        // would overflow an int.
        const double numerator = std::trunc(n * ratio + 0.5);
        const double error = std::fabs(numerator / n - ratio);
        // Strictly less: the smaller denominator wins a tie, which keeps the
        // fraction in lowest terms.
        if (error < bestError) {
            bestError = error;
            denominator = n;
            if (error == 0.0)
                break;
        }
    }
    // Screens of this shape are sold as 16 : 10.
    if (denominator == 5 && 5 * ratio == 8.0)
        denominator = 10;
    return {ratio * denominator, denominator};
}

void FormatResolutionLabel(char (&label)[kResolutionLabelSize], int32_t width, int32_t height)
{
    const AspectRatio aspect = NearestAspectRatio(width, height);
    FormatBounded(label, sizeof label, "%d x %d - %.0f : %d", static_cast<int>(width), static_cast<int>(height),
                  aspect.numerator, static_cast<int>(aspect.denominator));
}
