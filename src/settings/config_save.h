// Saving patch.cfg so that the game directory holds a whole one at every
// moment, the old settings or the new, whatever other programs do to its
// files meanwhile:
// - the new text is written to patch.cfg.saving and flushed, and one rename
//   puts it in place (one journalled operation on NTFS, rename(2) under
//   Wine). That file is the only leftover a stop can leave; it never holds
//   settings anyone relies on, and the next start removes it.
// - Where the rename is refused but patch.cfg may be written (a directory
//   the player may not create files in, an editor holding patch.cfg), the
//   new text and a Ctrl-Z go over the start of patch.cfg in one write, then
//   the file is cut after them. Readers stop at the Ctrl-Z, so the file
//   reads as the old settings or the new whatever its length.
// - Another program's handle is waited out, about a second in all; a
//   refusal that waiting cannot change is answered at once.
#pragma once

#include <stddef.h>

#include "platform/win32.h"

enum class SaveResult {
    Saved,
    // Refused where a plain write of patch.cfg would be refused too.
    AccessDenied,
    // Not saved; patch.cfg holds its old bytes.
    Failed,
    // Not saved, and patch.cfg no longer reads back as its old bytes.
    FailedOldBytesLost,
};

// Saves the text ("\n" line ends, written as CR LF) as patch.cfg in the
// current directory; the text is at most kPatchConfigTextSize bytes.
SaveResult SavePatchConfigText(const char *text, size_t length);

// Removes the new file of a save that was stopped before its rename.
void RemoveUnfinishedSave();

// The file operations of a save, in the order they may run.
enum class SaveStep { CreateNew, WriteNew, Rename, OpenInPlace, WriteInPlace, CutInPlace, RestoreInPlace };

// Called before each attempt at a step, so that a test can see the
// directory as a stop at that moment would leave it, or
// refuse the step with an error code as the platform would (0 lets it run).
// Null in the program.
extern DWORD (*saveStepHook)(SaveStep next);
