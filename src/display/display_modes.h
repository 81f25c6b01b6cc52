// The primary display's modes, as sizes the resolution list may offer.
#pragma once

#include <cstddef>
#include <cstdint>

#include "display/mode_key.h"

// The most display modes read, counted as distinct sizes at least 480
// pixels high. Displays report each size at several depths and refresh
// rates, hundreds of modes, but seldom a hundred distinct sizes; sizes read
// past this many are left out.
const size_t kMaxDisplayModes = 1024;

// The sizes at least 480 pixels high, each once, in ascending mode key;
// none when the query fails. Returns their count.
size_t ReadDisplayModes(Resolution (&modes)[kMaxDisplayModes]);

// Answers in place of the display when set, as the display does: the size
// of the mode of that number, false past the last. So a test can be a
// display no machine here has. Null in the program.
extern bool (*displayModeSource)(uint32_t number, Resolution *size);
