// The patch's hook modules in the game directory: a module that the game
// loads in place of the platform's own, marked by an export named "patch".
#pragma once

#include "checks/module_image.h"
#include "platform/win32.h"

// Room for a game directory of up to 248 characters, a backslash and a
// module name of up to 11 characters, and the terminator. In UTF-16, so a
// directory named in any script is the real one.
constexpr DWORD kGameDirectoryRoom = 249;
struct GameFilePath {
    wchar_t text[kGameDirectoryRoom + 12];
};

// The full path of a file of the game directory (the current directory).
// False for a longer directory: the path is then never built from a partly
// written buffer.
bool GetGameFilePath(const wchar_t *fileName, GameFilePath *path);

// Reads the file's headers and export table; nothing of the game's is
// loaded into this program, whose process would otherwise hand the module
// to any later load of that name (and under Wine answers with its own
// module of the same name).
HookModuleProbe ProbeHookModule(const GameFilePath &path);
