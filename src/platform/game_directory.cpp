#include "platform/game_directory.h"

bool GetGameDirectory(GameDirectory *directory)
{
    directory->length = GetCurrentDirectoryW(MAX_PATH, directory->path);
    // 0 is a failure; a result that does not fit is the size it would need.
    return directory->length != 0 && directory->length < MAX_PATH;
}

// length is what the platform returned for other: 0 on failure, MAX_PATH
// or more when it did not fit.
static bool IsSameDirectory(const GameDirectory &game, const wchar_t *other, UINT length)
{
    return length != 0 && length < MAX_PATH && lstrcmpiW(game.path, other) == 0;
}

bool IsInSystemDirectory()
{
    GameDirectory game;
    // A current directory too long to name is not one of these.
    if (!GetGameDirectory(&game))
        return false;
    wchar_t windows[MAX_PATH];
    wchar_t system[MAX_PATH];
    return IsSameDirectory(game, windows, GetWindowsDirectoryW(windows, MAX_PATH)) ||
           IsSameDirectory(game, system, GetSystemDirectoryW(system, MAX_PATH));
}
