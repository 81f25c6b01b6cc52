// The resolution drop-down (control 1006): filled once when the window
// opens, read on every Apply.
#pragma once

#include <cstdint>
#include <vector>

#include "display/mode_key.h"

// Lists the configured size (1024 x 768 when none is, which is then put in
// the settings) and the primary display's modes, and selects the configured one.
void FillResolutionList();

// The same from a given list of modes instead of the display's.
void FillResolutionListFromModes(const std::vector<Resolution> &modes);

// Inserts one labelled entry at index and selects it when it is the configured size.
void AddResolutionEntry(int index, int32_t width, int32_t height);

// The size of the selected entry, from its mode key.
Resolution ChosenResolution();
