#include "shell/freeze_fix.h"

#include "platform/win32.h"
#include "shell/shell_changes.h"

static const char kServiceLocationKey[] =
    "software\\classes\\local settings\\software\\microsoft\\windows\\gameux\\servicelocation";
static const char kGamesValue[] = "games";
// What the system itself holds there, so removing the fix restores it exactly.
static const char kGamesServiceUrl[] = "https://games.metaservices.microsoft.com/games/SGamesWebService.asmx";

FreezeFixState ReadFreezeFixState()
{
    // Zeroed, so a value with no data reads as empty.
    char value[200] = {};
    DWORD size = sizeof value;
    if (SHGetValueA(HKEY_CURRENT_USER, kServiceLocationKey, kGamesValue, nullptr, value, &size) != ERROR_SUCCESS)
        return FreezeFixState::Unavailable;
    return value[0] == '\0' ? FreezeFixState::Applied : FreezeFixState::NotApplied;
}

void ApplyFreezeFix(bool boxChecked, FreezeFixState *state)
{
    switch (ChooseFreezeFixChange(boxChecked, *state)) {
    case FreezeFixChange::Apply:
        SHSetValueA(HKEY_CURRENT_USER, kServiceLocationKey, kGamesValue, REG_SZ, "", 0);
        *state = FreezeFixState::Applied;
        break;
    case FreezeFixChange::Remove:
        SHSetValueA(HKEY_CURRENT_USER, kServiceLocationKey, kGamesValue, REG_SZ, kGamesServiceUrl,
                    sizeof kGamesServiceUrl);
        *state = FreezeFixState::NotApplied;
        break;
    case FreezeFixChange::None:
        break;
    }
}
