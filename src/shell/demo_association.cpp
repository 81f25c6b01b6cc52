#include "shell/demo_association.h"

#include <string.h>

#include "platform/game_directory.h"
#include "shell/shell_changes.h"

static const char kDemoKey[] = "software\\classes\\.dm2";
static const char kProgramKey[] = "software\\classes\\Gravlok";
static const wchar_t kOpenCommandKey[] = L"software\\classes\\Gravlok\\shell\\open\\command";
// Written with its terminator: 8 bytes.
static const char kProgramName[] = "Gravlok";

int IsDemoAssociated()
{
    // Zeroed, so a value stored without its terminator or shorter than the
    // name compares against zeros, never against whatever the stack held.
    char value[20] = {};
    DWORD size = sizeof value;
    if (SHGetValueA(HKEY_CURRENT_USER, kDemoKey, nullptr, nullptr, value, &size) != ERROR_SUCCESS)
        return 0;
    return memcmp(value, kProgramName, sizeof kProgramName) == 0 ? 1 : 0;
}

// The command in UTF-16, so that a game directory named in any script
// reaches the shell as it is; a reader of 8-bit text still gets what it
// got before for a directory its code page can spell. Without the whole
// directory nothing is written, so the next Apply tries again from scratch.
static bool WriteDemoAssociation()
{
    GameDirectory game;
    wchar_t command[kOpenCommandRoom];
    if (!GetGameDirectory(&game) || !BuildOpenCommand(game.path, command))
        return false;
    // Both keys live in the same hive: what stops this write stops the
    // association write too, and that one is checked.
    SHSetValueW(HKEY_CURRENT_USER, kOpenCommandKey, nullptr, REG_SZ, command,
                static_cast<DWORD>((lstrlenW(command) + 1) * sizeof command[0]));
    return SHSetValueA(HKEY_CURRENT_USER, kDemoKey, nullptr, REG_SZ, kProgramName, sizeof kProgramName) ==
           ERROR_SUCCESS;
}

void ApplyDemoAssociation(bool boxChecked, int *associationFlag)
{
    switch (ChooseAssociationChange(boxChecked, *associationFlag)) {
    case AssociationChange::Write:
        *associationFlag = WriteDemoAssociation() ? 1 : 0;
        break;
    case AssociationChange::Remove:
        // Whole keys: icons or verbs added beside ours would dangle without them.
        SHDeleteKeyA(HKEY_CURRENT_USER, kDemoKey);
        SHDeleteKeyA(HKEY_CURRENT_USER, kProgramKey);
        *associationFlag = 0;
        break;
    case AssociationChange::None:
        break;
    }
}
