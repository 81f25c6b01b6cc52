// The game directory: the current directory, which the tool is started in.
// In UTF-16, so that a directory named in any script is the real one.
#pragma once

#include "platform/win32.h"

struct GameDirectory {
    wchar_t path[MAX_PATH];
    DWORD length;
};

// False when there is none, or it is too long to name in MAX_PATH: the
// path is then never taken from a partly written buffer.
bool GetGameDirectory(GameDirectory *directory);

// Where the platform starts a program whose own directory it could not
// enter: Wine, for a directory longer than MAX_PATH, and cmd, for a network
// path, fall back to the Windows directory; some launchers use the system
// directory. No game is installed there, so a patch.cfg there is never the
// player's. True when the current directory is one of these.
bool IsInSystemDirectory();
