// What Apply changes in the registry, from a box and what the window read
// when it opened; and the command a double-clicked demo runs.
#include <gtest/gtest.h>

#include <string>

#include "shell/shell_changes.h"

TEST(ShellChanges, OnlyABoxThatDiffersFromWhatIsInPlaceIsWritten)
{
    using A = AssociationChange;
    const struct { bool box; int flag; A change; } association[] = {
        {true, 0, A::Write}, {true, 1, A::None}, {false, 1, A::Remove}, {false, 0, A::None}};
    for (const auto &row : association)
        EXPECT_EQ(ChooseAssociationChange(row.box, row.flag), row.change) << "box " << row.box << ", flag " << row.flag;
    using F = FreezeFixChange;
    using S = FreezeFixState;
    const struct { bool box; S state; F change; } freezeFix[] = {{true, S::NotApplied, F::Apply},
        {true, S::Applied, F::None}, {false, S::Applied, F::Remove}, {false, S::NotApplied, F::None},
        {true, S::Unavailable, F::None}, {false, S::Unavailable, F::None}};
    for (const auto &row : freezeFix)
        EXPECT_EQ(ChooseFreezeFixChange(row.box, row.state), row.change) << "box " << row.box << ", " << int(row.state);
}

// A directory as long as a program can start in fits; a longer one builds
// nothing, rather than a command for a game that is not there.
TEST(ShellChanges, OpenCommandStartsTheGameInTheDirectoryOrIsNotBuilt)
{
    const std::wstring longest = L"C:\\" + std::wstring(257, L'g');
    wchar_t command[kOpenCommandRoom];
    ASSERT_TRUE(BuildOpenCommand(longest.c_str(), command));
    EXPECT_EQ(std::wstring(command), L"\"" + longest + L"\\gravlok.exe\" +map \"%1\"");
    EXPECT_FALSE(BuildOpenCommand((longest + L"g").c_str(), command));
}
