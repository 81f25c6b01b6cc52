// Which sizes the resolution list offers, and in which order.
#pragma once

#include <cstddef>

#include "display/mode_key.h"

// Puts a display mode at least 480 pixels high into offered (count sizes in
// ascending mode key, one per key) at its place, unless its key is there
// already; returns the new count. offered needs room for one more.
size_t AddOfferedMode(Resolution mode, Resolution *offered, size_t count);

// The configured size first in line, then every mode at least 480 pixels
// high, in ascending mode key, one entry per key: the count written to
// offered, which needs room for modeCount + 1. Displays report each size at
// several colour depths and refresh rates, in no promised order; the
// configured size stays even when the display lacks it or it is too small.
size_t OfferedResolutions(Resolution configured, const Resolution *modes, size_t modeCount, Resolution *offered);
