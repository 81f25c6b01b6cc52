// The first-launch freeze fix: the platform's game explorer stalls the
// first game start after a reboot while it waits on a metadata web service
// that no longer answers. An empty service location stops it asking.
#pragma once

#include "shell/shell_changes.h"

FreezeFixState ReadFreezeFixState();

// Applies or removes the fix when the box differs from the state, and
// keeps the state in step.
void ApplyFreezeFix(bool boxChecked, FreezeFixState *state);
