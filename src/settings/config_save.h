// Saving patch.cfg so that the game directory holds a whole one at every
// moment: the old settings or the new, never neither and never a mix,
// whatever the programs around the tool do to its files meanwhile.
#pragma once

#include <stddef.h>

#include "platform/win32.h"

enum class SaveResult {
    Saved,
    // Refused where a plain write of patch.cfg would be refused too.
    AccessDenied,
    // Not saved; patch.cfg holds its old bytes.
    Failed,
    // Not saved, and rewriting it in place could not put its old bytes back.
    FailedOldBytesLost,
};

// Saves the text ("\n" line ends, written as CR LF) as patch.cfg in the
// current directory. The new file is written and flushed beside the old one
// and replaces it whole, keeping its attributes; where that is refused, the
// file is rewritten in place, its old bytes kept to put back. Refusals by
// another program's open handle (indexers, scanners, sync clients) are
// waited out for about a second. A read-only patch.cfg is access denied.
// Nothing of the save is left beside patch.cfg afterwards.
SaveResult SavePatchConfigText(const char *text, size_t length);

// Finishes what a save stopped part-way (the process ended, the machine
// went down) left in the current directory: the old patch.cfg back in
// place where it was moved aside, and the save's own files removed.
void RecoverInterruptedSave();

// The file operations of a save, in the order they may run.
enum class SaveStep {
    CheckReplaceable,
    CreateNew,
    WriteNew,
    MoveNewIntoPlace,
    Replace,
    FinishReplace,
    UndoReplace,
    RemoveNew,
    RemoveOld,
    OpenInPlace,
    WriteInPlace,
    TrimInPlace,
    RestoreInPlace,
    Done,
};

// Called before each attempt at a step, and with Done at the end, so that a
// test can see the directory as a stop at that moment would leave it, or
// refuse the step with an error code as the platform would (0 lets it run).
// Null in the program.
extern DWORD (*saveStepHook)(SaveStep next);
