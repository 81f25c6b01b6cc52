#include "settings/config_file.h"

#include "platform/system_directory.h"
#include "platform/text_file.h"
#include "settings/config_text.h"
#include "window/status_log.h"

static const char kConfigFile[] = "patch.cfg";

void ReadPatchConfig()
{
    if (IsInSystemDirectory())
        return;
    ConfigReader reader;
    StartPatchConfig(reader);
    const bool opened = ReadFileChunks(kConfigFile, "rt", [&reader](const char *bytes, size_t count) {
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
    FormatPatchConfig(patchSettings, text);
    return SaveTextFile(kConfigFile, text);
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
    }
    AddStatusMessage("Failed to write PATCH.CFG");
    return false;
}
