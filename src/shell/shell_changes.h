// What Apply does to the current user's registry, decided from the two
// check boxes and what the window read when it opened, apart from the
// registry calls that carry it out.
#pragma once

#include <stddef.h>

// The association flag the window holds: 1 when .dm2 demos open in the game.
enum class AssociationChange { None, Write, Remove };
AssociationChange ChooseAssociationChange(bool boxChecked, int associationFlag);

// The freeze-fix state the window holds: unavailable where the system has
// no service location to change.
enum class FreezeFixState { Unavailable = -1, NotApplied = 0, Applied = 1 };

enum class FreezeFixChange { None, Apply, Remove };
FreezeFixChange ChooseFreezeFixChange(bool boxChecked, FreezeFixState state);

// Room for the command with a game directory of up to 260 characters (the
// longest a program can be started in), the quotes and the game's part.
constexpr size_t kOpenCommandRoom = 1 + 260 + 23 + 1;

// The command the shell runs for a double-clicked demo: the game in this
// directory, told to play the file. False, with nothing built, for a
// directory too long to fit: a command cut short would start a game that
// is not there.
bool BuildOpenCommand(const wchar_t *gameDirectory, wchar_t (&command)[kOpenCommandRoom]);
