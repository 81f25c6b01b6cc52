// The patch's hook modules in the game directory: a module that the game
// loads in place of the platform's own, marked by an export named "patch".
#pragma once

#include "checks/module_image.h"
#include "platform/game_directory.h"

// In UTF-16, so that a directory named in any script is the real one.
struct GameFilePath {
    wchar_t text[MAX_PATH];
};

// The full path of a file of the game directory. False where it would not
// fit in MAX_PATH, the longest path the platform opens.
bool GetGameFilePath(const wchar_t *fileName, GameFilePath *path);

// Opens a module for its probe, shared only for reading: until the handle
// is closed nobody writes, renames or deletes the file, so the file probed
// is the file that stays or is deleted through the same handle (with
// DELETE as extraAccess). INVALID_HANDLE_VALUE where it cannot be opened so.
HANDLE OpenGameModule(const GameFilePath &path, DWORD extraAccess);

// Reads the open file once into this program's memory and judges that copy;
// nothing of the game's is loaded into this program, whose process would
// otherwise hand the module to any later load of that name (and under Wine
// answers with its own module of the same name). A file that cannot be read
// whole cannot be loaded either.
HookModuleProbe ProbeModuleFile(HANDLE file);
