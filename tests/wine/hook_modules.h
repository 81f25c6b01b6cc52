// The stand-in hook modules built beside the tests (hook_module_fixture.c),
// copied into the game directory as a player would install them.
#pragma once

#include <string>

// kind is "marked" (exports patch) or "unmarked"; name is wsock32 or winmm.
void InstallModule(const char *kind, const char *name);

// The directory of the running test program.
std::string BuildDirectory();
