// Which sizes the resolution list offers, and in which order.
#pragma once

#include <vector>

#include "display/mode_key.h"

// The configured size first in line, then every mode at least 480 pixels
// high, in ascending mode key, one entry per key. Displays report each size
// at several colour depths and refresh rates, in no promised order; the
// configured size stays even when the display lacks it or it is too small.
std::vector<Resolution> OfferedResolutions(Resolution configured, const std::vector<Resolution> &modes);
