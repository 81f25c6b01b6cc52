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

// A module loads only into a process of its own machine: the game and the
// shipped tool are i386, the tool's 64-bit test build is AMD64.
constexpr uint16_t kMachineI386 = 0x014C;
constexpr uint16_t kMachineAmd64 = 0x8664;

// NotAModule for anything the loader would refuse to map for the machine (a
// PE32 image for i386, PE32+ for AMD64); otherwise whether the export table
// names the marker with a function behind it. An export table that cannot
// be found in the file names nothing.
HookModuleProbe ProbeModuleImage(const unsigned char *image, size_t size, uint16_t machine);
