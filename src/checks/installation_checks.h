// What the window reports about the game directory when it opens: whether
// the game is the release the patch supports, whether the patch is
// installed, and the removal of an earlier release's hook module.
#pragma once

// Each check runs whatever the earlier ones found; every outcome is a line
// of the status log, never an error.
void RunInstallationChecks();

// On Apply, once patch.cfg is saved: under Wine, tells Wine to load the
// patch in the game directory into the game rather than its own
// wsock32.dll, unless it does already. Says so only when it did.
void LetWineLoadHookModule();
