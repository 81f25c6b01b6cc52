#include "settings/config_file.h"

#include "platform/game_directory.h"
#include "platform/text_file.h"
#include "settings/config_save.h"
#include "settings/config_text.h"
#include "platform/status_log.h"

void ReadPatchConfig()
{
    if (IsInSystemDirectory())
        return;
    RecoverInterruptedSave();
    ConfigReader reader;
    StartPatchConfig(reader);
    const bool opened = ReadFileChunks("patch.cfg", "rt", [&reader](const char *bytes, size_t count) {
        FeedPatchConfig(reader, bytes, count, patchSettings);
    });
    if (!opened)
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
