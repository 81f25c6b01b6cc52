// The resolution drop-down (control 1006): the configured size when the
// window opens, every mode of the display once the player reaches for it,
// read on every Apply.
#pragma once

#include <cstddef>
#include <cstdint>

#include "display/mode_key.h"
#include "platform/win32.h"

// Lists the configured size alone and selects it (1024 x 768 when none is,
// which is then put in the settings): all the closed list shows.
void ListConfiguredResolution(HWND list);

// Fills the list with the primary display's modes around the configured
// size, which stays selected.
void FillResolutionList(HWND list);

// The same from these modes instead of the display's; at most
// kMaxDisplayModes of them are read.
void FillResolutionListFromModes(HWND list, const Resolution *modes, size_t modeCount);

// Inserts one labelled entry at index and selects it when it is the configured size.
void AddResolutionEntry(HWND list, int index, int32_t width, int32_t height);

// The size of the selected entry, from its mode key.
Resolution ChosenResolution(HWND list);
