// Where the platform starts a program whose own directory it could not
// enter: Wine, for a directory longer than MAX_PATH, and cmd, for a network
// path, fall back to the Windows directory; some launchers use the system
// directory. No game is installed there, so a patch.cfg there is never the
// player's.
#pragma once

// True when the current directory is the Windows or the system directory.
bool IsInSystemDirectory();
