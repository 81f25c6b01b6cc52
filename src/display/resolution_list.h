// The resolution drop-down (control 1006): the configured size when the
// window opens, every mode of the display once the player reaches for it,
// read on every Apply.
#pragma once

#include <cstddef>
#include <cstdint>

#include "display/mode_key.h"

// Lists the configured size alone and selects it (1024 x 768 when none is,
// which is then put in the settings): all the closed list shows.
void FillResolutionList();

// Adds the primary display's modes around the configured size, which stays
// selected. Once per window, when the player first reaches for the list.
void CompleteResolutionList();

// The most display modes listed, counted as distinct sizes at least 480
// pixels high. Displays report each size at several depths and refresh
// rates, hundreds of modes, but seldom a hundred distinct sizes; sizes read
// past this many are left out.
const size_t kMaxDisplayModes = 1024;

// The same from a given list of modes instead of the display's; only the
// first kMaxDisplayModes are read.
void CompleteResolutionListFromModes(const Resolution *modes, size_t modeCount);

// Inserts one labelled entry at index and selects it when it is the configured size.
void AddResolutionEntry(int index, int32_t width, int32_t height);

// The size of the selected entry, from its mode key.
Resolution ChosenResolution();
