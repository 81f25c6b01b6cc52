#include "shell/demo_association.h"

#include <cstring>
#include <string>

#include "platform/win32.h"
#include "shell/shell_changes.h"

static const char kDemoKey[] = "software\\classes\\.dm2";
static const char kProgramKey[] = "software\\classes\\Gravlok";
static const char kOpenCommandKey[] = "software\\classes\\Gravlok\\shell\\open\\command";
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

// The whole directory, however deep the game is installed: a command cut
// short would start a game that is not there.
static bool GetGameDirectory(std::string *directory)
{
    DWORD size = GetCurrentDirectoryA(0, nullptr);
    while (size != 0) {
        std::string buffer(size, '\0');
        const DWORD length = GetCurrentDirectoryA(size, &buffer[0]);
        if (length == 0)
            return false;
        if (length < size) {
            buffer.resize(length);
            *directory = buffer;
            return true;
        }
        size = length; // the directory grew between the two calls
    }
    return false;
}

// True when .dm2 now names Gravlok. Without the directory nothing is
// written, so the next Apply tries again from scratch.
static bool WriteDemoAssociation()
{
    std::string directory;
    if (!GetGameDirectory(&directory))
        return false;
    const std::string command = BuildOpenCommand(directory);
    // Both keys live in the same hive: what stops this write stops the
    // association write too, and that one is checked.
    SHSetValueA(HKEY_CURRENT_USER, kOpenCommandKey, nullptr, REG_SZ, command.c_str(),
                static_cast<DWORD>(command.size() + 1));
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
