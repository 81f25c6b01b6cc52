#include "shell/shell_changes.h"

// Only a difference from what was read is written, so an association made
// by hand (or by an older release) is never rewritten behind the player's back.
AssociationChange ChooseAssociationChange(bool boxChecked, int associationFlag)
{
    if (boxChecked && associationFlag == 0)
        return AssociationChange::Write;
    if (!boxChecked && associationFlag != 0)
        return AssociationChange::Remove;
    return AssociationChange::None;
}

// Without the service-location value there is no game explorer to fix:
// writing it would invent a setting the system never had.
FreezeFixChange ChooseFreezeFixChange(bool boxChecked, FreezeFixState state)
{
    if (state == FreezeFixState::Unavailable)
        return FreezeFixChange::None;
    const FreezeFixState wanted = boxChecked ? FreezeFixState::Applied : FreezeFixState::NotApplied;
    if (wanted == state)
        return FreezeFixChange::None;
    return wanted == FreezeFixState::Applied ? FreezeFixChange::Apply : FreezeFixChange::Remove;
}

bool BuildOpenCommand(const wchar_t *gameDirectory, wchar_t (&command)[kOpenCommandRoom])
{
    static const wchar_t kGamePart[] = L"\\gravlok.exe\" +map \"%1\"";
    const size_t gamePartLength = sizeof kGamePart / sizeof kGamePart[0];
    size_t length = 0;
    command[length++] = L'"';
    for (const wchar_t *c = gameDirectory; *c; ++c) {
        if (length + gamePartLength >= kOpenCommandRoom)
            return false;
        command[length++] = *c;
    }
    for (wchar_t c : kGamePart)
        command[length++] = c;
    return true;
}
