#include "checks/installation_checks.h"

#include <stdio.h>

#include "checks/hook_module.h"
#include "checks/release_fingerprint.h"
#include "platform/status_log.h"
#include "shell/wine_override.h"

// The count of bytes read at an offset, fewer than asked for where the
// file ends first.
static size_t ReadBytesAt(FILE *file, long offset, char *bytes, size_t length)
{
    if (fseek(file, offset, SEEK_SET) != 0)
        return 0;
    return fread(bytes, 1, length, file);
}

static void CheckExecutable()
{
    FILE *file = fopen("gravlok.exe", "rb");
    if (!file) {
        AddStatusMessage("Failed to open GRAVLOK.EXE");
        return;
    }
    char value32[kValue32Length];
    char import[kExecutableImportLength];
    const size_t value32Length = ReadBytesAt(file, kExecutableValue32Offset, value32, sizeof value32);
    const size_t importLength = ReadBytesAt(file, kExecutableImportOffset, import, sizeof import);
    fclose(file);
    if (IsSupportedExecutable(value32, value32Length, import, importLength))
        AddStatusMessage("Supported GRAVLOK.EXE found");
    else
        AddStatusMessage("Unrecognised GRAVLOK.EXE found (v1.21 is needed)");
}

// A supported renderer goes without saying.
static void CheckRenderer()
{
    FILE *file = fopen("ref_gl.dll", "rb");
    if (!file) {
        AddStatusMessage("Failed to open REF_GL.DLL");
        return;
    }
    char value32[kValue32Length];
    const size_t value32Length = ReadBytesAt(file, kRendererValue32Offset, value32, sizeof value32);
    fclose(file);
    if (!IsSupportedRenderer(value32, value32Length))
        AddStatusMessage("Unrecognised REF_GL.DLL found (v1.21 is needed)");
}

static HookModuleProbe ProbeGameModule(const wchar_t *fileName)
{
    GameFilePath path;
    if (!GetGameFilePath(fileName, &path))
        return HookModuleProbe::NotAModule;
    HANDLE file = OpenGameModule(path, 0);
    if (file == INVALID_HANDLE_VALUE)
        return HookModuleProbe::NotAModule;
    const HookModuleProbe probe = ProbeModuleFile(file);
    CloseHandle(file);
    return probe;
}

static void CheckHookModule()
{
    switch (ProbeGameModule(L"wsock32.dll")) {
    case HookModuleProbe::NotAModule:
        AddStatusMessage("Patched WSOCK32.DLL is missing");
        break;
    case HookModuleProbe::Unmarked:
        AddStatusMessage("Unknown WSOCK32.DLL found");
        break;
    case HookModuleProbe::Marked:
        // Installed, yet under Wine the game may still load Wine's module.
        if (IsRunningOnWine() && !WineLoadsGameWsock32())
            AddStatusMessage("Wine will not load the patched WSOCK32.DLL");
        break;
    }
}

// Earlier releases of the patch were a winmm.dll in the game directory,
// which the game would go on loading beside the current wsock32.dll. A
// winmm.dll without the marker is not ours and stays. The file deleted is
// the one probed, through the same handle; where deleting it is refused
// (a directory the player may not change), a marked one is still reported.
static void RemoveOldHookModule()
{
    GameFilePath path;
    if (!GetGameFilePath(L"winmm.dll", &path))
        return;
    HANDLE file = OpenGameModule(path, DELETE);
    const bool mayDelete = file != INVALID_HANDLE_VALUE;
    if (!mayDelete)
        file = OpenGameModule(path, 0);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const bool marked = ProbeModuleFile(file) == HookModuleProbe::Marked;
    FILE_DISPOSITION_INFO disposition = {TRUE};
    const bool deleted =
        marked && mayDelete && SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
    CloseHandle(file);
    if (deleted)
        AddStatusMessage("Old WINMM.DLL found and deleted");
    else if (marked)
        AddStatusMessage("Failed to delete old WINMM.DLL");
}

void RunInstallationChecks()
{
    CheckExecutable();
    CheckRenderer();
    CheckHookModule();
    RemoveOldHookModule();
}

bool IsHookModuleInstalled()
{
    return ProbeGameModule(L"wsock32.dll") == HookModuleProbe::Marked;
}
