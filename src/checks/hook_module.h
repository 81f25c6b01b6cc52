// The patch's hook modules in the game directory: a module that the game
// loads in place of the platform's own, marked by an export named "patch".
#pragma once

#include "checks/module_image.h"
#include "platform/win32.h"

// Room for a game directory of up to 248 characters, a backslash and a
// module name of up to 11 characters, and the terminator.
constexpr DWORD kGameDirectoryRoom = 249;
struct GameFilePath {
    char text[kGameDirectoryRoom + 12];
};

// The full path of a file of the game directory (the current directory).
// False for a longer directory, or one the platform cannot give in 8-bit
// text: the path is then never built from a partly written buffer.
bool GetGameFilePath(const char *fileName, GameFilePath *path);

// On Windows, maps the module without running its start-up code or loading
// what it imports, looks for the marker and releases it again. Under Wine,
// whose loader would hand back its own module of the same name, reads the
// file's export table instead.
HookModuleProbe ProbeHookModule(const GameFilePath &path);
