// A hook module judged from its file alone: whether the platform's loader
// would take it and whether it exports the patch's marker. Where the
// platform's own loader cannot be asked truthfully (under Wine it maps its
// own wsock32 and winmm in place of files of those names), the file's
// headers and export table give the answer instead. The file is a copy in
// this program's memory, read once: nothing is mapped or run, nothing
// changes while it is judged, and no byte outside it is read, whatever it
// holds.
#pragma once

#include <cstddef>
#include <cstdint>

// The export that marks a module as the patch's.
constexpr char kMarkerExport[] = "patch";

enum class HookModuleProbe { NotAModule, Unmarked, Marked };

// NotAModule for anything the loader would refuse to map into the game, an
// i386 process; otherwise whether the export table names the marker with a
// function behind it. An export table that cannot be found in the file
// names nothing.
HookModuleProbe ProbeModuleImage(const unsigned char *image, size_t size);
