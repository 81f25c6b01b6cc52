// What the window reports about the game directory when it opens: whether
// the game is the release the patch supports, whether the patch is
// installed, and the removal of an earlier release's hook module.
#pragma once

// Each check runs whatever the earlier ones found; every outcome is a line
// of the status log, never an error.
void RunInstallationChecks();

// Whether the game directory's wsock32.dll is the patch's.
bool IsHookModuleInstalled();
