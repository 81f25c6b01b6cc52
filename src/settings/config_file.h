// patch.cfg in the game directory: loaded when the window opens, saved on
// Apply. Both report through the status log.
#pragma once

void ReadPatchConfig();

// True when patch.cfg now holds the settings; false leaves it as it was.
bool WritePatchConfig();
