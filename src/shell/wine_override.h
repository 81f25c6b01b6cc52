// Wine's module loader as far as the patch is concerned. Wine maps its own
// wsock32.dll into a program in place of a file of that name beside it,
// unless a DLL override tells it to take the file first: without one the
// game never sees the patch, and a probe of the file by loading it is
// answered with Wine's module.
#pragma once

// The platform's ntdll is Wine's.
bool IsRunningOnWine();

// Whether Wine would load the game directory's wsock32.dll into gravlok.exe
// before its own: the game's own override, or failing that the global one,
// puts native first.
bool WineLoadsGameWsock32();

// Sets the game's own override to native first; false when the registry
// refuses.
bool SetWineToLoadGameWsock32();
