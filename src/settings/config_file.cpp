#include "settings/config_file.h"

#include "platform/game_directory.h"
#include "platform/status_log.h"
#include "settings/config_save.h"
#include "settings/config_text.h"

// Far more than any patch.cfg a player writes; a file past it is not one.
static const DWORD kMostBytesRead = 1 << 20;

// A disk file only: a device or pipe named patch.cfg could be read forever.
static bool ReadPatchConfigFile(ConfigReader &reader)
{
    HANDLE file = CreateFileW(L"patch.cfg", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool isDiskFile = GetFileType(file) == FILE_TYPE_DISK;
    char chunk[4096];
    DWORD count = 0;
    for (DWORD total = 0; isDiskFile && total < kMostBytesRead; total += count) {
        const DWORD wanted = kMostBytesRead - total < sizeof chunk ? kMostBytesRead - total : sizeof chunk;
        if (!ReadFile(file, chunk, wanted, &count, nullptr) || count == 0 ||
            !FeedPatchConfig(reader, chunk, count, patchSettings))
            break;
    }
    CloseHandle(file);
    return isDiskFile;
}

void ReadPatchConfig()
{
    if (IsInSystemDirectory())
        return;
    RemoveUnfinishedSave();
    ConfigReader reader;
    StartPatchConfig(reader);
    if (!ReadPatchConfigFile(reader))
        return;
    FinishPatchConfig(reader, patchSettings);
    AddStatusMessage("Config read from PATCH.CFG");
}

// Started where the platform puts a program it could not start in the game
// directory, the tool must neither save there nor claim a save: the game
// would never see the file.
static SaveResult SavePatchConfig()
{
    if (IsInSystemDirectory())
        return SaveResult::Failed;
    char text[kPatchConfigTextSize];
    const size_t length = FormatPatchConfig(patchSettings, text);
    return SavePatchConfigText(text, length);
}

bool WritePatchConfig()
{
    switch (SavePatchConfig()) {
    case SaveResult::Saved:
        AddStatusMessage("Config written to PATCH.CFG");
        return true;
    case SaveResult::AccessDenied:
        AddStatusMessage("Access denied to PATCH.CFG, try re-running as administrator");
        return false;
    case SaveResult::Failed:
        break;
    case SaveResult::FailedOldBytesLost:
        AddStatusMessage("Failed to write PATCH.CFG");
        // The only save that can leave patch.cfg neither old nor new: the
        // player must check it before playing.
        AddStatusMessage("Failed to restore PATCH.CFG, it may be incomplete");
        return false;
    }
    AddStatusMessage("Failed to write PATCH.CFG");
    return false;
}
