// The tool runs in the game directory, which holds hook modules on purpose
// (wsock32.dll, an old winmm.dll) and often DLLs that players drop in. A
// module that a system component loads by bare name would be searched for
// there first, and its start-up code would run inside the tool.
#pragma once

// Restricts the default search of every later module load to the system
// directory. Called first thing, before anything can load a module.
void RestrictDllSearchToSystem();
